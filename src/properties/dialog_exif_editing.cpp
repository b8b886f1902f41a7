// CDialog_Exif: the in-place editors, the hover procedure and the commit
// rules.

#include <QFileInfo>
#include <QTableWidget>

#include "catalogue/keyword_rows.h"
#include "dialogs/dlg_msg.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "properties/custom_keywords_file.h"
#include "properties/dialog_exif.h"
#include "properties/my_key_word_edit.h"
#include "widgets/check_combo_box.h"
#include "widgets/date_time_field.h"
#include "widgets/my_edit.h"
#include "widgets/num_edit.h"

namespace {

using namespace PropertyRow;

const QString kNotice = QStringLiteral("提示");
const QString kCustomItem = QStringLiteral("自定义");
constexpr int kCommentExtraHeight = 80;
constexpr int kKeywordQuestionAbove = 5;

const QStringList& PresetKeywords() {
    static const QStringList presets = {QStringLiteral("精选"), QStringLiteral("冲印"),
                                        QStringLiteral("家人"), QStringLiteral("朋友"),
                                        QStringLiteral("工作"), QStringLiteral("旅游")};
    return presets;
}

bool IsTextRow(int row) {
    return row == Name || row == Subject || row == Author || row == Make || row == Model;
}

bool IsNumberRow(int row) {
    return row == Longitude || row == Latitude || row == Altitude;
}

EditField FieldOfRow(int row) {
    for (std::size_t f = 0; f < static_cast<std::size_t>(EditField::Count); ++f) {
        if (FieldRow(static_cast<EditField>(f)) == row) return static_cast<EditField>(f);
    }
    return EditField::Count;
}

NumberRowKind NumberKind(int row) {
    return row == Longitude  ? NumberRowKind::Longitude
           : row == Latitude ? NumberRowKind::Latitude
                             : NumberRowKind::Altitude;
}

QDateTime ShotTimeValue(const QString& text) {
    const std::optional<ShotTimeFields> f = ParseShotTimeText(text);
    if (!f) return {};
    return QDateTime(QDate(f->year, f->month, f->day), QTime(f->hour, f->minute, f->second));
}

}  // namespace

void CDialog_Exif::SetChanged(int row) {
    const EditField field = FieldOfRow(row);
    if (field != EditField::Count) changed_.Set(field);
}

QRect CDialog_Exif::CellRect(int row) const {
    return grid_->visualRect(grid_->model()->index(row, 1));
}

// --- Hover procedure.

bool CDialog_Exif::StillWorking() const {
    if (value_.visible) {
        const QString text = valueEditor_->text();
        const int length = currentRow_ == Name ? FileNameStemLength(text) : text.size();
        if (length != 0 && valueEditor_->selectedText().size() < length) return true;
    }
    if (comment_.visible) {
        const int length = commentEditor_->toPlainText().size();
        if (length != 0 && commentEditor_->textCursor().selectedText().size() < length) return true;
    }
    if (shotTime_.visible && shotTimePicker_->text() != CellText(ShotTime)) return true;
    if (keywords_.visible &&
        !KeywordSetEquals(NormaliseKeywordText(keywordPicker_->DisplayText()), committedKeywords_))
        return true;
    return false;
}

void CDialog_Exif::HoverCell(int row, int column) {
    if (!forced_ && StillWorking()) return;
    forced_ = false;
    if (!CommitHolding(CommitVariant::Hover)) return;
    currentRow_ = row;
    currentColumn_ = column;
    HideEditors();
    if (column == 1) ShowEditor(row);
}

void CDialog_Exif::ClickCell(int row, int column) {
    const bool anyVisible =
        value_.visible || comment_.visible || keywords_.visible || shotTime_.visible;
    if (anyVisible && row != currentRow_) {
        forced_ = true;
        HoverCell(row, column);
    }
    grid_->clearSelection();
}

void CDialog_Exif::HideEditors() {
    for (QWidget* editor :
         {static_cast<QWidget*>(valueEditor_), static_cast<QWidget*>(commentEditor_),
          static_cast<QWidget*>(keywordPicker_), static_cast<QWidget*>(shotTimePicker_)}) {
        if (editor != nullptr) editor->hide();
    }
    value_ = comment_ = keywords_ = shotTime_ = EditorState{};
}

