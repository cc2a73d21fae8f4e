#include "formats/FrdLayout.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

#include "base/TaskPool.h"
#include "formats/FrdFields.h"

namespace corvelt {

namespace {

// A line that is not a record, as a chunk found it.
struct BlockLine {
    std::size_t offset = 0;
    std::int64_t lineInChunk = 0;  // lines of the chunk that start before it
};

struct ChunkLines {
    std::vector<BlockLine> blockLines;
    std::int64_t lines = 0;  // lines that start in the chunk
};

bool isRecordStart(const char* p) {
    return p[0] == ' ' && p[1] == '-' && (p[2] == '1' || p[2] == '2');
}

// The lines that start in [begin, end): a line starts at 0 and after every LF.
ChunkLines findLines(const TextSource& text, std::size_t begin, std::size_t end,
                     std::vector<char>& buffer) {
    // One byte before the chunk tells whether a line starts at its first byte, and
    // three after it hold the start of a line that begins at its last.
    const std::size_t from = begin == 0 ? 0 : begin - 1;
    const std::string_view bytes = text.read(from, end - from + 3, buffer);
    // Three blanks after the text keep the look at a line's start inside the buffer.
    std::string padded;
    std::string_view view = bytes;
    if (from + bytes.size() == text.size()) {
        padded.assign(bytes);
        padded.append(3, '\0');
        view = padded;
    }
    ChunkLines found;
    const char* const first = view.data();
    const char* const chunkEnd = first + (end - from);
    const auto take = [&](const char* start) {
        if (!isRecordStart(start))
            found.blockLines.push_back(
                {from + static_cast<std::size_t>(start - first), found.lines});
        ++found.lines;
    };
    const char* p = first;
    if (begin == 0) {
        take(p);
    }
    for (;;) {
        const auto* lf =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(chunkEnd - p)));
        if (lf == nullptr) break;
        p = lf + 1;
        if (p == chunkEnd || from + static_cast<std::size_t>(p - first) >= text.size()) break;
        take(p);
    }
    return found;
}

// The text of the line at `offset` without its line end, and where the next
// line starts.
struct LineText {
    std::string text;
    std::size_t next = 0;
};

LineText readLine(const TextSource& text, std::size_t offset) {
    std::vector<char> buffer;
    LineText line;
    for (std::size_t at = offset;;) {
        const std::string_view piece = text.read(at, 4096, buffer);
        const std::size_t lf = piece.find('\n');
        // Only the columns matter; a line longer than that is kept short.
        if (line.text.size() < 4096) line.text.append(piece.substr(0, lf));
        if (lf != std::string_view::npos) {
            line.next = at + lf + 1;
            break;
        }
        at += piece.size();
        if (piece.empty() || at >= text.size()) {
            line.next = text.size();
            break;
        }
    }
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    return line;
}

constexpr std::string_view stressComponentNamesInFile[] = {"SXX", "SYY", "SZZ",
                                                           "SXY", "SYZ", "SZX"};

// Walks the lines that are not records, in file order, and follows the blocks.
class LayoutWalk {
  public:
    explicit LayoutWalk(const TextSource& text) : text_(text) {}

    // The line at `offset`, which is the line `line` (zero-based) of the text, and
    // the records before it since the last such line. False once the walk is over.
    bool blockLine(std::int64_t line, std::size_t offset) {
        if (!takeRecords(line - lastLine_ - 1)) return false;
        lastLine_ = line;
        const LineText read = readLine(text_, offset);
        at_ = offset;
        lineEnd_ = read.next;
        take(read.text);
        return !done();
    }

    // Every line of the text has been seen; `lines` is their number.
    void textEnds(std::int64_t lines) {
        if (done()) return;
        if (!takeRecords(lines - lastLine_ - 1)) return;
        fail(text_.size(), "the file ends before the line ' 9999' that closes it: it is truncated");
    }

    bool done() const { return finished_ || fault_.has_value(); }
    bool finished() const { return finished_; }

    // The record lines that the block just opened announces, for records that
    // start after the last line walked; none outside a block that takes records.
    std::optional<std::int64_t> announcedRecordLines() const {
        switch (where_) {
            case Where::nodes:
                return announced_;
            case Where::elements:
                return 2 * announced_;  // a head and a line of nodes an 8-node brick
            case Where::resultHead:
                return sawName_ ? std::optional<std::int64_t>(announced_) : std::nullopt;
            default:
                return std::nullopt;
        }
    }
    const std::optional<FrdFault>& fault() const { return fault_; }
    const FrdLayout& layout() const { return layout_; }

