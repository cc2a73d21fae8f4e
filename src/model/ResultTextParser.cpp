#include "model/ResultTextParser.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "model/NumberScan.h"
#include "model/Prefault.h"
#include "model/ResultFileError.h"
#include "model/ResultFileLayout.h"
#include "model/TaskPool.h"
#include "model/TokenCount.h"

namespace corvelt {

namespace {

constexpr std::string_view nodeCountKey = "NPOIN=";
constexpr std::string_view elementCountKey = "NELEM=";

// A place in the text and what should have stood there.
struct Fault {
    std::size_t offset = 0;
    std::string expected;
};

// ---- Messages -------------------------------------------------------------

std::int64_t lineAt(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
}

// The offending text, quoted, cut at the end of its line and shortened; bytes that
// are not printable ASCII are shown as \xNN so the message stays valid UTF-8.
std::string quoteFoundText(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return "end of file";
    if (text[offset] == '\n' || text[offset] == '\r') return "end of line";
    constexpr std::size_t maxShown = 24;
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string quoted = "'";
    std::size_t p = offset;
    for (; p < text.size() && p - offset < maxShown && text[p] != '\n' && text[p] != '\r'; ++p) {
        const auto byte = static_cast<unsigned char>(text[p]);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += static_cast<char>(byte);
        } else {
            quoted += "\\x";
            quoted += hexDigits[byte >> 4];
            quoted += hexDigits[byte & 0xF];
        }
    }
    if (p < text.size() && p - offset == maxShown && text[p] != '\n' && text[p] != '\r')
        quoted += "...";
    return quoted + "'";
}

[[noreturn]] void throwFault(std::string_view text, const std::string& fileName, const Fault& fault,
                             std::string_view headline = resultFileReadErrorHeadline) {
    const std::int64_t line = lineAt(text, fault.offset);
    throw ResultFileError(std::string(headline) + "\n" + fileName + ":" + std::to_string(line) +
                              ": expected " + fault.expected + ", found " +
                              quoteFoundText(text, fault.offset),
                          fileName, line);
}

// "a number (y of node 3)" or "a node index (corner 1 of element 0)".
std::string expectedToken(const ResultFileLayout& layout, std::int64_t token) {
    return std::string(layout.isCornerIndex(token) ? "a node index (" : "a number (") +
           layout.describeToken(token) + ")";
}

// ---- The two count lines --------------------------------------------------

struct Header {
    ResultFileLayout layout;
    std::size_t nodeCountStart = 0;  // offset of the node count's digits
    std::size_t bodyStart = 0;       // offset of the first number after the counts
    // False when the counts ask for more rows than the rest of the file can hold.
    // Such a file is certainly faulty; its arrays are never allocated (a corrupt
    // count must not ask for gigabytes), but it is still parsed to find the first
    // place where it departs from its counts, which is what the user should see.
    bool fitsFile = true;
};

class HeaderParser {
  public:
    HeaderParser(std::string_view text, const std::string& fileName)
        : text_(text), fileName_(fileName), last_(text.data() + text.size()) {}

    Header parse() {
        if (!text_.starts_with(nodeCountKey))
            fail(text_.data(), "'NPOIN=' at the start of the file");
        const char* p = text_.data() + nodeCountKey.size();
        Header header;
        header.layout.nodeCount = readCount(p, "a node count");
        header.nodeCountStart = static_cast<std::size_t>(countStart_ - text_.data());

        skipBlanks(p);
        if (!std::string_view(p, static_cast<std::size_t>(last_ - p)).starts_with(elementCountKey))
            fail(p, "'NELEM=' after the node count");
        p += elementCountKey.size();
        header.layout.elementCount = readCount(p, "an element count");
        header.fitsFile = header.layout.nodeCount * minimumNodeBytes +
                              header.layout.elementCount * minimumElementBytes <=
                          last_ - p;

        if (header.layout.tokenCount() > 0) {
            if (p != last_ && !isBlank(*p))
                fail(p, "white space or a line break after the element count");
            skipBlanks(p);
            if (p == last_ || *p == ',') fail(p, expectedToken(header.layout, 0));
        }
        header.bodyStart = static_cast<std::size_t>(p - text_.data());
        return header;
    }

