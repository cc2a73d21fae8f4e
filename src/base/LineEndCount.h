#pragma once

#include <cstdint>
#include <string_view>

namespace corvelt {

// Counts the line ends of a text given in consecutive pieces, as the reader takes
// them: LF, CR LF (one line end) and a CR on its own.
class LineEndCount {
  public:
    void add(std::string_view piece) {
        for (const char c : piece) {
            count_ += static_cast<std::int64_t>(c == '\r' || (c == '\n' && !afterCr_));
            afterCr_ = c == '\r';
        }
    }

    std::int64_t count() const { return count_; }

  private:
    std::int64_t count_ = 0;
    bool afterCr_ = false;
};

}  // namespace corvelt
