// What both exports promise of the file: replaced at once, untouched by a cancel
// or a failure, progress told in order, and failures named.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ExportModels.h"
#include "app/TestMeshes.h"
#include "formats/CsvWriter.h"
#include "formats/ExportError.h"
#include "formats/VtuWriter.h"

namespace corvelt {
namespace {

using Writer = void (*)(const ShellModel&, const std::filesystem::path&, const ExportProgress&);

struct Format {
    const char* name;
    Writer write;
    const char* headline;
};

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.name;
}

class ExportFile : public ::testing::TestWithParam<Format> {
  protected:
    void write(const ExportProgress& progress = {}) { GetParam().write(model, target, progress); }

    void writeOld() { std::ofstream(target) << "old file\n"; }

    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Enough elements for many chunks.
    ShellModel model = testing::exportModel(9000);
    testing::TempDir dir;
    std::filesystem::path target = dir.file("export.out");
};

TEST_P(ExportFile, ReplacesTheOldFileWholeTellingProgressInOrder) {
    writeOld();
    std::vector<double> told;
    write([&](double fraction) {
        told.push_back(fraction);
        return true;
    });
    const std::string first = testing::readText(target);
    EXPECT_GT(first.size(), 9000u * 8);
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"export.out"});
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told.front(), 0.0);
    EXPECT_EQ(told.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));

    // The same model gives the same bytes, whichever thread formatted which chunk.
    write();
    EXPECT_EQ(testing::readText(target), first);
}

TEST_P(ExportFile, ACancelLeavesNoFileAndTheOldOneAsItWas) {
    for (const bool old : {false, true}) {
        SCOPED_TRACE(old ? "over an old file" : "no file before");
        if (old) writeOld();
        double last = 0;
        EXPECT_THROW(write([&](double fraction) {
                         last = fraction;
                         return fraction == 0.0;  // cancelled once a chunk is written
                     }),
                     ExportCancelled);
        EXPECT_GT(last, 0.0);
        if (old)
            EXPECT_EQ(testing::readText(target), "old file\n");
        else
            EXPECT_EQ(filesInDir(), std::vector<std::string>{});
    }
}

// A write that fails half-way, as on a full disk: the file may grow no further than
// the old one is long.
TEST_P(ExportFile, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    writeOld();
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousSignal = signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        write();
    } catch (const ExportError& error) {
        message = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousSignal);
    EXPECT_EQ(message,
              std::string(GetParam().headline) + "\n" + target.string() + ": File too large");
    EXPECT_EQ(testing::readText(target), "old file\n");
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"export.out"});

    const std::filesystem::path missing = dir.file("missing") / "export.out";
    try {
        GetParam().write(model, missing, {});
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const ExportError& error) {
        EXPECT_EQ(error.what(), std::string(GetParam().headline) + "\n" + missing.string() +
                                    ": No such file or directory");
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothFormats, ExportFile,
    ::testing::Values(Format{"vtu", writeVtu, "The VTK file could not be written."},
                      Format{"csv", writeCsv, "The table could not be written."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvelt
