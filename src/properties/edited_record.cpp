#include "properties/edited_record.h"

#include <memory>

#include "catalogue/photo_rows.h"

namespace {
std::unique_ptr<PhotoRecord> editedRecord;
PresetPositionState presetPosition;
}  // namespace

PhotoRecord* EditedRecord() {
    return editedRecord.get();
}

bool LoadEditedRecord(PhotoRef photo) {
    auto record = std::make_unique<PhotoRecord>();
    editedRecord.reset();
    if (!LoadPhotoRecord(photo.idPic, photo.fromDuplicates, *record)) return false;
    editedRecord = std::move(record);
    return true;
}

void FreeEditedRecord() {
    editedRecord.reset();
}

PresetPositionState& PresetPosition() {
    return presetPosition;
}
