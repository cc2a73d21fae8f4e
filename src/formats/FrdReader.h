#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/ReadProgress.h"
#include "base/TextSource.h"
#include "model/ResultFileError.h"
#include "model/ShellModel.h"

namespace corvelt {

// What a CalculiX result file tells beside the mesh and its stresses.
struct FrdFacts {
    std::int32_t stepCount = 0;   // distinct steps among its result blocks
    std::int32_t stressStep = 0;  // the step of the STRESS block that was read
    // Elements whose first stress line (the face of brick nodes 5 to 8) is not on
    // the side of the rebuilt normal, which the contour paints it on; and the first.
    std::int64_t elementsAgainstNormal = 0;
    std::int64_t firstElementAgainstNormal = -1;
};

struct FrdResult {
    ResultData data;
    FrdFacts facts;
};

// How the reader splits its work; tests force tiny chunks and several workers.
struct FrdParseOptions {
    std::size_t chunkBytes = std::size_t{1} << 20;
    unsigned workers = 0;    // 0: as many as the machine has
    bool everyLine = false;  // see FrdScanOptions
};

// Whether a text that starts with `start` is a .frd file: its first line is the
// header line "    1C".
bool looksLikeFrd(std::string_view start);

// Reads the .frd text of a model of 4-node shells (S4, S4R) that CalculiX expanded
// into 8-node bricks, with its default 3-D output: the shell is rebuilt from the
// bricks (see ShellFromBricks.h) and the stresses are those of the last STRESS
// block, surface 0 the face of brick nodes 5 to 8, Se their von Mises stress.
// Throws ResultFileError naming the file and the line for everything else: other
// element types, 2-D shell output, a truncated text, no STRESS block, a stress of
// an unknown node; and whatever reading the text throws, ReadCancelled when
// `progress` asks to stop. fileName only names the file in messages.
FrdResult parseFrdText(const TextSource& text, const std::string& fileName,
                       const ReadProgress& progress = {}, const FrdParseOptions& options = {});

// The same for a file; a file that changes while it is read is refused.
FrdResult readFrdFile(const std::filesystem::path& path, const ReadProgress& progress = {},
                      const FrdParseOptions& options = {});

}  // namespace corvelt
