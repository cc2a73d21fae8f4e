#include "app/BatchCommand.h"

#include <charconv>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"
#include "app/LegendFields.h"
#include "app/MenuTable.h"
#include "base/NumberScan.h"

namespace corvelt {

namespace {

constexpr std::string_view blanks = " \t\r\v\f";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = text.find_first_not_of(blanks);
    while (start != std::string_view::npos) {
        const std::size_t end = text.find_first_of(blanks, start);
        words.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        start = text.find_first_not_of(blanks, end);
    }
    return words;
}

// A word as a message shows it: a long one by its first bytes only, so that a
// message stays short whatever the line held.
std::string shown(std::string_view word) {
    constexpr std::size_t shownBytes = 40;
    if (word.size() <= shownBytes) return std::string(word);
    return std::string(word.substr(0, shownBytes)) + "...";
}

std::string quoted(std::string_view text) {
    return "\"" + shown(text) + "\"";
}

// from_chars takes no '+'; a script may well write "+240".
std::string_view withoutPlus(std::string_view word) {
    if (word.size() > 1 && word[0] == '+' && word[1] != '+' && word[1] != '-')
        word.remove_prefix(1);
    return word;
}

std::int32_t parseInteger(std::string_view word, std::string_view what, std::int32_t min,
                          std::int32_t max) {
    const std::string_view digits = withoutPlus(word);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::invalid_argument || end != digits.data() + digits.size())
        throw BatchLineError(std::string(what) + " " + quoted(word) + " is not a whole number");
    if (error == std::errc::result_out_of_range || value < min || value > max)
        throw BatchLineError(std::string(what) + " " + shown(word) + " is out of range (" +
                             std::to_string(min) + " .. " + std::to_string(max) + ")");
    return static_cast<std::int32_t>(value);
}

// Read as the result file's numbers are: a value too small for a double is zero.
double parseAngle(std::string_view word, std::string_view what) {
    const char* last = word.data() + word.size();
    const ScanResult<double> scanned = scanDouble(word.data(), last);
    const std::string start = std::string(what) + " " + quoted(word);
    if (scanned.status == ScanStatus::notANumber || scanned.end != last)
        throw BatchLineError(start + " is not a number");
    if (scanned.status == ScanStatus::notFinite)
        throw BatchLineError(start + " is not a finite number");
    if (scanned.status == ScanStatus::outOfRange)
        throw BatchLineError(start + " is out of range (beyond the largest double)");
    return scanned.value;
}

