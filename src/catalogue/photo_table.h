#pragma once
// The two photo tables hold the same columns: tJpgMsg the catalogued photos,
// tReJpgMsg at most one duplicate per photo id. A statement on one photo's
// row is written once for each table; PerPhotoTable picks the one of the
// table a PhotoRef names. Internal to this folder.

#include "record/photo_ref.h"

class CatalogueSession;

struct PerPhotoTable {
    const char* photos;      // on tJpgMsg
    const char* duplicates;  // on tReJpgMsg

    const char* For(const PhotoRef& photo) const {
        return photo.fromDuplicates ? duplicates : photos;
    }
};

// Deletes the photo's row from its table, bound by id (its keyword and
// subject rows stay). SQLITE_OK or the SQLite error.
int DeletePhotoRow(const CatalogueSession& session, const PhotoRef& photo);