  private:
    std::int64_t readCount(const char*& p, const std::string& what) {
        skipBlanks(p);
        countStart_ = p;
        const ScanResult<std::int32_t> count = scanInt32(p, last_);
        if (count.status != ScanStatus::ok) fail(p, what);
        if (count.value < 0) fail(p, what + " of 0 or more");
        p = count.end;
        return count.value;
    }

    void skipBlanks(const char*& p) const {
        while (p != last_ && isBlank(*p))
            ++p;
    }

    [[noreturn]] void fail(const char* at, std::string expected) const {
        throwFault(text_, fileName_,
                   {static_cast<std::size_t>(at - text_.data()), std::move(expected)});
    }

    std::string_view text_;
    const std::string& fileName_;
    const char* last_;
    const char* countStart_ = nullptr;
};

// ---- The body, in chunks --------------------------------------------------

// A piece of the body that one thread handles. It starts at a token or right
// after a blank, so its first token start can be told without looking back.
struct Chunk {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::int64_t tokenCount = 0;  // tokens that start inside it
    std::int64_t firstToken = 0;  // body index of its first token
    std::optional<Fault> fault;   // the first fault inside it
};

std::vector<Chunk> splitIntoChunks(std::string_view text, std::size_t bodyStart,
                                   std::size_t chunkBytes) {
    std::vector<Chunk> chunks;
    chunkBytes = std::max<std::size_t>(chunkBytes, 1);
    for (std::size_t begin = bodyStart; begin < text.size();) {
        std::size_t end = begin + std::min(chunkBytes, text.size() - begin);
        while (end < text.size() && !isBlank(text[end - 1]))
            ++end;
        chunks.push_back({begin, end, 0, 0, std::nullopt});
        begin = end;
    }
    return chunks;
}

// Parses the tokens of one chunk into the final arrays. Chunks write disjoint
// entries, so any number of them may run at once.
class BodyParser {
  public:
    // With no data the text is only checked.
    BodyParser(std::string_view text, const ResultFileLayout& layout, ResultData* data)
        : text_(text), layout_(layout), data_(data) {}

    std::optional<Fault> parseChunk(const Chunk& chunk) const;

  private:
    std::optional<Fault> numberFault(const char* at, ScanStatus status, std::int64_t token) const;
    std::optional<Fault> indexFault(const char* at, std::int64_t token) const;
    Fault faultAt(const char* at, std::string expected) const {
        return {static_cast<std::size_t>(at - text_.data()), std::move(expected)};
    }

