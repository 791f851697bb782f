#include "model/colours.h"

namespace gq
{

namespace
{
int indexOf(uint32_t colour)
{
    for (std::size_t i = 0; i < kItemColours.size(); ++i)
        if (kItemColours[i] == colour)
            return static_cast<int>(i);
    return -1;
}
} // namespace

void ColourPanelState::take(uint32_t colour)
{
    if (int i = indexOf(colour); i >= 0)
        offered[i] = false;
}

void ColourPanelState::release(uint32_t colour)
{
    if (int i = indexOf(colour); i >= 0)
        offered[i] = true;
}

bool ColourPanelState::isOffered(uint32_t colour) const
{
    int i = indexOf(colour);
    return i >= 0 && offered[i];
}

} // namespace gq
