// The two status lines under the graph: the range line and the parameter
// line, and the scan that finds which parameter letters the items use.
#pragma once

#include "model/document.h"
#include <QString>
#include <array>

namespace gq
{

// "0.000": fixed notation, three decimals, at least one integer digit, a minus
// sign only when the rounded value is not zero.
QString formatFixed3(long double value);

// The range line for a frame, e.g. "x座標:  -5.000 ≦ｘ≦ 5.000 ...".
QString rangeStatusText(const CoordFrame &frame);

// Which of the letters with codes 10001..10021 some item uses; index = code -
// 10000 (index 0 is unused).
using UsedParamTable = std::array<bool, 22>;

// Recomputes the used letters from items 1..itemCount and stores each item's
// uses-parameter flag. A letter counts when it occurs in text[1]; for kinds 3,
// 5 and 6 also in text[2..4]; for kind 4 also in text[3..4]. Parses the texts
// with the document's definitions.
UsedParamTable scanUsedParams(Document &doc);

// The parameter line from the used letters and the current parameter values:
// "a = 1.500 " ... then "θ= 0.500π " with θ shown as a multiple of π. Letters
// other than a, b, c, d, f, j, n and θ count as used but are not listed.
QString paramStatusText(const UsedParamTable &used, const Parameters &params);

// True when any of the 21 letters is used.
bool anyParamUsed(const UsedParamTable &used);

} // namespace gq
