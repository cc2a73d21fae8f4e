#pragma once

#include <QDialog>
#include <functional>
#include <utility>
#include <vector>

#include "app/DialogState.h"

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class QVBoxLayout;

namespace corvelt {

class Application;
struct DialogControl;

// One open dialog of the application, built from its template as a modeless tool
// window over the main window. Every press goes to `press` with the control's id
// (cancelControl for Esc and the close box); what the controls show is read back
// from the application (showState), never kept here. Each control's object name is
// its id, and its tooltip says what it does.
//
// The groups of the template stand in one column, or in more where one would not
// fit the room given (fitWithin); where no number of columns fits, the window
// scrolls, and moving the keyboard focus scrolls the control it reaches into view.
class ToolDialog : public QDialog {
  public:
    using PressHandler = std::function<void(ToolDialog&, int)>;

    // The application must outlive the dialog; the dialog must be open in it.
    ToolDialog(Application& app, DialogId id, PressHandler press, QWidget* owner);

    DialogId dialogId() const { return id_; }
    DialogKind kind() const { return kind_; }
    // Checks and texts as the application's dialog state has them.
    void showState();

    // Lays the groups out for a window of at most `limit` (without its frame) and
    // takes the size they need, at most the limit. Returns whether everything is
    // visible without scrolling.
    bool fitWithin(QSize limit);
    // The number of columns the groups stand in.
    int columnCount() const;
    // The area that scrolls when the groups do not fit.
    QScrollArea& scrollArea() const { return *scroll_; }

  protected:
    // Esc and the close box: the application decides whether and what closes.
    void reject() override;

  private:
    QWidget* makeControl(const DialogControl& control);
    void addMessageLine(QVBoxLayout& column);

    Application& app_;
    DialogId id_;
    DialogKind kind_;
    PressHandler press_;
    QScrollArea* scroll_ = nullptr;   // owned by the dialog
    QWidget* content_ = nullptr;      // owned by the scroll area
    QHBoxLayout* columns_ = nullptr;  // owned by content_
    std::vector<QWidget*> groups_;    // owned by content_, in the template's order
    std::vector<std::pair<int, QAbstractButton*>> checkables_;  // owned by the dialog
    std::vector<std::pair<int, QLineEdit*>> edits_;             // owned by the dialog
    QLabel* message_ = nullptr;                                 // owned by the dialog
};

}  // namespace corvelt
