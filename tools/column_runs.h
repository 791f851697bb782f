// Vertical runs of pixels in one column, merged before they are painted.
//
// At the most strips a Riemann sum has dozens of strips to a pixel column,
// and each strip narrower than a pixel paints nothing but a vertical run of
// its column. Consecutive runs of one column and one colour that overlap or
// touch paint exactly their union, so they are merged and painted once; any
// other drawing must flush the pending run first, which keeps the picture
// exactly what drawing every strip on its own would give.
#pragma once

#include "platform/canvas.h"

namespace gq
{

class ColumnRuns
{
  public:
    // canvas is not owned and must outlive this object.
    explicit ColumnRuns(Canvas &canvas) : canvas_(canvas) {}
    ~ColumnRuns() { flush(); }
    ColumnRuns(const ColumnRuns &) = delete;
    ColumnRuns &operator=(const ColumnRuns &) = delete;

    // The pixels a 1-pixel pen paints from (x, from) to (x, to), the end pixel
    // excluded: nothing when from == to.
    void line(int x, int from, int to, uint32_t colour);
    // Rows y0..y1 of column x, both included, in any order.
    void run(int x, int y0, int y1, uint32_t colour);
    // Paints the pending run.
    void flush();

  private:
    Canvas &canvas_;
    bool pending_ = false;
    int x_ = 0, lo_ = 0, hi_ = 0;
    uint32_t colour_ = 0;
};

} // namespace gq
