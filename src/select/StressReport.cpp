#include "select/StressReport.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "base/AtomicFile.h"
#include "base/NumberFormat.h"
#include "model/ShellModel.h"
#include "base/TaskPool.h"

namespace corvelt {

namespace {

// Every line of a listing is 120 characters and a line end, but "ELEMENT:e".
constexpr std::size_t lineBytes = 121;
constexpr std::size_t fieldWidth = 15;
constexpr std::size_t indexWidth = 14;  // and a colon: the width of the "Node" field
constexpr std::string_view headerLine =
    "           Node             SX             SY             SZ            TXY            TXZ"
    "            TYZ             SE\n";
static_assert(headerLine.size() == lineBytes);
constexpr std::string_view elementLabel = "ELEMENT:";

// Bytes of one element block of the element listing.
std::size_t elementBlockBytes(std::int32_t element) {
    char digits[16];
    const std::size_t length = static_cast<std::size_t>(
        std::to_chars(digits, digits + sizeof digits, element).ptr - digits);
    return elementLabel.size() + length + 1 + lineBytes * (1 + 2 * ShellModel::nodesPerElement);
}

// Puts stress lines together. Numbers are right-aligned in their fields with
// copies of a fixed size: each is written after a run of blanks, and its field is
// cut from the end of the run.
class StressLineWriter {
  public:
    explicit StressLineWriter(const ShellModel& model) : model_(model) {
        std::memset(scratch_, ' ', fieldWidth);
    }

    // Both surfaces of a corner, given as its position e * 4 + j in the
    // connectivity, labelled with the corner's node.
    char* putCornerPair(char* out, std::int64_t corner) {
        const std::int32_t node = model_.connectivity[static_cast<std::size_t>(corner)];
        const ElementStressBlock& block =
            model_.elementStresses[static_cast<std::size_t>(corner / ShellModel::nodesPerElement)];
        const auto position = static_cast<std::size_t>(corner % ShellModel::nodesPerElement);
        out = putStressLine(out, node, block.surfaces[0][position]);
        return putStressLine(out, node, block.surfaces[1][position]);
    }

  private:
    // The node index, a colon and the seven components, as a freshly opened text
    // stream writes them (general format, 6 significant digits).
    char* putStressLine(char* out, std::int32_t node, const StressRecord& record) {
        const char* end = std::to_chars(scratch_ + fieldWidth, std::end(scratch_), node).ptr;
        std::memcpy(out, end - indexWidth, indexWidth);
        out += indexWidth;
        *out++ = ':';
        for (const double value : record) {
            end = writeGeneral6(scratch_ + fieldWidth, value);
            std::memcpy(out, end - fieldWidth, fieldWidth);
            out += fieldWidth;
        }
        *out++ = '\n';
        return out;
    }

