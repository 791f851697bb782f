// The tracer's scan with its work spread over the worker pool. Internal to
// the tracer (implicit_tracer.cpp).
//
// Everything the workers compute is a value of the formulas at given points,
// which does not depend on the thread or on what was evaluated before: the
// whole lattice of corner samples, and ahead of the scan the cells where it
// is expected to start a trace (the first cell, in scan order, of each
// connected group of cells whose corners change sign), with their edge
// search and the walk from the seed found. The scan itself runs as before,
// cell by cell on the calling thread, and takes a precomputed result only
// where it is exactly what it would compute there: the cell is unvisited
// when the scan reaches it, and the evaluation budget has room for every
// evaluation that went into it. Then it charges the budget as those
// evaluations would have, and draws. Anything else it computes itself.
#pragma once

#include "render/implicit_internal.h"

namespace gq
{

class TraceSpeculation
{
  public:
    // The whole scan of traceImplicitGrid (visited table already cleared),
    // with the number of traces in traces. False, having done nothing, when
    // the pool has no workers, the grid is small, the formulas write letters,
    // or the lattice alone might run past the evaluation budget: the scan
    // then runs alone.
    static bool traceGrid(ImplicitTracer &tracer, int &traces);

  private:
    class Scan;
};

} // namespace gq
