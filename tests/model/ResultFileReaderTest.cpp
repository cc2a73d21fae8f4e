#include "model/ResultFileReader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <ostream>

#include <cmath>

#include "ResultTextBuilder.h"

namespace corvelt {
namespace {

using testing::buildText;
using testing::expectSameData;
using testing::joinLines;
using testing::plainText;
using testing::ScratchDirectory;
using testing::shortest;
using testing::splitLines;
using testing::TextStyle;
using testing::twoElementModel;

// ---- Accepted spellings: every one gives the model of the plain file --------

struct Spelling {
    const char* name;
    TextStyle style;
    std::string tail;  // appended after the last record
};

void PrintTo(const Spelling& s, std::ostream* out) {
    *out << s.name;
}

std::string withSign(double v) {
    return v < 0 ? shortest(v) : "+" + shortest(v);
}
std::string withExponent(double v) {
    return shortest(v * 1000) + "E-3";
}
// "3." for whole numbers, ".5" and "-.5" for magnitudes below one.
std::string withBarePoint(double v) {
    std::string text = shortest(v);
    if (text.find('.') == std::string::npos) return text + ".";
    if (text.starts_with("0.")) return text.substr(1);
    if (text.starts_with("-0.")) return "-" + text.substr(2);
    return text;
}

class AcceptedSpelling : public ::testing::TestWithParam<Spelling> {};

TEST_P(AcceptedSpelling, GivesTheModelOfThePlainFile) {
    const ScratchDirectory dir;
    const std::string text = buildText(twoElementModel(), GetParam().style) + GetParam().tail;
    expectSameData(readResultFile(dir.write("variant.txt", text)), twoElementModel());
}

INSTANTIATE_TEST_SUITE_P(
    Variants, AcceptedSpelling,
    ::testing::Values(
        Spelling{"Plain", {}, ""}, Spelling{"CrLf", {.lineEnd = "\r\n"}, ""},
        Spelling{"CrOnly", {.lineEnd = "\r"}, ""},
        Spelling{"BlankLines", {.betweenLines = "\n  \n\t\n"}, ""},
        Spelling{"BlanksAfterCommas", {.afterComma = "  \t"}, ""},
        Spelling{"LineBreaksAfterCommas", {.afterComma = "\r\n\n "}, ""},
        Spelling{"PlusSigns",
                 {.spellReal = withSign,
                  .spellInteger = [](long long v) { return "+" + std::to_string(v); }},
                 ""},
        Spelling{"LeadingZeros",
                 {.spellInteger = [](long long v) { return "00" + std::to_string(v); }},
                 ""},
        Spelling{"UpperExponent", {.spellReal = withExponent}, ""},
        Spelling{"BarePoint", {.spellReal = withBarePoint}, ""},
        Spelling{"TextAfterTheLastRecord", {}, "END OF RESULTS, 1,,2 x\n"},
        Spelling{
            "Everything",
            {.spellReal = withSign, .lineEnd = "\r\n", .afterComma = " ", .betweenLines = "\r\n"},
            "\x1A"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultFileReader, AcceptsAFileThatEndsRightAfterItsLastNumber) {
    const ScratchDirectory dir;
    std::string text = plainText(twoElementModel());
    text.pop_back();
    expectSameData(readResultFile(dir.write("cut.txt", text)), twoElementModel());
}

TEST(ResultFileReader, AcceptsBlanksInsideTheCountLines) {
    const ScratchDirectory dir;
    std::string text = plainText(twoElementModel());
    text.replace(0, text.find("\n", text.find("NELEM")), "NPOIN= 6 \n\nNELEM=\t2  ");
    expectSameData(readResultFile(dir.write("counts.txt", text)), twoElementModel());
}

// ---- Refusals: each names the file and line and leaves the model alone ------

struct Refusal {
    const char* name;
    std::function<std::string(std::vector<std::string>&)>
        corrupt;  // edits the lines, returns the text
    std::int64_t line;
    const char* detail;  // part of the message after "FILE:LINE: "
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.name;
}

// Line numbers of the plain two-element text: 1, 2 counts; 3 .. 8 nodes; 9 element 0's
// corners; 10, 11 its corner 0 stress lines; 18 element 1's corners.
std::function<std::string(std::vector<std::string>&)> replaceLine(int line, std::string text) {
    return [line, text](std::vector<std::string>& lines) {
        lines[line - 1] = text;
        return joinLines(lines);
    };
}

class RefusedFile : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedFile, NamesFileAndLineAndLeavesTheModelAsItWas) {
    const ScratchDirectory dir;
    ShellModel model;
    loadResultFile(model, dir.write("good.txt", plainText(twoElementModel())));
    model.elementSelected[1] = 0;
    model.nodePicked[2] = 1;
    const ShellModel before = model;

    std::vector<std::string> lines = splitLines(plainText(twoElementModel()));
    const std::filesystem::path bad = dir.write("bad.txt", GetParam().corrupt(lines));
    try {
        loadResultFile(model, bad);
        FAIL() << "accepted";
    } catch (const ResultFileError& error) {
        const std::string message = error.what();
        EXPECT_TRUE(message.starts_with("应力云图文件读取错误!\n")) << message;
        EXPECT_NE(message.find("\n" + bad.string() + ":" + std::to_string(GetParam().line) + ": "),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find(GetParam().detail), std::string::npos) << message;
        EXPECT_EQ(error.line(), GetParam().line);
        EXPECT_EQ(error.file(), bad.string());
    }
    expectSameData({model.nodes, model.connectivity, model.elementStresses},
                   {before.nodes, before.connectivity, before.elementStresses});
    EXPECT_EQ(model.elementSelected, before.elementSelected);
    EXPECT_EQ(model.nodePicked, before.nodePicked);
    EXPECT_EQ(model.meanEdgeLength, before.meanEdgeLength);
}

const std::string stressLine = "1,2,3,4,5,6,7";

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedFile,
    ::testing::Values(
        Refusal{"EmptyFile", [](auto&) { return std::string(); }, 1,
                "expected 'NPOIN=' at the start of the file, found end of file"},
        Refusal{"ByteOrderMark",
                [](auto& l) {
                    l[0] = "\xEF\xBB\xBF" + l[0];
                    return joinLines(l);
                },
                1, "found '\\xEF\\xBB\\xBFNPOIN=6'"},
        Refusal{"MisspeltNodeKey", replaceLine(1, "NPOlN=6"), 1, "expected 'NPOIN='"},
        Refusal{"MissingElementCount",
                [](auto& l) {
                    l.erase(l.begin() + 1);
                    return joinLines(l);
                },
                2, "expected 'NELEM=' after the node count, found '0'"},
        Refusal{"NegativeNodeCount", replaceLine(1, "NPOIN=-1"), 1,
                "expected a node count of 0 or more, found '-1'"},
        // A count beyond what the file can hold allocates nothing; the message shows where
        // the text stops matching it.
        Refusal{"NodeCountBeyondTheFile", replaceLine(1, "NPOIN=99999999"), 9,
                "expected white space or a line break after z of node 6, found ','"},
        Refusal{"ElementCountBeyondTheFile", replaceLine(2, "NELEM=2000000000"), 27,
                "expected a node index (corner 0 of element 2), found end of file"},
        Refusal{"CountOverflowsInt32", replaceLine(1, "NPOIN=4294967302"), 1,
                "expected a node count, found '4294967302'"},
        Refusal{"MissingComma", replaceLine(4, "1 0,0.5"), 4,
                "expected ',' after x of node 1, found ' '"},
        Refusal{"BlankBeforeComma", replaceLine(5, "2 ,0,0"), 5,
                "expected ',' after x of node 2, found ' '"},
        Refusal{"Letter", replaceLine(11, "1,2,3,4,x,6,7"), 11,
                "expected a number (Txz of element 0, corner 0, second stress line), found 'x'"},
        Refusal{"SignGluedNumbers", replaceLine(4, "1,0+2,0.5"), 4,
                "expected ',' after y of node 1, found '+2'"},
        Refusal{"SignGluedAtLineEnd", replaceLine(4, "1,0,0.5-2"), 4,
                "expected white space or a line break after z of node 1, found '-2'"},
        Refusal{"CommaAtLineEnd", replaceLine(6, "0,1,-0.5,"), 6,
                "expected white space or a line break after z of node 3, found ','"},
        Refusal{"DoubleComma", replaceLine(7, "1,,1,0"), 7,
                "expected a number (y of node 4), found ','"},
        Refusal{"ShortLine", replaceLine(8, "2,1"), 8,
                "expected ',' after y of node 5, found end of line"},
        Refusal{"DecimalIndex", replaceLine(9, "0,1.0,4,3"), 9,
                "expected ',' after corner 1 of element 0, found '.0'"},
        Refusal{"IndexAboveRange", replaceLine(18, "1,2,6,4"), 18,
                "expected a node index 0 .. 5 (corner 2 of element 1), found '6'"},
        Refusal{"NegativeIndex", replaceLine(9, "-1,1,4,3"), 9,
                "expected a node index 0 .. 5 (corner 0 of element 0)"},
        Refusal{"IndexOverflowsInt32", replaceLine(9, "0,1,4,2147483648"), 9,
                "expected a node index 0 .. 5 (corner 3 of element 0)"},
        Refusal{"NotANumber", replaceLine(10, "1,nan,3,4,5,6,7"), 10,
                "expected a finite number (Sy of element 0, corner 0, first stress line), found "
                "'nan'"},
        Refusal{"DoubleOverflow", replaceLine(3, "1e999,0,0"), 3,
                "expected a number within the range of a double (x of node 0)"},
        Refusal{"DoubleSign", replaceLine(3, "+-1,0,0"), 3,
                "expected a number (x of node 0), found '+-1'"},
        Refusal{"HexadecimalNumber", replaceLine(3, "0x1p3,0,0"), 3,
                "expected ',' after x of node 0, found 'x1p3'"},
        Refusal{"NulByte",
                [](auto& l) {
                    l[2] = std::string("0,\0,0", 5);
                    return joinLines(l);
                },
                3, "found '\\x00'"},
        Refusal{"LongGarbageIsShortened", replaceLine(13, "abcdefghijklmnopqrstuvwxyz0123456789"),
                13, "found 'abcdefghijklmnopqrstuvwx...'"},
        Refusal{
            "EndsInsideTheLastElement",
            [](auto& l) {
                l.resize(l.size() - 3);
                return joinLines(l);
            },
            24,
            "expected a number (Sx of element 1, corner 2, second stress line), found end of file"},
        // The last number of the file is judged like every other.
        Refusal{"GarbageGluedToTheLastNumber", replaceLine(26, "1,2,3,4,5,6,7.5.5.5e9xyz"), 26,
                "expected white space or a line break after Se of element 1, corner 3, second "
                "stress line, found '.5.5e9xyz'"},
        // Line numbers count LF, CR LF and a lone CR alike.
        Refusal{"MixedLineEnds",
                [](auto& l) {
                    l[10] = "1,2,3,4,x,6,7";
                    std::string text;
                    for (std::size_t k = 0; k < l.size(); ++k)
                        text += l[k] + (k % 3 == 0 ? "\r" : k % 3 == 1 ? "\r\n" : "\n");
                    return text;
                },
                11, "expected a number (Txz of element 0, corner 0, second stress line)"},
        Refusal{"EndsAfterAComma", replaceLine(26, "1,"), 27,
                "expected a number (Sy of element 1, corner 3, second stress line), found end of "
                "file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultFileReader, RefusesAMissingFileWithTheSystemsReason) {
    const ScratchDirectory dir;
    ShellModel model;
    const std::filesystem::path missing = dir.path() / "Shell_AverageStrs.txt";
    try {
        loadResultFile(model, missing);
        FAIL() << "accepted";
    } catch (const ResultFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "应力云图文件读取错误!\nNo such file or directory: " + missing.string());
        EXPECT_EQ(error.line(), 0);
    }
    EXPECT_TRUE(model.nodes.empty());
}

TEST(ResultFileReader, RefusesADirectoryAndANamedPipeWithoutWaiting) {
    const ScratchDirectory dir;
    EXPECT_THROW(readResultFile(dir.path()), ResultFileError);
    const std::filesystem::path pipe = dir.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(readResultFile(pipe), ResultFileError);
}

// A file without nodes is refused for that, whatever follows its node count.
TEST(ResultFileReader, NodelessFileIsRefusedForItsNodeCount) {
    const ScratchDirectory dir;
    std::string record = "0,1,2,3\n";
    for (int k = 0; k < 8; ++k)
        record += stressLine + "\n";
    for (const std::string& rest : {std::string("NELEM=3\n"), "NELEM=1\n" + record,
                                    "NELEM=1\nx" + record, std::string("0,0,0\n")}) {
        const auto nodeless = dir.write("nodeless.txt", "NPOIN=0\n" + rest);
        try {
            readResultFile(nodeless);
            FAIL() << "accepted " << rest;
        } catch (const ResultFileError& error) {
            EXPECT_EQ(std::string(error.what()), "节点数目错误!\n" + nodeless.string() +
                                                     ":1: expected at least one node, found '0'");
        }
    }
}

TEST(ResultFileReader, NodesOnlyModelHasNoEdges) {
    const ScratchDirectory dir;
    ShellModel model;
    loadResultFile(model, dir.write("nodes.txt", "NPOIN=2\nNELEM=0\n1,2,3\n-1,5,0.5\n"));
    EXPECT_EQ(model.nodeCount(), 2);
    EXPECT_EQ(model.elementCount(), 0);
    EXPECT_EQ(model.meanEdgeLength, 0.0);
    EXPECT_EQ(model.minX, -1.0);
    EXPECT_EQ(model.maxY, 5.0);
    EXPECT_EQ(model.minZ, 0.5);
}

TEST(ResultFileReader, UnitSquareHasUnitBoundsAndEdges) {
    const ScratchDirectory dir;
    std::string text =
        "NPOIN=4\nNELEM=1\n0.0,0.0,0.0\n1.0,0.0,0.0\n1.0,1.0,0.0\n0.0,1.0,0.0\n0,1,2,3\n";
    for (int k = 0; k < 8; ++k)
        text += stressLine + "\n";
    ShellModel model;
    loadResultFile(model, dir.write("square.txt", text));
    EXPECT_EQ(model.minX, 0.0);
    EXPECT_EQ(model.maxX, 1.0);
    EXPECT_EQ(model.minY, 0.0);
    EXPECT_EQ(model.maxY, 1.0);
    EXPECT_EQ(model.minZ, 0.0);
    EXPECT_EQ(model.maxZ, 0.0);
    EXPECT_EQ(model.meanEdgeLength, 1.0);
}

TEST(ResultFileReader, FirstStressLineOfACornerFillsSurfaceZero) {
    const ScratchDirectory dir;
    std::string text = "NPOIN=4\nNELEM=1\n0,0,0\n1,0,0\n1,1,0\n0,1,0\n3,2,1,0\n";
    for (int corner = 0; corner < 4; ++corner)
        for (int line = 0; line < 2; ++line) {
            for (int k = 0; k < 7; ++k) {
                if (k > 0) text.push_back(',');
                text += std::to_string(1000 * line + 10 * corner + k);
            }
            text.push_back('\n');
        }
    const ResultData data = readResultFile(dir.write("surfaces.txt", text));
    EXPECT_EQ(data.connectivity, (std::vector<std::int32_t>{3, 2, 1, 0}));
    const ElementStressBlock& block = data.elementStresses[0];
    EXPECT_EQ(block.value(0, 0, Sx), 0.0);
    EXPECT_EQ(block.value(0, 2, Tyz), 25.0);
    EXPECT_EQ(block.value(1, 0, Sx), 1000.0);
    EXPECT_EQ(block.value(1, 3, Se), 1036.0);
}

}  // namespace
}  // namespace corvelt
