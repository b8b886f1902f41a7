#include "metadata/exif_entry_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/c_locale_numbers.h"

namespace {

bool SizeMatchesCount(const ExifEntry* entry) {
    return entry && entry->data &&
           entry->size == entry->components * exif_format_get_size(entry->format);
}

// The decimals libexif's generic display gives a rational of this
// denominator.
int DecimalsFor(std::int64_t denominator) {
    return static_cast<int>(std::log10(static_cast<double>(denominator)) - 0.08 + 1.0);
}

// value as the display text "%.*f" shows it.
double Shown(double value, int decimals) {
    return LeadingDouble(FixedText(value, decimals));
}

}  // namespace

std::vector<double> ShownNumbers(const ExifEntry* entry, ExifByteOrder order) {
    std::vector<double> numbers;
    if (!SizeMatchesCount(entry)) return numbers;
    const unsigned size = exif_format_get_size(entry->format);
    for (unsigned long i = 0; i < entry->components; ++i) {
        const unsigned char* at = entry->data + i * size;
        switch (entry->format) {
            case EXIF_FORMAT_BYTE:
            case EXIF_FORMAT_SBYTE:
                numbers.push_back(at[0]);
                break;
            case EXIF_FORMAT_SHORT:
                numbers.push_back(exif_get_short(at, order));
                break;
            case EXIF_FORMAT_SSHORT:
                numbers.push_back(exif_get_sshort(at, order));
                break;
            case EXIF_FORMAT_LONG:
                numbers.push_back(exif_get_long(at, order));
                break;
            case EXIF_FORMAT_SLONG:
                numbers.push_back(exif_get_slong(at, order));
                break;
            case EXIF_FORMAT_RATIONAL: {
                const ExifRational r = exif_get_rational(at, order);
                if (r.denominator == 0) {
                    numbers.push_back(r.numerator);
                    return numbers;
                }
                numbers.push_back(Shown(static_cast<double>(r.numerator) / r.denominator,
                                        DecimalsFor(r.denominator)));
                break;
            }
            case EXIF_FORMAT_SRATIONAL: {
                const ExifSRational r = exif_get_srational(at, order);
                // INT32_MIN has no positive counterpart; libexif shows it as "n/d" too.
                if (r.denominator == 0 || r.denominator == std::numeric_limits<ExifSLong>::min()) {
                    numbers.push_back(r.numerator);
                    return numbers;
                }
                numbers.push_back(Shown(static_cast<double>(r.numerator) / r.denominator,
                                        DecimalsFor(std::abs(std::int64_t{r.denominator}))));
                break;
            }
            default:
                return numbers;
        }
    }
    return numbers;
}

std::optional<ExifRational> SingleRational(const ExifEntry* entry, ExifByteOrder order) {
    if (!SizeMatchesCount(entry) || entry->format != EXIF_FORMAT_RATIONAL || entry->components != 1)
        return std::nullopt;
    return exif_get_rational(entry->data, order);
}

std::optional<std::uint16_t> SingleShort(const ExifEntry* entry, ExifByteOrder order) {
    if (!SizeMatchesCount(entry) || entry->format != EXIF_FORMAT_SHORT || entry->components != 1)
        return std::nullopt;
    return exif_get_short(entry->data, order);
}

char FirstAsciiByte(const ExifEntry* entry) {
    if (!SizeMatchesCount(entry) || entry->format != EXIF_FORMAT_ASCII || entry->size == 0)
        return 0;
    return static_cast<char>(entry->data[0]);
}

float FNumberOf(ExifRational value) {
    if (value.denominator == 0) return 0;
    return static_cast<float>(Shown(static_cast<double>(value.numerator) / value.denominator, 1));
}

float ExposureSecondsOf(ExifRational value) {
    if (value.denominator == 0) return static_cast<float>(value.numerator);
    const double seconds = static_cast<double>(value.numerator) / value.denominator;
    // Shown as "1/125 sec." below a second, as whole seconds ("2 sec.") above.
    if (seconds < 1 && seconds != 0) return 1.0f / static_cast<float>(std::nearbyint(1 / seconds));
    return static_cast<float>(std::nearbyint(seconds));
}

std::int32_t FocalMillimetresOf(ExifRational value) {
    if (value.denominator == 0) return WholeOf(value.numerator);
    return WholeOf(Shown(static_cast<double>(value.numerator) / value.denominator, 1));
}

std::int32_t WholeOf(double value) {
    if (!(value == value)) return 0;
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::clamp(value, kMin, kMax)));
}

float CoordinateOf(const std::vector<double>& dms, int sign) {
    const auto part = [&dms](std::size_t i) {
        return i < dms.size() ? static_cast<float>(dms[i]) : 0.0f;
    };
    return (part(1) / 60 + part(0) + part(2) / 3600) * static_cast<float>(sign);
}
