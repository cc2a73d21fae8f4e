#include "gui/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestMeshes.h"
#include "WindowTest.h"
#include "app/Application.h"
#include "app/CommandId.h"
#include "app/FileMessages.h"
#include "app/MenuTable.h"
#include "gui/FrameImage.h"
#include "gui/ViewWidget.h"
#include "model/ResultFileError.h"
#include "samples/PressurizedCylinder.h"
#include "samples/ResultFileWriter.h"

namespace corvelt {
namespace {

// --- The menu bar.

// The window's own items (recent files, pictures, Exit, Edit, Help) stand around the
// menu table's, which keep their texts, order and ids.
QList<QAction*> withoutDesktopItems(const QList<QAction*>& actions) {
    QList<QAction*> kept;
    for (QAction* action : actions)
        if (!action->property(MainWindow::desktopItemProperty).toBool()) kept.push_back(action);
    return kept;
}

TEST_F(WindowTest, MenuBarFollowsTheMenuTable) {
    const QList<QAction*> popups = withoutDesktopItems(window.menuBar()->actions());
    ASSERT_EQ(popups.size(), static_cast<qsizetype>(mainMenu().size()));
    for (qsizetype p = 0; p < popups.size(); ++p) {
        const MenuPopup& expected = mainMenu()[static_cast<std::size_t>(p)];
        SCOPED_TRACE(std::string(expected.title));
        EXPECT_EQ(popups[p]->text().toStdString(), expected.title);
        ASSERT_NE(popups[p]->menu(), nullptr);
        const QList<QAction*> items = withoutDesktopItems(popups[p]->menu()->actions());
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const MenuItem& item = expected.items[static_cast<std::size_t>(i)];
            EXPECT_EQ(items[i]->isSeparator(), item.isSeparator()) << i;
            if (item.isSeparator()) continue;
            EXPECT_EQ(items[i]->text().toStdString(), item.text);
            EXPECT_EQ(items[i]->data().toInt(), item.commandId);
        }
    }
    EXPECT_EQ(popups[4]->text(), QStringLiteral("Pl&otCtrls"));
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("Corvelt, designed by ")));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" r2020_1_15")));
}

TEST_F(WindowTest, StartMarks) {
    EXPECT_EQ(checkedItems(),
              (std::set<int>{contourSeCommand, contourCommand, unplotAllNodesCommand,
                             unplotAllElementOutlinesCommand, unplotAllElementsCommand,
                             unplotAllNodeNumbersCommand, unplotAllElementNumbersCommand,
                             blackBackgroundCommand}));
}

// Every command, including a click on an item that is already checked (which Qt
// would toggle by itself), leaves every mark as the application sees it.
TEST_F(WindowTest, MarksFollowEveryCommand) {
    open(testing::squareGrid(2, 2));
    for (const MenuPopup& popup : mainMenu()) {
        for (const MenuItem& chosen : popup.items) {
            if (chosen.isSeparator() || chosen.commandId == openCommand) continue;
            for (int repeat = 0; repeat < 2; ++repeat) {
                trigger(chosen.commandId);
                for (const MenuPopup& other : mainMenu()) {
                    for (const MenuItem& item : other.items) {
                        if (item.isSeparator()) continue;
                        EXPECT_EQ(window.commandAction(item.commandId)->isChecked(),
                                  app.isChecked(item.commandId))
                            << item.commandId << " after " << chosen.commandId;
                    }
                }
            }
        }
    }
}

// --- Painting.

