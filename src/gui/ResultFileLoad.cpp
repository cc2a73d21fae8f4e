#include "gui/ResultFileLoad.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>

#include "app/Application.h"
#include "app/DisplayText.h"

namespace corvelt {

namespace {

constexpr int progressSteps = 1000;
// Loads shorter than this finish without a dialog flashing up.
constexpr int dialogDelayMilliseconds = 400;
constexpr int progressPollMilliseconds = 50;

// Keeps the progress dialog up until the read ends: Esc and the window's close
// button would only hide it, and there is nothing to cancel.
class IgnoreDismissal : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

void setUpDialog(QProgressDialog& dialog, const std::filesystem::path& path) {
    dialog.setWindowTitle(QStringLiteral("Corvelt"));
    dialog.setLabelText(QStringLiteral("Reading %1 ...")
                            .arg(QString::fromStdString(displayText(path.filename().native()))));
    // The reader cannot be stopped half-way, so there is nothing to cancel.
    dialog.setCancelButton(nullptr);
    dialog.setRange(0, progressSteps);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(dialogDelayMilliseconds);
    dialog.setValue(0);
}

}  // namespace

ResultData readResultFileShowingProgress(QWidget* owner, const std::filesystem::path& path) {
    QProgressDialog dialog(owner);
    setUpDialog(dialog, path);
    IgnoreDismissal keepOpen;
    dialog.installEventFilter(&keepOpen);

    // The reader tells its progress on the worker thread; the dialog reads it on
    // this one at its own pace.
    std::atomic<int> progress{0};
    ResultData data;
    std::exception_ptr failure;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            data = Application::readFile(path, [&progress](double fraction) {
                progress.store(static_cast<int>(fraction * progressSteps),
                               std::memory_order_relaxed);
                return true;
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
    worker->start();
    poll.start();
    // Paints go on; clicks and keys wait for the model they were meant for.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();

    if (failure) std::rethrow_exception(failure);
    return data;
}

}  // namespace corvelt