  private:
    enum class Where { header, nodes, elements, results, resultHead, resultRecords, finished };

    void fail(std::size_t offset, std::string message) {
        if (!fault_) fault_ = FrdFault{offset, std::move(message)};
    }

    // Record lines are allowed inside the node and element blocks and after the
    // head of a result block.
    bool takeRecords(std::int64_t count) {
        if (count <= 0 || done()) return !done();
        switch (where_) {
            case Where::nodes:
            case Where::elements:
            case Where::resultRecords:
                block_.records += count;
                return true;
            case Where::resultHead:
                if (sawName_) {
                    where_ = Where::resultRecords;
                    block_.firstRecord = lineEnd_;
                    block_.records = count;
                    return true;
                }
                fail(lineEnd_, "expected the line ' -4' that names the results, found a record");
                return false;
            default:
                fail(lineEnd_, std::string("expected ") + expectedBlockLine() + ", found a record");
                return false;
        }
    }

    const char* expectedBlockLine() const {
        if (!seenNodes_) return "the node block '    2C'";
        if (!seenElements_) return "the element block '    3C'";
        return "a result block '  100C' or the closing line ' 9999'";
    }

    void take(const std::string& lineText) {
        const std::string_view line = lineText;
        if (line.starts_with(" -3")) return closeBlock();
        if (where_ == Where::nodes || where_ == Where::elements || where_ == Where::resultRecords)
            return fail(at_, "expected a record or the line ' -3' that closes the block, found " +
                                 quotedField(line));
        if (where_ == Where::resultHead) return resultHead(line);
        if (line.starts_with("    1P")) {
            if (line.starts_with("    1PSTEP")) pendingStep_ = integerField(column(line, 48, 12));
            return;
        }
        if (line.starts_with("    1C") || line.starts_with("    1U")) return;
        if (line.starts_with("    2C")) return openGeometry(line, seenNodes_, Where::nodes, "node");
        if (line.starts_with("    3C")) {
            if (!seenNodes_)
                return fail(at_, "expected the node block '    2C' before the elements");
            return openGeometry(line, seenElements_, Where::elements, "element");
        }
        if (line.starts_with("  100C")) return openResult(line);
        if (line.starts_with(" 9999")) return closeFile();
        fail(at_, std::string("expected ") + expectedBlockLine() + ", found " + quotedField(line));
    }

    void openGeometry(std::string_view line, bool& seen, Where where, const char* what) {
        if (seen) return fail(at_, std::string("a second ") + what + " block");
        if (where == Where::nodes && seenElements_)
            return fail(at_, "the node block after the elements");
        const std::optional<std::int32_t> count = integerField(column(line, 24, 12));
        if (!count || *count < 0)
            return fail(at_, std::string("expected the number of ") + what +
                                 "s in columns 25 to 36, found " +
                                 quotedField(column(line, 24, 12)));
        const std::string_view format =
            trimmedField(line.substr(std::min<std::size_t>(36, line.size())));
        if (format != "1")
            return fail(at_, std::string("the ") + what + " block is in format " +
                                 quotedField(format) +
                                 "; only format 1, text with 10-digit numbers as CalculiX "
                                 "writes it, can be read");
        seen = true;
        where_ = where;
        announced_ = *count;
        block_ = {lineEnd_, 0, 0};
    }

    void openResult(std::string_view line) {
        if (!seenElements_)
            return fail(at_,
                        std::string("expected ") + expectedBlockLine() + " before the results");
        const std::optional<std::int32_t> count = integerField(column(line, 24, 12));
        if (!count || *count < 0)
            return fail(at_, "expected the number of nodes in columns 25 to 36, found " +
                                 quotedField(column(line, 24, 12)));
        std::optional<std::int32_t> step = pendingStep_;
        if (!step) step = integerField(column(line, 58, 5));
        pendingStep_.reset();
        const std::int32_t stepNumber = step.value_or(0);
        if (layout_.stepCount == 0 || stepNumber != lastStep_) ++layout_.stepCount;
        lastStep_ = stepNumber;
        where_ = Where::resultHead;
        announced_ = *count;
        sawName_ = false;
        isStress_ = false;
        components_ = 0;
        block_ = {lineEnd_, 0, 0};
    }

