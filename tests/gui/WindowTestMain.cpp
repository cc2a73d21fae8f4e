#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
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
// Its settings go to a directory of this run, never to the user's.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(dropPlatformNoise);
    const QApplication application(argc, argv);
    const QTemporaryDir settingsDir;
    if (!settingsDir.isValid()) return 1;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QApplication::setOrganizationName(QStringLiteral("CorveltTests"));
    QApplication::setApplicationName(QStringLiteral("window_tests"));
    return RUN_ALL_TESTS();
}
