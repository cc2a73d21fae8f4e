#include "formats/FrdReader.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"
#include "base/RegularFile.h"
#include "base/TaskPool.h"
#include "formats/FrdFault.h"
#include "formats/FrdFields.h"
#include "formats/FrdLayout.h"
#include "formats/NodeNumbers.h"
#include "formats/ShellFromBricks.h"
#include "model/PrincipalStress.h"

namespace corvelt {

namespace {

// The columns of the records, without the line end.
constexpr std::size_t nodeColumns = 3 + 10 + 3 * 12;
constexpr std::size_t elementHeadColumns = 3 + 10 + 3 * 5;
constexpr std::size_t elementNodeColumns = 3 + 8 * 10;
constexpr std::size_t stressColumns = 3 + 10 + 6 * 12;

// The bricks that CalculiX expands S4 and S4R shells into.
constexpr int brickType = 1;
constexpr int twoDimensionalShellType = 9;
// Shell nodes are numbered in 32 bits, four corners an element.
constexpr std::int64_t mostElements = std::numeric_limits<std::int32_t>::max() / 8;

// The earliest fault that any piece of work found.
class EarliestFault {
  public:
    void offer(FrdFault fault) {
        const std::lock_guard lock(mutex_);
        if (!fault_ || fault.offset < fault_->offset) fault_ = std::move(fault);
    }
    const std::optional<FrdFault>& fault() const { return fault_; }

  private:
    std::mutex mutex_;
    std::optional<FrdFault> fault_;
};

// The fixed-column records of one block: every record is `lines` lines of the
// given columns, each followed by the same line end as the block's first line.
class RecordBlock {
  public:
    RecordBlock(const TextSource& text, const FrdBlock& block, std::vector<std::size_t> columns,
                std::int64_t records)
        : text_(text), block_(block), columns_(std::move(columns)), records_(records) {
        std::vector<char> buffer;
        const std::string_view first = text.read(block.firstRecord, columns_[0] + 2, buffer);
        crlf_ = first.size() == columns_[0] + 2 && first[columns_[0]] == '\r';
        for (const std::size_t width : columns_)
            recordBytes_ += width + lineEndBytes();
    }

    std::size_t lineEndBytes() const { return crlf_ ? 2 : 1; }
    std::int64_t records() const { return records_; }

    // Whether the block is as long as its records would make it.
    bool fits() const {
        return block_.end - block_.firstRecord == static_cast<std::size_t>(records_) * recordBytes_;
    }

    // The first line, from the start of the block, whose length differs from the
    // one its record needs: where a block that does not fit goes wrong.
    FrdFault firstMisfit(const std::string& what) const {
        std::vector<char> buffer;
        std::size_t at = block_.firstRecord;
        for (std::size_t line = 0;; ++line) {
            const std::size_t width = columns_[line % columns_.size()];
            const std::string_view bytes = text_.read(at, width + 2, buffer);
            const std::size_t lf = bytes.find('\n');
            const bool right = lf == width + lineEndBytes() - 1 && (!crlf_ || bytes[width] == '\r');
            if (!right || at >= block_.end)
                return {at, "expected " + what + " of " + std::to_string(width) +
                                " columns, as CalculiX writes it"};
            at += lf + 1;
        }
    }

