// Every form a keyword text takes in the files ("海;山" as Explorer writes
// it, "海;山;" as this program does, one keyword without ";", blanks and
// empty parts) reads as its full list in the properties dialog, its keyword
// picker, the batch writer and the search; and looking at a list without
// changing it writes nothing.

#include <QTableWidget>
#include <algorithm>

#include "catalogue/found_photos.h"
#include "import/photo_writer.h"
#include "metadata/metadata_reader.h"
#include "properties_fixture.h"
#include "record/keyword_list.h"
#include "search/dialog_find.h"
#include "test_jpeg_writer.h"
#include "widgets/check_combo_box.h"

namespace {

using namespace PropertyRow;
using Keywords_t = std::vector<std::string>;

struct ListForm {
    const char* stored;
    Keywords_t keywords;
};

void PrintTo(const ListForm& form, std::ostream* out) {
    *out << '"' << form.stored << '"';
}

const ListForm kForms[] = {
    {"海;山", {"海", "山"}},
    {"海;山;", {"海", "山"}},
    {"tag", {"tag"}},
    {"", {}},
    {";", {}},
    {"海;;山", {"海", "山"}},
    {" 海 ; 山 ", {"海", "山"}},
    {"New York;海;海", {"New York", "海"}},
};

Keywords_t Sorted(Keywords_t keywords) {
    std::sort(keywords.begin(), keywords.end());
    return keywords;
}

Keywords_t TickedItems(const CCheckComboBox& picker) {
    Keywords_t ticked;
    for (int i = 0; i < picker.count(); ++i)
        if (picker.Ticked(i)) ticked.push_back(picker.itemText(i).toStdString());
    return Sorted(ticked);
}

PhotoRecord StoredRecord(const std::string& path) {
    MetadataReader reader;
    EXPECT_TRUE(ReadPhotoFile(reader, path, false)) << path;
    return reader.Record();
}

class KeywordListForms : public PropertiesTest, public ::testing::WithParamInterface<ListForm> {};

TEST_P(KeywordListForms, ReadAsTheFullListInDialogPickerBatchAndSearch) {
    const ListForm& form = GetParam();
    const Keywords_t expected = Sorted(form.keywords);
    EXPECT_EQ(Sorted(SplitKeywords(form.stored)), expected);

    // Dialog and picker: the photo's keywords are all ticked; looking at them
    // and pressing 应用 writes nothing; ticking one more keeps them all.
    AddPhoto(1, "a.jpg", false, form.stored);
    Open({1, false});
    EXPECT_EQ(dialog_->CellText(Keywords), QString::fromUtf8(form.stored));
    dialog_->HoverCell(Keywords, 1);
    CCheckComboBox* picker = dialog_->KeywordPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(TickedItems(*picker), expected);
    dialog_->HoverCell(Author, 1);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Unchanged);
    EXPECT_EQ(PhotoEditStub::CallCount(), 0u);

