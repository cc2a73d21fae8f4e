#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>

namespace {

// The offscreen platform warns whenever a fixed-size dialog tells it its size;
// that says nothing about the program.
QtMessageHandler defaultHandler = nullptr;

void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support propagateSizeHints"))) return;
    defaultHandler(type, context, text);
}

}  // namespace

// The window needs a widget application; the offscreen platform needs no display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(dropPlatformNoise);
    const QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
