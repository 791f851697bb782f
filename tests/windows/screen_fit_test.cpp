// Every window fits every screen: the program's windows at each text size on
// screens of 1024 x 768, 1366 x 768 and 1920 x 1080 at scale factors 1, 1.5
// and 2. The scale factor is fixed when a program starts, so each screen is
// a run of its own of fit_probe/screen_fit_probe.cpp on the offscreen
// platform, configured for that screen, with settings of its own.
#include <QDir>
#include <algorithm>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
struct Screen {
    int width, height;
    const char *scale;
};

std::ostream &operator<<(std::ostream &out, const Screen &s)
{
    return out << s.width << "x" << s.height << " at " << s.scale;
}

class ScreenFit : public ::testing::TestWithParam<Screen>
{
};
} // namespace

TEST_P(ScreenFit, EveryWindowFitsAtEveryTextSize)
{
    const Screen screen = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral(R"({"screens": [{"name": "projector", "x": 0, "y": 0, "width": %1, "height": %2,
                                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(screen.width)
                     .arg(screen.height)
                     .toUtf8());
    config.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config.fileName());
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(screen.scale));
    env.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
    env.remove(QStringLiteral("QT_AUTO_SCREEN_SCALE_FACTOR"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(SCREEN_FIT_PROBE), {QStringLiteral("--gtest_brief=1")});
    ASSERT_TRUE(probe.waitForFinished(100000)) << "the probe did not end";
    const QString output = QString::fromUtf8(probe.readAll());
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(probe.exitCode(), 0) << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenFit,
                         ::testing::Values(Screen{1024, 768, "1"}, Screen{1024, 768, "1.5"}, Screen{1024, 768, "2"},
                                           Screen{1366, 768, "1"}, Screen{1366, 768, "1.5"}, Screen{1366, 768, "2"},
                                           Screen{1920, 1080, "1"}, Screen{1920, 1080, "1.5"},
                                           Screen{1920, 1080, "2"}),
                         [](const testing::TestParamInfo<Screen> &info) {
                             std::string scale = info.param.scale;
                             std::replace(scale.begin(), scale.end(), '.', '_');
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) +
                                    "_scale" + scale;
                         });

} // namespace gq
