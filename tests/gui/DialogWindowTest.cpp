#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QUrl>
#include <fstream>

#include "WindowTest.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"
#include "app/DialogTooltips.h"
#include "gui/FrameImage.h"
#include "gui/ToolDialog.h"

namespace corvelt {
namespace {

class DialogWindowTest : public GridWindowTest {
  protected:
    ToolDialog& openDialog(int commandId) {
        trigger(commandId);
        const DialogState& newest = app.dialogs().back();
        ToolDialog* dialog = window.dialogWindow(newest.id);
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        return *dialog;
    }

    template <typename Control = QAbstractButton>
    static Control& control(ToolDialog& dialog, int id) {
        auto* found = dialog.findChild<Control*>(QString::number(id));
        if (found == nullptr) throw std::runtime_error("no control " + std::to_string(id));
        return *found;
    }

    // A radio button or check box takes clicks on its indicator only.
    static void click(ToolDialog& dialog, int id) {
        QAbstractButton& button = control(dialog, id);
        const bool indicator = qobject_cast<QPushButton*>(&button) == nullptr;
        QTest::mouseClick(&button, Qt::LeftButton, {},
                          indicator ? QPoint(4, button.height() / 2) : button.rect().center());
    }

    static bool isChecked(ToolDialog& dialog, int id) { return control(dialog, id).isChecked(); }

