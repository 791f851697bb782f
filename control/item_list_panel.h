// The item list panel at the left of the main window: the defined functions
// and constants, then one entry per registered item, each in the item's
// colour, formulas wrapped to the panel width.
#pragma once

#include "model/document.h"
#include <QString>
#include <array>
#include <cstdint>

namespace gq
{

// What the list drawing needs from a surface. Coordinates, widths and the
// panel's width are pixels of the list at its standard text size, from the
// panel's top left: a surface that shows larger text draws them that many
// times larger. Colours are 0x00BBGGRR.
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
    // The whole list has been drawn, from the top down to bottom.
    virtual void listDrawn(int bottom) { (void)bottom; }
    // One entry has been drawn after the list, from top to bottom: the user
    // is to see it (the registration preview).
    virtual void entryAppended(int top, int bottom)
    {
        (void)top;
        (void)bottom;
    }
};

inline constexpr int kListLineHeight = 15;
// The value column starts at least this far from the panel's left edge, and
// at least kListLabelGap pixels after the widest label the list draws.
inline constexpr int kListValueColumn = 40;
inline constexpr int kListLabelGap = 4;

// What the list writes after a formula text that does not parse (an equation
// file may hold one), so that the teacher finds it and corrects it.
enum class TextMark : uint8_t {
    None,
    Unparsable, // "（式が正しくありません）"
    TooComplex, // parses, but past the formula budget: "（式が複雑すぎます）"
};
QString markText(TextMark mark); // empty for None

// The heading and value label of each kind.
QString kindName(uint8_t kind);
QString kindHeadingSuffix(uint8_t kind);
QString kindLabel(uint8_t kind);

// The marks of one item's texts, by index 1..4 (0 unused).
using TextMarks = std::array<TextMark, 5>;

// Draws the list. listY is the running text position, kept between calls so
// that an entry can be drawn after the list (the registration preview).
// Labels are written at x = 1 and values in the value column, which starts
// after the widest label the list draws (never before x = 40), so that no
// label runs into its value.
class ItemListPainter
{
  public:
    explicit ItemListPainter(ListSurface &surface) : surface_(surface) {}

    // Clears the panel and draws definitions and items 1..itemCount, each text
    // that does not parse followed by its markText().
    void redrawItemList(const Document &doc);
    // Draws one entry at listY and advances listY past it; the value column
    // widens for its labels if needed. marks are its texts' marks (null: none).
    // The heading and the range of t wrap where the panel is narrower than
    // they are.
    void renderItemEntry(const Item &item, const TextMarks *marks = nullptr);
    // Writes text in the value column on as many lines as the panel width
    // needs: whole when it fits in the width - 10 - column, otherwise in
    // pieces of at most width - 20 - column (at column 40: width - 50 and
    // width - 60).
    void wrapText(const QString &text);

    int listY = 0;
    int valueColumn() const { return valueColumn_; }

  private:
    void drawEntry(const Item &item, const TextMarks *marks);
    void writeAt(int x, const QString &text);
    // Writes text from x on, on as many lines as the panel's width needs,
    // breaking after a blank or a comma where there is one; listY ends below.
    void writeLines(int x, const QString &text);
    void makeRoomFor(const QString &label);
    void widenForItem(const Item &item);
    ListSurface &surface_;
    int valueColumn_ = kListValueColumn;
};

// A formula text (Shift-JIS bytes) for display.
QString formulaForDisplay(const std::string &text);

// Why the calculus tools cannot use item 1's formula: its entry as the list
// writes it, label, text and mark ("f(x)=x^^2（式が正しくありません）"); empty
// when the formula can be used (or there is no item 1).
QString unusableFunctionMessage(const Document &doc);

} // namespace gq
