#include "render/plot_implicit.h"

// Implicit curves are not drawn yet; the implicit plotter replaces this body.
void drawImplicitCurve(Canvas &, const GraphView &, const Tfuncprop &) {}
