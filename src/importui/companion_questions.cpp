#include "importui/companion_questions.h"

QString CompanionQuestionText(ReadinessQuestion question, ReadinessPurpose purpose) {
    const bool regions = purpose == ReadinessPurpose::RegionLookup;
    switch (question) {
        case ReadinessQuestion::OpenFailed:
            return QStringLiteral("打开Darazoz互动浏览器失败。\r\n请手动打开Darazoz，继续操作。");
        case ReadinessQuestion::TooOld:
            return regions ? QStringLiteral(
                                 "您安装的Darazoz互动浏览器版本低于5.01，因此不能解析地区"
                                 "信息。\r\n是否前往官网下载PC版本？")
                           : QStringLiteral(
                                 "您安装的Darazoz互动浏览器版本低于5.01，\r\n点击[确定]"
                                 "前往官网下载PC版本。");
        case ReadinessQuestion::NotInstalled:
            return regions ? QStringLiteral(
                                 "您尚未安装过Darazoz互动地图浏览器，因此不能解析地区信息"
                                 "。\r\n是否前往官网下载PC版本？")
                           : QStringLiteral(
                                 "您尚未安装过Darazoz互动地图浏览器，是否前往官网下载PC版本？");
        case ReadinessQuestion::NotOpened:
            return QStringLiteral(
                "您尚未打开Darazoz互动浏览器。\r\n点击[确定]打开Darazoz，继续操作。");
    }
    return {};
}

QString CompanionNotListeningText() {
    return QStringLiteral(
        "Darazoz地图已启动，但几秒内仍未响应。\r\n"
        "位置信息已保留，请稍后再试。");
}
