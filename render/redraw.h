// The graph picture and its full redraw, and the dispatch of one registered
// item to the plotter of its kind.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include "render/plot_point.h"
#include "render/text_size.h"
#include <functional>

namespace gq
{

// Draws item doc.items[index] (1..doc.itemCount) onto the canvas in the
// given view: derivative and explicit function, implicit curve, parametric
// curve, polar curve, point (updating (*points)[index] when points is given)
// and segment. Formulas that do not parse draw nothing. The engine's
// definition source must already be the document (redrawGraph sets it).
void drawItem(Canvas &canvas, const GraphView &view, const Document &doc, int index,
              PointTable *points = nullptr);

// What a redraw hands on to the window that shows the graph. Every hook may
// be left empty.
struct RedrawHooks {
    // Refresh the range status line; called whenever the axes are drawn.
    std::function<void()> updateRangeStatus;
    // While it answers true, drawIntervalOverlay finishes and shows the
    // picture instead of present.
    std::function<bool()> intervalActive;
    std::function<void(const Canvas &graphImage)> drawIntervalOverlay;
    // Draws what the window keeps on the graph besides the items (a trace a
    // tool left) into the stored picture, after the items.
    std::function<void(Canvas &graphImage, const GraphView &view)> drawKept;
    // Copy the finished picture to the visible graph.
    std::function<void(const Canvas &graphImage)> present;
};

// How a redraw draws what is not the document's: settings of the program
// and of the command line, never stored in equation files.
struct RenderOptions {
    // The size of the tick labels.
    TextSize tickLabels = TextSize::Standard;
};

// Owns the off-screen graph picture graphImage (graphSize x graphSize), the
// view of the latest redraw and the point table.
//
// On a screen of higher density the picture has the screen's pixels: its side
// is the layout's side times the pixel scale, the view maps the frame onto all
// of them, and pens, dots and text grow with the scale (platform/canvas.h), so
// curves are drawn at the screen's own resolution. At pixel scale 1 the
// picture is that of the layout, pixel for pixel.
class GraphRenderer
{
  public:
    // graphSize: the picture's side in its own pixels; pixelScale: its
    // pixels per layout pixel.
    explicit GraphRenderer(int graphSize, double pixelScale = 1.0);

    // The full redraw: unless doc.overlayMode is 1 starts a fresh white
    // picture and draws the axes (in overlay mode keeps the picture and only
    // recomputes the view); draws the items (drawItems) and what the window
    // keeps (hooks.drawKept); then hands the
    // picture to the interval overlay when it is active, else to present.
    void redrawGraph(const Document &doc);

    // The start of a fresh picture: graphImage white, the axes drawn for the
    // document's frame, the view recomputed (updateRangeStatus is called).
    void startPicture(const Document &doc);
    // The end of a redraw: hands graphImage to the interval overlay when it
    // is active, else to present.
    void showPicture();
    // A blank picture of another side (at least 1; the window was resized or
    // moved to a screen of another density), with the view of the same frame
    // at that size. The next redraw draws at it.
    void resize(int graphSize, double pixelScale = 1.0);

    Canvas &graphImage() { return image_; }
    const Canvas &graphImage() const { return image_; }
    int graphSize() const { return image_.width(); }
    double pixelScale() const { return image_.pixelScale(); }
    // The mapping of the latest redraw (the default frame before the first).
    const GraphView &view() const { return view_; }
    // Last drawn (p, q) of every point item, by item index.
    PointTable &points() { return points_; }
    const PointTable &points() const { return points_; }

    RedrawHooks hooks;
    // Read by every redraw that draws the axes.
    RenderOptions options;

  private:
    Canvas image_;
    GraphView view_;
    PointTable points_{};
};

} // namespace gq
