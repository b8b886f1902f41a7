#pragma once
// The record the properties dialog shows (EditedRecord) and the position
// an opener may preset into it (PresetPosition). The opener fills both
// before running the dialog; the dialog reloads the record after a write.
//
// UI thread only: the batch worker reads its photos' records itself and
// never touches these holders.

#include "record/photo_record.h"
#include "tree/photo_ref.h"

// The loaded record, or null when none is loaded.
PhotoRecord* EditedRecord();

// Frees the previous record and loads photo's row (from tReJpgMsg for a
// duplicate). False, and no record held, when the row cannot be read.
bool LoadEditedRecord(PhotoRef photo);
void FreeEditedRecord();

struct PresetPositionState {
    bool set = false;
    float latitude = 0;   // degrees
    float longitude = 0;  // degrees
};

// The pick-position workflow sets it; every other opener clears it.
PresetPositionState& PresetPosition();
