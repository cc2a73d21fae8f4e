// What the window adds around the application's menu: files, pictures, the status
// bar, drops, settings kept between runs, and the mouse drags.
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QTableWidget>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "WindowTest.h"
#include "app/BatchRunner.h"
#include "app/CommandId.h"
#include "app/ProgramOptions.h"
#include "gui/FrameImage.h"
#include "gui/ProbePanel.h"
#include "gui/RecentFiles.h"
#include "gui/ToolDialog.h"
#include "app/DialogControlId.h"

namespace corvelt {
namespace {

QStringList texts(const QList<QAction*>& actions) {
    QStringList list;
    for (const QAction* action : actions)
        list.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

QAction* actionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text) return action;
    return nullptr;
}

QMenu& popup(const MainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions())
        if (action->text() == title) return *action->menu();
    throw std::runtime_error("no menu " + title.toStdString());
}

// Each test starts without settings of an earlier one.
class DesktopTest : public WindowTest {
  protected:
    void SetUp() override {
        QSettings().clear();
        WindowTest::SetUp();
    }

    QString status(const char* field) const {
        return window.statusField(QString::fromLatin1(field))->text();
    }

    std::filesystem::path writeGrid(const std::string& name, int columns) {
        const std::filesystem::path path = files.file(name);
        testing::writeResultFile(path, testing::squareGrid(columns, 1));
        return path;
    }

    static QString fileName(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }
};

