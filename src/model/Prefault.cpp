#include "model/Prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace corvelt {

void prefaultForWriting(void* begin, std::size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto first = (reinterpret_cast<std::uintptr_t>(begin) + pageSize - 1) & ~(pageSize - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(begin) + bytes) & ~(pageSize - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)bytes;
#endif
}

}  // namespace corvelt