TEST_F(WindowTest, BackgroundCommandsRepaintTheWholeClientArea) {
    openCylinder();
    const QImage black = shownFrame();
    EXPECT_EQ(black.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(black.pixel(black.width() - 1, black.height() - 1), qRgb(0, 0, 0));

    trigger(whiteBackgroundCommand);
    const QImage white = shownFrame();
    EXPECT_EQ(white.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(white.pixel(white.width() - 1, white.height() - 1), qRgb(255, 255, 255));

    trigger(blackBackgroundCommand);
    EXPECT_EQ(shownFrame(), black);
}

// The view repaints once after what changes the picture and not after what does not.
TEST_F(WindowTest, RepaintsOnlyWhenTheApplicationAsks) {
    open(testing::squareGrid(4, 2));
    EXPECT_EQ(paintsAfter([this] { trigger(whiteBackgroundCommand); }), 1);
    EXPECT_EQ(paintsAfter([this] { trigger(viewKitCommand); }), 0);
    EXPECT_EQ(paintsAfter([this] { QTest::keyClick(&view(), Qt::Key_A); }), 1);
    EXPECT_EQ(paintsAfter([this] { QTest::keyClick(&view(), Qt::Key_P); }), 0);
    EXPECT_EQ(paintsAfter([this] { QTest::mouseClick(&view(), Qt::LeftButton, {}, {50, 50}); }), 0);
    EXPECT_EQ(paintsAfter([this] { QTest::mouseMove(&view(), {60, 70}); }), 1);  // the pan follows
    EXPECT_EQ(paintsAfter([this] { window.resize(600, 420); }), 1);
}

TEST_F(WindowTest, ComponentCommandChangesTheContour) {
    openCylinder();
    const QImage se = shownFrame();
    trigger(contourSxCommand);
    const QImage sx = shownFrame();
    EXPECT_NE(sx, se);
    EXPECT_EQ(sx, renderFrame(app));
}

TEST_F(WindowTest, ResizeFitsTheModelAgain) {
    open(testing::squareGrid(4, 2));
    QTest::keyClick(&view(), Qt::Key_P);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(&view(), Qt::LeftButton, {}, QPoint(160, 130));
    ASSERT_EQ(app.camera().originX, view().width() / 2 + 60);

    window.resize(800, 560);
    QApplication::processEvents();
    EXPECT_EQ(app.state().clientWidth, view().width());
    EXPECT_EQ(app.camera().originX, view().width() / 2);
    EXPECT_EQ(app.camera().originY, view().height() / 2);
    EXPECT_EQ(shownFrame(), renderFrame(app));
}

// --- Keys, clicks, moves and the wheel.

TEST_F(WindowTest, ArrowKeysReachTheViewAndTurnOneStepPerKeyDown) {
    open(testing::squareGrid(2, 2));
    Application reference;
    reference.adoptFile(testing::squareGrid(2, 2), "reference.txt");
    ASSERT_EQ(app.camera().viewMatrix, reference.camera().viewMatrix);

    // No widget named: the key goes where the keyboard focus is.
    EXPECT_EQ(paintsAfter([] { QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Up); }), 1);
    reference.keyDown(ArrowKey::up);
    EXPECT_EQ(app.camera().viewMatrix, reference.camera().viewMatrix);

    // A held key repeats its key-down; every repeat turns.
    for (int repeat = 0; repeat < 2; ++repeat) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&view(), &press);
        reference.keyDown(ArrowKey::left);
    }
    EXPECT_EQ(app.camera().viewMatrix, reference.camera().viewMatrix);
}

// The letters arrive as the text they type, so either case works.
TEST_F(WindowTest, CharactersReachTheApplication) {
    open(testing::squareGrid(2, 2));
    QTest::keyClick(&view(), Qt::Key_Z);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::zoomBox);
    QTest::keyClick(&view(), Qt::Key_P, Qt::ShiftModifier);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::pan);
}

// Element 6 of the grid is column 2, row 1.
class PickingTest : public GridWindowTest {
  protected:
    // The client pixel of the centre of an element's projected corners.
    QPoint elementCentre(int element) const {
        Point2D sum{0.0, 0.0};
        for (int j = 0; j < ShellModel::nodesPerElement; ++j) {
            const Point2D& corner = app.model().projectedNodes[static_cast<std::size_t>(
                app.model().elementCorners(element)[j])];
            sum.x += corner.x / ShellModel::nodesPerElement;
            sum.y += corner.y / ShellModel::nodesPerElement;
        }
        const Pixel pixel = app.camera().viewToPixel(sum);
        return {pixel.x, pixel.y};
    }

