#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <clocale>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "database_file.h"
#include "dialogs/dialog_num.h"
#include "import/import_state.h"
#include "import/photo_edit.h"
#include "importui/default_import_folder.h"
#include "importui/dlg_new_pic.h"
#include "importui/import_controller.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "platform/data_folder.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

// Records the application-defined messages a window receives.
class MessageRecorder : public QWidget {
  public:
    std::vector<int> received;
    bool event(QEvent* event) override {
        if (event->type() >= QEvent::User) {
            received.push_back(static_cast<int>(event->type()));
            return true;
        }
        return QWidget::event(event);
    }
    bool Got(int number) const {
        return std::find(received.begin(), received.end(), number) != received.end();
    }
};

struct ShownMessage {
    QString title;
    QString text;
    bool twoButtons;
};

// Processes events until done() holds; gives up after a generous guard so a
// fault fails the test instead of hanging it.
void ProcessEventsUntil(const std::function<bool()>& done) {
    const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < guard) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

class ImportControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDataFolder(data_.Path());
        ExitToken.Clear();
        controller_ = std::make_unique<ImportController>(library_);
        controller_->SetMessageBox(
            [this](QWidget*, const QString& title, const QString& text, bool twoButtons) {
                messages_.push_back({title, text, twoButtons});
                return answer_;
            });
        controller_->SetCompanionCheck([this](QWidget*) {
            ++companionChecks_;
            return true;
        });
        // Drives the modal progress dialog: onDialog_ sees it every few ms.
        driver_.setInterval(5);
        QObject::connect(&driver_, &QTimer::timeout, [this] {
            if (CDlg_NewPic* dialog = controller_->ProgressDialog(); dialog && onDialog_)
                onDialog_(*dialog);
        });
        driver_.start();
    }
    void TearDown() override {
        driver_.stop();
        controller_.reset();
    }

    std::string WritePhoto(const std::string& relativePath, std::uint32_t seed,
                           bool withPosition = false) {
        const std::string path = photos_.File(relativePath);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        TestJpegOptions options;
        options.seed = seed;
        options.embedThumbnail = true;
        options.thumbnailWidth = 16;
        options.thumbnailHeight = 12;
        options.make = "Canon";
        options.model = "EOS 5D";
        options.dateTimeOriginal = "2019:07:01 08:00:00";
        if (withPosition) {
            options.latitudeRef = "N";
            options.latitude = TestDms{{{22, 1}, {32, 1}, {0, 1}}};
            options.longitudeRef = "E";
            options.longitude = TestDms{{{114, 1}, {3, 1}, {0, 1}}};
        }
        EXPECT_TRUE(WriteTestJpeg(path, options));
        return path;
    }

    QString Folder(const std::string& relativePath) {
        const std::string path = photos_.File(relativePath);
        std::filesystem::create_directories(path);
        return QString::fromStdString(path);
    }

    void WaitForTheWorker() {
        ProcessEventsUntil([this] { return !controller_->ImportRunning(); });
        ASSERT_FALSE(controller_->ImportRunning());
        // The worker may have posted its last messages after the loop's
        // last look at the queue.
        QCoreApplication::processEvents();
    }

    std::size_t PendingRegions() { return library_.PendingRegions().Size(); }

    TempFolder data_;
    Library library_;
    TempFolder photos_;
    MessageRecorder pane_;
    ReceiverRegistration paneRegistration_{ReceiverRole::CategoryPane, &pane_};
    MessageRecorder view_;
    ReceiverRegistration viewRegistration_{ReceiverRole::MainView, &view_};
    std::unique_ptr<ImportController> controller_;
    std::vector<ShownMessage> messages_;
    int answer_ = 1;
    int companionChecks_ = 0;
    QTimer driver_;
    std::function<void(CDlg_NewPic&)> onDialog_;
};

TEST_F(ImportControllerTest, AFolderImportCountsImportsAndRebuildsTheTrees) {
    WritePhoto("album/1.jpg", 1);
    WritePhoto("album/sub/2.JPG", 2);
    WritePhoto("album/3.jpeg", 3);
    const QString album = Folder("album");
    QString importedLine;
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (!dialog.OkButton()->isEnabled()) return;
        importedLine = dialog.ImportedLine()->text();
        dialog.OkButton()->click();
    };
    controller_->ImportFolder(album, &pane_);
    EXPECT_EQ(importedLine, QStringLiteral("已导入照片：3/3张"));
    EXPECT_EQ(controller_->LastImportFolder(), album);
    ASSERT_NE(controller_->FoundPhotosCounter(), nullptr);
    EXPECT_EQ(controller_->FoundPhotosCounter()->parent(), &pane_);

    WaitForTheWorker();
    EXPECT_FALSE(controller_->FoundPhotosCounter()->isVisible());
    const std::vector<int> closing{UiMessage::kDropTrees, UiMessage::kRebuildCurrentTree};
    EXPECT_EQ(pane_.received, closing);
    EXPECT_TRUE(std::filesystem::exists(CatalogueFilePath()));
    EXPECT_TRUE(messages_.empty());
}

