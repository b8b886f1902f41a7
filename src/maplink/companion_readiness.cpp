#include "maplink/companion_readiness.h"

namespace {

constexpr const char* kOpenFailed = "打开Darazoz互动浏览器失败。\r\n请手动打开Darazoz，继续操作。";
constexpr const char* kOldVersionInteractive =
    "您安装的Darazoz互动浏览器版本低于5.01，\r\n点击[确定]前往官网下载PC版本。";
constexpr const char* kOldVersionRegion =
    "您安装的Darazoz互动浏览器版本低于5.01，因此不能解析地区信息。\r\n是否前往官网下载PC版本？";
constexpr const char* kNotInstalledInteractive =
    "您尚未安装过Darazoz互动地图浏览器，是否前往官网下载PC版本？";
constexpr const char* kNotInstalledRegion =
    "您尚未安装过Darazoz互动地图浏览器，因此不能解析地区信息。\r\n是否前往官网下载PC版本？";
constexpr const char* kNotOpened =
    "您尚未打开Darazoz互动浏览器。\r\n点击[确定]打开Darazoz，继续操作。";

bool Ask(const CompanionReadinessActions& actions, const char* text) {
    return actions.ask && actions.ask(text);
}

void Run(const std::function<void()>& action) {
    if (action) action();
}

// Rows where the version decides: unread and too old are refused.
bool VersionUsable(ReadinessPurpose purpose, CompanionLocator& locator,
                   const CompanionReadinessActions& actions) {
    const std::uint32_t version = locator.Version();
    if (version == 0) {
        Ask(actions, kOpenFailed);
        return false;
    }
    if (version <= kCompanionOldVersionLimit) {
        const char* text =
            purpose == ReadinessPurpose::Interactive ? kOldVersionInteractive : kOldVersionRegion;
        if (Ask(actions, text)) Run(actions.openDownloadPage);
        return false;
    }
    return true;
}

}  // namespace

bool CheckCompanionReady(ReadinessPurpose purpose, CompanionLocator& locator,
                         const CompanionReadinessActions& actions) {
    if (actions.windowExists && actions.windowExists()) {
        return VersionUsable(purpose, locator, actions);
    }
    if (!locator.Installed()) {
        const char* text = purpose == ReadinessPurpose::Interactive ? kNotInstalledInteractive
                                                                    : kNotInstalledRegion;
        if (Ask(actions, text)) {
            Run(actions.openDownloadPage);
            return false;
        }
        return true;
    }
    if (!VersionUsable(purpose, locator, actions)) return false;
    if (purpose == ReadinessPurpose::Interactive) Ask(actions, kNotOpened);
    Run(actions.startCompanion);
    return true;
}
