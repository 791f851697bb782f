#include "render/graph_view.h"

#include "engine/numbers.h"

#include <cmath>
#include <cstdio>

namespace gq
{

GraphView::GraphView(const CoordFrame &frame, int graphSize)
    : frame_(frame), size_(graphSize < 1 ? 1 : graphSize)
{
    // The spans are rounded to single precision before the pixel size is taken.
    xPerPixel_ = static_cast<long double>(static_cast<float>(frame_.xmax - frame_.xmin)) / size_;
    yPerPixel_ = static_cast<long double>(static_cast<float>(frame_.ymax - frame_.ymin)) / size_;
    xClampLo_ = frame_.xmin - 100 * xPerPixel_;
    xClampHi_ = frame_.xmax + 100 * xPerPixel_;
    yClampLo_ = frame_.ymin - 100 * yPerPixel_;
    yClampHi_ = frame_.ymax + 100 * yPerPixel_;
}

namespace
{

// Nearest integer, halves to even. The clamp of the mapping keeps v within
// about 100 pixels of the canvas; a degenerate frame (equal bounds) could still
// give NaN or infinity here, which must never reach the integer conversion.
int roundPixel(long double v, int size)
{
    if (std::isnan(v))
        return -100;
    const long double lo = -101, hi = static_cast<long double>(size) + 101;
    // roundHalfEven rounds as nearbyint does in the default rounding mode,
    // without the library's saving and restoring of the floating-point state.
    return integralToInt(roundHalfEven(v < lo ? lo : (v > hi ? hi : v)));
}

} // namespace

int GraphView::xToPixel(long double x) const
{
    if (std::isnan(x))
        return -100;
    if (x > xClampHi_)
        return size_ + 100;
    if (x < xClampLo_)
        return -100;
    return roundPixel((x - frame_.xmin) * size_ / (frame_.xmax - frame_.xmin), size_);
}

int GraphView::yToPixel(long double y) const
{
    if (std::isnan(y))
        return -100;
    if (y > yClampHi_)
        return -100;
    if (y < yClampLo_)
        return size_ + 100;
    return roundPixel((frame_.ymax - y) * size_ / (frame_.ymax - frame_.ymin), size_);
}

bool GraphView::isInFrame(long double x, long double y) const
{
    return frame_.xmin <= x && x <= frame_.xmax && frame_.ymin <= y && y <= frame_.ymax;
}

int tickStep(float span)
{
    const long double n = std::nearbyint(static_cast<long double>(span) * 100);
    struct Row {
        long double upTo;
        int step;
    };
    static constexpr Row kRows[] = {
        {15, 1},         {31, 2},         {60, 4},         {79, 5},         {159, 10},
        {319, 20},       {499, 40},       {799, 50},       {1599, 100},     {3999, 200},
        {7999, 500},     {15999, 1000},   {25999, 2000},   {39999, 2500},   {79999, 5000},
        {159999, 10000}, {259999, 20000}, {399999, 25000}, {799999, 50000}, {1000000, 100000},
    };
    if (!(n >= 4)) // below 4, or NaN
        return 200000;
    for (const Row &r : kRows)
        if (n <= r.upTo)
            return r.step;
    return 200000;
}

std::string tickLabelFormat(int step)
{
    if (step >= 1 && step <= 5)
        return "0.00";
    if (step >= 10 && step <= 50)
        return "0.0";
    return "0";
}

std::string formatFixed(long double v, const std::string &pattern)
{
    const auto dot = pattern.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
    // A long double may have up to 4933 integer digits: the text is as long
    // as the value needs, never cut to a buffer.
    const int length = std::snprintf(nullptr, 0, "%.*Lf", decimals, v);
    if (length <= 0)
        return std::string();
    std::string s(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(s.data(), s.size(), "%.*Lf", decimals, v);
    s.resize(static_cast<std::size_t>(length));
    // A value that rounds to zero is written without a sign.
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

long double lineYAtX(long double x, long double x1, long double y1, long double x2, long double y2)
{
    return y1 + (x - x1) * (y2 - y1) / (x2 - x1);
}

long double lineXAtY(long double y, long double x1, long double y1, long double x2, long double y2)
{
    return x1 + (y - y1) * (x2 - x1) / (y2 - y1);
}

} // namespace gq