    std::string_view text_;
    const ResultFileLayout& layout_;
    ResultData* data_;
};

std::optional<Fault> BodyParser::parseChunk(const Chunk& chunk) const {
    const char* const last = text_.data() + text_.size();
    const char* const chunkEnd = text_.data() + chunk.end;
    const char* p = text_.data() + chunk.begin;
    // Separators before the first token were checked by the token in front of them.
    while (p != chunkEnd && isSeparator(*p))
        ++p;

    const std::int64_t tokenCount = layout_.tokenCount();
    const std::int64_t nodeTokens = layout_.nodeTokenCount();
    const std::int64_t nodeCount = layout_.nodeCount;
    const bool checkIndices = nodeCount > 0;  // a node-less file is refused for that reason alone
    std::int64_t token = chunk.firstToken;
    // Where the current token goes: a coordinate of a node, or a field of an element.
    std::int64_t node = token < nodeTokens ? token / tokensPerNode : 0;
    int coordinate = token < nodeTokens ? static_cast<int>(token % tokensPerNode) : 0;
    std::int64_t element = token < nodeTokens ? 0 : (token - nodeTokens) / tokensPerElement;
    int field = token < nodeTokens ? 0 : static_cast<int>((token - nodeTokens) % tokensPerElement);

    while (p < chunkEnd && token < tokenCount) {
        const char* q = nullptr;
        bool endsLine = false;
        if (token < nodeTokens) {
            const ScanResult<double> number = scanDouble(p, last);
            if (number.status != ScanStatus::ok) return numberFault(p, number.status, token);
            if (data_ != nullptr) {
                Point3D& point = data_->nodes[static_cast<std::size_t>(node)];
                (coordinate == 0 ? point.x : coordinate == 1 ? point.y : point.z) = number.value;
            }
            endsLine = coordinate == tokensPerNode - 1;
            if (++coordinate == tokensPerNode) coordinate = 0, ++node;
            q = number.end;
        } else {
            const ElementField& slot = elementFields[static_cast<std::size_t>(field)];
            if (slot.isCornerIndex) {
                const ScanResult<std::int32_t> index = scanInt32(p, last);
                if (index.status != ScanStatus::ok) return numberFault(p, index.status, token);
                if (checkIndices && (index.value < 0 || index.value >= nodeCount))
                    return indexFault(p, token);
                if (data_ != nullptr)
                    data_->connectivity[static_cast<std::size_t>(element) *
                                            ShellModel::nodesPerElement +
                                        slot.corner] = index.value;
                q = index.end;
            } else {
                const ScanResult<double> number = scanDouble(p, last);
                if (number.status != ScanStatus::ok) return numberFault(p, number.status, token);
                if (data_ != nullptr)
                    data_->elementStresses[static_cast<std::size_t>(element)]
                        .surfaces[slot.surface][slot.corner][slot.component] = number.value;
                q = number.end;
            }
            endsLine = slot.endsLine;
            if (++field == tokensPerElement) field = 0, ++element;
        }

        if (token == tokenCount - 1) break;  // what follows the last number is not read
        // Within a line a comma follows its number directly; a line ends in white space.
        if (!endsLine) {
            if (q == last || *q != ',')
                return faultAt(q, "',' after " + layout_.describeToken(token));
            ++q;
        } else if (q != last && !isBlank(*q)) {
            return faultAt(q, "white space or a line break after " + layout_.describeToken(token));
        }
        while (q != last && isBlank(*q))
            ++q;
        if (q != last && *q == ',') return faultAt(q, expectedToken(layout_, token + 1));
        p = q;
        ++token;
    }
    return std::nullopt;
}

std::optional<Fault> BodyParser::numberFault(const char* at, ScanStatus status,
                                             std::int64_t token) const {
    if (layout_.isCornerIndex(token) && status == ScanStatus::outOfRange)
        return indexFault(at, token);
    const std::string what = layout_.describeToken(token);
    switch (status) {
        case ScanStatus::notFinite:
            return faultAt(at, "a finite number (" + what + ")");
        case ScanStatus::outOfRange:
            return faultAt(at, "a number within the range of a double (" + what + ")");
        default:
            return faultAt(at, expectedToken(layout_, token));
    }
}

std::optional<Fault> BodyParser::indexFault(const char* at, std::int64_t token) const {
    if (layout_.nodeCount == 0) return faultAt(at, expectedToken(layout_, token));
    return faultAt(at, "a node index 0 .. " + std::to_string(layout_.nodeCount - 1) + " (" +
                           layout_.describeToken(token) + ")");
}

// Tells the caller's callback how far both passes have come: counting weighs a
// quarter of the work, parsing the rest. Called on the calling thread only.
class ProgressMeter {
  public:
    ProgressMeter(const ReadProgress& progress, std::size_t totalBytes)
        : progress_(progress),
          totalBytes_(static_cast<double>(std::max<std::size_t>(totalBytes, 1))) {}

    void counted(std::size_t bytes) { countedBytes_.fetch_add(bytes, std::memory_order_relaxed); }
    void parsed(std::size_t bytes) { parsedBytes_.fetch_add(bytes, std::memory_order_relaxed); }

    void report() {
        if (!progress_) return;
        const double fraction =
            (0.25 * static_cast<double>(countedBytes_.load(std::memory_order_relaxed)) +
             0.75 * static_cast<double>(parsedBytes_.load(std::memory_order_relaxed))) /
            totalBytes_;
        // A step of a percent is all a progress bar can show.
        if (fraction < lastReported_ + 0.01) return;
        lastReported_ = std::min(fraction, 1.0);
        // Thrown on the calling thread between tasks: the pool stops handing out
        // chunks and rethrows it once the running ones are done.
        if (!progress_(lastReported_)) throw ReadCancelled();
    }

