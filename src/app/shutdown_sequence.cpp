#include "app/shutdown_sequence.h"

#include <chrono>
#include <thread>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "messaging/worker_registry.h"

bool RunShutdownSequence(Library* library, const std::function<void()>& pause) {
    // Every worker polls the flag, the ones not waited for too: they must not
    // start new work against a catalogue that is about to be closed.
    if (WorkerRegistry::AnyRunning()) ExitToken.RequestStop();

    const bool save = library != nullptr && library->Modified();
    if (save) SaveCatalogue(*library);

    while (WorkerRegistry::AnyWaitedForRunning()) pause();
    return save;
}

void ShutdownPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}