// Photos without EXIF are read ahead on several threads while the import
// stores them; the dialog's last counts still add up to every file found.
TEST_F(ImportControllerTest, AFolderOfPhotosWithoutExifEndsWithCountsForEveryFile) {
    Folder("plain/copies");
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        TestJpegOptions options;
        options.withExif = false;
        options.width = seed % 4 == 0 ? 800 : 64;
        options.height = seed % 4 == 0 ? 600 : 48;
        options.seed = seed;
        ASSERT_TRUE(WriteTestJpeg(photos_.File("plain/" + std::to_string(seed) + ".jpg"), options));
    }
    std::filesystem::copy_file(photos_.File("plain/4.jpg"), photos_.File("plain/copies/4.jpg"));
    WriteBytesFile(photos_.File("plain/damaged.jpg"), {0xFF, 0xD8, 0xFF});
    std::vector<QString> lines;
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (!dialog.OkButton()->isEnabled()) return;
        lines = {dialog.ImportedLine()->text(), dialog.DuplicateLine()->text(),
                 dialog.NotImportedLine()->text(), dialog.DoneLine()->text()};
        dialog.OkButton()->click();
    };
    controller_->ImportFolder(Folder("plain"), &pane_);
    WaitForTheWorker();
    const std::vector<QString> expected{
        QStringLiteral("已导入照片：12/14张"), QStringLiteral("重复照片：1张"),
        QStringLiteral("未导入：1张（无法读取1张）"), QStringLiteral("已完成：100%")};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 12);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tReJpgMsg"), 1);
}

TEST_F(ImportControllerTest, AFolderWithoutPhotosShowsZeroOfZeroAndNeverEnablesOk) {
    Folder("empty");
    std::filesystem::create_directories(photos_.File("empty/notes"));
    WriteBytesFile(photos_.File("empty/notes/readme.txt"), {'h', 'i'});
    QString importedLine, doneLine;
    bool okEnabled = true;
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (dialog.DoneLine()->text() != QStringLiteral("已完成：0%")) return;
        importedLine = dialog.ImportedLine()->text();
        doneLine = dialog.DoneLine()->text();
        okEnabled = dialog.OkButton()->isEnabled();
        dialog.CancelButton()->click();
    };
    controller_->ImportFolder(Folder("empty"), &pane_);
    WaitForTheWorker();
    EXPECT_EQ(importedLine, QStringLiteral("已导入照片：0/0张"));
    EXPECT_EQ(doneLine, QStringLiteral("已完成：0%"));
    EXPECT_FALSE(okEnabled);
    // Nothing was imported, so no closing steps ran.
    EXPECT_TRUE(pane_.received.empty());
}

TEST_F(ImportControllerTest, CancellingTheProgressDialogStillRunsTheClosingSteps) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed)
        WritePhoto("many/" + std::to_string(seed) + ".jpg", seed);
    onDialog_ = [&](CDlg_NewPic& dialog) {
        // Once the count has ended the import worker has started.
        if (dialog.Refreshing() || dialog.OkButton()->isEnabled()) dialog.CancelButton()->click();
    };
    controller_->ImportFolder(Folder("many"), &pane_);
    EXPECT_TRUE(controller_->Progress().stop.StopRequested());
    WaitForTheWorker();
    EXPECT_TRUE(pane_.Got(UiMessage::kDropTrees));
    EXPECT_TRUE(pane_.Got(UiMessage::kRebuildCurrentTree));
    EXPECT_TRUE(std::filesystem::exists(CatalogueFilePath()));
}

