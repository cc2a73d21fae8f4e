#pragma once

#include <QImage>
#include <functional>

#include "model/Color.h"
#include "render/Canvas.h"

namespace corvelt {

// Paints into a new width x height RGB32 image cleared to the background and
// returns it once the painting is complete. Text needs a Qt application (see
// OffscreenApplication).
QImage renderImage(int width, int height, Rgb background, const std::function<void(Canvas&)>& draw);

}  // namespace corvelt
