#include "gui/MainWindow.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QtGlobal>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/AddedMenuItems.h"
#include "app/Application.h"
#include "app/CommandId.h"
#include "app/DisplayText.h"
#include "app/FileMessages.h"
#include "app/MenuTable.h"
#include "app/ProgramOptions.h"
#include "app/StatusFieldWidths.h"
#include "app/StatusText.h"
#include "app/ToolWindowPlacement.h"
#include "gui/ElidedLabel.h"
#include "base/AtomicFile.h"
#include "gui/FrameImage.h"
#include "gui/LegendSettings.h"
#include "gui/ProbePanel.h"
#include "gui/ResultFileLoad.h"
#include "gui/StatusFieldLayout.h"
#include "gui/ToolDialog.h"
#include "gui/WorkWithProgress.h"
#include "gui/ViewWidget.h"
#include "formats/ExportError.h"
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

const QString geometryKey = QStringLiteral("window/geometry");
const QString windowStateKey = QStringLiteral("window/state");
const QString allFilesFilter = QStringLiteral("All files (*)");
const QString pictureFilter = QStringLiteral("PNG images (*.png)");
constexpr int probeIdleMilliseconds = 200;
constexpr int messageMilliseconds = 15000;

// The project has not chosen a licence yet; the About box says so until it has.
constexpr const char* licenceText =
    "No licence has been granted yet: all rights reserved by "
    "the Corvelt developers.";

// The one local file of a drag, if it carries exactly one.
std::optional<QString> droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    return urls.front().toLocalFile();
}

