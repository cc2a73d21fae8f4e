#pragma once

// Builds result-file texts of one small model in many spellings, and temporary
// files holding them.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/ShellModel.h"

namespace corvelt::testing {

// Two unit squares side by side (six nodes, z varied) with distinct stresses in
// every slot, some negative, some below one.
ResultData twoElementModel();

// How to write a result text: every number through `spell`, lines ended by
// `lineEnd`, `afterComma` after every comma and `betweenLines` after every line end.
struct TextStyle {
    std::function<std::string(double)> spellReal{};
    std::function<std::string(long long)> spellInteger{};
    std::string lineEnd{"\n"};
    std::string afterComma{};
    std::string betweenLines{};
};

std::string shortest(double value);
std::string buildText(const ResultData& data, const TextStyle& style);
// The plain spelling: shortest numbers, LF, nothing extra.
std::string plainText(const ResultData& data);

// The lines of a text without their LF.
std::vector<std::string> splitLines(const std::string& text);
std::string joinLines(const std::vector<std::string>& lines);

// A directory of its own below the system's temporary directory, removed with the object.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::filesystem::path write(const std::string& name, const std::string& content) const;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

void expectSameData(const ResultData& actual, const ResultData& expected);

}  // namespace corvelt::testing
