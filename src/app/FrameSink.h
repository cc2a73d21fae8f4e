#pragma once

#include <filesystem>

namespace corvelt {

class Application;

// Where the batch mode's `render` sends a frame. The core cannot make images
// itself (that needs a toolkit); the program wires in one that can.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // Paints one frame of the client size exactly as the window would and writes
    // it as a PNG file. Throws std::runtime_error when the file cannot be written.
    virtual void writePng(Application& app, const std::filesystem::path& path) = 0;
};

}  // namespace corvelt
