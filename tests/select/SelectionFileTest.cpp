// Selection list files: what is written, what a read accepts, skips and refuses,
// and that a failure changes neither the selection nor the file that was there.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "app/TestMeshes.h"
#include "select/SelectionFile.h"
#include "view/TestMeshes.h"

namespace corvelt {
namespace {

using Flags = std::vector<std::uint8_t>;
using Indices = std::vector<std::int32_t>;

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A 4 x 1 strip: four elements and ten nodes.
class SelectionFile : public ::testing::TestWithParam<ItemKind> {
  protected:
    ShellModel model = testing::modelOf(testing::unitGrid(4, 1));
    testing::TempDir dir;
    std::filesystem::path file = dir.file("selection.txt");

    ItemKind kind() const { return GetParam(); }
    Flags& selected() {
        return kind() == ItemKind::elements ? model.elementSelected : model.nodeSelected;
    }
    Flags& picked() {
        return kind() == ItemKind::elements ? model.elementPicked : model.nodePicked;
    }
    std::int32_t count() { return static_cast<std::int32_t>(selected().size()); }

    void select(const Indices& indices) {
        std::fill(selected().begin(), selected().end(), 0);
        for (const std::int32_t index : indices)
            selected()[static_cast<std::size_t>(index)] = 1;
    }
    Indices selectedIndices() {
        Indices indices;
        for (std::size_t i = 0; i < selected().size(); ++i)
            if (selected()[i] != 0) indices.push_back(static_cast<std::int32_t>(i));
        return indices;
    }
    // Reads `text` as the file and returns the selection it gives.
    Indices read(const std::string& text) {
        writeText(file, text);
        readSelection(model, kind(), file);
        return selectedIndices();
    }
    std::string headline(bool write) const {
        return std::string("The selected ") +
               (kind() == ItemKind::elements ? "elements" : "nodes") + " file " +
               (write ? "write" : "read") + " error!\n";
    }
};

TEST_P(SelectionFile, RoundTripsWriteAscendingIndicesOneALine) {
    const Indices last{count() - 1};
    Indices all(static_cast<std::size_t>(count()));
    std::iota(all.begin(), all.end(), 0);
    for (const Indices& set : {all, Indices{}, Indices{0, 2, 3}, last}) {
        select(set);
        writeSelection(model, kind(), file);
        std::string expected;
        for (const std::int32_t index : set)
            expected += std::to_string(index) + "\n";
        EXPECT_EQ(testing::readText(file), expected);

        std::fill(selected().begin(), selected().end(), 1);
        readSelection(model, kind(), file);
        EXPECT_EQ(selectedIndices(), set);
    }
}

TEST_P(SelectionFile, ReadTakesAnyWhiteSpaceAndSkipsIndicesOutOfRange) {
    const std::string tooLarge = std::to_string(count());
    struct Case {
        std::string text;
        Indices expected;
    };
    for (const Case& c : {
             Case{"3\n1\n1\n3\n", {1, 3}},
             Case{"2", {2}},  // no final line end
             Case{"0\r\n2\r\n", {0, 2}},
             Case{"\t0\t\t3\n \v\f\n\n", {0, 3}},
             Case{"+1 -0 003", {0, 1, 3}},
             Case{
                 "-1 0 " + tooLarge + " 2147483648 99999999999999999999999 -99999999999999999999 3",
                 {0, 3}},
             Case{"", {}},
             Case{" \n\r\n", {}},
         }) {
        select({1, 2});
        picked()[1] = 1;
        EXPECT_EQ(read(c.text), c.expected) << c.text;
        EXPECT_EQ(picked()[1], 1) << "picks are not the file's business";
    }
}

TEST_P(SelectionFile, AnyOtherTokenRefusesTheWholeFileNamingLineAndToken) {
    struct Case {
        std::string text;
        std::string reason;
    };
    for (const Case& c : {
             Case{"1\nabc\n", ":2: expected a whole number, found 'abc'"},
             Case{"1.5", ":1: expected a whole number, found '1.5'"},
             Case{"0\n1\r\n\r\n0x10 2", ":4: expected a whole number, found '0x10'"},
             Case{"1,2", ":1: expected a whole number, found '1,2'"},
             Case{"1e3", ":1: expected a whole number, found '1e3'"},
             Case{"-", ":1: expected a whole number, found '-'"},
             Case{"+-1", ":1: expected a whole number, found '+-1'"},
             Case{std::string("2 7\0\n", 5), ":1: expected a whole number, found '7\\x00'"},
             Case{"0 " + std::string(40, 'x'),
                  ":1: expected a whole number, found '" + std::string(24, 'x') + "...'"},
         }) {
        select({1, 2});
        try {
            read(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const SelectionFileError& error) {
            EXPECT_EQ(error.what(), headline(false) + file.string() + c.reason);
        }
        EXPECT_EQ(selectedIndices(), (Indices{1, 2})) << c.text;
    }
}

TEST_P(SelectionFile, FailuresNameThePathAndTheReasonAndChangeNothing) {
    const std::filesystem::path folder = dir.file("folder");
    std::filesystem::create_directory(folder);
    struct Case {
        bool write;
        std::filesystem::path path;
        std::string reason;
    };
    for (const Case& c :
         {Case{false, dir.file("missing.txt"), "No such file or directory"},
          Case{false, folder, "Is a directory"},
          Case{true, dir.file("missing/selection.txt"), "No such file or directory"},
          Case{true, folder, "Is a directory"}}) {
        select({1, 2});
        try {
            if (c.write)
                writeSelection(model, kind(), c.path);
            else
                readSelection(model, kind(), c.path);
            ADD_FAILURE() << c.path;
        } catch (const SelectionFileError& error) {
            EXPECT_EQ(error.what(), headline(c.write) + c.path.string() + ": " + c.reason);
        }
        EXPECT_EQ(selectedIndices(), (Indices{1, 2}));
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// A write that fails half-way (here: the file size limit) must not cost the old file.
TEST_P(SelectionFile, AWriteThatFailsHalfWayKeepsTheOldFile) {
    writeText(file, "1\n");
    select({0, 1, 2, 3});
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 3;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(writeSelection(model, kind(), file), SelectionFileError);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(testing::readText(file), "1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "the temporary file is gone";
}

INSTANTIATE_TEST_SUITE_P(Kinds, SelectionFile,
                         ::testing::Values(ItemKind::elements, ItemKind::nodes),
                         [](const auto& info) {
                             return info.param == ItemKind::elements ? "Elements" : "Nodes";
                         });

TEST(SelectionFileKinds, ElementIndicesReadIntoNodesAreNodeIndices) {
    ShellModel model = testing::modelOf(testing::unitGrid(4, 1));
    testing::TempDir dir;
    std::fill(model.elementSelected.begin(), model.elementSelected.end(), 0);
    model.elementSelected[1] = model.elementSelected[3] = 1;
    writeSelection(model, ItemKind::elements, dir.file("elements.txt"));
    readSelection(model, ItemKind::nodes, dir.file("elements.txt"));
    EXPECT_EQ(model.nodeSelected, (Flags{0, 1, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(model.elementSelected, (Flags{0, 1, 0, 1}));
}

}  // namespace
}  // namespace corvelt
