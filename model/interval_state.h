// The interval of the calculus menu: its bounds and switches. The main window
// owns the one instance; the interval window moves the bounds, the graph
// redraw asks whether the band is on.
#pragma once

namespace gq
{

struct IntervalState {
    bool active = false;     // the band is drawn over every redraw
    bool showMaxMin = false; // maxima and minima are marked inside it
    long double lower = 0;
    long double upper = 0;
};

} // namespace gq
