// What the window tells the user: the status bar's fields and its messages after
// file operations, and the question before an empty stress listing.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <fstream>

#include "WindowTest.h"
#include "app/CommandId.h"
#include "app/DialogControlId.h"
#include "app/StatusFieldWidths.h"
#include "gui/ElidedLabel.h"
#include "gui/ToolDialog.h"

namespace corvelt {
namespace {

class FeedbackTest : public GridWindowTest {
  protected:
    QString status(const char* field) const {
        return window.statusField(QString::fromLatin1(field))->text();
    }

    ToolDialog& openDialog(int command) {
        trigger(command);
        return *window.dialogWindow(app.dialogs().back().id);
    }

    static void press(ToolDialog& dialog, int id) {
        dialog.findChild<QPushButton*>(QString::number(id))->click();
    }
};

// The texts of a million-element model with the probe showing: at 1200 pixels the
// fields that matter least give way first, none overlaps another or leaves the bar,
// and each keeps its whole text in its tooltip; on a wide window all are whole.
TEST_F(FeedbackTest, StatusFieldsGiveWayInTheirOrderAndKeepTheWholeTextInTheTooltip) {
    const std::map<QString, QString> texts{
        {"mode", "Pick elements in a rectangle: click the second point"},
        {"model", "999 924 nodes, 1 000 000 elements"},
        {"selection", "Selected: 1 000 000 elements, 999 924 nodes"},
        {"picks", "Picked: 120 000 elements, 0 nodes"},
        {"probe", "Element 999 999: Se 45.6789 on the second surface; node 999 923"},
        {"message", "Read 1 000 000 elements from plate-sel.txt"},
        {"load", "Loaded in 12.34 s"},
    };
    const auto field = [this](const StatusFieldRule& rule) {
        return static_cast<ElidedLabel*>(
            window.statusField(QString::fromUtf8(rule.name.data(), rule.name.size())));
    };
    for (const int width : {1200, 2400}) {
        SCOPED_TRACE(width);
        window.resize(width, 700);
        for (const auto& [name, text] : texts)
            window.statusField(name)->setText(text);
        QApplication::processEvents();
        int right = 0;
        int firstWhole = 1000;  // the lowest giveWay of a field shown whole
        int lastElided = -1;
        for (const StatusFieldRule& rule : statusFieldRules()) {
            const ElidedLabel* label = field(rule);
            EXPECT_EQ(label->toolTip(), label->text());
            EXPECT_GE(label->x(), right) << label->objectName().toStdString();
            right = label->geometry().right() + 1;
            if (label->isElided())
                lastElided = std::max(lastElided, rule.giveWay);
            else
                firstWhole = std::min(firstWhole, rule.giveWay);
        }
        EXPECT_LE(right, window.statusBar()->width());
        EXPECT_LT(lastElided, firstWhole);
        if (width == 1200) {
            EXPECT_TRUE(field(statusFieldRules()[6])->isElided());  // the load time first
            for (const char* whole : {"mode", "probe", "message"})
                EXPECT_EQ(window.statusField(whole)->width(),
                          window.statusField(whole)->sizeHint().width())
                    << whole;
        } else {
            EXPECT_EQ(lastElided, -1);
        }
    }
}

TEST_F(FeedbackTest, SelectionFilesAndListingsSayWhatTheyDid) {
    const testing::InDirectory here(files.path());
    window.setReportOpener([](const QUrl&) { return true; });
    ToolDialog& elements = openDialog(selectElementsCommand);
    answerNextFileDialog(QString::fromStdString(files.file("plate-sel.txt").string()));
    press(elements, SelectElementsControl::toFile);
    EXPECT_EQ(status("message"), QStringLiteral("Wrote 8 elements to plate-sel.txt"));

    std::ofstream(files.file("f.txt")) << "1 2 2 3 4 8 -1\n";
    answerNextFileDialog(QString::fromStdString(files.file("f.txt").string()));
    press(elements, SelectElementsControl::fromFile);
    EXPECT_EQ(status("message"),
              QStringLiteral("Read 4 elements from f.txt; 2 indices outside the model skipped"));

    press(elements, SelectElementsControl::listStresses);
    EXPECT_EQ(status("message"), QStringLiteral("Listing written: SelectedElemStress.txt"));
}

// Only the window asks; No writes nothing and keeps the listing there was.
TEST_F(FeedbackTest, AnEmptyListingIsWrittenOnlyWhenTheUserSaysSo) {
    const testing::InDirectory here(files.path());
    int opened = 0;
    window.setReportOpener([&opened](const QUrl&) { return ++opened > 0; });
    ToolDialog& nodes = openDialog(selectNodesCommand);
    press(nodes, SelectNodesControl::selectNone);
    std::ofstream(files.file("SelectedNodeStress.txt")) << "earlier\n";

    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        auto question = std::make_shared<QString>();
        whenModalShows<QMessageBox>([question, answer](QMessageBox& box) {
            *question = box.text();
            EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
            box.button(answer)->click();
        });
        press(nodes, SelectNodesControl::listStresses);
        EXPECT_EQ(*question, QStringLiteral("No node is selected. Write an empty listing?"));
    }
    EXPECT_EQ(opened, 1);
    EXPECT_NE(testing::readText(files.file("SelectedNodeStress.txt")), "earlier\n");
}

}  // namespace
}  // namespace corvelt
