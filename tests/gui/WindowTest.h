#pragma once

// What the window tests share: answering modal dialogs, counting paints, and a
// shown main window over an application.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "TestMeshes.h"
#include "app/Application.h"
#include "app/MenuTable.h"
#include "gui/MainWindow.h"
#include "gui/ViewWidget.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace corvelt {

using testing::TempDir;

// Runs `handle` on the next modal dialog of type Dialog once it is up; a modal
// dialog runs its own event loop, so the test cannot act on it directly.
template <typename Dialog>
void whenModalShows(std::function<void(Dialog&)> handle) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, handle] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll->deleteLater();
        poll->stop();
        handle(*dialog);
    });
    poll->start();
}

struct ShownMessage {
    QString title;
    QString text;
};

// Answers the next message box with OK and tells what it said, once it closed.
inline std::shared_ptr<const ShownMessage> acceptNextMessage() {
    auto message = std::make_shared<ShownMessage>();
    whenModalShows<QMessageBox>([message](QMessageBox& box) {
        message->title = box.windowTitle();
        message->text = box.text();
        box.accept();
    });
    return message;
}

struct FileDialogSeen {
    QString title;
    QStringList filters;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    bool confirmsOverwrite = false;
    QStringList startSelection;
};

// Tells what the next file dialog looked like, then answers it with `path`, or
// cancels it when `path` is empty.
inline std::shared_ptr<const FileDialogSeen> answerNextFileDialog(const QString& path) {
    auto seen = std::make_shared<FileDialogSeen>();
    whenModalShows<QFileDialog>([seen, path](QFileDialog& dialog) {
        *seen = {dialog.windowTitle(),
                 dialog.nameFilters(),
                 dialog.acceptMode(),
                 dialog.fileMode(),
                 !dialog.testOption(QFileDialog::DontConfirmOverwrite),
                 dialog.selectedFiles()};
        if (path.isEmpty()) {
            dialog.reject();
            return;
        }
        if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
        dialog.selectFile(path);
        static_cast<QDialog&>(dialog).accept();
    });
    return seen;
}

// Counts the paint events that reach a widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count() const { return count_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count_;
        return QObject::eventFilter(watched, event);
    }

  private:
    int count_ = 0;
};

// A window over an application, shown and active on the offscreen screen.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void open(const ResultData& data, const std::string& name = "model.txt") {
        const std::filesystem::path path = files.file(name);
        testing::writeResultFile(path, data);
        ASSERT_TRUE(window.openResultFile(path));
    }

    // The cylinder sample: components that differ from each other.
    void openCylinder() {
        samples::CylinderSample sample;
        sample.axialElements = 12;
        sample.hoopElements = 16;
        const std::filesystem::path path = files.file("cylinder.txt");
        samples::writeResultFile(path, samples::generateCylinderResult(sample));
        ASSERT_TRUE(window.openResultFile(path));
    }

    void trigger(int commandId) {
        QAction* action = window.commandAction(commandId);
        ASSERT_NE(action, nullptr) << commandId;
        action->trigger();
    }

    // What the view shows, painted through its own paint event.
    QImage shownFrame() {
        return window.view().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    ViewWidget& view() { return window.view(); }

    // How many times the view paints after the action, once pending events ran.
    int paintsAfter(const std::function<void()>& action) {
        QApplication::processEvents();
        const PaintCounter paints(view());
        action();
        QApplication::processEvents();
        return paints.count();
    }

    std::set<int> checkedItems() const {
        std::set<int> checked;
        for (const MenuPopup& popup : mainMenu())
            for (const MenuItem& item : popup.items)
                if (!item.isSeparator() && window.commandAction(item.commandId)->isChecked())
                    checked.insert(item.commandId);
        return checked;
    }

    TempDir files;
    Application app;
    MainWindow window{app};
};

// The 4 x 2 grid seen from +z: it lies flat in the view.
class GridWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(testing::squareGrid(4, 2));
        app.applyViewAngles(-90, 90, true);
        view().syncWithApplication();
    }
};

}  // namespace corvelt
