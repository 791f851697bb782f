// The parameter window as the user meets it: its rows, captions and hints,
// the press-and-hold draw key, the options and closing.
#include "windows/main_window.h"
#include "windows/parameter_window.h"
#include "windows/program_windows.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
const std::string kTheta = "\x83\xC6"; // θ in Shift-JIS

// One tick of the window's timer, as the event loop delivers it.
void tick(QTimer &timer)
{
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

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

TEST_F(ParameterWindowTest, RowsOfTheUsedParametersWithTheirKeysHintsAndColumns)
{
    ASSERT_NE(window, nullptr);
    addItem(KindExplicit, "a*x+" + kTheta);
    addItem(KindPoint, "j", "1");
    window->prepare(false);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ParaChange"));

    for (const char *shown : {"value_a", "value_j", "value_theta"})
        EXPECT_TRUE(control<QLabel>(QString::fromLatin1(shown))->isVisibleTo(window)) << shown;
    for (const char *hidden : {"value_b", "value_c", "value_d", "value_f", "value_n"})
        EXPECT_FALSE(control<QLabel>(QString::fromLatin1(hidden))->isVisibleTo(window)) << hidden;
    // Stacked 26 pixels apart in the order a, b, c, d, f, j, n, θ.
    const int ya = control<QLabel>(QStringLiteral("value_a"))->y();
    EXPECT_EQ(control<QLabel>(QStringLiteral("value_j"))->y(), ya + 26);
    EXPECT_EQ(control<QLabel>(QStringLiteral("value_theta"))->y(), ya + 52);

    EXPECT_EQ(label(QStringLiteral("value_a")), QStringLiteral("0.000"));
    EXPECT_EQ(label(QStringLiteral("value_j")), QStringLiteral("1"));
    EXPECT_EQ(label(QStringLiteral("value_theta")), QStringLiteral("0.000π"));
    EXPECT_EQ(label(QStringLiteral("increment_a")), QStringLiteral("0.000"));
    EXPECT_EQ(label(QStringLiteral("increment_j")), QStringLiteral("0"));

    EXPECT_EQ(button(QStringLiteral("plus_a"))->text(), QStringLiteral("＋"));
    EXPECT_EQ(button(QStringLiteral("minus_a"))->text(), QStringLiteral("－"));
    EXPECT_EQ(button(QStringLiteral("zero_a"))->text(), QStringLiteral("0"));
    EXPECT_EQ(button(QStringLiteral("cl_a"))->text(), QStringLiteral("cl"));
    EXPECT_EQ(button(QStringLiteral("plus_a"))->toolTip(), QStringLiteral("ａの増減値を刻み幅だけ増やす"));
    EXPECT_EQ(button(QStringLiteral("minus_a"))->toolTip(), QStringLiteral("ａの増減値を刻み幅だけ減らす"));
    EXPECT_EQ(button(QStringLiteral("zero_a"))->toolTip(), QStringLiteral("ａの増減値０にする"));
    EXPECT_EQ(button(QStringLiteral("cl_a"))->toolTip(), QStringLiteral("ａの値を0にします"));
    EXPECT_EQ(button(QStringLiteral("cl_j"))->toolTip(), QStringLiteral("ｊの値を１にします"));
    EXPECT_EQ(button(QStringLiteral("cl_n"))->toolTip(), QStringLiteral("ｎの値を１にします"));

    QStringList texts;
    for (QLabel *l : window->findChildren<QLabel *>())
        texts << l->text();
    for (const char *t : {"ａ=", "ｊ=", "θ=", "増 減", "増減値"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;

    EXPECT_EQ(button(QStringLiteral("AC"))->toolTip(), QStringLiteral("すべて初期値にする"));
    EXPECT_EQ(button(QStringLiteral("contdraw"))->text(), QStringLiteral("描画"));
    EXPECT_EQ(button(QStringLiteral("contdraw"))->toolTip(),
              QStringLiteral("クリックして表示、押したままで連続表示"));
    EXPECT_EQ(button(QStringLiteral("syuu"))->text(), QStringLiteral("終了"));
    EXPECT_EQ(button(QStringLiteral("syuu"))->toolTip(), QStringLiteral("ﾊﾟﾗﾒﾀ表示終わり"));
    EXPECT_EQ(control<QCheckBox>(QStringLiteral("Zan"))->text(), QStringLiteral("残像表示"));
    EXPECT_EQ(control<QCheckBox>(QStringLiteral("Zan"))->toolTip(), QStringLiteral("残像の設定"));
    EXPECT_EQ(control<QCheckBox>(QStringLiteral("locus"))->text(), QStringLiteral("軌跡表示"));
    EXPECT_EQ(control<QCheckBox>(QStringLiteral("locus"))->toolTip(), QStringLiteral("点の軌跡の設定"));

    auto *widths = control<QGroupBox>(QStringLiteral("kizamichange"));
    EXPECT_EQ(widths->title(), QStringLiteral("刻み幅"));
    QStringList entries;
    QString checked;
    for (QRadioButton *r : widths->findChildren<QRadioButton *>()) {
        entries << r->text();
        if (r->isChecked())
            checked = r->text();
    }
    EXPECT_EQ(entries, (QStringList{"10", "1", "0.1", "0.01", "0.001"}));
    EXPECT_EQ(checked, QStringLiteral("0.1"));

    // At the main window's left edge + 4, 260 pixels below its top.
    EXPECT_EQ(window->pos(), graph.pos() + QPoint(4, 260));
}

TEST_F(ParameterWindowTest, DrawTakesAStepOnThePressAndRepeatsEvery40msWhileHeld)
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
    EXPECT_EQ(timer.interval(), 40);
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
    EXPECT_EQ(label(QStringLiteral("increment_a")), QStringLiteral("0.000"));

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
