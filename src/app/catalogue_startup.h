#pragma once
// Opening the catalogue when the program starts. A catalogue file that
// cannot be used is explained to the user, who may start a new catalogue;
// the old file is then kept beside it under a name with the time.
//
// UI thread only.

#include <QString>
#include <ctime>
#include <functional>

#include "catalogue/catalogue_file_check.h"

class Library;

// Shows a message box (title, message, whether it has 取消) and returns
// kDlgMsgOk or kDlgMsgCancel.
using StartupMessageBox = std::function<int(const QString&, const QString&, bool)>;

// What is wrong with the catalogue file, in the program's words; empty for
// a usable file.
QString CatalogueProblemText(CatalogueFileState state);

// Opens the catalogue; when that fails, tells the user why through ask and,
// for a damaged file, offers a new catalogue (the file set aside with the
// time now). Returns whether the catalogue is open; when not, the file is
// as it was.
bool OpenCatalogueAtStartup(Library& library, const StartupMessageBox& ask, std::time_t now);
