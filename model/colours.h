// The ten item colours and which of them are still free: no two registered
// items share a colour, and a removed item's colour is offered again.
#pragma once

#include <array>
#include <cstdint>

namespace gq
{

// The ten item colours, 0x00BBGGRR, in swatch order.
inline constexpr std::array<uint32_t, 10> kItemColours = {0,   16711680, 8388608, 8421376,  32896,
                                                          128, 32768,    255,     16711935, 8388736};
inline constexpr uint32_t kNoColourChosen = 16776960;

// Which item colours the panel offers. Persists between uses.
struct ColourPanelState {
    std::array<bool, 10> offered{true, true, true, true, true, true, true, true, true, true};
    void reset() { offered.fill(true); }
    void take(uint32_t colour);
    void release(uint32_t colour);
    bool isOffered(uint32_t colour) const;
};

} // namespace gq
