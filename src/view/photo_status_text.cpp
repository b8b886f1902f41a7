#include "view/photo_status_text.h"

#include <cstdio>
#include <ctime>

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_statement.h"
#include "platform/c_locale_numbers.h"

namespace {

constexpr const char* kSelectMainStatus =
    "select strName,fSize,dwDateTime,nWidth,nHeight,fGPSLongitude,fGPSLatitude,"
    "strXpKeyword,strXpAuthor,strXpSubject,strXpComent from tJpgMsg where idPic = %lld";
constexpr const char* kSelectDuplicateStatus =
    "select strName,fSize,dwDateTime,nWidth,nHeight,fGPSLongitude,fGPSLatitude,"
    "strXpKeyword,strXpAuthor,strXpSubject,strXpComent from tReJpgMsg where idPic = %lld";

template <typename... Args>
std::string Printed(const char* format, Args... args) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

struct StatusRow {
    std::string name;
    double sizeMegabytes = 0;
    std::int32_t shotTime = 0;
    int width = 0;
    int height = 0;
    double longitude = 0;
    double latitude = 0;
    std::string keywords, author, subject, comment;
};

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

std::string Compose(const StatusRow& row) {
    std::string text = "名称：" + row.name + ";";
    if (row.sizeMegabytes > 1) {
        text += "文件大小：" + FixedText(row.sizeMegabytes, 2) + "M;";
    } else if (row.sizeMegabytes > 0) {
        text += Printed("文件大小：%dKB;", static_cast<int>(row.sizeMegabytes * 1024));
    }
    if (row.shotTime != 0) {
        const std::time_t seconds = row.shotTime;
        std::tm local{};
        if (localtime_r(&seconds, &local) != nullptr) {
            text +=
                Printed("日期：%04d-%02d-%02d %02d:%02d:%02d;", local.tm_year + 1900,
                        local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
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

std::optional<std::string> ReadPhotoStatusText(PhotoRef photo) {
    int rows = 0;
    StatusRow status;
    {
        CatalogueSession session;
        if (!session.ok()) return std::nullopt;
        const std::string statement = FormatStatement(
            photo.fromDuplicates ? kSelectDuplicateStatus : kSelectMainStatus, photo.idPic);
        const bool ran = ForEachRow(session, statement, [&](const CatalogueRow& row) {
            if (rows++ > 0) return;
            status.name = row.Text(0);
            status.sizeMegabytes = row.Double(1);
            status.shotTime = row.Int(2);
            status.width = row.Int(3);
            status.height = row.Int(4);
            status.longitude = row.Double(5);
            status.latitude = row.Double(6);
            status.keywords = row.Text(7);
            status.author = row.Text(8);
            status.subject = row.Text(9);
            status.comment = row.Text(10);
        });
        if (!ran) return std::nullopt;
    }
    if (rows != 1) return std::nullopt;
    return Compose(status);
}
