#include "view/detail_cells.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "platform/c_locale_numbers.h"
#include "platform/local_time.h"

const std::array<DetailColumn, kDetailColumnCount> kDetailColumns{{
    {"名称", 150},
    {"日期", 130, "0000-00-00 00:00:00"},
    {"大小", 60, "000.00 M"},
    {"路径", 200},
    {"机型", 120},
    {"像素", 85, "00000 × 00000"},
    {"经纬度", 120, "-000.0000,-00.0000"},
    {"作者", 200},
    {"主题", 200},
    {"关键词", 200},
    {"备注", 200},
    {"文件ID", 150, "0000000000000000000"},
}};

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string LocalDateTime(std::int32_t seconds) {
    if (seconds == 0) return {};
    const std::optional<LocalWallTime> t = LocalWallTimeOf(seconds);
    if (!t) return {};
    return Format("%04d-%02d-%02d %02d:%02d:%02d", t->year, t->month, t->day, t->hour, t->minute,
                  t->second);
}

}  // namespace

std::string DetailCellText(const DetailRow& row, int column) {
    switch (column) {
        case 0:
            return row.name;
        case 1:
            return LocalDateTime(row.dateTime);
        case 2:
            return FixedText(row.sizeMegabytes, 2) + " M";
        case 3:
            return row.folder;
        case 4:
            return row.model;
        case 5:
            return Format("%d × %d", row.width, row.height);
        case 6:
            if (row.longitude == 0 && row.latitude == 0) return {};
            return FixedText(row.longitude, 4) + "," + FixedText(row.latitude, 4);
        case 7:
            return row.author;
        case 8:
            return row.subject;
        case 9:
            return row.keywords;
        case 10:
            return row.comment;
        case 11:
            return Format("%" PRId64, row.idPic);
        default:
            return {};
    }
}