    // The client pixel of a world point in the x-y plane.
    QPoint pixelOf(double x, double y) const {
        const Pixel pixel = app.camera().viewToPixel(x, y);
        return {pixel.x, pixel.y};
    }
};

// Every control of the template, with its id as object name, its kind and text,
// and the keyboard focus visiting them in the template's order.
TEST_F(DialogWindowTest, ControlsFollowTheirTemplates) {
    for (const int command : {viewKitCommand, selectElementsCommand, selectNodesCommand}) {
        ToolDialog& dialog = openDialog(command);
        const DialogTemplate& layout = dialogTemplate(app.dialog(dialog.dialogId())->kind);
        SCOPED_TRACE(std::string(layout.caption));
        EXPECT_EQ(dialog.windowTitle().toStdString(), layout.caption);
        EXPECT_FALSE(dialog.isModal());
        EXPECT_EQ(dialog.parentWidget(), &window);

        std::vector<std::string> titles, expectedTitles, labels, expectedLabels;
        std::vector<QWidget*> expectedFocusOrder;
        for (const ControlGroup& group : layout.groups) {
            if (!group.title.empty()) expectedTitles.emplace_back(group.title);
            for (const DialogControl& c : group.controls) {
                if (c.kind == ControlKind::label) {
                    expectedLabels.emplace_back(c.text);
                    continue;
                }
                QWidget& widget = control<QWidget>(dialog, c.id);
                expectedFocusOrder.push_back(&widget);
                if (c.kind == ControlKind::edit) {
                    EXPECT_NE(qobject_cast<QLineEdit*>(&widget), nullptr) << c.id;
                    continue;
                }
                const auto& button = static_cast<QAbstractButton&>(widget);
                EXPECT_EQ(button.text().toStdString(), c.text) << c.id;
                EXPECT_EQ(qobject_cast<QRadioButton*>(&widget) != nullptr,
                          c.kind == ControlKind::radioButton)
                    << c.id;
                EXPECT_EQ(qobject_cast<QCheckBox*>(&widget) != nullptr,
                          c.kind == ControlKind::checkBox)
                    << c.id;
                if (auto* push = qobject_cast<QPushButton*>(&widget)) {
                    EXPECT_FALSE(push->autoDefault()) << c.id;
                    EXPECT_FALSE(push->isDefault()) << c.id;
                }
            }
        }
        for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
            titles.push_back(box->title().toStdString());
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels.push_back(label->text().toStdString());
        EXPECT_EQ(titles, expectedTitles);
        EXPECT_EQ(labels, expectedLabels);

        std::vector<QWidget*> focusOrder;
        for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
            if (!w->objectName().isEmpty() && w->focusPolicy() != Qt::NoFocus)
                focusOrder.push_back(w);
        EXPECT_EQ(focusOrder, expectedFocusOrder);
    }
}

// Every control and label says what it does; the controls' own texts stay.
TEST_F(DialogWindowTest, EveryControlHasItsTooltip) {
    for (const int command : {viewKitCommand, selectElementsCommand, selectNodesCommand}) {
        ToolDialog& dialog = openDialog(command);
        for (const ControlGroup& group : dialogTemplate(dialog.kind()).groups)
            for (const DialogControl& c : group.controls) {
                const QWidget* widget = c.id != 0 ? &control<QWidget>(dialog, c.id) : nullptr;
                for (const QLabel* label : dialog.findChildren<QLabel*>())
                    if (c.id == 0 && label->text().toStdString() == c.text) widget = label;
                ASSERT_NE(widget, nullptr) << c.text;
                EXPECT_FALSE(widget->toolTip().isEmpty()) << c.id << ' ' << c.text;
                EXPECT_EQ(widget->toolTip().toStdString(), controlTooltip(dialog.kind(), c));
            }
    }
    EXPECT_EQ(control(*window.dialogWindow(app.dialogs().front().id), 1033).toolTip(),
              QStringLiteral("View from the east-north diagonal, from above"));
}

// Room for neither one column nor several: the window scrolls, and the keyboard
// focus brings every control into view in turn.
TEST_F(DialogWindowTest, ToolWindowTooLargeForItsRoomScrollsToTheFocus) {
    ToolDialog& dialog = openDialog(selectElementsCommand);
    EXPECT_TRUE(dialog.fitWithin(QSize(2000, 2000)));
    EXPECT_EQ(dialog.columnCount(), 1);
    const QSize oneColumn = dialog.size();
    EXPECT_TRUE(dialog.fitWithin(QSize(2000, oneColumn.height() * 2 / 3)));
    EXPECT_EQ(dialog.columnCount(), 2);
    EXPECT_LE(dialog.height(), oneColumn.height() * 2 / 3);

    EXPECT_FALSE(dialog.fitWithin(QSize(oneColumn.width() + 40, 200)));
    EXPECT_EQ(dialog.height(), 200);
    EXPECT_GT(dialog.width(), oneColumn.width());  // room for the scroll bar
    EXPECT_LE(dialog.width(), oneColumn.width() + 40);
    // A dialog counts as active while its owner is; the keys must reach the dialog.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
    const QWidget& viewport = *dialog.scrollArea().viewport();
    QWidget* focused = &control<QWidget>(dialog, SelectElementsControl::pointPick);
    focused->setFocus(Qt::TabFocusReason);
    int visited = 0;
    do {
        const QRect shown(focused->mapTo(&viewport, QPoint(0, 0)), focused->size());
        EXPECT_TRUE(viewport.rect().contains(shown)) << focused->objectName().toStdString();
        ++visited;
        QTest::keyClick(focused, Qt::Key_Tab);
        focused = QApplication::focusWidget();
        ASSERT_TRUE(focused != nullptr && viewport.isAncestorOf(focused)) << visited;
    } while (focused != &control<QWidget>(dialog, SelectElementsControl::pointPick) &&
             visited < 100);
    int controls = 0;
    for (const ControlGroup& group : dialogTemplate(DialogKind::selectElements).groups)
        controls += static_cast<int>(group.controls.size());
    EXPECT_EQ(visited, controls);
}

TEST_F(DialogWindowTest, ViewKitPressesReachTheApplication) {
    ToolDialog& kit = openDialog(viewKitCommand);
    auto& alpha = control<QLineEdit>(kit, ViewKitControl::alphaEdit);
    auto& beta = control<QLineEdit>(kit, ViewKitControl::betaEdit);
    EXPECT_EQ(alpha.text(), QStringLiteral("-90.00"));
    EXPECT_EQ(beta.text(), QStringLiteral("90.00"));

    alpha.selectAll();
    QTest::keyClicks(&alpha, QStringLiteral("30abc"));
    beta.selectAll();
    QTest::keyClicks(&beta, QStringLiteral(" -10"));
    QTest::keyClick(&beta, Qt::Key_Return);  // no default button: Enter does nothing
    EXPECT_EQ(app.state().viewAlphaDegrees, -90.0);
    EXPECT_TRUE(kit.isVisible());

    click(kit, ViewKitControl::apply);
    EXPECT_EQ(app.state().viewAlphaDegrees, 30.0);
    EXPECT_EQ(app.state().viewBetaDegrees, -10.0);
    EXPECT_EQ(alpha.text(), QStringLiteral("30abc"));
    EXPECT_EQ(shownFrame(), renderFrame(app));

    click(kit, 1032);  // YOZ-
    EXPECT_EQ(alpha.text(), QStringLiteral("180.00"));
    EXPECT_EQ(beta.text(), QStringLiteral("0.00"));
    click(kit, ViewKitControl::zoom);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::zoomBox);
}

// Esc and the close box close the dialog they reach, and only that one.
TEST_F(DialogWindowTest, EscAndTheCloseBoxCloseOneDialog) {
    ToolDialog& first = openDialog(viewKitCommand);
    ToolDialog& second = openDialog(viewKitCommand);
    const DialogId firstId = first.dialogId();
    const DialogId secondId = second.dialogId();

    QTest::keyClick(&control<QLineEdit>(second, ViewKitControl::alphaEdit), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(app.dialog(secondId), nullptr);
    EXPECT_EQ(window.dialogWindow(secondId), nullptr);
    EXPECT_TRUE(first.isVisible());
    EXPECT_TRUE(app.state().viewKitDialogOpen);

    ToolDialog& elements = openDialog(selectElementsCommand);
    EXPECT_TRUE(elements.close());
    QApplication::processEvents();
    EXPECT_FALSE(app.state().selectElementsDialogOpen);
    EXPECT_EQ(app.state().interactionMode, InteractionMode::none);
    EXPECT_NE(window.dialogWindow(firstId), nullptr);
}

TEST_F(DialogWindowTest, RadiosFollowTheMenuInEveryOpenDialog) {
    ToolDialog& older = openDialog(selectElementsCommand);
    ToolDialog& newer = openDialog(selectElementsCommand);
    ToolDialog& nodes = openDialog(selectNodesCommand);
    trigger(plotSelectedElementOutlinesCommand);
    trigger(plotSelectedNodesCommand);
    trigger(plotAllElementsCommand);
    for (ToolDialog* dialog : {&older, &newer}) {
        EXPECT_TRUE(isChecked(*dialog, 1018));
        EXPECT_FALSE(isChecked(*dialog, 1017));
        EXPECT_TRUE(isChecked(*dialog, 1055));  // the element-plot radios do not follow
        EXPECT_FALSE(isChecked(*dialog, 1053));
    }
    EXPECT_TRUE(isChecked(nodes, 1051));

    // A click on a checked radio leaves it checked; the menu follows the dialog.
    click(newer, 1018);
    EXPECT_TRUE(isChecked(newer, 1018));
    click(newer, 1053);
    EXPECT_TRUE(isChecked(newer, 1053));
    EXPECT_FALSE(isChecked(newer, 1055));
    EXPECT_TRUE(window.commandAction(plotAllElementsCommand)->isChecked());
    EXPECT_FALSE(window.commandAction(contourCommand)->isChecked());
}

// The "Only Operate From Selected" boxes show their option in every open dialog,
// whichever one was clicked.
TEST_F(DialogWindowTest, OnlyFromSelectedBoxesAgreeInEveryOpenDialog) {
    ToolDialog& older = openDialog(selectElementsCommand);
    ToolDialog& newer = openDialog(selectElementsCommand);
    for (ToolDialog* clicked : {&older, &newer, &newer}) {
        click(*clicked, SelectElementsControl::onlyFromSelected);
        const bool on = app.state().onlyFromSelectedElements;
        EXPECT_EQ(isChecked(older, SelectElementsControl::onlyFromSelected), on);
        EXPECT_EQ(isChecked(newer, SelectElementsControl::onlyFromSelected), on);
    }
    EXPECT_TRUE(app.state().onlyFromSelectedElements);  // toggled three times
}

// Point picking and the unpick modes, from the dialogs' buttons to clicks in the view.
TEST_F(DialogWindowTest, PointPickAndUnpickThroughTheWindow) {
    ToolDialog& elements = openDialog(selectElementsCommand);
    click(elements, SelectElementsControl::pointPick);
    const QImage before = shownFrame();
    QTest::mouseClick(&view(), Qt::LeftButton, {}, pixelOf(2.5, 1.5));  // element 6
    EXPECT_EQ(app.model().elementPicked[6], 1);
    EXPECT_NE(shownFrame(), before);
    click(elements, SelectElementsControl::unpick);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, pixelOf(2.5, 1.5));
    EXPECT_EQ(app.model().elementPicked[6], 0);

    ToolDialog& nodes = openDialog(selectNodesCommand);
    click(nodes, SelectNodesControl::pointPick);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, pixelOf(3.0, 1.0));  // node 8
    EXPECT_EQ(app.model().nodePicked[8], 1);
    click(nodes, SelectNodesControl::unpick);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, pixelOf(3.0, 1.0));
    EXPECT_EQ(app.model().nodePicked[8], 0);

    // Closing the element dialog takes its picks off the picture at once.
    click(elements, SelectElementsControl::pick);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, pixelOf(0.5, 0.5));
    click(elements, SelectElementsControl::exit);
    EXPECT_EQ(app.model().elementPicked[0], 0);
    EXPECT_EQ(shownFrame(), renderFrame(app));
}

