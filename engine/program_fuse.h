// Fusing small operations into their parents while a Program is built.
// Internal to the engine (program.cpp).
#pragma once

#include "engine/program.h"

#include <cstdint>
#include <vector>

namespace gq::program_detail
{

// After the steps are laid (kinds, sources, needs, flags): a number times a
// letter and a letter to a number power 0, 1, 2, ... whose steps compute the
// value alone become operands computed in place by their parent, where the
// parent has code for that shape. Their steps move behind the other
// operations (they no longer run on their own), so the same values are
// computed in the same order with one dispatch and one register round trip
// fewer each. operations becomes the number of steps that run; root follows
// its step.
void fuseOperands(std::vector<Step> &steps, std::vector<Slot> &slots, uint32_t &operations, uint32_t &root);

} // namespace gq::program_detail
