// The parameter window as the user meets it: its rows, the press-and-hold
// draw key, the options and closing. The steps' arithmetic and drawing are
// the parameter session's and steps' tests.
#include "windows/main_window.h"
#include "windows/parameter_window.h"
#include "windows/program_windows.h"
#include "windows/timer_tick.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
const std::string kTheta = "\x83\xC6"; // θ in Shift-JIS

class ParameterWindowTest : public ::testing::Test
{
  protected:
    ParameterWindowTest() : windows(graph)
    {
        window = graph.findChild<ParameterWindow *>(QStringLiteral("ParaChange"));
    }
    void addItem(uint8_t kind, const std::string &t1, const std::string &t2 = "")
    {
        Item &item = graph.doc().items[++graph.doc().itemCount];
        item.kind = kind;
        item.text = {"", t1, t2, "", ""};
        item.colour = rgbColour(255, 0, 0);
        graph.redrawItemList();
    }
    template <class T> T *control(const QString &name) const { return window->findChild<T *>(name); }
    QPushButton *button(const QString &name) const { return control<QPushButton>(name); }
    QString label(const QString &name) const { return control<QLabel>(name)->text(); }

    MainWindow graph;
    ProgramWindows windows;
    ParameterWindow *window = nullptr;
};
} // namespace

TEST_F(ParameterWindowTest, RowsOfTheUsedParametersOnlyStackedWithoutGaps)
{
    ASSERT_NE(window, nullptr);
    addItem(KindExplicit, "a*x+" + kTheta);
    addItem(KindPoint, "j", "1");
    window->prepare(false);

    for (const char *shown : {"value_a", "value_j", "value_theta"})
        EXPECT_TRUE(control<QLabel>(QString::fromLatin1(shown))->isVisibleTo(window)) << shown;
    for (const char *hidden : {"value_b", "value_c", "value_d", "value_f", "value_n"})
        EXPECT_FALSE(control<QLabel>(QString::fromLatin1(hidden))->isVisibleTo(window)) << hidden;
    // In the order a, b, c, d, f, j, n, θ; the hidden rows take no room.
    const int ya = control<QLabel>(QStringLiteral("value_a"))->y();
    const int yj = control<QLabel>(QStringLiteral("value_j"))->y();
    EXPECT_GT(yj, ya);
    EXPECT_EQ(control<QLabel>(QStringLiteral("value_theta"))->y() - yj, yj - ya);
    EXPECT_EQ(label(QStringLiteral("value_theta")), QStringLiteral("0.000π"));

    QString checked;
    for (QRadioButton *r : control<QGroupBox>(QStringLiteral("kizamichange"))->findChildren<QRadioButton *>())
        if (r->isChecked())
            checked = r->text();
    EXPECT_EQ(checked, QStringLiteral("0.1")) << "the step width to start with";
}

TEST_F(ParameterWindowTest, EachStepOfDrawShowsTheNewValues)
{
    addItem(KindExplicit, "a*x^2");
    window->prepare(false);
    button(QStringLiteral("plus_a"))->click();
    button(QStringLiteral("plus_a"))->click();
    EXPECT_EQ(label(QStringLiteral("increment_a")), QStringLiteral("0.200"));

    QPushButton *draw = button(QStringLiteral("contdraw"));
    emit draw->pressed();
    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.200")) << "one step at once";
    EXPECT_EQ(graph.paramLineText(), QStringLiteral("a = 0.200 "));
    QTimer &timer = window->drawTimer();
    EXPECT_TRUE(timer.isActive());
    tick(timer);
    tick(timer);
    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.600"));
    EXPECT_EQ(graph.paramLineText(), QStringLiteral("a = 0.600 "));
    emit draw->released();
    EXPECT_FALSE(timer.isActive());
    tick(timer);
    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.600"));

    // A short click is one step too.
    draw->click();
    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.800"));

    // The step width applies to the next presses of ＋ and －.
    control<QGroupBox>(QStringLiteral("kizamichange"))->findChildren<QRadioButton *>()[0]->click();
    button(QStringLiteral("minus_a"))->click();
    EXPECT_EQ(label(QStringLiteral("increment_a")), QStringLiteral("-9.800"));
    button(QStringLiteral("cl_a"))->click();
    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.000"));
    EXPECT_EQ(graph.paramLineText(), QStringLiteral("a = 0.000 "));
}

TEST_F(ParameterWindowTest, AfterAFileLoadTheIncrementsStartFromZero)
{
    addItem(KindExplicit, "b*x");
    window->prepare(false);
    button(QStringLiteral("plus_b"))->click();
    window->prepare(false);
    EXPECT_EQ(label(QStringLiteral("increment_b")), QStringLiteral("0.100")) << "kept between openings";
    window->prepare(true);
    EXPECT_EQ(label(QStringLiteral("increment_b")), QStringLiteral("0.000"));
}

TEST_F(ParameterWindowTest, OptionsAllClearAndClosing)
{
    addItem(KindPoint, "a", "1");
    window->prepare(false);
    auto *afterimage = control<QCheckBox>(QStringLiteral("Zan"));
    auto *locus = control<QCheckBox>(QStringLiteral("locus"));
    afterimage->click();
    locus->click();
    EXPECT_EQ(graph.doc().overlayMode, 1);
    EXPECT_TRUE(window->session().flags().locus);
    button(QStringLiteral("plus_a"))->click();
    button(QStringLiteral("contdraw"))->click();

    button(QStringLiteral("AC"))->click();
    EXPECT_FALSE(afterimage->isChecked());
    EXPECT_FALSE(locus->isChecked());
    EXPECT_EQ(graph.doc().overlayMode, 0);
    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.000"));

    // Closing while 描画 is held stops the repetition and the overlay mode.
    afterimage->click();
    window->show();
    emit button(QStringLiteral("contdraw"))->pressed();
    ASSERT_TRUE(window->drawTimer().isActive());
    button(QStringLiteral("syuu"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->drawTimer().isActive());
    EXPECT_EQ(graph.doc().overlayMode, 0);
    EXPECT_TRUE(afterimage->isChecked()) << "the switch itself is kept for the next opening";
}

} // namespace gq
