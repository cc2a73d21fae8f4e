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

void ViewWidget::paintEvent(QPaintEvent*) {
    if (frame_.size() != size()) {
        frame_ = QImage(size(), QImage::Format_RGB32);
        frameShown_.reset();
    }
    if (frame_.isNull()) return;  // no area to paint
    {
        QtCanvas canvas(frame_);
        frameShown_ = app_.paint(canvas, frameShown_);
        canvas.finish();
    }
    QPainter(this).drawImage(0, 0, frame_);
    noticeInternalErrors();
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
    syncWithApplication();
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    app_.leftButtonDown(pixelOf(event->position().x()), pixelOf(event->position().y()));
    syncWithApplication();
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
    app_.mouseMove(pixelOf(event->position().x()), pixelOf(event->position().y()));
    syncWithApplication();
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
    app_.wheel(event->angleDelta().y(), pixelOf(event->position().x()),
               pixelOf(event->position().y()));
    syncWithApplication();
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
