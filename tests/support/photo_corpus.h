#pragma once
// The folder of real camera files that the corpus suites run over: the
// shared folder's testdata/photos beside the checkout, or the folder named by
// the environment variable DARAZOZ_PHOTO_CORPUS. Suites skip when it is not
// there.

#include <string>

std::string PhotoCorpusFolder();
// True when the folder exists and holds its MANIFEST.tsv.
bool PhotoCorpusPresent();
