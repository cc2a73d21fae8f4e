#include "formats/ExportChunks.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/TaskPool.h"
#include "formats/ExportError.h"
#include "model/ShellModel.h"

namespace corvelt {

namespace {

constexpr std::uint64_t notPlacedYet = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t neverPlaced = notPlacedYet - 1;

}  // namespace

std::vector<std::int32_t> selectedElements(const ShellModel& model) {
    std::vector<std::int32_t> selected;
    const std::vector<std::uint8_t>& flags = model.elementSelected;
    selected.reserve(static_cast<std::size_t>(
        std::count_if(flags.begin(), flags.end(), [](std::uint8_t flag) { return flag != 0; })));
    for (std::size_t e = 0; e < flags.size(); ++e)
        if (flags[e] != 0) selected.push_back(static_cast<std::int32_t>(e));
    return selected;
}

void writeExportFile(const std::filesystem::path& path, std::string_view headline,
                     const std::function<void(AtomicFile&)>& write) {
    const auto fail = [&](const std::string& reason) {
        throw ExportError(std::string(headline) + "\n" + path.string() + ": " + reason);
    };
    try {
        AtomicFile file(path);
        write(file);
        // An export can be made again from the model at any time; waiting for the
        // disk to take a gigabyte of it would keep the user waiting for nothing.
        file.commit(AtomicFile::Durability::cached);
    } catch (const std::system_error& error) {
        fail(error.code().message());
    } catch (const std::bad_alloc&) {
        fail("not enough memory");
    }
}

unsigned exportWorkerCount(std::size_t count) {
    return static_cast<unsigned>(std::clamp<std::size_t>(count, 1, defaultWorkerCount()));
}

void runExportChunks(std::size_t count, const std::function<void(std::size_t, unsigned)>& task,
                     const ExportProgress& progress) {
    if (progress && !progress(0.0)) throw ExportCancelled();
    std::atomic<std::size_t> done{0};
    runTasks(
        count, exportWorkerCount(count),
        [&](std::size_t chunk, unsigned worker) {
            task(chunk, worker);
            done.fetch_add(1, std::memory_order_relaxed);
            return true;
        },
        [&] {
            // Thrown between chunks: none is started after it, and it is rethrown
            // once the running ones are done.
            const double fraction = static_cast<double>(done.load(std::memory_order_relaxed)) /
                                    static_cast<double>(count);
            if (progress && !progress(fraction)) throw ExportCancelled();
        });
    if (progress && !progress(1.0)) throw ExportCancelled();
}

ChunkPlacement::ChunkPlacement(std::size_t count, std::uint64_t start)
    : starts_(std::make_unique<std::atomic<std::uint64_t>[]>(count + 1)), count_(count) {
    for (std::size_t k = 0; k <= count; ++k)
        starts_[k].store(notPlacedYet, std::memory_order_relaxed);
    starts_[0].store(start, std::memory_order_relaxed);
}

std::optional<std::uint64_t> ChunkPlacement::waitForTurn(std::size_t chunk) {
    std::atomic<std::uint64_t>& start = starts_[chunk];
    start.wait(notPlacedYet, std::memory_order_acquire);
    const std::uint64_t at = start.load(std::memory_order_acquire);
    if (at == neverPlaced) {
        fail(chunk);
        return std::nullopt;
    }
    return at;
}

void ChunkPlacement::written(std::size_t chunk, std::uint64_t end) {
    starts_[chunk + 1].store(end, std::memory_order_release);
    starts_[chunk + 1].notify_all();
}

void ChunkPlacement::fail(std::size_t chunk) {
    starts_[chunk + 1].store(neverPlaced, std::memory_order_release);
    starts_[chunk + 1].notify_all();
}

std::uint64_t ChunkPlacement::end() const {
    return starts_[count_].load(std::memory_order_acquire);
}

}  // namespace corvelt
