// The custom keyword editor's rows and the file that keeps the user's
// keywords between runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "properties/custom_keywords_file.h"
#include "properties/keyword_list_rows.h"
#include "properties/my_key_word_edit.h"

namespace {

const QString kAdd = KeywordListRows::Placeholder();

TEST(KeywordListRows, EditInsertAndDeleteFollowTheEditorRules) {
    KeywordListRows rows(QStringLiteral("海边;生日;"));
    EXPECT_EQ(rows.Rows(), (QStringList{"海边", "生日", kAdd}));

    rows.EndEdit(2, QStringLiteral("旅行"));
    EXPECT_EQ(rows.Rows(), (QStringList{"海边", "生日", "旅行", kAdd}));
    EXPECT_EQ(rows.ToList(), QStringLiteral("海边;生日;旅行;"));

    rows.EndEdit(1, QStringLiteral("海边"));
    EXPECT_EQ(rows.Rows(), (QStringList{"海边", "旅行", kAdd})) << "a repeat is removed";

    rows.EndEdit(0, kAdd);
    EXPECT_EQ(rows.Rows(), (QStringList{"旅行", kAdd})) << "renamed to the placeholder: deleted";

    const int inserted = rows.InsertPlaceholder(0);
    rows.EndEdit(inserted, kAdd);
    EXPECT_EQ(rows.Rows(), (QStringList{"旅行", kAdd})) << "an unchanged insert goes away";

    rows.EndEdit(1, QStringLiteral("Sea"));
    rows.EndEdit(2, QStringLiteral("sea"));
    EXPECT_EQ(rows.Rows(), (QStringList{"旅行", "Sea", kAdd})) << "letter case is ignored";

    rows.EndEdit(2, kAdd.toUpper());
    EXPECT_EQ(rows.Count(), 3) << "the placeholder edited to itself adds no row";

    rows.Delete({0, 1, 2});
    EXPECT_EQ(rows.Rows(), QStringList{kAdd}) << "the placeholder always stays";
    EXPECT_EQ(rows.ToList(), QString());
}

TEST(KeywordListRows, TheLastKeywordNeedsNoSemicolonAndEmptyPartsAreNoRows) {
    KeywordListRows rows(QStringLiteral(";a;;tail"));
    EXPECT_EQ(rows.Rows(), (QStringList{"a", "tail", kAdd}));
    EXPECT_EQ(rows.ToList(), QStringLiteral("a;tail;"));
}

TEST(CMyKeyWordEditDialog, HandsTheEditedListToItsOwnerOnOk) {
    QString handed = QStringLiteral("untouched");
    CMyKeyWordEdit editor(QStringLiteral("海边;生日;"),
                          [&](const QString& list) { handed = list; });
    ASSERT_EQ(editor.List()->topLevelItemCount(), 3);
    editor.List()->setCurrentItem(editor.List()->topLevelItem(0));
    editor.List()->topLevelItem(0)->setSelected(true);
    editor.DeleteSelectedRows();
    EXPECT_EQ(editor.List()->topLevelItemCount(), 2);
    editor.accept();
    EXPECT_EQ(handed, QStringLiteral("生日;"));
}

TEST(CMyKeyWordEditDialog, AClickOnThePlaceholderTypingAndEnterAddTheKeyword) {
    bool accepted = false;
    CMyKeyWordEdit editor(QStringLiteral("海边;"), [&](const QString&) { accepted = true; });
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    QTreeWidget* list = editor.List();
    const QRect placeholder = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, placeholder.center());
    QWidget* typing = QApplication::focusWidget();
    ASSERT_NE(typing, nullptr);
    QTest::keyClicks(typing, QStringLiteral("trip"));
    QTest::keyClick(typing, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_TRUE(editor.isVisible()) << "Enter ends the edit, not the dialog";
    EXPECT_FALSE(accepted);
    EXPECT_EQ(editor.Rows().Rows(), (QStringList{"海边", "trip", kAdd}));
}

TEST(CustomKeywordsFile, RoundTripsAndSurvivesBadContent) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("sub/keywords.txt"));
    EXPECT_TRUE(LoadCustomKeywords(path).isEmpty()) << "no file yet";

    ASSERT_TRUE(
        SaveCustomKeywords(path, {QStringLiteral("海边"), QString(), QStringLiteral("生日")}));
    EXPECT_EQ(LoadCustomKeywords(path), (QStringList{"海边", "生日"}));
    ASSERT_TRUE(SaveCustomKeywords(path, {}));
    EXPECT_TRUE(LoadCustomKeywords(path).isEmpty()) << "saving replaces the old list";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a;b\r\n\r\n  c  \nc\n\xff\xfe\n");
    file.close();
    const QStringList read = LoadCustomKeywords(path);
    EXPECT_EQ(read.mid(0, 3), (QStringList{"a", "b", "c"}))
        << "a line is a keyword list; blanks and repeats go";

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2 << 20, 'x'));
    file.close();
    EXPECT_TRUE(LoadCustomKeywords(path).isEmpty()) << "an oversized file is not read";

    EXPECT_FALSE(SaveCustomKeywords(QStringLiteral("/proc/no-such/keywords.txt"), {"a"}));
}

}  // namespace
