// Pictures are written as every other file: all at once, so that a full disk leaves
// the old file and no stub, and never into a named pipe, which would wait for a
// reader forever.
#include <sys/stat.h>

#include <QFile>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "SmallFilesystem.h"
#include "WindowTest.h"
#include "gui/FrameImage.h"

namespace corvelt {
namespace {

namespace fs = std::filesystem;

// A message of the batch mode's render, or "" when it wrote the image.
std::string renderFailure(Application& app, const fs::path& path) {
    try {
        PngFrameSink().writePng(app, path);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return {};
}

TEST(BatchRender, APipeIsRefusedAtOnceAndAFullDiskLeavesTheOldImage) {
    TempDir dir;
    Application app;
    const fs::path pipe = dir.file("pipe.png");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(renderFailure(app, pipe),
              "cannot write the image " + pipe.string() + ": Is a named pipe, not a regular file");
    EXPECT_TRUE(fs::is_fifo(pipe));

    const testing::SmallFilesystem disk(dir.file("small"));
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    app.adoptFile(testing::squareGrid(4, 2), "grid.txt");
    const fs::path image = disk.file("grid.png");
    ASSERT_EQ(renderFailure(app, image), "");
    const std::string old = testing::readText(image);
    app.command(40020);  // white background: another picture
    disk.fill();
    EXPECT_EQ(renderFailure(app, image),
              "cannot write the image " + image.string() + ": No space left on device");
    EXPECT_EQ(testing::readText(image), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), {}), 2);
}

TEST_F(WindowTest, SavePictureRefusesAPipeWithWhatItIs) {
    open(testing::squareGrid(2, 1));
    const fs::path pipe = files.file("pipe.png");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto message = acceptNextMessage();
    EXPECT_FALSE(window.savePicture(QFile::decodeName(pipe.c_str())));
    EXPECT_TRUE(message->text.contains(QStringLiteral("Is a named pipe, not a regular file")))
        << message->text.toStdString();
    EXPECT_TRUE(fs::is_fifo(pipe));
}

}  // namespace
}  // namespace corvelt
