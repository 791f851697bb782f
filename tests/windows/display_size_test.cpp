// Text for a projector and a screen of higher density, on the real main
// window: 表示 → 文字の大きさ grows the list panel, the status lines and the
// tick labels without anything overlapping, the choice is remembered between
// runs and never written to an equation file; at a device pixel ratio of 2
// the graph is drawn with twice the pixels while the mouse, the read-out and
// the saved picture keep the layout's pixels.
#include "control/display_settings.h"
#include "control/equation_commands.h"
#include "control/item_list_panel.h"
#include "control/scripted_questions.h"
#include "windows/main_window.h"
#include "windows/recording_windows.h"
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
constexpr uint32_t kRed = 0x000000FF;

// Whether any pixel of columns x0..x1-1, rows y0..y1-1 is not white.
bool inked(const Canvas &c, int x0, int x1, int y0, int y1)
{
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px)
            if (c.pixel(px, py) != kWhite)
                return true;
    return false;
}

int rnd(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// The black pixels' first and last row in the columns x0..x1 under row y0.
int inkHeight(const Canvas &c, int x0, int x1, int y0, int y1)
{
    int first = -1, last = -1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (c.pixel(x, y) == kBlack) {
                first = first < 0 ? y : first;
                last = y;
            }
    return first < 0 ? 0 : last - first + 1;
}

void moveMouse(QWidget *w, QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A document with the widest labels of the list: a definition, an implicit
// curve, a point and a segment.
Document widestLabels()
{
    Document doc;
    doc.functionCount = 1;
    doc.functionTexts[1] = "x^2";
    doc.itemCount = 3;
    doc.items[1] = {.kind = KindImplicit, .text = {"", "x^2+y^2-1"}, .colour = kRed};
    doc.items[2] = {.kind = KindPoint, .text = {"", "1", "-1"}, .colour = kRed};
    doc.items[3] = {.kind = KindSegment, .text = {"", "0", "0", "1", "1"}, .colour = kRed};
    return doc;
}

class DisplaySize : public ::testing::Test
{
  protected:
    DisplaySize()
    {
        storeTextSize(TextSize::Standard);
        g = std::make_unique<MainWindow>();
        g->setQuestions(&ask);
        g->setSecondaryWindows(&windows);
    }
    ~DisplaySize() override { storeTextSize(TextSize::Standard); }
    QAction *sizeAction(const char *name) { return g->menuAction(QString::fromLatin1(name)); }
    QLabel *label(const char *name) { return g->findChild<QLabel *>(QString::fromLatin1(name)); }
    void registerLine(const char *formula, uint32_t colour)
    {
        ask.confirmAnswers = {true};
        ask.keyboardAnswers = {formula};
        ask.colourAnswers = {colour};
        g->registerNew(KindExplicit);
    }
    QRect widgetRect(const char *name)
    {
        QWidget *w = g->findChild<QWidget *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w ? QRect(w->mapTo(g.get(), QPoint(0, 0)), w->size()) : QRect();
    }

    ScriptedQuestions ask;
    RecordingWindows windows;
    std::unique_ptr<MainWindow> g;
};
} // namespace

TEST(ListSurfaceScale, AtEveryTextSizeAndDensityLabelsValuesAndLinesKeepApart)
{
    const Document doc = widestLabels();
    struct Case {
        double text, ratio;
    } cases[] = {{1, 1}, {1.5, 1}, {2, 1}, {1, 2}, {2, 2}};
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << "text " << k.text << ", ratio " << k.ratio);
        CanvasListSurface surface(400, 400);
        surface.setScales(k.text, k.ratio);
        const Canvas &c = surface.picture();
        const double unit = k.text * k.ratio;
        EXPECT_EQ(c.width(), rnd(400 * k.ratio));
        EXPECT_EQ(surface.width(), static_cast<int>(400 / k.text));
        EXPECT_EQ(surface.layoutSize(), QSize(400, 400));
        // A line of the list holds its text.
        EXPECT_LE(c.textHeight(), rnd(kListLineHeight * unit));

        ItemListPainter painter(surface);
        painter.redrawItemList(doc);
        const int column = painter.valueColumn();
        struct Row {
            const char *label;
            int y;
        } rows[] = {{"F1(x)=", 15}, {"f(x,y)=", 60}, {"(p,q) =", 105}, {"(p,q) =", 150}, {"(r,s) =", 165}};
        for (const Row &row : rows) {
            SCOPED_TRACE(row.label);
            const int end = 1 + surface.textWidth(QString::fromUtf8(row.label));
            EXPECT_GE(column, end + kListLabelGap);
            const int top = rnd(row.y * unit), bottom = rnd((row.y + kListLineHeight) * unit);
            EXPECT_TRUE(inked(c, rnd((end - 6) * unit), rnd(end * unit), top, bottom)) << "the label";
            EXPECT_FALSE(inked(c, rnd(end * unit), rnd(column * unit), top, bottom)) << "white between";
            EXPECT_TRUE(inked(c, rnd(column * unit), rnd((column + 12) * unit), top, bottom)) << "the value";
        }

        // Short labels keep the value column at 40.
        Document shortLabels;
        shortLabels.itemCount = 1;
        shortLabels.items[1] = {.kind = KindParametric, .text = {"", "cos(t)", "sin(t)", "0", "1"}};
        painter.redrawItemList(shortLabels);
        EXPECT_EQ(painter.valueColumn(), kListValueColumn);
    }
}

