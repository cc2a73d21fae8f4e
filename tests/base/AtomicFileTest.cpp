// The atomic file: the target changes only at commit, and is replaced as the file
// a link names, with the permissions it had. (Failed writes: SelectionFileTest.)

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/TestMeshes.h"
#include "base/AtomicFile.h"

namespace corvelt {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesTheFileALinkNamesAtCommitKeepingItsPermissions) {
    testing::TempDir dir;
    const fs::path target = dir.file("target.txt"), link = dir.file("link.txt");
    std::ofstream(target) << "old\n";
    constexpr fs::perms permissions =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, permissions);
    fs::create_symlink(target, link);
    {
        AtomicFile abandoned(link);
        abandoned.write("half");
    }
    AtomicFile file(link);
    file.writeAt(3, "\n");
    file.writeAt(0, "new");
    EXPECT_EQ(testing::readText(target), "old\n");
    file.commit();

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testing::readText(target), "new\n");
    EXPECT_EQ(fs::status(target).permissions(), permissions);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2)
        << "no temporary file is left";
}

}  // namespace
}  // namespace corvelt