    // Calls parse(record, lines) for every record in pieces on all cores; `lines`
    // are the record's lines without their ends. A record whose lines do not end
    // where their columns do is a fault of its own.
    template <typename Parse>
    void forEachRecord(const FrdParseOptions& options, FrdProgress& progress, EarliestFault& faults,
                       const std::string& what, Parse parse) const {
        const auto perPiece =
            static_cast<std::int64_t>(std::max<std::size_t>(options.chunkBytes / recordBytes_, 1));
        const auto pieces = static_cast<std::size_t>((records_ + perPiece - 1) / perPiece);
        const unsigned workers = options.workers > 0 ? options.workers : defaultWorkerCount();
        std::vector<std::vector<char>> buffers(workers);
        // Past the piece, so that numbers near its end can be read a word at a time.
        constexpr std::size_t readAhead = 32;
        runTasks(
            pieces, workers,
            [&](std::size_t piece, unsigned worker) {
                const std::int64_t first = static_cast<std::int64_t>(piece) * perPiece;
                const std::int64_t last = std::min(first + perPiece, records_);
                const std::size_t from =
                    block_.firstRecord + static_cast<std::size_t>(first) * recordBytes_;
                const std::size_t bytes = static_cast<std::size_t>(last - first) * recordBytes_;
                const std::string_view text = text_.read(from, bytes + readAhead, buffers[worker]);
                std::array<std::string_view, 2> lines{};
                for (std::int64_t record = first; record < last; ++record) {
                    std::size_t at = static_cast<std::size_t>(record - first) * recordBytes_;
                    for (std::size_t k = 0; k < columns_.size(); ++k) {
                        const std::size_t width = columns_[k];
                        const bool ends =
                            crlf_ ? text[at + width] == '\r' && text[at + width + 1] == '\n'
                                  : text[at + width] == '\n';
                        if (!ends) {
                            faults.offer({from + at, "expected " + what + " of " +
                                                         std::to_string(width) +
                                                         " columns, as CalculiX writes it"});
                            return false;
                        }
                        lines[k] = text.substr(at, width);
                        at += width + lineEndBytes();
                    }
                    if (std::optional<FrdFault> fault =
                            parse(record, lines, text.data() + text.size())) {
                        fault->offset +=
                            from + static_cast<std::size_t>(record - first) * recordBytes_;
                        faults.offer(std::move(*fault));
                        return false;
                    }
                }
                progress.add(last - first);
                return true;
            },
            [&progress] { progress.report(); });
    }

    std::size_t recordOffset(std::int64_t record) const {
        return block_.firstRecord + static_cast<std::size_t>(record) * recordBytes_;
    }

  private:
    const TextSource& text_;
    FrdBlock block_;
    std::vector<std::size_t> columns_;
    std::int64_t records_;
    bool crlf_ = false;
    std::size_t recordBytes_ = 0;
};

// A field that does not hold what its columns should: `lineOffset` is where its
// line starts within the record, to which the record's offset is added.
FrdFault fieldFault(std::size_t lineOffset, std::string_view field, const std::string& expected,
                    std::size_t column, std::size_t width) {
    return {lineOffset, "expected " + expected + " in columns " + std::to_string(column + 1) +
                            " to " + std::to_string(column + width) + ", found " +
                            quotedField(field)};
}

// A record line of a node's values: " -1", the node number in ten columns, then
// the values in twelve columns each. These read its number and its values, or give
// the fault of the first field that does not hold what it should.
std::optional<FrdFault> readRecordNumber(std::string_view line, std::int32_t& number) {
    if (!line.starts_with(" -1")) return fieldFault(0, line.substr(0, 3), "' -1'", 0, 3);
    const std::optional<std::int32_t> read = integerField(line.substr(3, 10));
    if (!read) return fieldFault(0, line.substr(3, 10), "a node number", 3, 10);
    number = *read;
    return std::nullopt;
}

// `what` names a value in the fault.
template <std::size_t count>
std::optional<FrdFault> readRecordValues(std::string_view line, const char* readable,
                                         const std::string& what,
                                         std::array<double, count>& values) {
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view field = line.substr(13 + 12 * k, 12);
        const std::optional<double> value = realField(field, readable);
        if (!value) return fieldFault(0, field, what, 13 + 12 * k, 12);
        values[k] = *value;
    }
    return std::nullopt;
}

class Reader {
  public:
    Reader(const TextSource& text, const std::string& fileName, const ReadProgress& progress,
           const FrdParseOptions& options)
        : text_(text), fileName_(fileName), progress_(progress), options_(options) {}

