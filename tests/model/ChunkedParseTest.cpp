// The parser splits a body into chunks that threads count and parse on their own.
// These tests force tiny chunks and several workers so that every kind of join
// between chunks (inside a line, after a comma, between lines) is crossed.
#include <gtest/gtest.h>

#include <ostream>

#include "ResultTextBuilder.h"
#include "model/ResultFileError.h"
#include "model/ResultTextParser.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace corvelt {
namespace {

using testing::expectSameData;
using testing::joinLines;
using testing::splitLines;

ResultData smallCylinder() {
    samples::CylinderSample sample;
    sample.axialElements = 3;
    sample.hoopElements = 4;
    return samples::generateCylinderResult(sample);
}

// The message of the refusal, or "" when the text is accepted.
std::string refusal(const std::string& text, const ParseOptions& options) {
    try {
        parseResultText(text, "cylinder.txt", {}, options);
        return "";
    } catch (const ResultFileError& error) {
        return error.what();
    }
}

struct Split {
    std::size_t chunkBytes;
    unsigned workers;
};

void PrintTo(const Split& s, std::ostream* out) {
    *out << s.chunkBytes << "-byte chunks, " << s.workers << " workers";
}

class ChunkedParse : public ::testing::TestWithParam<Split> {
  protected:
    ParseOptions options() const { return {GetParam().chunkBytes, GetParam().workers}; }
};

TEST_P(ChunkedParse, GivesTheSameModelAsOneChunk) {
    const ResultData data = smallCylinder();
    // Blanks after commas let chunks also start in the middle of a line.
    const std::string text = testing::buildText(data, {.afterComma = " ", .betweenLines = "\r\n"});
    expectSameData(parseResultText(text, "cylinder.txt", {}, options()), data);
}

TEST_P(ChunkedParse, ReportsAFaultOnEveryLineWhereItIs) {
    const std::vector<std::string> lines =
        splitLines(samples::formatResultText(smallCylinder(), {.significantDigits = 0}));
    // Four kinds of fault on every line after the counts: a blank before the first
    // comma, a doubled comma, a letter glued to the last number, and a cut file.
    for (std::size_t line = 2; line < lines.size(); ++line) {
        std::vector<std::string> blank = lines;
        blank[line].insert(blank[line].find(','), 1, ' ');
        std::vector<std::string> doubled = lines;
        doubled[line].insert(doubled[line].find(','), 1, ',');
        std::vector<std::string> letter = lines;
        letter[line].push_back('x');
        const std::vector<std::string> cut(lines.begin(),
                                           lines.begin() + static_cast<std::ptrdiff_t>(line));
        for (const auto& faulty : {blank, doubled, letter, cut}) {
            if (faulty == lines) continue;
            const std::string text = joinLines(faulty);
            const std::string expected = refusal(text, {std::size_t{1} << 30, 1});
            ASSERT_NE(expected, "");
            EXPECT_EQ(refusal(text, options()), expected) << "line " << line + 1;
            const std::string where = "cylinder.txt:" + std::to_string(line + 1) + ":";
            EXPECT_NE(expected.find(where), std::string::npos) << expected;
        }
    }
}

TEST_P(ChunkedParse, ReportsTheEarliestOfSeveralFaults) {
    std::vector<std::string> lines =
        splitLines(samples::formatResultText(smallCylinder(), {.significantDigits = 0}));
    lines[40].push_back(',');
    lines[12] = "1,2";
    lines[30].assign(1, 'x');
    const std::string message = refusal(joinLines(lines), options());
    EXPECT_NE(message.find("cylinder.txt:13: expected ',' after y of node 10"), std::string::npos)
        << message;
}

// A read that fails on whichever thread stops the parse with its exception; no
// thread is left waiting for a chunk that will never be counted.
TEST_P(ChunkedParse, PassesOnTheExceptionOfAFailedRead) {
    class FailingHalfway : public TextSource {
      public:
        explicit FailingHalfway(std::string text) : text_(std::move(text)) {}
        std::size_t size() const override { return text_.size(); }
        std::string_view read(std::size_t offset, std::size_t length,
                              std::vector<char>& buffer) const override {
            if (offset > 0 && offset + length > text_.size() / 2) throw std::runtime_error("gone");
            return InMemoryText(text_).read(offset, length, buffer);
        }

      private:
        std::string text_;
    };
    const FailingHalfway text(samples::formatResultText(smallCylinder()));
    EXPECT_THROW(parseResultText(text, "cylinder.txt", {}, options()), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Splits, ChunkedParse,
                         ::testing::Values(Split{1, 3}, Split{2, 2}, Split{7, 3}, Split{64, 2},
                                           Split{1000, 4}, Split{std::size_t{1} << 20, 2}),
                         [](const auto& info) {
                             return "Chunk" + std::to_string(info.param.chunkBytes) + "Workers" +
                                    std::to_string(info.param.workers);
                         });

}  // namespace
}  // namespace corvelt
