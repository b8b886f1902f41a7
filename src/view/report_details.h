#pragma once
// The main view's 详细列表 mode: the view's PhotoList as a table with one row
// per photo and twelve columns of catalogue data. Row i is entry i of the
// list. Clicking a row makes it the view's current photo (selectedRow);
// selecting several rows fills the view's SelectionList in row order; the
// right button opens the photo menu 119 and a double click asks the view to
// open the viewer (CVereroView::openPhotoRequested), as in the grid.
//
// UI thread only. One instance, a child of the view's viewport created the
// first time the mode is chosen; the view hands it RefreshRows after edits
// (CVereroView::RefreshDetailRows).

#include <QWidget>

class CVereroView;
class DetailListModel;
class QTableView;

class CDialog_ReportDetails : public QWidget {
    Q_OBJECT

  public:
    CDialog_ReportDetails(CVereroView& view, QWidget* parent);

    // The view's list was refilled: all rows anew, the current photo's row
    // selected and scrolled into sight.
    void Refill();
    // The catalogue rows of the listed photos changed (properties, batch
    // edits, region updates): the shown rows are read again, the selection
    // and scroll position stay.
    void RefreshRows();
    // The view's list has just lost entry row (single-photo removal).
    void DeleteRow(int row);

    // The row last clicked, right-clicked or double-clicked; -1 for none.
    int SelectedRow() const { return selectedRow_; }
    QTableView* Table() const { return table_; }
    DetailListModel* Model() const { return model_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void MakeCurrent(int row);
    void CollectSelection();

    CVereroView& view_;
    DetailListModel* model_;
    QTableView* table_;
    int selectedRow_ = -1;
};