    FrdResult read() {
        if (progress_ && !progress_(0.0)) throw ReadCancelled();
        FrdProgress scan(progress_, 0.0, 0.3, static_cast<std::int64_t>(text_.size()));
        const FrdLayoutOutcome outcome =
            scanFrdLayout(text_, scan, {options_.chunkBytes, options_.workers, options_.everyLine});
        if (outcome.fault) fail(*outcome.fault);
        layout_ = outcome.layout;

        readNodes();
        index_.emplace(numbers_);
        if (const std::optional<std::size_t> repeat = index_->firstRepeat())
            fail({nodeBlock().recordOffset(static_cast<std::int64_t>(*repeat)),
                  "node " + std::to_string(numbers_[*repeat]) + " stands twice in the node block"});
        readElements(*index_);

        FrdResult result;
        {
            RebuiltShell shell = rebuildShell(bricks_, brickNodes_);
            std::vector<Point3D>().swap(brickNodes_);  // no longer needed: the memory goes back
            result.data.nodes = std::move(shell.nodes);
            result.data.connectivity = std::move(shell.connectivity);
            result.facts.elementsAgainstNormal = shell.elementsAgainstNormal;
            result.facts.firstElementAgainstNormal = shell.firstElementAgainstNormal;
            findOwners(shell.pairs);
        }
        result.facts.stepCount = layout_.stepCount;
        result.facts.stressStep = layout_.stressStep;
        readStresses(result.data);
        text_.throwIfChanged();
        if (progress_ && !progress_(1.0)) throw ReadCancelled();
        return result;
    }

  private:
    [[noreturn]] void fail(const FrdFault& fault) const { throwFrdFault(text_, fileName_, fault); }

    void failOnFault(const EarliestFault& faults) const {
        if (faults.fault()) fail(*faults.fault());
    }

    RecordBlock nodeBlock() const {
        return {text_, layout_.nodes, {nodeColumns}, layout_.nodes.records};
    }

    void readNodes() {
        const RecordBlock block = nodeBlock();
        const std::string what = "a node record";
        if (block.records() == 0) fail({layout_.nodes.end, "the node block holds no nodes"});
        if (!block.fits()) fail(block.firstMisfit(what));
        const auto count = static_cast<std::size_t>(block.records());
        resizeOnHugePages(numbers_, count);
        resizeOnHugePages(brickNodes_, count);
        FrdProgress progress(progress_, 0.3, 0.45, block.records());
        EarliestFault faults;
        block.forEachRecord(
            options_, progress, faults, what,
            [&](std::int64_t record, const std::array<std::string_view, 2>& lines,
                const char* readable) -> std::optional<FrdFault> {
                const std::string_view line = lines[0];
                std::int32_t number = 0;
                if (std::optional<FrdFault> fault = readRecordNumber(line, number)) return fault;
                if (number < 1) return fieldFault(0, line.substr(3, 10), "a node number", 3, 10);
                std::array<double, 3> xyz{};
                if (std::optional<FrdFault> fault =
                        readRecordValues(line, readable, "a coordinate", xyz))
                    return fault;
                const auto at = static_cast<std::size_t>(record);
                numbers_[at] = number;
                brickNodes_[at] = {xyz[0], xyz[1], xyz[2]};
                return std::nullopt;
            });
        failOnFault(faults);
    }

