#include "gui/FrameImage.h"

#include <QFile>
#include <stdexcept>

#include "app/Application.h"
#include "gui/QtCanvas.h"

namespace corvelt {

QImage renderFrame(Application& app) {
    QImage image(app.state().clientWidth, app.state().clientHeight, QImage::Format_RGB32);
    if (image.isNull()) throw std::runtime_error("cannot make an image of the client size");
    QtCanvas canvas(image);
    app.paint(canvas);
    canvas.finish();
    return image;
}

void PngFrameSink::writePng(Application& app, const std::filesystem::path& path) {
    const QImage image = renderFrame(app);
    // File names are bytes on Linux; let Qt decode them as it encodes them.
    if (!image.save(QFile::decodeName(path.c_str()), "PNG"))
        throw std::runtime_error("cannot write the image " + path.string());
}

}  // namespace corvelt
