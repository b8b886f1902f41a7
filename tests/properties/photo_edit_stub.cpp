#include "photo_edit_stub.h"

#include <mutex>

namespace {
std::mutex mutex;
std::vector<StubEditCall> calls;
std::function<PhotoEditResult(const StubEditCall&)> responder;
}  // namespace

namespace PhotoEditStub {

void Reset() {
    std::lock_guard lock(mutex);
    calls.clear();
    responder = nullptr;
}

std::vector<StubEditCall> Calls() {
    std::lock_guard lock(mutex);
    return calls;
}

std::size_t CallCount() {
    std::lock_guard lock(mutex);
    return calls.size();
}

void SetResponder(std::function<PhotoEditResult(const StubEditCall&)> answer) {
    std::lock_guard lock(mutex);
    responder = std::move(answer);
}

PhotoEditResult Written(const StubEditCall& call) {
    PhotoEditResult result;
    result.outcome = PhotoEditOutcome::Written;
    result.photoId = call.catalogued.idPic;
    result.finalPath = call.path;
    if (call.edit.newName) {
        const std::size_t slash = call.path.rfind('/');
        result.finalPath = call.path.substr(0, slash + 1) + *call.edit.newName;
    }
    return result;
}

}  // namespace PhotoEditStub

PhotoEditResult RecordWrite(const std::string& path, const PhotoEdit& edit,
                            const PhotoRef& catalogued) {
    StubEditCall call{path, edit, catalogued};
    std::function<PhotoEditResult(const StubEditCall&)> answer;
    {
        std::lock_guard lock(mutex);
        calls.push_back(call);
        answer = responder;
    }
    return answer ? answer(call) : PhotoEditStub::Written(call);
}
