#pragma once
// A stand-in for WritePhotoEdit that writes nothing: it records each call
// and answers with what the test's responder says (by default: written,
// same id, the new name's path after a rename).
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
    std::int64_t catalogueId = 0;
    bool isDuplicate = false;
};

namespace PhotoEditStub {
void Reset();
std::vector<StubEditCall> Calls();
std::size_t CallCount();
// Runs on the calling thread (the batch worker for batch photos).
void SetResponder(std::function<PhotoEditResult(const StubEditCall&)> responder);
PhotoEditResult Written(const StubEditCall& call);
}  // namespace PhotoEditStub
