#include "gui/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QScreen>
#include <QUrl>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "app/Application.h"
#include "app/DisplayText.h"
#include "app/MenuTable.h"
#include "gui/ResultFileLoad.h"
#include "gui/ToolDialog.h"
#include "gui/ViewWidget.h"
#include "model/ResultFileError.h"

namespace corvelt {

namespace {

constexpr int defaultWidth = 1200;
constexpr int defaultHeight = 800;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// File names are bytes on Linux; Qt decodes and encodes them the same way.
std::filesystem::path pathOf(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

QString fileNameOf(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The reader's messages start with their headline and name file and line; other
// failures get the same headline so that the user sees one kind of message. A file
// name that is not UTF-8 is shown with its bytes escaped.
QString loadFailureMessage(const std::exception_ptr& failure, const std::filesystem::path& path) {
    const std::string where =
        std::string(resultFileReadErrorHeadline) + "\n" + path.string() + ": ";
    std::string message;
    try {
        std::rethrow_exception(failure);
    } catch (const ResultFileError& error) {
        message = error.what();
    } catch (const std::bad_alloc&) {
        message = where + "not enough memory to read the file";
    } catch (const std::exception& error) {
        message = where + error.what();
    }
    return QString::fromStdString(displayText(message));
}

QSize defaultWindowSize() {
    QSize size(defaultWidth, defaultHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    return size;
}

}  // namespace

MainWindow::MainWindow(Application& app)
    : app_(app), openReport_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setWindowTitle(QString::fromUtf8(caption));
    auto view = std::make_unique<ViewWidget>(app_);
    view_ = view.get();
    setCentralWidget(view.release());
    view_->setFocus();
    buildMenuBar();
    resize(defaultWindowSize());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenuBar() {
    for (const MenuPopup& popup : mainMenu()) {
        QMenu* menu = menuBar()->addMenu(fromUtf8(popup.title));
        for (const MenuItem& item : popup.items) {
            if (item.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(fromUtf8(item.text));
            const int id = item.commandId;
            action->setData(id);
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            commandActions_.push_back(action);
        }
        // Dialogs may change the state behind the menu's back; show it as it is now.
        connect(menu, &QMenu::aboutToShow, this, [this] { refreshMenuMarks(); });
    }
    refreshMenuMarks();
}

QAction* MainWindow::commandAction(int commandId) const {
    for (QAction* action : commandActions_)
        if (action->data().toInt() == commandId) return action;
    return nullptr;
}

void MainWindow::runCommand(int commandId) {
    if (app_.command(commandId) == CommandOutcome::openFileRequested) chooseAndOpenFile();
    showApplicationState();
}

void MainWindow::showApplicationState() {
    refreshMenuMarks();
    view_->syncWithApplication();
    syncDialogWindows();
}

ToolDialog* MainWindow::dialogWindow(DialogId id) const {
    const auto found = dialogWindows_.find(id);
    return found == dialogWindows_.end() ? nullptr : found->second;
}

// A window for every dialog the application has open, none for one it closed.
void MainWindow::syncDialogWindows() {
    for (auto it = dialogWindows_.begin(); it != dialogWindows_.end();) {
        if (app_.dialog(it->first) != nullptr) {
            it->second->showState();
            ++it;
            continue;
        }
        // It may be closing from inside one of its own handlers.
        it->second->hide();
        it->second->deleteLater();
        it = dialogWindows_.erase(it);
    }
    for (const DialogState& open : app_.dialogs()) {
        if (dialogWindows_.contains(open.id)) continue;
        auto dialog = std::make_unique<ToolDialog>(
            app_, open.id,
            [this](ToolDialog& pressed, int control) { pressDialogControl(pressed, control); },
            this);
        // Over the top left of the picture, each further one a little lower.
        const QPoint corner = view_->mapToGlobal(QPoint(0, 0));
        const int cascade = 24 * static_cast<int>(dialogWindows_.size() % 8);
        dialog->move(corner + QPoint(16 + cascade, 16 + cascade));
        dialog->show();
        dialogWindows_.emplace(open.id, dialog.release());  // owned by the window
    }
}

void MainWindow::pressDialogControl(ToolDialog& dialog, int control) {
    const DialogId id = dialog.dialogId();
    DialogOutcome outcome = app_.pressDialogControl(id, control);
    if (outcome.action == DialogAction::chooseFile)
        outcome = app_.answerFileRequest(id, askForFile(&dialog, outcome.file));
    showApplicationState();
    if (outcome.action == DialogAction::showMessage)
        QMessageBox::warning(&dialog, QStringLiteral("Warning!"),
                             QString::fromUtf8(outcome.message));
    if (outcome.action == DialogAction::openReport) showReport(&dialog, outcome.path);
}

// "From File" needs an existing file; "To File" asks before it replaces one.
std::optional<std::filesystem::path> MainWindow::askForFile(QWidget* dialog,
                                                            const FileRequest& request) {
    QFileDialog chooser(dialog, QString::fromUtf8(request.title), QString(),
                        QString::fromUtf8(request.filter));
    chooser.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    chooser.setDefaultSuffix(QStringLiteral("txt"));
    if (!request.startPath.empty())
        chooser.selectFile(QFileInfo(fileNameOf(request.startPath.string())).absoluteFilePath());
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return pathOf(chooser.selectedFiles().front());
}

// The desktop opens the report on its own; the program does not wait for it.
void MainWindow::showReport(QWidget* dialog, const std::filesystem::path& report) {
    const QString fileName = QFileInfo(fileNameOf(report.string())).absoluteFilePath();
    if (openReport_(QUrl::fromLocalFile(fileName))) return;
    QMessageBox::warning(dialog, QStringLiteral("Warning!"),
                         QStringLiteral("The report was written to %1, but no program to show "
                                        "it could be started.")
                             .arg(fileName));
}

// Only items that carry a mark are checkable: as in the classic menus, an item
// without a mark shows no empty box either.
void MainWindow::refreshMenuMarks() {
    for (QAction* action : commandActions_) {
        const bool checked = app_.isChecked(action->data().toInt());
        action->setCheckable(checked);
        action->setChecked(checked);
    }
}

void MainWindow::chooseAndOpenFile() {
    const QString lastFile = fileNameOf(app_.state().resultFileName);
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString::fromUtf8(resultFileDialogTitle),
        lastFile.isEmpty() ? QString() : QFileInfo(lastFile).absoluteFilePath(),
        QString::fromUtf8(resultFileFilter));
    if (chosen.isEmpty()) return;  // cancelled: nothing changes
    openResultFile(pathOf(chosen));
}

bool MainWindow::openResultFile(const std::filesystem::path& path) {
    std::optional<PreparedResult> prepared;
    std::exception_ptr failure;
    {
        const QScopedValueRollback<bool> loading(loading_, true);
        try {
            prepared = prepareResultFileShowingProgress(isVisible() ? this : nullptr, path,
                                                        app_.loadSettings());
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (failure) {
        showWarning(loadFailureMessage(failure, path));
        return false;
    }
    if (!prepared) return false;  // cancelled: nothing changes
    app_.adoptPrepared(std::move(*prepared), path);
    showApplicationState();
    return true;
}

void MainWindow::showWarning(const QString& message) {
    // Before the window is shown the box stands on its own.
    QMessageBox::warning(isVisible() ? this : nullptr, QStringLiteral("Warning!"), message);
}

// The window must not go while a worker still reads into the data it will adopt.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (loading_) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace corvelt
