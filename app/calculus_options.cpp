#include "calculus_options.h"

#include "engine/engine_state.h"
#include "engine/formula.h"
#include "platform/sjis.h"
#include "render/graph_view.h"
#include "tools/interval_overlay.h"
#include "tools/riemann_drawing.h"
#include "tools/riemann_navigator.h"
#include <cstdio>

namespace gq
{

namespace
{

struct KindName {
    const char *name;
    SumKind kind;
};
constexpr KindName kKinds[] = {
    {"upper", SumKind::Upper},
    {"lower", SumKind::Lower},
    {"trapezoid", SumKind::Trapezoid},
    {"simpson", SumKind::Simpson},
};

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

void printResult(const std::string &line)
{
    std::printf("%s\n", line.c_str());
}

std::string fixed4(long double v)
{
    return formatFixed(v, "0.0000");
}

// A bound typed on the command line: a number formula, π and θ allowed.
bool boundOf(const QString &typed, long double &value)
{
    return formulaValue(qStringToSjis(typed), value);
}

int drawMaxMin(const CalculusOptions &o, const Document &doc, const GraphRenderer &renderer,
               const IntervalState &interval, Canvas &picture)
{
    Extrema marks;
    picture = drawIntervalOverlay(renderer.graphImage(), renderer.view(), doc, interval, &marks);
    if (!o.maxMin)
        return -1;
    if (marks.outcome == ScanOutcome::Undefined) {
        printError(kUndefinedInIntervalMessage);
        return 3;
    }
    for (const ExtremumPoint &p : marks.maxima)
        printResult("max: (" + fixed4(p.x) + " , " + fixed4(p.y) + ")");
    for (const ExtremumPoint &p : marks.minima)
        printResult("min: (" + fixed4(p.x) + " , " + fixed4(p.y) + ")");
    return -1;
}

int drawSum(const CalculusOptions &o, const Document &doc, const GraphRenderer &renderer, Canvas &picture)
{
    const GraphView &view = renderer.view();
    EngineScope scope(&doc, doc.parameters, view.xPerPixel());
    float a = 0, b = 0;
    if (!boundValue(qStringToSjis(o.lower), a) || !boundValue(qStringToSjis(o.upper), b)) {
        printError(QStringLiteral("--interval: the bounds must be numbers"));
        return 2;
    }
    Tree tree = parseCurveFormula(doc.items[1].text[1]);
    Program f(tree.get());
    // The navigator accepts only bounds where f is defined.
    for (float x : {a, b}) {
        engineState().evalValid = true;
        f.evaluate(x, 0);
        if (!engineState().evalValid) {
            printError(kUndefinedInIntervalMessage);
            return 3;
        }
    }
    Canvas work(picture.width(), picture.height());
    const SumResult result = drawRiemannSum(work, view, f, o.sum, a, b, o.divisions);
    if (!result.defined) {
        printError(kUndefinedInIntervalMessage);
        return 3;
    }
    picture = sumPicture(renderer.graphImage(), work);
    printResult("sum: " + fixed4(result.sum));
    return -1;
}

} // namespace

bool takeCalculusOption(const QStringList &args, int &i, CalculusOptions &o, bool &bad)
{
    const QString &arg = args[i];
    const auto value = [&](int offset) { return i + offset < args.size() ? args[i + offset] : QString(); };
    if (arg == QLatin1String("--interval")) {
        bad = i + 2 >= args.size() || o.interval;
        o.interval = true;
        o.lower = value(1);
        o.upper = value(2);
        i += 2;
    } else if (arg == QLatin1String("--maxmin")) {
        bad = o.maxMin;
        o.maxMin = true;
    } else if (arg == QLatin1String("--sum")) {
        bad = true;
        for (const KindName &k : kKinds)
            if (value(1) == QLatin1String(k.name) && o.sum == SumKind::None) {
                o.sum = k.kind;
                bad = false;
            }
        ++i;
    } else if (arg == QLatin1String("--divisions")) {
        bool ok = false;
        o.divisions = value(1).toInt(&ok);
        bad = !ok || o.divisionsGiven || o.divisions < 1 || o.divisions > kMaxDivisions;
        o.divisionsGiven = true;
        ++i;
    } else {
        return false;
    }
    return true;
}

bool calculusOptionsFit(const CalculusOptions &o)
{
    if ((o.maxMin || o.sum != SumKind::None) && !o.interval)
        return false;
    if (o.divisionsGiven && o.sum == SumKind::None)
        return false;
    return !(o.maxMin && o.sum != SumKind::None);
}

QString calculusUsage()
{
    return QStringLiteral(
               "  --interval A B     the interval band over [A, B]; A and B are number formulas (2π)\n"
               "  --maxmin           with --interval: mark the maxima and minima and print them\n"
               "  --sum KIND         with --interval: the strips of the sum, KIND upper, lower,\n"
               "  --divisions N        trapezoid or simpson, N strips (1..%1, default 2); prints it\n"
               "  (--maxmin and --sum need a document of one explicit function)\n")
        .arg(kMaxDivisions);
}

int drawCalculusFigure(const CalculusOptions &o, const Document &doc, const GraphRenderer &renderer,
                       Canvas &picture)
{
    if (!o.interval)
        return -1;
    if ((o.maxMin || o.sum != SumKind::None) && !(doc.itemCount == 1 && doc.items[1].kind == KindExplicit)) {
        printError(QStringLiteral("--maxmin and --sum need a document of exactly one explicit function"));
        return 2;
    }
    if (o.sum != SumKind::None)
        return drawSum(o, doc, renderer, picture);

    IntervalState interval;
    interval.active = true;
    interval.showMaxMin = o.maxMin;
    {
        EngineScope scope(&doc, doc.parameters);
        if (!boundOf(o.lower, interval.lower) || !boundOf(o.upper, interval.upper)) {
            printError(QStringLiteral("--interval: the bounds must be numbers"));
            return 2;
        }
    }
    return drawMaxMin(o, doc, renderer, interval, picture);
}

} // namespace gq
