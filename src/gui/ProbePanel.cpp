#include "gui/ProbePanel.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>
#include <string_view>

#include "app/Probe.h"
#include "app/StatusText.h"
#include "base/NumberFormat.h"
#include "model/StressComponent.h"

namespace corvelt {

namespace {

QString columnTitle(int surface) {
    QString title = QString::fromStdString(surfaceName(surface));
    title[0] = title[0].toUpper();
    return title;
}

}  // namespace

ProbePanel::ProbePanel(QWidget* parent) : QDockWidget(QStringLiteral("Probe"), parent) {
    setObjectName(QStringLiteral("probePanel"));
    auto contents = std::make_unique<QWidget>();
    auto layout = std::make_unique<QVBoxLayout>();
    auto heading = std::make_unique<QLabel>(QStringLiteral("Move the cursor over the model."));
    heading->setWordWrap(true);
    auto table = std::make_unique<QTableWidget>(stressComponentCount, 2);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < stressComponentCount; ++c) {
        const std::string_view name = stressComponentNames[static_cast<std::size_t>(c)];
        auto item = std::make_unique<QTableWidgetItem>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        table->setVerticalHeaderItem(c, item.release());  // owned by the table
    }
    table->setHorizontalHeaderLabels({columnTitle(0), columnTitle(1)});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    heading_ = heading.get();
    table_ = table.get();
    layout->addWidget(heading.release());
    layout->addWidget(table.release());
    layout->addStretch();
    contents->setLayout(layout.release());
    setWidget(contents.release());
}

void ProbePanel::showReading(const ProbeReading& reading) {
    heading_->setText(QStringLiteral("Node %1: corner %2 of element %3")
                          .arg(reading.node)
                          .arg(reading.corner)
                          .arg(reading.element));
    // The surface that faces the viewer, whose value the status bar shows, in bold.
    for (int surface = 0; surface < 2; ++surface) {
        QFont font = table_->horizontalHeader()->font();
        font.setBold(surface == reading.surface);
        table_->horizontalHeaderItem(surface)->setFont(font);
    }
    for (int surface = 0; surface < 2; ++surface)
        for (int c = 0; c < stressComponentCount; ++c) {
            const QString text = QString::fromStdString(
                formatGeneral(reading.cornerStresses[static_cast<std::size_t>(surface)]
                                                    [static_cast<std::size_t>(c)]));
            if (QTableWidgetItem* item = table_->item(c, surface))
                item->setText(text);
            else
                table_->setItem(c, surface, std::make_unique<QTableWidgetItem>(text).release());
        }
}

}  // namespace corvelt