TEST_F(ImportControllerTest, ADropWhileTheListIsQueuedIsRefusedAndAnEmptyListImportFreesIt) {
    const QString empty = Folder("nothing-here");
    EXPECT_TRUE(controller_->AcceptDroppedPaths({empty, "/nowhere/a.png"}, &pane_));
    EXPECT_EQ(controller_->ImportPathList(), QStringList{empty});

    const std::string photo = WritePhoto("later/a.JPG", 7);
    EXPECT_FALSE(controller_->AcceptDroppedPaths({QString::fromStdString(photo)}, &pane_));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages_[0].text, QStringLiteral("还有照片正在导入，请稍后再试！"));
    EXPECT_FALSE(messages_[0].twoButtons);
    EXPECT_EQ(controller_->ImportPathList(), QStringList{empty});

    // The queued import counts nothing, empties its list and leaves the dialog
    // with its first texts; the user closes it.
    QString doneLine;
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (!controller_->ImportPathList().isEmpty()) return;
        doneLine = dialog.DoneLine()->text();
        dialog.CancelButton()->click();
    };
    WaitForTheWorker();
    ProcessEventsUntil([this] { return controller_->ProgressDialog() == nullptr; });
    EXPECT_EQ(doneLine, QStringLiteral("已完成："));
    EXPECT_TRUE(pane_.received.empty());

    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (dialog.OkButton()->isEnabled()) dialog.OkButton()->click();
    };
    EXPECT_TRUE(controller_->AcceptDroppedPaths({QString::fromStdString(photo)}, &pane_));
    WaitForTheWorker();
    ProcessEventsUntil([this] { return controller_->ProgressDialog() == nullptr; });
    EXPECT_EQ(controller_->Progress().imported.load(), 1);
    EXPECT_TRUE(pane_.Got(UiMessage::kDropTrees));
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(ImportControllerTest, ChosenFilesLeaveOutFoldersAndStartNothingWithoutAJpeg) {
    EXPECT_FALSE(controller_->AcceptFilePaths({Folder("only-a-folder"), "/x/a.png"}, &pane_));
    EXPECT_TRUE(controller_->ImportPathList().isEmpty());
    EXPECT_FALSE(controller_->ImportRunning());
}

TEST_F(ImportControllerTest, ConfirmingTheClosingQuestionStartsTheRegionLookup) {
    const std::string located = WritePhoto("gps/a.jpg", 11, true);
    const std::string plain = WritePhoto("gps/b.jpg", 12);
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (dialog.OkButton()->isEnabled()) dialog.OkButton()->click();
    };
    answer_ = 1;
    EXPECT_TRUE(controller_->AcceptFilePaths(
        {QString::fromStdString(located), QString::fromStdString(plain)}, &pane_));
    WaitForTheWorker();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages_[0].text, QStringLiteral("共成功导入2张昭片，其中有1张含有位置信息。\r\n"
                                                "是否需要打开Darazoz地图在后台进行位置分析？"));
    EXPECT_TRUE(messages_[0].twoButtons);
    EXPECT_EQ(companionChecks_, 1);
    ProcessEventsUntil([this] { return view_.Got(UiMessage::kStartRegionLookup); });
    EXPECT_TRUE(view_.Got(UiMessage::kStartRegionLookup));
    EXPECT_EQ(PendingRegions(), 1u);
}

TEST_F(ImportControllerTest, DecliningTheClosingQuestionEmptiesTheQueue) {
    const std::string located = WritePhoto("gps/a.jpg", 21, true);
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (dialog.OkButton()->isEnabled()) dialog.OkButton()->click();
    };
    answer_ = 2;
    EXPECT_TRUE(controller_->AcceptFilePaths({QString::fromStdString(located)}, &pane_));
    WaitForTheWorker();
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(companionChecks_, 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view_.Got(UiMessage::kStartRegionLookup));
    EXPECT_EQ(PendingRegions(), 0u);
}

// Notes every showing of the found-photos counter or the progress dialog
// while the other one was on the screen.
class OverlapWatch : public QObject {
  public:
    explicit OverlapWatch(const ImportController& controller) : controller_(controller) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    int overlaps = 0;
    int countersShown = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        const CDialog_Num* counter = controller_.FoundPhotosCounter();
        const CDlg_NewPic* progress = controller_.ProgressDialog();
        if (watched == counter && counter != nullptr) {
            ++countersShown;
            if (progress != nullptr && progress->isVisible()) ++overlaps;
        }
        if (watched == progress && progress != nullptr && counter != nullptr &&
            counter->isVisible())
            ++overlaps;
        return false;
    }

  private:
    const ImportController& controller_;
};

TEST_F(ImportControllerTest, TheCounterAndTheProgressDialogNeverShareTheScreen) {
    WritePhoto("album/1.jpg", 1);
    WritePhoto("album/2.jpg", 2);
    OverlapWatch watch(*controller_);
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (dialog.OkButton()->isEnabled()) dialog.OkButton()->click();
    };
    controller_->ImportFolder(Folder("album"), &pane_);
    WaitForTheWorker();
    EXPECT_EQ(watch.countersShown, 1);
    EXPECT_EQ(watch.overlaps, 0);
    EXPECT_EQ(controller_->Progress().imported.load(), 2);
}

