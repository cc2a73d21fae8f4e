#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvelt {

// Text that the result-file parser reads piece by piece: a file on disk or a
// string in memory. Pieces are read on several threads at once.
class TextSource {
  public:
    virtual ~TextSource() = default;

    // The length of the text.
    virtual std::size_t size() const = 0;

    // The bytes [offset, offset + length), cut at the end of the text; in place
    // where the text is in memory, else copied into `buffer`, which the caller
    // keeps for its next reads. Throws what the underlying read throws.
    virtual std::string_view read(std::size_t offset, std::size_t length,
                                  std::vector<char>& buffer) const = 0;

    // Throws when the text is no longer the one that was read; a text in memory
    // never changes.
    virtual void throwIfChanged() const {}
};

// A text that is already in memory; reads cost nothing.
class InMemoryText final : public TextSource {
  public:
    explicit InMemoryText(std::string_view text) : text_(text) {}

    std::size_t size() const override { return text_.size(); }
    std::string_view read(std::size_t offset, std::size_t length,
                          std::vector<char>&) const override {
        return offset < text_.size() ? text_.substr(offset, length) : std::string_view();
    }

  private:
    std::string_view text_;
};

}  // namespace corvelt
