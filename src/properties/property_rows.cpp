#include "properties/property_rows.h"
#include "platform/local_time.h"

#include <cmath>
#include <ctime>

namespace {

constexpr const char* kLabels[PropertyRow::Count] = {
    "图像属性", "主题",     "标记/关键词", "作者",     "备注",       "位置",       "大小",
    "创建时间", "修改时间", "图像宽度",    "图像高度", "水平分辨率", "垂直分辨率", "GPS信息",
    "经度",     "纬度",     "海拔高度(m)", "相机",     "拍摄时间",   "厂商",       "机型",
    "曝光时间", "光圈",     "ISO感光度",   "焦距"};

QString Text(const char* field) {
    return QString::fromUtf8(field);
}

}  // namespace

QString PropertyRowLabel(int row) {
    return row >= 0 && row < PropertyRow::Count ? QString::fromUtf8(kLabels[row]) : QString();
}

PropertyIcon PropertyRowIcon(int row) {
    switch (row) {
        case PropertyRow::Name:
            return PropertyIcon::ImageGroup;
        case PropertyRow::GpsGroup:
            return PropertyIcon::GpsGroup;
        case PropertyRow::CameraGroup:
            return PropertyIcon::CameraGroup;
        default:
            return PropertyIcon::Item;
    }
}

bool IsGreyPropertyRow(int row) {
    return (row >= PropertyRow::Folder && row <= PropertyRow::GpsGroup) ||
           row == PropertyRow::CameraGroup ||
           (row >= PropertyRow::Exposure && row <= PropertyRow::FocalLength);
}

QString FormatPropertyTime(std::int32_t stored) {
    const std::optional<LocalWallTime> local = LocalWallTimeOf(static_cast<std::uint32_t>(stored));
    if (!local) return {};
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", local->year, local->month, local->day,
                             local->hour, local->minute, local->second);
}

QString FormatExposure(float seconds) {
    if (!(seconds > 0) || !std::isfinite(seconds)) return {};
    const double denominator = std::floor(1.0 / seconds + 0.5);
    if (denominator > 1e9) return {};
    if (denominator >= 2) return QString::asprintf("1/%d s", static_cast<int>(denominator));
    // A second or longer (and anything above 2/3 s, which would read 1/1 s)
    // is shown in seconds, with one decimal when it has one.
    const double tenths = std::round(seconds * 10.0);
    if (tenths > 1e9) return {};
    if (std::fmod(tenths, 10.0) == 0)
        return QString::asprintf("%d s", static_cast<int>(tenths / 10));
    return QString::asprintf("%.1f s", tenths / 10.0);
}

PropertyValues FormatPropertyValues(const PhotoRecord& r) {
    using namespace PropertyRow;
    PropertyValues v;
    v[Name] = Text(r.strName);
    v[Subject] = Text(r.strXpSubject);
    v[Keywords] = Text(r.strXpKeyword);
    v[Author] = Text(r.strXpAuthor);
    v[Comment] = QString::fromStdString(r.strXpComent);
    v[Folder] = Text(r.strPath);
    v[Size] = QString::asprintf("%.2f M", r.fSize);
    v[Created] = FormatPropertyTime(r.dwCTime);
    v[Modified] = FormatPropertyTime(r.dwMTime);
    v[Width] = QString::asprintf("%d", r.nWidth);
    v[Height] = QString::asprintf("%d", r.nHeight);
    v[XResolution] = QString::asprintf("%d dpi", r.nFocalplaneXRes);
    v[YResolution] = QString::asprintf("%d dpi", r.nFocalplaneYRes);
    v[Longitude] = QString::asprintf("%.4f", r.fGPSLongitude);
    v[Latitude] = QString::asprintf("%.4f", r.fGPSLatitude);
    v[Altitude] = QString::asprintf("%d", r.nGPSAlititude);
    v[ShotTime] = FormatPropertyTime(r.dwDateTime);
    v[Make] = Text(r.strMake);
    v[Model] = Text(r.strModel);
    v[Exposure] = FormatExposure(r.fExposureTime);
    if (r.fApertureFNumber != 0) v[Aperture] = QString::asprintf("f/%.1f", r.fApertureFNumber);
    if (r.nISOequivalent != 0) v[Iso] = QString::asprintf("ISO-%d", r.nISOequivalent);
    if (r.nFocalLength != 0)
        v[FocalLength] = QString::asprintf("%d ", r.nFocalLength) + QStringLiteral("毫米");
    return v;
}
