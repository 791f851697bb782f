#include "tools/riemann_navigator.h"

#include "engine/formula.h"
#include "render/graph_view.h"
#include "tools/riemann_drawing.h"

namespace gq
{

namespace
{

bool oneExplicitFunction(const Document &doc)
{
    return doc.itemCount == 1 && doc.items[1].kind == KindExplicit;
}

} // namespace

RiemannNavigator::RiemannNavigator(Document &doc, const GraphRenderer &renderer, Present present)
    : doc_(doc), renderer_(renderer), present_(std::move(present)), work_(renderer.graphImage())
{
}

bool RiemannNavigator::askBound(const AskNumber &ask, const QString &caption, float &bound)
{
    QString message;
    for (;;) {
        bool cancelled = false;
        const std::string text = ask(caption, message, cancelled);
        EngineScope scope(&doc_, doc_.parameters, renderer_.view().xPerPixel());
        float value = 0;
        if (boundValue(text, value)) {
            EngineState &state = engineState();
            state.evalValid = true;
            const long double y = f_.evaluate(value, 0);
            if (state.evalValid) {
                bound = value;
                drawBoundLine(work_, renderer_.view(), value, y);
                present_(work_);
                return true;
            }
        }
        // Asking again after a cancel would keep the user in the prompt for
        // as long as f is undefined at 0.
        if (cancelled)
            return false;
        message = kAskAgainMessage;
    }
}

bool RiemannNavigator::open(const AskNumber &ask)
{
    kind_ = SumKind::None;
    divisions_ = kInitialDivisions;
    error_.clear();
    // The sums of an earlier function or interval are no sums of this one.
    readouts_ = {};
    open_ = true;
    work_ = renderer_.graphImage();
    if (!oneExplicitFunction(doc_))
        return false;
    {
        EngineScope scope(&doc_, doc_.parameters, renderer_.view().xPerPixel());
        Tree tree = parseCurveFormula(doc_.items[1].text[1]);
        if (!tree)
            return false;
        f_ = Program(tree.get());
    }
    return askBound(ask, QStringLiteral("区間の下限"), lower_) &&
           askBound(ask, QStringLiteral("区間の上限"), upper_);
}

void RiemannNavigator::close()
{
    open_ = false;
    f_ = Program();
}

void RiemannNavigator::redraw()
{
    if (!open_)
        return;
    if (kind_ != SumKind::None) {
        showSum();
        return;
    }
    work_ = renderer_.graphImage();
    const GraphView &view = renderer_.view();
    EngineScope scope(&doc_, doc_.parameters, view.xPerPixel());
    EngineState &state = engineState();
    for (const float bound : {lower_, upper_}) {
        state.evalValid = true;
        const long double y = f_.evaluate(bound, 0);
        if (state.evalValid)
            drawBoundLine(work_, view, bound, y);
    }
    present_(work_);
}

void RiemannNavigator::chooseSum(SumKind kind)
{
    kind_ = kind;
    showSum();
}

void RiemannNavigator::stepDivisions(bool increase)
{
    divisions_ = gq::stepDivisions(divisions_, increase);
    showSum();
}

void RiemannNavigator::resetDivisions()
{
    divisions_ = kInitialDivisions;
    showSum();
}

void RiemannNavigator::showSum()
{
    if (kind_ == SumKind::None || !open_)
        return;
    const GraphView &view = renderer_.view();
    const Canvas &graph = renderer_.graphImage();
    if (work_.width() != graph.width() || work_.pixelScale() != graph.pixelScale())
        work_ = Canvas(graph.width(), graph.height(), graph.pixelScale()); // the graph was resized
    EngineScope scope(&doc_, doc_.parameters, view.xPerPixel());
    const SumResult result = drawRiemannSum(work_, view, f_, kind_, lower_, upper_, divisions_);
    if (!result.defined) {
        error_ = kUndefinedInIntervalMessage;
        return;
    }
    error_.clear();
    readouts_[static_cast<int>(kind_)] = QString::fromStdString(formatFixed(result.sum, "0.0000"));
    present_(sumPicture(renderer_.graphImage(), work_));
}

QString RiemannNavigator::intervalText() const
{
    return QString::fromStdString(formatFixed(lower_, "0.000")) + QStringLiteral("≦ｘ≦") +
           QString::fromStdString(formatFixed(upper_, "0.000"));
}

} // namespace gq
