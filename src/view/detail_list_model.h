#pragma once
// The detail list's table model over the main view's PhotoList: one row per
// entry, in list order, twelve columns of catalogue data. A row's columns
// are read from the catalogue the first time the table asks for them (the
// rows it paints), so a list of any length opens at once and scrolling
// reads one screen at a time; the rows held stay bounded while scrolling
// through a long list.
//
// UI thread only, like the PhotoList it reads.

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <array>
#include <memory>
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
    // Rows whose columns are held now.
    int LoadedRows() const { return loadedRows_; }

    // Above this many held rows, those far from the row being read are
    // dropped (and read again if they come back into sight).
    static constexpr int kMostLoadedRows = 5000;
    static constexpr int kKeptAround = 1000;

  private:
    using Cells = std::array<QString, kDetailColumnCount>;
    const Cells& RowCells(int row) const;
    void DropFarRows(int row) const;

    const PhotoList& photos_;
    int rows_ = 0;
    // Null for a row not read yet: a long list costs one pointer per row.
    mutable std::vector<std::unique_ptr<Cells>> cells_;
    mutable int loadedRows_ = 0;
    QIcon photoIcon_;
};
