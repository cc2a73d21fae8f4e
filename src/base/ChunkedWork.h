#pragma once

#include <cstddef>
#include <functional>

namespace corvelt {

// Work over the items 0 .. count - 1 of a big array, cut into contiguous chunks, one
// per core, that run at the same time (the calling thread is one of them). Below
// two chunks of minimumChunk items the calling thread does it all: starting a thread
// costs more than a small array.

// How many chunks forEachChunk makes of `count` items.
std::size_t chunkCount(std::size_t count, std::size_t minimumChunk);

// Calls work(chunk, begin, end) once per chunk; chunk k covers items before those of
// chunk k + 1. The first exception thrown is rethrown once every chunk is done.
void forEachChunk(
    std::size_t count, std::size_t minimumChunk,
    const std::function<void(std::size_t chunk, std::size_t begin, std::size_t end)>& work);

}  // namespace corvelt
