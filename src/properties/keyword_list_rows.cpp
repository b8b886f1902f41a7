#include "properties/keyword_list_rows.h"

#include "properties/property_commit_rules.h"

namespace {
bool SameText(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
}  // namespace

QString KeywordListRows::Placeholder() {
    return QStringLiteral("点击添加...");
}

KeywordListRows::KeywordListRows(const QString& list) {
    rows_ = KeywordItems(list);
    rows_.append(Placeholder());
}

void KeywordListRows::EndEdit(int row, const QString& text) {
    if (row < 0 || row >= Count()) return;
    rows_[row] = text;
    if (row == Count() - 1) {
        if (!SameText(text, Placeholder())) rows_.append(Placeholder());
    } else if (SameText(text, Placeholder())) {
        rows_.removeAt(row);
    }
    for (int first = 0; first < Count(); ++first) {
        for (int later = Count() - 1; later > first; --later) {
            if (SameText(rows_[later], rows_[first])) rows_.removeAt(later);
        }
    }
}

int KeywordListRows::InsertPlaceholder(int row) {
    if (row < 0 || row >= Count()) row = Count() - 1;
    rows_.insert(row, Placeholder());
    return row;
}

void KeywordListRows::Delete(const std::set<int>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it >= 0 && *it < Count() - 1) rows_.removeAt(*it);
    }
}

QString KeywordListRows::ToList() const {
    QString list;
    for (int row = 0; row + 1 < Count(); ++row) list += rows_[row] + QLatin1Char(';');
    return list;
}
