#pragma once
// What the opener of the properties dialog hands to it and reads back after
// it closed: the shown photo with its loaded record, the batch, a position
// to preset, and the writer the photos are written with.
//
// UI thread only: the batch worker reads its photos' records itself and
// never touches a session.

#include <optional>
#include <vector>

#include "import/photo_writer.h"
#include "record/photo_record.h"
#include "record/photo_ref.h"

// A position the pick-position workflow puts into the dialog as edited.
struct PresetPositionState {
    bool set = false;
    float latitude = 0;   // degrees
    float longitude = 0;  // degrees
};

struct PropertiesSession {
    PhotoRef shownPhoto;                // the photo in record; follows a rename
    std::vector<PhotoRef> selection;    // the view's multi-selection; empty for one photo
    std::optional<PhotoRecord> record;  // the shown photo's row while the dialog runs
    PresetPositionState preset;         // cleared once it is written
    PhotoWriter writer;                 // the dialog's and its batch's; the opener sets it
    bool photosModified = false;        // a write was attempted: refresh the list
    bool tidyRequested = false;         // a photo turned out invalid: tidy the catalogue
};

// Loads the row of session.shownPhoto (from tReJpgMsg for a duplicate) into
// session.record. False, and no record held, when the row cannot be read.
bool LoadSessionRecord(PropertiesSession& session);
