#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvelt {

// Flags one bit each, item i at bit i % 64 of word i / 64: a set flag (any non-zero
// byte) is a 1. An eighth of the flag array's memory.
using PackedFlags = std::vector<std::uint64_t>;
PackedFlags packFlags(std::span<const std::uint8_t> flags);

// The items whose flag flipped in one change of a flag array: what an undo step
// keeps instead of a copy of the array. Held as runs of consecutive indices or as
// one bit per item, whichever takes less memory, so that Select All of a million
// items is one run and a scattered change no more than the packed flags.
class FlagFlips {
  public:
    FlagFlips() = default;
    // The items whose flag is set in one of the two and clear in the other; the
    // arrays are of one size.
    static FlagFlips between(const PackedFlags& before, std::span<const std::uint8_t> after);

    bool empty() const { return runs_.empty() && bits_.empty(); }
    // Flips those flags (a set flag becomes 0, a clear one 1): after `between`,
    // once takes the array back to `before`, twice forth to `after` again.
    void flip(std::span<std::uint8_t> flags) const;
    // The memory held.
    std::size_t bytes() const;

  private:
    std::vector<std::int32_t> runs_;  // first and one-past-last index of each run
    PackedFlags bits_;                // or the flipped items as bits
};

}  // namespace corvelt