ScreenRect screenRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// The frame the desktop puts around a window. It is known once the window is shown
// (on some desktops a moment later); until then, room for a title bar and thin
// borders. (Creating the platform window early to ask would make it take the
// keyboard and mouse from the main window on some platforms.)
QMargins expectedFrameMargins(const QWidget& window) {
    QMargins margins;
    if (const QWindow* handle = window.windowHandle(); handle != nullptr && window.isVisible())
        margins = handle->frameMargins();
    if (!margins.isNull()) return margins;
    const int border = 4;
    return {border, 2 * window.fontMetrics().height() + border, border, border};
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
    view_->setInputListener([this](bool pictureChanged, bool cursorMoved) {
        afterViewInput(pictureChanged, cursorMoved);
    });
    setAcceptDrops(true);
    auto probePanel = std::make_unique<ProbePanel>(this);
    probePanel_ = probePanel.get();
    addDockWidget(Qt::RightDockWidgetArea, probePanel.release());
    probePanel_->hide();
    auto probeIdle = std::make_unique<QTimer>(this);
    probeIdle_ = probeIdle.release();
    probeIdle_->setSingleShot(true);
    probeIdle_->setInterval(probeIdleMilliseconds);
    connect(probeIdle_, &QTimer::timeout, this, [this] {
        app_.prepareProbe();
        refreshProbe();
    });
    buildMenuBar();
    buildStatusBar();
    restoreSettings();
    showApplicationState();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenuBar() {
    std::map<std::string_view, QMenu*> menus;
    for (const MenuPopup& popup : mainMenu()) {
        QMenu* menu = menuBar()->addMenu(fromUtf8(popup.title));
        menus.emplace(popup.title, menu);
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
    addDesktopItems(menus);
    refreshMenuMarks();
}

QAction* MainWindow::addDesktopAction(QMenu* menu, const QString& text, std::function<void()> run) {
    QAction* action = menu->addAction(text);
    action->setProperty(desktopItemProperty, true);
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

// The application's items keep their places; the window's own go after them, and
// Edit and Help where a desktop user looks for them.
void MainWindow::addDesktopItems(const std::map<std::string_view, QMenu*>& menus) {
    const auto markSeparator = [](QMenu* menu) {
        menu->addSeparator()->setProperty(desktopItemProperty, true);
    };
    commandAction(openCommand)->setShortcut(QKeySequence::Open);

    QMenu* file = menus.at("&File");
    recentMenu_ = file->addMenu(QStringLiteral("Recent &Files"));
    recentMenu_->menuAction()->setProperty(desktopItemProperty, true);
    markSeparator(file);
    savePictureAction_ =
        addDesktopAction(file, QStringLiteral("&Save Picture..."), [this] { choosePictureFile(); });
    exportMenu_ = file->addMenu(QStringLiteral("&Export"));
    exportMenu_->menuAction()->setProperty(desktopItemProperty, true);
    addDesktopAction(exportMenu_, QStringLiteral("VTK Unstructured Grid (.vtu)..."),
                     [this] { chooseExportFile(ExportFormat::vtu); });
    addDesktopAction(exportMenu_, QStringLiteral("Table (.csv)..."),
                     [this] { chooseExportFile(ExportFormat::csv); });
    markSeparator(file);
    QAction* exit = addDesktopAction(file, QStringLiteral("E&xit"), [this] { close(); });
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    auto edit = std::make_unique<QMenu>(QStringLiteral("&Edit"), menuBar());
    copyPictureAction_ =
        addDesktopAction(edit.get(), QStringLiteral("&Copy Picture"), [this] { copyPicture(); });
    copyPictureAction_->setShortcut(QKeySequence::Copy);
    QMenu* editMenu = edit.get();
    QAction* editAction = menuBar()->insertMenu(menus.at("&View")->menuAction(), edit.release());
    editAction->setProperty(desktopItemProperty, true);

    QMenu* view = menus.at("&View");
    markSeparator(view);
    // Changes the picture, so it is the application's command, marked as the others.
    QAction* minMax = addDesktopAction(view, QStringLiteral("Show &Min/Max"),
                                       [this] { runCommand(showMinMaxCommand); });
    minMax->setData(static_cast<int>(showMinMaxCommand));
    commandActions_.push_back(minMax);
    QAction* probe = probePanel_->toggleViewAction();
    probe->setText(QStringLiteral("&Probe Panel"));
    probe->setProperty(desktopItemProperty, true);
    view->addAction(probe);

    std::map<std::string_view, QMenu*> withEdit = menus;
    withEdit.emplace("&Edit", editMenu);
    addApplicationItems(withEdit);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->menuAction()->setProperty(desktopItemProperty, true);
    addDesktopAction(help, QStringLiteral("&About Corvelt"), [this] { showAbout(); });
    refreshRecentFiles();
}

// The application's own items after the rest of their popups, below a separator:
// its commands with their shortcuts bound wherever the program has the focus (a
// text field keeps its own Ctrl+Z), and the view's keys with the key shown but not
// bound: the key itself reaches the view, and inside the open menu a letter stays
// the mnemonic it is (P opens the Probe Panel, not Pan Mode).
void MainWindow::addApplicationItems(const std::map<std::string_view, QMenu*>& menus) {
    std::string_view lastPopup;
    int lastGroup = 0;
    for (const AddedMenuItem& item : addedMenuItems()) {
        QMenu* menu = menus.at(item.popup);
        if (item.popup != lastPopup || item.group != lastGroup)
            menu->addSeparator()->setProperty(desktopItemProperty, true);
        lastPopup = item.popup;
        lastGroup = item.group;
        QList<QKeySequence> shortcuts{QKeySequence(fromUtf8(item.shortcut))};
        if (!item.otherShortcut.empty())
            shortcuts.push_back(QKeySequence(fromUtf8(item.otherShortcut)));
        if (item.commandId != 0) {
            const int id = item.commandId;
            QAction* action =
                addDesktopAction(menu, fromUtf8(item.text), [this, id] { runCommand(id); });
            action->setData(id);
            action->setShortcutContext(Qt::ApplicationShortcut);
            action->setShortcuts(shortcuts);
            commandActions_.push_back(action);
        } else {
            // A tab sets the key apart as the menu's shortcut column shows it.
            const char32_t key = item.key;
            addDesktopAction(menu, fromUtf8(item.text) + QLatin1Char('\t') + fromUtf8(item.shortcut),
                             [this, key] {
                                 app_.character(key);
                                 showApplicationState();
                             });
        }
    }
}

// Undo and Redo name the step they would take, and are off when there is none.
void MainWindow::refreshHistoryItems() {
    if (QAction* undo = commandAction(undoCommand)) {
        undo->setText(QString::fromStdString(app_.undoText()));
        undo->setEnabled(app_.history().undoCount() > 0);
    }
    if (QAction* redo = commandAction(redoCommand)) {
        redo->setText(QString::fromStdString(app_.redoText()));
        redo->setEnabled(app_.history().redoCount() > 0);
    }
}

// The mode and the counts from the left, the last message and the load time at the
// right; when the bar is narrow, the fields give way in their order.
void MainWindow::buildStatusBar() {
    auto fields = std::make_unique<QWidget>();
    auto layout = std::make_unique<StatusFieldLayout>();
    layout->setContentsMargins(0, 0, 0, 0);
    for (const StatusFieldRule& rule : statusFieldRules()) {
        auto label = std::make_unique<ElidedLabel>(fields.get());
        const QString key = fromUtf8(rule.name);
        label->setObjectName(key + QStringLiteral("Status"));
        label->setContentsMargins(6, 0, 6, 0);
        statusFields_.emplace(key, label.get());
        layout->addField(label.release(), rule);  // owned by `fields`
    }
    fields->setLayout(layout.release());
    statusBar()->addWidget(fields.release(), 1);
    auto messageShown = std::make_unique<QTimer>(this);
    messageShown_ = messageShown.release();
    messageShown_->setSingleShot(true);
    messageShown_->setInterval(messageMilliseconds);
    connect(messageShown_, &QTimer::timeout, this,
            [this] { statusFields_.at(QStringLiteral("message"))->clear(); });
}

void MainWindow::showStatusMessage(const std::string& text) {
    statusFields_.at(QStringLiteral("message"))->setText(QString::fromUtf8(text));
    messageShown_->start();
}

QLabel* MainWindow::statusField(const QString& name) const {
    const auto found = statusFields_.find(name);
    return found == statusFields_.end() ? nullptr : found->second;
}

// The mode is cheap and may change with any key or click; the counts walk the
// flags, so only after what may have changed them.
void MainWindow::refreshStatus(bool countsToo) {
    statusFields_.at(QStringLiteral("mode"))
        ->setText(QString::fromStdString(modeStatusText(app_.state())));
    if (!countsToo) return;
    const CountTexts counts = countStatusTexts(app_);
    statusFields_.at(QStringLiteral("model"))->setText(QString::fromStdString(counts.model));
    statusFields_.at(QStringLiteral("selection"))
        ->setText(QString::fromStdString(counts.selection));
    statusFields_.at(QStringLiteral("picks"))->setText(QString::fromStdString(counts.picks));
}

// The probe follows the cursor; what else changes the picture leaves it until the
// view is still.
void MainWindow::afterViewInput(bool pictureChanged, bool cursorMoved) {
    refreshStatus(pictureChanged);
    if (pictureChanged) refreshHistoryItems();
    if (cursorMoved) {
        refreshProbe();
    } else if (pictureChanged) {
        statusFields_.at(QStringLiteral("probe"))->clear();
        probeIdle_->start();
    }
}

// Not while a drag turns or pans the picture under the cursor.
void MainWindow::refreshProbe() {
    QLabel* field = statusFields_.at(QStringLiteral("probe"));
    const std::optional<ProbeReading> reading =
        view_->cursorInside() && !app_.dragButton()
            ? app_.probe(app_.state().lastMouseX, app_.state().lastMouseY)
            : std::nullopt;
    if (!reading) {
        field->clear();
        return;
    }
    field->setText(QString::fromStdString(probeStatusText(*reading)));
    probePanel_->showReading(*reading);
}

void MainWindow::restoreSettings() {
    const QSettings settings;
    if (!restoreGeometry(settings.value(geometryKey).toByteArray())) resize(defaultWindowSize());
    restoreState(settings.value(windowStateKey).toByteArray());
    app_.setLegendOptions(loadLegendOptions(settings));
    savedLegend_ = app_.legendOptions();
}

void MainWindow::refreshRecentFiles() {
    recentMenu_->clear();
    const QStringList files = recentFiles_.files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString fileName = files[i];
        // An ampersand in a name is shown, not taken for a mnemonic.
        const QString shown =
            QDir::toNativeSeparators(fileName).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setData(fileName);
        connect(action, &QAction::triggered, this, [this, fileName] { openRecentFile(fileName); });
    }
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction(QStringLiteral("&Clear List"), this, [this] {
        recentFiles_.clear();
        refreshRecentFiles();
    });
    clear->setEnabled(!files.isEmpty());
}

// A file that has gone is taken off the list once the user has been told.
void MainWindow::openRecentFile(const QString& fileName) {
    if (openResultFile(pathOf(fileName)) || QFileInfo::exists(fileName)) return;
    recentFiles_.remove(fileName);
    refreshRecentFiles();
}

QImage MainWindow::picture() const {
    return renderFrame(app_, view_->devicePixelRatioF());
}

// As every file the program writes: a pipe or a device is refused at once, and the
// old file stays until the whole new one is there.
bool MainWindow::savePicture(const QString& fileName) {
    QString reason;
    try {
        AtomicFile file(pathOf(fileName));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (picture().save(&buffer, "PNG")) {
            file.write({png.constData(), static_cast<std::size_t>(png.size())});
            file.commit();
            return true;
        }
        reason = QStringLiteral("cannot encode the picture as PNG");
    } catch (const std::system_error& error) {
        reason = QString::fromStdString(error.code().message());
    }
    showWarning(QStringLiteral("The picture could not be saved.\n%1: %2")
                    .arg(QDir::toNativeSeparators(fileName), reason));
    return false;
}

void MainWindow::copyPicture() const {
    QGuiApplication::clipboard()->setImage(picture());
}

// Next to the result file, named after it.
void MainWindow::choosePictureFile() {
    const QFileInfo result(fileNameOf(app_.state().resultFileName));
    const QString folder =
        app_.state().modelLoaded ? result.absolutePath() : recentFiles_.lastFolder();
    const QString name =
        app_.state().modelLoaded ? result.completeBaseName() : QStringLiteral("picture");
    QFileDialog chooser(this, QStringLiteral("Save Picture"), folder, pictureFilter);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("png"));
    chooser.selectFile(name + QStringLiteral(".png"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    savePicture(chooser.selectedFiles().front());
}

// Next to the result file, named after it, as the picture.
void MainWindow::chooseExportFile(ExportFormat format) {
    const bool vtu = format == ExportFormat::vtu;
    const QString suffix = vtu ? QStringLiteral("vtu") : QStringLiteral("csv");
    const QFileInfo result(fileNameOf(app_.state().resultFileName));
    QFileDialog chooser(this, QStringLiteral("Export"), result.absolutePath(),
                        vtu ? QStringLiteral("VTK unstructured grids (*.vtu)")
                            : QStringLiteral("CSV tables (*.csv)"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(suffix);
    chooser.selectFile(result.completeBaseName() + QStringLiteral(".") + suffix);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    exportSelection(format, pathOf(chooser.selectedFiles().front()));
}

// The export reads the model on a worker while this thread only repaints; loading_
// keeps loads, drops and closing away meanwhile.
bool MainWindow::exportSelection(ExportFormat format, const std::filesystem::path& path) {
    if (loading_) return false;
    const QScopedValueRollback<bool> busy(loading_, true);
    const QString label =
        QStringLiteral("Writing %1 ...")
            .arg(QString::fromStdString(displayText(path.filename().native())));
    try {
        return runWithProgress(isVisible() ? this : nullptr, label,
                               [&](const WorkProgress& progress) {
                                   app_.exportSelection(format, path, progress);
                               });
    } catch (const ExportError& error) {
        showWarning(QString::fromStdString(displayText(error.what())));
    } catch (const std::bad_alloc&) {
        showWarning(QStringLiteral("The export could not be written.\n%1: not enough memory")
                        .arg(QString::fromStdString(displayText(path.string()))));
    }
    return false;
}

void MainWindow::showAbout() {
    QMessageBox::about(
        this, QStringLiteral("About Corvelt"),
        QStringLiteral("<p><b>Corvelt %1</b></p>"
                       "<p>A post-processor for finite-element results of thin shells: stress "
                       "contours of 4-node shell elements in 3-D.</p>"
                       "<p>%2</p><p>Built with Qt %3, running on Qt %4.</p>")
            .arg(fromUtf8(programVersion()), QString::fromUtf8(licenceText),
                 QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())));
}

// The file first, as desktops list windows by their title's start.
void MainWindow::refreshTitle() {
    QString title = QString::fromUtf8(caption);
    if (app_.state().modelLoaded)
        title = QFileInfo(fileNameOf(app_.state().resultFileName)).fileName() +
                QStringLiteral(" \u2014 ") + title;
    setWindowTitle(title);
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
    // The legend's options hold for every model and every later run.
    if (!(app_.legendOptions() == savedLegend_)) {
        QSettings settings;
        saveLegendOptions(settings, app_.legendOptions());
        savedLegend_ = app_.legendOptions();
    }
    refreshMenuMarks();
    view_->syncWithApplication();
    syncDialogWindows();
    refreshTitle();
    refreshStatus(true);
    statusFields_.at(QStringLiteral("probe"))->clear();
    probeIdle_->start();
    savePictureAction_->setEnabled(app_.state().modelLoaded);
    copyPictureAction_->setEnabled(app_.state().modelLoaded);
    exportMenu_->setEnabled(app_.state().modelLoaded);
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
        // Placed before it shows, and again once the desktop has told its frame.
        const int cascade = static_cast<int>(dialogWindows_.size());
        placeDialog(*dialog, cascade);
        dialog->show();
        placeDialog(*dialog, cascade);
        dialogWindows_.emplace(open.id, dialog.release());  // owned by the window
    }
}

void MainWindow::placeDialog(ToolDialog& dialog, int cascade) {
    const QScreen* shown = screen();
    if (shown == nullptr) return;
    const QMargins frame = expectedFrameMargins(dialog);
    const QPoint viewCorner = view_->mapToGlobal(QPoint(0, 0));
    const ToolWindowScene scene{screenRect(shown->availableGeometry()), screenRect(frameGeometry()),
                                menuBar()->mapToGlobal(QPoint(0, menuBar()->height())).y(),
                                screenRect(QRect(viewCorner, view_->size()))};
    const std::vector<ToolWindowArea> areas = toolWindowAreas(scene);
    for (const ToolWindowArea& area : areas) {
        const QSize room =
            QSize(area.rect.width, area.rect.height).shrunkBy(frame).expandedTo(QSize(1, 1));
        // Beside the main window only when it fits there whole; over it, scrolling if need be.
        if (!dialog.fitWithin(room) && area.side != ToolWindowSide::over) continue;
        const QSize size = dialog.size().grownBy(frame);
        const ScreenPoint corner =
            toolWindowPosition(scene, area, {size.width(), size.height()}, cascade);
        dialog.move(corner.x, corner.y);
        return;
    }
}

void MainWindow::pressDialogControl(ToolDialog& dialog, int control) {
    const DialogId id = dialog.dialogId();
    // The safe answer is the default: an empty listing replaces the one written before.
    if (const std::optional<std::string> question = app_.questionBeforePress(id, control)) {
        const auto answer =
            QMessageBox::question(&dialog, dialog.windowTitle(), QString::fromUtf8(*question),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) return;
    }
    DialogOutcome outcome = app_.pressDialogControl(id, control);
    if (outcome.action == DialogAction::chooseFile)
        outcome = app_.answerFileRequest(id, askForFile(&dialog, outcome.file));
    showApplicationState();
    if (!outcome.status.empty()) showStatusMessage(outcome.status);
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
    refreshHistoryItems();
}

// Starts at the file shown, or in the folder of the last file of an earlier run.
void MainWindow::chooseAndOpenFile() {
    const QString lastFile = fileNameOf(app_.state().resultFileName);
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString::fromUtf8(resultFileDialogTitle),
        lastFile.isEmpty() ? recentFiles_.lastFolder() : QFileInfo(lastFile).absoluteFilePath(),
        QString::fromUtf8(resultFileFilter) + QStringLiteral(";;") + allFilesFilter);
    if (chosen.isEmpty()) return;  // cancelled: nothing changes
    openResultFile(pathOf(chosen));
}

bool MainWindow::openResultFile(const std::filesystem::path& path) {
    if (loading_) return false;  // one load at a time
    std::optional<PreparedResult> prepared;
    std::exception_ptr failure;
    QElapsedTimer clock;
    clock.start();
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
    if (!prepared) {  // cancelled: nothing changes
        showStatusMessage(loadCancelledText);
        return false;
    }
    const std::string warning = prepared->warning;
    app_.adoptPrepared(std::move(*prepared), path);
    statusFields_.at(QStringLiteral("load"))
        ->setText(
            QString::fromStdString(loadTimeText(static_cast<double>(clock.nsecsElapsed()) * 1e-9)));
    recentFiles_.add(QFileInfo(fileNameOf(path.string())).absoluteFilePath());
    refreshRecentFiles();
    showApplicationState();
    if (!warning.empty()) showWarning(QString::fromStdString(displayText(warning)));
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
    QSettings settings;
    settings.setValue(geometryKey, saveGeometry());
    settings.setValue(windowStateKey, saveState());
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!loading_ && droppedFile(event->mimeData())) event->acceptProposedAction();
}

// Opened once the drop has returned, so that the dragging program is not kept
// waiting while the file loads.
void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<QString> file = droppedFile(event->mimeData());
    if (loading_ || !file) return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, fileName = *file] { openResultFile(pathOf(fileName)); });
}

}  // namespace corvelt