    void resultHead(std::string_view line) {
        if (!sawName_) {
            if (!line.starts_with(" -4"))
                return fail(at_, "expected the line ' -4' that names the results, found " +
                                     quotedField(line));
            sawName_ = true;
            isStress_ = trimmedField(column(line, 5, 8)) == "STRESS";
            if (isStress_ && integerField(column(line, 13, 5)) != 6)
                return fail(at_, "expected 6 components of STRESS, found " +
                                     quotedField(column(line, 13, 5)));
            return;
        }
        if (!line.starts_with(" -5"))
            return fail(at_,
                        "expected a component line ' -5' or a record, found " + quotedField(line));
        if (isStress_) {
            if (components_ >= 6) return fail(at_, "more than 6 components of STRESS");
            const std::string_view name = trimmedField(column(line, 5, 8));
            if (name != stressComponentNamesInFile[components_])
                return fail(at_, std::string("expected the component ") +
                                     std::string(stressComponentNamesInFile[components_]) +
                                     ", found " + quotedField(name));
        }
        ++components_;
    }

    void closeBlock() {
        switch (where_) {
            case Where::nodes:
            case Where::elements: {
                const bool nodes = where_ == Where::nodes;
                // Element blocks are checked by the reader: elements of other types
                // take other numbers of lines, and it names them from their heads.
                if (nodes && block_.records != announced_)
                    return fail(at_, "the node block announces " + std::to_string(announced_) +
                                         " nodes but holds " + std::to_string(block_.records));
                block_.end = at_;
                if (nodes) {
                    layout_.nodes = block_;
                } else {
                    layout_.elements = block_;
                    layout_.elementsAnnounced = announced_;
                }
                where_ = Where::results;
                return;
            }
            case Where::resultHead:
                if (!sawName_)
                    return fail(at_, "expected the line ' -4' that names the results, found ' -3'");
                block_.firstRecord = at_;
                [[fallthrough]];
            case Where::resultRecords:
                if (block_.records != announced_)
                    return fail(at_, "the result block announces " + std::to_string(announced_) +
                                         " nodes but holds " + std::to_string(block_.records));
                if (isStress_) {
                    if (components_ != 6) return fail(at_, "expected 6 components of STRESS");
                    block_.end = at_;
                    layout_.stresses = block_;
                    layout_.stressStep = lastStep_;
                    seenStress_ = true;
                }
                where_ = Where::results;
                return;
            default:
                fail(at_, "a line ' -3' outside a block");
        }
    }

    void closeFile() {
        if (!seenElements_)
            return fail(at_, std::string("expected ") + expectedBlockLine() + ", found ' 9999'");
        if (!seenStress_)
            return fail(at_,
                        "the file holds no STRESS block; ask CalculiX for the stresses "
                        "with *EL FILE and S");
        where_ = Where::finished;
        finished_ = true;
    }

    const TextSource& text_;
    FrdLayout layout_;
    std::optional<FrdFault> fault_;
    bool finished_ = false;
    Where where_ = Where::header;
    std::int64_t lastLine_ = -1;  // the last line walked
    std::size_t at_ = 0;          // its offset
    std::size_t lineEnd_ = 0;     // where the line after it starts
    bool seenNodes_ = false;
    bool seenElements_ = false;
    bool seenStress_ = false;
    std::int64_t announced_ = 0;
    FrdBlock block_;
    std::optional<std::int32_t> pendingStep_;
    std::int32_t lastStep_ = 0;
    bool sawName_ = false;
    bool isStress_ = false;
    int components_ = 0;
};

// Chunks are walked in order, each once the one before it has been.
class WalkTurns {
  public:
    // False when the walk stopped before it was this chunk's turn.
    bool waitFor(std::size_t chunk) {
        std::unique_lock lock(mutex_);
        turn_.wait(lock, [&] { return walked_ == chunk || stopped_; });
        return !stopped_;
    }
    void done(std::size_t chunk, bool stop) {
        {
            const std::lock_guard lock(mutex_);
            walked_ = chunk + 1;
            stopped_ = stopped_ || stop;
        }
        turn_.notify_all();
    }
    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        turn_.notify_all();
    }
    std::size_t walked() {
        const std::lock_guard lock(mutex_);
        return walked_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable turn_;
    std::size_t walked_ = 0;
    bool stopped_ = false;
};

}  // namespace

