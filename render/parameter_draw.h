// The drawing of the parameter animation. The stored image keeps what stays
// from step to step (axes, the items that use no parameter, afterimages and
// point loci); the visible picture is the stored image with the moving items
// of the current step drawn over it, gone at the next step.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include "render/plot_point.h"
#include <array>
#include <functional>

namespace gq
{

// What the moving items leave behind.
struct AnimationFlags {
    // By item index 1..kMaxItems: the item's moving picture stays on the
    // stored image. Read only for items that use a parameter.
    std::array<bool, kMaxItems + 1> afterimageActive{};
    // Point items draw the way from their previous position to the new one
    // onto the stored image.
    bool locus = false;
};

// The part of the background after the axes: every item that uses no
// parameter (Item::usesParam 0), onto the stored image. Point items update
// their entries of points.
void drawFixedItems(Canvas &stored, const GraphView &view, const Document &doc, PointTable &points);

// The locus of point item index since its previous position, onto the stored
// image. An undefined position draws nothing and makes the previous position
// invalid. Otherwise a line in the item's colour and pen width joins the
// previous position to the new one when the previous one is valid and one of
// the two lies in the frame (bounds included); else only the new position is
// set as one pixel. The previous position itself changes only where the point
// is drawn.
void drawLocusSegment(Canvas &stored, const GraphView &view, const Document &doc, int index,
                      PointTable &points);

// Shows the stored image (a plain copy or the interval overlay over it) and
// returns the visible picture the step finishes on.
using ShowStoredImage = std::function<Canvas &(const Canvas &stored)>;

// One draw step with the document's current parameter values:
// 1. item by item: a point's locus segment when flags.locus is on; an item
//    that uses a parameter and whose afterimage is active, onto the stored
//    image;
// 2. show(stored);
// 3. onto the returned visible picture, every item that uses a parameter
//    without an active afterimage, and every point item.
void drawAnimationStep(Canvas &stored, const GraphView &view, const Document &doc,
                       const AnimationFlags &flags, PointTable &points, const ShowStoredImage &show);

} // namespace gq
