#include <gtest/gtest.h>

#include <QDir>

#include "app/launch_options.h"

namespace {

using Action = LaunchCommandLine::Action;

TEST(LaunchCommandLine, RunsOnlyOnAUsableCommandLine) {
    struct Case {
        QStringList arguments;
        Action action;
        const char* inText;  // for help and bad usage
    };
    const Case cases[] = {
        {{}, Action::Run, ""},
        {{"--help"}, Action::ShowHelp, "--data-dir"},
        {{"-h"}, Action::ShowHelp, "--data-dir"},
        {{"--help-all"}, Action::ShowHelp, "--data-dir"},
        {{"--data-dir"}, Action::BadUsage, "data-dir"},
        {{"--data-dir="}, Action::BadUsage, "--data-dir"},
        {{"--no-such-option"}, Action::BadUsage, "no-such-option"},
        {{"--grab-delay", "soon"}, Action::BadUsage, "--grab-delay"},
        {{"--grab-delay", "-5"}, Action::BadUsage, "--grab-delay"},
        {{"--data-dir", "/d", "--grab-screen", "/s.png", "--grab-delay", "500"}, Action::Run, ""},
    };
    for (const Case& c : cases) {
        const LaunchCommandLine parsed =
            ParseLaunchCommandLine(QStringList{QStringLiteral("darazoz")} + c.arguments);
        const std::string shown = c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.action, c.action) << shown;
        EXPECT_TRUE(parsed.text.contains(QLatin1String(c.inText))) << shown;
        if (c.action == Action::BadUsage) {
            EXPECT_TRUE(parsed.text.contains(QStringLiteral("--data-dir")))
                << "the usage follows what is wrong: " << shown;
        }
    }
}

TEST(LaunchCommandLine, TakesTheDataFolderTheAidsAndAbsolutePaths) {
    const LaunchCommandLine parsed = ParseLaunchCommandLine(
        {"darazoz", "--data-dir=/data/相册", "--report-startup", "--grab-delay", "700", "photo.JPG",
         "/abs/folder", "--", "-dash.jpg"});
    ASSERT_EQ(parsed.action, Action::Run);
    EXPECT_EQ(parsed.options.dataFolder, "/data/相册");
    EXPECT_TRUE(parsed.options.reportStartup);
    EXPECT_EQ(parsed.options.grabDelayMs, 700);
    EXPECT_TRUE(parsed.options.grabFile.isEmpty());
    const QString here = QDir::currentPath();
    EXPECT_EQ(parsed.options.paths,
              (QStringList{here + "/photo.JPG", "/abs/folder", here + "/-dash.jpg"}));
}

}  // namespace