  private:
    const ReadProgress& progress_;
    double totalBytes_;
    std::atomic<std::size_t> countedBytes_{0};
    std::atomic<std::size_t> parsedBytes_{0};
    double lastReported_ = 0.0;
};

// The element stresses are most of the model's memory, and first touching fresh
// pages costs more than filling them. So their storage is reserved first, its
// pages are populated in pieces by the workers while they count, and the arrays
// are constructed afterwards, which then only zeroes resident memory.
constexpr std::size_t prefaultPieceBytes = std::size_t{16} << 20;

// Reserves the stress storage and returns it as raw bytes for prefaulting. data()
// of a reserved empty vector is its storage in the libraries we build with; the
// prefault is only a hint, so nothing depends on it.
std::span<std::byte> reserveStressStorage(ResultData& data, const ResultFileLayout& layout) {
    const auto elementCount = static_cast<std::size_t>(layout.elementCount);
    data.elementStresses.reserve(elementCount);
    return {reinterpret_cast<std::byte*>(data.elementStresses.data()),
            elementCount * sizeof(ElementStressBlock)};
}

void constructArrays(ResultData& data, const ResultFileLayout& layout) {
    data.nodes.resize(static_cast<std::size_t>(layout.nodeCount));
    data.connectivity.resize(static_cast<std::size_t>(layout.elementCount) *
                             ShellModel::nodesPerElement);
    data.elementStresses.resize(static_cast<std::size_t>(layout.elementCount));
}

// Pass 1 counts the tokens of every chunk (and prepares the arrays meanwhile), so
// each chunk learns which field it starts in; pass 2 parses the chunks in
// parallel straight into the arrays. The earliest fault in the text wins: faults
// after it may be mere echoes of it.
void parseBody(std::string_view text, const std::string& fileName, const Header& header,
               ResultData& data, const ReadProgress& progress, const ParseOptions& options) {
    std::vector<Chunk> chunks = splitIntoChunks(text, header.bodyStart, options.chunkBytes);
    const unsigned workers = options.workers > 0 ? options.workers : defaultWorkerCount();
    ProgressMeter meter(progress, text.size());
    const auto report = [&meter] { meter.report(); };

    const std::span<std::byte> stressStorage =
        header.fitsFile ? reserveStressStorage(data, header.layout) : std::span<std::byte>{};
    const std::size_t pieces = (stressStorage.size() + prefaultPieceBytes - 1) / prefaultPieceBytes;
    runTasks(
        pieces + chunks.size(), workers,
        [&](std::size_t task) {
            if (task < pieces) {
                const std::size_t offset = task * prefaultPieceBytes;
                return prefaultForWriting(
                    stressStorage.data() + offset,
                    std::min(prefaultPieceBytes, stressStorage.size() - offset));
            }
            Chunk& chunk = chunks[task - pieces];
            chunk.tokenCount = static_cast<std::int64_t>(
                countTokenStarts(text.data() + chunk.begin, text.data() + chunk.end));
            meter.counted(chunk.end - chunk.begin);
        },
        report);
    if (header.fitsFile) constructArrays(data, header.layout);

    std::int64_t tokensSeen = 0;
    for (Chunk& chunk : chunks) {
        chunk.firstToken = tokensSeen;
        tokensSeen += chunk.tokenCount;
    }

    const BodyParser parser(text, header.layout, header.fitsFile ? &data : nullptr);
    runTasks(
        chunks.size(), workers,
        [&](std::size_t task) {
            Chunk& chunk = chunks[task];
            if (chunk.firstToken < header.layout.tokenCount())
                chunk.fault = parser.parseChunk(chunk);
            meter.parsed(chunk.end - chunk.begin);
        },
        report);

    for (const Chunk& chunk : chunks)
        if (chunk.fault) throwFault(text, fileName, *chunk.fault);
    if (tokensSeen < header.layout.tokenCount() || !header.fitsFile)
        throwFault(text, fileName, {text.size(), expectedToken(header.layout, tokensSeen)});
}

}  // namespace

ResultData parseResultText(std::string_view text, const std::string& fileName,
                           const ReadProgress& progress, const ParseOptions& options) {
    if (progress && !progress(0.0)) throw ReadCancelled();
    const Header header = HeaderParser(text, fileName).parse();
    ResultData data;
    if (header.layout.tokenCount() > 0) {
        try {
            parseBody(text, fileName, header, data, progress, options);
        } catch (const std::bad_alloc&) {
            throw ResultFileError(std::string(resultFileReadErrorHeadline) + "\n" + fileName +
                                      ": not enough memory for " +
                                      std::to_string(header.layout.nodeCount) + " nodes and " +
                                      std::to_string(header.layout.elementCount) + " elements",
                                  fileName, 0);
        }
    }
    // The whole file has been read; only now is a node-less model refused.
    if (header.layout.nodeCount == 0)
        throwFault(text, fileName, {header.nodeCountStart, "at least one node"},
                   nodeCountErrorHeadline);
    if (progress && !progress(1.0)) throw ReadCancelled();
    return data;
}

}  // namespace corvelt
