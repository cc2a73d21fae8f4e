#pragma once

#include <QDockWidget>

class QLabel;
class QTableWidget;

namespace corvelt {

struct ProbeReading;

// The dockable panel of the probe: at the corner nearest to the cursor, the seven
// components, the principal stresses and the stress intensity on both surfaces, the
// membrane and the bending face. It keeps the last corner found, so that the cursor can
// leave the model for the panel.
class ProbePanel : public QDockWidget {
  public:
    explicit ProbePanel(QWidget* parent = nullptr);
    void showReading(const ProbeReading& reading);

    QTableWidget& table() const { return *table_; }
    QLabel& heading() const { return *heading_; }

  private:
    QLabel* heading_;      // owned by the panel
    QTableWidget* table_;  // owned by the panel
};

}  // namespace corvelt
