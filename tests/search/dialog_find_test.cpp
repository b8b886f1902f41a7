// The search panel: its grid, the hover protocol, the commit rules, the
// keyword picker, and the pane searching with what it stores.

#include <QLocale>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <clocale>

#include "catalogue/search_statement.h"
#include "pane/class_view.h"
#include "pane/tree_ctrl_ex.h"
#include "search/dialog_find.h"
#include "tree_fixture.h"
#include "view/verero_view.h"
#include "widgets/check_combo_box.h"
#include "widgets/date_time_field.h"
#include "widgets/num_edit.h"
#include "widgets/skin_button.h"

Q_DECLARE_METATYPE(SearchFilter)

namespace {

using Row = CDialogFind::Row;
constexpr int kLow = CDialogFind::kLowColumn;
constexpr int kHigh = CDialogFind::kHighColumn;

class DialogFindTest : public TreeTest {
  protected:
    void SetUp() override {
        TreeTest::SetUp();
        qRegisterMetaType<SearchFilter>();
        panel = std::make_unique<CDialogFind>(library());
        panel->SetMessageHandler([this](const QString& text) { messages << text; });
        panel->resize(250, 130);
        panel->show();
    }
    void TearDown() override {
        panel.reset();
        TreeTest::TearDown();
    }
    // Hovers the cell, replaces the editor's text as typing would, and clicks
    // another row so that the value is committed.
    void Type(int row, int column, const QString& text) {
        panel->HoverCell(row, column);
        panel->ValueEditor()->selectAll();
        panel->ValueEditor()->insert(text);
        panel->ClickCell(row == Row::kKeywordRow ? Row::kLatitudeRow : Row::kKeywordRow, 0);
    }
    std::optional<SearchFilter> Searched() {
        QSignalSpy spy(panel.get(), &CDialogFind::searchRequested);
        panel->Search();
        if (spy.isEmpty()) return std::nullopt;
        return spy.takeFirst().at(0).value<SearchFilter>();
    }

    std::unique_ptr<CDialogFind> panel;
    QStringList messages;
};

TEST_F(DialogFindTest, StartsWithItsPlaceholdersAndSearchesNothingBeforeAnEdit) {
    const QTableWidget* grid = panel->Grid();
    EXPECT_EQ(grid->columnCount(), 5);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "属性");
    const int widths[] = {44, 85, 28, 85, 1000};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(grid->columnWidth(c), widths[c]);
    const char* cells[4][4] = {{"关键词", "关键词1", "或", "关键词2"},
                               {"日期", "1970-01-02", "—", ""},
                               {"经度", "", "—", ""},
                               {"纬度", "", "—", ""}};
    cells[1][3] = nullptr;  // today
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (cells[r][c]) {
                EXPECT_EQ(panel->CellText(r, c), QString::fromUtf8(cells[r][c]));
            }
    EXPECT_EQ(panel->CellText(Row::kDateRow, kHigh).toStdString(), FormatDay(LocalToday()));
    EXPECT_EQ(panel->SearchButton()->geometry(), QRect(100, 105, 63, 22));
    EXPECT_FALSE(Searched());
}

TEST_F(DialogFindTest, HoveringOpensTheCellsEditorWithItsTextSelectedAndMovesOnWhileUntouched) {
    panel->HoverCell(Row::kLongitudeRow, kLow);
    EXPECT_TRUE(panel->ValueEditor()->isVisible());
    EXPECT_TRUE(panel->ValueEditor()->NumericMode());
    panel->HoverCell(Row::kKeywordRow, kHigh);
    EXPECT_FALSE(panel->ValueEditor()->NumericMode());
    EXPECT_EQ(panel->ValueEditor()->selectedText(), "关键词2");
    panel->HoverCell(Row::kDateRow, kLow);
    EXPECT_FALSE(panel->ValueEditor()->isVisible());
    EXPECT_EQ(panel->DatePicker()->date(), QDate(1970, 1, 2));
    panel->HoverCell(Row::kDateRow, 0);  // the label column has no editor
    EXPECT_FALSE(panel->DatePicker()->isVisible());
    EXPECT_FALSE(Searched());  // nothing was changed
}

