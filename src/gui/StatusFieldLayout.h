#pragma once

#include <QLayout>
#include <memory>
#include <vector>

#include "app/StatusFieldWidths.h"

namespace corvelt {

class ElidedLabel;

// The fields of the status bar in one row: those of the left from the left, those
// of the right against the right end. When the row is too narrow for every whole
// text, fields give way in their order (statusFieldWidths) and show an ellipsis;
// every field's tooltip holds its whole text. An empty field takes no room.
class StatusFieldLayout : public QLayout {
  public:
    StatusFieldLayout() = default;
    ~StatusFieldLayout() override;

    // The layout's widget must own the label.
    void addField(ElidedLabel* label, const StatusFieldRule& rule);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

  private:
    struct Field {
        std::unique_ptr<QLayoutItem> item;
        ElidedLabel* label = nullptr;  // owned by the layout's widget
        StatusFieldRule rule;
    };
    std::vector<StatusFieldNeed> needs() const;
    int spacingBetween() const;

    std::vector<Field> fields_;
};

}  // namespace corvelt
