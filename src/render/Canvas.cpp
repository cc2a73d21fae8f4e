#include "render/Canvas.h"

namespace corvelt {

std::unique_ptr<Canvas> Canvas::polygonRowBand(int, int) {
    return nullptr;
}

std::unique_ptr<Canvas> Canvas::rowBand(int, int) {
    return nullptr;
}

int Canvas::textWidth(std::string_view text, const Font& font) const {
    const int height = font.height != 0 ? (font.height < 0 ? -font.height : font.height)
                                        : defaultFontPixelSize;
    const int perCharacter = font.width > 0 ? font.width : (height * 3 + 4) / 5;
    return static_cast<int>(text.size()) * perCharacter;
}

}  // namespace corvelt
