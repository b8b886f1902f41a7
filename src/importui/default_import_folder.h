#pragma once
// The folder chooser's start before the first folder import of a run: the
// user's Pictures folder when it exists, else the home folder.

#include <QString>

QString DefaultImportFolder();
