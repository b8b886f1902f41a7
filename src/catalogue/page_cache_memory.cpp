#include "catalogue/page_cache_memory.h"

#include <sqlite3.h>
#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::size_t kCataloguePageSize = 65536;
// Room for the file connection's own cache during the copy and for the
// pages a session adds before a save.
constexpr std::size_t kSpareSlots = 96;

bool HasCataloguePages(const std::string& path) {
    std::array<unsigned char, 18> header{};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return false;
    // Offset 16: the page size, big-endian; 1 stands for 65536.
    return header[16] == 0 && header[17] == 1;
}

}  // namespace

void ReservePageCacheFor(const std::string& path) {
    static bool reserved = false;
    if (reserved) return;
    reserved = true;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size < 16 * kCataloguePageSize || !HasCataloguePages(path)) return;

    int header = 0;
    if (sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header) != SQLITE_OK) return;
    const std::size_t slot = (kCataloguePageSize + static_cast<std::size_t>(header) + 7) & ~7u;
    const std::size_t pages = size / kCataloguePageSize;
    const std::size_t slots = pages + pages / 64 + kSpareSlots;
    const std::size_t bytes = slot * slots;
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (block == MAP_FAILED) return;
    // Fails once SQLite is initialised; the heap then serves every page. The
    // block is SQLite's for the rest of the process when accepted.
    if (sqlite3_config(SQLITE_CONFIG_PAGECACHE, block, static_cast<int>(slot),
                       static_cast<int>(slots)) != SQLITE_OK)
        munmap(block, bytes);
}
