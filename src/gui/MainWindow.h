#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/DialogState.h"
#include "formats/ExportFormat.h"
#include "gui/RecentFiles.h"
#include "render/LegendOptions.h"

class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QImage;
class QLabel;
class QMenu;
class QTimer;
class QUrl;

namespace corvelt {

class Application;
class ProbePanel;
class ToolDialog;
class ViewWidget;

// The one top-level window: the caption, the menu bar built from the application's
// menu table, the view as its client area, a status bar, and a tool window for
// every dialog open in the application. Menu choices and dialog presses go to the
// application; check marks, open dialogs and what they show are read back from it
// after every command, never kept here.
//
// Around the application's menu the window adds what a desktop program is expected
// to have, all of it the window's own: recent files, saving and copying the
// picture, exporting the selection, Exit and About in the File, Edit and Help
// menus. Its actions carry the
// property desktopItemProperty; the application's carry their command id as data.
// The application's own items beyond its menu table (AddedMenuItems.h: Turn Mode,
// the view's keys, Undo and Redo) end their popups, marked as the window's.
// Window geometry, the last folder and the recent files are kept in the user's
// settings (QSettings with the application's organisation and name).
class MainWindow : public QMainWindow {
  public:
    static constexpr const char* caption = "Corvelt, designed by the Corvelt developers r2020_1_15";
    static constexpr const char* desktopItemProperty = "corveltDesktopItem";

    // The application must outlive the window.
    explicit MainWindow(Application& app);
    ~MainWindow() override;

    // Reads the file (showing progress when it takes long) and makes it the model.
    // A refused file is reported in a message box, owned by the window once it is
    // shown; a refused or cancelled load leaves model, view and selection as they
    // were. Returns whether the file was adopted.
    bool openResultFile(const std::filesystem::path& path);

    // The picture as the view shows it.
    QImage picture() const;
    // Writes the picture as a PNG file, replacing the file only once it is complete.
    // A failure is reported in a message box; returns whether the file was written.
    bool savePicture(const QString& fileName);
    void copyPicture() const;
    // Writes the selected elements in the format, showing progress when it takes
    // long. A failure is reported in a message box; a cancel leaves the file as it
    // was. Returns whether the file was written.
    bool exportSelection(ExportFormat format, const std::filesystem::path& path);

    QMenu* recentFilesMenu() const { return recentMenu_; }
    ProbePanel& probePanel() const { return *probePanel_; }
    // The status bar's field of that name ("mode", "model", "selection", "picks",
    // "probe", "message", "load"); its object name is the name followed by "Status".
    QLabel* statusField(const QString& name) const;
    // Says in the status bar what an operation did, for a while.
    void showStatusMessage(const std::string& text);

    ViewWidget& view() const { return *view_; }
    // The menu item of a command, or null when the menu has none.
    QAction* commandAction(int commandId) const;
    // The window of an open dialog, or null.
    ToolDialog* dialogWindow(DialogId id) const;

    // Shows a written stress listing; returns false when nothing could be started.
    // Opens the file with the desktop's handler unless replaced (tests open nothing).
    using ReportOpener = std::function<bool(const QUrl&)>;
    void setReportOpener(ReportOpener opener) { openReport_ = std::move(opener); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenuBar();
    void addDesktopItems(const std::map<std::string_view, QMenu*>& menus);
    QAction* addDesktopAction(QMenu* menu, const QString& text, std::function<void()> run);
    void addApplicationItems(const std::map<std::string_view, QMenu*>& menus);
    void refreshHistoryItems();
    void buildStatusBar();
    void restoreSettings();
    void refreshRecentFiles();
    void openRecentFile(const QString& fileName);
    void choosePictureFile();
    void chooseExportFile(ExportFormat format);
    void showAbout();
    void refreshTitle();
    void refreshStatus(bool countsToo);
    void afterViewInput(bool pictureChanged, bool cursorMoved);
    void refreshProbe();
    void runCommand(int commandId);
    void chooseAndOpenFile();
    void refreshMenuMarks();
    void showWarning(const QString& message);
    // After anything that may change the state: marks, picture and dialogs.
    void showApplicationState();
    void syncDialogWindows();
    void pressDialogControl(ToolDialog& dialog, int control);
    // Beside the main window on its screen where there is room, else over the
    // picture below the menu bar; always inside the screen's available area.
    void placeDialog(ToolDialog& dialog, int cascade);
    std::optional<std::filesystem::path> askForFile(QWidget* dialog, const FileRequest& request);
    void showReport(QWidget* dialog, const std::filesystem::path& report);

    Application& app_;
    ViewWidget* view_;                               // owned by the window as its central widget
    std::vector<QAction*> commandActions_;           // owned by their menus; data() is the id
    std::map<DialogId, ToolDialog*> dialogWindows_;  // owned by the window
    ReportOpener openReport_;
    RecentFiles recentFiles_;
    LegendOptions savedLegend_;  // as the settings hold it
    QMenu* recentMenu_ = nullptr;  // owned by the File menu
    QAction* savePictureAction_ = nullptr;
    QAction* copyPictureAction_ = nullptr;
    QMenu* exportMenu_ = nullptr;  // owned by the File menu
    std::map<QString, QLabel*> statusFields_;  // owned by the status bar
    ProbePanel* probePanel_ = nullptr;         // owned by the window
    // After a turn the probe's element grid is built once the view has been still for
    // a moment, not at every step of a turn.
    QTimer* probeIdle_ = nullptr;     // owned by the window
    QTimer* messageShown_ = nullptr;  // owned by the window; clears the message field
    bool loading_ = false;
};

}  // namespace corvelt