TEST_F(ImportControllerTest, TheClosingQuestionComesAfterTheSaveAndTheProgressDialogsEnd) {
    WritePhoto("gps/a.jpg", 31, true);
    WritePhoto("gps/b.jpg", 32);
    int rowsOnDisk = -1;
    bool progressShown = true;
    controller_->SetMessageBox([&](QWidget*, const QString& title, const QString& text, bool two) {
        rowsOnDisk = CountRowsInFile(CatalogueFilePath(), "tJpgMsg");
        progressShown = controller_->ProgressDialog() != nullptr;
        messages_.push_back({title, text, two});
        return 2;
    });
    // Left open until the question came, as a user who waits would.
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (!messages_.empty()) dialog.OkButton()->click();
    };
    controller_->ImportFolder(Folder("gps"), &pane_);
    WaitForTheWorker();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(rowsOnDisk, 2);
    EXPECT_FALSE(progressShown);
}

// The progress dialog last shown.
class ShownProgressDialog : public QObject {
  public:
    ShownProgressDialog() { QCoreApplication::instance()->installEventFilter(this); }
    QPointer<CDlg_NewPic> dialog;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* shown = qobject_cast<CDlg_NewPic*>(watched)) dialog = shown;
        return false;
    }
};

// The dialog reads the counts only now and then; an import that ends
// between two reads still shows its last counts before the closing question
// closes the dialog, for the folder and for the list import alike.
TEST_F(ImportControllerTest, TheLastCountsAreShownBeforeTheClosingQuestion) {
    WritePhoto("folder/a.jpg", 41, true);
    WritePhoto("folder/b.jpg", 42);
    const QStringList files{QString::fromStdString(WritePhoto("list/a.jpg", 43, true)),
                            QString::fromStdString(WritePhoto("list/b.jpg", 44))};
    const std::vector<std::function<void()>> imports{
        [&] { controller_->ImportFolder(Folder("folder"), &pane_); },
        [&] { controller_->AcceptFilePaths(files, &pane_); }};
    for (std::size_t i = 0; i < imports.size(); ++i) {
        ShownProgressDialog shown;
        QString lastCount;
        bool okEnabled = false;
        controller_->SetMessageBox([&](QWidget*, const QString&, const QString&, bool) {
            if (shown.dialog) {
                lastCount = shown.dialog->ImportedLine()->text();
                okEnabled = shown.dialog->OkButton()->isEnabled();
            }
            return 2;
        });
        imports[i]();
        WaitForTheWorker();
        EXPECT_EQ(lastCount, QStringLiteral("已导入照片：2/2张")) << "import " << i;
        EXPECT_TRUE(okEnabled) << "import " << i;
    }
}

TEST_F(ImportControllerTest, FilesFromOutsideWaitForTheOpenImportAndAreThenImported) {
    const QString first = QString::fromStdString(WritePhoto("a.jpg", 41));
    const QString later = QString::fromStdString(WritePhoto("b.jpg", 42));
    bool handed = false;
    onDialog_ = [&](CDlg_NewPic& dialog) {
        if (!handed) {
            // Another start of the program hands a file over mid-import.
            handed = true;
            controller_->ImportWhenFree({later}, &pane_);
            EXPECT_EQ(controller_->ImportPathList(), QStringList{first});
        }
        if (dialog.OkButton()->isEnabled()) dialog.OkButton()->click();
    };
    EXPECT_TRUE(controller_->AcceptFilePaths({first}, &pane_));
    ProcessEventsUntil([] { return CountRowsInFile(CatalogueFilePath(), "tJpgMsg") == 2; });
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 2);
    EXPECT_TRUE(messages_.empty()) << "nothing was refused";
    WaitForTheWorker();
}

TEST(DefaultImportFolder, IsThePicturesFolderWhenItExistsElseHome) {
    TempFolder home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(home.Path()));
    EXPECT_EQ(QDir(DefaultImportFolder()), QDir(QString::fromStdString(home.Path())));
    std::filesystem::create_directories(home.File("Pictures"));
    EXPECT_EQ(QDir(DefaultImportFolder()), QDir(QString::fromStdString(home.File("Pictures"))));
    qputenv("HOME", savedHome);
}

