#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace corvelt {

// A whole regular file mapped read-only into memory for as long as the object
// lives. Throws std::system_error when the file cannot be opened or mapped. Pages
// that another process cuts off the file while it is mapped fault (SIGBUS) when
// read; RegularFile reads without that risk.
class MappedFile {
  public:
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();

    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view text() const { return {data_, size_}; }

  private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace corvelt
