#pragma once
// A stand-in photo writer that writes nothing (RecordWrite, handed to the
// dialog or the worker under test): it records each call and answers with
// what the test's responder says (by default: written, same id, the new
// name's path after a rename).
//
// Threads: any; calls are recorded under a lock.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "import/photo_edit.h"

struct StubEditCall {
    std::string path;
    PhotoEdit edit;
    PhotoRef catalogued;
};

// The stand-in itself, as installed by Reset.
PhotoEditResult RecordWrite(const std::string& path, const PhotoEdit& edit,
                            const PhotoRef& catalogued);

namespace PhotoEditStub {
// Clears the record and the responder.
void Reset();
std::vector<StubEditCall> Calls();
std::size_t CallCount();
// Runs on the calling thread (the batch worker for batch photos).
void SetResponder(std::function<PhotoEditResult(const StubEditCall&)> responder);
PhotoEditResult Written(const StubEditCall& call);
}  // namespace PhotoEditStub
