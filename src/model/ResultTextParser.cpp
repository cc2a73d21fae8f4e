#include "model/ResultTextParser.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

#include "base/LineEndCount.h"
#include "base/NumberScan.h"
#include "base/QuotedBytes.h"
#include "base/Prefault.h"
#include "model/ResultBodyParser.h"
#include "model/ResultFileError.h"
#include "model/ResultFileLayout.h"
#include "base/TaskPool.h"
#include "model/TokenCount.h"

namespace corvelt {

namespace {

constexpr std::string_view nodeCountKey = "NPOIN=";
constexpr std::string_view elementCountKey = "NELEM=";

// Bytes read past a chunk at first, so that its last token can be read whole;
// doubled as often as a longer token needs.
std::size_t firstLookahead(std::size_t chunkBytes) {
    return std::clamp<std::size_t>(chunkBytes / 16, 1, 4096);
}

// ---- Messages -------------------------------------------------------------

std::int64_t lineAt(const TextSource& text, std::size_t offset) {
    constexpr std::size_t piece = std::size_t{1} << 20;
    offset = std::min(offset, text.size());
    LineEndCount lineEnds;
    std::vector<char> buffer;
    for (std::size_t at = 0; at < offset; at += piece)
        lineEnds.add(text.read(at, std::min(piece, offset - at), buffer));
    return 1 + lineEnds.count();
}

// The offending token quoted: its bytes up to the next separator, or the one
// separator found instead of a token, shortened; bytes that are not printable
// ASCII are shown as \xNN so the message stays valid UTF-8.
std::string quoteFoundText(const TextSource& text, std::size_t offset) {
    constexpr std::size_t maxShown = 24;
    std::vector<char> buffer;
    const std::string_view found = text.read(offset, maxShown + 1, buffer);
    if (found.empty()) return "end of file";
    if (found[0] == '\n' || found[0] == '\r') return "end of line";
    std::size_t length = 1;
    if (!isSeparator(found[0]))
        while (length < found.size() && !isSeparator(found[length]))
            ++length;
    return quotedBytes(found.substr(0, length), maxShown);
}

// A fault in a text that changed while it was read may be an echo of the change,
// so the change is what gets reported then.
[[noreturn]] void throwFault(const TextSource& text, const std::string& fileName,
                             const Fault& fault,
                             std::string_view headline = resultFileReadErrorHeadline) {
    text.throwIfChanged();
    const std::int64_t line = lineAt(text, fault.offset);
    throw ResultFileError(std::string(headline) + "\n" + fileName + ":" + std::to_string(line) +
                              ": expected " + fault.expected + ", found " +
                              quoteFoundText(text, fault.offset),
                          fileName, line);
}

// ---- The two count lines --------------------------------------------------

struct Header {
    ResultFileLayout layout;
    std::size_t bodyStart = 0;  // the blank after the element count

    // The fewest bytes that the records take (at least one digit per number and
    // one separator before it). A body that is shorter, or that holds anything
    // else in them, is certainly faulty.
    std::int64_t minimumBodyBytes() const {
        return layout.nodeCount * minimumNodeBytes + layout.elementCount * minimumElementBytes;
    }
};

// The count lines reach past the piece of text that was read for them.
struct WindowTooShort {};

class HeaderParser {
  public:
    HeaderParser(const TextSource& text, const std::string& fileName, std::string_view window)
        : text_(text),
          fileName_(fileName),
          first_(window.data()),
          last_(window.data() + window.size()),
          reachesTextEnd_(window.size() == text.size()) {}

    Header parse() {
        const char* p = first_;
        need(p, nodeCountKey.size());
        if (!std::string_view(p, static_cast<std::size_t>(last_ - p)).starts_with(nodeCountKey))
            fail(p, "'NPOIN=' at the start of the file");
        p += nodeCountKey.size();
        Header header;
        header.layout.nodeCount = readCount(p, "a node count");
        // Nothing in the rest of the file can make up for a file without nodes.
        if (header.layout.nodeCount == 0)
            fail(countStart_, "at least one node", nodeCountErrorHeadline);

        skipBlanks(p);
        need(p, elementCountKey.size());
        if (!std::string_view(p, static_cast<std::size_t>(last_ - p)).starts_with(elementCountKey))
            fail(p, "'NELEM=' after the node count");
        p += elementCountKey.size();
        header.layout.elementCount = readCount(p, "an element count");
        if (p != last_ && !isBlank(*p))
            fail(p, "white space or a line break after the element count");
        header.bodyStart = offsetOf(p);
        return header;
    }

  private:
    // Makes sure that `bytes` bytes from p are in the window, unless the text ends first.
    void need(const char* p, std::size_t bytes) const {
        if (!reachesTextEnd_ && static_cast<std::size_t>(last_ - p) < bytes) throw WindowTooShort{};
    }

