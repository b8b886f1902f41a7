#pragma once
// The window program's command line: `darazoz [--data-dir DIR] [FILE|FOLDER...]`
// and the development aids --grab-screen FILE, --grab-delay MS and
// --report-startup. Qt's own options (-platform, -display ...) are taken out
// by QApplication before this parse.

#include <QString>
#include <QStringList>
#include <string>

struct LaunchOptions {
    std::string dataFolder;      // --data-dir; empty: the default data folder
    QStringList paths;           // files and folders to import and show, absolute
    QString grabFile;            // --grab-screen: save the screen there and close
    int grabDelayMs = 2000;      // --grab-delay
    bool reportStartup = false;  // --report-startup
};

struct LaunchCommandLine {
    enum class Action { Run, ShowHelp, BadUsage };
    Action action = Action::Run;
    LaunchOptions options;
    QString text;  // ShowHelp: the usage; BadUsage: what is wrong, then the usage
};

// Exit status of a command line that could not be used.
inline constexpr int kBadUsageExitStatus = 2;

// arguments: as QCoreApplication::arguments(), the program first. Relative
// paths are made absolute against the current folder, so that they still
// name the same files when another instance of the program opens them.
LaunchCommandLine ParseLaunchCommandLine(const QStringList& arguments);
