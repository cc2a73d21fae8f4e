#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/TextSource.h"

namespace corvelt {

// The file was shortened, lengthened or rewritten while it was being read.
class FileChanged : public std::runtime_error {
  public:
    FileChanged() : std::runtime_error("the file changed while it was being read") {}
};

// A regular file open for reading at any offset, from any thread. Reads copy into
// the caller's buffer instead of mapping the file, so that a file shortened by
// another process gives a short read (FileChanged) rather than a fault on a
// vanished page.
class RegularFile final : public TextSource {
  public:
    // Throws std::system_error when the file cannot be opened or is no regular file.
    explicit RegularFile(const std::filesystem::path& path);
    ~RegularFile() override;

    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // The size when the file was opened.
    std::size_t size() const override { return size_; }

    // Throws FileChanged when the file ends before the size it had when opened,
    // std::system_error when the system cannot read it.
    std::string_view read(std::size_t offset, std::size_t length,
                          std::vector<char>& buffer) const override;

    // Throws FileChanged when the file's size or modification time differ from
    // those it had when it was opened.
    void throwIfChanged() const override;

  private:
    struct Stamp {
        long long size = 0;
        long long modifiedSeconds = 0;
        long long modifiedNanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stamp() const;

    int fd_ = -1;
    std::size_t size_ = 0;
    Stamp opened_;
};

}  // namespace corvelt
