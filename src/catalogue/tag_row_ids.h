#pragma once
// tKeyWord and tSubject have no index on idPic (the file's schema is kept
// as it is), so a delete of one photo's rows would scan both tables: at
// 100,000 photos that is most of an import's time per photo. The working
// connection keeps, in its temporary database, the ids that may have such
// rows: filled from both tables on first use, with every later insert
// added by a trigger. Ids are never taken out, so an id it lacks certainly
// has no row and the deletes are skipped. Nothing of it reaches the
// catalogue file. Internal to this folder.

#include <cstdint>

class CatalogueSession;

// Deletes the photo's keyword and subject rows, when it may have any.
void DeleteTagRows(const CatalogueSession& session, std::int64_t id);
