#include "samples/ResultFileWriter.h"

#include <array>
#include <cassert>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace corvelt::samples {

namespace {

// Collects text in a block and hands it to the stream whenever the block is full.
class BlockWriter {
  public:
    BlockWriter(std::ostream& out, const ResultWriteOptions& options)
        : out_(out), options_(options), block_(blockBytes + slackBytes) {}

    // Pieces are the short keys and separators of the format, never longer than the slack.
    void text(std::string_view piece) {
        assert(piece.size() <= slackBytes);
        for (char c : piece)
            block_[used_++] = c;
        flushIfFull();
    }

    void number(double value) {
        char* const first = block_.data() + used_;
        char* const last = first + slackBytes;
        const auto result = options_.significantDigits > 0
                                ? std::to_chars(first, last, value, std::chars_format::scientific,
                                                options_.significantDigits - 1)
                                : std::to_chars(first, last, value);
        used_ += static_cast<std::size_t>(result.ptr - first);
        flushIfFull();
    }

    void number(std::int64_t value) {
        char* const first = block_.data() + used_;
        used_ +=
            static_cast<std::size_t>(std::to_chars(first, first + slackBytes, value).ptr - first);
        flushIfFull();
    }

    void flush() {
        out_.write(block_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

  private:
    static constexpr std::size_t blockBytes = std::size_t{1} << 20;
    // Room past a full block for the longest piece written in one go.
    static constexpr std::size_t slackBytes = 64;

    void flushIfFull() {
        if (used_ >= blockBytes) flush();
    }

    std::ostream& out_;
    const ResultWriteOptions& options_;
    std::vector<char> block_;
    std::size_t used_ = 0;
};

template <typename Values>
void writeLine(BlockWriter& writer, const Values& values) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (k > 0) writer.text(",");
        writer.number(values[k]);
    }
    writer.text("\n");
}

}  // namespace

void writeResultText(std::ostream& out, const ResultData& data, const ResultWriteOptions& options) {
    BlockWriter writer(out, options);
    writer.text("NPOIN=");
    writer.number(static_cast<std::int64_t>(data.nodes.size()));
    writer.text("\nNELEM=");
    writer.number(static_cast<std::int64_t>(data.elementStresses.size()));
    writer.text("\n");
    for (const Point3D& node : data.nodes)
        writeLine(writer, std::array<double, 3>{node.x, node.y, node.z});
    for (std::size_t e = 0; e < data.elementStresses.size(); ++e) {
        std::array<std::int64_t, ShellModel::nodesPerElement> corners{};
        for (int j = 0; j < ShellModel::nodesPerElement; ++j)
            corners[j] = data.connectivity[e * ShellModel::nodesPerElement + j];
        writeLine(writer, corners);
        const ElementStressBlock& block = data.elementStresses[e];
        for (int corner = 0; corner < ShellModel::nodesPerElement; ++corner)
            for (const auto& surface : block.surfaces)
                writeLine(writer, surface[corner]);
    }
    writer.flush();
}

std::string formatResultText(const ResultData& data, const ResultWriteOptions& options) {
    std::ostringstream out;
    writeResultText(out, data, options);
    return std::move(out).str();
}

void writeResultFile(const std::filesystem::path& path, const ResultData& data,
                     const ResultWriteOptions& options) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot create " + partial.string());
        writeResultText(out, data, options);
        out.flush();
        if (!out) throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

}  // namespace corvelt::samples
