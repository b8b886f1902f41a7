// 应用 / 确定 / 取消: writing the shown photo, the batch over the
// multi-selection with its title counter, and how failures are reported.

#include "properties/batch_apply.h"
#include "properties_fixture.h"
#include "widgets/num_edit.h"
#include "widgets/skin_button.h"

namespace {

using namespace PropertyRow;

PhotoEditResult Failed(PhotoEditOutcome outcome, RewriteFailure why = RewriteFailure::None) {
    PhotoEditResult result;
    result.outcome = outcome;
    result.rewriteFailure = why;
    return result;
}

class BatchTest : public PropertiesTest {
  protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        AddPhoto(1, "a.jpg");
        AddPhoto(2, "b.jpg");
        AddPhoto(3, "c.jpg");
    }
    void OpenThree() { Open({1, false}, {{1, false}, {2, false}, {3, false}}); }
};

TEST_F(PropertiesTest, ApplyWritesOnlyTheChangedFieldsAndThenClearsThem) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    EditValue(Subject, QStringLiteral("新主题"), Author);
    EditValue(Altitude, QStringLiteral("50"), Make);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Saved);
    ASSERT_EQ(PhotoEditStub::CallCount(), 1u);
    const StubEditCall call = PhotoEditStub::Calls()[0];
    EXPECT_EQ(call.path, Folder() + "/a.jpg");
    EXPECT_EQ(call.catalogued.idPic, 1);
    EXPECT_EQ(call.edit.subject, "新主题");
    ASSERT_TRUE(call.edit.position);
    EXPECT_FLOAT_EQ(call.edit.position->longitude, 116.4f) << "the shown position goes along";
    EXPECT_EQ(call.edit.position->altitude, 50);
    EXPECT_FALSE(call.edit.keywords || call.edit.newName || call.edit.shotTime || call.edit.author);
    EXPECT_TRUE(session_.photosModified);

    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Unchanged);
    EXPECT_EQ(PhotoEditStub::CallCount(), 1u) << "a second Apply writes nothing";
}

TEST_F(PropertiesTest, AfterApplyTheGridShowsThePhotoAsWritten) {
    AddPhoto(1, "a.jpg");
    // The writer renames the file and the catalogue row follows it.
    PhotoEditStub::SetResponder([this](const StubEditCall& call) {
        PhotoRecord r;
        SetField(r.strName, *call.edit.newName);
        SetField(r.strPath, Folder());
        SetField(r.strFullPath, Folder() + "/" + *call.edit.newName);
        r.dwMTime = 1393808707;  // 2014-03-03 09:05:07 in Asia/Shanghai
        static const std::vector<std::uint8_t> thumb = {0xFF, 0xD8, 0x01, 0xFF, 0xD9};
        DeletePhotoRows(library(), std::nullopt, PhotoRef{1, false});
        InsertPhotoRow(library(), PhotoRef{1, false}, r, thumb, {});
        return PhotoEditStub::Written(call);
    });
    Open({1, false});
    EditValue(Name, QStringLiteral("renamed"), Author);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Saved);
    EXPECT_EQ(dialog_->CellText(Name), QStringLiteral("renamed.JPG"));
    EXPECT_EQ(dialog_->CellText(Modified), QStringLiteral("2014-03-03 09:05:07"));
    EXPECT_FALSE(dialog_->Changed().Any());
}

TEST_F(PropertiesTest, PresetPositionIsWrittenByOkWithoutOtherChanges) {
    AddPhoto(1, "a.jpg");
    Open({1, false}, {}, {true, 31.25f, 121.5f});
    EXPECT_EQ(dialog_->CellText(Longitude), QStringLiteral("121.5000"));
    EXPECT_EQ(dialog_->CellText(Latitude), QStringLiteral("31.2500"));
    dialog_->accept();
    EXPECT_FALSE(dialog_->isVisible());
    ASSERT_EQ(PhotoEditStub::CallCount(), 1u);
    const PhotoEdit edit = PhotoEditStub::Calls()[0].edit;
    ASSERT_TRUE(edit.position);
    EXPECT_FLOAT_EQ(edit.position->latitude, 31.25f);
}