    const ShellModel& model_;
    char scratch_[fieldWidth + general6MaxLength];
};

// A listing cut into chunks whose places in the file are known beforehand, so
// that the chunks can be formatted on all cores and written where they belong.
struct ChunkedListing {
    std::size_t chunkCount = 0;
    std::size_t maxChunkBytes = 0;
    std::function<std::uint64_t(std::size_t)> offsetOf;
    // Formats a chunk at `out` and returns its end.
    std::function<char*(std::size_t, char*)> format;
};

void writeChunks(AtomicFile& file, const ChunkedListing& listing) {
    std::atomic<std::size_t> next{0};
    const auto workers =
        static_cast<unsigned>(std::min<std::size_t>(defaultWorkerCount(), listing.chunkCount));
    runTasks(workers, workers, [&](std::size_t) {
        std::string buffer(listing.maxChunkBytes, '\0');
        for (std::size_t chunk = next++; chunk < listing.chunkCount; chunk = next++) {
            try {
                const char* end = listing.format(chunk, buffer.data());
                file.writeAt(listing.offsetOf(chunk),
                             {buffer.data(), static_cast<std::size_t>(end - buffer.data())});
            } catch (...) {
                next = listing.chunkCount;  // the others stop too
                throw;
            }
        }
    });
}

// Every corner whose node is selected, as a position e * 4 + j in the
// connectivity, ordered by node and, within a node, by element and corner: a
// counting sort by node keeps the connectivity's order among equal nodes.
std::vector<std::int64_t> selectedNodeCorners(const ShellModel& model) {
    const std::vector<std::int32_t>& corners = model.connectivity;
    std::vector<std::int64_t> ends(model.nodes.size(), 0);
    for (const std::int32_t node : corners)
        if (model.nodeSelected[static_cast<std::size_t>(node)] != 0)
            ++ends[static_cast<std::size_t>(node)];
    std::int64_t total = 0;
    for (std::int64_t& end : ends) {
        total += end;
        end = total;
    }
    std::vector<std::int64_t> ordered(static_cast<std::size_t>(total));
    for (auto corner = static_cast<std::int64_t>(corners.size()) - 1; corner >= 0; --corner) {
        const auto node = static_cast<std::size_t>(corners[static_cast<std::size_t>(corner)]);
        if (model.nodeSelected[node] != 0) ordered[static_cast<std::size_t>(--ends[node])] = corner;
    }
    return ordered;
}

void writeNodeListing(AtomicFile& file, const ShellModel& model) {
    file.writeAt(0, headerLine);
    const std::vector<std::int64_t> corners = selectedNodeCorners(model);
    constexpr std::size_t cornersPerChunk = 2048;
    constexpr std::size_t cornerBytes = 2 * lineBytes;
    ChunkedListing listing;
    listing.chunkCount = (corners.size() + cornersPerChunk - 1) / cornersPerChunk;
    listing.maxChunkBytes = cornersPerChunk * cornerBytes;
    listing.offsetOf = [](std::size_t chunk) {
        return lineBytes + chunk * cornersPerChunk * cornerBytes;
    };
    listing.format = [&](std::size_t chunk, char* out) {
        const std::size_t first = chunk * cornersPerChunk;
        const std::size_t last = std::min(first + cornersPerChunk, corners.size());
        StressLineWriter lines(model);
        for (std::size_t k = first; k < last; ++k)
            out = lines.putCornerPair(out, corners[k]);
        return out;
    };
    writeChunks(file, listing);
}

void writeElementListing(AtomicFile& file, const ShellModel& model) {
    constexpr std::size_t elementsPerChunk = 512;
    const std::size_t elementCount = model.elementStresses.size();
    ChunkedListing listing;
    listing.chunkCount = (elementCount + elementsPerChunk - 1) / elementsPerChunk;
    std::vector<std::uint64_t> offsets(listing.chunkCount + 1, 0);
    for (std::size_t e = 0; e < elementCount; ++e)
        if (model.elementSelected[e] != 0)
            offsets[e / elementsPerChunk + 1] += elementBlockBytes(static_cast<std::int32_t>(e));
    for (std::size_t chunk = 0; chunk < listing.chunkCount; ++chunk) {
        listing.maxChunkBytes = std::max<std::size_t>(listing.maxChunkBytes, offsets[chunk + 1]);
        offsets[chunk + 1] += offsets[chunk];
    }
    listing.offsetOf = [&offsets](std::size_t chunk) { return offsets[chunk]; };
    listing.format = [&](std::size_t chunk, char* out) {
        const std::size_t first = chunk * elementsPerChunk;
        const std::size_t last = std::min(first + elementsPerChunk, elementCount);
        StressLineWriter lines(model);
        for (std::size_t e = first; e < last; ++e) {
            if (model.elementSelected[e] == 0) continue;
            out = std::copy(elementLabel.begin(), elementLabel.end(), out);
            out = std::to_chars(out, out + 16, e).ptr;
            *out++ = '\n';
            out = std::copy(headerLine.begin(), headerLine.end(), out);
            const auto firstCorner = static_cast<std::int64_t>(e) * ShellModel::nodesPerElement;
            for (std::int64_t j = 0; j < ShellModel::nodesPerElement; ++j)
                out = lines.putCornerPair(out, firstCorner + j);
        }
        return out;
    };
    writeChunks(file, listing);
}

}  // namespace

std::filesystem::path writeStressReport(const ShellModel& model, ItemKind kind,
                                        const std::filesystem::path& directory) {
    const bool nodes = kind == ItemKind::nodes;
    const std::filesystem::path path =
        directory / (nodes ? nodeStressReportFileName : elementStressReportFileName);
    try {
        AtomicFile file(path);
        if (nodes)
            writeNodeListing(file, model);
        else
            writeElementListing(file, model);
        // A listing can be made again at any time; waiting for the disk to take a
        // gigabyte of it would keep the user waiting for nothing.
        file.commit(AtomicFile::Durability::cached);
    } catch (const std::system_error& error) {
        throw StressReportError(
            std::string(nodes ? "被选择节点应力文件输出失败!" : "被选择单元应力文件输出失败!") +
            "\n" + path.string() + ": " + error.code().message());
    }
    return path;
}

}  // namespace corvelt
