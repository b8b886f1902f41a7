// In-place editing of the properties grid: the hover and click protocol,
// the commit rules as the user meets them, and the keyword picker.

#include <QApplication>
#include <QFile>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "catalogue/keyword_rows.h"
#include "properties/custom_keywords_file.h"
#include "properties/my_key_word_edit.h"
#include "properties_fixture.h"
#include "widgets/check_combo_box.h"
#include "widgets/date_time_field.h"
#include "widgets/my_edit.h"
#include "widgets/num_edit.h"

namespace {

using namespace PropertyRow;

TEST_F(PropertiesTest, OpeningShowsTheRecordFromItsTableWithGreyRows) {
    AddPhoto(7, "dup.jpg", true);
    Open({7, true});
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF）"));
    EXPECT_EQ(dialog_->Grid()->rowCount(), 25);
    EXPECT_EQ(dialog_->CellText(Name), QStringLiteral("dup.jpg")) << "read from tReJpgMsg";
    EXPECT_EQ(dialog_->Grid()->item(Size, 0)->background().color(), QColor(230, 230, 230));
    EXPECT_EQ(dialog_->Grid()->item(Subject, 1)->background().style(), Qt::NoBrush);
    EXPECT_FALSE(dialog_->Changed().Any());
}

TEST_F(PropertiesTest, HoverMovesAnUntouchedEditorAndAClickCommitsATypedOne) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    dialog_->HoverCell(Longitude, 1);
    CnumEdit* editor = dialog_->ValueEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->selectedText(), QStringLiteral("116.4000"));
    EXPECT_TRUE(editor->NumericMode());

    dialog_->HoverCell(Latitude, 1);
    EXPECT_EQ(editor->text(), QStringLiteral("39.9000")) << "untouched: the editor moves on";
    EXPECT_FALSE(dialog_->Changed().Any());

    editor->setText(QStringLiteral("12.5"));
    dialog_->HoverCell(Altitude, 1);
    EXPECT_EQ(editor->text(), QStringLiteral("12.5")) << "typing keeps the editor in place";
    EXPECT_EQ(dialog_->CellText(Latitude), QStringLiteral("39.9000"));

    dialog_->ClickCell(Altitude, 1);
    EXPECT_EQ(dialog_->CellText(Latitude), QStringLiteral("12.5000"));
    EXPECT_TRUE(dialog_->Changed().Test(EditField::Latitude));
    EXPECT_FALSE(dialog_->Changed().Test(EditField::Longitude));

    dialog_->HoverCell(PropertyRow::Folder, 1);
    EXPECT_FALSE(editor->isVisible()) << "grey rows have no editor";
}

TEST_F(PropertiesTest, OutOfRangeNumbersAreDroppedWithTheirMessage) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    EditValue(Longitude, QStringLiteral("180.5"), Latitude);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages_[0].text,
              QStringLiteral("经度值(180.5)超出范围，（ - 180°, 180°）\r\n请重新输入。"));
    EXPECT_EQ(dialog_->CellText(Longitude), QStringLiteral("116.4000"));
    EXPECT_FALSE(dialog_->ValueEditor()->isVisible());

    EditValue(Altitude, QStringLiteral("12.7"), Make);
    EXPECT_EQ(dialog_->CellText(Altitude), QStringLiteral("12"));

    dialog_->HoverCell(Latitude, 1);
    dialog_->ValueEditor()->setText(QStringLiteral("-91"));
    EXPECT_FALSE(dialog_->CommitAll()) << "Apply stops";
    EXPECT_EQ(messages_.back().text,
              QStringLiteral("纬度值(-91)超出范围（ - 90°, 90°），\r\n请重新输入。"));
    EXPECT_EQ(dialog_->CellText(Latitude), QStringLiteral("39.9000"));
}

TEST_F(PropertiesTest, RenamingRefusesANameInUseAndNormalisesTheExtension) {
    AddPhoto(1, "IMG_1.jpeg");
    {
        QFile other(QString::fromStdString(Folder() + "/b.JPG"));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("x");
    }
    Open({1, false});
    dialog_->HoverCell(Name, 1);
    EXPECT_EQ(dialog_->ValueEditor()->selectedText(), QStringLiteral("IMG_1"));

    dialog_->ValueEditor()->setText(QStringLiteral("b"));
    dialog_->ClickCell(Subject, 1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("已包含同名文件，请重新命名。"));
    EXPECT_EQ(dialog_->CellText(Name), QStringLiteral("IMG_1.jpeg"));
    EXPECT_TRUE(dialog_->ValueEditor()->isVisible()) << "the editor keeps the typed name";

    dialog_->ValueEditor()->setText(QStringLiteral("x.y.png"));
    dialog_->ClickCell(Subject, 1);
    EXPECT_EQ(dialog_->CellText(Name), QStringLiteral("x.JPG"));
    EXPECT_TRUE(dialog_->Changed().Test(EditField::Name));

    EditValue(Name, QString(), Subject);
    EXPECT_EQ(dialog_->CellText(Name), QStringLiteral("x.JPG")) << "an empty name is dropped";
}

