#pragma once

#include <QLabel>

namespace corvelt {

// A one-line label that, when given less room than its text needs, shows the
// start of the text and an ellipsis instead of cutting it off; text() stays whole.
// It can be as narrow as the ellipsis.
class ElidedLabel : public QLabel {
  public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;
    bool isElided() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString shownText() const;
};

}  // namespace corvelt
