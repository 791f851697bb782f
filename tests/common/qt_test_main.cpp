// Entry point of the Qt-based test programs: an application object must exist
// before any font (or, for the window tests, any widget) is touched. Without a display (CI, test discovery at
// build time) the offscreen platform is used.
#ifdef GRAPHOTHEQUE_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        QByteArray dir = QDir::tempPath().toUtf8() + "/graphotheque-runtime";
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv("XDG_RUNTIME_DIR", dir.constData(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    // The user's own settings (a text size chosen at the screen) must neither
    // change what the tests see nor be changed by them.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return RUN_ALL_TESTS();
}