TEST_F(PropertiesTest, FailedWritesAreReportedAndKeepTheEdits) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    PhotoEditStub::SetResponder([](const StubEditCall&) {
        return Failed(PhotoEditOutcome::RewriteFailed, RewriteFailure::WriteFailed);
    });
    EditValue(Subject, QStringLiteral("新主题"), Author);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Failed);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
              QStringLiteral("照片未能修改：文件无法写入（磁盘已满或没有写入权限）"));
    EXPECT_TRUE(dialog_->Changed().Test(EditField::Subject)) << "the edit can be applied again";

    PhotoEditStub::SetResponder(
        [](const StubEditCall&) { return Failed(PhotoEditOutcome::Unreadable); });
    dialog_->accept();
    EXPECT_EQ(messages_.back().text, QStringLiteral("此照片已失效，请先整理数据库."));
    EXPECT_TRUE(session_.tidyRequested);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

TEST_F(PropertiesTest, ADuplicateIsWrittenOnlyWhenTheUserAgrees) {
    AddPhoto(4, "d.jpg", true);
    Open({4, true});
    EditValue(Subject, QStringLiteral("新主题"), Author);
    answer_ = 2;
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Declined);
    EXPECT_EQ(messages_.back().title, QStringLiteral("提示:此照片存在于*重复照片列表*"));
    EXPECT_EQ(PhotoEditStub::CallCount(), 0u);
    answer_ = 1;
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::Saved);
    ASSERT_EQ(PhotoEditStub::CallCount(), 1u);
    EXPECT_TRUE(PhotoEditStub::Calls()[0].catalogued.fromDuplicates);
}

TEST_F(PropertiesTest, ARefusedValueKeepsTheDialogOpenOnOk) {
    AddPhoto(1, "a.jpg");
    Open({1, false});
    dialog_->HoverCell(Longitude, 1);
    dialog_->ValueEditor()->setText(QStringLiteral("200"));
    dialog_->accept();
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(PhotoEditStub::CallCount(), 0u);
}

TEST_F(BatchTest, ThreePhotosCountInTheTitleAndTheNameStaysWithTheShownPhoto) {
    OpenThree();
    PhotoEditStub::SetResponder([this](const StubEditCall& call) {
        return call.catalogued.idPic == 3 ? gate_.Pass(call) : PhotoEditStub::Written(call);
    });
    EditValue(Subject, QStringLiteral("新主题"), Author);
    EditValue(Name, QStringLiteral("renamed"), Author);
    EXPECT_EQ(dialog_->Apply(), CDialog_Exif::ApplyOutcome::BatchStarted);
    EXPECT_TRUE(dialog_->BatchInProgress());
    EXPECT_FALSE(dialog_->OkButton()->isEnabled());
    EXPECT_FALSE(dialog_->ApplyButton()->isEnabled());

    ASSERT_TRUE(WaitFor([] { return PhotoEditStub::CallCount() == 3; }));
    dialog_->OnProgressTimer();
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF） 已修改2/3."));

    gate_.Open();
    ASSERT_TRUE(WaitFor([this] { return !dialog_->BatchInProgress(); }));
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF） 已修改3/3."));
    EXPECT_FALSE(dialog_->Changed().Any());
    ASSERT_TRUE(WaitFor([this] { return !dialog_->isVisible(); })) << "closes by itself";

    const std::vector<StubEditCall> calls = PhotoEditStub::Calls();
    EXPECT_EQ(calls[0].edit.newName, "renamed.JPG");
    for (std::size_t i = 1; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].catalogued.idPic, static_cast<std::int64_t>(i + 1));
        EXPECT_FALSE(calls[i].edit.newName) << "only the shown photo is renamed";
        EXPECT_EQ(calls[i].edit.subject, "新主题");
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(BatchTest, CancelFinishesThePhotoInHandAndWritesNoMore) {
    OpenThree();
    PhotoEditStub::SetResponder([this](const StubEditCall& call) {
        return call.catalogued.idPic == 2 ? gate_.Pass(call) : PhotoEditStub::Written(call);
    });
    EditValue(Subject, QStringLiteral("新主题"), Author);
    dialog_->Apply();
    ASSERT_TRUE(WaitFor([] { return PhotoEditStub::CallCount() == 2; }));
    dialog_->reject();
    EXPECT_TRUE(dialog_->isVisible()) << "Cancel stops the batch first";
    gate_.Open();
    ASSERT_TRUE(WaitFor([this] { return !dialog_->isVisible(); }));
    EXPECT_EQ(PhotoEditStub::CallCount(), 2u);
}

