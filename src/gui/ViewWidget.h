#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <functional>
#include <utility>

namespace corvelt {

class Application;

// The client area of the main window. It turns Qt's input events into calls on the
// application and paints the application's frame; it decides nothing itself.
//
// Every frame is painted into one off-screen image of the widget's size and shown
// with a single copy, so no half-drawn frame is ever visible. The image is kept
// while the size stays the same, and the application repaints in it only what
// picks change.
class ViewWidget : public QWidget {
  public:
    explicit ViewWidget(Application& app, QWidget* parent = nullptr);

    // Schedules a repaint when the application has marked one as due. Called after
    // everything that may change the picture.
    void syncWithApplication();

    // Told after every key, click, move and wheel event that reached the
    // application, with whether the picture changed and whether the cursor moved
    // (also out of the view).
    using InputListener = std::function<void(bool pictureChanged, bool cursorMoved)>;
    void setInputListener(InputListener listener) { inputListener_ = std::move(listener); }
    // Whether the last mouse event put the cursor over the view.
    bool cursorInside() const { return cursorInside_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The picture shows no focus, so gaining or losing it repaints nothing.
    void focusInEvent(QFocusEvent*) override {}
    void focusOutEvent(QFocusEvent*) override {}

  private:
    void noticeInternalErrors();
    void afterInput(bool cursorMoved = false);
    void paintEmptyHint();

    Application& app_;
    QImage frame_;
    std::optional<std::uint64_t> frameShown_;  // the application's frame in frame_
    InputListener inputListener_;
    bool cursorInside_ = false;
    bool internalErrorReported_ = false;
};

}  // namespace corvelt