TEST_F(DesktopTest, DesktopItemsStandAroundTheMenuTable) {
    EXPECT_EQ(
        texts(window.menuBar()->actions()),
        (QStringList{"&File", "&Edit", "&View", "&Contour", "&Select", "Pl&otCtrls", "&Help"}));
    const QMenu& file = popup(window, "&File");
    EXPECT_EQ(texts(file.actions()),
              (QStringList{"&Open", "Recent &Files", "-", "&Save Picture...", "&Export", "-",
                           "E&xit"}));
    EXPECT_EQ(file.actions()[0]->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(file.actions()[6]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(texts(file.actions()[4]->menu()->actions()),
              (QStringList{"VTK Unstructured Grid (.vtu)...", "Table (.csv)..."}));
    const QMenu& edit = popup(window, "&Edit");
    EXPECT_EQ(texts(edit.actions()), (QStringList{"&Copy Picture", "-", "Undo", "Redo"}));
    EXPECT_EQ(edit.actions()[0]->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(edit.actions()[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(edit.actions()[3]->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    const QMenu& view = popup(window, "&View");
    EXPECT_EQ(texts(view.actions()),
              (QStringList{"View &Kit", "-", "Show &Min/Max", "&Probe Panel", "-", "Turn Mode",
                           "Fit All\tA", "Stored View\tO", "Pan Mode\tP", "Zoom Box\tZ"}));
    EXPECT_EQ(view.actions()[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    // The view's keys are shown beside their items, not bound: in the open menu P is
    // the Probe Panel's mnemonic.
    for (int i = 6; i < 10; ++i)
        EXPECT_TRUE(view.actions()[i]->shortcut().isEmpty());
    EXPECT_EQ(texts(popup(window, "&Help").actions()), QStringList{"&About Corvelt"});
}

TEST_F(DesktopTest, TitleNamesTheFileFirst) {
    open(testing::squareGrid(2, 1), "Shell_AverageStrs.txt");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Shell_AverageStrs.txt \u2014 ") +
                                        QString::fromUtf8(MainWindow::caption));
}

TEST_F(DesktopTest, AboutNamesVersionLicenceAndQt) {
    const auto message = acceptNextMessage();
    actionNamed(popup(window, "&Help"), "&About Corvelt")->trigger();
    const std::string version(programVersion());
    EXPECT_TRUE(message->text.contains(QString::fromStdString(version))) << version;
    EXPECT_TRUE(message->text.contains(QStringLiteral("licence")));
    EXPECT_TRUE(message->text.contains(QString::fromLatin1(qVersion())));
}

// --- Recent files and settings, kept in this run's settings directory.

TEST_F(DesktopTest, RecentFilesOutliveTheWindow) {
    const std::filesystem::path first = writeGrid("first.txt", 1);
    const std::filesystem::path second = writeGrid("second.txt", 2);
    ASSERT_TRUE(window.openResultFile(first));
    ASSERT_TRUE(window.openResultFile(second));
    ASSERT_TRUE(window.openResultFile(first));

    Application laterApp;
    MainWindow later(laterApp);
    const QList<QAction*> items = later.recentFilesMenu()->actions();
    ASSERT_EQ(items.size(), 4);  // two files, a separator, Clear List
    EXPECT_EQ(items[0]->text(), "&1 " + fileName(first));
    EXPECT_EQ(items[1]->text(), "&2 " + fileName(second));

    items[1]->trigger();
    EXPECT_EQ(laterApp.model().elementCount(), 2);
    EXPECT_EQ(later.recentFilesMenu()->actions()[0]->text(), "&1 " + fileName(second));

    // The File > Open dialog of a window without a file starts in the last folder.
    Application emptyApp;
    MainWindow empty(emptyApp);
    QString startFolder;
    whenModalShows<QFileDialog>([&](QFileDialog& dialog) {
        startFolder = dialog.directory().absolutePath();
        dialog.reject();
    });
    empty.commandAction(openCommand)->trigger();
    EXPECT_EQ(startFolder, fileName(files.path()));
}

TEST_F(DesktopTest, RecentFileThatIsGoneIsReportedAndDropped) {
    const std::filesystem::path gone = writeGrid("gone.txt", 1);
    ASSERT_TRUE(window.openResultFile(gone));
    std::filesystem::remove(gone);
    const auto message = acceptNextMessage();
    window.recentFilesMenu()->actions()[0]->trigger();
    EXPECT_TRUE(message->text.contains(QStringLiteral("gone.txt")));
    EXPECT_EQ(app.model().elementCount(), 1);
    EXPECT_EQ(window.recentFilesMenu()->actions().size(), 2);  // separator, Clear List
}

TEST(RecentFileList, NewestFirstOnceAndAtMostCapacity) {
    QSettings().clear();
    RecentFiles recent;
    for (int i = 0; i < RecentFiles::capacity + 2; ++i)
        recent.add(QStringLiteral("/data/r%1.txt").arg(i));
    recent.add(QStringLiteral("/data/r5.txt"));
    const QStringList files = recent.files();
    ASSERT_EQ(files.size(), RecentFiles::capacity);
    EXPECT_EQ(files.front(), QStringLiteral("/data/r5.txt"));
    EXPECT_EQ(files.count(QStringLiteral("/data/r5.txt")), 1);
    EXPECT_EQ(files[1], QStringLiteral("/data/r9.txt"));
    EXPECT_EQ(recent.lastFolder(), QStringLiteral("/data"));
}

TEST_F(DesktopTest, WindowSizeOutlivesTheWindow) {
    window.resize(700, 520);
    QApplication::processEvents();
    window.close();
    Application laterApp;
    MainWindow later(laterApp);
    EXPECT_EQ(later.size(), QSize(700, 520));
}

// The legend's options are the user's: they hold for the next run, and a damaged
// settings file falls back to the defaults instead of stopping the program.
TEST_F(DesktopTest, LegendOptionsOutliveTheWindow) {
    QMenu& contour = popup(window, "&Contour");
    ASSERT_NE(actionNamed(contour, "Stress Intensity"), nullptr);
    ASSERT_NE(actionNamed(contour, "&Membrane"), nullptr);
    actionNamed(contour, "&Legend...")->trigger();
    ASSERT_NE(app.newestDialog(DialogKind::legend), nullptr);
    const DialogId legend = app.newestDialog(DialogKind::legend)->id;
    ToolDialog* dialog = window.dialogWindow(legend);
    ASSERT_NE(dialog, nullptr);
    const auto field = [&](int id) { return dialog->findChild<QLineEdit*>(QString::number(id)); };
    const auto press = [&](int id) {
        dialog->findChild<QAbstractButton*>(QString::number(id))->click();
    };
    QTest::keyClicks(field(LegendControl::bandsEdit), QStringLiteral("0"));  // "90"
    press(LegendControl::apply);
    const auto* message = dialog->findChild<QLabel*>(QStringLiteral("message"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().contains(QStringLiteral("2 to 24")));
    EXPECT_EQ(app.legendOptions(), LegendOptions{});

    field(LegendControl::bandsEdit)->clear();
    QTest::keyClicks(field(LegendControl::bandsEdit), QStringLiteral("5"));
    QTest::keyClicks(field(LegendControl::unitsEdit), QStringLiteral("kN/m"));
    press(LegendControl::fixedRange);
    field(LegendControl::minEdit)->clear();
    QTest::keyClicks(field(LegendControl::minEdit), QStringLiteral("-0.1"));
    press(LegendControl::backing);
    press(LegendControl::apply);
    EXPECT_FALSE(message->isVisible());
    LegendOptions expected;
    expected.bands = 5;
    expected.range = LegendRange::fixed;
    expected.fixedMin = -0.1;
    expected.units = "kN/m";
    expected.backing = true;
    EXPECT_EQ(app.legendOptions(), expected);
    window.close();
    {
        Application laterApp;
        MainWindow later(laterApp);
        EXPECT_EQ(laterApp.legendOptions(), expected);
    }
    QSettings().setValue(QStringLiteral("legend/bands"), 99);
    QSettings().setValue(QStringLiteral("legend/fixedMax"), QStringLiteral("-7"));
    Application damagedApp;
    MainWindow damaged(damagedApp);
    EXPECT_EQ(damagedApp.legendOptions().bands, LegendOptions::defaultBands);
    EXPECT_EQ(damagedApp.legendOptions().range, LegendRange::automatic);
    EXPECT_EQ(damagedApp.legendOptions().units, "kN/m");
    // The windows of later tests are made before their settings are cleared.
    QSettings().clear();
}

// --- Drops: the same path as File > Open.

class DropTest : public DesktopTest {
  protected:
    // A drag of the files onto the window; whether the window took it.
    bool drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        QApplication::processEvents();  // the file opens once the drop has returned
        return dropped.isAccepted();
    }
};

TEST_F(DropTest, DroppedFileOpens) {
    open(testing::squareGrid(4, 2));
    ASSERT_TRUE(drop({QUrl::fromLocalFile(fileName(writeGrid("dropped.txt", 3)))}));
    EXPECT_EQ(app.model().elementCount(), 3);
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("dropped.txt")));
}

TEST_F(DropTest, RefusedDropKeepsTheModel) {
    open(testing::squareGrid(4, 2));
    const std::filesystem::path broken = files.file("broken.txt");
    std::ofstream(broken) << "NPOIN=3\nNELEM=1\n0,0,0\n";
    const auto message = acceptNextMessage();
    ASSERT_TRUE(drop({QUrl::fromLocalFile(fileName(broken))}));
    EXPECT_TRUE(message->text.contains(QStringLiteral("broken.txt")));
    EXPECT_EQ(app.model().elementCount(), 8);
}

TEST_F(DropTest, OnlyOneLocalFileIsTaken) {
    const QUrl a = QUrl::fromLocalFile(fileName(writeGrid("a.txt", 1)));
    const QUrl b = QUrl::fromLocalFile(fileName(writeGrid("b.txt", 2)));
    EXPECT_FALSE(drop({a, b}));
    EXPECT_FALSE(drop({QUrl(QStringLiteral("https://example.com/model.txt"))}));
    EXPECT_FALSE(app.state().modelLoaded);
}

// --- Exports.

// File > Export writes what the batch line writes, next to the result file by
// default; a failure is shown with the file and the reason.
TEST_F(DesktopTest, ExportsAreTheBatchExports) {
    QMenu& exports = *popup(window, "&File").actions()[4]->menu();
    EXPECT_FALSE(exports.isEnabled());  // nothing to export yet
    openCylinder();
    EXPECT_TRUE(exports.isEnabled());
    const std::filesystem::path vtu = files.file("window.vtu");
    QString suggested;
    whenModalShows<QFileDialog>([&](QFileDialog& dialog) {
        suggested = dialog.selectedFiles().value(0);
        if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
        dialog.selectFile(fileName(vtu));
        static_cast<QDialog&>(dialog).accept();
    });
    actionNamed(exports, "VTK Unstructured Grid (.vtu)...")->trigger();
    EXPECT_EQ(suggested, fileName(files.file("cylinder.vtu")));
    ASSERT_TRUE(window.exportSelection(ExportFormat::csv, files.file("window.csv")));

    std::istringstream script("open " + files.file("cylinder.txt").string() + "\nexport vtu " +
                              files.file("batch.vtu").string() + "\nexport csv " +
                              files.file("batch.csv").string() + "\n");
    Application batch;
    ASSERT_FALSE(runBatch(script, batch, nullptr));
    EXPECT_EQ(testing::readText(vtu), testing::readText(files.file("batch.vtu")));
    EXPECT_EQ(testing::readText(files.file("window.csv")),
              testing::readText(files.file("batch.csv")));

    const std::filesystem::path missing = files.file("missing") / "out.csv";
    const auto message = acceptNextMessage();
    EXPECT_FALSE(window.exportSelection(ExportFormat::csv, missing));
    EXPECT_EQ(message->text, QStringLiteral("The table could not be written.\n") +
                                 fileName(missing) + QStringLiteral(": No such file or directory"));
}

// --- Pictures.

// The PNG that File > Save Picture writes is the batch mode's picture of the same
// file at the same size.
TEST_F(DesktopTest, SavedPictureIsTheBatchRender) {
    openCylinder();
    trigger(contourSxCommand);
    const std::filesystem::path saved = files.file("saved.png");
    QString suggested;
    whenModalShows<QFileDialog>([&](QFileDialog& dialog) {
        suggested = dialog.selectedFiles().value(0);
        if (QWidget* focused = dialog.focusWidget()) focused->clearFocus();
        dialog.selectFile(fileName(saved));
        static_cast<QDialog&>(dialog).accept();
    });
    actionNamed(popup(window, "&File"), "&Save Picture...")->trigger();
    EXPECT_EQ(suggested, fileName(files.file("cylinder.png")));

    std::istringstream script("open " + files.file("cylinder.txt").string() + "\nsize " +
                              std::to_string(view().width()) + " " +
                              std::to_string(view().height()) + "\ncommand 40003\nrender " +
                              files.file("batch.png").string() + "\n");
    Application batch;
    PngFrameSink sink;
    ASSERT_FALSE(runBatch(script, batch, &sink));
    const QImage batchImage(fileName(files.file("batch.png")));
    ASSERT_FALSE(batchImage.isNull());
    EXPECT_EQ(QImage(fileName(saved)), batchImage);
    EXPECT_EQ(batchImage.convertToFormat(QImage::Format_RGB32), shownFrame());
}

// View > Show Min/Max is the application's command, marked as the menu table's are;
// switched off again, the picture is the plain one.
TEST_F(DesktopTest, ShowMinMaxIsACommandWithAMark) {
    openCylinder();
    const QImage plain = shownFrame();
    QAction* minMax = actionNamed(popup(window, "&View"), "Show &Min/Max");
    ASSERT_EQ(minMax, window.commandAction(showMinMaxCommand));
    minMax->trigger();
    EXPECT_TRUE(app.state().showMinMax);
    EXPECT_TRUE(minMax->isChecked());
    EXPECT_NE(shownFrame(), plain);
    minMax->trigger();
    EXPECT_FALSE(minMax->isChecked());
    EXPECT_EQ(shownFrame(), plain);
}

TEST_F(DesktopTest, PictureThatCannotBeWrittenIsReported) {
    open(testing::squareGrid(2, 1));
    const auto message = acceptNextMessage();
    EXPECT_FALSE(window.savePicture(fileName(files.file("no such folder/p.png"))));
    EXPECT_TRUE(message->text.contains(QStringLiteral("p.png")));
}

TEST_F(DesktopTest, CopyPicturePutsThePictureOnTheClipboard) {
    openCylinder();
    QGuiApplication::clipboard()->clear();
    actionNamed(popup(window, "&Edit"), "&Copy Picture")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              shownFrame());
}

// --- The status bar.

TEST_F(DesktopTest, StatusBarFollowsModeCountsAndPicks) {
    EXPECT_EQ(status("model"), QStringLiteral("No model"));
    EXPECT_FALSE(actionNamed(popup(window, "&File"), "&Save Picture...")->isEnabled());
    open(testing::squareGrid(4, 2));
    EXPECT_EQ(status("model"), QStringLiteral("15 nodes, 8 elements"));
    EXPECT_EQ(status("selection"), QStringLiteral("Selected: 8 elements, 15 nodes"));
    EXPECT_TRUE(status("load").startsWith(QStringLiteral("Loaded in ")))
        << status("load").toStdString();
    EXPECT_EQ(status("mode"), QStringLiteral("Turn"));

    QTest::keyClick(&view(), Qt::Key_Z);
    EXPECT_EQ(status("mode"), QStringLiteral("Zoom box: click, click (View > Turn Mode to turn)"));
    trigger(selectElementsCommand);
    app.setRectanglePick(false);
    app.applyViewAngles(-90, 90, true);
    QTest::mouseClick(&view(), Qt::LeftButton, {},
                      QPoint(view().width() / 2 + 5, view().height() / 2 + 5));
    EXPECT_EQ(status("mode"), QStringLiteral("Pick elements at a point"));
    EXPECT_EQ(status("picks"), QStringLiteral("Picked: 1 element, 0 nodes"));
}

// --- The probe.

// The 4 x 2 grid seen from +z: element e carries the value e everywhere. At 80 % of
// element 6 (column 2, row 1) towards its upper right the nearest corner is its
// corner 2, node 13.
TEST_F(DesktopTest, ProbeFollowsTheCursor) {
    open(testing::squareGrid(4, 2));
    app.applyViewAngles(-90, 90, true);
    view().syncWithApplication();
    EXPECT_FALSE(window.probePanel().isVisible());
    const Pixel pixel = app.camera().viewToPixel(2.8, 1.8);
    QTest::mouseMove(&view(), QPoint(pixel.x, pixel.y));
    EXPECT_EQ(status("probe"), QStringLiteral("Element 6: Se 6 on the first surface; node 13"));

    actionNamed(popup(window, "&View"), "&Probe Panel")->trigger();
    EXPECT_TRUE(window.probePanel().isVisible());
    const QTableWidget& table = window.probePanel().table();
    EXPECT_EQ(window.probePanel().heading().text(),
              QStringLiteral("Node 13: corner 2 of element 6"));
    for (int c = 0; c < stressComponentCount; ++c)
        for (int surface = 0; surface < 2; ++surface)
            EXPECT_EQ(table.item(c, surface)->text(), QStringLiteral("6"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view(), &leave);
    EXPECT_EQ(status("probe"), QString());
    EXPECT_EQ(window.probePanel().heading().text(),
              QStringLiteral("Node 13: corner 2 of element 6"));  // kept for reading
}

// --- The mouse: drags through Qt's events.

TEST_F(DesktopTest, LeftDragTurnsAsTheArrowKeys) {
    open(testing::squareGrid(4, 2));
    Application reference;
    reference.adoptFile(testing::squareGrid(4, 2), "reference.txt");
    reference.resize(view().width(), view().height());
    reference.keyDown(ArrowKey::right);
    reference.keyDown(ArrowKey::up);

    QTest::mousePress(&view(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&view(), QPoint(110, 90));
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, QPoint(110, 90));
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(app.camera().viewMatrix[i], reference.camera().viewMatrix[i], 1e-14) << i;
    EXPECT_EQ(shownFrame(), renderFrame(app));
}

TEST_F(DesktopTest, MiddleDragPansInAPickingMode) {
    open(testing::squareGrid(4, 2));
    trigger(selectElementsCommand);
    const int originX = app.camera().originX;
    const int originY = app.camera().originY;
    QTest::mousePress(&view(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseMove(&view(), QPoint(130, 80));
    QTest::mouseRelease(&view(), Qt::MiddleButton, {}, QPoint(130, 80));
    EXPECT_EQ(app.camera().originX, originX + 30);
    EXPECT_EQ(app.camera().originY, originY - 20);
    EXPECT_EQ(app.state().clickStage, 0);
    EXPECT_EQ(app.model().elementPicked, std::vector<std::uint8_t>(8, 0));
}

}  // namespace
}  // namespace corvelt