void CDialog_Exif::ShowEditor(int row) {
    const QRect cell = CellRect(row);
    const QString text = CellText(row);
    if (IsTextRow(row) || IsNumberRow(row)) {
        if (valueEditor_ == nullptr) valueEditor_ = new CnumEdit(grid_->viewport());
        valueNumeric_ = IsNumberRow(row);
        valueEditor_->SetNumericMode(valueNumeric_);
        valueEditor_->setGeometry(cell);
        valueEditor_->setText(text);
        valueEditor_->show();
        valueEditor_->setFocus();
        if (row == Name)
            valueEditor_->setSelection(0, FileNameStemLength(text));
        else
            valueEditor_->selectAll();
        value_ = {true, true};
    } else if (row == Comment) {
        if (commentEditor_ == nullptr) {
            commentEditor_ = new MyEdit(grid_->viewport());
            commentEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
        commentEditor_->setGeometry(cell.adjusted(0, 0, 0, kCommentExtraHeight));
        commentEditor_->setPlainText(text);
        commentEditor_->selectAll();
        commentEditor_->show();
        commentEditor_->setFocus();
        comment_ = {true, true};
    } else if (row == Keywords) {
        if (keywordPicker_ == nullptr) CreateKeywordPicker();
        keywordPicker_->setGeometry(cell);
        keywordPicker_->show();
        keywords_ = {true, true};
    } else if (row == ShotTime) {
        if (shotTimePicker_ == nullptr) {
            shotTimePicker_ =
                new CDateTimeField(CDateTimeField::Parts::DateAndTime, grid_->viewport());
        }
        shotTimePicker_->setGeometry(cell);
        shotTimePicker_->setDateTime(ShotTimeValue(text));
        shotTimePicker_->show();
        shotTimePicker_->setFocus();
        shotTimePicker_->selectAll();
        shotTime_ = {true, true};
    }
}

// --- Commit rules.

bool CDialog_Exif::CommitAll() {
    return CommitHolding(CommitVariant::Apply);
}

bool CDialog_Exif::CommitHolding(CommitVariant variant) {
    if (value_.holding && !valueNumeric_ && !CommitValueText(variant)) return false;
    if (comment_.holding && !CommitComment()) return false;
    if (keywords_.holding && !CommitKeywords(variant)) return false;
    if (shotTime_.holding && !CommitShotTime()) return false;
    if (value_.holding && valueNumeric_ && !CommitNumber(variant)) return false;
    return true;
}

bool CDialog_Exif::CommitValueText(CommitVariant variant) {
    const int row = currentRow_;
    QString typed = valueEditor_->text();
    if (typed == CellText(row)) {
        value_.holding = false;
        return true;
    }
    if (row == Name) return CommitName(typed, variant);
    // Too long: the editor stays open holding the text.
    if (variant == CommitVariant::Hover && typed.size() > kMaxFieldTextLength) return false;
    if (row == Author) typed = NormaliseAuthor(typed);
    SetCellText(row, typed);
    SetChanged(row);
    value_.holding = false;
    return true;
}

bool CDialog_Exif::CommitName(QString typed, CommitVariant variant) {
    if (variant == CommitVariant::Apply) {
        if (typed.isEmpty()) return false;
        typed = NormaliseFileNameOnApply(typed);
    } else {
        const std::optional<PhotoRecord>& record = session_.record;
        const QString folder = record ? QString::fromUtf8(record->strPath) : QString();
        const QString current = record ? QString::fromUtf8(record->strName) : QString();
        auto occupied = [&](const QString& name) {
            const QFileInfo file(folder + QLatin1Char('/') + name);
            return !folder.isEmpty() && name != current && file.isFile() && file.size() > 0;
        };
        // The name as typed and the name it becomes are both tested, so a
        // clash shows here instead of failing the write later.
        if (occupied(typed) || occupied(NormaliseFileNameOnHover(typed))) {
            messageBox_(this, kNotice, QStringLiteral("已包含同名文件，请重新命名。"), false);
            return false;
        }
        if (typed.size() > kMaxFileNameLength) return false;
        if (typed.isEmpty()) {
            value_.holding = false;
            return true;
        }
        typed = NormaliseFileNameOnHover(typed);
    }
    if (!IsUsableFileName(typed)) {
        messageBox_(this, kNotice, QStringLiteral("文件名无效，请重新命名。"), false);
        return false;
    }
    SetCellText(Name, typed);
    changed_.Set(EditField::Name);
    value_.holding = false;
    return true;
}

bool CDialog_Exif::CommitComment() {
    const QString typed = commentEditor_->toPlainText();
    if (typed != CellText(Comment)) {
        SetCellText(Comment, typed);
        changed_.Set(EditField::Comment);
    }
    comment_.holding = false;
    return true;
}

bool CDialog_Exif::CommitKeywords(CommitVariant variant) {
    const QString text = keywordPicker_->DisplayText();
    const QString list = NormaliseKeywordText(text);
    if (!KeywordSetEquals(list, committedKeywords_)) {
        // A changed list too long: the picker stays open, holding its ticks.
        if (variant == CommitVariant::Hover && text.size() > kMaxFieldTextLength) return false;
        SetCellText(Keywords, list);
        committedKeywords_ = list;
        changed_.Set(EditField::Keywords);
    }
    keywords_.holding = false;
    return true;
}

bool CDialog_Exif::CommitShotTime() {
    const QString typed = shotTimePicker_->text();
    if (typed == CellText(ShotTime)) {
        shotTime_.holding = false;
        return true;
    }
    // Said when the cell is left, with the form and the range, rather than
    // on 应用.
    const QDateTime value = shotTimePicker_->dateTime();
    const QString cellText = value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!value.isValid() || !ShotTimeSeconds(cellText)) {
        messageBox_(this, kNotice, ShotTimeRefusal(typed), false);
        shotTimePicker_->hide();
        shotTime_ = EditorState{};
        return false;
    }
    SetCellText(ShotTime, cellText);
    changed_.Set(EditField::ShotTime);
    shotTime_.holding = false;
    return true;
}

