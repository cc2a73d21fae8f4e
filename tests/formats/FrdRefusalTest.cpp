#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "FrdTesting.h"
#include "app/TestMeshes.h"
#include "formats/FrdReader.h"

namespace corvelt {
namespace {

const std::string platePath = CORVELT_SOURCE_DIR "/tests/data/frd/plate.frd";

// The offset of the start of a one-based line.
std::size_t lineStart(const std::string& text, int line) {
    std::size_t at = 0;
    for (int k = 1; k < line; ++k)
        at = text.find('\n', at) + 1;
    return at;
}

// The text with one line replaced, or removed when `by` is null.
std::string withLine(std::string text, int line, const char* by) {
    const std::size_t begin = lineStart(text, line);
    const std::size_t end = text.find('\n', begin) + 1;
    text.replace(begin, end - begin, by == nullptr ? std::string() : std::string(by) + "\n");
    return text;
}

struct BadFile {
    const char* name;
    std::function<std::string(const std::string&)> edit;
    const char* message;  // after "plate.frd:"
};

// The plate (tests/data/frd/plate.frd): nodes at lines 14 to 53, elements from 56,
// the second STRESS block's records at lines 281 to 320, " 9999" at 367.
const BadFile badFiles[] = {
    {"TruncatedInsideARecord",
     [](const std::string& t) { return t.substr(0, lineStart(t, 301) + 20); },
     "301: the file ends before the line ' 9999' that closes it: it is truncated"},
    {"TruncatedBeforeItsLastLine", [](const std::string& t) { return withLine(t, 367, nullptr); },
     "367: the file ends before the line ' 9999' that closes it: it is truncated"},
    {"NoStressBlock",
     [](const std::string& t) {
         return withLine(withLine(t, 131, " -4  STRAIN      6    1"), 274,
                         " -4  STRAIN      6    1");
     },
     "367: the file holds no STRESS block; ask CalculiX for the stresses with *EL FILE and S"},
    {"StressOfAnUnknownNode",
     [](const std::string& t) {
         return withLine(
             t, 281,
             " -1      9021-1.91897E+04-5.83165E+03-9.44251E+01-1.35542E+02-1.71813E+03 "
             "1.84140E+03");
     },
     "281: a stress of node 9021, which is not in the node block"},
    {"SecondStressOfANode",
     [](const std::string& t) {
         return withLine(t, 282,
                         " -1        21 2.47750E+04 7.38456E+03-5.00112E+00 "
                         "5.88821E+02-1.71403E+03 1.84550E+03");
     },
     "282: a second stress of node 21"},
    {"StressRecordMissing", [](const std::string& t) { return withLine(t, 300, nullptr); },
     "320: the result block announces 40 nodes but holds 39"},
    {"TwoDimensionalShellOutput",
     [](const std::string& t) { return withLine(t, 56, " -1         1    9    0    1"); },
     "56: 1 element of type 9, 2-D shell output (OUTPUT=2D): it averages the two surfaces and "
     "loses the bending stress; solve again with 3-D output, CalculiX's default, to see the "
     "stresses of both surfaces"},
    {"OtherElementTypes",
     [](const std::string& t) {
         return withLine(withLine(t, 58, " -1         2    4    0    1"), 60,
                         " -1         3    4    0    1");
     },
     "58: 2 elements of type 4 (20-node brick): only the 8-node bricks (type 1) that CalculiX "
     "expands 4-node shells (S4, S4R) into can be read"},
    {"ElementOfAnUnknownNode",
     [](const std::string& t) {
         return withLine(
             t, 57,
             " -2      9999        24        39        36        23        26        41        38");
     },
     "57: element node 9999 is not in the node block"},
    {"CoordinateThatIsNoNumber",
     [](const std::string& t) {
         return withLine(t, 14, " -1        21 0.0000XE+00 0.00000E+00-2.50000E-02");
     },
     "14: expected a coordinate in columns 14 to 25, found ' 0.0000XE+00'"},
    {"RecordOutOfItsColumns",
     [](const std::string& t) {
         return withLine(t, 15, " -1        23 0.00000E+00 0.00000E+00 2.5000E-02");
     },
     "15: expected a node record of 49 columns, as CalculiX writes it"},
    {"NodeNumberTwice",
     [](const std::string& t) {
         return withLine(t, 15, " -1        21 0.00000E+00 0.00000E+00 2.50000E-02");
     },
     "15: node 21 stands twice in the node block"},
    {"BinaryNodeBlock",
     [](const std::string& t) {
         return withLine(
             t, 13, "    2C                            40                                     2");
     },
     "13: the node block is in format '2'; only format 1, text with 10-digit numbers as "
     "CalculiX writes it, can be read"},
    {"NodeCountThatTheBlockBelies",
     [](const std::string& t) {
         return withLine(
             t, 13, "    2C                            41                                     1");
     },
     "54: the node block announces 41 nodes but holds 40"},
    {"StrayLine", [](const std::string& t) { return withLine(t, 130, "garbage"); },
     "130: expected a result block '  100C' or the closing line ' 9999', found 'garbage'"},
};

class FrdRefusal : public ::testing::TestWithParam<BadFile> {};

TEST_P(FrdRefusal, NamesTheFileAndTheLine) {
    const std::string text = GetParam().edit(testing::readText(platePath));
    for (const bool everyLine : {false, true}) {
        try {
            parseFrdText(InMemoryText(text), "plate.frd", {}, {50, 2, everyLine});
            ADD_FAILURE() << "accepted";
        } catch (const ResultFileError& error) {
            EXPECT_EQ(std::string(error.what()), std::string(resultFileReadErrorHeadline) +
                                                     "\nplate.frd:" + GetParam().message);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Frd, FrdRefusal, ::testing::ValuesIn(badFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrdReader, AcceptsCrLfLineEnds) {
    const std::string text = testing::readText(platePath);
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    testing::expectSameData(parseFrdText(InMemoryText(crlf), "crlf.frd").data,
                            parseFrdText(InMemoryText(text), "plate.frd").data);
}

}  // namespace
}  // namespace corvelt
