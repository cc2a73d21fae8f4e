#pragma once

#include <span>
#include <string>
#include <string_view>

namespace corvelt {

// What the program is asked to do. Decided before any window system is touched, so
// that help, version and usage errors never need a display.
struct ProgramOptions {
    enum class Action { window, info, batch, help, version, usageError };

    Action action = Action::window;
    // The result file of the window (empty: the default file, or none with
    // openEmpty) and of --info, the script of --batch ("-" for standard input).
    std::string path;
    // What is wrong, for a usage error.
    std::string error;
    // The window opens even when it has no file it could read: empty, ready for
    // File > Open. The desktop entry starts the program so; a plain start needs its
    // file.
    bool openEmpty = false;
};

inline constexpr std::string_view programUsage =
    "usage: corvelt [FILE]            open the window on FILE (default: Shell_AverageStrs.txt)\n"
    "       corvelt --empty [FILE]    open the window empty, or on FILE if it can be read\n"
    "       corvelt --info FILE       print counts, bounds, mean edge length and stress ranges\n"
    "       corvelt --batch SCRIPT    run a script of window actions (SCRIPT - reads standard "
    "input)\n"
    "       corvelt -h | --help       print this help\n"
    "       corvelt --version         print the version\n";

// The release, as --version and Help > About show it.
std::string_view programVersion();

// The arguments without the program's name. Qt's own options are not taken: Qt
// reads its settings from its environment variables (QT_QPA_PLATFORM, ...).
ProgramOptions parseProgramOptions(std::span<const std::string_view> arguments);

}  // namespace corvelt
