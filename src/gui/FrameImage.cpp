#include "gui/FrameImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "app/Application.h"
#include "base/AtomicFile.h"
#include "base/Prefault.h"
#include "gui/QtCanvas.h"

namespace corvelt {

QImage frameImage(QSize size) {
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    if (size.isEmpty()) return {};
    const std::size_t rowBytes = static_cast<std::size_t>(size.width()) * 4;
    // Rounded up to whole huge pages, as aligned_alloc asks of its size.
    const std::size_t bytes =
        (rowBytes * static_cast<std::size_t>(size.height()) + hugePage - 1) / hugePage * hugePage;
    void* pixels = std::aligned_alloc(hugePage, bytes);
    if (pixels == nullptr) return {};
    adviseHugePages(pixels, bytes);
    // The image owns the block from here on and frees it with its last copy.
    return QImage(
        static_cast<uchar*>(pixels), size.width(), size.height(), static_cast<qsizetype>(rowBytes),
        QImage::Format_RGB32, [](void* block) { std::free(block); }, pixels);
}

QSize deviceFrameSize(QSize clientSize, double pixelRatio) {
    if (pixelRatio == 1.0) return clientSize;
    return {static_cast<int>(std::lround(clientSize.width() * pixelRatio)),
            static_cast<int>(std::lround(clientSize.height() * pixelRatio))};
}

QImage renderFrame(Application& app, double pixelRatio) {
    const QSize client(app.state().clientWidth, app.state().clientHeight);
    QImage image = frameImage(deviceFrameSize(client, pixelRatio));
    if (image.isNull()) throw std::runtime_error("cannot make an image of the client size");
    {
        QtCanvas canvas(image);
        app.paint(canvas, pixelRatio);
        canvas.finish();
    }
    // Only now: a painter on an image with a ratio would scale what the canvas draws.
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

void PngFrameSink::writePng(Application& app, const std::filesystem::path& path) {
    const auto failed = [&path](const std::system_error& error) {
        return std::runtime_error("cannot write the image " + path.string() + ": " +
                                  error.code().message());
    };
    // Opened first, so that a pipe or a device is refused before any painting; the
    // old file stays until the whole new one is there.
    std::optional<AtomicFile> file;
    try {
        file.emplace(path);
    } catch (const std::system_error& error) {
        throw failed(error);
    }
    const QImage image = renderFrame(app);
    // Qt names files by QString, which cannot hold every byte string a Linux file
    // name may be; the PNG is made in memory and written under the path's own bytes.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib's fastest level: a 1600 x 900 frame encodes in about two thirds of the
    // time of Qt's default, into a file about twice as big (still a thirtieth of
    // the raw pixels).
    writer.setQuality(pngQuality);
    if (!writer.write(image)) throw std::runtime_error("cannot encode the image as PNG");
    try {
        file->write({png.constData(), static_cast<std::size_t>(png.size())});
        // A picture of a script can be made again; no waiting for the disk.
        file->commit(AtomicFile::Durability::cached);
    } catch (const std::system_error& error) {
        throw failed(error);
    }
}

}  // namespace corvelt
