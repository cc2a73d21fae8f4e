#include "gui/StatusFieldLayout.h"

#include <QStyle>
#include <QWidget>
#include <QWidgetItem>
#include <algorithm>

#include "gui/ElidedLabel.h"

namespace corvelt {

StatusFieldLayout::~StatusFieldLayout() = default;

void StatusFieldLayout::addField(ElidedLabel* label, const StatusFieldRule& rule) {
    addChildWidget(label);
    fields_.push_back({std::make_unique<QWidgetItem>(label), label, rule});
    invalidate();
}

// Only fields belong here; anything else given is taken and dropped.
void StatusFieldLayout::addItem(QLayoutItem* item) {
    const std::unique_ptr<QLayoutItem> dropped(item);
}

QLayoutItem* StatusFieldLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? fields_[static_cast<std::size_t>(index)].item.get()
                                         : nullptr;
}

QLayoutItem* StatusFieldLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    const auto place = fields_.begin() + index;
    QLayoutItem* taken = place->item.release();
    fields_.erase(place);
    return taken;
}

int StatusFieldLayout::count() const {
    return static_cast<int>(fields_.size());
}

int StatusFieldLayout::spacingBetween() const {
    const int own = spacing();
    if (own >= 0) return own;
    const QWidget* owner = parentWidget();
    return owner == nullptr
               ? 0
               : std::max(owner->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing), 0);
}

std::vector<StatusFieldNeed> StatusFieldLayout::needs() const {
    std::vector<StatusFieldNeed> list;
    for (const Field& field : fields_) {
        if (field.label->text().isEmpty() || field.label->isHidden()) {
            list.push_back({0, 0, field.rule.giveWay});
            continue;
        }
        list.push_back({field.item->sizeHint().width(), field.item->minimumSize().width(),
                        field.rule.giveWay});
    }
    return list;
}

QSize StatusFieldLayout::sizeHint() const {
    int width = 0;
    int height = 0;
    int shown = 0;
    for (const StatusFieldNeed& need : needs()) {
        width += need.full;
        shown += need.full > 0 ? 1 : 0;
    }
    for (const Field& field : fields_)
        height = std::max(height, field.item->sizeHint().height());
    const QMargins margins = contentsMargins();
    return {width + spacingBetween() * std::max(shown - 1, 0) + margins.left() + margins.right(),
            height + margins.top() + margins.bottom()};
}

QSize StatusFieldLayout::minimumSize() const {
    int width = 0;
    for (const StatusFieldNeed& need : needs())
        width += need.least;
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), sizeHint().height()};
}

void StatusFieldLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect inside = contentsRect();
    const std::vector<StatusFieldNeed> list = needs();
    const int gap = spacingBetween();
    const int shown = static_cast<int>(std::count_if(
        list.begin(), list.end(), [](const StatusFieldNeed& need) { return need.full > 0; }));
    const std::vector<int> widths =
        statusFieldWidths(list, inside.width() - gap * std::max(shown - 1, 0));

    int rightWidth = 0;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].rule.atRight && widths[i] > 0) rightWidth += widths[i] + gap;
    int left = inside.left();
    int right = inside.right() + 1 - std::max(rightWidth - gap, 0);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        Field& field = fields_[i];
        // The whole text, also when the field shows less of it.
        field.label->setToolTip(field.label->text());
        int& x = field.rule.atRight ? right : left;
        field.item->setGeometry({x, inside.top(), widths[i], inside.height()});
        if (widths[i] > 0) x += widths[i] + gap;
    }
}

}  // namespace corvelt
