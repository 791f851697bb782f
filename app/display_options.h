// The display options of graphotheque-render: how large the tick labels are,
// and how many pixels of the picture make one pixel of the graph (a picture
// for a screen or a print of higher density).
//
//   --text-size standard|large|extra-large   (default standard)
//   --pixel-ratio R                          (1 to 4, default 1)
//
// With --pixel-ratio R the picture is rnd(N * R) pixels square for --size N,
// and pens, dots, text and the axes' offsets grow with it, as on a screen at
// that scale.
#pragma once

#include "render/text_size.h"
#include <QString>
#include <QStringList>

namespace gq
{

struct DisplayOptions {
    TextSize textSize = TextSize::Standard;
    double pixelRatio = 1.0; // 1..4
};

// Takes every "--text-size SIZE", "--text-size=SIZE", "--pixel-ratio R" and
// "--pixel-ratio=R" out of args (the program's arguments) into options, the
// last of each winning. Returns an empty text when all were good; otherwise
// the one line to print (an unknown size, a ratio that is not a number from 1
// to 4, a missing value).
QString takeDisplayOptions(QStringList &args, DisplayOptions &options);

// The lines of the options in the usage text.
QString displayOptionsUsage();

} // namespace gq
