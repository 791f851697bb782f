// The coordinate frame as the graph picture sees it: the square canvas of
// graphSize pixels, the world size of one pixel and the world-to-pixel
// mapping, plus the tick spacing and label format of the axes.
//
// A GraphView is a value computed from the frame and the canvas size; the
// renderer recomputes it at every redraw (drawAxes) and every drawing call
// takes the view it draws in. Cheap to copy; no allocation.
#pragma once

#include "model/document.h"
#include <string>

namespace gq
{

class GraphView
{
  public:
    // The default frame (-5..5 on both axes) on a 640-pixel canvas.
    GraphView() : GraphView(CoordFrame{}, 640) {}
    // frame must satisfy xmin < xmax and ymin < ymax; graphSize >= 1.
    GraphView(const CoordFrame &frame, int graphSize);

    const CoordFrame &frame() const { return frame_; }
    long double xmin() const { return frame_.xmin; }
    long double xmax() const { return frame_.xmax; }
    long double ymin() const { return frame_.ymin; }
    long double ymax() const { return frame_.ymax; }

    // Side of the square canvas in pixels.
    int graphSize() const { return size_; }
    // World size of one pixel: the span rounded to single precision, over N.
    long double xPerPixel() const { return xPerPixel_; }
    long double yPerPixel() const { return yPerPixel_; }

    // World to pixel, rounded to nearest with halves to even. A coordinate
    // more than 100 pixels outside the frame maps to exactly 100 pixels
    // outside (-100 or N + 100), so the result always lies in [-100, N + 100]
    // and far-away points keep their direction near the canvas. NaN maps to
    // -100; the drawing primitives never pass one.
    int xToPixel(long double x) const;
    int yToPixel(long double y) const;
    // Pixel to world (mouse read-out and click-to-zoom).
    long double pixelToX(long double px) const { return px * xPerPixel_ + frame_.xmin; }
    long double pixelToY(long double py) const { return frame_.ymax - py * yPerPixel_; }

    // Closed bounds: a point on the frame's edge is inside. NaN is outside.
    bool isInFrame(long double x, long double y) const;

  private:
    CoordFrame frame_;
    int size_;
    long double xPerPixel_, yPerPixel_;
    long double xClampLo_, xClampHi_, yClampLo_, yClampHi_;
};

// Tick spacing in hundredths of a unit for a frame span (single precision).
int tickStep(float span);
// Number pattern of the labels for a spacing: "0.00", "0.0" or "0".
std::string tickLabelFormat(int step);
// v written with a fixed pattern such as "0.00": at least one integer digit,
// exactly as many decimals as the pattern has, rounded; never "-0".
std::string formatFixed(long double v, const std::string &pattern);

// The point of the line through (x1, y1), (x2, y2) at a given x or y. A line
// parallel to the asked axis gives an infinite or NaN result.
long double lineYAtX(long double x, long double x1, long double y1, long double x2, long double y2);
long double lineXAtY(long double y, long double x1, long double y1, long double x2, long double y2);

} // namespace gq
