// The tool windows on small and scaled screens. The test runs once per screen that
// tests/gui/CMakeLists.txt configures for the offscreen platform (size, scale, and
// a second screen beside the first) in CORVELT_TEST_SCREEN, "WxH@SCALE"; a run on
// a screen other than the one named fails.
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>
#include <vector>

#include "WindowTest.h"
#include "app/CommandId.h"
#include "app/DialogTemplate.h"
#include "gui/ToolDialog.h"

namespace corvelt {
namespace {

QRect globalRect(const QWidget& widget) {
    return {widget.mapToGlobal(QPoint(0, 0)), widget.size()};
}

// How the main window stands on its screen.
enum class MainWindowSize { normal, maximized, small };

class ScreenFitTest : public ::testing::TestWithParam<MainWindowSize> {
  protected:
    void SetUp() override {
        const QScreen* primary = QGuiApplication::primaryScreen();
        const QSize device = primary->geometry().size() * primary->devicePixelRatio();
        ASSERT_EQ(QStringLiteral("%1x%2@%3")
                      .arg(device.width())
                      .arg(device.height())
                      .arg(primary->devicePixelRatio()),
                  qEnvironmentVariable("CORVELT_TEST_SCREEN"));
        if (GetParam() == MainWindowSize::small) {
            window.resize(400, 360);
            window.move(primary->availableGeometry().topLeft());
        }
        if (GetParam() == MainWindowSize::maximized)
            window.showMaximized();
        else
            window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const std::filesystem::path path = files.file("grid.txt");
        testing::writeResultFile(path, testing::squareGrid(4, 2));
        ASSERT_TRUE(window.openResultFile(path));
    }

    ToolDialog& open(int command) {
        window.commandAction(command)->trigger();
        ToolDialog* dialog = window.dialogWindow(app.dialogs().back().id);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        return *dialog;
    }

    // Inside the available area of the main window's screen, not over its menu bar.
    void expectPlaced(const ToolDialog& dialog) const {
        const QScreen* screen = window.screen();
        EXPECT_EQ(dialog.screen(), screen);
        EXPECT_TRUE(screen->availableGeometry().contains(dialog.frameGeometry()))
            << "frame " << dialog.frameGeometry().x() << ',' << dialog.frameGeometry().y() << ' '
            << dialog.frameGeometry().width() << 'x' << dialog.frameGeometry().height();
        EXPECT_FALSE(dialog.frameGeometry().intersects(globalRect(*window.menuBar())));
    }

    // Every control takes the keyboard focus in turn, and each one that has it is
    // within the visible part of the window.
    static void expectEveryControlReachable(ToolDialog& dialog) {
        std::vector<QWidget*> controls;
        for (const ControlGroup& group : dialogTemplate(dialog.kind()).groups)
            for (const DialogControl& control : group.controls)
                if (control.id != 0)
                    controls.push_back(dialog.findChild<QWidget*>(QString::number(control.id)));
        // A dialog counts as active while its owner is; the keys must reach the dialog.
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
        controls.front()->setFocus(Qt::TabFocusReason);
        const QWidget& viewport = *dialog.scrollArea().viewport();
        for (QWidget* control : controls) {
            ASSERT_EQ(QApplication::focusWidget(), control) << control->objectName().toStdString();
            const QRect shown(control->mapTo(&viewport, QPoint(0, 0)), control->size());
            EXPECT_TRUE(viewport.rect().contains(shown)) << control->objectName().toStdString();
            EXPECT_TRUE(control->isVisible());
            QTest::keyClick(control, Qt::Key_Tab);
        }
    }

    testing::TempDir files;
    Application app;
    MainWindow window{app};
};

TEST_P(ScreenFitTest, EachToolWindowFitsBesideOrOverTheMainWindow) {
    for (const int command :
         {viewKitCommand, selectElementsCommand, selectNodesCommand, legendCommand}) {
        ToolDialog& dialog = open(command);
        SCOPED_TRACE(dialog.windowTitle().toStdString());
        expectPlaced(dialog);
        // Beside the main window where there is room, else over its picture.
        const bool beside = !dialog.frameGeometry().intersects(window.frameGeometry());
        if (beside) {
            EXPECT_GE(dialog.frameGeometry().left(), window.frameGeometry().right());
        } else {
            EXPECT_TRUE(globalRect(window.view()).contains(dialog.frameGeometry().topLeft()));
        }
        if (GetParam() == MainWindowSize::small && command == viewKitCommand) {
            EXPECT_TRUE(beside);
        }
        expectEveryControlReachable(dialog);
        dialog.close();
        QApplication::processEvents();
    }
}

// Several at once, two of a kind among them, cascade within the screen.
TEST_P(ScreenFitTest, OpenToolWindowsAllStayOnTheScreen) {
    std::vector<ToolDialog*> dialogs;
    for (const int command :
         {selectElementsCommand, selectNodesCommand, viewKitCommand, selectElementsCommand})
        dialogs.push_back(&open(command));
    for (ToolDialog* dialog : dialogs) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        expectPlaced(*dialog);
    }
    EXPECT_NE(dialogs[0]->pos(), dialogs[3]->pos());
}

std::string sizeName(const ::testing::TestParamInfo<MainWindowSize>& info) {
    switch (info.param) {
        case MainWindowSize::normal:
            return "Normal";
        case MainWindowSize::maximized:
            return "Maximized";
        case MainWindowSize::small:
            return "Small";
    }
    return {};
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ScreenFitTest,
                         ::testing::Values(MainWindowSize::normal, MainWindowSize::maximized,
                                           MainWindowSize::small),
                         sizeName);

}  // namespace
}  // namespace corvelt
