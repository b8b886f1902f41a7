// The detail list: cell formats, the catalogue row it shows, and the table
// in the view (lazy rows, selection, context menu, double click, refresh).

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <ctime>

#include "catalogue/detail_rows.h"
#include "catalogue/photo_rows.h"
#include "photo_catalogue_fixture.h"
#include "view/detail_cells.h"
#include "view/detail_list_model.h"
#include "view/report_details.h"
#include "view/verero_view.h"

namespace {

TEST(DetailCells, EachColumnIsFormattedAsTheListShowsIt) {
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    DetailRow row;
    row.name = "海边.jpg";
    row.dateTime = 1388534400;  // 2014-01-01 08:00:00 in Shanghai
    row.sizeMegabytes = 2.345;
    row.folder = "/photos/2014";
    row.model = "Canon EOS 40D";
    row.width = 3888;
    row.height = 2592;
    row.longitude = 116.39128;
    row.latitude = 39.9;
    row.author = "Tom's 😀";  // four-byte characters are kept
    row.subject = "主题";
    row.keywords = "家人;海边";
    row.comment = "第一行\r\n第二行";
    row.idPic = 9223372036854775807;
    const char* expected[kDetailColumnCount] = {
        "海边.jpg",      "2014-01-01 08:00:00", "2.35 M",           "/photos/2014",
        "Canon EOS 40D", "3888 × 2592",         "116.3913,39.9000", "Tom's 😀",
        "主题",          "家人;海边",           "第一行\r\n第二行", "9223372036854775807"};
    for (int c = 0; c < kDetailColumnCount; ++c)
        EXPECT_EQ(DetailCellText(row, c), expected[c]) << c;

    // Unknown date and position stay empty; one coordinate alone shows with
    // the other as 0.
    DetailRow blank;
    EXPECT_EQ(DetailCellText(blank, 1), "");
    EXPECT_EQ(DetailCellText(blank, 6), "");
    EXPECT_EQ(DetailCellText(blank, 2), "0.00 M");
    blank.latitude = -33.8568;
    EXPECT_EQ(DetailCellText(blank, 6), "0.0000,-33.8568");
}

// A view of 800 x 600 pixels over n photos named photoN.jpg.
class DetailListTest : public PhotoCatalogueTest {
  protected:
    void SetUp() override {
        PhotoCatalogueTest::SetUp();
        view.resize(800, 600);
        view.show();
    }
    void Fill(int n) {
        BeginTransaction(library());
        for (int id = 1; id <= n; ++id) {
            PhotoRecord r = Record("photo" + std::to_string(id) + ".jpg", 4000, 3000);
            r.dwDateTime = 1000 * id;
            Insert(id, r, {});
        }
        CommitTransaction(library());
        view.ResetPhotoList(n);
        for (int id = 1; id <= n; ++id) view.Photos().Append({id, false});
        view.Photos().currentIndex = 0;
    }
    QTableView* Table() const { return view.Report()->Table(); }
    QString Cell(int row, int column) const {
        return Table()->model()->index(row, column).data().toString();
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        const QModelIndex index = Table()->model()->index(row, 0);
        QTest::mouseClick(Table()->viewport(), Qt::LeftButton, modifiers,
                          Table()->visualRect(index).center());
    }

    CVereroView view{library()};
};

TEST_F(DetailListTest, OpensWithTwelveColumnsAndReadsOnlyTheRowsItShows) {
    Fill(1000);
    view.OnDetailList();
    ASSERT_NE(view.Report(), nullptr);
    EXPECT_TRUE(view.DetailMode());
    EXPECT_EQ(view.CellSize(), kDetailListCell);
    EXPECT_EQ(Table()->model()->rowCount(), 1000);
    EXPECT_EQ(Table()->model()->headerData(11, Qt::Horizontal).toString(), "文件ID");
    EXPECT_EQ(Table()->columnWidth(3), 200);
    Table()->grab();  // paints the first screen
    const int loaded = view.Report()->Model()->LoadedRows();
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 100);
    EXPECT_EQ(Cell(0, 0), "photo1.jpg");
    EXPECT_EQ(Cell(999, 0), "photo1000.jpg");  // any row on demand
    EXPECT_EQ(Cell(999, 5), "4000 × 3000");
}

