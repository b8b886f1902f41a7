#include "importui/region_lookup_readiness.h"

#include <QString>

#include "dialogs/dlg_msg.h"
#include "importui/companion_questions.h"
#include "maplink/companion_launcher.h"
#include "maplink/companion_readiness.h"
#include "maplink/map_link.h"

bool CheckRegionLookupReadiness(QWidget* parent, MapLink* link, CompanionLocator& locator) {
    CompanionReadinessActions actions;
    actions.windowExists = [link] { return link != nullptr && link->CompanionWindowExists(); };
    actions.ask = [parent](ReadinessQuestion question) {
        const QString text = CompanionQuestionText(question, ReadinessPurpose::RegionLookup);
        return ShowDlgMsg(parent, QStringLiteral("提示"), text, true) == kDlgMsgOk;
    };
    actions.openDownloadPage = [] { OpenCompanionDownloadPage(); };
    actions.startCompanion = [&locator] { StartCompanion(locator); };
    return CheckCompanionReady(ReadinessPurpose::RegionLookup, locator, actions);
}