std::int32_t parsePixel(std::string_view word, std::string_view what) {
    return parseInteger(word, what, minBatchPixel, maxBatchPixel);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void expectArguments(const std::vector<std::string_view>& words, std::size_t count,
                     std::string_view usage) {
    const std::size_t given = words.size() - 1;
    if (given != count)
        throw BatchLineError(std::string(words[0]) + " takes " + std::to_string(count) +
                             (count == 1 ? " argument" : " arguments") + " (" + std::string(usage) +
                             "), got " + std::to_string(given));
}

// The system would cut the name at a NUL byte and use another file.
std::string pathWithoutNul(std::string_view path, std::string_view word) {
    if (path.find('\0') != std::string_view::npos)
        throw BatchLineError(std::string(word) + ": a PATH cannot contain a NUL byte");
    return std::string(path);
}

// The path is the rest of the line, so it may contain blanks.
std::string pathArgument(std::string_view line, std::string_view word) {
    const std::string_view rest = trim(trim(line).substr(word.size()));
    if (rest.empty()) throw BatchLineError(std::string(word) + " needs a PATH");
    return pathWithoutNul(rest, word);
}

int parseMenuCommand(std::string_view word) {
    const int id = parseInteger(word, "command id", 0, 99999);
    if (id == openCommand)
        throw BatchLineError("command 40001 asks for a file dialog; use open PATH instead");
    if (!isApplicationCommand(id))
        throw BatchLineError("no menu command has the id " + shown(word));
    return id;
}

ArrowKey parseKey(std::string_view word) {
    if (equalsIgnoringCase(word, "left")) return ArrowKey::left;
    if (equalsIgnoringCase(word, "up")) return ArrowKey::up;
    if (equalsIgnoringCase(word, "right")) return ArrowKey::right;
    if (equalsIgnoringCase(word, "down")) return ArrowKey::down;
    throw BatchLineError("unknown key " + quoted(word) + " (LEFT, UP, RIGHT or DOWN)");
}

char32_t parseCharacter(std::string_view word) {
    if (equalsIgnoringCase(word, "esc")) return escapeCharacter;
    if (word.size() == 1 && word[0] > ' ' && word[0] < 0x7F) return static_cast<char32_t>(word[0]);
    throw BatchLineError("char takes one printable character or esc, not " + quoted(word));
}

MouseButton parseButtonName(std::string_view word) {
    if (word == "left") return MouseButton::left;
    if (word == "middle") return MouseButton::middle;
    throw BatchLineError("expected left or middle, not " + quoted(word));
}

ItemKind parseItemKind(std::string_view word) {
    if (word == "elements") return ItemKind::elements;
    if (word == "nodes") return ItemKind::nodes;
    throw BatchLineError("expected elements or nodes, not " + quoted(word));
}

// selection write|read elements|nodes PATH, the path being the rest of the line.
SelectionFileLine parseSelectionFileLine(std::string_view line,
                                         const std::vector<std::string_view>& words) {
    constexpr std::string_view usage = "selection takes write|read, elements|nodes and a PATH";
    if (words.size() < 4) throw BatchLineError(std::string(usage));
    if (words[1] != "write" && words[1] != "read")
        throw BatchLineError("expected write or read, not " + quoted(words[1]));
    const ItemKind kind = parseItemKind(words[2]);
    const auto pathStart = static_cast<std::size_t>(words[3].data() - line.data());
    return {words[1] == "write", kind, pathWithoutNul(trim(line.substr(pathStart)), "selection")};
}

// export vtu|csv PATH, the path being the rest of the line.
ExportLine parseExportLine(std::string_view line, const std::vector<std::string_view>& words) {
    constexpr std::string_view usage = "export takes vtu|csv and a PATH";
    if (words.size() < 3) throw BatchLineError(std::string(usage));
    if (words[1] != "vtu" && words[1] != "csv")
        throw BatchLineError("expected vtu or csv, not " + quoted(words[1]));
    const auto pathStart = static_cast<std::size_t>(words[2].data() - line.data());
    return {words[1] == "vtu" ? ExportFormat::vtu : ExportFormat::csv,
            pathWithoutNul(trim(line.substr(pathStart)), "export")};
}

// --- The dialogs' lines.

DialogKind parseDialogKind(std::string_view word) {
    if (word == "viewkit") return DialogKind::viewKit;
    if (word == "elements") return DialogKind::selectElements;
    if (word == "nodes") return DialogKind::selectNodes;
    if (word == "legend") return DialogKind::legend;
    throw BatchLineError("unknown dialog " + quoted(word) +
                         " (viewkit, elements, nodes or legend)");
}

std::string captionOf(DialogKind kind) {
    return quoted(dialogTemplate(kind).caption);
}

ButtonLine parseButton(const std::vector<std::string_view>& words) {
    expectArguments(words, 2, "button DIALOG ID");
    const DialogKind kind = parseDialogKind(words[1]);
    const int id = parseInteger(words[2], "control id", 0, 99999);
    const DialogControl* control = findControl(kind, id);
    if (id != cancelControl && (control == nullptr || !control->isPressable()))
        throw BatchLineError(captionOf(kind) + " has no button, radio button or check box " +
                             std::string(words[2]));
    return {kind, id};
}

// The text is the rest of the line after the id, without the blanks around it.
TextLine parseText(std::string_view line, const std::vector<std::string_view>& words) {
    if (words.size() < 3)
        throw BatchLineError("text takes a dialog, an id and a text (text DIALOG ID TEXT)");
    const DialogKind kind = parseDialogKind(words[1]);
    const int id = parseInteger(words[2], "control id", 0, 99999);
    const DialogControl* control = findControl(kind, id);
    if (control == nullptr || control->kind != ControlKind::edit)
        throw BatchLineError(captionOf(kind) + " has no edit field " + std::string(words[2]));
    const std::size_t textStart =
        static_cast<std::size_t>(words[2].data() + words[2].size() - line.data());
    return {kind, id, std::string(trim(line.substr(textStart)))};
}

// --- The legend's lines.

bool parseOnOff(const std::vector<std::string_view>& words) {
    expectArguments(words, 2, std::string("legend ") + std::string(words[1]) + " on|off");
    if (words[2] == "on") return true;
    if (words[2] == "off") return false;
    throw BatchLineError("expected on or off, not " + quoted(words[2]));
}

LegendLine parseLegendRange(const std::vector<std::string_view>& words) {
    LegendLine legend{LegendLine::Setting::range};
    if (words.size() == 3 && words[2] == "auto") return legend;
    if (words.size() != 4)
        throw BatchLineError("legend range takes auto or MIN MAX (legend range auto|MIN MAX)");
    const double minimum = readBound(words[2], "Min");
    const double maximum = readBound(words[3], "Max");
    checkFixedRange(minimum, maximum);
    legend.fixedRange = std::pair{minimum, maximum};
    return legend;
}

LegendLine parseLegendFormat(const std::vector<std::string_view>& words) {
    LegendLine legend{LegendLine::Setting::format};
    const std::optional<LegendNumberFormat> format =
        words.size() > 2 ? legendFormatNamed(words[2]) : std::nullopt;
    const bool general = format == LegendNumberFormat::general;
    if (!format || words.size() != (general ? 3u : 4u))
        throw BatchLineError(
            "legend format takes general, fixed D or scientific D (D from 0 to 10)");
    legend.format = *format;
    if (!general) legend.number = readDigits(words[3]);
    return legend;
}

LegendLine parseLegend(std::string_view line, const std::vector<std::string_view>& words) {
    if (words.size() < 2)
        throw BatchLineError("legend takes an option (bands, range, format, title, units, backing)");
    const std::string_view option = words[1];
    try {
        if (option == "bands") {
            expectArguments(words, 2, "legend bands N");
            return {LegendLine::Setting::bands, readBandCount(words[2])};
        }
        if (option == "range") return parseLegendRange(words);
        if (option == "format") return parseLegendFormat(words);
        if (option == "title" || option == "backing") {
            LegendLine legend{option == "title" ? LegendLine::Setting::title
                                                : LegendLine::Setting::backing};
            legend.on = parseOnOff(words);
            return legend;
        }
        if (option == "units") {
            // The rest of the line, which may be empty or hold blanks.
            LegendLine legend{LegendLine::Setting::units};
            const auto restStart = static_cast<std::size_t>(option.data() + option.size() - line.data());
            legend.units = std::string(trim(line.substr(restStart)));
            return legend;
        }
    } catch (const LegendValueError& error) {
        throw BatchLineError(error.what());
    }
    throw BatchLineError("unknown legend option " + quoted(option) +
                         " (bands, range, format, title, units, backing)");
}

FileLine parseFile(std::string_view line) {
    std::string path = pathArgument(line, "file");
    if (path == "cancel") return {std::nullopt};
    return {std::move(path)};
}

}  // namespace

