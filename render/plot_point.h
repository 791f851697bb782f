// Point items and the point mark.
#pragma once

#include "model/document.h"
#include "platform/canvas.h"
#include "render/graph_view.h"
#include <array>

namespace gq
{

// The last drawn position of a point item and whether it was defined.
struct PointEntry {
    long double p = 0, q = 0;
    bool defined = false;
};
// By item index 1..kMaxItems (index 0 unused).
using PointTable = std::array<PointEntry, kMaxItems + 1>;

// The point mark: a filled ellipse in the pixel box 4 pixels wide around the
// point (right and bottom edges exclusive; 4 times the canvas's pixel scale),
// pen and brush as given.
void drawPointMark(Canvas &canvas, const GraphView &view, uint32_t penColour, uint32_t brushColour, int width,
                   long double x, long double y);

// Evaluates p = text[1] and q = text[2]; when both are defined draws the mark
// in the item colour and width and stores (p, q) in entry. entry->defined
// becomes whether both were defined. entry may be null.
void drawPointItem(Canvas &canvas, const GraphView &view, const Item &item, PointEntry *entry = nullptr);

} // namespace gq
