#include "formats/CsvWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "base/NumberFormat.h"
#include "formats/ExportChunks.h"
#include "model/PrincipalStress.h"
#include "model/ShellModel.h"

namespace corvelt {

namespace {

constexpr std::string_view headline = "The table could not be written.";
constexpr std::size_t elementsPerChunk = 512;
constexpr int rowsPerElement = 2 * ShellModel::nodesPerElement;
constexpr std::size_t maxNumberBytes = shortestMaxLength;
constexpr std::size_t maxIndexBytes = 11;  // "-2147483648"
constexpr std::size_t maxRowBytes = 3 * (maxIndexBytes + 1) + 2 + 14 * (maxNumberBytes + 1);

char* putNumber(char* out, double value) {
    out = writeShortest(out, value);
    *out++ = ',';
    return out;
}

char* putIndex(char* out, std::int64_t value) {
    out = std::to_chars(out, out + maxIndexBytes, value).ptr;
    *out++ = ',';
    return out;
}

// The eight rows of one element. What the two rows of a corner share (element,
// corner, node, position) is put together once.
char* putElement(char* out, const ShellModel& model, std::int32_t element) {
    const std::int32_t* corners = model.elementCorners(element);
    const ElementStressBlock& block = model.elementStresses[static_cast<std::size_t>(element)];
    char shared[3 * (maxIndexBytes + 1) + 3 * (maxNumberBytes + 1)];  // 24 bytes at every number
    for (int corner = 0; corner < ShellModel::nodesPerElement; ++corner) {
        const std::int32_t node = corners[corner];
        const Point3D& position = model.nodes[static_cast<std::size_t>(node)];
        char* end = putIndex(shared, element);
        end = putIndex(end, corner);
        end = putIndex(end, node);
        end = putNumber(end, position.x);
        end = putNumber(end, position.y);
        end = putNumber(end, position.z);
        const auto sharedBytes = static_cast<std::size_t>(end - shared);
        for (int surface = 0; surface < 2; ++surface) {
            const StressRecord& stress = block.surfaces[surface][corner];
            std::memcpy(out, shared, sharedBytes);
            out += sharedBytes;
            *out++ = surface == 0 ? '1' : '2';
            *out++ = ',';
            for (const double value : stress)
                out = putNumber(out, value);
            const PrincipalStresses principal = principalStresses(stress);
            out = putNumber(out, principal.p1);
            out = putNumber(out, principal.p2);
            out = putNumber(out, principal.p3);
            out = putNumber(out, principal.intensity);
            out[-1] = '\n';
        }
    }
    return out;
}

}  // namespace

void writeCsv(const ShellModel& model, const std::filesystem::path& path,
              const ExportProgress& progress) {
    writeExportFile(path, headline, [&](AtomicFile& file) {
        const std::vector<std::int32_t> elements = selectedElements(model);
        const std::size_t chunkCount = (elements.size() + elementsPerChunk - 1) / elementsPerChunk;
        file.writeAt(0, csvHeader);
        ChunkPlacement placement(chunkCount, csvHeader.size());
        std::vector<std::string> buffers(exportWorkerCount(chunkCount));
        runExportChunks(
            chunkCount,
            [&](std::size_t chunk, unsigned worker) {
                std::string& buffer = buffers[worker];
                const char* end = nullptr;
                try {
                    buffer.resize(elementsPerChunk * rowsPerElement * maxRowBytes);
                    const std::size_t first = chunk * elementsPerChunk;
                    const std::size_t last = std::min(first + elementsPerChunk, elements.size());
                    char* out = buffer.data();
                    for (std::size_t k = first; k < last; ++k)
                        out = putElement(out, model, elements[k]);
                    end = out;
                } catch (...) {
                    placement.fail(chunk);
                    throw;
                }
                const std::optional<std::uint64_t> at = placement.waitForTurn(chunk);
                if (!at) return;  // an earlier chunk failed; its failure is reported
                const auto bytes = static_cast<std::size_t>(end - buffer.data());
                try {
                    file.writeAt(*at, {buffer.data(), bytes});
                } catch (...) {
                    placement.fail(chunk);
                    throw;
                }
                placement.written(chunk, *at + bytes);
            },
            progress);
    });
}

}  // namespace corvelt
