#include <QtGlobal>
#include <fstream>
#include <iostream>
#include <string_view>

#include "app/BatchRunner.h"
#include "app/ModelInfo.h"
#include "gui/FrameImage.h"
#include "gui/OffscreenApplication.h"
#include "model/ResultFileReader.h"

namespace {

constexpr std::string_view usage =
    "usage: corvelt --info FILE\n"
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--info") return printModelInfo(argv[2]);
    if (argc == 3 && std::string_view(argv[1]) == "--batch") return runBatch(argv[2]);
    std::cerr << usage;
    return 2;
}