TEST_F(PropertiesTest, TextRowsNormaliseAuthorsAndRefuseOverlongText) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    EditValue(Author, QStringLiteral("张三 李四、王五；"), Comment);
    EXPECT_EQ(dialog_->CellText(Author), QStringLiteral("张三;李四;王五;"));

    EditValue(Make, QString(101, QLatin1Char('m')), Model);
    EXPECT_EQ(dialog_->CellText(Make), QString());
    EXPECT_TRUE(dialog_->ValueEditor()->isVisible()) << "the editor keeps holding the text";
    EXPECT_TRUE(dialog_->CommitAll()) << "Apply has no length limit";
    EXPECT_EQ(dialog_->CellText(Make).size(), 101);
}

TEST_F(PropertiesTest, KeywordPickerOffersCatalogueAndOwnKeywordsOnce) {
    AddPhoto(1, "a.jpg");
    PhotoRecord tagged;
    SetField(tagged.strXpKeyword, "家人;海边;");
    WriteKeywordRows(library(), 1, tagged);
    ASSERT_TRUE(
        SaveCustomKeywords(CustomKeywordsPath(), {QStringLiteral("生日"), QStringLiteral("海边")}));
    Open({1, false});

    dialog_->HoverCell(Keywords, 1);
    CCheckComboBox* picker = dialog_->KeywordPicker();
    ASSERT_NE(picker, nullptr);
    QStringList items;
    for (int i = 0; i < picker->count(); ++i) items.append(picker->itemText(i));
    EXPECT_EQ(items, (QStringList{"精选", "冲印", "家人", "朋友", "工作", "旅游", "海边", "生日",
                                  "自定义"}));
    EXPECT_EQ(dialog_->KeywordChoices(), QStringLiteral("海边;生日;"));

    picker->ToggleItem(2);
    picker->ToggleItem(5);
    dialog_->ClickCell(Author, 1);
    EXPECT_EQ(dialog_->CellText(Keywords), QStringLiteral("家人;旅游;"));
    EXPECT_TRUE(dialog_->Changed().Test(EditField::Keywords));

    picker->ToggleItem(items.size() - 1);
    EXPECT_FALSE(picker->Ticked(items.size() - 1)) << "自定义 opens the editor instead";

    dialog_->RefillKeywordPicker(QStringLiteral("山;家人;;"));
    EXPECT_EQ(picker->count(), 8) << "presets, 山, 自定义";
    EXPECT_TRUE(picker->Ticked(2)) << "the committed keywords stay ticked";
}

TEST_F(PropertiesTest, ShotTimePickerReadsAndWritesTheRowText) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    dialog_->HoverCell(ShotTime, 1);
    CDateTimeField* picker = dialog_->ShotTimePicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->dateTime(), QDateTime(QDate(2014, 3, 3), QTime(9, 5, 7)));
    picker->setDateTime(picker->dateTime().addSecs(60));
    dialog_->ClickCell(Make, 1);
    EXPECT_EQ(dialog_->CellText(ShotTime), QStringLiteral("2014-03-03 09:06:07"));
    EXPECT_TRUE(dialog_->Changed().Test(EditField::ShotTime));
}

