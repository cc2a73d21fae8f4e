#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "app/ArrowKey.h"
#include "app/DialogKind.h"
#include "app/MouseDrag.h"
#include "formats/ExportFormat.h"
#include "render/LegendOptions.h"
#include "select/ItemKind.h"

namespace corvelt {

// One line of a batch script, parsed. Each runs one Application call.
struct OpenLine {
    std::string path;
};
struct SizeLine {
    std::int32_t width, height;
};
struct CommandLine {
    int id;
};
struct ViewLine {
    double alphaDegrees, betaDegrees;
};
struct RenderLine {
    std::string path;
};
struct KeyLine {
    ArrowKey key;
};
struct CharacterLine {
    char32_t character;
};
struct ClickLine {
    std::int32_t x, y;
};
struct MoveLine {
    std::int32_t x, y;
};
// A button pressed at (x1, y1), moved with it held to (x2, y2) and released there.
struct DragLine {
    MouseButton button;
    std::int32_t x1, y1, x2, y2;
};
// What lies under the pixel, for the next state line.
struct ProbeLine {
    std::int32_t x, y;
};
struct WheelLine {
    std::int32_t delta, x, y;
};
struct StateLine {
    std::string path;
};
// Presses a control of the newest open dialog of the kind.
struct ButtonLine {
    DialogKind dialog;
    int control;
};
// Types into an edit field of the newest open dialog of the kind.
struct TextLine {
    DialogKind dialog;
    int control;
    std::string text;
};
// The answer to the next file dialog a button opens: a path, or none for cancel.
struct FileLine {
    std::optional<std::string> path;
};
struct SelectionFileLine {
    bool write;  // else read
    ItemKind kind;
    std::string path;
};
struct ReportLine {
    ItemKind kind;
};
// Writes the selected elements in the format.
struct ExportLine {
    ExportFormat format;
    std::string path;
};

// Changes one option of the legend; the others stay.
struct LegendLine {
    enum class Setting { bands, range, format, title, units, backing };
    Setting setting = Setting::bands;
    int number = 0;  // the bands, or the format's digits
    std::optional<std::pair<double, double>> fixedRange{};  // none: automatic
    LegendNumberFormat format = LegendNumberFormat::general;
    bool on = false;
    std::string units{};

    void applyTo(LegendOptions& options) const;
};

using BatchCommand =
    std::variant<OpenLine, SizeLine, CommandLine, ViewLine, RenderLine, KeyLine, CharacterLine,
                 ClickLine, MoveLine, DragLine, WheelLine, ProbeLine, StateLine, SelectionFileLine,
                 ReportLine, ButtonLine, TextLine, FileLine, LegendLine, ExportLine>;

// A line that cannot be run; what() says why, without the line number.
class BatchLineError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Limits of the numbers a script may give. Pixels are the signed 16-bit values a
// window's mouse events carry; the client size must be drawable.
inline constexpr std::int32_t maxBatchClientSize = 16384;
inline constexpr std::int32_t minBatchPixel = -32768;
inline constexpr std::int32_t maxBatchPixel = 32767;

// Parses one line. No command for a blank line or a comment (first non-blank
// character '#'). Throws BatchLineError.
std::optional<BatchCommand> parseBatchLine(std::string_view line);

}  // namespace corvelt
