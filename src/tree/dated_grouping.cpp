#include "tree/dated_grouping.h"

#include <ctime>

#include "platform/local_time.h"
#include "tree/tree_labels.h"

namespace {

// Photos of the local year 1970 count as undated wherever the year is tested:
// cameras without a clock setting and files without a shot time land there.
constexpr int kUndatedYear = 1970;

std::string YearLabel(int year) {
    return std::to_string(year) + "年";
}
std::string MonthLabel(int month) {
    return std::to_string(month) + "月";
}

// Local midnight of the first day of a month; month may be 13 (January of the next year).
std::optional<std::int64_t> MonthStart(int year, int month) {
    return LocalWallSeconds(year, month, 1);
}

}  // namespace

DatedGrouping::DatedGrouping(CategoryTree& tree, bool shotTime, bool skipRepeatedIds,
                             KeyLabel label)
    : tree_(tree), shotTime_(shotTime), skipRepeatedIds_(skipRepeatedIds), label_(label) {}

DatedGrouping DatedGrouping::ShotTime(CategoryTree& tree) {
    return DatedGrouping(tree, true, true, nullptr);
}

DatedGrouping DatedGrouping::Keyed(CategoryTree& tree, bool skipRepeatedIds, KeyLabel label) {
    return DatedGrouping(tree, false, skipRepeatedIds, label);
}

DatedGrouping::YearMonth DatedGrouping::LocalYearMonth(std::int64_t dateTime) {
    // West of UTC the time 0 falls in 1969; it still means "no shot time".
    if (dateTime == 0) return {kUndatedYear, 1};
    if (dateTime >= monthStart_ && dateTime < monthEnd_) return cachedMonth_;
    const std::optional<LocalWallTime> local = LocalWallTimeOf(dateTime);
    if (!local) return {kUndatedYear, 1};
    YearMonth date{local->year, local->month};
    // Only a month whose both ends convert is remembered.
    const std::optional<std::int64_t> start = MonthStart(date.year, date.month);
    const std::optional<std::int64_t> end = MonthStart(date.year, date.month + 1);
    if (start && end && *start <= dateTime && dateTime < *end) {
        monthStart_ = *start;
        monthEnd_ = *end;
        cachedMonth_ = date;
    }
    return date;
}

void DatedGrouping::Add(const DatedRow& row) {
    if (skipRepeatedIds_ && placed_ != 0 && row.id == previousId_) return;
    YearMonth date = LocalYearMonth(row.dateTime);
    NodeIndex parent = shotTime_ ? PlaceShotTime(row, date) : PlaceKeyed(row, date);
    tree_.AddPhoto(parent, PhotoRef{row.id, false}, row.name);
    previousId_ = row.id;
    previous_ = date;
    ++placed_;
}

NodeIndex DatedGrouping::PlaceShotTime(const DatedRow& row, YearMonth date) {
    if (placed_ == 0 && date.year == kUndatedYear) {
        topUndated_ = tree_.AddGroup(kRootNode, kUndatedLabel);
        parent_ = *topUndated_;
        return parent_;
    }
    // Photos without a shot time sort last; they share one node after the years.
    if (row.dateTime == 0) {
        if (!topUndated_) topUndated_ = tree_.AddGroup(kRootNode, kUndatedLabel);
        return *topUndated_;
    }
    if (placed_ == 0 || date.year != previous_.year) {
        OpenYear(kRootNode, date, false);
    } else if (date.month != previous_.month) {
        OpenMonth(date);
    }
    return parent_;
}

NodeIndex DatedGrouping::PlaceKeyed(const DatedRow& row, YearMonth date) {
    if (placed_ == 0 || row.key != previousKey_) {
        keyNode_ = tree_.AddGroup(kRootNode, label_(row.key));
        previousKey_.assign(row.key);
        OpenYear(keyNode_, date, true);
    } else if (date.year != previous_.year) {
        OpenYear(keyNode_, date, true);
    } else if (date.month != previous_.month) {
        OpenMonth(date);
    }
    return parent_;
}

void DatedGrouping::OpenYear(NodeIndex base, YearMonth date, bool yearMayBeUndated) {
    if (yearMayBeUndated && date.year == kUndatedYear) {
        yearNode_.reset();
        parent_ = tree_.AddGroup(base, kUndatedLabel);
        return;
    }
    yearNode_ = tree_.AddGroup(base, YearLabel(date.year));
    parent_ = tree_.AddGroup(*yearNode_, MonthLabel(date.month));
}

// A new month within the current year. Below an undated node there are no
// months: every photo of 1970 stays in that node.
void DatedGrouping::OpenMonth(YearMonth date) {
    if (yearNode_) parent_ = tree_.AddGroup(*yearNode_, MonthLabel(date.month));
}
