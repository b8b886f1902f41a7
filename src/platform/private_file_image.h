#pragma once
// A private, writable image of a file in memory, with room to grow after it.
// Its pages start as the system's cached pages of the file, so mapping a
// large file costs almost nothing; a background pass then moves the image
// onto memory of its own, a slice at a time, after which it no longer
// depends on the file at all. Writes to the image never reach the file.
//
// The pass starts a moment after mapping, so that the first reads (a
// program's first screen) do not compete with it. While it runs, a read
// lease on the file holds off anyone who opens the file for writing or
// truncates it (they wait until the pass is done): a file cut short would
// take its pages from under the image.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class PrivateFileImage {
  public:
    // Runs step while nobody else uses the image and returns true, or
    // returns false at once, without running it, when the image is in use.
    using ExclusiveStep = std::function<bool(const std::function<void()>& step)>;

    // Maps the file with growth room of at least `room` bytes after it; each
    // slice is moved inside `exclusive`. Null when the file is empty or
    // cannot be mapped and leased on this system; the caller then reads the
    // file instead.
    static std::unique_ptr<PrivateFileImage> Map(const std::string& path, std::int64_t room,
                                                 ExclusiveStep exclusive);
    ~PrivateFileImage();
    PrivateFileImage(const PrivateFileImage&) = delete;
    PrivateFileImage& operator=(const PrivateFileImage&) = delete;

    unsigned char* data() const { return base_; }
    // The file's size when it was mapped.
    std::int64_t size() const { return size_; }
    // Bytes the image can hold: the size and the growth room.
    std::int64_t capacity() const { return capacity_; }
    // Starts the pass at once and waits until it is done (tests,
    // benchmarks).
    void WaitUntilPrivate();

  private:
    PrivateFileImage(unsigned char* base, std::int64_t size, std::int64_t capacity, int leaseFd,
                     ExclusiveStep exclusive);
    void MoveOffFile();
    bool MoveSlice(std::int64_t offset, std::int64_t length);
    // Waits for the delay (or a retry's pause) unless stopped or hurried;
    // false when stopped.
    bool Pause(std::chrono::milliseconds delay, bool hurried);

    unsigned char* base_;
    std::int64_t size_;
    std::int64_t capacity_;
    int leaseFd_;
    ExclusiveStep exclusive_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;   // guarded by mutex_
    bool hurry_ = false;  // guarded by mutex_; start the pass at once
    std::thread mover_;
};