void LegendLine::applyTo(LegendOptions& options) const {
    switch (setting) {
        case Setting::bands:
            options.bands = number;
            break;
        case Setting::range:
            options.range = fixedRange ? LegendRange::fixed : LegendRange::automatic;
            if (fixedRange) std::tie(options.fixedMin, options.fixedMax) = *fixedRange;
            break;
        case Setting::format:
            options.format = format;
            if (format != LegendNumberFormat::general) options.digits = number;
            break;
        case Setting::title:
            options.title = on;
            break;
        case Setting::units:
            options.units = units;
            break;
        case Setting::backing:
            options.backing = on;
            break;
    }
}

std::optional<BatchCommand> parseBatchLine(std::string_view line) {
    const std::vector<std::string_view> words = splitWords(line);
    if (words.empty() || words[0].front() == '#') return std::nullopt;
    const std::string_view name = words[0];

    if (name == "open") return OpenLine{pathArgument(line, name)};
    if (name == "render") return RenderLine{pathArgument(line, name)};
    if (name == "state") return StateLine{pathArgument(line, name)};
    if (name == "size") {
        expectArguments(words, 2, "size W H");
        return SizeLine{parseInteger(words[1], "width", 1, maxBatchClientSize),
                        parseInteger(words[2], "height", 1, maxBatchClientSize)};
    }
    if (name == "command") {
        expectArguments(words, 1, "command ID");
        return CommandLine{parseMenuCommand(words[1])};
    }
    if (name == "view") {
        expectArguments(words, 2, "view ALPHA BETA");
        return ViewLine{parseAngle(words[1], "alpha"), parseAngle(words[2], "beta")};
    }
    if (name == "key") {
        expectArguments(words, 1, "key LEFT|UP|RIGHT|DOWN");
        return KeyLine{parseKey(words[1])};
    }
    if (name == "char") {
        expectArguments(words, 1, "char C");
        return CharacterLine{parseCharacter(words[1])};
    }
    if (name == "click") {
        expectArguments(words, 2, "click X Y");
        return ClickLine{parsePixel(words[1], "x"), parsePixel(words[2], "y")};
    }
    if (name == "move") {
        expectArguments(words, 2, "move X Y");
        return MoveLine{parsePixel(words[1], "x"), parsePixel(words[2], "y")};
    }
    if (name == "drag") {
        expectArguments(words, 5, "drag left|middle X1 Y1 X2 Y2");
        return DragLine{parseButtonName(words[1]), parsePixel(words[2], "x1"),
                        parsePixel(words[3], "y1"), parsePixel(words[4], "x2"),
                        parsePixel(words[5], "y2")};
    }
    if (name == "wheel") {
        expectArguments(words, 3, "wheel DELTA X Y");
        return WheelLine{parsePixel(words[1], "delta"), parsePixel(words[2], "x"),
                         parsePixel(words[3], "y")};
    }
    if (name == "probe") {
        expectArguments(words, 2, "probe X Y");
        return ProbeLine{parsePixel(words[1], "x"), parsePixel(words[2], "y")};
    }
    if (name == "selection") return parseSelectionFileLine(line, words);
    if (name == "report") {
        expectArguments(words, 1, "report elements|nodes");
        return ReportLine{parseItemKind(words[1])};
    }
    if (name == "export") return parseExportLine(line, words);
    if (name == "button") return parseButton(words);
    if (name == "text") return parseText(line, words);
    if (name == "file") return parseFile(line);
    if (name == "legend") return parseLegend(line, words);
    throw BatchLineError("unknown command " + quoted(name));
}

}  // namespace corvelt
