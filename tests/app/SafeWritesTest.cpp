// Every file the batch mode writes is replaced all at once: a full disk leaves the
// old file and no stub, and a named pipe or a device is refused at once (a write
// to a pipe would wait for a reader forever), as are reads from them.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "SmallFilesystem.h"
#include "TestMeshes.h"
#include "app/Application.h"
#include "app/BatchRunner.h"

namespace corvelt {
namespace {

namespace fs = std::filesystem;

struct WriteCase {
    const char* name;
    const char* line;    // the batch line; PATH stands for the target
    const char* target;  // its name in the folder, which is the working directory
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.line;
}

class SafeWrites : public ::testing::TestWithParam<WriteCase> {
  protected:
    void SetUp() override {
        testing::writeResultFile(dir.file("grid.txt"), testing::squareGrid(4, 2));
        app.openFile(dir.file("grid.txt"));
    }

    // Runs the case's line with the target in that folder, from that folder.
    std::optional<BatchFailure> write(const fs::path& folder) {
        std::string line = GetParam().line;
        if (const std::size_t at = line.find("PATH"); at != std::string::npos)
            line.replace(at, 4, (folder / GetParam().target).string());
        const testing::InDirectory inFolder(folder);
        std::istringstream script(line + "\n");
        return runBatch(script, app, nullptr);
    }

    testing::TempDir dir;
    Application app;
};

TEST_P(SafeWrites, AFullDiskLeavesTheOldFileAndNoStub) {
    const testing::SmallFilesystem disk(dir.file("small"));
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    const fs::path target = disk.file(GetParam().target);
    std::ofstream(target) << "old\n";
    disk.fill();

    const std::optional<BatchFailure> failure = write(disk.path());
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->message.find("No space left on device"), std::string::npos)
        << failure->message;
    EXPECT_NE(failure->message.find(GetParam().target), std::string::npos) << failure->message;
    EXPECT_EQ(testing::readText(target), "old\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), {}), 2)
        << "only the old file and the filler";
}

TEST_P(SafeWrites, APipeOrADeviceIsRefusedAtOnceAndStays) {
    const fs::path target = dir.file(GetParam().target);
    ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
    std::optional<BatchFailure> failure = write(dir.path());
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->message.find("Is a named pipe, not a regular file"), std::string::npos)
        << failure->message;
    EXPECT_TRUE(fs::is_fifo(target));

    fs::remove(target);
    if (!testing::makeNullDevice(target)) GTEST_SKIP() << "making a device node needs root";
    failure = write(dir.path());
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->message.find("Is a device, not a regular file"), std::string::npos)
        << failure->message;
    EXPECT_TRUE(fs::is_character_file(target));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SafeWrites,
    ::testing::Values(WriteCase{"State", "state PATH", "s.json"},
                      WriteCase{"SelectionFile", "selection write nodes PATH", "nodes.txt"},
                      WriteCase{"Report", "report elements", "SelectedElemStress.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

// Reading a pipe would wait for a writer: refused at once, with what it is.
TEST(SafeReads, APipeIsRefusedAtOnceWithWhatItIs) {
    const testing::TempDir dir;
    const fs::path pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    testing::writeResultFile(dir.file("grid.txt"), testing::squareGrid(4, 2));
    Application app;
    app.openFile(dir.file("grid.txt"));
    for (const std::string line : {"open ", "selection read elements "}) {
        std::istringstream script(line + pipe.string() + "\n");
        const std::optional<BatchFailure> failure = runBatch(script, app, nullptr);
        ASSERT_TRUE(failure) << line;
        EXPECT_NE(failure->message.find("Is a named pipe, not a regular file"), std::string::npos)
            << failure->message;
    }
    EXPECT_EQ(app.model().elementCount(), 8);
}

}  // namespace
}  // namespace corvelt
