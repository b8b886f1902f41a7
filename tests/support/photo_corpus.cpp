#include "photo_corpus.h"

#include <cstdlib>
#include <filesystem>

std::string PhotoCorpusFolder() {
    if (const char* env = std::getenv("DARAZOZ_PHOTO_CORPUS"); env && *env) return env;
    return DARAZOZ_PHOTO_CORPUS;
}

bool PhotoCorpusPresent() {
    std::error_code ec;
    return std::filesystem::is_regular_file(PhotoCorpusFolder() + "/MANIFEST.tsv", ec);
}
