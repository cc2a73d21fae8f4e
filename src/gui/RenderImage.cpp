#include "gui/RenderImage.h"

#include "gui/QtCanvas.h"

namespace corvelt {

QImage renderImage(int width, int height, Rgb background,
                   const std::function<void(Canvas&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    {
        QtCanvas canvas(image);
        canvas.clear(background);
        draw(canvas);
    }
    return image;
}

}  // namespace corvelt