    std::vector<std::uint8_t> picked(std::initializer_list<int> elements) const {
        std::vector<std::uint8_t> flags(8, 0);
        for (int e : elements)
            flags[static_cast<std::size_t>(e)] = 1;
        return flags;
    }
};

TEST_F(PickingTest, ClickMarksTheElementUnderTheCursor) {
    trigger(selectElementsCommand);
    app.setRectanglePick(false);
    const QImage before = shownFrame();
    QTest::mouseClick(&view(), Qt::LeftButton, {}, elementCentre(6));
    EXPECT_EQ(app.model().elementPicked, picked({6}));
    EXPECT_NE(shownFrame(), before);  // the pick is drawn

    QTest::keyClick(&view(), Qt::Key_Escape);
    EXPECT_EQ(app.model().elementPicked, picked({}));
}

// Left to right, the rectangle takes the elements wholly inside it: from below left
// of element 0 to above right of element 5 (each corner 0.6 elements out).
TEST_F(PickingTest, RectangleFollowsMovesWithoutAButtonHeld) {
    trigger(selectElementsCommand);
    const int margin = static_cast<int>(app.camera().scale * 0.6);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, elementCentre(0) + QPoint(-margin, margin));
    QTest::mouseMove(&view(), elementCentre(5));
    EXPECT_EQ(app.state().dragCurrentX, elementCentre(5).x());
    EXPECT_EQ(app.state().dragCurrentY, elementCentre(5).y());
    EXPECT_EQ(shownFrame(), renderFrame(app));  // the rubber band is on screen
    QTest::mouseClick(&view(), Qt::LeftButton, {}, elementCentre(5) + QPoint(margin, -margin));
    EXPECT_EQ(app.model().elementPicked, picked({0, 1, 4, 5}));
}

TEST_F(WindowTest, WheelZoomsAboutTheCursor) {
    open(testing::squareGrid(4, 2));
    const double scale = app.camera().scale;
    const QPointF cursor(100, 80);
    QWheelEvent notch(cursor, view().mapToGlobal(cursor), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view(), &notch);
    EXPECT_DOUBLE_EQ(app.camera().scale, scale * 1.1);
    EXPECT_EQ(app.camera().originX, 100);
    EXPECT_EQ(app.camera().originY, 80);
}

// --- Opening files.

TEST_F(WindowTest, RefusedFileKeepsModelViewAndSelection) {
    open(testing::squareGrid(4, 2));
    app.command(selectElementsCommand);
    app.setRectanglePick(false);
    app.applyViewAngles(-90, 90, true);
    QTest::mouseClick(&view(), Qt::LeftButton, {},
                      QPoint(view().width() / 2 + 5, view().height() / 2 + 5));
    QTest::keyClick(&view(), Qt::Key_Left);
    const auto picks = app.model().elementPicked;
    ASSERT_NE(picks, std::vector<std::uint8_t>(8, 0));
    const Matrix4 matrix = app.camera().viewMatrix;
    const QImage frame = shownFrame();

    const std::filesystem::path broken = files.file("broken.txt");
    std::ofstream(broken) << "NPOIN=3\nNELEM=1\n0,0,0\n";
    const auto message = acceptNextMessage();
    EXPECT_FALSE(window.openResultFile(broken));

    EXPECT_EQ(message->title, QStringLiteral("Warning!"));
    EXPECT_TRUE(message->text.startsWith(
        QString::fromUtf8(resultFileReadErrorHeadline.data(), resultFileReadErrorHeadline.size())))
        << message->text.toStdString();
    EXPECT_TRUE(message->text.contains(QStringLiteral("broken.txt")));
    EXPECT_EQ(app.model().elementCount(), 8);
    EXPECT_EQ(app.model().elementPicked, picks);
    EXPECT_EQ(app.camera().viewMatrix, matrix);
    EXPECT_EQ(shownFrame(), frame);
}

