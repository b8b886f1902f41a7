#include "catalogue/photo_table.h"

#include "catalogue/cached_statement.h"

namespace {

constexpr PerPhotoTable kDeleteById{"delete from tJpgMsg where idPic = ?",
                                    "delete from tReJpgMsg where idPic = ?"};

}  // namespace

int DeletePhotoRow(const CatalogueSession& session, const PhotoRef& photo) {
    CachedStatement statement(session, kDeleteById.For(photo));
    const int rc = statement.Bind(photo.idPic).Step();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}
