#pragma once
// The detail list's table model over the main view's PhotoList: one row per
// entry, in list order, twelve columns of catalogue data. A row's columns
// are read from the catalogue the first time the table asks for them (the
// rows it paints), so a list of any length opens at once and scrolling
// reads one screen at a time.
//
// UI thread only, like the PhotoList it reads.

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <array>
#include <vector>

#include "view/detail_cells.h"

class PhotoList;

class DetailListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit DetailListModel(const PhotoList& photos, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list was refilled: every row anew.
    void Reload();
    // The photos' catalogue rows changed (edits): rows are read again when
    // next shown; the rows themselves stay.
    void RefreshRows();
    // The list has just lost the entry at row.
    void RowRemoved(int row);
    // Rows whose columns have been read since the last Reload.
    int LoadedRows() const { return loadedRows_; }

  private:
    struct Cells {
        bool loaded = false;
        std::array<QString, kDetailColumnCount> text;
    };
    const Cells& RowCells(int row) const;

    const PhotoList& photos_;
    int rows_ = 0;
    mutable std::vector<Cells> cells_;
    mutable int loadedRows_ = 0;
    QIcon photoIcon_;
};
