#pragma once
// One all-or-nothing group of catalogue changes: a savepoint held together
// with the catalogue lock, so that no other thread's statements fall into
// it. Changes are kept by Commit(); without it they are rolled back when the
// object goes out of scope. Savepoints nest inside an open transaction.
//
// Thread contract: the creating thread holds the catalogue lock until the
// object is gone; keep the scope short (no waiting on other threads inside).

#include "catalogue/photo_catalogue.h"

class CatalogueSavepoint {
  public:
    explicit CatalogueSavepoint(Library& library);
    ~CatalogueSavepoint();
    CatalogueSavepoint(const CatalogueSavepoint&) = delete;
    CatalogueSavepoint& operator=(const CatalogueSavepoint&) = delete;

    // False when the catalogue cannot be opened or the savepoint not set.
    bool ok() const { return active_; }
    // Keeps the changes; false (changes rolled back) when that fails.
    bool Commit();

  private:
    CatalogueSession session_;
    bool active_ = false;
    bool outermost_ = false;  // no transaction was open: the savepoint is one
};