// The photos' columns that do not depend on where and when the files were
// written, one text per photo in name order (SQLite prints its numbers the
// same way under every locale).
std::vector<std::string> StoredRows(Library& library) {
    std::vector<std::string> rows;
    CatalogueSession session(library);
    ForEachRow(session,
               "select strName||'|'||fSize||'|'||dwDateTime||'|'||fGPSLatitude||'|'||"
               "fGPSLongitude||'|'||nGPSAlititude||'|'||strMake||'|'||strModel||'|'||nWidth||'|'||"
               "nHeight||'|'||nFocalLength||'|'||fExposureTime||'|'||fApertureFNumber||'|'||"
               "nISOequivalent||'|'||nFocalplaneXRes||'|'||strOrientation||'|'||strXpKeyword||'|'||"
               "hex(bJpgThumbData) from tJpgMsg order by strName",
               [&rows](const CatalogueRow& row) { rows.push_back(row.Text(0)); });
    return rows;
}

// The process in a German locale, as the window puts itself for a German
// user: C library (printf, strtod, libexif's texts and translations) and Qt.
class GermanLocale {
  public:
    GermanLocale() : oldC_(std::setlocale(LC_ALL, nullptr)), oldQt_(QLocale()) {
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (active_) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~GermanLocale() {
        std::setlocale(LC_ALL, oldC_.c_str());
        QLocale::setDefault(oldQt_);
    }
    bool Active() const { return active_; }

  private:
    std::string oldC_;
    QLocale oldQt_;
    bool active_ = false;
};

TEST_F(ImportControllerTest, ImportsAndEditsStoreTheSameRowsUnderADecimalCommaLocale) {
    {
        GermanLocale probe;
        if (!probe.Active())
            GTEST_SKIP() << "de_DE.UTF-8 is not generated (tools/setup.sh makes it)";
    }
    const auto importAndEdit = [this](const std::string& album) -> std::vector<std::string> {
        for (std::uint16_t orientation = 1; orientation <= 8; ++orientation) {
            TestJpegOptions options;
            options.seed = orientation;
            options.embedThumbnail = true;
            options.thumbnailWidth = 16;
            options.thumbnailHeight = 12;
            options.make = "OLYMPUS    ";
            options.model = "E-1      ";
            options.orientation = orientation;
            options.dateTimeOriginal = "2019:07:01 08:00:00";
            options.fNumber = TestRational{28, 10};
            options.exposureTime = TestRational{1, 125};
            options.focalLength = TestRational{499, 10};
            options.latitudeRef = "S";
            options.latitude = TestDms{{{39, 1}, {54, 1}, {125, 10}}};
            options.longitudeRef = "E";
            options.longitude = TestDms{{{116, 1}, {23, 1}, {1234, 100}}};
            options.altitude = TestRational{1235, 10};
            const std::string name = std::to_string(orientation) + ".jpg";
            std::filesystem::create_directories(photos_.File(album));
            EXPECT_TRUE(WriteTestJpeg(photos_.File(album + "/" + name), options));
        }
        onDialog_ = [](CDlg_NewPic& dialog) {
            if (dialog.OkButton()->isEnabled()) dialog.OkButton()->click();
        };
        controller_->ImportFolder(QString::fromStdString(photos_.File(album)), &pane_);
        WaitForTheWorker();
        std::vector<std::string> rows = StoredRows(library_);

        PhotoEdit edit;
        edit.keywords = "海;山";
        edit.position = GpsPosition{39.9042f, 116.4074f, 44};
        const std::string edited = photos_.File(album + "/6.jpg");
        std::int64_t id = 0;
        {
            CatalogueSession session(library_);
            id = std::stoll(QueryText(session, "select idPic from tJpgMsg where strName='6.jpg'")
                                .value_or("0"));
        }
        EXPECT_TRUE(
            WritePhotoEdit(library_, edited, edit, PhotoRef{id, false}, controller_->Regions())
                .Succeeded());
        const std::vector<std::string> afterEdit = StoredRows(library_);
        rows.insert(rows.end(), afterEdit.begin(), afterEdit.end());
        return rows;
    };

    const std::vector<std::string> inC = importAndEdit("c");
    ASSERT_EQ(inC.size(), 16u);
    // Under C too: the padding of the camera names is gone, the mirrored
    // orientation keeps its English name, the edit's position is stored.
    EXPECT_NE(inC[1].find("|OLYMPUS|E-1|"), std::string::npos) << inC[1];
    EXPECT_NE(inC[1].find("|Top-right|"), std::string::npos) << inC[1];
    EXPECT_NE(inC[13].find("|39.9042"), std::string::npos) << inC[13];

    TempFolder germanData;
    SetDataFolder(germanData.Path());
    CloseCatalogue(library_);
    std::vector<std::string> inGerman;
    {
        GermanLocale german;
        inGerman = importAndEdit("de");
    }
    EXPECT_EQ(inGerman, inC);
}

}  // namespace
