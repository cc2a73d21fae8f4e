#include "base/Prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "base/ChunkedWork.h"

namespace corvelt {

namespace {

// madvise takes whole pages: the pages that lie entirely inside the range.
template <typename Advise>
void forWholePages(void* begin, std::size_t bytes, std::uintptr_t pageSize, Advise&& advise) {
    const auto first = (reinterpret_cast<std::uintptr_t>(begin) + pageSize - 1) & ~(pageSize - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(begin) + bytes) & ~(pageSize - 1);
    if (last > first) advise(reinterpret_cast<void*>(first), last - first);
}

std::uintptr_t pageSize() {
    return static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

void adviseHugePages(void* begin, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
    forWholePages(begin, bytes, pageSize(),
                  [](void* first, std::size_t length) { ::madvise(first, length, MADV_HUGEPAGE); });
#else
    (void)begin;
    (void)bytes;
#endif
}

void prefaultForWriting(void* begin, std::size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
    forWholePages(begin, bytes, pageSize(), [](void* first, std::size_t length) {
        ::madvise(first, length, MADV_POPULATE_WRITE);
    });
#else
    (void)begin;
    (void)bytes;
#endif
}

void prefaultForWritingOnAllCores(void* begin, std::size_t bytes) {
    // Below a few huge pages, starting threads costs more than they save.
    constexpr std::size_t chunkBytes = std::size_t{8} << 20;
    auto* const first = static_cast<char*>(begin);
    forEachChunk(bytes, chunkBytes, [first](std::size_t, std::size_t from, std::size_t to) {
        prefaultForWriting(first + from, to - from);
    });
}

}  // namespace corvelt