TEST_F(DisplaySize, TheMenuOffersThreeSizesOneCheckedStandardFirst)
{
    for (const char *name : {"textStandard", "textLarge", "textExtraLarge"})
        ASSERT_TRUE(sizeAction(name) && sizeAction(name)->isVisible()) << name;
    EXPECT_TRUE(sizeAction("textStandard")->isChecked());
    EXPECT_EQ(g->textSize(), TextSize::Standard);
    sizeAction("textLarge")->trigger();
    EXPECT_EQ(g->textSize(), TextSize::Large);
    EXPECT_TRUE(sizeAction("textLarge")->isChecked());
    EXPECT_FALSE(sizeAction("textStandard")->isChecked());
}

TEST_F(DisplaySize, ExtraLargeGrowsListStatusLinesAndTickLabelsAndNothingOverlaps)
{
    g->resize(1024, 768);
    g->show();
    g->doc() = widestLabels();
    g->redrawItemList();
    g->showStandard();
    const int standardFont = label("rangeline")->font().pointSize();
    // The heading "定義関数" at the top of the list, as the screen shows it.
    const auto headingHeight = [&] {
        const QImage shown = g->findChild<QWidget *>(QStringLiteral("Text"))->grab().toImage();
        const auto inkedRow = [&](int y) {
            for (int x = 0; x < 100; ++x)
                if (qGray(shown.pixel(x, y)) < 128)
                    return true;
            return false;
        };
        int first = 0;
        while (first < shown.height() && !inkedRow(first))
            ++first;
        int last = first;
        while (last + 1 < shown.height() && inkedRow(last + 1))
            ++last;
        return last - first + 1;
    };
    const int standardHeading = headingHeight();
    const auto labelHeight = [&] {
        const GraphView &v = g->renderer().view();
        const int tick = v.xToPixel(1), axis = v.yToPixel(0);
        // Below the axis, or above it when the axis lies in the lower half.
        return std::max(inkHeight(g->visibleGraph(), tick - 20, tick + 20, axis + 3, axis + 50),
                        inkHeight(g->visibleGraph(), tick - 20, tick + 20, axis - 50, axis - 2));
    };
    const int standardLabel = labelHeight();
    const int standardGraph = g->graphSize();

    sizeAction("textExtraLarge")->trigger();
    EXPECT_EQ(label("rangeline")->font().pointSize(), 2 * standardFont);
    EXPECT_EQ(label("paramline")->font().pointSize(), 2 * standardFont);
    EXPECT_NEAR(labelHeight(), 2 * standardLabel, 2) << "the tick labels";
    EXPECT_NEAR(headingHeight(), 2 * standardHeading, 3) << "the list";
    EXPECT_LE(g->graphSize(), standardGraph) << "the status lines take their room from the graph";

    // The range line has room for its text, wrapped to its width (that the
    // parts stay apart is checked in the smallest window below).
    QLabel *rangeLine = label("rangeline");
    EXPECT_TRUE(rangeLine->wordWrap());
    EXPECT_LE(rangeLine->heightForWidth(rangeLine->width()), rangeLine->height());
    EXPECT_GT(QFontMetrics(rangeLine->font()).horizontalAdvance(rangeLine->text()), rangeLine->width())
        << "the case that needs the second line";

    g->setTextSize(TextSize::Standard);
    EXPECT_EQ(label("rangeline")->font().pointSize(), standardFont);
    EXPECT_FALSE(label("rangeline")->wordWrap());
    EXPECT_EQ(g->graphSize(), standardGraph);
    EXPECT_EQ(labelHeight(), standardLabel);
    EXPECT_EQ(headingHeight(), standardHeading);
}

TEST_F(DisplaySize, InTheSmallestWindowTheWidestRangeLineStillFitsItsTwoLines)
{
    g->show();
    g->doc().frame = {-9999.999L, -9999.998L, -9999.999L, -9999.998L};
    for (TextSize size : {TextSize::Large, TextSize::ExtraLarge}) {
        SCOPED_TRACE(textSizeName(size));
        g->setTextSize(size);
        g->resize(g->minimumSize());
        QCoreApplication::processEvents();
        g->frameChanged();
        QLabel *rangeLine = label("rangeline");
        EXPECT_EQ(rangeLine->text().left(6), QStringLiteral("x座標:  "));
        EXPECT_LE(rangeLine->heightForWidth(rangeLine->width()), rangeLine->height());
        const QRect graph = widgetRect("graphframe"), status = widgetRect("status");
        const QRect range = widgetRect("rangeline"), params = widgetRect("paramline");
        EXPECT_FALSE(widgetRect("Text").intersects(graph));
        EXPECT_FALSE(widgetRect("Text").intersects(status));
        EXPECT_FALSE(graph.intersects(status));
        EXPECT_FALSE(range.intersects(params));
        EXPECT_TRUE(status.contains(range) && status.contains(params));
    }
}

