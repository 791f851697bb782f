// The busy document of the drawing benchmarks: ten items of every kind, a
// function with poles and its derivative, a circle, the closed curves of
// sin(x)+sin(y)-1.5, a parametric and a polar curve, two points, a segment
// and tan x.
#pragma once

#include "engine/engine.h"
#include "model/document.h"
#include "platform/canvas.h"

#include <string>

namespace gq::bench
{

inline void addItem(Document &doc, uint8_t kind, const std::string &t1, const std::string &t2,
                    const std::string &t3, const std::string &t4, uint32_t colour, uint8_t asymptote = 0)
{
    Item &item = doc.items[++doc.itemCount];
    item.kind = kind;
    item.text = {"", t1, t2, t3, t4};
    item.colour = colour;
    item.asymptote = asymptote;
}

inline Document busyDocument()
{
    const std::string pi = "\x83\xCE";
    Document doc;
    const std::string f = "1/(x^2-1)";
    addItem(doc, KindExplicit, f, "", "", "", rgbColour(0, 0, 0), 1);
    engineState().parseOK = true;
    std::string df = derivativeText(f, OpX);
    if (!engineState().parseOK || df.empty())
        df = "-2x/(x^2-1)^2";
    addItem(doc, KindDerivative, df, "", "", "", rgbColour(0, 0, 255));
    addItem(doc, KindImplicit, "x^2+y^2-4", "", "", "", rgbColour(0, 0, 128));
    addItem(doc, KindImplicit, "sin(x)+sin(y)-1.5", "", "", "", rgbColour(0, 128, 128));
    addItem(doc, KindParametric, "3cos(t)", "2sin(3t)", "0", "2" + pi, rgbColour(128, 128, 0));
    addItem(doc, KindPolar, "1+cos(t)", "1+cos(t)", "0", "2" + pi, rgbColour(128, 0, 0));
    addItem(doc, KindPoint, "1", "2", "", "", rgbColour(0, 128, 0));
    addItem(doc, KindPoint, "-3", "P/2", "", "", rgbColour(255, 0, 0));
    addItem(doc, KindSegment, "-4", "-1", "6", "3", rgbColour(255, 0, 255));
    addItem(doc, KindExplicit, "tan(x)", "", "", "", rgbColour(128, 0, 128), 1);
    return doc;
}

} // namespace gq::bench
