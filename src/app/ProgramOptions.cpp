#include "app/ProgramOptions.h"

namespace corvelt {

namespace {

ProgramOptions usageError(std::string error) {
    return {ProgramOptions::Action::usageError, {}, std::move(error), false};
}

bool isOption(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

std::string_view programVersion() {
    return CORVELT_VERSION;
}

ProgramOptions parseProgramOptions(std::span<const std::string_view> arguments) {
    using Action = ProgramOptions::Action;
    if (arguments.empty()) return {};
    const std::string_view first = arguments[0];
    if (first == "--info" || first == "--batch") {
        if (arguments.size() != 2) return usageError(std::string(first) + " takes one file name");
        return {
            first == "--info" ? Action::info : Action::batch, std::string(arguments[1]), {}, false};
    }
    if (first == "-h" || first == "--help" || first == "--version") {
        if (arguments.size() != 1) return usageError(std::string(first) + " takes no arguments");
        return {first == "--version" ? Action::version : Action::help, {}, {}, false};
    }
    const bool openEmpty = first == "--empty";
    if (openEmpty) {
        arguments = arguments.subspan(1);
        if (arguments.empty()) return {Action::window, {}, {}, true};
    }
    for (const std::string_view argument : arguments)
        if (isOption(argument) || argument == "-")
            return usageError("unknown option '" + std::string(argument) + "'");
    if (arguments.size() > 1) return usageError("the window opens one file at a time");
    return {Action::window, std::string(arguments[0]), {}, openEmpty};
}

}  // namespace corvelt
