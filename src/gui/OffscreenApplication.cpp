#include "gui/OffscreenApplication.h"

#include <QGuiApplication>
#include <QtGlobal>

namespace corvelt {

OffscreenApplication::OffscreenApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
}

OffscreenApplication::~OffscreenApplication() = default;

}  // namespace corvelt
