// The colours of the tangent and mean-rate demonstrations (0x00BBGGRR).
#pragma once

#include "platform/canvas.h"

namespace gq
{

inline constexpr uint32_t kContactPointColour = rgbColour(0, 0, 255); // P and its legend dot
inline constexpr uint32_t kSlopePointColour = rgbColour(255, 0, 0);   // (X, f'(X)) and its legend dot
inline constexpr uint32_t kTangentColour = rgbColour(128, 0, 255);    // tangent, secant, legend line
inline constexpr uint32_t kSlopeTraceColour = rgbColour(255, 0, 128); // the trace of f'
inline constexpr uint32_t kPointAColour = rgbColour(207, 113, 7);     // A and its label
inline constexpr uint32_t kPointBColour = rgbColour(255, 0, 128);     // B and its label
inline constexpr uint32_t kSecantColour = kTangentColour;

} // namespace gq
