#include "gui/ToolDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"

namespace corvelt {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A widget or layout whose parent owns it from its construction on.
template <typename Child, typename... Args>
Child* ownedChild(Args&&... args) {
    return std::make_unique<Child>(std::forward<Args>(args)...).release();
}

}  // namespace

ToolDialog::ToolDialog(Application& app, DialogId id, PressHandler press, QWidget* owner)
    : QDialog(owner), app_(app), id_(id), press_(std::move(press)) {
    // A caption with a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    const DialogTemplate& layout = dialogTemplate(app_.dialog(id_)->kind);
    setWindowTitle(fromUtf8(layout.caption));
    auto* column = ownedChild<QVBoxLayout>(this);
    // A tool window of fixed size, as its controls need it.
    column->setSizeConstraint(QLayout::SetFixedSize);
    for (const ControlGroup& group : layout.groups) {
        QGridLayout* grid = nullptr;
        if (group.title.empty()) {
            grid = ownedChild<QGridLayout>();
            column->addLayout(grid);
        } else {
            auto* box = ownedChild<QGroupBox>(fromUtf8(group.title), this);
            grid = ownedChild<QGridLayout>(box);
            column->addWidget(box);
        }
        for (const DialogControl& control : group.controls)
            grid->addWidget(makeControl(control), control.row, control.column, 1,
                            control.columnSpan);
    }
    // What was wrong with a field the user applied, in the dialogs that can say so.
    if (app_.dialog(id_)->kind == DialogKind::legend) addMessageLine(*column);
    showState();
}

void ToolDialog::addMessageLine(QVBoxLayout& column) {
    message_ = ownedChild<QLabel>(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->hide();
    column.addWidget(message_);
}

QWidget* ToolDialog::makeControl(const DialogControl& control) {
    const QString text = fromUtf8(control.text);
    const int id = control.id;
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::label:
            return ownedChild<QLabel>(text, this);
        case ControlKind::edit: {
            auto* edit = ownedChild<QLineEdit>(this);
            // Typing is only text; Apply reads it.
            connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& typed) {
                app_.setDialogText(id_, id, typed.toStdString());
            });
            edits_.emplace_back(id, edit);
            widget = edit;
            break;
        }
        case ControlKind::pushButton: {
            auto* button = ownedChild<QPushButton>(text, this);
            // No default button: Enter presses nothing.
            button->setAutoDefault(false);
            widget = button;
            break;
        }
        case ControlKind::radioButton: {
            auto* radio = ownedChild<QRadioButton>(text, this);
            // The application decides which radio is checked.
            radio->setAutoExclusive(false);
            checkables_.emplace_back(id, radio);
            widget = radio;
            break;
        }
        case ControlKind::checkBox: {
            auto* box = ownedChild<QCheckBox>(text, this);
            checkables_.emplace_back(id, box);
            widget = box;
            break;
        }
    }
    widget->setObjectName(QString::number(id));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        connect(button, &QAbstractButton::clicked, this, [this, id] { press_(*this, id); });
    return widget;
}

void ToolDialog::showState() {
    const DialogState* state = app_.dialog(id_);
    if (state == nullptr) return;
    for (const auto& [id, button] : checkables_)
        button->setChecked(state->isChecked(id));
    for (const auto& [id, edit] : edits_) {
        const QString text = QString::fromStdString(*state->text(id));
        // Setting the same text again would move the cursor of a user typing.
        if (edit->text() != text) edit->setText(text);
        edit->setStyleSheet(id == state->faultyField ? QStringLiteral("border: 2px solid #b00000")
                                                     : QString());
        edit->setToolTip(id == state->faultyField ? QString::fromStdString(state->message)
                                                  : QString());
    }
    if (message_ == nullptr) return;
    message_->setText(QString::fromStdString(state->message));
    message_->setVisible(!state->message.empty());
}

void ToolDialog::reject() {
    press_(*this, cancelControl);
}

}  // namespace corvelt