TEST_F(BatchTest, PhotosThatFailAreSummedUpAtTheEnd) {
    OpenThree();
    PhotoEditStub::SetResponder([](const StubEditCall& call) {
        if (call.catalogued.idPic == 2)
            return Failed(PhotoEditOutcome::RewriteFailed, RewriteFailure::SegmentTooLarge);
        if (call.catalogued.idPic == 3) return Failed(PhotoEditOutcome::RefreshFailed);
        return PhotoEditStub::Written(call);
    });
    EditValue(Subject, QStringLiteral("新主题"), Author);
    dialog_->Apply();
    ASSERT_TRUE(WaitFor([this] { return !dialog_->BatchInProgress(); }));
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF） 已修改1/3."));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("有2张照片未能修改："
                                                "\r\nb.jpg：EXIF数据超过64KB，无法写入"
                                                "\r\nc.jpg：照片已写入，但无法重新读入数据库"
                                                "\r\n请先整理数据库。"));
    EXPECT_TRUE(session_.tidyRequested);
}

TEST_F(BatchTest, PhotosWhoseXmpOrIptcCouldNotBeParsedAreNamedOnceWritten) {
    OpenThree();
    // The shown photo (1) and photo 3 have packets that cannot be parsed.
    PhotoEditStub::SetResponder([](const StubEditCall& call) {
        PhotoEditResult result = PhotoEditStub::Written(call);
        result.captionsInExifOnly = call.catalogued.idPic != 2;
        return result;
    });
    EditValue(Subject, QStringLiteral("西湖"), Author);
    dialog_->Apply();
    ASSERT_TRUE(WaitFor([this] { return !dialog_->BatchInProgress(); }));
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF） 已修改3/3."))
        << "written all the same";
    ASSERT_EQ(messages_.size(), 2u);
    const QString notice = QStringLiteral(
        "的XMP或IPTC信息无法解析，已原样保留；关键词、标题、备注和作者只写入了Windows XP标签，"
        "其他程序仍显示原来的内容：");
    EXPECT_EQ(messages_[0].text,
              QStringLiteral("有1张照片") + notice + QStringLiteral("\r\na.jpg"));
    EXPECT_EQ(messages_[1].text,
              QStringLiteral("有1张照片") + notice + QStringLiteral("\r\nc.jpg"));
}

TEST(BatchPhotos, SkipTheShownPhotoRepeatsAndInvalidIds) {
    const std::vector<PhotoRef> selection = {{2, false},  {1, false}, {2, false},
                                             {-1, false}, {2, true},  {3, false}};
    EXPECT_EQ(BatchPhotos(selection, {1, false}),
              (std::vector<PhotoRef>{{2, false}, {2, true}, {3, false}}));
}

TEST(RunBatchApply, TheStartersStopWritesNoPhoto) {
    BatchJob job;
    job.photos = {{1, false}, {2, false}};
    int written = 0;
    job.writer = [&written](const std::string&, const PhotoEdit&, const PhotoRef&) {
        ++written;
        return PhotoEditResult{};
    };
    StopToken exit;  // the program closing
    const StopToken stop{&exit};
    exit.RequestStop();
    RunBatchApply(job, stop);
    EXPECT_EQ(written, 0);
    EXPECT_FALSE(job.proceed) << "the batch reads as ended";
}

}  // namespace

namespace {

TEST_F(PropertiesTest, AThousandPhotoBatchCountsAndStopsOnCancel) {
    constexpr int kPhotos = 1000;
    BeginTransaction(library());
    std::vector<PhotoRef> selection;
    for (int id = 1; id <= kPhotos; ++id) {
        AddPhoto(id, "p" + std::to_string(id) + ".jpg");
        selection.push_back({id, false});
    }
    CommitTransaction(library());
    Open({1, false}, selection);
    // Photos past the 100th wait until the test lets them through.
    PhotoEditStub::SetResponder([this](const StubEditCall& call) {
        return call.catalogued.idPic > 100 ? gate_.Pass(call) : PhotoEditStub::Written(call);
    });
    EditValue(PropertyRow::Subject, QStringLiteral("新主题"), PropertyRow::Author);
    dialog_->Apply();
    ASSERT_TRUE(WaitFor([] { return PhotoEditStub::CallCount() == 101; }));
    dialog_->OnProgressTimer();
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF） 已修改100/1000."));
    dialog_->reject();
    gate_.Open();
    ASSERT_TRUE(WaitFor([this] { return !dialog_->isVisible(); }));
    EXPECT_EQ(PhotoEditStub::CallCount(), 101u) << "the photo in hand is the last one";
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("照片属性（EXIF） 已修改101/1000."));
}

}  // namespace