    void readElements(const NodeNumbers& index) {
        const FrdBlock& elements = layout_.elements;
        const RecordBlock block(text_, elements, {elementHeadColumns, elementNodeColumns},
                                elements.records / 2);
        const std::string what = "the head of an element or its line of nodes";
        if (elements.records % 2 != 0 || !block.fits()) {
            failOnOtherTypes();
            fail(block.firstMisfit(what));
        }
        if (block.records() == 0) fail({elements.end, "the element block holds no elements"});
        if (block.records() > mostElements)
            fail({elements.end, "more elements than " + std::to_string(mostElements)});
        resizeOnHugePages(bricks_,
                          static_cast<std::size_t>(block.records()) * bricksNodesPerElement);
        FrdProgress progress(progress_, 0.45, 0.6, block.records());
        EarliestFault faults;
        std::atomic<bool> otherTypes{false};
        const std::size_t headBytes = elementHeadColumns + block.lineEndBytes();
        block.forEachRecord(
            options_, progress, faults, what,
            [&](std::int64_t record, const std::array<std::string_view, 2>& lines,
                const char*) -> std::optional<FrdFault> {
                const std::string_view head = lines[0];
                if (!head.starts_with(" -1"))
                    return fieldFault(0, head.substr(0, 3), "' -1'", 0, 3);
                if (!integerField(head.substr(3, 10)))
                    return fieldFault(0, head.substr(3, 10), "an element number", 3, 10);
                const std::optional<std::int32_t> type = integerField(head.substr(13, 5));
                if (type != brickType) {
                    otherTypes = true;
                    return FrdFault{0, "another element type"};
                }
                const std::string_view nodes = lines[1];
                if (!nodes.starts_with(" -2"))
                    return fieldFault(headBytes, nodes.substr(0, 3), "' -2'", 0, 3);
                std::int32_t* brick =
                    bricks_.data() + static_cast<std::size_t>(record) * bricksNodesPerElement;
                for (std::size_t k = 0; k < bricksNodesPerElement; ++k) {
                    const std::string_view field = nodes.substr(3 + 10 * k, 10);
                    const std::optional<std::int32_t> number = integerField(field);
                    if (!number)
                        return fieldFault(headBytes, field, "a node number", 3 + 10 * k, 10);
                    brick[k] = index.find(*number);
                    if (brick[k] < 0)
                        return FrdFault{headBytes, "element node " + std::to_string(*number) +
                                                       " is not in the node block"};
                }
                return std::nullopt;
            });
        if (otherTypes) failOnOtherTypes();
        failOnFault(faults);
        if (block.records() != layout_.elementsAnnounced)
            fail({elements.end, "the element block announces " +
                                    std::to_string(layout_.elementsAnnounced) +
                                    " elements but holds " + std::to_string(block.records())});
    }

    // Reads the heads of all elements and refuses a block of other types than the
    // bricks of shells, naming each type and how many elements have it.
    void failOnOtherTypes() const {
        const FrdBlock& elements = layout_.elements;
        std::map<std::int32_t, std::int64_t> counts;
        std::optional<std::size_t> firstOther;
        std::optional<std::size_t> firstTwoDimensional;
        std::vector<char> buffer;
        for (std::size_t at = elements.firstRecord; at < elements.end;) {
            const std::string_view bytes =
                text_.read(at, std::min<std::size_t>(elements.end - at, 1 << 16), buffer);
            std::size_t next = bytes.find('\n');
            const std::string_view line = bytes.substr(0, next);
            if (line.starts_with(" -1")) {
                const std::int32_t type = integerField(column(line, 13, 5)).value_or(-1);
                ++counts[type];
                if (type != brickType && !firstOther) firstOther = at;
                if (type == twoDimensionalShellType && !firstTwoDimensional)
                    firstTwoDimensional = at;
            }
            if (next == std::string_view::npos) {
                // A line longer than the piece read: find its end further on.
                if (bytes.empty()) break;
                next = bytes.size() - 1;
                for (;;) {
                    const std::string_view more = text_.read(at + next + 1, 1 << 16, buffer);
                    const std::size_t lf = more.find('\n');
                    if (more.empty()) return;
                    if (lf != std::string_view::npos) {
                        next += lf + 1;
                        break;
                    }
                    next += more.size();
                }
            }
            at += next + 1;
        }
        if (firstTwoDimensional) {
            const std::int64_t count = counts[twoDimensionalShellType];
            fail({*firstTwoDimensional,
                  std::to_string(count) + (count == 1 ? " element" : " elements") +
                      " of type 9, 2-D shell output (OUTPUT=2D): it averages the two surfaces "
                      "and loses the bending stress; solve again with 3-D output, CalculiX's "
                      "default, to see the stresses of both surfaces"});
        }
        if (!firstOther) return;
        std::string list;
        for (const auto& [type, count] : counts) {
            if (type == brickType) continue;
            if (!list.empty()) list += ", ";
            list += std::to_string(count) + (count == 1 ? " element" : " elements") + " of type " +
                    (type < 0 ? std::string("unreadable") : std::to_string(type) + typeName(type));
        }
        fail({*firstOther, list + ": only the 8-node bricks (type 1) that CalculiX expands "
                                  "4-node shells (S4, S4R) into can be read"});
    }