TEST_F(DialogWindowTest, FromFileOpensAnExistingFileAndCancelChangesNothing) {
    ToolDialog& nodes = openDialog(selectNodesCommand);
    const auto seen = answerNextFileDialog({});
    EXPECT_EQ(paintsAfter([&] { click(nodes, SelectNodesControl::fromFile); }), 0);
    EXPECT_EQ(seen->title, QStringLiteral("Read selected elements from file"));
    EXPECT_EQ(seen->filters, QStringList{QStringLiteral("Text Files (*.txt)")});
    EXPECT_EQ(seen->acceptMode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen->fileMode, QFileDialog::ExistingFile);
    EXPECT_TRUE(app.state().nodeSelectionFileName.empty());
}

// A file that cannot be written is reported, and the selection stays.
TEST_F(DialogWindowTest, ToFileIsASaveDialogThatAsksBeforeOverwriting) {
    ToolDialog& elements = openDialog(selectElementsCommand);
    const auto seen =
        answerNextFileDialog(QString::fromStdString(files.file("no dir/sel.txt").string()));
    const auto message = acceptNextMessage();
    click(elements, SelectElementsControl::toFile);
    EXPECT_EQ(seen->title, QStringLiteral("Write selected elements to file"));
    EXPECT_EQ(seen->filters, QStringList{QStringLiteral("Text Files (*.txt)")});
    EXPECT_EQ(seen->acceptMode, QFileDialog::AcceptSave);
    EXPECT_TRUE(seen->confirmsOverwrite);
    EXPECT_EQ(message->title, QStringLiteral("Warning!"));
    EXPECT_FALSE(message->text.isEmpty());
    EXPECT_EQ(app.model().elementSelected, std::vector<std::uint8_t>(8, 1));
}

