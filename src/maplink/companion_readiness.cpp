#include "maplink/companion_readiness.h"

namespace {

bool Ask(const CompanionReadinessActions& actions, ReadinessQuestion question) {
    return actions.ask && actions.ask(question);
}

void Run(const std::function<void()>& action) {
    if (action) action();
}

// Rows where the version decides: unread and too old are refused.
bool VersionUsable(CompanionLocator& locator, const CompanionReadinessActions& actions) {
    const std::uint32_t version = locator.Version();
    if (version == 0) {
        Ask(actions, ReadinessQuestion::OpenFailed);
        return false;
    }
    if (version <= kCompanionOldVersionLimit) {
        if (Ask(actions, ReadinessQuestion::TooOld)) Run(actions.openDownloadPage);
        return false;
    }
    return true;
}

}  // namespace

bool CheckCompanionReady(ReadinessPurpose purpose, CompanionLocator& locator,
                         const CompanionReadinessActions& actions) {
    if (actions.windowExists && actions.windowExists()) {
        return VersionUsable(locator, actions);
    }
    if (!locator.Installed()) {
        if (Ask(actions, ReadinessQuestion::NotInstalled)) {
            Run(actions.openDownloadPage);
            return false;
        }
        return true;
    }
    if (!VersionUsable(locator, actions)) return false;
    if (purpose == ReadinessPurpose::Interactive) Ask(actions, ReadinessQuestion::NotOpened);
    Run(actions.startCompanion);
    return true;
}
