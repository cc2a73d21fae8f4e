#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "render/Canvas.h"

namespace corvelt {

// A canvas font made concrete: the Qt font and the metrics that place its text.
struct ResolvedFont {
    QFont font;
    int ascent = 0;      // pixels from the cell's top to the baseline
    int cellHeight = 0;  // ascent + descent as drawn
    int maxAdvance = 0;  // widest character, for culling text far left of the canvas
};

// Turns a font given by cell height and average character width into a Qt font
// with the same cell height and, when a width is given, the same average width.
//
// Heights follow the classic logical-font convention: a positive height is the
// cell (ascent + descent), a negative one the character height (the em), and 0
// the default size (defaultFontPixelSize). The average width is the classic weighted mean of the
// lower-case letters and the space, which for metric-compatible faces equals the
// width the original faces declare; the font is stretched horizontally to match
// it. Width 0 (or less) keeps the natural proportions. Text is drawn without
// antialiasing, one colour per glyph pixel.
ResolvedFont resolveFont(const Font& font);

// Remembers the fonts resolved so far: a frame asks for the same two or three
// fonts over and over.
class FontCache {
  public:
    ResolvedFont resolve(const Font& font);

  private:
    static constexpr std::size_t capacity = 8;

    struct Entry {
        int height;
        int width;
        std::string face;
        ResolvedFont resolved;
    };
    std::vector<Entry> entries_;
};

}  // namespace corvelt
