#pragma once
// Parsing the options of `darazoz-cli edit` into a PhotoEdit.

#include <string>
#include <vector>

#include "import/photo_edit.h"

struct EditArguments {
    PhotoEdit edit;
    std::vector<std::string> files;
};

// Fills arguments from the command line after "edit". False with a message
// for the user in error when an option is unknown, lacks its value or has a
// value out of range, or when no field or no file is given.
bool ParseEditArguments(const std::vector<std::string>& args, EditArguments& arguments,
                        std::string& error);

// The renamed file's name, by the properties dialog's rule: the title up to
// its first "." followed by ".JPG".
std::string FileNameForTitle(const std::string& title);
