#pragma once
// A fresh data folder and catalogue per test (FreshCatalogue), photo rows to show, the
// write stand-in reset, and a dialog whose message boxes are recorded
// instead of shown.

#include <gtest/gtest.h>

#include <QTest>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>

#include "catalogue/keyword_rows.h"
#include "catalogue/photo_rows.h"
#include "fresh_catalogue.h"
#include "photo_edit_stub.h"
#include "properties/dialog_exif.h"
#include "properties/properties_session.h"
#include "widgets/num_edit.h"

struct ShownMessage {
    QString title;
    QString text;
};

// Holds the calls of the write stand-in that it is told to hold, until
// Open(); the batch tests look at the dialog while a photo is in hand.
class WriteGate {
  public:
    PhotoEditResult Pass(const StubEditCall& call) {
        std::unique_lock lock(mutex_);
        open_.wait(lock, [this] { return isOpen_; });
        return PhotoEditStub::Written(call);
    }
    void Open() {
        std::lock_guard lock(mutex_);
        isOpen_ = true;
        open_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable open_;
    bool isOpen_ = false;
};

class PropertiesTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    void SetUp() override {
        std::filesystem::create_directories(Folder());
        PhotoEditStub::Reset();
    }
    void TearDown() override {
        gate_.Open();
        dialog_.reset();
        PhotoEditStub::Reset();
    }

    std::string Folder() const { return fresh_.Root() + "/photos"; }
    // No companion: photos written with a position wait in the library's queue.
    RegionRoute Regions() { return {nullptr, fresh_.library().PendingRegions()}; }

    // A catalogued photo <name> in the test's photo folder, with its keyword rows.
    void AddPhoto(std::int64_t id, const std::string& name, bool duplicate = false,
                  const std::string& keywords = {}) {
        PhotoRecord r;
        SetField(r.strXpKeyword, keywords);
        SetField(r.strName, name);
        SetField(r.strPath, Folder());
        SetField(r.strFullPath, Folder() + "/" + name);
        SetField(r.strXpSubject, "旧主题");
        r.fGPSLongitude = 116.4f;
        r.fGPSLatitude = 39.9f;
        r.dwDateTime = 1393808707;  // 2014-03-03 09:05:07 in Asia/Shanghai
        static const std::vector<std::uint8_t> thumb = {0xFF, 0xD8, 0x01, 0xFF, 0xD9};
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{id, duplicate}, r, thumb, {}),
                  InsertResult::Done);
        if (!duplicate) WriteKeywordRows(library(), id, r);
    }

    // Opens the dialog on shown (shown, not run modally) in context (an
    // opener's own by default), writing through the stand-in.
    void Open(PhotoRef shown, std::vector<PhotoRef> selection = {}, PresetPositionState preset = {},
              PropertiesContext context = {}) {
        dialog_.reset();
        session_ = PropertiesSession{};
        session_.library = &library();
        session_.context = std::move(context);
        session_.shownPhoto = shown;
        session_.selection = std::move(selection);
        session_.preset = preset;
        ASSERT_TRUE(LoadSessionRecord(session_));
        dialog_ = std::make_unique<CDialog_Exif>(session_);
        dialog_->SetPhotoWriter(RecordWrite);
        dialog_->SetMessageBox([this](QWidget*, const QString& title, const QString& text, bool) {
            messages_.push_back({title, text});
            return answer_;
        });
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    }

    // Types text into the value editor over (row, 1) and clicks next.
    void EditValue(int row, const QString& text, int next) {
        dialog_->HoverCell(row, 1);
        ASSERT_NE(dialog_->ValueEditor(), nullptr);
        dialog_->ValueEditor()->setText(text);
        dialog_->ClickCell(next, 1);
    }

    static bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 1000 && !done(); ++i) QTest::qWait(5);
        return done();
    }

    FreshCatalogue fresh_;
    PropertiesSession session_;
    std::unique_ptr<CDialog_Exif> dialog_;
    std::vector<ShownMessage> messages_;
    int answer_ = 1;
    WriteGate gate_;
};
