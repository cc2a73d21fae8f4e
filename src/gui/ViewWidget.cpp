#include "gui/ViewWidget.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <cstdint>
#include <optional>

#include "app/Application.h"
#include "gui/FrameImage.h"
#include "gui/QtCanvas.h"

namespace corvelt {

namespace {

// The text of the contour's internal guard, shown as the classic program shows it.
constexpr const char* contourFaultMessage = "程序FindPointBetweenTwoPointsByphysicalQuantity错误!";

std::optional<ArrowKey> arrowKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return ArrowKey::left;
        case Qt::Key_Up:
            return ArrowKey::up;
        case Qt::Key_Right:
            return ArrowKey::right;
        case Qt::Key_Down:
            return ArrowKey::down;
        default:
            return std::nullopt;
    }
}

// The palette with its inactive colours made the active ones. The picture does not
// depend on whether the window is active, and Qt repaints a widget whose palette
// differs between the two at every change of focus between windows.
QPalette ignoringActivation(QPalette palette) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Inactive, colorRole, palette.brush(QPalette::Active, colorRole));
    }
    return palette;
}

std::optional<MouseButton> dragButtonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::left;
    if (button == Qt::MiddleButton) return MouseButton::middle;
    return std::nullopt;
}

Qt::MouseButton qtButtonOf(MouseButton button) {
    return button == MouseButton::left ? Qt::LeftButton : Qt::MiddleButton;
}

// The client pixel that contains the position (positions can be fractional on
// scaled screens and touchpads).
std::int32_t pixelOf(qreal coordinate) {
    return static_cast<std::int32_t>(std::floor(coordinate));
}

}  // namespace

ViewWidget::ViewWidget(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
    setCursor(Qt::CrossCursor);
    // Moves matter between the two clicks of a gesture, with no button held.
    setMouseTracking(true);
    // The arrow keys and the letters belong to the picture.
    setFocusPolicy(Qt::StrongFocus);
    // Every paint covers every pixel; Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setPalette(ignoringActivation(palette()));
}

void ViewWidget::syncWithApplication() {
    if (app_.takeRepaintDue()) update();
}

// On a high-resolution screen the frame has the screen's pixels, not the client
// area's: drawn at the finer resolution rather than scaled up.
void ViewWidget::paintEvent(QPaintEvent*) {
    const double ratio = devicePixelRatioF();
    const QSize frameSize = deviceFrameSize(size(), ratio);
    if (frame_.size() != frameSize) {
        frame_ = frameImage(frameSize);
        frameShown_.reset();
    }
    if (frame_.isNull()) return;  // no area to paint
    // The canvas draws in the image's own pixels; a painter on an image with a
    // ratio would scale them once more.
    frame_.setDevicePixelRatio(1.0);
    {
        QtCanvas canvas(frame_);
        frameShown_ = app_.paint(canvas, ratio, frameShown_);
        canvas.finish();
    }
    frame_.setDevicePixelRatio(ratio);
    QPainter(this).drawImage(0, 0, frame_);
    if (!app_.state().modelLoaded) paintEmptyHint();
    noticeInternalErrors();
}

// Started without a file, the window says how to get one. Only on the screen: the
// application's picture is the plain background.
void ViewWidget::paintEmptyHint() {
    QPainter painter(this);
    const QColor background = frame_.pixelColor(0, 0);
    painter.setPen(background.lightness() < 128 ? QColor(160, 160, 160) : QColor(96, 96, 96));
    painter.drawText(rect(), Qt::AlignCenter,
                     QStringLiteral("Open a result file with File > Open (Ctrl+O),\n"
                                    "or drop one onto the window."));
}

void ViewWidget::afterInput(bool cursorMoved) {
    const bool changed = app_.repaintDue();
    syncWithApplication();
    if (inputListener_) inputListener_(changed, cursorMoved);
}

void ViewWidget::leaveEvent(QEvent*) {
    cursorInside_ = false;
    if (inputListener_) inputListener_(false, true);
}

void ViewWidget::resizeEvent(QResizeEvent* event) {
    app_.resize(event->size().width(), event->size().height());
    syncWithApplication();
}

void ViewWidget::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<ArrowKey> arrow = arrowKeyOf(event->key())) {
        app_.keyDown(*arrow);  // auto-repeats turn too, one step each
    } else if (event->key() == Qt::Key_Escape) {
        app_.character(escapeCharacter);
    } else if (!event->text().isEmpty()) {
        for (const char32_t c : event->text().toUcs4())
            app_.character(c);
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    afterInput();
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    const std::optional<MouseButton> button = dragButtonOf(event->button());
    if (!button) {
        QWidget::mousePressEvent(event);
        return;
    }
    app_.buttonDown(*button, pixelOf(event->position().x()), pixelOf(event->position().y()));
    afterInput();
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<MouseButton> button = dragButtonOf(event->button());
    if (!button) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    app_.buttonUp(*button, pixelOf(event->position().x()), pixelOf(event->position().y()));
    afterInput();
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
    const std::int32_t x = pixelOf(event->position().x());
    const std::int32_t y = pixelOf(event->position().y());
    // A release that went elsewhere (to a menu, a dialog) ends the drag where it was.
    if (const std::optional<MouseButton> dragging = app_.dragButton();
        dragging && !event->buttons().testFlag(qtButtonOf(*dragging)))
        app_.buttonUp(*dragging, app_.state().lastMouseX, app_.state().lastMouseY);
    app_.mouseMove(x, y);
    cursorInside_ = rect().contains(event->position().toPoint());
    afterInput(true);
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
    app_.wheel(event->angleDelta().y(), pixelOf(event->position().x()),
               pixelOf(event->position().y()));
    afterInput();
}

// A fault of the contour arithmetic repeats in every frame once it occurs; the user
// is told once, after the frame, rather than from inside the paint.
void ViewWidget::noticeInternalErrors() {
    if (internalErrorReported_ || app_.internalErrorCount() == 0) return;
    internalErrorReported_ = true;
    QTimer::singleShot(0, this, [this] {
        QMessageBox::warning(this, QStringLiteral("Warning!"),
                             QString::fromUtf8(contourFaultMessage));
    });
}

}  // namespace corvelt
