#include <QApplication>
#include <QtGlobal>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/ModelInfo.h"
#include "app/ProgramOptions.h"
#include "formats/ResultFileFormats.h"
#include "gui/FrameImage.h"
#include "gui/MainWindow.h"
#include "gui/OffscreenApplication.h"

namespace {

int printModelInfo(const std::string& path) {
    try {
        corvelt::ResultFile file = corvelt::readResultFileOfAnyFormat(path);
        corvelt::ShellModel model;
        model.adoptResult(std::move(file.data));
        corvelt::writeModelInfo(std::cout, model);
        for (const std::string& fact : file.facts)
            std::cout << fact << '\n';
        if (!file.warning.empty()) std::cerr << "warning: " << file.warning << '\n';
        return 0;
    } catch (const corvelt::ResultFileError& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}

int runBatchScript(std::istream& script, std::string_view scriptName) {
    // Images need fonts and so a Qt application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const corvelt::OffscreenApplication qt;
    corvelt::PngFrameSink frames;
    return corvelt::runBatchScript(script, scriptName, &frames, std::cerr);
}

int runBatch(const std::string& scriptPath) {
    if (scriptPath == "-") return runBatchScript(std::cin, "<stdin>");
    std::ifstream script{scriptPath};
    if (!script) {
        std::cerr << scriptPath << ": cannot open the batch script\n";
        return 1;
    }
    return runBatchScript(script, scriptPath);
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt ends the process when it finds no display; say what to do instead.
bool windowCanStart() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

// Without openEmpty the window opens only with a file it could read; otherwise the
// message box is all the user sees. With it the window opens in any case, and a
// file it cannot read is reported over it.
int runWindow(const char* programName, const std::string& path, bool openEmpty) {
    if (!windowCanStart()) {
        std::cerr << "corvelt: no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
                     "are not set); use --batch or --info without a display\n";
        return 2;
    }
    // Qt keeps references to argc and argv while the application lives. The command
    // line is ours: Qt gets none of it.
    int argc = 1;
    std::string name = programName;
    std::array<char*, 2> argv{name.data(), nullptr};
    const QApplication qt(argc, argv.data());
    // Where the settings live (~/.config/Corvelt/Corvelt.conf) and which desktop
    // entry, with its icon, the window belongs to.
    QApplication::setOrganizationName(QStringLiteral("Corvelt"));
    QApplication::setApplicationName(QStringLiteral("Corvelt"));
    QApplication::setApplicationVersion(
        QString::fromUtf8(corvelt::programVersion().data(),
                          static_cast<qsizetype>(corvelt::programVersion().size())));
    QGuiApplication::setDesktopFileName(QStringLiteral("corvelt"));

    corvelt::Application app;
    corvelt::MainWindow window(app);
    if (openEmpty) {
        window.show();
        if (!path.empty()) window.openResultFile(path);
        return QApplication::exec();
    }
    const std::filesystem::path file =
        path.empty() ? std::filesystem::path(corvelt::Application::defaultResultFile)
                     : std::filesystem::path(path);
    if (!window.openResultFile(file)) return 1;
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const corvelt::ProgramOptions options = corvelt::parseProgramOptions(arguments);
    using Action = corvelt::ProgramOptions::Action;
    switch (options.action) {
        case Action::help:
            std::cout << corvelt::programUsage;
            return 0;
        case Action::version:
            std::cout << "corvelt " << corvelt::programVersion() << '\n';
            return 0;
        case Action::usageError:
            std::cerr << "corvelt: " << options.error << '\n' << corvelt::programUsage;
            return 2;
        case Action::info:
            return printModelInfo(options.path);
        case Action::batch:
            return runBatch(options.path);
        case Action::window:
            break;
    }
    return runWindow(argc > 0 ? argv[0] : "corvelt", options.path, options.openEmpty);
}
