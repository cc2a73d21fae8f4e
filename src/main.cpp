#include <QApplication>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

#include "app/Application.h"
#include "app/BatchRunner.h"
#include "app/ModelInfo.h"
#include "gui/FrameImage.h"
#include "gui/MainWindow.h"
#include "gui/OffscreenApplication.h"
#include "model/ResultFileReader.h"

namespace {

constexpr std::string_view usage =
    "usage: corvelt [FILE]            (FILE defaults to Shell_AverageStrs.txt)\n"
    "       corvelt --info FILE\n"
    "       corvelt --batch SCRIPT    (SCRIPT - reads standard input)\n";

int printModelInfo(const char* path) {
    try {
        corvelt::ShellModel model;
        corvelt::loadResultFile(model, path);
        corvelt::writeModelInfo(std::cout, model);
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

int runBatch(std::string_view scriptPath) {
    if (scriptPath == "-") return runBatchScript(std::cin, "<stdin>");
    std::ifstream script{std::string(scriptPath)};
    if (!script) {
        std::cerr << scriptPath << ": cannot open the batch script\n";
        return 1;
    }
    return runBatchScript(script, scriptPath);
}

// The window opens only with a file it could read; otherwise the message box is
// all the user sees.
int runWindow(int argc, char** argv) {
    const QApplication qt(argc, argv);  // takes Qt's own options out of argv
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::cerr << usage;
        return 2;
    }
    const std::filesystem::path file =
        argc == 2 ? std::filesystem::path(argv[1])
                  : std::filesystem::path(corvelt::Application::defaultResultFile);
    corvelt::Application app;
    corvelt::MainWindow window(app);
    if (!window.openResultFile(file)) return 1;
    window.show();
    return QApplication::exec();
}

bool isProgramOption(std::string_view argument) {
    return argument == "--info" || argument == "--batch";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--info") return printModelInfo(argv[2]);
    if (argc == 3 && std::string_view(argv[1]) == "--batch") return runBatch(argv[2]);
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << usage;
        return 0;
    }
    // Misused program options fail here, without needing a display.
    if (argc >= 2 && isProgramOption(argv[1])) {
        std::cerr << usage;
        return 2;
    }
    return runWindow(argc, argv);
}
