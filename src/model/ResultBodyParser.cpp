#include "model/ResultBodyParser.h"

#include "base/NumberScan.h"
#include "model/ShellModel.h"
#include "model/TokenCount.h"
#include "model/TokenStarts.h"

namespace corvelt {

namespace {

// A scanner looks at most this many bytes past the end of what it reads ("1e+5",
// "infinity"); a token read closer than that to the end of a window that does not
// reach the end of the text may read differently in the whole text.
constexpr std::ptrdiff_t scanLookahead = 8;

// Whether a number of a row that ends at `end` is followed as the format wants by
// the next token, which starts at `next`. All bytes between are separators; the
// first must be a comma within a line, and no other may be one.
inline bool separatedWell(const char* end, const char* next, bool endsLine) {
    if (next == nullptr || (endsLine ? !isBlank(*end) : *end != ',')) return false;
    for (const char* between = end + 1; between < next; ++between)
        if (*between == ',') return false;
    return true;
}

}  // namespace

std::string expectedToken(const ResultFileLayout& layout, std::int64_t token) {
    return std::string(layout.isCornerIndex(token) ? "a node index (" : "a number (") +
           layout.describeToken(token) + ")";
}

std::int64_t ResultBodyParser::countTokens(const ChunkWindow& window) {
    // Counting from the byte before the chunk takes a token that runs into the
    // chunk for one that starts there; it is not the chunk's.
    const char* first = window.bytes.data();
    const auto starts = countTokenStarts(first, first + window.chunkEnd);
    return static_cast<std::int64_t>(starts) - (isSeparator(first[0]) ? 0 : 1);
}

ChunkOutcome ResultBodyParser::parse(const ChunkWindow& window, std::int64_t firstToken,
                                     std::int64_t tokenEnd) const {
    const char* const base = window.bytes.data();
    const char* const last = base + window.bytes.size();
    const char* const chunkEnd = base + window.chunkEnd;
    const auto offsetOf = [&](const char* at) {
        return window.offset + static_cast<std::size_t>(at - base);
    };
    const auto faultAt = [&](const char* at, std::string expected) {
        return ChunkOutcome{false, Fault{offsetOf(at), std::move(expected)}};
    };

    const char* p = base + 1;
    // The rest of a token that started before the chunk, and the comma right after
    // it, belong to that token, which judges them.
    if (!isSeparator(base[0])) {
        while (p < chunkEnd && !isSeparator(*p))
            ++p;
        if (p < chunkEnd && *p == ',') ++p;
    }

    const std::int64_t tokenCount = layout_.tokenCount();
    const std::int64_t nodeTokens = layout_.nodeTokenCount();
    const std::int64_t nodeCount = layout_.nodeCount;
    // Without arrays, whole rows are read into these and forgotten.
    const bool checkOnly = arrays_.nodes == nullptr;
    Point3D scratchPoint;
    std::int32_t scratchCorners[ShellModel::nodesPerElement];
    ElementStressBlock scratchBlock;
    std::int64_t token = firstToken;
    // Where the current token goes: a coordinate of a node, or a field of an element.
    std::int64_t node = token < nodeTokens ? token / tokensPerNode : 0;
    int coordinate = token < nodeTokens ? static_cast<int>(token % tokensPerNode) : 0;
    std::int64_t element = token < nodeTokens ? 0 : (token - nodeTokens) / tokensPerElement;
    int field = token < nodeTokens ? 0 : static_cast<int>((token - nodeTokens) % tokensPerElement);

    while (true) {
        while (p < chunkEnd && isBlank(*p))
            ++p;
        if (p >= chunkEnd || token >= tokenCount) return {};
        // A comma follows its number directly, never a blank or another comma. It is
        // judged even where no token of this chunk follows it: the chunk that read the
        // number before it stopped at its end.
        if (*p == ',') return faultAt(p, expectedToken(layout_, token));
        if (token >= tokenEnd) return {};

        const ResultArrays into =
            checkOnly ? ResultArrays{&scratchPoint, scratchCorners, &scratchBlock} : arrays_;
        if (token < nodeTokens) {
            if (coordinate == 0 && token + tokensPerNode <= tokenEnd) {
                const std::int64_t rows = parseNodeRows(
                    p, last, node, (std::min(tokenEnd, nodeTokens) - token) / tokensPerNode, into,
                    checkOnly);
                if (rows > 0) {
                    token += rows * tokensPerNode;
                    node += rows;
                    continue;
                }
            }
        } else if (field == 0 && token + tokensPerElement <= tokenEnd) {
            const std::int64_t records = parseElementRecords(
                p, last, element, (tokenEnd - token) / tokensPerElement, into, checkOnly);
            if (records > 0) {
                token += records * tokensPerElement;
                element += records;
                continue;
            }
        }

        const char* q = nullptr;
        ScanStatus status = ScanStatus::ok;
        bool endsLine = false;
        if (token < nodeTokens) {
            const ScanResult<double> number = scanDouble(p, last);
            status = number.status;
            q = number.end;
            if (status == ScanStatus::ok && arrays_.nodes != nullptr) {
                Point3D& point = arrays_.nodes[node];
                (coordinate == 0 ? point.x : coordinate == 1 ? point.y : point.z) = number.value;
            }
            endsLine = coordinate == tokensPerNode - 1;
        } else {
            const ElementField& slot = elementFields[static_cast<std::size_t>(field)];
            if (slot.isCornerIndex) {
                const ScanResult<std::int32_t> index = scanInt32(p, last);
                status = index.status;
                q = index.end;
                if (status == ScanStatus::ok && (index.value < 0 || index.value >= nodeCount))
                    status = ScanStatus::outOfRange;
                if (status == ScanStatus::ok && arrays_.connectivity != nullptr)
                    arrays_.connectivity[element * ShellModel::nodesPerElement + slot.corner] =
                        index.value;
            } else {
                const ScanResult<double> number = scanDouble(p, last);
                status = number.status;
                q = number.end;
                if (status == ScanStatus::ok && arrays_.elementStresses != nullptr)
                    arrays_.elementStresses[element]
                        .surfaces[slot.surface][slot.corner][slot.component] = number.value;
            }
            endsLine = slot.endsLine;
        }

        const char* const judgedUpTo = q != nullptr ? q : p;
        if (!window.reachesTextEnd && last - judgedUpTo < scanLookahead)
            return {true, std::nullopt};
        if (status != ScanStatus::ok) return {false, numberFault(offsetOf(p), status, token)};

        // Within a line a comma follows its number directly; a line ends in white space.
        if (!endsLine) {
            if (q == last || *q != ',')
                return faultAt(q, "',' after " + layout_.describeToken(token));
            p = q + 1;
        } else {
            if (q != last && !isBlank(*q))
                return faultAt(q,
                               "white space or a line break after " + layout_.describeToken(token));
            p = q;
        }
        if (token == tokenCount - 1) return {};  // what follows the last record is not read
        ++token;
        if (token < nodeTokens) {
            if (++coordinate == tokensPerNode) coordinate = 0, ++node;
        } else if (token > nodeTokens) {
            if (++field == tokensPerElement) field = 0, ++element;
        }
    }
}

std::int64_t ResultBodyParser::parseNodeRows(const char*& p, const char* last, std::int64_t node,
                                             std::int64_t rows, const ResultArrays& into,
                                             bool intoOneEntry) {
    TokenStarts starts(p, last - scan_detail::wordScanBytes);
    const char* next = starts.next();
    std::int64_t done = 0;
    for (; done < rows; ++done, ++node) {
        Point3D& point = into.nodes[intoOneEntry ? 0 : node];
        const char* const rowStart = next;
        bool wellFormed = rowStart != nullptr;
        ScanResult<double> number;
        for (int axis = 0; wellFormed && axis < tokensPerNode; ++axis) {
            const char* at = next;
            next = starts.next();
            wellFormed = scan_detail::scanShortDecimal(at, last, number) &&
                         separatedWell(number.end, next, axis == tokensPerNode - 1);
            (axis == 0 ? point.x : axis == 1 ? point.y : point.z) = number.value;
        }
        if (!wellFormed) {
            if (rowStart != nullptr) p = rowStart;
            return done;
        }
    }
    p = next;
    return done;
}

std::int64_t ResultBodyParser::parseElementRecords(const char*& p, const char* last,
                                                   std::int64_t element, std::int64_t records,
                                                   const ResultArrays& into,
                                                   bool intoOneEntry) const {
    // Every number's start comes from the separator masks, so no number waits for
    // the end of the one before it; the separators between them are checked after.
    TokenStarts starts(p, last - scan_detail::wordScanBytes);
    const char* next = starts.next();

    std::int64_t done = 0;
    for (; done < records; ++done, ++element) {
        const std::int64_t entry = intoOneEntry ? 0 : element;
        std::int32_t* corners = into.connectivity + entry * ShellModel::nodesPerElement;
        ElementStressBlock& block = into.elementStresses[entry];
        const char* const recordStart = next;
        bool wellFormed = recordStart != nullptr;
        ScanResult<std::int32_t> index;
        for (int corner = 0; wellFormed && corner < ShellModel::nodesPerElement; ++corner) {
            const char* at = next;
            next = starts.next();
            wellFormed = scan_detail::scanShortInteger(at, last, index) && index.value >= 0 &&
                         index.value < layout_.nodeCount &&
                         separatedWell(index.end, next, corner == ShellModel::nodesPerElement - 1);
            corners[corner] = index.value;
        }
        ScanResult<double> number;
        for (int corner = 0; wellFormed && corner < ShellModel::nodesPerElement; ++corner) {
            for (auto& surface : block.surfaces) {
                for (int component = 0; wellFormed && component < tokensPerElementLine;
                     ++component) {
                    const char* at = next;
                    next = starts.next();
                    wellFormed =
                        scan_detail::scanShortDecimal(at, last, number) &&
                        separatedWell(number.end, next, component == tokensPerElementLine - 1);
                    surface[corner][component] = number.value;
                }
            }
        }
        if (!wellFormed) {
            if (recordStart != nullptr) p = recordStart;
            return done;
        }
    }
    p = next;
    return done;
}

std::optional<Fault> ResultBodyParser::numberFault(std::size_t at, ScanStatus status,
                                                   std::int64_t token) const {
    if (layout_.isCornerIndex(token) && status == ScanStatus::outOfRange)
        return indexFault(at, token);
    const std::string what = layout_.describeToken(token);
    switch (status) {
        case ScanStatus::notFinite:
            return Fault{at, "a finite number (" + what + ")"};
        case ScanStatus::outOfRange:
            return Fault{at, "a number within the range of a double (" + what + ")"};
        default:
            return Fault{at, expectedToken(layout_, token)};
    }
}

std::optional<Fault> ResultBodyParser::indexFault(std::size_t at, std::int64_t token) const {
    return Fault{at, "a node index 0 .. " + std::to_string(layout_.nodeCount - 1) + " (" +
                         layout_.describeToken(token) + ")"};
}

}  // namespace corvelt
