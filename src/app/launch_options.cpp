#include "app/launch_options.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

LaunchCommandLine ParseLaunchCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Darazoz相册管理系统"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("相册数据文件夹（照片目录库所在的文件夹）。"),
                                     QStringLiteral("文件夹"));
    const QCommandLineOption grabScreen(QStringLiteral("grab-screen"),
                                        QStringLiteral("启动后保存屏幕截图并退出。"),
                                        QStringLiteral("文件"));
    const QCommandLineOption grabDelay(QStringLiteral("grab-delay"),
                                       QStringLiteral("截图前等待的毫秒数（默认2000）。"),
                                       QStringLiteral("毫秒"));
    const QCommandLineOption reportStartup(QStringLiteral("report-startup"),
                                           QStringLiteral("报告窗口和首个分类显示的时间并退出。"));
    parser.addOptions({dataDir, grabScreen, grabDelay, reportStartup});
    parser.addPositionalArgument(
        QStringLiteral("路径"),
        QStringLiteral("要导入并显示的照片或文件夹；程序已在运行时交给正在运行的窗口。"),
        QStringLiteral("[文件|文件夹...]"));

    LaunchCommandLine result;
    const auto badUsage = [&](const QString& what) {
        result.action = LaunchCommandLine::Action::BadUsage;
        result.text = QStringLiteral("darazoz: %1\n\n%2").arg(what, parser.helpText());
        return result;
    };
    if (!parser.parse(arguments)) return badUsage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = LaunchCommandLine::Action::ShowHelp;
        result.text = parser.helpText();
        return result;
    }
    LaunchOptions& options = result.options;
    if (parser.isSet(dataDir)) {
        const QString folder = parser.value(dataDir);
        if (folder.isEmpty()) return badUsage(QStringLiteral("--data-dir 需要一个文件夹。"));
        options.dataFolder = QFile::encodeName(folder).toStdString();
    }
    options.grabFile = parser.value(grabScreen);
    if (parser.isSet(grabDelay)) {
        bool number = false;
        options.grabDelayMs = parser.value(grabDelay).toInt(&number);
        if (!number || options.grabDelayMs < 0)
            return badUsage(QStringLiteral("--grab-delay 需要一个非负的毫秒数。"));
    }
    options.reportStartup = parser.isSet(reportStartup);
    for (const QString& path : parser.positionalArguments())
        options.paths.append(QFileInfo(path).absoluteFilePath());
    return result;
}
