#include "metadata/exif_entry_numbers.h"

#include <libexif/exif-data.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "metadata/orientation.h"

namespace {

// EXIF data holding entries made here, in Intel byte order.
class EntryData {
  public:
    EntryData() : data_(exif_data_new()) { exif_data_set_byte_order(data_, EXIF_BYTE_ORDER_INTEL); }
    ~EntryData() { exif_data_unref(data_); }
    EntryData(const EntryData&) = delete;
    EntryData& operator=(const EntryData&) = delete;

    ExifEntry* Rationals(ExifTag tag, const std::vector<ExifRational>& values) {
        ExifEntry* entry = Add(EXIF_IFD_EXIF, tag, EXIF_FORMAT_RATIONAL, values.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            exif_set_rational(entry->data + 8 * i, Order(), values[i]);
        return entry;
    }
    ExifEntry* Short(ExifTag tag, ExifShort value) {
        ExifEntry* entry = Add(EXIF_IFD_0, tag, EXIF_FORMAT_SHORT, 1);
        exif_set_short(entry->data, Order(), value);
        return entry;
    }
    ExifByteOrder Order() const { return exif_data_get_byte_order(data_); }

  private:
    ExifEntry* Add(ExifIfd ifd, ExifTag tag, ExifFormat format, std::size_t components) {
        exif_content_remove_entry(data_->ifd[ifd], exif_content_get_entry(data_->ifd[ifd], tag));
        ExifEntry* entry = exif_entry_new();
        entry->tag = tag;
        entry->format = format;
        entry->components = components;
        entry->size = static_cast<unsigned>(components * exif_format_get_size(format));
        entry->data = static_cast<unsigned char*>(std::calloc(1, entry->size));
        exif_content_add_entry(data_->ifd[ifd], entry);
        exif_entry_unref(entry);
        return entry;
    }
    ExifData* data_;
};

// libexif's display text of the entry in the C locale, cut to limit - 1
// characters, and sscanf over it in the C locale: how the values were once
// read.
template <typename... Fields>
std::string CScan(ExifEntry* entry, unsigned limit, const char* format, Fields*... fields) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    std::vector<char> text(limit, '\0');
    exif_entry_get_value(entry, text.data(), limit);
    if constexpr (sizeof...(Fields) > 0) std::sscanf(text.data(), format, fields...);
    std::setlocale(LC_ALL, previous.c_str());
    return text.data();
}

const std::vector<ExifRational> kRationals{
    {28, 10},    {0, 1}, {7, 0},    {1, 3},      {2, 3}, {1, 125},   {10, 1}, {3, 2},
    {4996, 100}, {5, 2}, {1, 8000}, {999, 1000}, {1, 1}, {13, 1300}, {0, 0},  {1, 6}};

// Each locale the program may run under; a missing one is left out.
std::vector<const char*> Locales() {
    std::vector<const char*> found{"C"};
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) found.push_back("de_DE.UTF-8");
    std::setlocale(LC_ALL, previous.c_str());
    return found;
}

class UnderEveryLocale : public ::testing::Test {
  protected:
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(UnderEveryLocale, RationalsReadAsTheirCLocaleTextsRead) {
    EntryData data;
    for (const char* locale : Locales()) {
        std::setlocale(LC_ALL, locale);
        for (const ExifRational r : kRationals) {
            SCOPED_TRACE(std::string(locale) + " " + std::to_string(r.numerator) + "/" +
                         std::to_string(r.denominator));
            float fNumber = 0;
            CScan(data.Rationals(EXIF_TAG_FNUMBER, {r}), 10, "f/%f", &fNumber);
            EXPECT_EQ(FNumberOf(r), fNumber);

            int a = 0, b = 0;
            CScan(data.Rationals(EXIF_TAG_EXPOSURE_TIME, {r}), 10, "%d/%d sec", &a, &b);
            EXPECT_EQ(ExposureSecondsOf(r), static_cast<float>(a) / static_cast<float>(b ? b : 1));

            int focal = 0;
            CScan(data.Rationals(EXIF_TAG_FOCAL_LENGTH, {r}), 10, "%d", &focal);
            EXPECT_EQ(FocalMillimetresOf(r), focal);
        }
    }
}

TEST_F(UnderEveryLocale, CoordinatesReadAsTheirCLocaleTextsRead) {
    EntryData data;
    const std::vector<std::vector<ExifRational>> triples{{{39, 1}, {54, 1}, {125, 10}},
                                                         {{116, 1}, {23, 1}, {1234, 100}},
                                                         {{1, 3}, {2, 3}, {5, 7}},
                                                         {{39, 1}, {54, 0}, {12, 1}},
                                                         {{4999, 100}, {1, 7}, {3, 13}},
                                                         {{22, 1}, {32, 1}},
                                                         {{123456789, 1000000}, {0, 1}, {0, 1}}};
    for (const char* locale : Locales()) {
        std::setlocale(LC_ALL, locale);
        for (const auto& dms : triples) {
            ExifEntry* entry = data.Rationals(static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE), dms);
            float d = 0, m = 0, s = 0;
            SCOPED_TRACE(std::string(locale) + " " + CScan(entry, 50, "%f,%f,%f", &d, &m, &s));
            EXPECT_EQ(CoordinateOf(ShownNumbers(entry, data.Order()), -1),
                      (m / 60 + d + s / 3600) * -1.0f);
            int whole = 0;
            CScan(entry, 64, "%d", &whole);
            EXPECT_EQ(WholeOf(ShownNumbers(entry, data.Order()).at(0)), whole);
        }
    }
}

TEST_F(UnderEveryLocale, OrientationsKeepTheirEnglishNames) {
    EntryData data;
    for (const char* locale : Locales()) {
        std::setlocale(LC_ALL, locale);
        for (ExifShort value = 0; value <= 10; ++value) {
            ExifEntry* entry = data.Short(EXIF_TAG_ORIENTATION, value);
            ASSERT_EQ(SingleShort(entry, data.Order()), value);
            EXPECT_EQ(OrientationText(value), CScan(entry, 20, "")) << locale;
        }
    }
}

// Then(first, second) must equal doing first and then second on the
// corners of a w x h picture.
TEST(OrientationTransforms, ComposeAsDoneOneAfterTheOther) {
    struct Point {
        int x, y;
        bool operator==(const Point&) const = default;
    };
    const auto apply = [](OrientationTransform t, Point p, int& w, int& h) {
        if (t.mirrored) p.x = w - 1 - p.x;
        for (int i = 0; i < t.quarterTurns; ++i) {
            p = {h - 1 - p.y, p.x};  // a quarter clockwise
            std::swap(w, h);
        }
        return p;
    };
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b) {
            const OrientationTransform first{a >= 4, a % 4}, second{b >= 4, b % 4};
            int w1 = 3, h1 = 2, w2 = 3, h2 = 2;
            const Point p{0, 0};
            const Point stepwise = apply(second, apply(first, p, w1, h1), w1, h1);
            EXPECT_EQ(apply(Then(first, second), p, w2, h2), stepwise) << a << " then " << b;
        }
}

}  // namespace
