#pragma once

#include <cstddef>
#include <vector>

namespace corvelt {

// Hints for large fresh arrays. Only hints: where the kernel cannot follow them,
// nothing happens and pages are faulted in when first written, as usual.

// Asks for [begin, begin + bytes) to be backed by huge pages when first touched:
// fewer, larger page faults for arrays of hundreds of megabytes.
void adviseHugePages(void* begin, std::size_t bytes);

// Asks the kernel to back [begin, begin + bytes) with writable pages now, without
// writing to them, so that several threads can share the cost of first touching a
// large fresh allocation.
void prefaultForWriting(void* begin, std::size_t bytes);

// prefaultForWriting on every core at once: the kernel's zeroing of the fresh
// pages, most of the cost of a first touch, is shared.
void prefaultForWritingOnAllCores(void* begin, std::size_t bytes);

// std::vector::resize for arrays that may be large and fresh: storage that has
// to be allocated anew is advised onto huge pages and faulted in on all cores
// before resize first touches it.
template <typename T>
void resizeOnHugePages(std::vector<T>& array, std::size_t size) {
    if (size > array.capacity()) {
        array.reserve(size);
        adviseHugePages(array.data(), array.capacity() * sizeof(T));
        prefaultForWritingOnAllCores(array.data() + array.size(),
                                     (size - array.size()) * sizeof(T));
    }
    array.resize(size);
}

}  // namespace corvelt
