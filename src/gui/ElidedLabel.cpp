#include "gui/ElidedLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace corvelt {

namespace {

const QString ellipsis = QStringLiteral("\u2026");

}  // namespace

QSize ElidedLabel::minimumSizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(ellipsis) + margins.left() + margins.right(),
            QLabel::minimumSizeHint().height()};
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool ElidedLabel::isElided() const {
    return shownText() != text();
}

void ElidedLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

}  // namespace corvelt
