#include "samples/ResultFileWriter.h"

#include <array>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace corvelt::samples {

namespace {

// Collects text and hands it to the stream a megabyte at a time.
class BlockWriter {
  public:
    BlockWriter(std::ostream& out, const ResultWriteOptions& options)
        : out_(out), options_(options) {
        buffer_.reserve(blockBytes + 1024);
    }
    ~BlockWriter() = default;
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    void text(std::string_view piece) {
        buffer_.insert(buffer_.end(), piece.begin(), piece.end());
        flushIfFull();
    }

    void number(double value) {
        std::array<char, 40> digits{};
        const auto result =
            options_.significantDigits > 0
                ? std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                std::chars_format::scientific, options_.significantDigits - 1)
                : std::to_chars(digits.data(), digits.data() + digits.size(), value);
        text({digits.data(), result.ptr});
    }

    void number(std::int64_t value) {
        std::array<char, 24> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
        text({digits.data(), result.ptr});
    }

    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

  private:
    static constexpr std::size_t blockBytes = std::size_t{1} << 20;

    void flushIfFull() {
        if (buffer_.size() >= blockBytes) flush();
    }

    std::ostream& out_;
    const ResultWriteOptions& options_;
    std::vector<char> buffer_;
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