    std::int64_t readCount(const char*& p, const std::string& what) {
        skipBlanks(p);
        countStart_ = p;
        const ScanResult<std::int32_t> count = scanInt32(p, last_);
        // The digits and a byte after them, to know that the number ends there.
        need(count.end != nullptr ? count.end : p, 8);
        if (count.status != ScanStatus::ok) fail(p, what);
        if (count.value < 0) fail(p, what + " of 0 or more");
        p = count.end;
        return count.value;
    }

    void skipBlanks(const char*& p) const {
        while (p != last_ && isBlank(*p))
            ++p;
        need(p, 1);
    }

    std::size_t offsetOf(const char* at) const { return static_cast<std::size_t>(at - first_); }

    [[noreturn]] void fail(const char* at, std::string expected,
                           std::string_view headline = resultFileReadErrorHeadline) const {
        throwFault(text_, fileName_, {offsetOf(at), std::move(expected)}, headline);
    }

    const TextSource& text_;
    const std::string& fileName_;
    const char* first_;
    const char* last_;
    bool reachesTextEnd_;
    const char* countStart_ = nullptr;
};

// The count lines are short; blank lines between them may make them longer.
Header readHeader(const TextSource& text, const std::string& fileName) {
    std::vector<char> buffer;
    for (std::size_t length = 4096;; length *= 2) {
        try {
            return HeaderParser(text, fileName, text.read(0, length, buffer)).parse();
        } catch (const WindowTooShort&) {
        }
    }
}

// ---- The body, in chunks --------------------------------------------------

// Bytes that records are made of: the digits, signs, full stops and exponent
// letters of numbers, commas and white space.
bool isRecordByte(char c) {
    return static_cast<unsigned char>(c - '0') < 10 || c == '+' || c == '-' || c == '.' ||
           c == 'e' || c == 'E' || isSeparator(c);
}

// Whether the body can hold the records its counts announce: it is long enough,
// and samples spread over the bytes that the records fill at the least hold
// nothing but record bytes. A body that fails is certainly faulty; it gets no
// arrays, but is still parsed to find the first place where it departs from its
// counts, which is what the user should see. A few small reads thus keep a file
// of holes or garbage from being given the gigabytes its counts ask for.
bool mayHoldItsRecords(const TextSource& text, const Header& header) {
    const auto bodyBytes = static_cast<std::int64_t>(text.size() - header.bodyStart);
    const std::int64_t minimum = header.minimumBodyBytes();
    if (minimum > bodyBytes) return false;
    constexpr int samples = 32;
    constexpr std::size_t sampleBytes = 256;
    std::vector<char> buffer;
    for (int k = 0; k < samples; ++k) {
        const auto offset = header.bodyStart + static_cast<std::size_t>(minimum / samples * k);
        const std::size_t length =
            std::min(sampleBytes, header.bodyStart + static_cast<std::size_t>(minimum) - offset);
        const std::string_view sample = text.read(offset, length, buffer);
        if (!std::all_of(sample.begin(), sample.end(), isRecordByte)) return false;
    }
    return true;
}

// The first token of each chunk, known once every chunk before it has been
// counted. Chunks are counted in any order, by any thread.
class TokenPrefix {
  public:
    explicit TokenPrefix(std::size_t chunks) : counts_(chunks, unknown), firsts_(chunks + 1, 0) {}

    void publish(std::size_t chunk, std::int64_t count) { set(chunk, count); }
    // The chunk could not be counted: no chunk after it learns its first token.
    void fail(std::size_t chunk) { set(chunk, failed); }

    // Waits for the chunks before `chunk` to be counted; nothing when one of them failed.
    std::optional<std::int64_t> firstTokenOf(std::size_t chunk) {
        std::unique_lock lock(mutex_);
        known_.wait(lock, [&] { return counted_ >= chunk || failed_; });
        if (counted_ < chunk) return std::nullopt;
        return firsts_[chunk];
    }

    // The tokens of the chunks counted so far without a gap from the first.
    std::int64_t countedTokens() {
        const std::lock_guard lock(mutex_);
        return firsts_[counted_];
    }

  private:
    static constexpr std::int64_t unknown = -1;
    static constexpr std::int64_t failed = -2;

