#pragma once
// A stop request a worker polls. A token made with a parent also reads as
// stopped when its parent is: a job's token whose parent is the program's
// exit token stops on the job's own cancel and on the program closing, and
// the worker polls that one token.
//
// Threads: any thread may request, clear or read; the parent must outlive
// the token.

#include <atomic>

class StopToken {
  public:
    StopToken() = default;
    explicit StopToken(const StopToken* parent) : parent_(parent) {}
    StopToken(const StopToken&) = delete;
    StopToken& operator=(const StopToken&) = delete;

    void RequestStop() { stopped_ = true; }
    // Clears this token's own request; a parent's request stays.
    void Clear() { stopped_ = false; }

    bool StopRequested() const { return stopped_ || ParentStopRequested(); }
    // The stop came from above (for a job: the program is closing), which
    // tells an abandoned job from a cancelled one.
    bool ParentStopRequested() const { return parent_ && parent_->StopRequested(); }

  private:
    std::atomic<bool> stopped_{false};
    const StopToken* parent_ = nullptr;
};
