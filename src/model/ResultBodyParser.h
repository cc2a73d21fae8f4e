#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/ElementStressBlock.h"
#include "base/NumberScan.h"
#include "model/Point.h"
#include "model/ResultFileLayout.h"

namespace corvelt {

// A place in the text and what should have stood there.
struct Fault {
    std::size_t offset = 0;
    std::string expected;
};

// Where the numbers of a body are stored; all null to only check the text.
struct ResultArrays {
    Point3D* nodes = nullptr;
    std::int32_t* connectivity = nullptr;
    ElementStressBlock* elementStresses = nullptr;
};

// The bytes of one chunk of a body and some after it. A chunk owns the tokens that
// start inside it; the last of them may run on past its end.
struct ChunkWindow {
    std::string_view bytes;       // bytes[0] is the byte just before the chunk
    std::size_t offset = 0;       // where bytes[0] stands in the text
    std::size_t chunkEnd = 0;     // the chunk is bytes[1 .. chunkEnd)
    bool reachesTextEnd = false;  // bytes end where the text ends
};

// What parsing one chunk came to.
struct ChunkOutcome {
    // The window ends too soon to judge a token; read a longer one and parse again.
    bool needsLongerWindow = false;
    std::optional<Fault> fault;  // the first fault inside the chunk
};

// Parses the chunks of a body (everything after the two count lines) into the
// result's arrays. Chunks write disjoint entries, so any number of them may be
// parsed at once.
class ResultBodyParser {
  public:
    ResultBodyParser(const ResultFileLayout& layout, ResultArrays arrays)
        : layout_(layout), arrays_(arrays) {}

    // The tokens (runs of bytes that are no separator) that start in the chunk.
    static std::int64_t countTokens(const ChunkWindow& window);

    // Parses the tokens firstToken .. tokenEnd - 1 of the body, which start in
    // the chunk, and checks the separators in it.
    ChunkOutcome parse(const ChunkWindow& window, std::int64_t firstToken,
                       std::int64_t tokenEnd) const;

  private:
    // Whole rows written the common way, read without asking per number where it
    // goes; false for anything unusual, which is then read number by number.
    // Up to `rows` whole node rows from `node` on, or up to `records` whole element
    // records from `element` on, into `into`, whose arrays hold one entry only when
    // `intoOneEntry`; each returns how many it read and moves p past them.
    static std::int64_t parseNodeRows(const char*& p, const char* last, std::int64_t node,
                                      std::int64_t rows, const ResultArrays& into,
                                      bool intoOneEntry);
    std::int64_t parseElementRecords(const char*& p, const char* last, std::int64_t element,
                                     std::int64_t records, const ResultArrays& into,
                                     bool intoOneEntry) const;

    std::optional<Fault> numberFault(std::size_t at, ScanStatus status, std::int64_t token) const;
    std::optional<Fault> indexFault(std::size_t at, std::int64_t token) const;

    const ResultFileLayout& layout_;
    ResultArrays arrays_;
};

// "a number (y of node 3)" or "a node index (corner 1 of element 0)".
std::string expectedToken(const ResultFileLayout& layout, std::int64_t token);

}  // namespace corvelt