bool CDialog_Exif::CommitNumber(CommitVariant variant) {
    const int row = currentRow_;
    const QString typed = valueEditor_->text();
    if (typed == CellText(row)) {
        value_.holding = false;
        return true;
    }
    const NumberCommit commit = ::CommitNumber(NumberKind(row), typed, variant);
    if (!commit.accepted) {
        messageBox_(this, kNotice, commit.message, false);
        valueEditor_->hide();
        value_ = EditorState{};
        return false;
    }
    SetCellText(row, commit.cellText);
    SetChanged(row);
    value_.holding = false;
    return true;
}

// --- Keyword picker.

void CDialog_Exif::CreateKeywordPicker() {
    keywordPicker_ = new CCheckComboBox(grid_->viewport());
    keywordPicker_->setFocusPolicy(Qt::NoFocus);
    keywordPicker_->SetSpecialItemHandler([this](int index) {
        if (index != customItem_) return false;
        ReceiverRegistry::Post(ReceiverRole::PropertiesDialog, UiMessage::kOpenKeywordEditor);
        return true;
    });
    keywordPicker_->SetTickLimitCheck([this](int index) { return AllowTick(index); });

    QStringList extras;
    auto offer = [&extras](const QString& keyword) {
        if (!keyword.isEmpty() && !PresetKeywords().contains(keyword) && !extras.contains(keyword))
            extras.append(keyword);
    };
    for (const std::string& keyword : DistinctKeywords(*session_.library))
        offer(QString::fromStdString(keyword));
    for (const QString& keyword : LoadCustomKeywords(CustomKeywordsPath())) offer(keyword);
    SetPickerItems(extras);
}

void CDialog_Exif::SetPickerItems(QStringList extras) {
    committedKeywords_ = CellText(Keywords);
    const QStringList ticked = KeywordItems(committedKeywords_);
    // The shown photo's own keywords are always offered, so that ticking
    // another keyword never drops one the photo holds.
    for (const QString& keyword : ticked)
        if (!PresetKeywords().contains(keyword) && !extras.contains(keyword))
            extras.append(keyword);
    keywordPicker_->clear();
    for (const QString& preset : PresetKeywords()) keywordPicker_->AddItem(preset);
    keywordPicker_->AddItem(kCustomItem);
    keywordChoices_.clear();
    for (const QString& keyword : extras) {
        keywordPicker_->InsertItem(keywordPicker_->count() - 1, keyword);
        keywordChoices_ += keyword + QLatin1Char(';');
    }
    customItem_ = keywordPicker_->count() - 1;
    for (int i = 0; i < customItem_; ++i)
        keywordPicker_->SetTicked(i, ticked.contains(keywordPicker_->itemText(i)));
}

void CDialog_Exif::RefillKeywordPicker(const QString& list) {
    if (keywordPicker_ == nullptr) CreateKeywordPicker();
    QStringList extras;
    for (const QString& keyword : KeywordItems(list))
        if (!keyword.isEmpty() && !PresetKeywords().contains(keyword)) extras.append(keyword);
    SetPickerItems(extras);
}

bool CDialog_Exif::AllowTick(int) {
    int ticked = 0;
    for (int i = 0; i < keywordPicker_->count(); ++i) ticked += keywordPicker_->Ticked(i) ? 1 : 0;
    // Asked once per run: the opener's context outlives the dialog.
    bool& accepted = session_.context.answers->manyKeywordsAccepted;
    if (ticked < kKeywordQuestionAbove || accepted) return true;
    if (messageBox_(this, kNotice, QStringLiteral("关键词已超过5个，是否继续增加？"), true) !=
        kDlgMsgOk)
        return false;
    accepted = true;
    return true;
}

void CDialog_Exif::OpenKeywordEditor() {
    if (keywordPicker_ == nullptr) return;
    const QStringList ticked = KeywordItems(NormaliseKeywordText(keywordPicker_->DisplayText()));
    CMyKeyWordEdit editor(
        keywordChoices_,
        [this](const QString& list) {
            RefillKeywordPicker(list);
            SaveCustomKeywords(CustomKeywordsPath(), KeywordItems(keywordChoices_));
        },
        this);
    editor.exec();
    for (int i = 0; i < customItem_; ++i)
        if (ticked.contains(keywordPicker_->itemText(i))) keywordPicker_->SetTicked(i, true);
}
