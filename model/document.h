// The document: registered items, definitions, the coordinate frame, the
// parameter values and the view flags. One instance is owned by the main
// window and passed by reference.
#pragma once

#include "engine/engine_state.h"
#include <array>
#include <cstdint>
#include <string>

namespace gq
{

// Item kinds (the numbers are stored in equation files).
enum ItemKind : uint8_t {
    KindDerivative = 0, // derivative of item 1; text[1] holds its formula
    KindExplicit = 1,   // y = f(x)
    KindImplicit = 2,   // f(x, y) = 0
    KindParametric = 3, // x = text[1], y = text[2], t from text[3] to text[4]
    KindPolar = 4,      // r = text[1] (= text[2]), t from text[3] to text[4]
    KindPoint = 5,      // (text[1], text[2])
    KindSegment = 6,    // (text[1], text[2]) - (text[3], text[4])
};

// One registered item. Texts are Shift-JIS formula texts; text[0] is unused so
// that text[1..4] match the numbering used everywhere else.
struct Item {
    uint8_t kind = KindExplicit;
    std::array<std::string, 5> text{};
    uint8_t asymptote = 0;  // registered by the explicit-function command: mark jumps
    uint8_t afterimage = 1; // "残像" setting
    uint8_t usesParam = 0;  // some formula contains a parameter letter
    uint32_t colour = 0;    // 0x00BBGGRR
    uint8_t penWidth = 1;   // 1..3 pixels
};
// A reset record: explicit, four empty texts, afterimage on, black, pen width 1.
inline void resetItem(Item &item)
{
    item = Item{};
}

// The visible range. Invariant: xmin < xmax, ymin < ymax, all within
// ±kFrameLimit (see isValidFrame).
struct CoordFrame {
    long double xmin = -5, xmax = 5, ymin = -5, ymax = 5;
    bool operator==(const CoordFrame &) const = default;
};

// The largest magnitude of a frame bound; equation files hold no other.
inline constexpr long double kFrameLimit = 10000;

// A proper range within the limit: xmin < xmax, ymin < ymax and every bound
// within ±kFrameLimit (NaN fails). Every change of the frame keeps to it, so
// that a saved document can always be read back.
inline bool isValidFrame(const CoordFrame &f)
{
    const auto within = [](long double v) { return v >= -kFrameLimit && v <= kFrameLimit; };
    return within(f.xmin) && within(f.xmax) && within(f.ymin) && within(f.ymax) && f.xmin < f.xmax &&
           f.ymin < f.ymax;
}

inline constexpr int kMaxItems = 10;
inline constexpr int kMaxDefinitions = 6;

struct Document : DefinitionSource {
    // Items 1..itemCount are in use (index 0 unused); later entries are ignored.
    std::array<Item, kMaxItems + 1> items{};
    int itemCount = 0;
    Item currentItem{}; // the item being filled in by a registration command

    // F1..F6 and Q1..Q6 (index 0 unused); entries above the counts are ignored.
    std::array<std::string, kMaxDefinitions + 1> functionTexts{};
    int functionCount = 0;
    std::array<std::string, kMaxDefinitions + 1> constantTexts{};
    int constantCount = 0;

    CoordFrame frame{};
    // The values of the parameter letters (a, b, c, d, f, j, n and θ are the
    // ones a user changes; equation files keep a, b, c, d and f).
    Parameters parameters = Parameters::defaults();
    uint8_t showGrid = 0;
    uint8_t showScale = 1;
    uint8_t overlayMode = 0;

    std::string functionText(int n) const override
    {
        return (n >= 1 && n <= functionCount) ? functionTexts[n] : std::string();
    }
    std::string constantText(int n) const override
    {
        return (n >= 1 && n <= constantCount) ? constantTexts[n] : std::string();
    }
};

} // namespace gq
