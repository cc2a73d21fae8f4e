#include "select/FlagFlips.h"

#include <bit>
#include <cstring>

namespace corvelt {

namespace {

// Eight flags into eight bits, byte i to bit i: each non-zero byte gets its high
// bit, the high bits move to the bytes' low bits, and one multiplication gathers
// them into the top byte.
std::uint64_t packEight(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7F;
    const std::uint64_t nonZero = (((word & low7) + low7) | word) >> 7 & 0x0101010101010101;
    if constexpr (std::endian::native == std::endian::little)
        return (nonZero * 0x0102040810204080) >> 56;
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(bytes[i] != 0) << i;
    return bits;
}

std::uint64_t packWord(std::span<const std::uint8_t> flags, std::size_t word) {
    const std::size_t first = word * 64;
    std::uint64_t bits = 0;
    if (first + 64 <= flags.size()) {
        for (int group = 0; group < 8; ++group)
            bits |= packEight(flags.data() + first + 8 * group) << (8 * group);
        return bits;
    }
    for (std::size_t i = first; i < flags.size(); ++i)
        bits |= static_cast<std::uint64_t>(flags[i] != 0) << (i - first);
    return bits;
}

void flipOne(std::uint8_t& flag) {
    flag = flag == 0 ? 1 : 0;
}

}  // namespace

PackedFlags packFlags(std::span<const std::uint8_t> flags) {
    PackedFlags packed((flags.size() + 63) / 64);
    for (std::size_t word = 0; word < packed.size(); ++word)
        packed[word] = packWord(flags, word);
    return packed;
}

FlagFlips FlagFlips::between(const PackedFlags& before, std::span<const std::uint8_t> after) {
    FlagFlips flips;
    PackedFlags changed(before.size());
    std::size_t runs = 0;
    std::uint64_t carry = 0;  // the last bit of the word before, as bit 0
    for (std::size_t word = 0; word < before.size(); ++word) {
        const std::uint64_t bits = before[word] ^ packWord(after, word);
        changed[word] = bits;
        // A run starts at each set bit whose lower neighbour is clear.
        runs += static_cast<std::size_t>(std::popcount(bits & ~(bits << 1 | carry)));
        carry = bits >> 63;
    }
    if (runs == 0) return flips;
    // Two indices a run against a word per 64 items.
    if (2 * runs * sizeof(std::int32_t) >= changed.size() * sizeof(std::uint64_t)) {
        flips.bits_ = std::move(changed);
        return flips;
    }
    flips.runs_.reserve(2 * runs);
    bool inRun = false;
    for (std::size_t word = 0; word < changed.size(); ++word) {
        std::uint64_t bits = changed[word];
        // Each edge between set and clear bits opens or closes a run.
        std::uint64_t edges = bits ^ (bits << 1 | (inRun ? 1 : 0));
        while (edges != 0) {
            const int bit = std::countr_zero(edges);
            flips.runs_.push_back(
                static_cast<std::int32_t>(word * 64 + static_cast<std::size_t>(bit)));
            inRun = !inRun;
            edges &= edges - 1;
        }
        inRun = (bits >> 63) != 0;
    }
    if (inRun) flips.runs_.push_back(static_cast<std::int32_t>(after.size()));
    return flips;
}

void FlagFlips::flip(std::span<std::uint8_t> flags) const {
    for (std::size_t run = 0; run + 1 < runs_.size(); run += 2)
        for (std::int32_t i = runs_[run]; i < runs_[run + 1]; ++i)
            flipOne(flags[static_cast<std::size_t>(i)]);
    for (std::size_t word = 0; word < bits_.size(); ++word)
        for (std::uint64_t bits = bits_[word]; bits != 0; bits &= bits - 1)
            flipOne(flags[word * 64 + static_cast<std::size_t>(std::countr_zero(bits))]);
}

std::size_t FlagFlips::bytes() const {
    return runs_.capacity() * sizeof(std::int32_t) + bits_.capacity() * sizeof(std::uint64_t);
}

}  // namespace corvelt
