#pragma once

#include <cstddef>

namespace corvelt {

// Asks the kernel to back [begin, begin + bytes) with writable pages now, without
// writing to them, so that several threads can share the cost of first touching a
// large fresh allocation. Only a hint: where the kernel cannot, nothing happens
// and the pages are faulted in when first written, as usual.
void prefaultForWriting(void* begin, std::size_t bytes);

}  // namespace corvelt
