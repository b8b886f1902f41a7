#include "importui/region_lookup_readiness.h"

#include <QGuiApplication>
#include <QString>

#include "dialogs/dlg_msg.h"
#include "importui/companion_questions.h"
#include "maplink/companion_launcher.h"
#include "maplink/companion_readiness.h"
#include "maplink/map_link.h"

bool CheckRegionLookupReadiness(QWidget* parent, MapLink* link, CompanionLocator& locator) {
    return CheckCompanionReadiness(parent, link, locator, ReadinessPurpose::RegionLookup);
}

bool CheckCompanionReadiness(QWidget* parent, MapLink* link, CompanionLocator& locator,
                             ReadinessPurpose purpose) {
    CompanionReadinessActions actions;
    actions.windowExists = [link] { return link != nullptr && link->CompanionWindowExists(); };
    actions.ask = [parent, purpose](ReadinessQuestion question) {
        const QString text = CompanionQuestionText(question, purpose);
        return ShowDlgMsg(parent, QStringLiteral("提示"), text, true) == kDlgMsgOk;
    };
    actions.openDownloadPage = [] { OpenCompanionDownloadPage(); };
    // The request that follows needs the companion listening, not just started:
    // a busy pointer while it starts, and a word when it never listens.
    actions.startCompanion = [&locator, link, parent] {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const bool listening = StartCompanion(
            locator, [link] { return link != nullptr && link->CompanionWindowExists(); });
        QGuiApplication::restoreOverrideCursor();
        if (!listening)
            ShowDlgMsg(parent, QStringLiteral("提示"), CompanionNotListeningText(), false);
    };
    return CheckCompanionReady(purpose, locator, actions);
}
