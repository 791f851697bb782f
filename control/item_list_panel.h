// The item list panel at the left of the main window: the defined functions
// and constants, then one entry per registered item, each in the item's
// colour, formulas wrapped to the panel width.
#pragma once

#include "model/document.h"
#include <QString>
#include <cstdint>

namespace gq
{

// What the list drawing needs from a surface. Coordinates are pixels from the
// panel's top left; colours are 0x00BBGGRR.
class ListSurface
{
  public:
    virtual ~ListSurface() = default;
    virtual int width() const = 0;
    virtual void clear() = 0; // fill white
    virtual void setTextColour(uint32_t colour) = 0;
    virtual void drawText(int x, int y, const QString &text) = 0; // top-left corner
    virtual int textWidth(const QString &text) const = 0;
    virtual void drawLine(int x0, int y0, int x1, int y1) = 0; // black, one pixel
};

inline constexpr int kListLineHeight = 15;

// The heading and value label of each kind.
QString kindName(uint8_t kind);
QString kindHeadingSuffix(uint8_t kind);
QString kindLabel(uint8_t kind);

// Draws the list. listY is the running text position, kept between calls so
// that an entry can be drawn after the list (the registration preview).
class ItemListPainter
{
  public:
    explicit ItemListPainter(ListSurface &surface) : surface_(surface) {}

    // Clears the panel and draws definitions and items 1..itemCount.
    void redrawItemList(const Document &doc);
    // Draws one entry at listY and advances listY past it.
    void renderItemEntry(const Item &item);
    // Writes text at x = 40 on as many lines as the panel width needs.
    void wrapText(const QString &text);

    int listY = 0;

  private:
    void writeAt(int x, const QString &text);
    ListSurface &surface_;
};

// A formula text (Shift-JIS bytes) for display.
QString formulaForDisplay(const std::string &text);

} // namespace gq
