#pragma once

#include <QMainWindow>
#include <filesystem>
#include <vector>

class QAction;
class QCloseEvent;

namespace corvelt {

class Application;
class ViewWidget;

// The one top-level window: the caption, the menu bar built from the application's
// menu table, and the view as its client area. Menu choices go to the application;
// the check marks are read back from it after every command, never kept here.
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

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenuBar();
    void runCommand(int commandId);
    void chooseAndOpenFile();
    void refreshMenuMarks();
    void showWarning(const QString& message);

    Application& app_;
    ViewWidget* view_;                      // owned by the window as its central widget
    std::vector<QAction*> commandActions_;  // owned by their menus; data() is the id
    bool loading_ = false;
};

}  // namespace corvelt
