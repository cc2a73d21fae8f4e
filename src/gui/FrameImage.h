#pragma once

#include <QImage>
#include <filesystem>

#include "app/FrameSink.h"

namespace corvelt {

class Application;

// One frame of the application's client size, painted exactly as the window paints
// it: at pixelRatio device pixels per client pixel, an image that many times larger
// in each direction, which carries the ratio. Text needs a Qt application (the
// fonts).
QImage renderFrame(Application& app, double pixelRatio = 1.0);

// An uninitialised RGB32 image for frames, its pixels on huge pages where the
// kernel allows: a full-screen frame is thousands of small pages, each faulted in
// on first touch, which costs more than painting a frame. Null for an empty size
// or when the memory cannot be had.
QImage frameImage(QSize size);

// The size of a frame of the client size on a screen of that ratio.
QSize deviceFrameSize(QSize clientSize, double pixelRatio);

// Writes frames as PNG files, for the batch mode.
class PngFrameSink : public FrameSink {
  public:
    // Qt's PNG quality maps 80 .. 89 to zlib's compression level 1.
    static constexpr int pngQuality = 85;

    void writePng(Application& app, const std::filesystem::path& path) override;
};

}  // namespace corvelt
