#include "tools/column_runs.h"

#include <algorithm>

namespace gq
{

void ColumnRuns::line(int x, int from, int to, uint32_t colour)
{
    if (from == to)
        return;
    run(x, from, from < to ? to - 1 : to + 1, colour);
}

void ColumnRuns::run(int x, int y0, int y1, uint32_t colour)
{
    const int lo = std::min(y0, y1), hi = std::max(y0, y1);
    // The union of two overlapping or touching runs is one run.
    if (pending_ && x == x_ && colour == colour_ && lo <= hi_ + 1 && hi >= lo_ - 1) {
        lo_ = std::min(lo_, lo);
        hi_ = std::max(hi_, hi);
        return;
    }
    flush();
    pending_ = true;
    x_ = x;
    lo_ = lo;
    hi_ = hi;
    colour_ = colour;
}

void ColumnRuns::flush()
{
    if (!pending_)
        return;
    pending_ = false;
    if (x_ < 0 || x_ >= canvas_.width())
        return;
    const int lo = std::max(lo_, 0), hi = std::min(hi_, canvas_.height() - 1);
    for (int y = lo; y <= hi; ++y)
        canvas_.setPixel(x_, y, colour_);
}

} // namespace gq
