// 查看照片属性 from the main view: the dialog opens on the current photo,
// the view's multi-selection becomes the batch, and a write refreshes the
// list (which rebuilds the trees).

#include <QApplication>
#include <QSignalSpy>
#include <QTimer>

#include "properties/properties_command.h"
#include "properties_fixture.h"
#include "view/verero_view.h"

namespace {

class PropertiesCommandTest : public PropertiesTest {
  protected:
    void SetUp() override {
        PropertiesTest::SetUp();
        for (int id = 1; id <= 3; ++id) AddPhoto(id, "p" + std::to_string(id) + ".jpg");
        view_.ResetPhotoList(3);
        for (int id = 1; id <= 3; ++id) view_.Photos().Append({id, false});
        view_.Photos().currentIndex = 1;
    }
    // Runs the command; while its dialog is open, drive() acts on it.
    void Run(std::function<void(CDialog_Exif&)> drive) {
        QTimer::singleShot(0, [drive] {
            auto* dialog = qobject_cast<CDialog_Exif*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->SetMessageBox([](QWidget*, const QString&, const QString&, bool) { return 1; });
            dialog->SetPhotoWriter(RecordWrite);
            drive(*dialog);
        });
        RunPropertiesCommand(view_, {RecordWrite}, [this] { ++tidies_; });
    }

    CVereroView view_{library()};
    int tidies_ = 0;
};

TEST_F(PropertiesCommandTest, OpensOnTheCurrentPhotoAndRefreshesAfterAWrite) {
    QSignalSpy refresh(&view_, &CVereroView::refreshRequested);
    Run([](CDialog_Exif& dialog) {
        EXPECT_EQ(dialog.CellText(PropertyRow::Name), QStringLiteral("p2.jpg"));
        dialog.HoverCell(PropertyRow::Subject, 1);
        dialog.ValueEditor()->setText(QStringLiteral("新主题"));
        dialog.accept();
    });
    ASSERT_EQ(PhotoEditStub::CallCount(), 1u);
    EXPECT_EQ(PhotoEditStub::Calls()[0].catalogued.idPic, 2);
    EXPECT_EQ(refresh.count(), 1) << "the pane rebuilds its trees and reselects";
    EXPECT_EQ(tidies_, 0);
}

TEST_F(PropertiesCommandTest, TheMultiSelectionBecomesTheBatch) {
    for (int id : {1, 2, 3}) view_.Selection().list.Append({id, false});
    Run([](CDialog_Exif& dialog) {
        dialog.HoverCell(PropertyRow::Make, 1);
        dialog.ValueEditor()->setText(QStringLiteral("Canon"));
        dialog.accept();
        EXPECT_TRUE(dialog.BatchInProgress()) << "OK waits for the batch";
    });
    const std::vector<StubEditCall> calls = PhotoEditStub::Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].catalogued.idPic, 2) << "the shown photo first";
    EXPECT_EQ(calls[1].catalogued.idPic, 1);
    EXPECT_EQ(calls[2].edit.make, "Canon");
}

TEST_F(PropertiesCommandTest, AnInvalidPhotoRunsTheTidyOnce) {
    PhotoEditStub::SetResponder([](const StubEditCall&) {
        PhotoEditResult result;
        result.outcome = PhotoEditOutcome::Unreadable;
        return result;
    });
    Run([](CDialog_Exif& dialog) {
        dialog.HoverCell(PropertyRow::Model, 1);
        dialog.ValueEditor()->setText(QStringLiteral("X"));
        dialog.accept();
    });
    EXPECT_EQ(tidies_, 1);
}

}  // namespace
