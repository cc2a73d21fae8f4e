#include "gui/ProbePanel.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <memory>
#include <string_view>

#include "app/Probe.h"
#include "base/NumberFormat.h"
#include "model/StressQuantity.h"

namespace corvelt {

namespace {

constexpr std::array<const char*, probedFaceCount> columnTitles{"Surface 1", "Surface 2",
                                                                "Membrane", "Bending"};

// The column of the face the contour shows, if the panel has one for it.
int shownColumn(const ProbeReading& reading) {
    switch (reading.face) {
        case ShellFace::facing:
            return reading.surface;
        case ShellFace::surface1:
            return 0;
        case ShellFace::surface2:
            return 1;
        case ShellFace::membrane:
            return 2;
        case ShellFace::bending:
            return 3;
        case ShellFace::envelope:
            break;
    }
    return -1;
}

void setBold(QTableWidgetItem* item, bool bold) {
    QFont font = item->font();
    font.setBold(bold);
    item->setFont(font);
}

}  // namespace

ProbePanel::ProbePanel(QWidget* parent) : QDockWidget(QStringLiteral("Probe"), parent) {
    setObjectName(QStringLiteral("probePanel"));
    auto contents = std::make_unique<QWidget>();
    auto layout = std::make_unique<QVBoxLayout>();
    auto heading = std::make_unique<QLabel>(QStringLiteral("Move the cursor over the model."));
    heading->setWordWrap(true);
    auto table = std::make_unique<QTableWidget>(stressQuantityCount, probedFaceCount);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int q = 0; q < stressQuantityCount; ++q) {
        const std::string_view name = stressQuantityNames[static_cast<std::size_t>(q)];
        auto item = std::make_unique<QTableWidgetItem>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        table->setVerticalHeaderItem(q, item.release());  // owned by the table
    }
    for (int face = 0; face < probedFaceCount; ++face)
        table->setHorizontalHeaderItem(
            face, std::make_unique<QTableWidgetItem>(QString::fromLatin1(columnTitles[face]))
                      .release());
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
    // The face and the quantity whose value the status bar shows, in bold.
    const int column = shownColumn(reading);
    for (int face = 0; face < probedFaceCount; ++face)
        setBold(table_->horizontalHeaderItem(face), face == column);
    for (int q = 0; q < stressQuantityCount; ++q)
        setBold(table_->verticalHeaderItem(q), q == reading.component);
    for (int face = 0; face < probedFaceCount; ++face)
        for (int q = 0; q < stressQuantityCount; ++q) {
            const QString text = QString::fromStdString(
                formatGeneral(reading.cornerQuantities[static_cast<std::size_t>(face)]
                                                      [static_cast<std::size_t>(q)]));
            if (QTableWidgetItem* item = table_->item(q, face))
                item->setText(text);
            else
                table_->setItem(q, face, std::make_unique<QTableWidgetItem>(text).release());
        }
}

}  // namespace corvelt