TEST_F(PropertiesTest, AShotTimeTypedOverTheSelectionIsReadWholeAndABadOneRefusedOnLeaving) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    const struct {
        const char* typed;
        const char* cell;  // nullptr: refused, the cell keeps its text
    } cases[] = {
        {"2005-09-01 10:20:30", "2005-09-01 10:20:30"},
        {"2006-9-1 7:05", "2006-09-01 07:05:00"},
        {"2007:10:02 08:09:10", "2007-10-02 08:09:10"},
        {"2005-02-30 10:00:00", nullptr},
        {"2100-01-01 00:00:00", nullptr},
        {"yesterday", nullptr},
    };
    QString shown = dialog_->CellText(ShotTime);
    for (const auto& c : cases) {
        dialog_->HoverCell(ShotTime, 1);
        CDateTimeField* picker = dialog_->ShotTimePicker();
        ASSERT_EQ(picker->selectedText(), picker->text()) << "opens with its text selected";
        QTest::keyClicks(picker, QString::fromUtf8(c.typed));
        const std::size_t before = messages_.size();
        dialog_->ClickCell(Make, 1);
        if (c.cell != nullptr) shown = QString::fromUtf8(c.cell);
        EXPECT_EQ(dialog_->CellText(ShotTime), shown) << c.typed;
        EXPECT_EQ(messages_.size(), before + (c.cell == nullptr ? 1 : 0)) << c.typed;
    }
    ASSERT_FALSE(messages_.empty());
    EXPECT_TRUE(messages_.back().text.contains(QStringLiteral("2038-01-19"))) << "names the range";
}

TEST_F(PropertiesTest, EnterStartsANewCommentLineAndNeverPressesOk) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    dialog_->HoverCell(Comment, 1);
    MyEdit* comment = dialog_->CommentEditor();
    ASSERT_NE(comment, nullptr);
    comment->setPlainText(QStringLiteral("海边"));
    comment->moveCursor(QTextCursor::End);
    QTest::keyClick(comment, Qt::Key_Return);
    QTest::keyClick(dialog_.get(), Qt::Key_Return);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(comment->toPlainText(), QStringLiteral("海边\n"));
    EXPECT_EQ(PhotoEditStub::CallCount(), 0u);
}

}  // namespace

namespace {

TEST_F(PropertiesTest, TheManyKeywordsQuestionIsAskedUntilAcceptedOncePerOpener) {
    AddPhoto(1, "a.jpg");
    const QString question = QStringLiteral("关键词已超过5个，是否继续增加？");
    const PropertiesContext opener;
    // Ticks the six presets in a dialog of context; true when the sixth took.
    auto tickSix = [&](const PropertiesContext& context) {
        Open({1, false}, {}, {}, context);
        dialog_->HoverCell(PropertyRow::Keywords, 1);
        CCheckComboBox* picker = dialog_->KeywordPicker();
        for (int i = 0; i < 6; ++i) picker->ToggleItem(i);
        return picker->Ticked(5);
    };
    auto asked = [&] {
        return std::count_if(messages_.begin(), messages_.end(),
                             [&](const ShownMessage& m) { return m.text == question; });
    };
    answer_ = 2;
    EXPECT_FALSE(tickSix(opener)) << "取消 leaves the sixth unticked";
    answer_ = 1;
    EXPECT_TRUE(tickSix(opener));
    EXPECT_EQ(asked(), 2);
    EXPECT_TRUE(tickSix(opener)) << "a later dialog of the same opener";
    EXPECT_EQ(asked(), 2) << "accepted once, not asked again";
    EXPECT_TRUE(tickSix(PropertiesContext{}));
    EXPECT_EQ(asked(), 3) << "another opener asks again";
}

TEST_F(PropertiesTest, CustomKeywordEditorRefillsThePickerAndKeepsTheListInItsFile) {
    AddPhoto(1, "a.jpg");
    PhotoRecord tagged;
    SetField(tagged.strXpKeyword, "海边;生日;");
    WriteKeywordRows(library(), 1, tagged);
    Open({1, false});
    dialog_->HoverCell(PropertyRow::Keywords, 1);
    CCheckComboBox* picker = dialog_->KeywordPicker();
    picker->ToggleItem(0);  // 精选, kept ticked through the editor
    // In the editor, once it is up: delete 海边 and confirm.
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [] {
        auto* editor = qobject_cast<CMyKeyWordEdit*>(QApplication::activeModalWidget());
        if (editor == nullptr || !editor->isVisible()) return;
        editor->List()->topLevelItem(0)->setSelected(true);
        editor->DeleteSelectedRows();
        editor->accept();
    });
    driver.start(5);
    picker->ToggleItem(picker->count() - 1);  // 自定义 posts kOpenKeywordEditor
    ASSERT_TRUE(WaitFor([this] { return dialog_->KeywordChoices() == QStringLiteral("生日;"); }));
    EXPECT_EQ(picker->count(), 8);
    EXPECT_TRUE(picker->Ticked(0));
    EXPECT_EQ(LoadCustomKeywords(CustomKeywordsPath()), QStringList{QStringLiteral("生日")});
}

}  // namespace
