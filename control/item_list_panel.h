// The item list panel at the left of the main window: the defined functions
// and constants, then one entry per registered item, each in the item's
// colour, formulas wrapped to the panel width.
#pragma once

#include "model/document.h"
#include <QString>
#include <cstdint>

// What the list drawing needs from a surface. Coordinates are pixels from the
// panel's top left; colours are 0x00BBGGRR.
class ListSurface
{
  public:
    virtual ~ListSurface() = default;
    virtual int Width() const = 0;
    virtual void Clear() = 0; // fill white
    virtual void SetTextColour(uint32_t colour) = 0;
    virtual void DrawText(int x, int y, const QString &text) = 0; // top-left corner
    virtual int TextWidth(const QString &text) const = 0;
    virtual void DrawLine(int x0, int y0, int x1, int y1) = 0; // black, one pixel
};

inline constexpr int kListLineHeight = 15;

// The heading and value label of each kind.
QString KindName(uint8_t kind);
QString KindHeadingSuffix(uint8_t kind);
QString KindLabel(uint8_t kind);

// Draws the list. ListY is the running text position, kept between calls so
// that an entry can be drawn after the list (the registration preview).
class ItemListPainter
{
  public:
    explicit ItemListPainter(ListSurface &surface) : surface_(surface) {}

    // Clears the panel and draws definitions and items 1..ItemCount.
    void RedrawItemList(const Document &doc);
    // Draws one entry at ListY and advances ListY past it.
    void RenderItemEntry(const Tfuncprop &item);
    // Writes text at x = 40 on as many lines as the panel width needs.
    void WrapText(const QString &text);

    int ListY = 0;

  private:
    void WriteAt(int x, const QString &text);
    ListSurface &surface_;
};

// A formula text (Shift-JIS bytes) for display.
QString FormulaForDisplay(const std::string &text);
