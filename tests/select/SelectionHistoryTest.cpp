// The undo steps of the flags: what changed, kept small, flipped back exactly; and
// the history's bound. (Steps of the operations themselves: app/UndoTest.)
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "model/ShellModel.h"
#include "select/FlagFlips.h"
#include "select/SelectionHistory.h"

namespace corvelt {
namespace {

using Flags = std::vector<std::uint8_t>;

struct FlipCase {
    const char* name;
    std::size_t size;
    double density;     // of the flags that flip, at random
    std::size_t runAt;  // and a run from here to the end
    std::size_t maxBytes;
};

class FlagFlipsCases : public ::testing::TestWithParam<FlipCase> {};

// Packed flags against one bit per byte; the flips against a plain comparison; the
// memory against the smaller of the two encodings.
TEST_P(FlagFlipsCases, FlipBackAndForthExactlyInLittleMemory) {
    const FlipCase& c = GetParam();
    std::mt19937 random(7);
    Flags before(c.size), after(c.size);
    for (std::size_t i = 0; i < c.size; ++i) {
        before[i] = random() % 3 == 0 ? static_cast<std::uint8_t>(random() % 255 + 1) : 0;
        const bool flips = i >= c.runAt || std::uniform_real_distribution<>()(random) < c.density;
        after[i] = (before[i] != 0) != flips ? 1 : 0;
    }
    const PackedFlags packed = packFlags(before);
    for (std::size_t i = 0; i < c.size; ++i)
        ASSERT_EQ((packed[i / 64] >> (i % 64)) & 1, before[i] != 0 ? 1u : 0u) << i;

    const FlagFlips flips = FlagFlips::between(packed, after);
    EXPECT_LE(flips.bytes(), c.maxBytes);
    Flags flags = after;
    flips.flip(flags);
    for (std::size_t i = 0; i < c.size; ++i)
        ASSERT_EQ(flags[i] != 0, before[i] != 0) << i;
    flips.flip(flags);
    EXPECT_EQ(flags, after);
    EXPECT_EQ(flips.empty(), c.density == 0.0 && c.runAt >= c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FlagFlipsCases,
    ::testing::Values(FlipCase{"Nothing", 1000, 0.0, 1000, 0},
                      FlipCase{"OneRunOfAMillion", 1000000, 0.0, 0, 8},
                      FlipCase{"ARunAtTheTail", 1000003, 0.0, 999990, 8},
                      FlipCase{"AFewScattered", 100000, 0.0005, 100000, 8 * 100},
                      FlipCase{"HalfOfThemAsBits", 100000, 0.5, 100000, 100000 / 8 + 8},
                      FlipCase{"ShortOfAWord", 37, 0.3, 30, 8}),
    [](const auto& info) { return std::string(info.param.name); });

ShellModel modelOf(std::size_t elements) {
    ShellModel model;
    model.elementSelected.assign(elements, 1);
    model.elementPicked.assign(elements, 0);
    return model;
}

// Scattered changes of 100,000 flags are kept as bits, 12,500 bytes a step: a bound
// of 100,000 bytes keeps the newest seven steps and drops the older ones.
TEST(SelectionHistory, TheOldestStepsGoBeyondTheBound) {
    ShellModel model = modelOf(100000);
    constexpr std::size_t limit = 100000;
    SelectionHistory history(limit);
    std::vector<Flags> states{model.elementSelected};
    for (int step = 0; step < 20; ++step) {
        const SelectionHistory::Before before =
            SelectionHistory::before(model, elementSelectedFlags);
        for (std::size_t i = static_cast<std::size_t>(step) % 3; i < model.elementSelected.size();
             i += 2)
            model.elementSelected[i] ^= 1;
        ASSERT_TRUE(history.record(model, before, std::to_string(step)));
        EXPECT_LE(history.bytes(), limit);
        states.push_back(model.elementSelected);
    }
    ASSERT_EQ(history.undoCount(), 7u);
    EXPECT_EQ(history.nextUndo(), "19");
    while (history.undo(model) != 0) {
    }
    EXPECT_EQ(model.elementSelected, states[20 - 7]);
}

}  // namespace
}  // namespace corvelt
