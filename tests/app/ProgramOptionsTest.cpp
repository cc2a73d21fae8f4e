// The programs' command lines, run as child processes without any display.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestMeshes.h"

extern char** environ;

namespace corvelt {
namespace {

struct ChildRun {
    int exitCode = -1;  // -1: did not exit normally (a signal, an abort)
    std::string out;
    std::string err;
};

std::string contents(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The environment without anything that names a display or a Qt platform.
std::vector<char*> environmentWithoutDisplay() {
    std::vector<char*> kept;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable = *entry;
        if (variable.starts_with("DISPLAY=") || variable.starts_with("WAYLAND_DISPLAY=") ||
            variable.starts_with("QT_QPA_PLATFORM="))
            continue;
        kept.push_back(*entry);
    }
    kept.push_back(nullptr);
    return kept;
}

ChildRun runProgram(const std::string& program, std::vector<std::string> arguments) {
    const testing::TempDir dir;
    const std::string out = dir.file("out").string(), err = dir.file("err").string();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char*> environment = environmentWithoutDisplay();

    ChildRun result;
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &files, nullptr, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) return result;
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = contents(out);
    result.err = contents(err);
    return result;
}

struct ProgramCase {
    const char* name;
    const char* program;
    std::vector<std::string> arguments;
    int exitCode;
    // Texts that standard output and standard error must hold; "" asks for nothing
    // there at all.
    std::vector<std::string> out;
    std::vector<std::string> err;
};

class ProgramRuns : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramRuns, WithoutADisplay) {
    const ProgramCase& c = GetParam();
    const ChildRun result = runProgram(c.program, c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    for (const auto& [expected, actual] : {std::pair{&c.out, &result.out}, {&c.err, &result.err}}) {
        for (const std::string& text : *expected) {
            if (text.empty())
                EXPECT_EQ(*actual, "");
            else
                EXPECT_NE(actual->find(text), std::string::npos) << text << " in:\n" << *actual;
        }
    }
}

const std::string usage = "usage: corvelt ";
const std::string noDisplay = "use --batch or --info without a display\n";
const std::string sample = CORVELT_SOURCE_DIR "/data/Shell_AverageStrs.txt";
const std::string frdPlate = CORVELT_SOURCE_DIR "/tests/data/frd/plate.frd";
const std::string frdTwoDimensional =
    CORVELT_SOURCE_DIR "/fuzz/corpus/frd_reader/two_dimensional.frd";

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramRuns,
    ::testing::Values(
        ProgramCase{"help", CORVELT_EXECUTABLE, {"--help"}, 0, {usage, "--version"}, {""}},
        ProgramCase{"shortHelp", CORVELT_EXECUTABLE, {"-h"}, 0, {usage}, {""}},
        ProgramCase{"version",
                    CORVELT_EXECUTABLE,
                    {"--version"},
                    0,
                    {"corvelt " CORVELT_VERSION "\n"},
                    {""}},
        ProgramCase{"badOption", CORVELT_EXECUTABLE, {"--bogus"}, 2, {""}, {"'--bogus'", usage}},
        ProgramCase{"twoFiles", CORVELT_EXECUTABLE, {"a.txt", "b.txt"}, 2, {""}, {usage}},
        ProgramCase{"infoWithoutFile", CORVELT_EXECUTABLE, {"--info"}, 2, {""}, {usage}},
        ProgramCase{"helpWithMore", CORVELT_EXECUTABLE, {"--help", "x"}, 2, {""}, {usage}},
        ProgramCase{"info", CORVELT_EXECUTABLE, {"--info", sample}, 0, {"nodes"}, {""}},
        ProgramCase{"infoOfCalculixResults",
                    CORVELT_EXECUTABLE,
                    {"--info", frdPlate},
                    0,
                    {"nodes: 20\nelements: 12\n", "\nsteps: 2\nstresses of step: 2\n"},
                    {""}},
        ProgramCase{"infoOfTwoDimensionalOutput",
                    CORVELT_EXECUTABLE,
                    {"--info", frdTwoDimensional},
                    1,
                    {""},
                    {"two_dimensional.frd:", "OUTPUT=2D"}},
        ProgramCase{"windowOnDefaultFile", CORVELT_EXECUTABLE, {}, 2, {""}, {noDisplay}},
        ProgramCase{"windowOnFile", CORVELT_EXECUTABLE, {sample}, 2, {""}, {noDisplay}},
        ProgramCase{"emptyWindow", CORVELT_EXECUTABLE, {"--empty"}, 2, {""}, {noDisplay}},
        ProgramCase{
            "emptyWindowOnFile", CORVELT_EXECUTABLE, {"--empty", sample}, 2, {""}, {noDisplay}},
        ProgramCase{
            "emptyWithTwoFiles", CORVELT_EXECUTABLE, {"--empty", "a", "b"}, 2, {""}, {usage}},
        ProgramCase{"sampleHelp",
                    CORVELT_SAMPLE_EXECUTABLE,
                    {"--help"},
                    0,
                    {"--elements", "--grid", "--start", "--sweep", "--digits", "-o FILE"},
                    {""}},
        ProgramCase{
            "sampleBadOption", CORVELT_SAMPLE_EXECUTABLE, {"--bogus"}, 2, {""}, {"usage:"}}),
    [](const ::testing::TestParamInfo<ProgramCase>& info) { return info.param.name; });

}  // namespace
}  // namespace corvelt
