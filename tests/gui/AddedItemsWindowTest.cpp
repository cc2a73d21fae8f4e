// The application's items after the window's own (their places and shortcuts:
// DesktopWindowTest): Turn Mode and the view's keys in View, Undo and Redo in Edit,
// doing in the window what the core does.
#include <QAbstractButton>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <numbers>
#include <string>

#include "WindowTest.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "gui/FrameImage.h"
#include "gui/ToolDialog.h"

namespace corvelt {
namespace {

QMenu* popupTitled(const MainWindow& window, std::string_view title) {
    for (QAction* action : window.menuBar()->actions())
        if (action->text().toStdString() == title) return action->menu();
    return nullptr;
}

TEST_F(GridWindowTest, KeyItemsDoWhatTheirKeysDoAndCtrlTTurnsAgain) {
    QMenu* viewMenu = popupTitled(window, "&View");
    const auto item = [&](const char* text) {
        for (QAction* action : viewMenu->actions())
            if (action->text().section(QLatin1Char('\t'), 0, 0) == QLatin1String(text))
                return action;
        return static_cast<QAction*>(nullptr);
    };
    item("Pan Mode")->trigger();
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pan);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_EQ(app.state().clickStage, 1);
    QTest::keyClick(&view(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
    EXPECT_EQ(app.state().clickStage, 0);

    item("Zoom Box")->trigger();
    EXPECT_EQ(app.state().interactionMode, InteractionMode::zoomBox);
    item("Turn Mode")->trigger();
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);

    app.keyDown(ArrowKey::left);
    item("Stored View")->trigger();
    EXPECT_EQ(app.camera().alpha, -std::numbers::pi / 2);
    EXPECT_EQ(shownFrame(), renderFrame(app));
    // The letters themselves still reach the view.
    QTest::keyClick(&view(), Qt::Key_P);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pan);
}

// Undo names its step, takes Ctrl+Z also while a tool window has the focus, and the
// picture is the one a whole frame shows.
TEST_F(GridWindowTest, UndoAndRedoNameTheStepAndFollowTheirKeys) {
    QAction* undo = window.commandAction(undoCommand);
    QAction* redo = window.commandAction(redoCommand);
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    trigger(selectElementsCommand);
    ToolDialog* dialog = window.dialogWindow(app.dialogs().back().id);
    ASSERT_NE(dialog, nullptr);
    auto* invert =
        dialog->findChild<QAbstractButton*>(QString::number(SelectElementsControl::invert));
    ASSERT_NE(invert, nullptr);
    const std::vector<std::uint8_t> selected = app.model().elementSelected;
    QTest::mouseClick(invert, Qt::LeftButton);
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Invert"));
    EXPECT_TRUE(undo->isEnabled());

    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QTest::keyClick(invert, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app.model().elementSelected, selected);
    EXPECT_EQ(redo->text(), QStringLiteral("Redo Invert"));
    EXPECT_EQ(shownFrame(), renderFrame(app));
    QTest::keyClick(invert, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_NE(app.model().elementSelected, selected);
    undo->trigger();
    QTest::keyClick(invert, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(app.model().elementSelected, selected);
    EXPECT_FALSE(redo->isEnabled());
}

}  // namespace
}  // namespace corvelt
