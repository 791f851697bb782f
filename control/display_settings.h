// The program's own settings, kept between runs for the user who runs it
// (QSettings of the organisation and application "Graphotheque"), never in
// equation files: the text size and the main window's place.
#pragma once

#include "render/text_size.h"
#include <QRect>
#include <optional>

namespace gq
{

// The stored text size; Standard when none is stored or the stored one is
// not known.
TextSize storedTextSize();
// Stores the text size for the next run.
void storeTextSize(TextSize size);

// Where the main window was when the program last ended: its client area
// (in the toolkit's device-independent pixels) as it is when not maximized,
// and whether it was maximized.
struct WindowPlace {
    QRect geometry;
    bool maximized = false;
};
// The stored place; none when none is stored or the stored one is empty.
std::optional<WindowPlace> storedMainWindowPlace();
void storeMainWindowPlace(QRect geometry, bool maximized);

} // namespace gq