TEST(WindowStart, MissingFileIsReportedBeforeTheWindowShows) {
    Application app;
    MainWindow window(app);
    const auto message = acceptNextMessage();
    EXPECT_FALSE(window.openResultFile("no such directory/Shell_AverageStrs.txt"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(message->title, QStringLiteral("Warning!"));
    EXPECT_TRUE(message->text.contains(QStringLiteral("Shell_AverageStrs.txt")));
    EXPECT_FALSE(app.state().modelLoaded);
}

// A result file whose load takes a while: a cylinder of 300,000 elements (190 MB),
// written once.
const std::filesystem::path& largeResultFile() {
    static const TempDir dir;
    static const std::filesystem::path path = [] {
        const std::filesystem::path file = dir.file("large.txt");
        samples::ResultWriteOptions options;
        options.significantDigits = 4;
        samples::writeResultFile(
            file, samples::generateCylinderResult(samples::cylinderWithElementCount(300000)),
            options);
        return file;
    }();
    return path;
}

// While the file loads, the progress dialog shows rising values, the cursor is busy
// and a key and a wheel notch for the view are dropped; Cancel keeps the model.
TEST_F(WindowTest, LargeLoadShowsProgressAndCancelKeepsTheModel) {
    const std::filesystem::path& large = largeResultFile();
    open(testing::squareGrid(4, 2));
    const QImage frame = shownFrame();
    const double scale = app.camera().scale;

    std::vector<int> shown;
    bool busy = true;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busy = busy && cursor != nullptr && cursor->shape() == Qt::BusyCursor;
        if (!shown.empty() && dialog->value() == shown.back()) return;
        shown.push_back(dialog->value());
        if (shown.size() == 2) {
            QTest::keyClick(&view(), Qt::Key_Z);
            QWheelEvent notch(QPointF(50, 50), view().mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(&view(), &notch);
        }
        if (shown.size() == 3) {
            watch.stop();
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        }
    });
    watch.start();
    EXPECT_FALSE(window.openResultFile(large));

    ASSERT_EQ(shown.size(), 3u) << "the load ended before its progress was seen to rise";
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_TRUE(busy);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(app.model().elementCount(), 8);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
    EXPECT_EQ(app.camera().scale, scale);
    EXPECT_EQ(shownFrame(), frame);
    EXPECT_EQ(window.statusField(QStringLiteral("message"))->text(),
              QString::fromUtf8(loadCancelledText));
}

TEST_F(WindowTest, FileOpenAsksForAFileStartingAtTheLastOne) {
    open(testing::squareGrid(4, 2), "first.txt");
    const std::filesystem::path second = files.file("second.txt");
    testing::writeResultFile(second, testing::squareGrid(3, 1));
    QTest::keyClick(&view(), Qt::Key_Right);

    QString title;
    QStringList filters;
    QStringList startSelection;
    whenModalShows<QFileDialog>([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        startSelection = dialog.selectedFiles();
        // The dialog leaves a focused name field alone when a file is selected.
        if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
        dialog.selectFile(QString::fromStdString(second.string()));
        static_cast<QDialog&>(dialog).accept();
    });
    trigger(openCommand);

    EXPECT_EQ(title, QStringLiteral("Open file for shell average stress contour "));
    EXPECT_EQ(filters,
              (QStringList{QStringLiteral("Text Files (*.txt)"), QStringLiteral("All files (*)")}));
    ASSERT_EQ(startSelection.size(), 1);
    EXPECT_TRUE(startSelection.front().endsWith(QStringLiteral("first.txt")));
    EXPECT_EQ(app.model().elementCount(), 3);
    // The arrow key's turn is gone: the file is shown at the stored angles.
    Application reference;
    reference.adoptFile(testing::squareGrid(3, 1), "reference.txt");
    EXPECT_EQ(app.camera().viewMatrix, reference.camera().viewMatrix);
}

TEST_F(WindowTest, CancelledFileOpenChangesNothing) {
    open(testing::squareGrid(4, 2));
    whenModalShows<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    const QImage frame = shownFrame();
    EXPECT_EQ(paintsAfter([this] { trigger(openCommand); }), 0);
    EXPECT_EQ(app.model().elementCount(), 8);
    EXPECT_EQ(shownFrame(), frame);
}

}  // namespace
}  // namespace corvelt
