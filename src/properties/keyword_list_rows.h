#pragma once
// The rows of the custom keyword editor: the custom keywords in order,
// always followed by the placeholder row "点击添加...". Pure list logic, so
// the editor's rules are tested without a window.

#include <QString>
#include <QStringList>
#include <set>

class KeywordListRows {
  public:
    static QString Placeholder();

    // Every keyword of list becomes a row (KeywordItems: the last one needs
    // no ";", empty ones are left out), then the placeholder.
    explicit KeywordListRows(const QString& list = {});

    const QStringList& Rows() const { return rows_; }
    int Count() const { return static_cast<int>(rows_.size()); }

    // The end of an in-place edit of row (cancelled edits too): the row
    // takes text; an edited placeholder adds a new placeholder unless the
    // text is the placeholder; another row edited to the placeholder is
    // deleted; later repeats (letter case ignored) are deleted.
    void EndEdit(int row, const QString& text);
    // Inserts a placeholder row before row (at the end's placeholder when
    // row is out of range); returns its index, to be edited next.
    int InsertPlaceholder(int row);
    // Deletes the given rows, never the last (placeholder) row.
    void Delete(const std::set<int>& rows);

    // Every row but the last, each followed by ";".
    QString ToList() const;

  private:
    QStringList rows_;
};