TEST_F(DetailListTest, ScrollingThroughALongListKeepsTheHeldRowsBounded) {
    constexpr int kRows = DetailListModel::kMostLoadedRows + 2000;
    Fill(kRows);
    view.OnDetailList();
    for (int row = 0; row < kRows; ++row) Cell(row, 0);
    EXPECT_LE(view.Report()->Model()->LoadedRows(), DetailListModel::kMostLoadedRows);
    EXPECT_EQ(Cell(0, 0), "photo1.jpg");  // read again when it comes back
    EXPECT_EQ(Cell(kRows - 1, 0), "photo" + QString::number(kRows) + ".jpg");
}

TEST_F(DetailListTest, ClicksMakeTheCurrentPhotoAndSeveralRowsTheSelection) {
    Fill(10);
    view.OnDetailList();
    ClickRow(4);
    EXPECT_EQ(view.Photos().currentIndex, 4);
    EXPECT_EQ(view.HitTest({0, 0}), 4);
    EXPECT_TRUE(view.Selection().list.Empty());  // one row is no selection
    ClickRow(2, Qt::ShiftModifier);
    const auto& selected = view.Selection().list.Photos();
    ASSERT_EQ(selected.size(), 3u);
    EXPECT_EQ(selected[0].idPic, 3);  // row order, not click order
    EXPECT_EQ(selected[2].idPic, 5);

    QSignalSpy opened(&view, &CVereroView::openPhotoRequested);
    const QPoint row7 = Table()->visualRect(Table()->model()->index(7, 1)).center();
    QTest::mouseClick(Table()->viewport(), Qt::LeftButton, {}, row7);
    QTest::mouseDClick(Table()->viewport(), Qt::LeftButton, {}, row7);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toInt(), 7);
    EXPECT_EQ(view.PickCommandPhoto(true), 7);

    QSignalSpy menu(&view, &CVereroView::contextMenuRequested);
    const QPoint row1 = Table()->visualRect(Table()->model()->index(1, 0)).center();
    QContextMenuEvent context(QContextMenuEvent::Mouse, row1,
                              Table()->viewport()->mapToGlobal(row1));
    QCoreApplication::sendEvent(Table()->viewport(), &context);
    EXPECT_EQ(menu.size(), 1);
    EXPECT_EQ(view.Report()->SelectedRow(), 1);
}

TEST_F(DetailListTest, RefreshShowsEditedRowsAndAGoneRowKeepsOnlyItsId) {
    Fill(3);
    view.OnDetailList();
    EXPECT_EQ(Cell(1, 6), "");
    ASSERT_TRUE(UpdatePhotoPosition(library(), 2, 39.9f, 116.4f));
    EXPECT_EQ(Cell(1, 6), "");  // read once, until refreshed
    view.Report()->RefreshRows();
    EXPECT_EQ(Cell(1, 6), "116.4000,39.9000");

    ASSERT_EQ(DeletePhotoRows(library(), std::nullopt, PhotoRef{3, false}), 0);
    view.Report()->RefreshRows();
    EXPECT_EQ(Cell(2, 0), "");
    EXPECT_EQ(Cell(2, 11), "3");
}

TEST_F(DetailListTest, IconModesHideItAndComingBackShowsTheNewList) {
    Fill(5);
    view.OnDetailList();
    view.OnSmallIcons();
    EXPECT_FALSE(view.Report()->isVisible());
    EXPECT_EQ(view.CellSize(), kSmallIconCell);
    view.ResetPhotoList(2);
    view.Photos().Append({5, false});
    view.Photos().Append({4, false});
    view.OnDetailList();
    EXPECT_TRUE(view.Report()->isVisible());
    EXPECT_EQ(Table()->model()->rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "photo5.jpg");
    // The pane's next fill lands in the detail list too.
    view.ResetPhotoList(1);
    view.Photos().Append({1, false});
    view.ShowListFromTop();
    EXPECT_EQ(Table()->model()->rowCount(), 1);
    view.Report()->DeleteRow(0);
    EXPECT_EQ(Table()->model()->rowCount(), 0);
}

}  // namespace