    static std::string typeName(std::int32_t type) {
        static constexpr std::array<const char*, 12> names{
            "8-node brick",  "6-node wedge",        "4-node tetrahedron", "20-node brick",
            "15-node wedge", "10-node tetrahedron", "3-node triangle",    "6-node triangle",
            "4-node shell",  "8-node shell",        "2-node beam",        "3-node beam"};
        if (type < 1 || type > static_cast<std::int32_t>(names.size())) return "";
        return std::string(" (") + names[static_cast<std::size_t>(type - 1)] + ")";
    }

    // A slot is one corner's record on one surface: element * 8 + surface * 4 + corner.
    // The first line of a corner (surface 0) is brick node k + 4, the second node k.
    static std::size_t slotOf(std::size_t element, std::size_t brickCorner) {
        const std::size_t surface = brickCorner < 4 ? 1 : 0;
        return element * 8 + surface * 4 + brickCorner % 4;
    }
    static StressRecord& recordAt(ResultData& data, std::size_t slot) {
        return data.elementStresses[slot / 8].surfaces[(slot / 4) % 2][slot % 4];
    }

    static constexpr auto noOwner = std::numeric_limits<std::uint32_t>::max();

    // Each brick node's stress is written into the first slot that uses it, its
    // owner, and then copied into the others through the shell nodes' pairs: no
    // array of stresses by node is needed beside the model's own, and the bricks
    // go before the model's stresses take their room.
    void findOwners(std::vector<std::pair<std::int32_t, std::int32_t>>& pairs) {
        const std::size_t elementCount = bricks_.size() / bricksNodesPerElement;
        owners_.assign(numbers_.size(), noOwner);
        for (std::size_t e = 0; e < elementCount; ++e)
            for (std::size_t k = 0; k < bricksNodesPerElement; ++k) {
                std::uint32_t& first =
                    owners_[static_cast<std::size_t>(bricks_[e * bricksNodesPerElement + k])];
                if (first == noOwner) first = static_cast<std::uint32_t>(slotOf(e, k));
            }
        elementCount_ = elementCount;
        std::vector<std::int32_t>().swap(bricks_);
        pairOwners_.resize(pairs.size());
        for (std::size_t n = 0; n < pairs.size(); ++n)
            pairOwners_[n] = {owners_[static_cast<std::size_t>(pairs[n].first)],
                              owners_[static_cast<std::size_t>(pairs[n].second)]};
        std::vector<std::pair<std::int32_t, std::int32_t>>().swap(pairs);
        // CalculiX writes its nodes in ascending order, and a stress block in the
        // same order: the numbers themselves are then the index, and the table goes.
        numbersAscend_ = std::is_sorted(numbers_.begin(), numbers_.end());
        if (numbersAscend_) index_.reset();
    }

    // The brick node of a stress record's number; -1 when no node has it.
    std::int32_t brickNodeOf(std::int64_t record, std::int32_t number) const {
        const auto at = static_cast<std::size_t>(record);
        if (at < numbers_.size() && numbers_[at] == number) return static_cast<std::int32_t>(at);
        if (!numbersAscend_) return index_->find(number);
        const auto found = std::lower_bound(numbers_.begin(), numbers_.end(), number);
        return found != numbers_.end() && *found == number
                   ? static_cast<std::int32_t>(found - numbers_.begin())
                   : -1;
    }

