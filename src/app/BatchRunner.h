#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "app/BatchCommand.h"
#include "app/Probe.h"

namespace corvelt {

class Application;
class FrameSink;

// The answers that `file` lines give to the file dialogs that later buttons open,
// oldest first; none stands for cancel.
using FileAnswers = std::deque<std::optional<std::filesystem::path>>;

// What lines leave for later lines of the same script.
struct BatchSession {
    FileAnswers fileAnswers;
    std::optional<ProbeAtPixel> probe;  // for the next state line, which takes it
    std::string warning;                // of the line just run; the script goes on
};

// Runs one parsed line. `frames` may be null when no images can be made; a
// `render` line then fails. Throws BatchLineError, ResultFileError or
// std::runtime_error (a file that cannot be read or written).
void runBatchCommand(const BatchCommand& command, Application& app, FrameSink* frames,
                     BatchSession& session);

struct BatchFailure {
    std::int64_t line = 0;  // one-based
    std::string message;
};

// A script line may hold this many bytes, its line end not counted; a longer
// line fails without being read to its end, so memory stays bounded.
inline constexpr std::size_t maxBatchLineBytes = 65536;

// What a line warns of without failing (a file read with a doubt about it): the
// line and the message.
using BatchWarnings = std::function<void(std::int64_t, const std::string&)>;

// Runs a script line by line on the application and stops at the first line that
// fails.
std::optional<BatchFailure> runBatch(std::istream& script, Application& app, FrameSink* frames,
                                     const BatchWarnings& warnings = {});

// runBatch on a fresh application, for the command line: reports a failure as
// "SCRIPT:LINE: message" on `errors` and returns the exit code (0 or 1); warnings
// go there too, as "SCRIPT:LINE: warning: message".
int runBatchScript(std::istream& script, std::string_view scriptName, FrameSink* frames,
                   std::ostream& errors);

}  // namespace corvelt