TEST_F(DialogFindTest, AnEditorBeingTypedInStaysUntilAClickCommitsIt) {
    panel->HoverCell(Row::kLongitudeRow, kLow);
    QTest::keyClicks(panel->ValueEditor(), "117");
    panel->HoverCell(Row::kLatitudeRow, kHigh);  // still working: nothing moves
    EXPECT_EQ(panel->CellText(Row::kLongitudeRow, kLow), "");
    panel->ClickCell(Row::kLatitudeRow, kHigh);
    EXPECT_EQ(panel->CellText(Row::kLongitudeRow, kLow), "117.0000");
    EXPECT_TRUE(panel->ValueEditor()->isVisible());  // now over the latitude
}

TEST_F(DialogFindTest, OutOfRangeCoordinatesAndLongKeywordsAreRefusedAndTheCellKept) {
    Type(Row::kLatitudeRow, kLow, "39");
    Type(Row::kLatitudeRow, kLow, "95");
    Type(Row::kLongitudeRow, kHigh, "-181");
    Type(Row::kKeywordRow, kLow, "家人朋友旅行海");
    EXPECT_EQ(messages, (QStringList{"纬度值(95)超出范围（ - 90°, 90°），\r\n请重新输入。",
                                     "经度值(-181)超出范围（ - 180°, 180°），\r\n请重新输入。",
                                     "关键词(家人朋友旅行海)超过19个字节，\r\n请重新输入。"}));
    EXPECT_EQ(panel->CellText(Row::kLatitudeRow, kLow), "39.0000");
    EXPECT_EQ(panel->CellText(Row::kLongitudeRow, kHigh), "");
    EXPECT_EQ(panel->CellText(Row::kKeywordRow, kLow), "关键词1");
}

TEST_F(DialogFindTest, ADayTypedOverTheSelectionIsReadWholeAndABadOneRefusedOnLeaving) {
    const struct {
        const char* typed;
        const char* cell;  // nullptr: refused, the cell keeps its text
    } cases[] = {
        {"2010-05-06", "2010-05-06"},
        {"2011/6/7", "2011-06-07"},
        {"1969-12-31", nullptr},
        {"2010-13-01", nullptr},
    };
    QString shown = panel->CellText(Row::kDateRow, kLow);
    for (const auto& c : cases) {
        panel->HoverCell(Row::kDateRow, kLow);
        QTest::keyClicks(panel->DatePicker(), QString::fromUtf8(c.typed));
        const qsizetype before = messages.size();
        panel->ClickCell(Row::kKeywordRow, 0);
        if (c.cell != nullptr) shown = QString::fromUtf8(c.cell);
        EXPECT_EQ(panel->CellText(Row::kDateRow, kLow), shown) << c.typed;
        EXPECT_EQ(messages.size(), before + (c.cell == nullptr ? 1 : 0)) << c.typed;
    }
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.back().contains("1970-01-02")) << "names the range";
}

TEST_F(DialogFindTest, SearchStoresKeywordsDaysAndRangesAsTheFilter) {
    Type(Row::kKeywordRow, kLow, "家人");
    Type(Row::kKeywordRow, kHigh, "Tom's");
    Type(Row::kLongitudeRow, kLow, "117");
    Type(Row::kLongitudeRow, kHigh, "116");
    panel->HoverCell(Row::kDateRow, kLow);
    panel->DatePicker()->setDate(QDate(2014, 1, 1));
    panel->ClickCell(Row::kKeywordRow, 0);
    const auto filter = Searched();
    ASSERT_TRUE(filter);
    EXPECT_STREQ(filter->keywordA, "家人");
    EXPECT_STREQ(filter->keywordB, "Tom's");
    EXPECT_EQ(filter->start, LocalDayStart({2014, 1, 1}));
    EXPECT_EQ(filter->end, LocalDayEnd(LocalToday()));
    EXPECT_EQ(filter->longitude1, 117.0f);
    EXPECT_EQ(filter->longitude2, 116.0f);
    EXPECT_EQ(filter->latitude1, 0.0f);
}

