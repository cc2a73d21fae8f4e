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
    void writePng(Application& app, const std::filesystem::path& path) override;
};

}  // namespace corvelt
