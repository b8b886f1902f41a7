#pragma once
// The photo properties window "照片属性（EXIF）": a two-column grid of the
// shown photo's properties (labels, values), edited in place by editors
// that follow the pointer, and 确定 / 取消 / 应用 that write the changed
// fields into the shown photo and then, on the batch worker, into every
// other photo of the view's multi-selection.
//
// UI thread only. One instance at a time, registered as the
// PropertiesDialog receiver (UiMessage::kOpenKeywordEditor opens the keyword editor; the
// batch worker posts kBatchApplyEnded). Opened through RunPropertiesDialog
// (properties_command.h), which loads the session's record first. Photos are
// written through the dialog's photo writer (the session's unless a test
// sets another), the batch's included.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "import/photo_writer.h"
#include "messaging/receiver_registry.h"
#include "properties/photo_changes.h"
#include "properties/properties_session.h"
#include "properties/property_commit_rules.h"
#include "properties/property_rows.h"
#include "record/photo_ref.h"

class CCheckComboBox;
class CSkinButton;
class CnumEdit;
class MyEdit;
class CDateTimeField;
class QTableWidget;
struct BatchJob;

class CDialog_Exif : public QDialog {
    Q_OBJECT

  public:
    // Shows a message box and returns 1 (确定) or 2 (取消).
    using MessageBox = std::function<int(QWidget* parent, const QString& title, const QString& text,
                                         bool twoButtons)>;

    explicit CDialog_Exif(PropertiesSession& session, QWidget* parent = nullptr);
    ~CDialog_Exif() override;

    void SetMessageBox(MessageBox box) { messageBox_ = std::move(box); }
    void SetPhotoWriter(PhotoWriter writer) { writer_ = std::move(writer); }

    QTableWidget* Grid() const { return grid_; }
    QString CellText(int row) const;
    PropertyValues Values() const;
    const ChangedFields& Changed() const { return changed_; }

    // --- In-place editing.
    // The pointer is over cell (row, column).
    void HoverCell(int row, int column);
    // A click on cell (row, column).
    void ClickCell(int row, int column);
    // Commits every holding editor with Apply's rules; false: stop the Apply.
    bool CommitAll();
    // The custom keyword editor confirmed list ("a;b;"): the picker is
    // rebuilt with the presets, list's keywords and 自定义.
    void RefillKeywordPicker(const QString& list);
    // The extra keywords offered beyond the presets, each followed by ";".
    const QString& KeywordChoices() const { return keywordChoices_; }

    CnumEdit* ValueEditor() const { return valueEditor_; }
    MyEdit* CommentEditor() const { return commentEditor_; }
    CCheckComboBox* KeywordPicker() const { return keywordPicker_; }
    CDateTimeField* ShotTimePicker() const { return shotTimePicker_; }

    // --- Apply and batch.
    enum class ApplyOutcome {
        Stopped,       // an editor's value was refused: nothing saved, keep editing
        Unchanged,     // no field changed
        Declined,      // the user kept a duplicate photo unchanged
        Saved,         // the shown photo was written
        Failed,        // the shown photo could not be written (reported)
        BatchStarted,  // the shown photo was handled; the others are being written
        Closed,        // the photo is invalid: the dialog closed
    };
    ApplyOutcome Apply();
    bool BatchInProgress() const { return batchRunning_; }
    // The 1 s progress timer: the title counts the photos written.
    void OnProgressTimer();

    CSkinButton* OkButton() const { return ok_; }
    CSkinButton* CancelButton() const { return cancel_; }
    CSkinButton* ApplyButton() const { return apply_; }

    void accept() override;  // 确定
    void reject() override;  // 取消: during a batch it only stops the batch

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct EditorState {
        bool visible = false;
        bool holding = false;  // its value is not committed yet
    };

    void BuildGrid();
    void FillGrid();
    void BuildButtons();
    void SetCellText(int row, const QString& text);
    void SetChanged(int row);

    // Editing (dialog_exif_editing.cpp).
    bool StillWorking() const;
    bool CommitHolding(CommitVariant variant);
    bool CommitValueText(CommitVariant variant);
    bool CommitName(QString typed, CommitVariant variant);
    bool CommitComment();
    bool CommitKeywords(CommitVariant variant);
    bool CommitShotTime();
    bool CommitNumber(CommitVariant variant);
    void ShowEditor(int row);
    void HideEditors();
    QRect CellRect(int row) const;
    void CreateKeywordPicker();
    void SetPickerItems(QStringList extras);
    bool AllowTick(int index);
    void OpenKeywordEditor();

    // Apply and batch (dialog_exif_apply.cpp).
    void InvalidPhoto();
    void StartBatch(const PhotoEdit& edit, std::vector<PhotoRef> photos, bool shownWritten);
    void BatchEnded();
    void EndTimer();

    PropertiesSession& session_;
    ReceiverRegistration registration_;
    MessageBox messageBox_;
    PhotoWriter writer_;

    QTableWidget* grid_ = nullptr;
    CSkinButton* ok_ = nullptr;
    CSkinButton* cancel_ = nullptr;
    CSkinButton* apply_ = nullptr;
    ChangedFields changed_;

    // ActiveEditor.
    CnumEdit* valueEditor_ = nullptr;
    MyEdit* commentEditor_ = nullptr;
    CCheckComboBox* keywordPicker_ = nullptr;
    CDateTimeField* shotTimePicker_ = nullptr;
    EditorState value_, comment_, keywords_, shotTime_;
    bool valueNumeric_ = false;
    int currentRow_ = -1;
    int currentColumn_ = -1;
    bool forced_ = false;

    QString keywordChoices_;     // KeywordChoices
    QString committedKeywords_;  // CommittedKeywords
    int customItem_ = -1;        // index of 自定义 in the picker

    std::shared_ptr<BatchJob> job_;
    std::thread worker_;
    bool batchRunning_ = false;
    int total_ = 0;
    QTimer progressTimer_;  // 1 s
    QTimer endTimer_;       // 100 ms once
};
