// Whole formulas of a single step that run in a function of their own.
// Internal to the engine (program.cpp, eval_whole.cpp).
#pragma once

#include "engine/program.h"

#include <cstdint>

namespace gq::eval_detail
{

// The function that evaluates a whole formula whose only step is of this
// kind; kind must be one of the whole-formula kinds (isWholeKind).
program_detail::WholeFormula wholeFormula(uint8_t kind);

} // namespace gq::eval_detail
