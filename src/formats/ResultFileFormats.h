#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/ReadProgress.h"
#include "model/ShellModel.h"

namespace corvelt {

// A result file of any format that opens: our own or a CalculiX .frd.
struct ResultFile {
    ResultData data;
    // What --info tells of the file beyond the model, one line each ("steps: 2");
    // none for our own format.
    std::vector<std::string> facts;
    // What the user should be told although the file was read; empty when nothing.
    std::string warning;
};

// Reads a result file of either format, recognised by its content whatever its
// name: a file whose first line is the .frd header "    1C" is read as CalculiX
// results, every other file by our own format's reader, with its messages. Throws
// ResultFileError, and ReadCancelled when `progress` asks to stop.
ResultFile readResultFileOfAnyFormat(const std::filesystem::path& path,
                                     const ReadProgress& progress = {});

}  // namespace corvelt
