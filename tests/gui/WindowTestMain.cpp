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

#ifdef CORVELT_TEST_SCREENS_DIR
// CORVELT_TEST_SCREEN=WxH@SCALE: the offscreen platform with the screens of
// WxH.json (device pixels) at that scale factor.
void useTestScreen() {
    const QString screen = qEnvironmentVariable("CORVELT_TEST_SCREEN");
    const qsizetype at = screen.indexOf(QLatin1Char('@'));
    if (at < 0) return;
    const QString config =
        QStringLiteral(CORVELT_TEST_SCREENS_DIR "/") + screen.left(at) + QStringLiteral(".json");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", screen.mid(at + 1).toLatin1());
}
#endif

}  // namespace

// The window needs a widget application; the offscreen platform needs no display.
// Its settings go to a directory of this run, never to the user's.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef CORVELT_TEST_SCREENS_DIR
    useTestScreen();
#endif
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
