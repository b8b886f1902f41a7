#pragma once
// The search panel at the top of the category pane: a small grid of two
// keywords (either may match), a range of shot days, a longitude range and
// a latitude range, a keyword picker offering the catalogue's keywords, and
// the 搜索 button, which turns the grid into a SearchFilter and asks the
// pane to search with it (searchRequested).
//
// Editing follows the properties dialog's hover protocol: moving the
// pointer over an editable cell opens its editor there (the value editor,
// or the date picker for the days) and commits the editor left behind
// unless the user is still working in it; a click on another cell forces
// that commit. Longitudes and latitudes outside their ranges, and keywords
// longer than a SearchFilter field holds, are refused with a message and
// leave the cell as it was.
//
// UI thread only. Created once by the shell on the first switch-on of the
// search, then only shown and hidden: the grid and its entered flags
// survive switching the search off and on.

#include <QString>
#include <QWidget>
#include <functional>

#include "catalogue/search_filter.h"
#include "tree/search_criteria.h"

class CCheckComboBox;
class CnumEdit;
class CSkinButton;
class CDateTimeField;
class Library;
class QTableWidget;

class CDialogFind : public QWidget {
    Q_OBJECT

  public:
    // Grid rows and the editable columns.
    enum Row { kKeywordRow, kDateRow, kLongitudeRow, kLatitudeRow, kRowCount };
    static constexpr int kLowColumn = 1;
    static constexpr int kHighColumn = 3;

    // The keyword picker offers the keywords of library.
    explicit CDialogFind(Library& library, QWidget* parent = nullptr);

    // The initial grid: placeholders, 1970-01-02 to today, empty ranges;
    // no cell counts as entered; editors hidden.
    void InitPanel();

    QString CellText(int row, int column) const;
    // The grid's texts and entered flags as the search reads them.
    SearchEntries Entries() const;

    // The pointer is over (row, column): the hover procedure.
    void HoverCell(int row, int column);
    // A click on (row, column): forces the commit when it is not the
    // current cell, then hovers it.
    void ClickCell(int row, int column);
    // Commits the open editors; false when a value was refused.
    bool CommitEditors();
    // The 搜索 button.
    void Search();

    // Fills the keyword picker with the catalogue's keywords, keeping the
    // ticks of keywords still offered.
    void RefillKeywords();

    // Range and length messages go here instead of a message box (tests).
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        message_ = std::move(handler);
    }

    QTableWidget* Grid() const { return grid_; }
    CnumEdit* ValueEditor() const { return valueEditor_; }
    CDateTimeField* DatePicker() const { return datePicker_; }
    CCheckComboBox* KeywordPicker() const { return keywordPicker_; }
    CSkinButton* SearchButton() const { return searchButton_; }

  signals:
    // Store the filter, drop the trees, rebuild the current one and select
    // its first group.
    void searchRequested(const SearchFilter& filter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The value columns' width for a grid viewport this wide.
    void FitColumns(int available);
    void CreateGrid();
    void SetCell(int row, int column, const QString& text);
    // Whether the user is still working in an open editor.
    bool EditorBusy() const;
    bool CommitValueEditor();
    // False (and the notice) for a day that is no date or outside the range.
    bool CommitDatePicker();
    void HideEditors();
    void ShowEditorOver(QWidget* editor, int row, int column);
    void SetEntered(int row, int column);
    void Refuse(const QString& message);
    // The picker's ticks become the two keyword cells.
    void TakePickedKeywords();

    Library& library_;
    QTableWidget* grid_ = nullptr;
    CnumEdit* valueEditor_ = nullptr;
    CDateTimeField* datePicker_ = nullptr;
    CCheckComboBox* keywordPicker_ = nullptr;
    CSkinButton* searchButton_ = nullptr;
    std::array<bool, kSearchCellCount> entered_{};
    int currentRow_ = -1;
    int currentColumn_ = -1;
    bool forced_ = false;
    bool valueHolding_ = false;
    bool dateHolding_ = false;
    bool fillingPicker_ = false;
    std::function<void(const QString&)> message_;
};
