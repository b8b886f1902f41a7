#pragma once
// The writing side of a folder or list import: the files are stored one at
// a time, in the order they are added (the walk order), with the duplicate
// rules of StorePhotoFile, while a PhotoReadPool reads the next ones ahead.
// Counting, the commit after every 100 imported photos and the stop are
// exactly those of storing the files one after another.
//
// Threads: one thread adds, stores and writes; the reads run on the pool.

#include <cstddef>
#include <string>

#include "import/add_photo_file.h"
#include "import/import_state.h"
#include "import/photo_read_pool.h"

class OrderedImport {
  public:
    // counter is the import's running count of imported files; photos with
    // a position take their region names through regions.
    OrderedImport(Library& library, int& counter, ImportProgress& progress,
                  const RegionRoute& regions,
                  int readWorkers = PhotoReadPool::DefaultWorkerCount());

    // Takes the next file of the walk when its name passes IsJpegName;
    // stores earlier files once enough are read ahead.
    void Add(const std::string& path);
    // Stores the files still pending, in order. A stop (progress.stop)
    // stores nothing further: the reads ahead are dropped uncounted, as
    // files the walk never reached.
    void Finish();
    // The import's stop (progress.stop) is requested.
    bool Stopped() const { return progress_.stop.StopRequested(); }

  private:
    // False once the import is stopped.
    bool StoreOldest();
    void Count(StoreOutcome outcome);

    Library& library_;
    int& counter_;
    ImportProgress& progress_;
    const RegionRoute regions_;
    PhotoReadPool pool_;
    const std::size_t readAhead_;
};
