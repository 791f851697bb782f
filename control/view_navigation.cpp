#include "control/view_navigation.h"

#include "control/range_steps.h"

namespace gq
{

namespace
{
// One axis into [-kFrameLimit, kFrameLimit], span kept where it fits.
void fitAxis(long double &lo, long double &hi)
{
    if (lo < -kFrameLimit) {
        hi += -kFrameLimit - lo;
        lo = -kFrameLimit;
    }
    if (hi > kFrameLimit) {
        lo -= hi - kFrameLimit;
        hi = kFrameLimit;
    }
}
} // namespace

bool shiftIntoLimits(CoordFrame &frame)
{
    CoordFrame f = frame;
    fitAxis(f.xmin, f.xmax);
    fitAxis(f.ymin, f.ymax);
    if (!isValidFrame(f))
        return false;
    frame = f;
    return true;
}

bool wheelZoom(CoordFrame &frame, const GraphView &view, int px, int py, bool zoomIn)
{
    // The step decides the new spans and whether the zoom is allowed at all,
    // exactly as the dialog's buttons and click-to-zoom do.
    CoordFrame stepped = frame;
    if (!applyRangeStep(stepped, zoomIn ? StepZoomIn : StepZoomOut))
        return false;
    const long double w = stepped.xmax - stepped.xmin, h = stepped.ymax - stepped.ymin;
    const long double n = view.graphSize();
    const long double x = view.pixelToX(px), y = view.pixelToY(py);
    CoordFrame placed;
    placed.xmin = x - px * (w / n);
    placed.xmax = placed.xmin + w;
    placed.ymax = y + py * (h / n);
    placed.ymin = placed.ymax - h;
    if (!shiftIntoLimits(placed) || placed == frame)
        return false;
    frame = placed;
    return true;
}

CoordFrame pannedFrame(const GraphView &start, int dx, int dy)
{
    CoordFrame f = start.frame();
    const long double sx = -dx * start.xPerPixel(), sy = dy * start.yPerPixel();
    f.xmin += sx;
    f.xmax += sx;
    f.ymin += sy;
    f.ymax += sy;
    return shiftIntoLimits(f) ? f : start.frame();
}

int wheelNotches(int &remainder, int delta)
{
    remainder += delta;
    const int notches = remainder / kWheelNotch;
    remainder -= notches * kWheelNotch;
    return notches;
}

} // namespace gq