// The layout found by reading the lines that are not records alone: a block's
// records are taken to be as many lines as it announces, each as long as its
// first, and the line after them must close the block. Nothing when the text
// does not bear that out anywhere, or is faulty: the line-by-line scan then
// finds what is there. The records themselves are checked when they are read.
std::optional<FrdLayout> layoutByJumps(const TextSource& text) {
    LayoutWalk walk(text);
    std::int64_t line = 0;
    std::size_t at = 0;
    std::vector<char> buffer;
    const auto lineLength = [&](std::size_t offset) -> std::optional<std::size_t> {
        const std::string_view bytes = text.read(offset, 4096, buffer);
        const std::size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) return std::nullopt;
        return lf + 1;
    };
    const auto isRecordAt = [&](std::size_t offset) {
        const std::string_view bytes = text.read(offset, 3, buffer);
        return bytes.size() == 3 && isRecordStart(bytes.data());
    };
    while (at < text.size()) {
        if (isRecordAt(at)) return std::nullopt;  // records where the walk expects none
        const std::optional<std::size_t> length = lineLength(at);
        if (!length) return std::nullopt;
        if (!walk.blockLine(line, at)) break;
        at += *length;
        ++line;
        const std::optional<std::int64_t> records = walk.announcedRecordLines();
        if (!records || *records == 0 || at >= text.size() || !isRecordAt(at)) continue;
        // The records' bytes: one line, or a head and a line of nodes, repeated.
        const std::optional<std::size_t> first = lineLength(at);
        if (!first) return std::nullopt;
        std::size_t unit = *first;
        std::int64_t units = *records;
        if (*records % 2 == 0 && text.read(at, 3, buffer) == " -1") {
            const std::optional<std::size_t> second = lineLength(at + *first);
            if (second && isRecordAt(at + *first) && text.read(at + *first, 3, buffer) == " -2") {
                unit += *second;
                units /= 2;
            }
        }
        if (static_cast<std::uint64_t>(units) > (text.size() - at) / unit) return std::nullopt;
        const std::size_t end = at + static_cast<std::size_t>(units) * unit;
        const std::string_view before = text.read(end - 1, 1, buffer);
        if (before != "\n" || end >= text.size() || isRecordAt(end)) return std::nullopt;
        at = end;
        line += *records;
    }
    if (!walk.finished()) return std::nullopt;
    return walk.layout();
}

FrdLayoutOutcome scanFrdLayout(const TextSource& text, FrdProgress& progress,
                               const FrdScanOptions& options) {
    const std::size_t chunkBytes = std::max<std::size_t>(options.chunkBytes, 1);
    const std::size_t chunkCount =
        std::max<std::size_t>((text.size() + chunkBytes - 1) / chunkBytes, 1);
    if (std::optional<FrdLayout> layout = options.everyLine ? std::nullopt : layoutByJumps(text)) {
        progress.add(static_cast<std::int64_t>(text.size()));
        progress.report();
        return {*layout, std::nullopt};
    }
    const unsigned workers = options.workers > 0 ? options.workers : defaultWorkerCount();
    LayoutWalk walk(text);
    WalkTurns turns;
    std::int64_t linesBefore = 0;  // lines of the chunks walked so far
    std::vector<std::vector<char>> buffers(workers);

    runTasks(
        chunkCount, workers,
        [&](std::size_t chunk, unsigned worker) {
            const std::size_t begin = chunk * chunkBytes;
            const std::size_t end = std::min(begin + chunkBytes, text.size());
            ChunkLines lines;
            try {
                if (begin < end) lines = findLines(text, begin, end, buffers[worker]);
                if (!turns.waitFor(chunk)) return false;
                for (const BlockLine& line : lines.blockLines)
                    if (!walk.blockLine(linesBefore + line.lineInChunk, line.offset)) break;
            } catch (...) {
                turns.stop();
                throw;
            }
            linesBefore += lines.lines;
            progress.add(static_cast<std::int64_t>(end - begin));
            turns.done(chunk, walk.done());
            return !walk.done();
        },
        [&progress] { progress.report(); });
    if (turns.walked() == chunkCount) walk.textEnds(linesBefore);
    return {walk.layout(), walk.fault()};
}

}  // namespace corvelt
