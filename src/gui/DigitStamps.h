#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "gui/FontMapping.h"
#include "view/Pixel.h"

namespace corvelt {

// The pixels of decimal numbers in one font, as Qt's painter draws them (no
// antialiasing, one colour), from glyphs drawn once and then stamped: a frame can
// write a hundred thousand node numbers, and the painter costs far more per label
// than copying a few dozen pixels.
//
// Qt places each glyph at the sum of the advances before it, the kerning of each
// pair included, in 1/64 pixel, and draws it from the whole pixel left of that; so
// a number is the stamps of its digits at those pixels. This layout is checked
// against Qt's own when the stamps are made; a font that lays digits out otherwise,
// draws them at fractions of a pixel or blends their edges, or is too big to be
// worth it, is not usable, and its text goes through the painter.
class DigitStamps {
  public:
    // Glyphs up to this cell height are stamped.
    static constexpr int maxCellHeight = 96;

    explicit DigitStamps(const ResolvedFont& font);

    bool usable() const { return usable_; }
    const ResolvedFont& font() const { return font_; }
    // The widest advance of a digit, in whole pixels rounded up.
    int maxDigitAdvance() const { return maxDigitAdvance_; }

    // Calls put(x, y) for each pixel that the painter lights when it writes `digits`
    // (decimal digits only) with the cell's top-left corner at topLeft.
    template <typename Put>
    void forEachPixel(Pixel topLeft, std::string_view digits, const Put& put) {
        std::int64_t position = 0;  // 1/64 pixel from topLeft.x
        for (std::size_t i = 0; i < digits.size(); ++i) {
            const int digit = digits[i] - '0';
            const std::int64_t whole = position >= 0 ? position / 64 : -((63 - position) / 64);
            const std::int64_t x = topLeft.x + whole;
            for (const Pixel offset : stamps_[digit])
                put(x + offset.x, std::int64_t{topLeft.y} + offset.y);
            position += advances_[digit];
            if (i + 1 < digits.size()) position += kerning_[digit][digits[i + 1] - '0'];
        }
    }

  private:
    // The pixels that the painter lights for the digit drawn `sixtyFourths` of a
    // pixel right of a whole pixel, as offsets from that pixel and the cell's top;
    // none when it blends some.
    std::optional<std::vector<Pixel>> drawGlyph(int digit, int sixtyFourths) const;
    bool layoutMatchesQt() const;

    ResolvedFont font_;
    bool usable_ = false;
    int maxDigitAdvance_ = 0;
    std::array<std::int64_t, 10> advances_{};  // 1/64 pixel
    std::array<std::array<std::int64_t, 10>, 10> kerning_{};
    std::array<std::vector<Pixel>, 10> stamps_;
};

// The stamps of the fonts a canvas met last: labels come in one or two fonts.
class DigitStampCache {
  public:
    // The stamps of the font; null when its text cannot be stamped.
    DigitStamps* stampsFor(const Font& font, FontCache& fonts);

  private:
    static constexpr std::size_t capacity = 4;

    struct Entry {
        int height;
        int width;
        std::string face;
        std::unique_ptr<DigitStamps> stamps;
    };
    std::vector<Entry> entries_;
};

}  // namespace corvelt
