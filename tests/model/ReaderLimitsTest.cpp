// What the reader does with files that change under it, with counts that the
// content does not live up to, and how it tells its progress and stops.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "ResultTextBuilder.h"
#include "model/ResultFileReader.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace corvelt {
namespace {

using testing::ScratchDirectory;

// About 800 KB of text: some hundred chunks of the size the tests use.
const std::string& cylinderText() {
    static const std::string text = samples::formatResultText(
        samples::generateCylinderResult(samples::cylinderWithElementCount(1000)));
    return text;
}

constexpr ParseOptions smallChunks{4096, 2};

// ---- A file that changes while it is read ---------------------------------

struct Change {
    const char* name;
    std::function<void(const std::filesystem::path&)> apply;
};

void PrintTo(const Change& c, std::ostream* out) {
    *out << c.name;
}

void rewriteInPlace(const std::filesystem::path& path, std::size_t offset,
                    const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

class ChangedWhileRead : public ::testing::TestWithParam<Change> {};

// The change is made from the progress callback once the first chunk is read. One
// worker makes that point certain: reads that fail on helper threads are tested
// with the chunked parse.
TEST_P(ChangedWhileRead, IsRefusedAsChanged) {
    const ScratchDirectory dir;
    const std::filesystem::path path = dir.write("big.txt", cylinderText());
    // An old time stamp, so that any write gives it a new one.
    const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);

    bool changed = false;
    const auto changeOnce = [&](double fraction) {
        if (fraction > 0 && !changed) {
            GetParam().apply(path);
            changed = true;
        }
        return true;
    };
    try {
        readResultFile(path, changeOnce, {smallChunks.chunkBytes, 1});
        FAIL() << "accepted";
    } catch (const ResultFileError& error) {
        EXPECT_EQ(std::string(error.what()), "应力云图文件读取错误!\n" + path.string() +
                                                 ": the file changed while it was being read");
        EXPECT_EQ(error.file(), path.string());
    }
    EXPECT_TRUE(changed);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedWhileRead,
    ::testing::Values(
        Change{"Truncated", [](const auto& p) { std::filesystem::resize_file(p, 100); }},
        Change{"Emptied", [](const auto& p) { std::filesystem::resize_file(p, 0); }},
        Change{"SameBytesWrittenAgain",
               [](const auto& p) { rewriteInPlace(p, 0, cylinderText().substr(0, 4096)); }},
        Change{"Appended", [](const auto& p) { std::ofstream(p, std::ios::app) << "0,0,0\n"; }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Counts that the content does not hold ---------------------------------

// This process's peak resident memory and the bytes it has read, from the point
// where they were reset; the peak comes from the kernel's high-water mark.
class ProcessUse {
  public:
    ProcessUse() {
        std::ofstream("/proc/self/clear_refs") << "5";  // resets the high-water mark
        startPeak_ = statusKilobytes("VmHWM");
        startRead_ = bytesRead();
    }
    bool available() const { return startPeak_ > 0 && startRead_ >= 0; }
    long long peakGrowthKilobytes() const { return statusKilobytes("VmHWM") - startPeak_; }
    long long readBytes() const { return bytesRead() - startRead_; }

  private:
    static long long statusKilobytes(const std::string& key) {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with(key + ":")) return std::stoll(line.substr(key.size() + 1));
        return -1;
    }
    static long long bytesRead() {
        std::ifstream io("/proc/self/io");
        for (std::string line; std::getline(io, line);)
            if (line.starts_with("rchar:")) return std::stoll(line.substr(6));
        return -1;
    }
    long long startPeak_;
    long long startRead_;
};

std::filesystem::path sparseFile(const ScratchDirectory& dir, const std::string& text,
                                 std::uintmax_t size) {
    const std::filesystem::path path = dir.write("sparse.txt", text);
    std::filesystem::resize_file(path, size);  // the rest reads as NUL bytes but takes no disk
    return path;
}

constexpr long long megabyte = 1024 * 1024;

// Counts that would take 7.6 GB of arrays, in a file of holes: refused at the
// first byte of its body, with a few chunks read and no array grown.
TEST(ReaderLimits, CountsInAFileOfHolesCostNeitherMemoryNorReading) {
    const ScratchDirectory dir;
    const auto path = sparseFile(dir, "NPOIN=1000\nNELEM=17000000\n", 2100 * megabyte);
    const ProcessUse use;
    if (!use.available()) GTEST_SKIP() << "no /proc/self/status or /proc/self/io";
    try {
        readResultFile(path);
        FAIL() << "accepted";
    } catch (const ResultFileError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(std::string(error.what()).find("expected a number (x of node 0), found '\\x00"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_LT(use.peakGrowthKilobytes(), 64 * 1024);
    EXPECT_LT(use.readBytes(), 16 * megabyte);
}

// What follows the last record is not read: a valid model followed by gigabytes
// of NUL bytes is accepted without looking at them.
TEST(ReaderLimits, ReadsNoFurtherThanTheLastRecord) {
    const ScratchDirectory dir;
    const std::string model = testing::plainText(testing::twoElementModel());
    const auto path = sparseFile(dir, model, 2600 * megabyte);
    const ProcessUse use;
    if (!use.available()) GTEST_SKIP() << "no /proc/self/status or /proc/self/io";
    testing::expectSameData(readResultFile(path), testing::twoElementModel());
    EXPECT_LT(use.peakGrowthKilobytes(), 64 * 1024);
    EXPECT_LT(use.readBytes(), 16 * megabyte);
}

// ---- Progress and cancel ---------------------------------------------------

// The calling thread tells the progress after each chunk it parses itself; with
// one worker that is every chunk. Helpers never call it.
TEST(ReaderProgress, RisesWithTheChunksOnTheCallingThreadOnly) {
    const ScratchDirectory dir;
    const auto path = dir.write("model.txt", cylinderText());
    const auto caller = std::this_thread::get_id();
    for (const unsigned workers : {1u, 3u}) {
        std::vector<double> fractions;
        bool otherThread = false;
        readResultFile(path,
                       [&](double fraction) {
                           otherThread |= std::this_thread::get_id() != caller;
                           fractions.push_back(fraction);
                           return true;
                       },
                       {smallChunks.chunkBytes, workers});
        EXPECT_FALSE(otherThread);
        ASSERT_GE(fractions.size(), 2u);
        EXPECT_EQ(fractions.front(), 0.0);
        EXPECT_EQ(fractions.back(), 1.0);
        EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
        if (workers == 1) {
            EXPECT_GE(fractions.size(), cylinderText().size() / smallChunks.chunkBytes);
        }
    }
}

// Stopping leaves at most the chunks that were already running to finish: with one
// worker, none.
TEST(ReaderProgress, StopsAtTheChunkWhereTheCallbackSaysSo) {
    const ScratchDirectory dir;
    const auto path = dir.write("model.txt", cylinderText());
    int callsAfterStop = 0;
    bool stopped = false;
    const ProcessUse use;
    EXPECT_THROW(readResultFile(path,
                                [&](double fraction) {
                                    callsAfterStop += stopped;
                                    stopped = stopped || fraction > 0.2;
                                    return !stopped;
                                },
                                {smallChunks.chunkBytes, 1}),
                 ReadCancelled);
    EXPECT_EQ(callsAfterStop, 0);
    if (use.available()) {
        EXPECT_LT(use.readBytes(), static_cast<long long>(cylinderText().size()) / 3);
    }
}

}  // namespace
}  // namespace corvelt
