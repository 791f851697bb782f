#include "derivative_options.h"

#include "control/formula_edit.h"
#include "engine/formula.h"
#include "platform/sjis.h"
#include "tools/derivative_colours.h"
#include "tools/mean_rate_draw.h"
#include "tools/tangent_draw.h"
#include <cmath>
#include <cstdio>
#include <optional>

namespace gq
{

namespace
{

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void printOut(const char *label, const std::string &text)
{
    std::printf("%s: %s\n", label, text.c_str());
}

// The value of a constant formula given on the command line.
std::optional<long double> numberArgument(const Document &doc, const char *option, const QString &text)
{
    EngineScope scope(&doc, doc.parameters);
    long double value = 0;
    if (formulaValue(qStringToSjis(text), value))
        return value;
    printError(QStringLiteral("graphotheque-render: %1: not a number: %2").arg(QLatin1String(option), text));
    return std::nullopt;
}

int undefinedAt(const QString &what, const QString &x)
{
    printError(QStringLiteral("graphotheque-render: f is undefined at %1 = %2").arg(what, x));
    return 3;
}

int drawTangent(const DerivativeOptions &options, const Document &doc, GraphRenderer &renderer)
{
    const std::optional<long double> x = numberArgument(doc, "--tangent", options.tangentX);
    if (!x)
        return 2;
    const GraphView &view = renderer.view();
    TangentRun run;
    if (!run.open(doc, view)) {
        printError(QStringLiteral("graphotheque-render: the function cannot be differentiated"));
        return 2;
    }
    // The text the derivative item would show; it does not depend on X, so
    // it comes first, also when f is undefined there.
    if (const auto derivative = derivativeWithDefinitions(doc, doc.items[1].text[1]))
        std::printf("derivative: %s\n", sjisToQString(*derivative).toUtf8().constData());
    Canvas &graph = renderer.graphImage();
    Canvas work(graph.width(), graph.height());
    TraceLayer trace(kSlopeTraceColour);
    TraceLayer *traced = options.slopeTrace ? &trace : nullptr;
    if (traced) {
        // The run with the trace box ticked, as far as it goes before X.
        run.start();
        while (run.running() && (*x - run.x() - run.step()) * run.direction() >= 0)
            if (run.tick())
                drawTangentFrame(run, graph, work, view, traced);
    }
    if (!run.placeAt(*x))
        return undefinedAt(QStringLiteral("X"), options.tangentX);
    if (!run.showable()) // nothing defined before: P is its own previous position
        run.placeAt(*x);
    drawTangentFrame(run, graph, work, view, traced);
    graph.copyFrom(work);
    printOut("point", run.pointText());
    printOut("slope", run.slopeText());
    return 0;
}

int drawSecantOption(const DerivativeOptions &options, const Document &doc, GraphRenderer &renderer)
{
    const std::optional<long double> a = numberArgument(doc, "--secant", options.secantA);
    const std::optional<long double> b = numberArgument(doc, "--secant", options.secantB);
    if (!a || !b)
        return 2;
    MeanRate rate;
    if (!rate.open(doc, renderer.view())) {
        printError(QStringLiteral("graphotheque-render: the function cannot be evaluated"));
        return 2;
    }
    if (!rate.enterPoint(MeanRatePoint::A, qStringToSjis(options.secantA)))
        return undefinedAt(QStringLiteral("XA"), options.secantA);
    if (!rate.enterPoint(MeanRatePoint::B, qStringToSjis(options.secantB)))
        return undefinedAt(QStringLiteral("XB"), options.secantB);
    if (options.approach) {
        // About ten ticks per unit of distance: a bound on the work.
        if (!(std::fabs(*b - *a) <= 2 * kFrameLimit)) {
            printError(QStringLiteral("graphotheque-render: --approach: A and B are more than %1 apart")
                           .arg(static_cast<double>(2 * kFrameLimit)));
            return 2;
        }
        while (rate.approachTick()) {
        }
        if (!rate.showPoints())
            return undefinedAt(QStringLiteral("B"),
                               QString::fromStdString(formatFixed(rate.bx(), "0.00000")));
    }
    rate.updateReadouts();
    Canvas &graph = renderer.graphImage();
    Canvas work(graph.width(), graph.height());
    composeSecantFrame(rate, graph, work, renderer.view());
    graph.copyFrom(work);
    printOut("A", rate.texts().a);
    printOut("B", rate.texts().b);
    if (rate.ax() != rate.bx())
        printOut("rate", rate.texts().rate);
    return 0;
}

} // namespace

bool takeDerivativeOptions(QStringList &args, DerivativeOptions &options)
{
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const auto value = [&](QString &into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        if (arg == QLatin1String("--tangent")) {
            options.tangent = true;
            if (!value(options.tangentX))
                return false;
        } else if (arg == QLatin1String("--secant")) {
            options.secant = true;
            if (!value(options.secantA) || !value(options.secantB))
                return false;
        } else if (arg == QLatin1String("--slope-trace")) {
            options.slopeTrace = true;
        } else if (arg == QLatin1String("--approach")) {
            options.approach = true;
        } else {
            rest << arg;
        }
    }
    args = rest;
    return !(options.slopeTrace && !options.tangent) && !(options.approach && !options.secant) &&
           !(options.tangent && options.secant);
}

QString derivativeOptionsUsage()
{
    return QStringLiteral("  --tangent X        P, the slope point and the tangent at X; prints f' and them\n"
                          "  --slope-trace      with --tangent: the trace of the slope up to X\n"
                          "  --secant XA XB     the secant through A and B; prints them and the rate\n"
                          "  --approach         with --secant: B first brought to A\n"
                          "  (--tangent and --secant need a document of one explicit function)\n");
}

int drawDerivativeOptions(const DerivativeOptions &options, const Document &doc, GraphRenderer &renderer)
{
    if (!options.any())
        return 0;
    if (doc.itemCount != 1 || doc.items[1].kind != KindExplicit) {
        printError(
            QStringLiteral("graphotheque-render: --tangent and --secant need a document of exactly one "
                           "explicit function"));
        return 2;
    }
    return options.tangent ? drawTangent(options, doc, renderer) : drawSecantOption(options, doc, renderer);
}

} // namespace gq
