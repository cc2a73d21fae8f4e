#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace corvelt {

// The two headlines that the user sees first; the details follow on the next line.
inline constexpr std::string_view resultFileReadErrorHeadline = "应力云图文件读取错误!";
inline constexpr std::string_view nodeCountErrorHeadline = "节点数目错误!";

// A result file that cannot be opened or does not follow the format. what() is the
// whole message for the user: the headline, the file, the line and what was
// expected there.
class ResultFileError : public std::runtime_error {
  public:
    ResultFileError(const std::string& message, std::string file, std::int64_t line)
        : std::runtime_error(message), file_(std::move(file)), line_(line) {}

    const std::string& file() const { return file_; }
    // One-based line of the fault; 0 when the fault is not at a line.
    std::int64_t line() const { return line_; }

  private:
    std::string file_;
    std::int64_t line_;
};

}  // namespace corvelt
