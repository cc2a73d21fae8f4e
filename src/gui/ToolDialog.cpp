#include "gui/ToolDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/DialogColumns.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"
#include "app/DialogTooltips.h"

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

// Room enough for any tool window: the template's one column.
constexpr int unlimited = QWIDGETSIZE_MAX;

}  // namespace

ToolDialog::ToolDialog(Application& app, DialogId id, PressHandler press, QWidget* owner)
    : QDialog(owner), app_(app), id_(id), kind_(app_.dialog(id_)->kind), press_(std::move(press)) {
    // A caption with a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    const DialogTemplate& layout = dialogTemplate(kind_);
    setWindowTitle(fromUtf8(layout.caption));
    auto* frame = ownedChild<QVBoxLayout>(this);
    frame->setContentsMargins(0, 0, 0, 0);
    scroll_ = ownedChild<QScrollArea>(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    // Tab goes from control to control (and scrolls to each), not to the area itself.
    scroll_->setFocusPolicy(Qt::NoFocus);
    frame->addWidget(scroll_);
    content_ = ownedChild<QWidget>(scroll_);
    columns_ = ownedChild<QHBoxLayout>(content_);
    columns_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const ControlGroup& group : layout.groups) {
        QWidget* box = nullptr;
        if (group.title.empty()) {
            box = ownedChild<QWidget>(content_);
        } else {
            box = ownedChild<QGroupBox>(fromUtf8(group.title), content_);
        }
        auto* grid = ownedChild<QGridLayout>(box);
        if (group.title.empty()) grid->setContentsMargins(0, 0, 0, 0);
        for (const DialogControl& control : group.controls)
            grid->addWidget(makeControl(control), control.row, control.column, 1,
                            control.columnSpan);
        groups_.push_back(box);
    }
    scroll_->setWidget(content_);
    // What was wrong with a field the user applied, in the dialogs that can say so,
    // under the controls whether they scroll or not.
    if (kind_ == DialogKind::legend) addMessageLine(*frame);
    fitWithin({unlimited, unlimited});
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
            widget = ownedChild<QLabel>(text, this);
            widget->setToolTip(fromUtf8(controlTooltip(kind_, control)));
            return widget;
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
    widget->setToolTip(fromUtf8(controlTooltip(kind_, control)));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        connect(button, &QAbstractButton::clicked, this, [this, id] { press_(*this, id); });
    return widget;
}

bool ToolDialog::fitWithin(QSize limit) {
    const QMargins margins = columns_->contentsMargins();
    const int spacing = std::max(columns_->spacing(), 0);
    std::vector<BoxSize> sizes;
    for (const QWidget* group : groups_)
        sizes.push_back({group->sizeHint().width(), group->sizeHint().height()});
    const BoxSize room{limit.width() - margins.left() - margins.right(),
                       limit.height() - margins.top() - margins.bottom()};
    const DialogColumns layout = layOutColumns(sizes, spacing, room);

    // The groups stay children of the content; only the columns they stand in change.
    while (QLayoutItem* item = columns_->takeAt(0)) {
        const std::unique_ptr<QLayoutItem> column(item);
    }
    for (std::size_t c = 0; c < layout.firstGroups.size(); ++c) {
        auto* column = ownedChild<QVBoxLayout>();
        columns_->addLayout(column);
        const std::size_t end =
            c + 1 < layout.firstGroups.size() ? layout.firstGroups[c + 1] : groups_.size();
        for (std::size_t g = layout.firstGroups[c]; g < end; ++g)
            column->addWidget(groups_[g]);
        column->addStretch(1);
    }

    const QSize needed = content_->sizeHint();
    if (needed.width() <= limit.width() && needed.height() <= limit.height()) {
        setFixedSize(needed);
        return true;
    }
    // A scroll bar takes room across the way it scrolls.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
    QSize size = needed;
    if (size.height() > limit.height()) size.rwidth() += bar;
    if (size.width() > limit.width()) size.rheight() += bar;
    setFixedSize(size.boundedTo(limit));
    return false;
}

int ToolDialog::columnCount() const {
    return columns_->count();
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
        // A field that could not be taken says why where the user looks.
        edit->setToolTip(id == state->faultyField
                             ? QString::fromStdString(state->message)
                             : fromUtf8(controlTooltip(kind_, *findControl(kind_, id))));
    }
    if (message_ == nullptr) return;
    message_->setText(QString::fromStdString(state->message));
    message_->setVisible(!state->message.empty());
}

void ToolDialog::reject() {
    press_(*this, cancelControl);
}

}  // namespace corvelt
