// The options of graphotheque-render that draw the tangent and mean-rate
// demonstrations over the rendered graph of one explicit function:
//
//   --tangent X      P, the slope point and the tangent at X; prints
//                    "derivative: TEXT" (the formula the derivative item
//                    shows; first, and also when f is undefined at X), then
//                    "point: (X , Y)" and "slope: M" ("0.0000")
//   --slope-trace    with --tangent: also the trace of f' from the frame's
//                    left edge up to X, as a run with the trace box ticked
//   --secant XA XB   the secant through A and B and both points; prints
//                    "A: (...)" and "B: (...)" ("0.00000"), then
//                    "rate: VALUE" ("0.0000") when XA != XB
//   --approach       with --secant: B first approaches A to the end
//
// X, XA and XB are constant formulas ("1.5", "π/2", "-1/3").
#pragma once

#include "model/document.h"
#include "render/redraw.h"
#include <QString>
#include <QStringList>

namespace gq
{

struct DerivativeOptions {
    bool tangent = false;
    QString tangentX;
    bool slopeTrace = false;
    bool secant = false;
    QString secantA, secantB;
    bool approach = false;

    bool any() const { return tangent || secant; }
};

// Takes these options and their values out of args (the program's other
// arguments stay, in order). False for a bad use: a missing value, or
// --slope-trace without --tangent, --approach without --secant, or --tangent
// with --secant.
bool takeDerivativeOptions(QStringList &args, DerivativeOptions &options);

// The usage lines of these options, each ending in a line break.
QString derivativeOptionsUsage();

// Draws what the options ask for over renderer's picture (the graph of doc as
// just rendered), which then holds the picture to write, and prints the
// read-outs on stdout. Returns the exit status: 0 done; 2 the document is not
// exactly one explicit function that parses, or a value is not a number; 3 f
// is undefined at a point asked for (or where the approach ends). Every
// failure prints one line on stderr, and nothing on stdout but the
// derivative's text.
int drawDerivativeOptions(const DerivativeOptions &options, const Document &doc, GraphRenderer &renderer);

} // namespace gq