// The window runs in the user's locale; a German one writes 116,5.
TEST_F(DialogFindTest, DegreesAreTypedShownAndSearchedWithAPointUnderADecimalCommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not generated (tools/setup.sh makes it)";
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Type(Row::kLongitudeRow, kLow, "116.5");
    Type(Row::kLongitudeRow, kHigh, "117.25");
    const auto filter = Searched();
    const std::string statement = filter ? SearchStatement(*filter) : std::string();
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(previous);

    EXPECT_EQ(panel->CellText(Row::kLongitudeRow, kLow), "116.5000");
    EXPECT_EQ(panel->CellText(Row::kLongitudeRow, kHigh), "117.2500");
    ASSERT_TRUE(filter);
    EXPECT_EQ(filter->longitude1, 116.5f);
    EXPECT_NE(statement.find("fGPSLongitude > 116.500000 and fGPSLongitude < 117.250000"),
              std::string::npos)
        << statement;
}

TEST_F(DialogFindTest, ThePickerOffersTheCataloguesKeywordsAndFillsAtMostTwoCells) {
    Add({.id = 1, .name = "a.jpg", .dateTime = 100, .keywords = "海边;家人"});
    Add({.id = 2, .name = "b.jpg", .dateTime = 200, .keywords = "生日;家人;家人朋友旅行海边"});
    panel->RefillKeywords();
    CCheckComboBox* picker = panel->KeywordPicker();
    ASSERT_EQ(picker->count(), 3);  // the over-long keyword cannot be searched
    for (int i = 0; i < 3; ++i) picker->ToggleItem(i);
    EXPECT_FALSE(picker->Ticked(2));
    EXPECT_EQ(panel->CellText(Row::kKeywordRow, kLow), picker->itemText(0));
    EXPECT_EQ(panel->CellText(Row::kKeywordRow, kHigh), picker->itemText(1));
    const auto filter = Searched();
    ASSERT_TRUE(filter);
    EXPECT_EQ(QString::fromUtf8(filter->keywordB), picker->itemText(1));
}

// The pane with the panel: what the search shows in the groupings.
TEST_F(DialogFindTest, ThePaneShowsOnlyTheFoundPhotosAndEveryPhotoAgainWhenSwitchedOff) {
    Add({.id = 1, .name = "fam.jpg", .dateTime = LocalTime(2016, 3, 5), .keywords = "家人"});
    Add({.id = 2, .name = "sea.jpg", .dateTime = LocalTime(2016, 4, 5), .keywords = "海边"});
    CVereroView view(library());
    CClassView pane(view);
    pane.resize(250, 500);
    pane.SetSearchPanel(panel.release());
    pane.SetSearchActive(true);
    auto* shown = static_cast<CDialogFind*>(pane.SearchPanel());
    // The panel spans the pane below the toolbar; the tree follows it.
    const int toolbar = pane.SortToolBar()->height();
    EXPECT_EQ(shown->geometry(), QRect(-2, toolbar, 252, 130));
    EXPECT_EQ(pane.CurrentTree()->geometry().top(), toolbar + 130);
    QObject::connect(shown, &CDialogFind::searchRequested, &pane, &CClassView::Search);
    shown->SetMessageHandler([](const QString&) {});
    shown->HoverCell(Row::kKeywordRow, kLow);
    shown->ValueEditor()->setText("家人");
    shown->Search();
    ASSERT_EQ(view.Photos().Count(), 1);
    EXPECT_EQ(view.Photos().Entry(0).ref.idPic, 1);
    pane.ShowMode(SortMode::CameraModel);
    EXPECT_EQ(pane.CurrentTree(), nullptr);  // only the shot-time grouping is filtered
    pane.ShowMode(SortMode::ShotTime);
    pane.SetSearchActive(false);
    EXPECT_FALSE(shown->isVisible());
    EXPECT_EQ(pane.CurrentTree()->geometry().top(), toolbar + 1);
    EXPECT_EQ(view.Photos().Count(), 2);
    pane.SetSearchActive(true);  // the grid survives switching off and on
    EXPECT_EQ(shown->CellText(Row::kKeywordRow, kLow), "家人");
}

TEST_F(DialogFindTest, TheSecondKeywordAndTheEndDateStayInSightInANarrowPane) {
    for (int paneWidth : {200, 250, 400}) {
        panel->resize(paneWidth + 2, 130);
        QTableWidget* grid = panel->Grid();
        const int right = grid->columnViewportPosition(kHigh) + grid->columnWidth(kHigh);
        EXPECT_LE(right, grid->viewport()->width()) << paneWidth;
        EXPECT_LE(grid->columnWidth(kHigh), 85) << "never wider than its natural width";
    }
}

}  // namespace
