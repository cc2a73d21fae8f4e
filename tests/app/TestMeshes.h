#pragma once

#include <filesystem>
#include <string>

#include "model/ShellModel.h"

namespace corvelt::testing {

// A flat grid of columns x rows unit squares in the plane z = height, corner (0, 0).
// Element e's stresses are all e, so components tell elements apart.
ResultData squareGrid(int columns, int rows, double height = 0.0);

// Two unit squares with the same x-y outline, element 0 at z = 0 and element 1 at
// z = 1: seen from +z, element 1 is in front.
ResultData stackedSquares();

// Writes the data as a result file that the reader accepts.
void writeResultFile(const std::filesystem::path& path, const ResultData& data);

// The whole content of a file; empty when it cannot be read.
std::string readText(const std::filesystem::path& path);

// A fresh directory under the system's temporary directory, removed with the object.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Makes a directory the working directory until the object goes.
class InDirectory {
  public:
    explicit InDirectory(const std::filesystem::path& path)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~InDirectory() { std::filesystem::current_path(previous_); }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

}  // namespace corvelt::testing
