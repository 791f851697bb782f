// graphotheque-render's options for worksheet figures of the calculus tools:
//
//   --interval A B          the yellow band over [A, B] (A and B number
//                           formulas, UTF-8, such as 2π)
//   --maxmin                with --interval: the maximum and minimum marks,
//                           printed one a line as "max: (X , Y)" / "min: (X , Y)"
//   --sum KIND              with --interval: the strips of the upper, lower,
//   --divisions N             trapezoid or simpson sum with N strips (default
//                           2), printed as "sum: VALUE"
//
// --maxmin and --sum need a document of exactly one explicit function.
#pragma once

#include "platform/canvas.h"
#include "render/redraw.h"
#include "tools/riemann_sums.h"
#include <QString>
#include <QStringList>

namespace gq
{

struct CalculusOptions {
    bool interval = false;
    QString lower, upper; // as typed
    bool maxMin = false;
    SumKind sum = SumKind::None;
    int divisions = kInitialDivisions;
    bool divisionsGiven = false;

    bool any() const { return interval || maxMin || sum != SumKind::None || divisionsGiven; }
};

// When args[i] is one of these options, takes it and its values (i is left on
// the last one) and returns true; bad becomes true when its values are
// missing or malformed. Returns false for any other argument.
bool takeCalculusOption(const QStringList &args, int &i, CalculusOptions &options, bool &bad);

// Whether the options go together: --maxmin and --sum need --interval,
// --divisions needs --sum, and --maxmin and --sum exclude each other.
bool calculusOptionsFit(const CalculusOptions &options);

// The usage lines of these options, each ending in a newline.
QString calculusUsage();

// Draws the options' figure over the renderer's graph into picture and
// prints the marked points or the sum on standard output. Returns the exit
// status when the run must end without a picture (2: the document is not
// one explicit function, or a bound is not a number; 3: f is undefined in the
// interval, with the navigator's message), or -1 when picture is to be written.
int drawCalculusFigure(const CalculusOptions &options, const Document &doc, const GraphRenderer &renderer,
                       Canvas &picture);

} // namespace gq
