// The interval of the calculus menu: its bounds and switches. The main window
// owns the one instance; the interval window moves the bounds, the graph
// redraw asks whether the band is on.
#pragma once

struct IntervalState {
    bool IntervalActive = false; // the band is drawn over every redraw
    bool ShowMaxMin = false;     // maxima and minima are marked inside it
    long double IntervalLower = 0;
    long double IntervalUpper = 0;
};
