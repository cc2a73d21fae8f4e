#pragma once

#include <QDockWidget>

class QLabel;
class QTableWidget;

namespace corvelt {

struct ProbeReading;

// The dockable panel of the probe: all seven components at the corner nearest to the
// cursor, on both surfaces. It keeps the last corner found, so that the cursor can
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
