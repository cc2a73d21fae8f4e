#include "model/TokenCount.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace corvelt {
namespace {

std::size_t naiveCount(const std::string& text, std::size_t first, std::size_t last) {
    std::size_t count = 0;
    for (std::size_t i = first; i < last; ++i)
        count += !isSeparator(text[i]) && (i == first || isSeparator(text[i - 1]));
    return count;
}

// The block counter keeps per-lane byte counters; texts whose starts fall into the
// same lane in hundreds of blocks in a row would overflow them if they were summed
// too late.
TEST(CountTokenStarts, CountsEveryStartInLongPeriodicTexts) {
    for (const std::string period : {"0 ", "1,", "0\n", "12 ", "7,\t", "-1.5e3,"}) {
        std::string text;
        while (text.size() < 20000)
            text += period;
        EXPECT_EQ(countTokenStarts(text.data(), text.data() + text.size()),
                  naiveCount(text, 0, text.size()))
            << period;
    }
}

TEST(CountTokenStarts, MatchesACharacterByCharacterCountAtAnyOffset) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789.e-+, \t\r\n\v\fx";
    std::string text(3000, ' ');
    for (char& c : text)
        c = alphabet[random() % alphabet.size()];
    for (std::size_t first : {0u, 1u, 5u, 15u, 16u, 17u, 33u}) {
        for (std::size_t length : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 100u, 2900u}) {
            EXPECT_EQ(countTokenStarts(text.data() + first, text.data() + first + length),
                      naiveCount(text, first, first + length))
                << first << " " << length;
        }
    }
}

}  // namespace
}  // namespace corvelt
