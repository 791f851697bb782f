// The text size for a projector: the standard size and two larger ones. The
// list panel, the status lines and the graph's tick labels are drawn this
// many times as large as at the standard size.
#pragma once

#include <optional>
#include <string_view>

namespace gq
{

enum class TextSize { Standard, Large, ExtraLarge };

// 1 for Standard, 1.5 for Large, 2 for ExtraLarge.
double textScale(TextSize size);

// The names in settings and on the command line: "standard", "large",
// "extra-large". textSizeNamed answers nothing for any other text.
const char *textSizeName(TextSize size);
std::optional<TextSize> textSizeNamed(std::string_view name);

} // namespace gq
