#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/TextSource.h"
#include "formats/FrdFault.h"
#include "formats/FrdProgress.h"

namespace corvelt {

// The record lines of one block: every line from firstRecord up to the line that
// closes the block.
struct FrdBlock {
    std::size_t firstRecord = 0;  // offset of the first record line
    std::size_t end = 0;          // offset of the line " -3" that closes the block
    std::int64_t records = 0;     // lines between the two
};

// Where a .frd text keeps what the shell is rebuilt from, found by one pass over
// its lines: the node block, the element block and the last STRESS block.
struct FrdLayout {
    FrdBlock nodes;
    FrdBlock elements;
    FrdBlock stresses;
    std::int64_t elementsAnnounced = 0;  // by the element block's head
    std::int32_t stepCount = 0;          // distinct steps among the result blocks
    std::int32_t stressStep = 0;         // the step of the STRESS block
};

// How the pass splits its work; tests force tiny chunks and several workers.
struct FrdScanOptions {
    std::size_t chunkBytes = std::size_t{1} << 20;
    unsigned workers = 0;  // 0: as many as the machine has
    // Every line read, instead of jumping over records that are where their
    // block's count and first line say.
    bool everyLine = false;
};

// The layout, or the first place where the text departs from it.
struct FrdLayoutOutcome {
    FrdLayout layout;
    std::optional<FrdFault> fault;
};

// Finds the blocks. Where every block holds as many records of as many bytes as
// its count and its first record say, only the lines around the records are
// read; they are checked when they are parsed. Otherwise each chunk of the text is cut into lines
// on its own thread; only the lines that are not records (" -1", " -2") are then walked, in order.
// A text that does not follow the layout gives the first fault in it. Reads
// nothing after the line " 9999" that closes the file. Throws what reading the
// text throws, and ReadCancelled from `progress` (counted in bytes).
FrdLayoutOutcome scanFrdLayout(const TextSource& text, FrdProgress& progress,
                               const FrdScanOptions& options = {});

}  // namespace corvelt
