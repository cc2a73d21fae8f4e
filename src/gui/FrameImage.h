#pragma once

#include <QImage>
#include <filesystem>

#include "app/FrameSink.h"

namespace corvelt {

class Application;

// One frame of the application's client size, painted exactly as the window paints
// it. Text needs a Qt application (the fonts).
QImage renderFrame(Application& app);

// Writes frames as PNG files, for the batch mode.
class PngFrameSink : public FrameSink {
  public:
    // Qt's PNG quality maps 80 .. 89 to zlib's compression level 1.
    static constexpr int pngQuality = 85;

    void writePng(Application& app, const std::filesystem::path& path) override;
};

}  // namespace corvelt
