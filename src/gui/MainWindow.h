#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "app/DialogState.h"

class QAction;
class QCloseEvent;
class QUrl;

namespace corvelt {

class Application;
class ToolDialog;
class ViewWidget;

// The one top-level window: the caption, the menu bar built from the application's
// menu table, the view as its client area, and a tool window for every dialog
// open in the application. Menu choices and dialog presses go to the application;
// check marks, open dialogs and what they show are read back from it after every
// command, never kept here.
class MainWindow : public QMainWindow {
  public:
    static constexpr const char* caption = "Corvelt, designed by the Corvelt developers r2020_1_15";

    // The application must outlive the window.
    explicit MainWindow(Application& app);
    ~MainWindow() override;

    // Reads the file (showing progress when it takes long) and makes it the model.
    // A refused file is reported in a message box, owned by the window once it is
    // shown; a refused or cancelled load leaves model, view and selection as they
    // were. Returns whether the file was adopted.
    bool openResultFile(const std::filesystem::path& path);

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

  private:
    void buildMenuBar();
    void runCommand(int commandId);
    void chooseAndOpenFile();
    void refreshMenuMarks();
    void showWarning(const QString& message);
    // After anything that may change the state: marks, picture and dialogs.
    void showApplicationState();
    void syncDialogWindows();
    void pressDialogControl(ToolDialog& dialog, int control);
    std::optional<std::filesystem::path> askForFile(QWidget* dialog, const FileRequest& request);
    void showReport(QWidget* dialog, const std::filesystem::path& report);

    Application& app_;
    ViewWidget* view_;                               // owned by the window as its central widget
    std::vector<QAction*> commandActions_;           // owned by their menus; data() is the id
    std::map<DialogId, ToolDialog*> dialogWindows_;  // owned by the window
    ReportOpener openReport_;
    bool loading_ = false;
};

}  // namespace corvelt
