#pragma once

#include <QDialog>
#include <functional>
#include <utility>
#include <vector>

#include "app/DialogState.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace corvelt {

class Application;
struct DialogControl;

// One open dialog of the application, built from its template as a modeless tool
// window over the main window. Every press goes to `press` with the control's id
// (cancelControl for Esc and the close box); what the controls show is read back
// from the application (showState), never kept here. Each control's object name is
// its id.
class ToolDialog : public QDialog {
  public:
    using PressHandler = std::function<void(ToolDialog&, int)>;

    // The application must outlive the dialog; the dialog must be open in it.
    ToolDialog(Application& app, DialogId id, PressHandler press, QWidget* owner);

    DialogId dialogId() const { return id_; }
    // Checks and texts as the application's dialog state has them.
    void showState();

  protected:
    // Esc and the close box: the application decides whether and what closes.
    void reject() override;

  private:
    QWidget* makeControl(const DialogControl& control);
    void addMessageLine(QVBoxLayout& column);

    Application& app_;
    DialogId id_;
    PressHandler press_;
    std::vector<std::pair<int, QAbstractButton*>> checkables_;  // owned by the dialog
    std::vector<std::pair<int, QLineEdit*>> edits_;             // owned by the dialog
    QLabel* message_ = nullptr;                                 // owned by the dialog
};

}  // namespace corvelt
