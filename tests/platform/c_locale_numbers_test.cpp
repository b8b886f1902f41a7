#include "platform/c_locale_numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The locales to try: the C locale and, where it is generated, a German one
// (decimal comma).
std::vector<const char*> Locales() {
    std::vector<const char*> found{"C"};
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) found.push_back("de_DE.UTF-8");
    std::setlocale(LC_ALL, "C");
    return found;
}

class CLocaleNumbers : public ::testing::Test {
  protected:
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(CLocaleNumbers, PrintAsPrintfDoesInTheCLocale) {
    const struct {
        double value;
        int decimals;
    } cases[] = {{2.5, 6},   {-39.903472, 6}, {0.0, 6}, {-0.00004, 4}, {116.39745, 4}, {1e20, 2},
                 {0.125, 2}, {2.5, 0},        {3.5, 0}, {-1e-300, 6},  {123.456, 1}};
    for (const auto& c : cases) {
        std::setlocale(LC_ALL, "C");
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.*f", c.decimals, c.value);
        for (const char* locale : Locales()) {
            std::setlocale(LC_ALL, locale);
            EXPECT_EQ(FixedText(c.value, c.decimals), expected) << locale;
        }
    }
}

TEST_F(CLocaleNumbers, ReadAsStrtodDoesInTheCLocale) {
    const char* texts[] = {
        "2.5",   " +12.75x", "-0.5e2", "116.3975,39.9", "2,5", "abc", "",    "-",  ".5",    "5.",
        "1e999", "-1e999",   "1e-999", "  -7",          "+-1", "nan", "inf", "1e", "39, 54"};
    for (const char* text : texts) {
        std::setlocale(LC_ALL, "C");
        char* end = nullptr;
        const double expected = std::strtod(text, &end);
        const std::size_t expectedUsed = static_cast<std::size_t>(end - text);
        const float expectedFloat = std::strtof(text, nullptr);
        for (const char* locale : Locales()) {
            std::setlocale(LC_ALL, locale);
            SCOPED_TRACE(std::string(locale) + " \"" + text + "\"");
            double value = 0;
            EXPECT_EQ(ReadDouble(text, value), expectedUsed);
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(LeadingDouble(text)));
                continue;
            }
            EXPECT_EQ(LeadingDouble(text), expected);
            EXPECT_EQ(LeadingFloat(text), expectedFloat);
        }
    }
}

}  // namespace