    void set(std::size_t chunk, std::int64_t value) {
        {
            const std::lock_guard lock(mutex_);
            counts_[chunk] = value;
            for (; counted_ < counts_.size() && counts_[counted_] >= 0; ++counted_)
                firsts_[counted_ + 1] = firsts_[counted_] + counts_[counted_];
            failed_ = counted_ < counts_.size() && counts_[counted_] == failed;
        }
        known_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable known_;
    std::vector<std::int64_t> counts_;
    std::vector<std::int64_t> firsts_;  // firsts_[c]: the first token of chunk c
    std::size_t counted_ = 0;           // chunks 0 .. counted_ - 1 are counted
    bool failed_ = false;
};

// The result's arrays, reserved at their full size but grown only as chunks are
// about to store into them. Reserving costs address space, not memory; growing
// only where tokens have been counted keeps memory in step with what the file
// holds, whatever its counts claim. Storage never moves, so chunks store
// through fixed pointers while others grow the arrays.
class GrowingArrays {
  public:
    // Throws std::bad_alloc when there is not even room to reserve.
    GrowingArrays(ResultData& data, const ResultFileLayout& layout) : data_(data), layout_(layout) {
        data_.nodes.reserve(static_cast<std::size_t>(layout.nodeCount));
        data_.connectivity.reserve(static_cast<std::size_t>(layout.elementCount) *
                                   ShellModel::nodesPerElement);
        data_.elementStresses.reserve(static_cast<std::size_t>(layout.elementCount));
        adviseHugePages(data_.nodes.data(), data_.nodes.capacity() * sizeof(Point3D));
        adviseHugePages(data_.connectivity.data(),
                        data_.connectivity.capacity() * sizeof(std::int32_t));
        adviseHugePages(data_.elementStresses.data(),
                        data_.elementStresses.capacity() * sizeof(ElementStressBlock));
    }

    ResultArrays pointers() const {
        return {data_.nodes.data(), data_.connectivity.data(), data_.elementStresses.data()};
    }

    // Makes room for the tokens [firstToken, tokenEnd) of the body. The pages are
    // populated outside the lock, so that threads share that cost.
    void cover(std::int64_t firstToken, std::int64_t tokenEnd) {
        const std::int64_t nodeTokens = layout_.nodeTokenCount();
        const std::int64_t nodeBegin = std::min(firstToken, nodeTokens) / tokensPerNode;
        const std::int64_t nodeEnd = ceilDiv(std::min(tokenEnd, nodeTokens), tokensPerNode);
        const std::int64_t elementBegin =
            std::max<std::int64_t>(firstToken - nodeTokens, 0) / tokensPerElement;
        const std::int64_t elementEnd =
            ceilDiv(std::max<std::int64_t>(tokenEnd - nodeTokens, 0), tokensPerElement);
        prefault(data_.nodes, nodeBegin, nodeEnd);
        prefault(data_.connectivity, elementBegin * ShellModel::nodesPerElement,
                 elementEnd * ShellModel::nodesPerElement);
        prefault(data_.elementStresses, elementBegin, elementEnd);

        const std::lock_guard lock(mutex_);
        growTo(data_.nodes, nodeEnd);
        growTo(data_.connectivity, elementEnd * ShellModel::nodesPerElement);
        growTo(data_.elementStresses, elementEnd);
    }

  private:
    static std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

    template <typename T>
    static void prefault(std::vector<T>& array, std::int64_t begin, std::int64_t end) {
        if (end > begin)
            prefaultForWriting(array.data() + begin,
                               static_cast<std::size_t>(end - begin) * sizeof(T));
    }

    template <typename T>
    static void growTo(std::vector<T>& array, std::int64_t size) {
        if (static_cast<std::size_t>(size) > array.size())
            array.resize(static_cast<std::size_t>(size));
    }

    ResultData& data_;
    const ResultFileLayout& layout_;
    std::mutex mutex_;
};

// The earliest fault that any chunk found: faults after it may be mere echoes of it.
class EarliestFault {
  public:
    void offer(Fault fault) {
        const std::lock_guard lock(mutex_);
        if (!fault_ || fault.offset < fault_->offset) fault_ = std::move(fault);
    }
    const std::optional<Fault>& fault() const { return fault_; }

  private:
    std::mutex mutex_;
    std::optional<Fault> fault_;
};

// Tells the caller's callback how much of the body is done, from the calling
// thread only, whenever that has grown.
class ProgressMeter {
  public:
    ProgressMeter(const ReadProgress& progress, std::size_t totalBytes)
        : progress_(progress),
          totalBytes_(static_cast<double>(std::max<std::size_t>(totalBytes, 1))) {}

    void add(std::size_t bytes) { doneBytes_.fetch_add(bytes, std::memory_order_relaxed); }

    void report() {
        if (!progress_) return;
        const double fraction = std::min(
            static_cast<double>(doneBytes_.load(std::memory_order_relaxed)) / totalBytes_, 1.0);
        if (fraction <= lastReported_) return;
        lastReported_ = fraction;
        // Thrown on the calling thread between chunks: no further chunk is started,
        // and it is rethrown once the running ones are done.
        if (!progress_(fraction)) throw ReadCancelled();
    }

