// Samples of a formula along a curve being drawn: the evaluator's report of a
// pole or jump between two samples is handed on to the curve's pen.
#pragma once

#include "engine/program.h"
#include "render/primitives.h"

namespace gq
{

// The value of program at (x, y); defined tells whether it exists. A pole or
// jump that the evaluation finds between this sample and the previous one
// lifts the stroke's pen, and the evaluation may put it down again (a jump of
// a sum smaller than a pixel is no jump).
long double sampleOnStroke(Program &program, long double x, long double y, Stroke &stroke, bool &defined);

} // namespace gq
