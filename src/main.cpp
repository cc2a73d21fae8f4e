#include <iostream>
#include <string_view>

#include "app/ModelInfo.h"
#include "model/ResultFileReader.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--info") {
        try {
            corvelt::ShellModel model;
            corvelt::loadResultFile(model, argv[2]);
            corvelt::writeModelInfo(std::cout, model);
            return 0;
        } catch (const corvelt::ResultFileError& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "usage: corvelt --info FILE\n";
    return 2;
}
