#include "importui/region_lookup_readiness.h"

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
    // The request that follows needs the companion listening, not just started.
    actions.startCompanion = [&locator, link] {
        StartCompanion(locator,
                       [link] { return link != nullptr && link->CompanionWindowExists(); });
    };
    return CheckCompanionReady(purpose, locator, actions);
}
