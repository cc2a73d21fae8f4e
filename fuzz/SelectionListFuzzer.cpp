// The selection list reader against a plain reading of the same text: tokens split
// at white space, each an optional sign and decimal digits (std::from_chars), the
// ones naming an item of the model selected. The reader must accept exactly what
// that reading accepts, select the same items, and name the right line when it
// refuses; a list it writes back must read as the same selection.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "select/SelectionFile.h"

namespace {

using Flags = std::vector<std::uint8_t>;

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_selection_list: %s\n", what);
    std::abort();
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct Reading {
    std::optional<Flags> flags;
    std::int64_t refusedLine = 0;
};

Reading plainReading(std::string_view text, std::int32_t count) {
    Flags flags(static_cast<std::size_t>(count), 0);
    std::int64_t line = 1;
    std::size_t i = 0;
    while (true) {
        for (; i < text.size() && isSpace(text[i]); ++i)
            line += text[i] == '\n';
        if (i == text.size()) return {flags, 0};
        std::size_t end = i;
        while (end < text.size() && !isSpace(text[end]))
            ++end;
        std::string_view token = text.substr(i, end - i);
        const bool negative = token.front() == '-';
        if (token.front() == '+' || negative) token.remove_prefix(1);
        const bool digitsOnly = !token.empty() && std::all_of(token.begin(), token.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        if (!digitsOnly) return {std::nullopt, line};
        std::uint64_t value = 0;
        const auto [ptr, error] = std::from_chars(token.data(), token.data() + token.size(), value);
        const bool fits = error == std::errc{} && ptr == token.data() + token.size();
        if (fits && (!negative || value == 0) && value < flags.size()) flags[value] = 1;
        i = end;
    }
}

std::string listOf(const Flags& flags) {
    std::string text;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] != 0) text += std::to_string(i) + "\n";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sizes the model, so that indices fall on both sides of its end.
    const std::int32_t count = bytes[0];
    const std::string_view text(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    const Reading expected = plainReading(text, count);
    try {
        const Flags flags = corvelt::parseSelectionList(text, corvelt::ItemKind::nodes, count, "f");
        require(expected.flags.has_value(), "accepted a list the plain reading refuses");
        require(flags == *expected.flags, "selected other items than the plain reading");
        const Flags again =
            corvelt::parseSelectionList(listOf(flags), corvelt::ItemKind::nodes, count, "f");
        require(again == flags, "a written list reads back as another selection");
    } catch (const corvelt::SelectionFileError& error) {
        require(!expected.flags.has_value(), "refused a list the plain reading accepts");
        const std::string where = "\nf:" + std::to_string(expected.refusedLine) + ":";
        require(std::string_view(error.what()).find(where) != std::string_view::npos,
                "the refusal names another line");
    }
    return 0;
}
