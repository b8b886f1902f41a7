#include "platform/text_codec.h"

#include <gtest/gtest.h>

TEST(Utf8ToWide, DecodesOneTwoAndThreeByteSequences) {
    EXPECT_EQ(Utf8ToWide("a\xC3\xA9\xE4\xB8\xAD"), u"a\u00e9\u4e2d");
}

TEST(Utf8ToWide, DropsFourByteSequencesWithoutEndingTheText) {
    EXPECT_EQ(Utf8ToWide("sun \xF0\x9F\x98\x80 sea"), u"sun  sea");
}

TEST(Utf8ToWide, EndsTheTextAtAMalformedSequence) {
    EXPECT_EQ(Utf8ToWide("ok\xC3(rest"), u"ok");
    EXPECT_EQ(Utf8ToWide("ok\xE4\xB8"), u"ok") << "cut short at the end";
}

TEST(CopyBounded, NeverCutsAMultiByteCharacter) {
    char field[6];
    EXPECT_EQ(CopyBounded(field, sizeof field, "ab\xE4\xB8\xAD\xE6\x96\x87"), 5u);
    EXPECT_STREQ(field, "ab\xE4\xB8\xAD");
    EXPECT_EQ(CopyBounded(field, 4, "ab\xE4\xB8\xAD"), 2u);
    EXPECT_STREQ(field, "ab");
}

TEST(Utf8ToCodePage, AlwaysTerminatesWithinTheLimit) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    Utf8ToCodePage("abcdef", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(CodePageToUtf8("中文"), "中文");
}

TEST(ParseInt64Text, ReadsDecimalAndHexAndStopsAtTheFirstNonDigit) {
    EXPECT_EQ(ParseInt64Text(""), 0);
    EXPECT_EQ(ParseInt64Text("1234567890123"), 1234567890123LL);
    EXPECT_EQ(ParseInt64Text("42abc"), 42);
    EXPECT_EQ(ParseInt64Text("0x7fffffffffffffff"), 0x7fffffffffffffffLL);
    EXPECT_EQ(ParseInt64Text("0XFFg"), 255);
    EXPECT_EQ(ParseInt64Text("-17"), -17);
    EXPECT_EQ(ParseInt64Text("99999999999999999999999999999"),
              ParseInt64Text("99999999999999999999999"))
        << "at most 23 digits are read, and overlong input does not overflow into UB";
}

// The UTF-8 that edited Windows texts leave in the record and the XMP: pairs
// joined, lone surrogates replaced, zero units kept, and back to the same
// UTF-16 wherever the decoder takes the characters (up to three bytes).
TEST(WideToUtf8, JoinsPairsReplacesLoneSurrogatesAndKeepsZeroUnits) {
    struct Case {
        std::u16string wide;
        std::string utf8;
    };
    const Case cases[] = {
        {u"A海é", "A海é"},
        {std::u16string(u"\xD83D\xDE00", 2), "\xF0\x9F\x98\x80"},
        {std::u16string(u"a\xD800z", 3), "a\xEF\xBF\xBDz"},
        {std::u16string(u"\xDC00\xD800", 2), "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::u16string(u"x\0y", 3), std::string("x\0y", 3)},
    };
    for (const Case& c : cases) EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
    EXPECT_EQ(Utf8ToWide(WideToUtf8(u"关键词;Ünïcode")), u"关键词;Ünïcode");
}

TEST(AppendUtf8, EncodesEachLengthOfCodePoint) {
    std::string out;
    for (char32_t c : {U'\x7F', U'\x80', U'\x7FF', U'\x800', U'\xFFFF', U'\x10000', U'\x10FFFF'})
        AppendUtf8(out, c);
    EXPECT_EQ(out, "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
}
