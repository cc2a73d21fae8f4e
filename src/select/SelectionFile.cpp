#include "select/SelectionFile.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/QuotedBytes.h"
#include "base/RegularFile.h"
#include "model/ShellModel.h"

namespace corvelt {

namespace {

std::string_view headline(ItemKind kind, bool reading) {
    if (kind == ItemKind::elements)
        return reading ? "The selected elements file read error!"
                       : "The selected elements file write error!";
    return reading ? "The selected nodes file read error!" : "The selected nodes file write error!";
}

[[noreturn]] void throwSystemFailure(ItemKind kind, bool reading, const std::string& fileName,
                                     const std::system_error& error) {
    throw SelectionFileError(std::string(headline(kind, reading)) + "\n" + fileName + ": " +
                             error.code().message());
}

// White space as the C library's scanf skips it.
bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The token, quoted and shortened; bytes that are not printable ASCII are shown as
// \xNN so that the message stays valid UTF-8.
std::string quoteToken(std::string_view token) {
    return quotedBytes(token, 24);
}

}  // namespace

std::vector<std::uint8_t> parseSelectionList(std::string_view text, ItemKind kind,
                                             std::int32_t count, const std::string& fileName,
                                             SelectionListCounts* counts) {
    std::vector<std::uint8_t> flags(static_cast<std::size_t>(std::max(count, 0)), 0);
    SelectionListCounts found;
    // Any value past this is out of range alike; the cap keeps the sum from overflowing.
    constexpr std::uint64_t cap = std::uint64_t{1} << 40;
    std::int64_t line = 1;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        for (; p < end && isSpace(*p); ++p)
            if (*p == '\n') ++line;
        if (p == end) break;

        const char* const token = p;
        const bool negative = *p == '-';
        if (*p == '+' || *p == '-') ++p;
        const char* const digits = p;
        std::uint64_t value = 0;
        for (; p < end && isDigit(*p); ++p)
            value = std::min(value * 10 + static_cast<std::uint64_t>(*p - '0'), cap);

        if (p == digits || (p < end && !isSpace(*p))) {
            const char* tokenEnd = p;
            while (tokenEnd < end && !isSpace(*tokenEnd))
                ++tokenEnd;
            throw SelectionFileError(
                std::string(headline(kind, true)) + "\n" + fileName + ":" + std::to_string(line) +
                ": expected a whole number, found " +
                quoteToken({token, static_cast<std::size_t>(tokenEnd - token)}));
        }
        // "-0" is 0, as scanf reads it.
        if ((!negative || value == 0) && value < flags.size()) {
            found.selected += flags[value] == 0 ? 1 : 0;
            flags[value] = 1;
        } else {
            ++found.skipped;
        }
    }
    if (counts != nullptr) *counts = found;
    return flags;
}

std::int64_t writeSelection(const ShellModel& model, ItemKind kind,
                            const std::filesystem::path& path) {
    const std::vector<std::uint8_t>& flags =
        kind == ItemKind::elements ? model.elementSelected : model.nodeSelected;
    constexpr std::size_t bufferSize = 1 << 16;
    constexpr std::size_t maxLine = 12;  // ten digits and the line end
    std::int64_t written = 0;
    try {
        AtomicFile file(path);
        std::string buffer(bufferSize, '\0');
        char* out = buffer.data();
        for (std::size_t index = 0; index < flags.size(); ++index) {
            if (flags[index] == 0) continue;
            ++written;
            out = std::to_chars(out, out + maxLine, index).ptr;
            *out++ = '\n';
            if (static_cast<std::size_t>(buffer.data() + bufferSize - out) < maxLine) {
                file.write({buffer.data(), static_cast<std::size_t>(out - buffer.data())});
                out = buffer.data();
            }
        }
        file.write({buffer.data(), static_cast<std::size_t>(out - buffer.data())});
        file.commit();
    } catch (const std::system_error& error) {
        throwSystemFailure(kind, false, path.string(), error);
    }
    return written;
}

namespace {

// The whole file is copied, not mapped: another process shortening it then gives a
// short read and a message instead of a fault on a vanished page.
std::vector<char> readWholeFile(ItemKind kind, const std::filesystem::path& path) {
    std::vector<char> bytes;
    try {
        const RegularFile file(path);
        const std::string_view text = file.read(0, file.size(), bytes);
        if (text.data() != bytes.data()) bytes.assign(text.begin(), text.end());
        bytes.resize(text.size());
        file.throwIfChanged();
    } catch (const std::system_error& error) {
        throwSystemFailure(kind, true, path.string(), error);
    } catch (const FileChanged& error) {
        throw SelectionFileError(std::string(headline(kind, true)) + "\n" + path.string() + ": " +
                                 error.what());
    }
    return bytes;
}

}  // namespace

SelectionListCounts readSelection(ShellModel& model, ItemKind kind,
                                  const std::filesystem::path& path) {
    const std::vector<char> bytes = readWholeFile(kind, path);
    std::vector<std::uint8_t>& flags =
        kind == ItemKind::elements ? model.elementSelected : model.nodeSelected;
    SelectionListCounts counts;
    flags = parseSelectionList({bytes.data(), bytes.size()}, kind,
                               static_cast<std::int32_t>(flags.size()), path.string(), &counts);
    return counts;
}

}  // namespace corvelt
