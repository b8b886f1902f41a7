#include "platform/private_file_image.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

namespace {

// Small slices keep each exclusive step to a millisecond or two.
constexpr std::int64_t kSlice = std::int64_t{8} << 20;
// Long enough for a program's first screen, short enough that a writer held
// off by the lease waits only a few seconds.
constexpr std::chrono::milliseconds kMoveDelay{1000};
// How long the pass waits before trying again when the image is in use.
constexpr std::chrono::milliseconds kRetryPause{2};

#if defined(__linux__)

// A read lease makes anyone who opens the file for writing wait until it is
// released. The notice of such a wait goes to a signal that is ignored by
// default: the pass finishes on its own and then lets the writer in.
bool TakeReadLease(int fd) {
    return ::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
}

// The mapping holds the file open, so closing the descriptor alone would
// keep the lease.
void ReleaseLease(int fd) {
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    ::close(fd);
}

#endif

std::int64_t PageRounded(std::int64_t bytes) {
    const std::int64_t page = ::sysconf(_SC_PAGESIZE);
    return (bytes + page - 1) / page * page;
}

}  // namespace

std::unique_ptr<PrivateFileImage> PrivateFileImage::Map(const std::string& path, std::int64_t room,
                                                        ExclusiveStep exclusive) {
#if defined(__linux__)
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
        !TakeReadLease(fd)) {
        ::close(fd);
        return nullptr;
    }
    const std::int64_t size = status.st_size;
    const std::int64_t capacity = PageRounded(size) + PageRounded(std::max<std::int64_t>(room, 0));
    // Address space for the file and its growth, taken without committing
    // memory; only pages written later become the process's own.
    void* reserved = ::mmap(nullptr, static_cast<std::size_t>(capacity), PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED) {
        ReleaseLease(fd);
        return nullptr;
    }
    auto* base = static_cast<unsigned char*>(reserved);
    if (::mmap(base, static_cast<std::size_t>(size), PROT_READ | PROT_WRITE,
               MAP_PRIVATE | MAP_FIXED, fd, 0) == MAP_FAILED) {
        ::munmap(base, static_cast<std::size_t>(capacity));
        ReleaseLease(fd);
        return nullptr;
    }
    std::unique_ptr<PrivateFileImage> image(
        new PrivateFileImage(base, size, capacity, fd, std::move(exclusive)));
    image->mover_ = std::thread([raw = image.get()] { raw->MoveOffFile(); });
    return image;
#else
    (void)path;
    (void)room;
    (void)exclusive;
    return nullptr;
#endif
}

PrivateFileImage::PrivateFileImage(unsigned char* base, std::int64_t size, std::int64_t capacity,
                                   int leaseFd, ExclusiveStep exclusive)
    : base_(base),
      size_(size),
      capacity_(capacity),
      leaseFd_(leaseFd),
      exclusive_(std::move(exclusive)) {}

PrivateFileImage::~PrivateFileImage() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (mover_.joinable()) mover_.join();
    ::munmap(base_, static_cast<std::size_t>(capacity_));
    if (leaseFd_ >= 0) ::close(leaseFd_);  // the last hold on the file: the lease ends
}

void PrivateFileImage::WaitUntilPrivate() {
    {
        std::lock_guard lock(mutex_);
        hurry_ = true;
    }
    wake_.notify_all();
    if (mover_.joinable()) mover_.join();
}

bool PrivateFileImage::Pause(std::chrono::milliseconds delay, bool hurried) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, delay, [this, hurried] { return stop_ || (hurried && hurry_); });
    return !stop_;
}

void PrivateFileImage::MoveOffFile() {
#if defined(__linux__)
    if (!Pause(kMoveDelay, true)) return;
    const std::int64_t mapped = PageRounded(size_);
    for (std::int64_t offset = 0; offset < mapped; offset += kSlice) {
        // Stopped or failed (no memory left): the lease stays until the
        // image is unmapped, so the pages still the file's keep their content.
        if (!MoveSlice(offset, std::min(kSlice, mapped - offset))) return;
    }
    ReleaseLease(leaseFd_);
    leaseFd_ = -1;
#endif
}

// Copies a slice into fresh memory and puts that memory in the slice's place
// in one step, while nobody can write to the image in between. A file cut
// short takes even privately written pages from a mapping of the file, so
// only memory that is no mapping of the file is safe from it.
bool PrivateFileImage::MoveSlice(std::int64_t offset, std::int64_t length) {
#if defined(__linux__)
    const auto bytes = static_cast<std::size_t>(length);
    void* fresh =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (fresh == MAP_FAILED) return false;
    // Fault the fresh pages in outside the exclusive step; a kernel without
    // this advice faults them during the copy instead.
    ::madvise(fresh, bytes, MADV_POPULATE_WRITE);
    unsigned char* slice = base_ + offset;
    bool moved = false;
    const auto step = [&] {
        std::memcpy(fresh, slice, bytes);
        moved = ::mremap(fresh, bytes, bytes, MREMAP_MAYMOVE | MREMAP_FIXED, slice) != MAP_FAILED;
    };
    while (!exclusive_(step)) {
        if (!Pause(kRetryPause, false)) break;
    }
    if (!moved) ::munmap(fresh, bytes);
    return moved;
#else
    (void)offset;
    (void)length;
    return false;
#endif
}