// The next file dialog of the kind starts at the path chosen last, even when that
// file was refused.
TEST_F(DialogWindowTest, FileDialogsStartAtTheLastPath) {
    ToolDialog& nodes = openDialog(selectNodesCommand);
    const QString chosen = QString::fromStdString(files.file("refused.txt").string());
    std::ofstream(files.file("refused.txt")) << "abc\n";
    answerNextFileDialog(chosen);
    const auto message = acceptNextMessage();
    click(nodes, SelectNodesControl::fromFile);
    EXPECT_EQ(message->title, QStringLiteral("Warning!"));
    EXPECT_EQ(app.model().nodeSelected, std::vector<std::uint8_t>(15, 1));

    const auto seen = answerNextFileDialog({});
    click(nodes, SelectNodesControl::toFile);
    EXPECT_EQ(seen->startSelection, QStringList{chosen});
}

// Save over an existing file (after the question), change the selection, read back.
TEST_F(DialogWindowTest, SelectionFilesRoundTripThroughTheFileDialogs) {
    ToolDialog& elements = openDialog(selectElementsCommand);
    click(elements, SelectElementsControl::pointPick);
    QTest::mouseClick(&view(), Qt::LeftButton, {}, pixelOf(2.5, 1.5));  // element 6
    click(elements, SelectElementsControl::apply);
    const std::filesystem::path saved = files.file("saved.txt");
    std::ofstream(saved) << "0\n";
    answerNextFileDialog(QString::fromStdString(saved.string()));
    auto question = std::make_shared<QString>();
    whenModalShows<QMessageBox>([question](QMessageBox& box) {
        *question = box.text();
        box.button(QMessageBox::Yes)->click();
    });
    click(elements, SelectElementsControl::toFile);
    EXPECT_TRUE(question->contains(QStringLiteral("already exists"))) << question->toStdString();
    EXPECT_EQ(testing::readText(saved), "6\n");

    click(elements, SelectElementsControl::selectAll);
    answerNextFileDialog(QString::fromStdString(saved.string()));
    EXPECT_EQ(paintsAfter([&] { click(elements, SelectElementsControl::fromFile); }), 1);
    EXPECT_EQ(app.model().elementSelected, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 1, 0}));
}

// The written listing goes to the desktop's handler; without one the user is told.
TEST_F(DialogWindowTest, ListStressesOpensTheWrittenReport) {
    const testing::InDirectory here(files.path());
    std::vector<QUrl> opened;
    window.setReportOpener([&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    click(openDialog(selectNodesCommand), SelectNodesControl::listStresses);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(std::filesystem::equivalent(opened.front().toLocalFile().toStdString(),
                                            files.file("SelectedNodeStress.txt")));

    window.setReportOpener([](const QUrl&) { return false; });
    const auto message = acceptNextMessage();
    click(openDialog(selectElementsCommand), SelectElementsControl::listStresses);
    EXPECT_EQ(message->title, QStringLiteral("Warning!"));
    EXPECT_TRUE(message->text.contains(QStringLiteral("SelectedElemStress.txt")));
}

}  // namespace
}  // namespace corvelt
