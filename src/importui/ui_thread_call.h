#pragma once
// Runs a function on a QObject's thread (the UI thread) from a worker and
// waits for its result, like a blocking queued call, except that the wait
// gives up when stop() becomes true. Shutdown sleeps on the UI thread
// without handling events, so a plain blocking call from a worker could
// wait for ever there.
//
// Threads: meant for workers; on the context object's own thread the
// function simply runs.

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>

template <typename T>
std::optional<T> CallOnUiThread(QObject* context, std::function<T()> call,
                                std::function<bool()> stop) {
    if (QThread::currentThread() == context->thread()) return call();
    auto promise = std::make_shared<std::promise<T>>();
    std::future<T> result = promise->get_future();
    QMetaObject::invokeMethod(
        context,
        [promise, call = std::move(call), stop] {
            // The worker may have given up already: do not ask the user then.
            promise->set_value(stop() ? T{} : call());
        },
        Qt::QueuedConnection);
    while (result.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (stop()) return std::nullopt;
    }
    return result.get();
}
