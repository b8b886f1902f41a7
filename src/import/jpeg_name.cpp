#include "import/jpeg_name.h"

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    text = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

}  // namespace

bool IsJpegName(std::string_view path) {
    return EndsWithIgnoringCase(path, "jpg") || EndsWithIgnoringCase(path, "jpeg");
}

std::string RenamedPhotoFileName(std::string_view typed) {
    return std::string(typed.substr(0, typed.find('.'))) + ".JPG";
}