    void readStresses(ResultData& data) {
        const std::size_t elementCount = elementCount_;
        const std::vector<std::uint32_t>& owner = owners_;
        resizeOnHugePages(data.elementStresses, elementCount);

        const FrdBlock& stresses = layout_.stresses;
        const RecordBlock block(text_, stresses, {stressColumns}, stresses.records);
        const std::string what = "a stress record";
        if (!block.fits()) fail(block.firstMisfit(what));
        std::vector<std::atomic<std::uint8_t>> seen(numbers_.size());
        FrdProgress progress(progress_, 0.6, 0.9, block.records());
        EarliestFault faults;
        block.forEachRecord(
            options_, progress, faults, what,
            [&](std::int64_t record, const std::array<std::string_view, 2>& lines,
                const char* readable) -> std::optional<FrdFault> {
                const std::string_view line = lines[0];
                std::int32_t number = 0;
                if (std::optional<FrdFault> fault = readRecordNumber(line, number)) return fault;
                const std::int32_t node = brickNodeOf(record, number);
                if (node < 0)
                    return FrdFault{0, "a stress of node " + std::to_string(number) +
                                           ", which is not in the node block"};
                if (seen[static_cast<std::size_t>(node)].exchange(1) != 0)
                    return FrdFault{0, "a second stress of node " + std::to_string(number)};
                std::array<double, 6> s{};
                if (std::optional<FrdFault> fault = readRecordValues(line, readable, "a stress", s))
                    return fault;
                const std::uint32_t slot = owner[static_cast<std::size_t>(node)];
                if (slot == noOwner) return std::nullopt;  // a node of no element
                // In the file: SXX, SYY, SZZ, SXY, SYZ, SZX.
                StressRecord& stress = recordAt(data, slot);
                stress = {s[0], s[1], s[2], s[3], s[5], s[4], 0.0};
                stress[Se] = vonMisesStress(stress);
                return std::nullopt;
            });
        failOnFault(faults);
        for (std::size_t node = 0; node < numbers_.size(); ++node)
            if (owner[node] != noOwner && seen[node].load() == 0)
                fail({stresses.end, "the STRESS block holds no stress of node " +
                                        std::to_string(numbers_[node])});

        forEachChunk(elementCount, 16384, [&](std::size_t, std::size_t begin, std::size_t end) {
            for (std::size_t e = begin; e < end; ++e)
                for (std::size_t k = 0; k < 4; ++k) {
                    const auto& owners =
                        pairOwners_[static_cast<std::size_t>(data.connectivity[e * 4 + k])];
                    // Surface 0 is brick node k + 4, the pair's second.
                    for (std::size_t surface = 0; surface < 2; ++surface) {
                        const std::size_t slot = e * 8 + surface * 4 + k;
                        const std::uint32_t first = owners[1 - surface];
                        if (first != slot) recordAt(data, slot) = recordAt(data, first);
                    }
                }
        });
    }

    const TextSource& text_;
    const std::string& fileName_;
    const ReadProgress& progress_;
    FrdParseOptions options_;
    FrdLayout layout_;
    std::vector<std::int32_t> numbers_;  // by brick node: its number in the file
    std::vector<Point3D> brickNodes_;    // by brick node
    std::vector<std::int32_t> bricks_;   // eight brick nodes an element
    std::optional<NodeNumbers> index_;   // by number: the brick node
    bool numbersAscend_ = false;
    std::vector<std::uint32_t> owners_;  // by brick node: the slot its stress goes to
    std::vector<std::array<std::uint32_t, 2>> pairOwners_;  // by shell node: of k, k + 4
    std::size_t elementCount_ = 0;
};

}  // namespace

bool looksLikeFrd(std::string_view start) {
    return start.starts_with("    1C");
}

FrdResult parseFrdText(const TextSource& text, const std::string& fileName,
                       const ReadProgress& progress, const FrdParseOptions& options) {
    try {
        return Reader(text, fileName, progress, options).read();
    } catch (const std::bad_alloc&) {
        throw ResultFileError(std::string(resultFileReadErrorHeadline) + "\n" + fileName +
                                  ": not enough memory for the model",
                              fileName, 0);
    }
}

FrdResult readFrdFile(const std::filesystem::path& path, const ReadProgress& progress,
                      const FrdParseOptions& options) {
    const std::string fileName = path.string();
    const std::string headline(resultFileReadErrorHeadline);
    try {
        const RegularFile file(path);
        return parseFrdText(file, fileName, progress, options);
    } catch (const FileChanged& change) {
        throw ResultFileError(headline + "\n" + fileName + ": " + change.what(), fileName, 0);
    } catch (const std::system_error& error) {
        throw ResultFileError(headline + "\n" + error.code().message() + ": " + fileName, fileName,
                              0);
    }
}

}  // namespace corvelt
