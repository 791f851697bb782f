// Search mode on the graph picture: the read-out of the world point under the
// pointer, the item whose colour is under it, and click-to-zoom.
//
// Pixel coordinates are those of the graph picture (origin top left, y
// growing downwards); world coordinates follow the view of the latest redraw.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include <QString>

namespace gq
{

// The number pattern for a world size of one pixel: "0.00000" up to 0.00001,
// "0.0000" up to 0.0001, "0.000" up to 0.001, "0.00" up to 0.01, "0.0" up
// to 0.1, else "0".
const char *readoutPattern(long double unitsPerPixel);

// "( x , y )" for the pixel (px, py): x in the pattern of xPerPixel, y in
// that of yPerPixel.
QString readoutText(const GraphView &view, int px, int py);

// The first item (1..itemCount) whose colour is that of picture's pixel
// (px, py), or 0 when none is, or when the pixel lies outside
// 10 < py < graphSize and 0 < px < graphSize (the strip under the standard
// button and the picture's edges name no item). px, py and graphSize are
// pixels of the layout; on a picture of a higher pixel scale the pixels
// under that layout pixel are looked at, row by row, the first item colour
// found naming the item.
int itemAtPixel(const Document &doc, const Canvas &picture, int graphSize, int px, int py);

// The item label: "y=f" for derivatives and explicit functions, "f=0" for
// implicit curves, "x=f , y=g" for parametric curves, "r=f" for polar
// curves, "( p , q )" for points, and nothing for segments.
QString itemLabelText(const Item &item);

// Mouse buttons as click-to-zoom tells them apart.
enum class ZoomButton { Left, Right, Other };

// A click on the pixel (px, py): the frame is moved so that the clicked world
// point is its centre, spans kept, then the left button zooms in ("拡大")
// and the right button zooms out ("縮小") by the range dialog's step. A
// zoom the step refuses leaves the re-centred frame; a re-centred frame
// that would pass ±10000 is not taken at all, only a zoomed one that stays
// inside. Returns true when frame changed.
bool clickZoom(CoordFrame &frame, const GraphView &view, int px, int py, ZoomButton button);

} // namespace gq