    dialog_->HoverCell(Keywords, 1);
    const int friends = picker->findText(QStringLiteral("朋友"));
    picker->ToggleItem(friends);
    dialog_->HoverCell(Author, 1);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Saved);
    ASSERT_EQ(PhotoEditStub::CallCount(), 1u);
    Keywords_t withFriends = form.keywords;
    withFriends.push_back("朋友");
    EXPECT_EQ(Sorted(SplitKeywords(PhotoEditStub::Calls()[0].edit.keywords.value_or(""))),
              Sorted(withFriends));

    // Batch: a photo already holding the dialog's keywords keeps its own text.
    TestJpegOptions options;
    options.xpKeywords = QString::fromUtf8(form.stored).toStdU16String();
    const std::string other = Folder() + "/other.jpg";
    ASSERT_TRUE(WriteTestJpeg(other, options));
    const std::string before = StoredRecord(other).strXpKeyword;
    PhotoEdit same;
    same.keywords = JoinKeywords(form.keywords);
    ASSERT_TRUE(WritePhotoEdit(library(), other, same, PhotoRef{}, Regions()).Succeeded());
    const PhotoRecord after = StoredRecord(other);
    EXPECT_EQ(after.strXpKeyword, before);
    // The keyword grouping puts a photo without keywords with those without.
    EXPECT_EQ(after.nbKeyword, form.keywords.empty() ? 0 : 1);

    // Search: the panel offers exactly these keywords, and each finds the photo.
    CDialogFind panel(library());
    panel.RefillKeywords();
    Keywords_t offered;
    for (int i = 0; i < panel.KeywordPicker()->count(); ++i)
        offered.push_back(panel.KeywordPicker()->itemText(i).toStdString());
    EXPECT_EQ(Sorted(offered), expected);
    for (const std::string& keyword : form.keywords) {
        SearchFilter filter;
        SetField(filter.keywordA, keyword);
        const auto found = ReadFoundPhotos(library(), filter);
        ASSERT_TRUE(found);
        ASSERT_EQ(found->size(), 1u) << keyword;
        EXPECT_EQ(found->front().idPic, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(StoredForms, KeywordListForms, ::testing::ValuesIn(kForms));

TEST_F(PropertiesTest, LookingAtTheKeywordsAndApplyingLeavesThePhotoFileByteIdentical) {
    TestJpegOptions options;
    options.xpKeywords = u"海;山";
    const std::string path = Folder() + "/a.jpg";
    ASSERT_TRUE(WriteTestJpeg(path, options));
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    AddPhoto(1, "a.jpg", false, "海;山");
    Open({1, false});
    dialog_->SetPhotoWriter(RoutedPhotoWriter(library(), Regions()));
    dialog_->HoverCell(Keywords, 1);
    dialog_->HoverCell(Author, 1);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Unchanged);
    dialog_->HoverCell(Keywords, 1);
    dialog_->ClickCell(Subject, 1);
    dialog_->accept();
    EXPECT_EQ(ReadBytesFile(path), before);
}

TEST_F(PropertiesTest, AKeywordListLongerThanTheCatalogueHoldsIsShownOfferedAndWrittenWhole) {
    std::string whole;
    for (int i = 0; i < 20; ++i) whole += "keyword" + std::to_string(1000 + i) + ";";
    TestJpegOptions options;
    options.xpKeywords = QString::fromStdString(whole).toStdU16String();
    const std::string path = Folder() + "/a.jpg";
    ASSERT_TRUE(WriteTestJpeg(path, options));
    MetadataReader reader;
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    AddPhoto(1, "a.jpg", false, reader.Record().strXpKeyword);  // as an import catalogues it

    Open({1, false});
    EXPECT_EQ(dialog_->CellText(Keywords).toStdString(), whole);
    dialog_->HoverCell(Keywords, 1);
    CCheckComboBox* picker = dialog_->KeywordPicker();
    EXPECT_EQ(TickedItems(*picker), Sorted(SplitKeywords(whole)));
    dialog_->HoverCell(Author, 1);
    EXPECT_TRUE(dialog_->ValueEditor() && dialog_->ValueEditor()->isVisible())
        << "an unchanged long list does not hold the picker open";
    for (int i = 6; i < picker->count() - 1; ++i)
        EXPECT_NE(whole.find(picker->itemText(i).toStdString() + ";"), std::string::npos)
            << "offered cut: " << picker->itemText(i).toStdString();

    dialog_->HoverCell(Keywords, 1);
    picker->ToggleItem(picker->findText(QStringLiteral("朋友")));
    dialog_->HoverCell(Author, 1);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Saved);
    ASSERT_EQ(PhotoEditStub::CallCount(), 1u);
    EXPECT_EQ(SplitKeywords(PhotoEditStub::Calls()[0].edit.keywords.value_or("")).size(), 21u);
}

}  // namespace
