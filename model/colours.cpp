#include "model/colours.h"

namespace
{
int IndexOf(uint32_t colour)
{
    for (std::size_t i = 0; i < kItemColours.size(); ++i)
        if (kItemColours[i] == colour)
            return static_cast<int>(i);
    return -1;
}
} // namespace

void ColourPanelState::Take(uint32_t colour)
{
    if (int i = IndexOf(colour); i >= 0)
        offered[i] = false;
}

void ColourPanelState::Release(uint32_t colour)
{
    if (int i = IndexOf(colour); i >= 0)
        offered[i] = true;
}

bool ColourPanelState::IsOffered(uint32_t colour) const
{
    int i = IndexOf(colour);
    return i >= 0 && offered[i];
}
