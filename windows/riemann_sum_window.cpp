#include "windows/riemann_sum_window.h"

#include "windows/keyboard.h"
#include "windows/main_window.h"
#include "windows/range_dialog.h"
#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace gq
{

namespace
{
constexpr int kRepeatMs = 40;
constexpr int kPlainNumberLayout = 2;
const QString kCapNote = QStringLiteral("分割数の上限は%1です").arg(kMaxDivisions);

QLabel *label(QWidget *parent, const QString &text, int x, int y, int w, int h, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    return l;
}

QLabel *panel(QWidget *parent, const char *name, int x, int y, int w)
{
    QLabel *l = label(parent, QString(), x, y, w, 24, name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QPushButton *button(QWidget *parent, const QString &caption, const char *name, int x, int y, int w)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 28);
    b->setAutoDefault(false);
    return b;
}
} // namespace

RiemannSumWindow::RiemannSumWindow(MainWindow &main, RangeDialog &rangeDialog, QWidget *parent)
    : QDialog(parent), main_(main), rangeDialog_(rangeDialog),
      navigator_(main.doc(), main.renderer(),
                 [&main](const Canvas &picture) {
                     main.visibleGraph().copyFrom(picture);
                     main.refreshVisibleGraph();
                 }),
      hold_(timer_)
{
    setObjectName(QStringLiteral("integnavi"));
    setWindowTitle(QStringLiteral("区分求積"));
    setModal(true);
    timer_.setParent(this);
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(kRepeatMs);
    buildControls();
    setFixedSize(404, 282);
    showState();
    // The range dialog redraws the graph after each frame change; the sum
    // follows it onto the new frame.
    connect(&rangeDialog_, &RangeDialog::rangeChanged, this, [this] { graphResized(); });
}

void RiemannSumWindow::buildControls()
{
    label(this, QStringLiteral("区間"), 8, 8, 40, 24, "Label1");
    interval_ = label(this, QString(), 52, 8, 300, 24, "Label9");

    label(this, QStringLiteral("分割数 ｎ＝"), 8, 42, 84, 24, "Label2");
    divisions_ = panel(this, "Panel1", 92, 42, 70);
    QPushButton *more = button(this, QStringLiteral("増"), "incdiv", 168, 40, 40);
    QPushButton *fewer = button(this, QStringLiteral("減"), "decdiv", 210, 40, 40);
    hold_.add(more, [this] {
        navigator_.stepDivisions(true);
        showState();
    });
    hold_.add(fewer, [this] {
        navigator_.stepDivisions(false);
        showState();
    });
    QPushButton *initial = button(this, QStringLiteral("初期値に戻す"), "Button2", 270, 40, 126);
    connect(initial, &QPushButton::clicked, this, [this] {
        navigator_.resetDivisions();
        showState();
    });
    capNote_ = label(this, kCapNote, 92, 68, 300, 18, "capnote");
    capNote_->setStyleSheet(QStringLiteral("color: maroon;"));

    struct SumButton {
        const char *caption, *name;
        SumKind kind;
    };
    static const SumButton kinds[] = {
        {"最大和", "maxButton", SumKind::Upper},
        {"最小和", "minButton", SumKind::Lower},
        {"台形和", "polizoid", SumKind::Trapezoid},
        {"ｼﾝﾌﾟｿﾝ", "sympson", SumKind::Simpson},
    };
    for (int i = 0; i < 4; ++i) {
        QPushButton *b = button(this, QString::fromUtf8(kinds[i].caption), kinds[i].name, 8 + i * 98, 90, 92);
        connect(b, &QPushButton::clicked, this, [this, kind = kinds[i].kind] {
            navigator_.chooseSum(kind);
            showState();
        });
    }
    buildSumLine();
    // The trapezoid sum and Simpson's rule, each beside its name.
    label(this, QStringLiteral("台形和"), 8, 180, 56, 24, "trapezoidcaption");
    sums_[static_cast<int>(SumKind::Trapezoid)] = panel(this, "Label8", 66, 180, 92);
    sums_[static_cast<int>(SumKind::Trapezoid)]->setStyleSheet(QStringLiteral("color: teal;"));
    label(this, QStringLiteral("ｼﾝﾌﾟｿﾝ"), 200, 180, 60, 24, "simpsoncaption");
    sums_[static_cast<int>(SumKind::Simpson)] = panel(this, "Label10", 262, 180, 92);

    QPushButton *range = button(this, QStringLiteral("座標変更"), "Button1", 8, 218, 100);
    connect(range, &QPushButton::clicked, this, &RiemannSumWindow::changeRange);
    QPushButton *finish = button(this, QStringLiteral("終了"), "syuuryou", 316, 218, 80);
    connect(finish, &QPushButton::clicked, this, &QDialog::accept);
    error_ = label(this, QString(), 8, 252, 388, 24, "Label11");
    error_->setStyleSheet(QStringLiteral("color: red;"));
}

// lower sum ≦ Σ (i = 1 .. n) f(xᵢ)·Δx ≦ upper sum
void RiemannSumWindow::buildSumLine()
{
    const int y = 140;
    sums_[static_cast<int>(SumKind::Lower)] = panel(this, "sumMin", 8, y, 92);
    QFont small = font();
    small.setPointSize(std::max(6, small.pointSize() - 3));
    QLabel *upperIndex = label(this, QStringLiteral("n"), 120, y - 14, 16, 14);
    upperIndex->setFont(small);
    label(this, QStringLiteral("≦Σ"), 104, y, 36, 24);
    QLabel *lowerIndex = label(this, QStringLiteral("i=1"), 116, y + 22, 28, 14);
    lowerIndex->setFont(small);
    QLabel *term = label(this, QStringLiteral("ｆ（ｘ　）・Δｘ≦"), 142, y, 154, 24);
    // The subscript i sits in the blank after ｘ.
    const QFontMetrics metrics(term->font());
    const int gap = metrics.horizontalAdvance(QStringLiteral("ｆ（ｘ"));
    QLabel *subscript = label(term, QStringLiteral("i"), gap + 2, 12, 12, 12);
    subscript->setFont(small);
    sums_[static_cast<int>(SumKind::Upper)] = panel(this, "sumMax", 302, y, 92);
}

void RiemannSumWindow::showState()
{
    interval_->setText(navigator_.isOpen() ? navigator_.intervalText() : QString());
    divisions_->setText(QString::number(navigator_.divisions()));
    for (SumKind kind : {SumKind::Upper, SumKind::Lower, SumKind::Trapezoid, SumKind::Simpson})
        sums_[static_cast<int>(kind)]->setText(navigator_.readout(kind));
    error_->setText(navigator_.errorText());
    capNote_->setVisible(navigator_.atCap());
}

std::string RiemannSumWindow::askNumber(const QString &caption, const QString &message, bool &cancelled)
{
    return readNumber(main_.controller().ask(), caption, kPlainNumberLayout, message, &cancelled);
}

bool RiemannSumWindow::begin()
{
    // Over the item list, beside the graph, below the formula keyboard.
    move(main_.geometry().topLeft() + QPoint(4, 300));
    show();
    const bool opened =
        navigator_.open([this](const QString &caption, const QString &message, bool &cancelled) {
            return askNumber(caption, message, cancelled);
        });
    showState();
    if (!opened) {
        reject();
        return false;
    }
    return true;
}

void RiemannSumWindow::run()
{
    if (begin())
        exec();
}

void RiemannSumWindow::changeRange()
{
    rangeDialog_.move(pos());
    rangeDialog_.exec();
}

void RiemannSumWindow::graphResized()
{
    if (!navigator_.isOpen())
        return;
    navigator_.redraw();
    showState();
}

void RiemannSumWindow::done(int result)
{
    hold_.stop();
    const bool wasOpen = navigator_.isOpen();
    if (wasOpen)
        navigator_.close();
    showState();
    QDialog::done(result);
    // The strips go with the window.
    if (wasOpen)
        main_.redrawGraph();
}

} // namespace gq
