// The main window as a whole: its start-up state, menus and display commands.
#include "control/display_settings.h"
#include "control/main_layout.h"
#include "control/scripted_questions.h"
#include "engine/parse.h"
#include "windows/main_window.h"
#include "windows/recording_windows.h"
#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
const QString kDefaultRange = QStringLiteral("x座標:  -5.000 ≦ｘ≦ 5.000        y座標:  -5.000≦ y ≦5.000");

bool visible(const MainWindow &g, const char *name)
{
    QAction *a = g.menuAction(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a && a->isVisible();
}

// Some pixel within two of (x, y) has the colour.
bool colourNear(const Canvas &c, int x, int y, uint32_t colour)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (c.pixel(x + dx, y + dy) == colour)
                return true;
    return false;
}

// The questions outlive the window that asks them.
class MainWindowTest : public ::testing::Test
{
  protected:
    MainWindowTest()
    {
        g.setQuestions(&ask);
        g.setSecondaryWindows(&windows);
    }
    // A fresh list of one explicit function, after confirming any old one.
    void registerItem(const char *formula, uint32_t colour)
    {
        ask.confirmAnswers = {true};
        ask.keyboardAnswers = {formula};
        ask.colourAnswers = {colour};
        g.registerNew(KindExplicit);
    }
    ScriptedQuestions ask;
    RecordingWindows windows;
    MainWindow g;
};
} // namespace

TEST_F(MainWindowTest, StartsWithTheDefaultsAndOnlyTheAlwaysVisibleMenus)
{
    // With no place stored from an earlier run, the window fills the
    // screen's free area; the graph's side is rnd(height * 10 / 12) of it,
    // unless that would leave the item list narrower than its minimum (the
    // test platform's screen is square).
    storeMainWindowPlace(QRect(), false);
    MainWindow fresh;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(fresh.geometry(), screen);
    EXPECT_EQ(fresh.graphSize(), std::min(static_cast<int>(std::nearbyint(screen.height() * 10.0 / 12.0)),
                                          screen.width() - kMinListWidth - kGraphRightMargin));
    EXPECT_EQ(fresh.renderer().graphImage().width(), fresh.graphSize());

    for (const char *name : {"File1", "kabsuu1", "new", "zahyou", "intchange", "definit", "deff", "deffuncN",
                             "DefC", "DefconstN", "Erase", "N2", "K1", "mnuExit"})
        EXPECT_TRUE(visible(g, name)) << name;
    for (const char *name : {"addition", "defa", "teisei", "gshow", "dif", "condetion", "T1", "deffuncA",
                             "UFcorrect", "DefconstA", "UCcorrect"})
        EXPECT_FALSE(visible(g, name)) << name;
    EXPECT_FALSE(g.menuAction(QStringLiteral("T1"))->isEnabled());

    EXPECT_EQ(g.rangeLineText(), kDefaultRange);
    EXPECT_TRUE(g.paramLineText().isEmpty());

    // The empty frame is on screen: the y axis crosses the middle.
    const GraphView &view = g.renderer().view();
    EXPECT_TRUE(colourNear(g.visibleGraph(), view.xToPixel(0), g.graphSize() / 4, rgbColour(128, 128, 255)));
}

TEST_F(MainWindowTest, ARegistrationIsDrawnAtOnceAndOverlayDisplayKeepsWhatWasDrawn)
{
    registerItem("1", 255);
    for (const char *name : {"addition", "gshow", "dif", "defa"})
        EXPECT_TRUE(visible(g, name)) << name;
    EXPECT_FALSE(g.menuAction(QStringLiteral("KP2"))->isEnabled());
    const GraphView &view = g.renderer().view();
    const int px = view.xToPixel(2), py1 = view.yToPixel(1), py3 = view.yToPixel(3);
    EXPECT_TRUE(colourNear(g.visibleGraph(), px, py1, 255)) << "the picture shows the document";
    EXPECT_EQ(g.doc().overlayMode, 0);

    g.showOverlaid();
    EXPECT_EQ(g.doc().overlayMode, 1);
    g.doc().items[1].text[1] = "3";
    g.showOverlaid();
    EXPECT_TRUE(colourNear(g.visibleGraph(), px, py1, 255)) << "the old line stays";
    EXPECT_TRUE(colourNear(g.visibleGraph(), px, py3, 255));

    g.showStandard();
    EXPECT_EQ(g.doc().overlayMode, 0);
    EXPECT_FALSE(colourNear(g.visibleGraph(), px, py1, 255));
    EXPECT_TRUE(colourNear(g.visibleGraph(), px, py3, 255));
}

TEST_F(MainWindowTest, ParameterDisplayFollowsParameterUse)
{
    int openings = 0;
    windows.onParameterWindow = [&](bool afterLoad) {
        EXPECT_FALSE(afterLoad);
        ++openings;
    };
    registerItem("a*x", 255);
    EXPECT_TRUE(g.menuAction(QStringLiteral("KP2"))->isEnabled());
    EXPECT_EQ(g.paramLineText(), QStringLiteral("a = 0.000 "));
    g.showParameters();
    EXPECT_EQ(openings, 1);
}

TEST_F(MainWindowTest, IntervalCommandsAskBoundsOnceAndHandTheRedrawToTheOverlay)
{
    int shown = 0, overlays = 0;
    windows.onIntervalDialog = [&] {
        ++shown;
        g.interval().active = true;
    };
    windows.onIntervalOverlay = [&](const Canvas &image) {
        EXPECT_EQ(image.width(), g.graphSize());
        ++overlays;
    };
    ask.keyboardAnswers = {"", "2"}; // an empty bound reads as 0
    g.setInterval();
    EXPECT_EQ(g.interval().lower, 0.0L);
    EXPECT_EQ(g.interval().upper, 2.0L);
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(ask.keyboardRequests.size(), 2u);
    EXPECT_EQ(ask.keyboardRequests[0].caption, QStringLiteral("区間の下限"));
    EXPECT_EQ(ask.keyboardRequests[1].caption, QStringLiteral("区間の上限"));
    EXPECT_EQ(ask.keyboardRequests[1].layout, 2) << "plain numbers";
    g.showStandard();
    EXPECT_EQ(overlays, 1);

    g.interval().showMaxMin = true;
    g.clearInterval();
    EXPECT_FALSE(g.interval().active);
    EXPECT_FALSE(g.interval().showMaxMin);
    overlays = 0;
    g.showStandard();
    EXPECT_EQ(overlays, 0) << "a released interval draws no overlay";
}

TEST_F(MainWindowTest, OtherWindowsOpenThroughTheirLinksAndNothingHarmfulHappensWithout)
{
    g.setQuestions(nullptr);
    g.setSecondaryWindows(nullptr);
    const auto commands = [this] {
        g.changeRange();
        g.showMeanRate();
        g.showTangent();
        g.showRiemannSums();
        g.correctItems();
    };
    commands();
    g.showParameters();
    g.showVersion();
    g.setInterval(); // no questions: both bounds read as 0
    g.clearInterval();
    g.registerNew(KindExplicit);
    g.registerAdditional(KindDerivative);
    EXPECT_EQ(g.doc().itemCount, 0);
    EXPECT_EQ(g.interval().lower, 0.0L);

    g.setSecondaryWindows(&windows);
    g.doc().overlayMode = 1;
    commands();
    EXPECT_EQ(g.doc().overlayMode, 0) << "a new range starts a fresh picture";
    EXPECT_EQ(windows.opened,
              (std::vector<std::string>{"range", "meanrate", "tangent", "integ", "correct1"}));
}

} // namespace gq
