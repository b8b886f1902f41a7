// The rules that turn typed text into grid values.

#include <gtest/gtest.h>

#include <clocale>

#include "properties/photo_changes.h"
#include "properties/property_commit_rules.h"

namespace {

TEST(FileNameRules, NormaliseTheExtensionToJpg) {
    const std::pair<const char*, const char*> hover[] = {
        {"b", "b.JPG"},           {"b.png", "b.JPG"}, {"photoJPG", "photo.JPG"},
        {"x.y.jpeg", "x.JPG"},    {"a.JPG", "a.JPG"}, {"JPGJPG", ".JPG.JPG"},
        {"海边.jpg", "海边.JPG"},
    };
    for (const auto& [typed, name] : hover)
        EXPECT_EQ(NormaliseFileNameOnHover(QString::fromUtf8(typed)), QString::fromUtf8(name))
            << typed;
    EXPECT_EQ(NormaliseFileNameOnApply(QStringLiteral("photoJPG")), QStringLiteral("photoJPG.JPG"))
        << "Apply appends without looking for JPG";
    EXPECT_EQ(NormaliseFileNameOnApply(QStringLiteral("x.y")), QStringLiteral("x.JPG"));

    EXPECT_EQ(FileNameStemLength(QStringLiteral("IMG_1.jpeg")), 5);
    EXPECT_EQ(FileNameStemLength(QStringLiteral("a.JPG.jpg")), 1) << ".JPG is tried first";
    EXPECT_EQ(FileNameStemLength(QStringLiteral(".jpg")), 4) << "no stem: everything selected";
    EXPECT_EQ(FileNameStemLength(QStringLiteral("noext")), 5);
}

TEST(FileNameRules, RefuseNamesThatCannotNameAFile) {
    EXPECT_TRUE(IsUsableFileName(QStringLiteral("b.JPG")));
    EXPECT_TRUE(IsUsableFileName(QStringLiteral("海边 日落.JPG")));
    for (const QString& bad :
         {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../x.JPG"),
          QStringLiteral("a/b.JPG"), QString(QChar(0)) + QStringLiteral("x.JPG"),
          QString(300, QLatin1Char('a'))})
        EXPECT_FALSE(IsUsableFileName(bad)) << bad.toStdString();
}

TEST(AuthorRule, SeparatesNamesWithSemicolons) {
    EXPECT_EQ(NormaliseAuthor(QStringLiteral("张三 李四、王五；")),
              QStringLiteral("张三;李四;王五;"));
    EXPECT_EQ(NormaliseAuthor(QStringLiteral(";;a")), QStringLiteral("a;"));
    EXPECT_EQ(NormaliseAuthor(QStringLiteral("a  ;;;b")), QStringLiteral("a;b;"));
    EXPECT_EQ(NormaliseAuthor(QString()), QString());
}

TEST(KeywordRules, CompareListsAsSets) {
    EXPECT_EQ(NormaliseKeywordText(QStringLiteral("家人; 旅游")), QStringLiteral("家人;旅游;"));
    EXPECT_EQ(NormaliseKeywordText(QStringLiteral("New York; 海")), QStringLiteral("New York;海;"))
        << "a space inside a keyword stays";
    EXPECT_EQ(NormaliseKeywordText(QString()), QString());
    EXPECT_TRUE(KeywordSetEquals(QStringLiteral("家人;旅游;"), QStringLiteral("旅游;家人")));
    EXPECT_FALSE(KeywordSetEquals(QStringLiteral("家人;旅游;"), QStringLiteral("家人;")));
    EXPECT_FALSE(KeywordSetEquals(QStringLiteral("ab;c;"), QStringLiteral("ab;d;")));
    // Same length and each keyword a substring of the other text, yet other keywords.
    EXPECT_FALSE(KeywordSetEquals(QStringLiteral("abc;b;"), QStringLiteral("abc;c;")));
    EXPECT_TRUE(KeywordSetEquals(QString(), QStringLiteral(";")));
}

struct NumberCase {
    NumberRowKind kind;
    const char* typed;
    CommitVariant variant;
    const char* cell;     // accepted: the cell's text
    const char* message;  // refused: the message
};

TEST(NumberRules, AcceptValuesInRangeAndWordTheRangeMessages) {
    using K = NumberRowKind;
    using V = CommitVariant;
    const NumberCase cases[] = {
        {K::Longitude, "180", V::Hover, "180.0000", nullptr},
        {K::Longitude, "-180", V::Hover, "-180.0000", nullptr},
        {K::Longitude, "abc", V::Hover, "0.0000", nullptr},
        {K::Latitude, "12.5", V::Hover, "12.5000", nullptr},
        {K::Altitude, "12.7", V::Hover, "12", nullptr},
        {K::Altitude, "-10000", V::Hover, "-10000", nullptr},
        {K::Longitude, "180.5", V::Hover, nullptr,
         "经度值(180.5)超出范围，（ - 180°, 180°）\r\n请重新输入。"},
        {K::Longitude, "-181", V::Apply, nullptr,
         "经度值(-181)超出范围（ - 180°, 180°），\r\n请重新输入。"},
        {K::Latitude, "90.01", V::Hover, nullptr,
         "纬度值(90.01)超出范围，（ - 90°, 90°）\r\n请重新输入。"},
        {K::Latitude, "-91", V::Apply, nullptr,
         "纬度值(-91)超出范围（ - 90°, 90°），\r\n请重新输入。"},
        {K::Altitude, "10001", V::Apply, nullptr, "海拔(10001)超出范围，\r\n请重新输入。"},
        {K::Altitude, "99999999999999999999", V::Hover, nullptr,
         "海拔(99999999999999999999)超出范围，\r\n请重新输入。"},
    };
    // The cells show "12.5000" under every locale, so they read it back so.
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue;
        for (const NumberCase& c : cases) {
            const NumberCommit commit = CommitNumber(c.kind, QString::fromUtf8(c.typed), c.variant);
            EXPECT_EQ(commit.accepted, c.cell != nullptr) << c.typed << " " << locale;
            if (c.cell) {
                EXPECT_EQ(commit.cellText, QString::fromUtf8(c.cell)) << c.typed << " " << locale;
            } else {
                EXPECT_EQ(commit.message, QString::fromUtf8(c.message)) << c.typed;
            }
        }
    }
    std::setlocale(LC_ALL, "C");
}

