// The program's own settings, kept between runs for the user who runs it
// (QSettings of the organisation and application "Graphotheque"), never in
// equation files: today the text size.
#pragma once

#include "render/text_size.h"

namespace gq
{

// The stored text size; Standard when none is stored or the stored one is
// not known.
TextSize storedTextSize();
// Stores the text size for the next run.
void storeTextSize(TextSize size);

} // namespace gq
