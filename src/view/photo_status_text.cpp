#include "view/photo_status_text.h"

#include <cstdio>
#include <ctime>

#include "catalogue/detail_rows.h"
#include "platform/c_locale_numbers.h"
#include "platform/local_time.h"

namespace {

template <typename... Args>
std::string Printed(const char* format, Args... args) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// The status bar has one line: line breaks of a comment become spaces.
std::string OnOneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// Authors are stored as a ";"-separated list that may end in ";"; the text
// adds its own separator.
std::string WithoutTrailingSeparators(std::string text) {
    while (!text.empty() && (text.back() == ';' || text.back() == ' ')) text.pop_back();
    return text;
}

std::string Compose(const DetailRow& row) {
    std::string text = "名称：" + row.name + ";";
    if (row.sizeMegabytes > 1) {
        text += "文件大小：" + FixedText(row.sizeMegabytes, 2) + "M;";
    } else if (row.sizeMegabytes > 0) {
        text += Printed("文件大小：%dKB;", static_cast<int>(row.sizeMegabytes * 1024));
    }
    if (row.dateTime != 0) {
        if (const std::optional<LocalWallTime> local = LocalWallTimeOf(row.dateTime)) {
            text += Printed("日期：%04d-%02d-%02d %02d:%02d:%02d;", local->year, local->month,
                            local->day, local->hour, local->minute, local->second);
        }
    }
    if (row.width != 0 && row.height != 0) text += Printed("像素：%d×%d;", row.width, row.height);
    if (row.longitude != 0 && row.latitude != 0) {
        text += "经纬度：" + FixedText(row.longitude, 4) + "," + FixedText(row.latitude, 4) + ";";
    }
    if (!row.keywords.empty()) text += "关键词：" + row.keywords + " ;";
    if (const std::string author = WithoutTrailingSeparators(row.author); !author.empty())
        text += "作者：" + author + ";";
    if (!row.subject.empty()) text += "主题：" + row.subject + ";";
    if (!row.comment.empty()) text += "备注：" + OnOneLine(row.comment) + ";";
    return text;
}

}  // namespace

std::optional<std::string> ReadPhotoStatusText(Library& library, PhotoRef photo) {
    const std::optional<DetailRow> row = ReadDetailRow(library, photo);
    if (!row) return std::nullopt;
    return Compose(*row);
}
