#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "formats/ExportProgress.h"

namespace corvelt {

class AtomicFile;
struct ShellModel;

// What the exports share: the elements they cover, the file they replace, and
// chunks of elements formatted on all cores.

// The indices of the selected elements, ascending.
std::vector<std::int32_t> selectedElements(const ShellModel& model);

// Writes a file through an AtomicFile and commits it. A failure throws ExportError
// with `headline`, the path and the reason; on it, and on ExportCancelled, the file
// that was there stays as it was and no temporary file is left.
void writeExportFile(const std::filesystem::path& path, std::string_view headline,
                     const std::function<void(AtomicFile&)>& write);

// Runs task(chunk, worker) for the chunks 0 .. count - 1 on all cores, handed out in
// order; worker (0 .. workers - 1) lets a task keep buffers of its own. Progress
// goes from 0 to 1 over the chunks done, told from the calling thread; when it
// returns false no further chunk starts and ExportCancelled is thrown once the
// running ones are done.
void runExportChunks(std::size_t count, const std::function<void(std::size_t, unsigned)>& task,
                     const ExportProgress& progress);

// The number of workers runExportChunks gives tasks for `count` chunks.
unsigned exportWorkerCount(std::size_t count);

// Where chunks of lengths unknown beforehand go in a file that holds them one after
// the other, and whose turn it is to write: chunks are formatted at the same time,
// and each is written once the one before it has been. One writer at a time is
// quicker than several: they would take turns at the file's lock anyway, spinning
// while they wait. Chunks must take their turns in the order runExportChunks hands
// them out.
class ChunkPlacement {
  public:
    ChunkPlacement(std::size_t count, std::uint64_t start);

    // Waits until the chunks before have been written and returns where the chunk
    // goes; none when an earlier chunk failed.
    std::optional<std::uint64_t> waitForTurn(std::size_t chunk);
    // The chunk has been written up to `end`: the next one's turn.
    void written(std::size_t chunk, std::uint64_t end);
    // For a chunk that cannot be written: the chunks after it get no turn.
    void fail(std::size_t chunk);
    // The end of the last chunk, once all are written.
    std::uint64_t end() const;

  private:
    std::unique_ptr<std::atomic<std::uint64_t>[]> starts_;  // count + 1 places
    std::size_t count_;
};

}  // namespace corvelt