TEST_F(DisplaySize, TheSizeIsRememberedBetweenRunsAndNeverSavedInTheFile)
{
    QTemporaryDir dir;
    registerLine("x^2", kRed);
    const QString plain = dir.filePath(QStringLiteral("plain.gtq"));
    ASSERT_TRUE(saveEquations(g->controller(), plain));

    sizeAction("textExtraLarge")->trigger();
    EXPECT_EQ(storedTextSize(), TextSize::ExtraLarge);
    const QString large = dir.filePath(QStringLiteral("large.gtq"));
    ASSERT_TRUE(saveEquations(g->controller(), large));
    QFile a(plain), b(large);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());

    // The next run starts with it.
    const int fontNow = label("rangeline")->font().pointSize();
    g = std::make_unique<MainWindow>();
    EXPECT_EQ(g->textSize(), TextSize::ExtraLarge);
    EXPECT_TRUE(sizeAction("textExtraLarge")->isChecked());
    EXPECT_EQ(label("rangeline")->font().pointSize(), fontNow);
    EXPECT_EQ(g->renderer().options.tickLabels, TextSize::ExtraLarge);
}

TEST_F(DisplaySize, AtPixelRatioTwoTheGraphHasTwiceThePixelsAndTheMouseKeepsTheLayouts)
{
    registerLine("x", kRed);
    g->showStandard();
    g->show();
    const int n = g->graphSize();
    const CoordFrame frame = g->doc().frame;
    const QImage plainExport = g->exportedGraph();
    QWidget *picture = g->findChild<QWidget *>(QStringLiteral("graphpaint"));
    g->enterSearchMode();
    const QPoint onLine(g->renderer().view().xToPixel(2), g->renderer().view().yToPixel(2));
    moveMouse(picture, onLine);
    const QString plainReadout = label("Label6")->text();
    ASSERT_TRUE(label("Label7")->isVisible());

    g->setPixelRatioOverride(2);
    EXPECT_EQ(g->pixelRatio(), 2.0);
    EXPECT_EQ(g->graphSize(), n) << "the layout is unchanged";
    EXPECT_EQ(g->renderer().graphImage().width(), 2 * n);
    EXPECT_EQ(g->visibleGraph().width(), 2 * n);
    EXPECT_EQ(g->visibleGraph().pixelScale(), 2.0);
    EXPECT_EQ(g->renderer().view().frame(), frame);
    EXPECT_EQ(picture->size(), QSize(n, n));

    // The line y = x is drawn at the denser pixels: two thick, and stepping
    // by single rows (an enlarged picture would step by two).
    const Canvas &dense = g->visibleGraph();
    bool oddRow = false;
    for (int x = 2 * n / 10; x < 2 * n * 9 / 10; x += 3) {
        int first = -1, count = 0;
        for (int y = 0; y < 2 * n; ++y)
            if (dense.pixel(x, y) == kRed) {
                first = first < 0 ? y : first;
                ++count;
            }
        ASSERT_GE(first, 0) << x;
        EXPECT_GE(count, 2) << x;
        oddRow |= first % 2 == 1;
    }
    EXPECT_TRUE(oddRow);

    // The mouse works in the layout's pixels: the same read-out and the same
    // item under the pointer as before.
    moveMouse(picture, onLine);
    EXPECT_EQ(label("Label6")->text(), plainReadout);
    EXPECT_TRUE(label("Label7")->isVisible());
    EXPECT_EQ(label("Label7")->text(), QStringLiteral("y=x"));

    // Saved and copied pictures keep the graph's size and exact colours.
    const QImage exported = g->exportedGraph();
    EXPECT_EQ(exported.size(), plainExport.size());
    EXPECT_EQ(exported.dotsPerMeterX(), plainExport.dotsPerMeterX());
    QSet<QRgb> colours;
    for (int y = 0; y < dense.height(); ++y)
        for (int x = 0; x < dense.width(); ++x)
            colours.insert(toQRgb(dense.pixel(x, y)));
    int onCurve = 0;
    for (int y = 0; y < exported.height(); ++y)
        for (int x = 0; x < exported.width(); ++x) {
            const QRgb c = exported.pixel(x, y) | 0xFF000000u;
            ASSERT_TRUE(colours.contains(c)) << x << "," << y;
            onCurve += c == toQRgb(kRed) && std::abs(x - (n - y)) <= 2;
        }
    EXPECT_GT(onCurve, n * 8 / 10) << "the line runs along the diagonal";

    // A click zooms about the same world point.
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(onLine), picture->mapToGlobal(QPointF(onLine)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &click);
    EXPECT_NEAR(static_cast<double>((g->doc().frame.xmin + g->doc().frame.xmax) / 2),
                static_cast<double>(GraphView(frame, n).pixelToX(onLine.x())), 1e-6);

    g->setPixelRatioOverride(0);
    EXPECT_EQ(g->renderer().graphImage().width(), n) << "the offscreen screen's own ratio is 1";
}

} // namespace gq
