#include "render/Canvas.h"

namespace corvelt {

std::unique_ptr<Canvas> Canvas::polygonRowBand(int, int) {
    return nullptr;
}

std::unique_ptr<Canvas> Canvas::rowBand(int, int) {
    return nullptr;
}

}  // namespace corvelt
