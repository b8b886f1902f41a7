#include "record/keyword_list.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::vector<std::string> SplitKeywords(std::string_view text) {
    std::vector<std::string> keywords;
    while (!text.empty()) {
        const std::size_t cut = text.find(';');
        const std::string_view keyword = Trimmed(text.substr(0, cut));
        text = cut == std::string_view::npos ? std::string_view{} : text.substr(cut + 1);
        if (!keyword.empty() &&
            std::find(keywords.begin(), keywords.end(), keyword) == keywords.end())
            keywords.emplace_back(keyword);
    }
    return keywords;
}

std::string JoinKeywords(const std::vector<std::string>& keywords) {
    std::string text;
    for (const std::string& keyword : keywords) text += keyword + ';';
    return text;
}

bool SameKeywords(std::string_view a, std::string_view b) {
    std::vector<std::string> left = SplitKeywords(a);
    std::vector<std::string> right = SplitKeywords(b);
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}