  private:
    const ReadProgress& progress_;
    double totalBytes_;
    std::atomic<std::size_t> doneBytes_{0};
    double lastReported_ = 0.0;
};

// Each chunk is read, counted and parsed by one thread. Counting is cheap and is
// published at once, so the next chunk soon learns which token it starts with;
// parsing, the costly part, then runs on all threads at once. Chunks are started
// in order, and none after the one that holds the last record or a fault.
void parseBody(const TextSource& text, const std::string& fileName, const Header& header,
               ResultData& data, const ReadProgress& progress, const ParseOptions& options) {
    const std::size_t chunkBytes = std::max<std::size_t>(options.chunkBytes, 1);
    const std::size_t bodyBytes = text.size() - header.bodyStart;
    const std::size_t chunkCount = (bodyBytes + chunkBytes - 1) / chunkBytes;
    const unsigned workers = options.workers > 0 ? options.workers : defaultWorkerCount();
    const std::int64_t tokenCount = header.layout.tokenCount();

    std::optional<GrowingArrays> arrays;
    bool outOfMemory = false;
    if (mayHoldItsRecords(text, header)) {
        try {
            arrays.emplace(data, header.layout);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;  // still parsed, to find a fault if there is one
        }
    }
    const ResultBodyParser parser(header.layout, arrays ? arrays->pointers() : ResultArrays{});
    TokenPrefix prefix(chunkCount);
    EarliestFault earliestFault;
    ProgressMeter meter(progress, bodyBytes);
    std::vector<std::vector<char>> buffers(workers);

    const auto readChunk = [&](std::size_t begin, std::size_t end, std::size_t lookahead,
                               std::vector<char>& buffer) {
        const std::string_view bytes = text.read(begin - 1, end - begin + 1 + lookahead, buffer);
        return ChunkWindow{bytes, begin - 1, end - begin + 1,
                           begin - 1 + bytes.size() == text.size()};
    };

    const auto parseChunk = [&](std::size_t chunk, unsigned worker) {
        const std::size_t begin = header.bodyStart + chunk * chunkBytes;
        const std::size_t end = std::min(begin + chunkBytes, text.size());
        std::size_t lookahead = firstLookahead(chunkBytes);
        ChunkWindow window;
        std::int64_t count = 0;
        try {
            window = readChunk(begin, end, lookahead, buffers[worker]);
            count = ResultBodyParser::countTokens(window);
        } catch (...) {
            prefix.fail(chunk);
            throw;
        }
        prefix.publish(chunk, count);
        // The chunk counts as done for the progress however it ends.
        const struct DoneWhenLeft {
            ProgressMeter& meter;
            std::size_t bytes;
            ~DoneWhenLeft() { meter.add(bytes); }
        } done{meter, end - begin};

        const std::optional<std::int64_t> firstToken = prefix.firstTokenOf(chunk);
        if (!firstToken || *firstToken >= tokenCount) return false;
        const std::int64_t tokenEnd = std::min(*firstToken + count, tokenCount);
        if (arrays) arrays->cover(*firstToken, tokenEnd);
        for (;;) {
            const ChunkOutcome outcome = parser.parse(window, *firstToken, tokenEnd);
            if (outcome.fault) {
                earliestFault.offer(*outcome.fault);
                return false;
            }
            if (!outcome.needsLongerWindow) break;
            lookahead *= 2;
            window = readChunk(begin, end, lookahead, buffers[worker]);
        }
        return tokenEnd < tokenCount;
    };
    runTasks(chunkCount, workers, parseChunk, [&meter] { meter.report(); });

    if (earliestFault.fault()) throwFault(text, fileName, *earliestFault.fault());
    const std::int64_t tokensSeen = prefix.countedTokens();
    if (tokensSeen < tokenCount)
        throwFault(text, fileName, {text.size(), expectedToken(header.layout, tokensSeen)});
    if (outOfMemory) throw std::bad_alloc();
}

}  // namespace

ResultData parseResultText(const TextSource& text, const std::string& fileName,
                           const ReadProgress& progress, const ParseOptions& options) {
    if (progress && !progress(0.0)) throw ReadCancelled();
    const Header header = readHeader(text, fileName);
    ResultData data;
    try {
        parseBody(text, fileName, header, data, progress, options);
    } catch (const std::bad_alloc&) {
        throw ResultFileError(std::string(resultFileReadErrorHeadline) + "\n" + fileName +
                                  ": not enough memory for " +
                                  std::to_string(header.layout.nodeCount) + " nodes and " +
                                  std::to_string(header.layout.elementCount) + " elements",
                              fileName, 0);
    }
    text.throwIfChanged();
    if (progress && !progress(1.0)) throw ReadCancelled();
    return data;
}

}  // namespace corvelt
