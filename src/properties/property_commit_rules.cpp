#include "properties/property_commit_rules.h"

#include <QDateTime>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "import/jpeg_name.h"
#include "import/position_range.h"
#include "platform/c_locale_numbers.h"
#include "platform/local_time.h"
#include "record/keyword_list.h"

namespace {

const QString kJpg = QStringLiteral(".JPG");

// strtod/strtol semantics: the longest numeric prefix, 0 when none. The
// cells show "%.4f" with a '.', so the number is read that way under every
// locale.
double LeadingDegrees(const QString& text) {
    return LeadingDouble(text.toStdString());
}

long long LeadingWhole(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    return std::strtoll(bytes.constData(), nullptr, 10);
}

// Decimal digits from position pos up to the first non-digit.
int DigitsAt(const QString& text, qsizetype& pos) {
    long long value = 0;
    while (pos < text.size() && text[pos].isDigit()) {
        if (value < 100000000) value = value * 10 + text[pos].digitValue();
        ++pos;
    }
    return static_cast<int>(value);
}

// The number from pos up to separator, then pos moves past the separator.
int FieldUpTo(const QString& text, qsizetype& pos, QChar separator) {
    qsizetype digits = pos;
    const int value = DigitsAt(text, digits);
    const qsizetype cut = text.indexOf(separator, pos);
    pos = cut < 0 ? text.size() : cut + 1;
    return value;
}

}  // namespace

int FileNameStemLength(const QString& name) {
    for (const char* extension : {".JPG", ".jpg", ".jpeg", ".JPEG"}) {
        const qsizetype at = name.indexOf(QLatin1String(extension));
        if (at >= 0) return at >= 1 ? static_cast<int>(at) : static_cast<int>(name.size());
    }
    return static_cast<int>(name.size());
}

QString NormaliseFileNameOnHover(const QString& typed) {
    const qsizetype dot = typed.indexOf(QLatin1Char('.'));
    if (dot >= 0) return typed.left(dot) + kJpg;
    if (typed.endsWith(QLatin1String("JPG"))) {
        QString name = typed;
        return name.replace(QLatin1String("JPG"), kJpg);
    }
    return typed + kJpg;
}

QString NormaliseFileNameOnApply(const QString& typed) {
    return QString::fromStdString(RenamedPhotoFileName(typed.toStdString()));
}

bool IsUsableFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0))) return false;
#ifdef _WIN32
    for (QChar c : QStringLiteral("\\:*?\"<>|"))
        if (name.contains(c)) return false;
#endif
    return name.toUtf8().size() <= 255;
}

QString NormaliseAuthor(const QString& text) {
    if (text.isEmpty()) return text;
    QString author = text;
    author.replace(QLatin1Char(' '), QLatin1Char(';'));
    author.replace(QStringLiteral("；"), QStringLiteral(";"));
    author.replace(QStringLiteral("、"), QStringLiteral(";"));
    while (author.startsWith(QLatin1Char(';'))) author.remove(0, 1);
    while (author.contains(QLatin1String(";;")))
        author.replace(QLatin1String(";;"), QLatin1String(";"));
    if (!author.endsWith(QLatin1Char(';'))) author += QLatin1Char(';');
    return author;
}

QStringList KeywordItems(const QString& list) {
    QStringList items;
    for (const std::string& keyword : SplitKeywords(list.toStdString()))
        items.append(QString::fromStdString(keyword));
    return items;
}

QString NormaliseKeywordText(const QString& pickerText) {
    return QString::fromStdString(JoinKeywords(SplitKeywords(pickerText.toStdString())));
}

bool KeywordSetEquals(const QString& a, const QString& b) {
    return SameKeywords(a.toStdString(), b.toStdString());
}

NumberCommit CommitNumber(NumberRowKind kind, const QString& typed, CommitVariant variant) {
    NumberCommit commit;
    const bool hover = variant == CommitVariant::Hover;
    if (kind == NumberRowKind::Altitude) {
        const long long n = LeadingWhole(typed);
        if (!InPositionRange(PositionPart::Altitude, static_cast<double>(n))) {
            commit.message =
                QStringLiteral("海拔(") + typed + QStringLiteral(")超出范围，\r\n请重新输入。");
            return commit;
        }
        commit.accepted = true;
        commit.cellText = QString::asprintf("%d", static_cast<int>(n));
        return commit;
    }
    const bool longitude = kind == NumberRowKind::Longitude;
    const double v = LeadingDegrees(typed);
    if (!InPositionRange(longitude ? PositionPart::Longitude : PositionPart::Latitude, v)) {
        const QString name = longitude ? QStringLiteral("经度值(") : QStringLiteral("纬度值(");
        const QString range =
            longitude ? QStringLiteral("（ - 180°, 180°）") : QStringLiteral("（ - 90°, 90°）");
        commit.message = hover ? name + typed + QStringLiteral(")超出范围，") + range +
                                     QStringLiteral("\r\n请重新输入。")
                               : name + typed + QStringLiteral(")超出范围") + range +
                                     QStringLiteral("，\r\n请重新输入。");
        return commit;
    }
    commit.accepted = true;
    commit.cellText = QString::asprintf("%.4f", v);
    return commit;
}

std::optional<ShotTimeFields> ParseShotTimeText(const QString& text) {
    if (text.size() < 4) return std::nullopt;
    ShotTimeFields f;
    qsizetype yearEnd = 0;
    f.year = DigitsAt(text.left(4), yearEnd);
    qsizetype pos = 4;
    if (pos < text.size() && text[pos] == QLatin1Char('-')) ++pos;
    f.month = FieldUpTo(text, pos, QLatin1Char('-'));
    f.day = FieldUpTo(text, pos, QLatin1Char(' '));
    f.hour = FieldUpTo(text, pos, QLatin1Char(':'));
    f.minute = FieldUpTo(text, pos, QLatin1Char(':'));
    f.second = DigitsAt(text, pos);
    return f;
}

std::optional<std::int32_t> ShotTimeSeconds(const QString& text) {
    const std::optional<ShotTimeFields> f = ParseShotTimeText(text);
    if (!f || f->year < 1901 || f->month < 1 || f->month > 12 || f->day < 1 || f->day > 31)
        return std::nullopt;
    const std::optional<std::int64_t> seconds =
        LocalWallSeconds(f->year, f->month, f->day, f->hour, f->minute, f->second);
    if (!seconds || *seconds < std::numeric_limits<std::int32_t>::min() ||
        *seconds > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*seconds);
}

QString ShotTimeRefusal(const QString& typed) {
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QString first =
        QDateTime::fromSecsSinceEpoch(std::numeric_limits<std::int32_t>::min()).toString(format);
    const QString last =
        QDateTime::fromSecsSinceEpoch(std::numeric_limits<std::int32_t>::max()).toString(format);
    return QStringLiteral(
               "拍摄时间(%1)无效，请按 2005-09-01 10:20:30 的格式输入，\r\n"
               "范围为 %2 至 %3。")
        .arg(typed, first, last);
}
