#include "gui/WorkWithProgress.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <exception>
#include <memory>

namespace corvelt {

namespace {

constexpr int progressSteps = 1000;
// Work shorter than this finishes without a dialog flashing up.
constexpr int dialogDelayMilliseconds = 100;
constexpr int progressPollMilliseconds = 40;

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

// Drops the user's input to every window but one while it is installed.
class InputOnlyFor : public QObject {
  public:
    explicit InputOnlyFor(const QWidget& window) : window_(window) {
        qApp->installEventFilter(this);
    }
    ~InputOnlyFor() override { qApp->removeEventFilter(this); }
    InputOnlyFor(const InputOnlyFor&) = delete;
    InputOnlyFor& operator=(const InputOnlyFor&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type())) return false;
        if (const auto* widget = qobject_cast<const QWidget*>(watched))
            return widget->window() != &window_;
        if (const auto* window = qobject_cast<const QWindow*>(watched))
            return window != window_.windowHandle();
        return false;
    }

  private:
    const QWidget& window_;
};

class BusyCursor {
  public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

bool runWithProgress(QWidget* owner, const QString& label,
                     const std::function<void(const WorkProgress&)>& work) {
    QProgressDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Corvelt"));
    dialog.setLabelText(label);
    dialog.setRange(0, progressSteps);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(dialogDelayMilliseconds);
    dialog.setValue(0);
    const InputOnlyFor dialogInput(dialog);
    const BusyCursor busy;

    // The worker tells its progress on its thread and learns of a cancel there; the
    // dialog shows the progress on this one at its own pace.
    std::atomic<int> progress{0};
    std::atomic<bool> cancelled{false};
    std::exception_ptr failure;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work([&](double fraction) {
                progress.store(static_cast<int>(fraction * progressSteps),
                               std::memory_order_relaxed);
                return !cancelled.load(std::memory_order_relaxed);
            });
        } catch (...) {
            failure = std::current_exception();
        }
    }));

    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(progressPollMilliseconds);
    QObject::connect(&poll, &QTimer::timeout, &dialog,
                     [&] { dialog.setValue(progress.load(std::memory_order_relaxed)); });
    // The Cancel button, the window's close button and Esc.
    const auto cancel = [&] {
        cancelled = true;
        poll.stop();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, cancel);
    QObject::connect(&dialog, &QDialog::rejected, &loop, cancel);
    worker->start();
    poll.start();
    loop.exec();
    worker->wait();

    if (cancelled) return false;
    if (failure) std::rethrow_exception(failure);
    return true;
}

}  // namespace corvelt
