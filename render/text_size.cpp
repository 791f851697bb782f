#include "render/text_size.h"

namespace gq
{

namespace
{
struct SizeEntry {
    TextSize size;
    const char *name;
    double scale;
};
// The factors are whole points at the standard sizes: 8-point tick labels
// become 12 and 16 points, the 10-point list 15 and 20.
constexpr SizeEntry kSizes[] = {
    {TextSize::Standard, "standard", 1.0},
    {TextSize::Large, "large", 1.5},
    {TextSize::ExtraLarge, "extra-large", 2.0},
};

const SizeEntry &entryOf(TextSize size)
{
    for (const SizeEntry &e : kSizes)
        if (e.size == size)
            return e;
    return kSizes[0];
}
} // namespace

double textScale(TextSize size)
{
    return entryOf(size).scale;
}

const char *textSizeName(TextSize size)
{
    return entryOf(size).name;
}

std::optional<TextSize> textSizeNamed(std::string_view name)
{
    for (const SizeEntry &e : kSizes)
        if (name == e.name)
            return e.size;
    return std::nullopt;
}

} // namespace gq
