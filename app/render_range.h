// graphotheque-render's --range XMIN XMAX YMIN YMAX: the frame to draw the
// document over instead of the file's.
#pragma once

#include "model/document.h"
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace gq
{

// The four texts as given: numbers or number formulas ("-2.5", "2π", "Q1").
using RangeTexts = std::array<QString, 4>;

// At args[i] == "--range": takes the four values after it (which may start
// with "-") and moves i to the last of them. False when fewer than four
// follow.
bool takeRangeOption(const QStringList &args, int &i, RangeTexts &texts);

// The frame of the four texts, each evaluated as a number formula (no x, y,
// z or t) with the document's definitions and parameters, under the rule for
// typed bounds of
// the range dialog: xmin < xmax, ymin < ymax, every bound strictly inside
// ±10000. Otherwise nothing, and error names the problem in one line.
std::optional<CoordFrame> evaluateRange(const RangeTexts &texts, const Document &doc, QString &error);

} // namespace gq