TEST(NumberRules, TheEditTakesThePositionAsTheCellsShowIt) {
    PropertyValues rows;
    rows[PropertyRow::Latitude] = QStringLiteral("39.9042");
    rows[PropertyRow::Longitude] = QStringLiteral("-116.4074");
    rows[PropertyRow::Altitude] = QStringLiteral("44");
    ChangedFields changed;
    changed.Set(EditField::Latitude);
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue;
        const PhotoEdit edit = BuildPhotoEdit(rows, changed, PhotoRecord{});
        ASSERT_TRUE(edit.position) << locale;
        EXPECT_EQ(edit.position->latitude, 39.9042f) << locale;
        EXPECT_EQ(edit.position->longitude, -116.4074f) << locale;
        EXPECT_EQ(edit.position->altitude, 44) << locale;
    }
    std::setlocale(LC_ALL, "C");
}

TEST(ShotTimeRule, ReadsTheRowTextBackAsLocalTime) {
    const auto fields = ParseShotTimeText(QStringLiteral("2014-03-03 09:05:07"));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->year, 2014);
    EXPECT_EQ(fields->month, 3);
    EXPECT_EQ(fields->second, 7);
    EXPECT_EQ(ShotTimeSeconds(QStringLiteral("2014-03-03 09:05:07")), 1393808707);
    EXPECT_FALSE(ParseShotTimeText(QStringLiteral("201")));
    EXPECT_FALSE(ShotTimeSeconds(QStringLiteral("2014-13-03 09:05:07")));
    EXPECT_FALSE(ShotTimeSeconds(QStringLiteral("abcd-ef")));
}

}  // namespace
