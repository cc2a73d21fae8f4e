#pragma once

#include <array>
#include <memory>

class QGuiApplication;

namespace corvelt {

// The Qt application that fonts and painters need, for work without a window
// (batch images, tests, benchmarks). Chooses Qt's offscreen platform unless the
// environment names another one, so no display server is needed. Does nothing
// when a Qt application exists already.
class OffscreenApplication {
  public:
    OffscreenApplication();
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

  private:
    // Qt keeps references to argc and argv for the application's lifetime.
    int argc_ = 1;
    std::array<char, 8> name_{"corvelt"};
    std::array<char*, 2> argv_{name_.data(), nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

}  // namespace corvelt
