#include "properties/properties_session.h"

#include "catalogue/photo_rows.h"

bool LoadSessionRecord(PropertiesSession& session) {
    session.record.emplace();
    if (LoadPhotoRecord(*session.library, session.shownPhoto, *session.record)) return true;
    session.record.reset();
    return false;
}
