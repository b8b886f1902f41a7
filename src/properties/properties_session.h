#pragma once
// What the opener of the properties dialog hands to it and reads back after
// it closed: the shown photo with its loaded record, the batch, a position
// to preset, and the context of its opener.
//
// UI thread only: the batch worker reads its photos' records itself and
// never touches a session.

#include <memory>
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

// What the dialogs remember from one to the next while the program runs.
struct PropertiesAnswers {
    // The question about ticking more than five keywords was answered 确定;
    // it is not asked again.
    bool manyKeywordsAccepted = false;
};

// What an opener hands every dialog it opens: the writer the photos are
// written with and the answers its dialogs share (copies share them).
struct PropertiesContext {
    PhotoWriter writer;
    std::shared_ptr<PropertiesAnswers> answers = std::make_shared<PropertiesAnswers>();
};

struct PropertiesSession {
    Library* library = nullptr;         // the catalogue the photos are in
    PhotoRef shownPhoto;                // the photo in record; follows a rename
    std::vector<PhotoRef> selection;    // the view's multi-selection; empty for one photo
    std::optional<PhotoRecord> record;  // the shown photo's row while the dialog runs
    PresetPositionState preset;         // cleared once it is written
    PropertiesContext context;          // the opener's; its writer is the dialog's and the batch's
    bool photosModified = false;        // a write was attempted: refresh the list
    bool tidyRequested = false;         // a photo turned out invalid: tidy the catalogue
};

// Loads the row of session.shownPhoto (the duplicate row for a duplicate) into
// session.record. False, and no record held, when the row cannot be read.
bool LoadSessionRecord(PropertiesSession& session);
