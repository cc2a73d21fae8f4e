#include "base/ChunkedWork.h"

#include <algorithm>

#include "base/TaskPool.h"

namespace corvelt {

std::size_t chunkCount(std::size_t count, std::size_t minimumChunk) {
    const std::size_t most = count / std::max<std::size_t>(minimumChunk, 1);
    return std::clamp<std::size_t>(most, 1, defaultWorkerCount());
}

void forEachChunk(std::size_t count, std::size_t minimumChunk,
                  const std::function<void(std::size_t, std::size_t, std::size_t)>& work) {
    const std::size_t chunks = chunkCount(count, minimumChunk);
    const auto bounds = [count, chunks](std::size_t chunk) { return count * chunk / chunks; };
    if (chunks == 1) {
        work(0, 0, count);
        return;
    }
    runTasks(chunks, static_cast<unsigned>(chunks),
             [&](std::size_t chunk) { work(chunk, bounds(chunk), bounds(chunk + 1)); });
}

}  // namespace corvelt
