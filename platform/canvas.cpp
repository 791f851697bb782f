#include "platform/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace gq
{

namespace
{

// 96 dots per inch, so that a font size in points gives the pixel height the
// graph's layout expects (8 pt = 11 pixels, 9 pt = 12 pixels).
constexpr int kDotsPerMeter = 3780;

QFont canvasFont(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                      QStringLiteral("TakaoGothic"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(1, points));
    // Text pixels must carry exactly the font colour (no blended edges).
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

Canvas::Canvas(int width, int height, double pixelScale)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32)
{
    setPixelScale(pixelScale);
    image_.fill(toQRgb(kWhite));
}

void Canvas::setPixelScale(double scale)
{
    pixelScale_ = std::isfinite(scale) ? std::clamp(scale, 0.25, 8.0) : 1.0;
    // Font sizes in points follow the resolution, so text grows with the scale.
    const int dotsPerMeter = static_cast<int>(std::lround(kDotsPerMeter * pixelScale_));
    image_.setDotsPerMeterX(dotsPerMeter);
    image_.setDotsPerMeterY(dotsPerMeter);
}

int Canvas::scaled(int n) const
{
    return static_cast<int>(std::nearbyint(n * pixelScale_));
}

int Canvas::penPixels() const
{
    return std::max(1, scaled(penWidth_));
}

void Canvas::clear(uint32_t colour)
{
    image_.fill(toQRgb(colour));
}

void Canvas::reset()
{
    // A picture of 1800 pixels square is 13 MB: allocating it afresh for
    // every redraw costs more in page faults than filling it.
    const Canvas fresh(1, 1, pixelScale_);
    QImage pixels;
    pixels.swap(image_);
    *this = fresh;
    image_.swap(pixels);
    setPixelScale(fresh.pixelScale_);
    clear();
}

void Canvas::setPenWidth(int width)
{
    penWidth_ = std::clamp(width, 1, 3);
}

void Canvas::setFontSize(int points)
{
    fontSize_ = std::clamp(points, 1, 200);
}

void Canvas::moveTo(int x, int y)
{
    penX_ = x;
    penY_ = y;
}

void Canvas::plot(int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    reinterpret_cast<QRgb *>(image_.scanLine(y))[x] = c;
}

Canvas::Pixels Canvas::pixels()
{
    QRgb *bits = reinterpret_cast<QRgb *>(image_.bits());
    return {bits, image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)), image_.width(), image_.height()};
}

void Canvas::square(const Pixels &p, int x, int y, int side, QRgb c)
{
    const int lo = -((side - 1) / 2), hi = side / 2;
    const int x0 = std::max(0, x + lo), x1 = std::min(p.width - 1, x + hi);
    const int y0 = std::max(0, y + lo), y1 = std::min(p.height - 1, y + hi);
    for (int py = y0; py <= y1; ++py) {
        QRgb *line = p.bits + py * p.stride;
        for (int px = x0; px <= x1; ++px)
            line[px] = c;
    }
}

void Canvas::square(int x, int y, int side, QRgb c)
{
    if (side == 1) {
        plot(x, y, c);
        return;
    }
    const int lo = -((side - 1) / 2), hi = side / 2;
    for (int dy = lo; dy <= hi; ++dy)
        for (int dx = lo; dx <= hi; ++dx)
            plot(x + dx, y + dy, c);
}

void Canvas::stamp(int x, int y, QRgb c)
{
    square(x, y, penPixels(), c);
}

void Canvas::dot(int x, int y, uint32_t colour)
{
    square(x, y, std::max(1, scaled(1)), toQRgb(colour));
}

void Canvas::lineTo(int x, int y)
{
    const long long x0 = penX_, y0 = penY_, x1 = x, y1 = y;
    penX_ = x;
    penY_ = y;
    const long long dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long aMajor = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long aMinor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const long long sMajor = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const long long sMinor = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const long long major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;

    // Only the steps whose major coordinate can touch the canvas (with the pen
    // footprint) are walked, so the work is bounded by the canvas size.
    const long long pad = penPixels();
    const long long extent = xMajor ? image_.width() : image_.height();
    long long kLo = 0, kHi = aMajor - 1; // the end pixel (k = aMajor) is not drawn
    if (sMajor > 0) {
        kLo = std::max(kLo, -pad - major0);
        kHi = std::min(kHi, extent + pad - major0);
    } else {
        kLo = std::max(kLo, major0 - (extent + pad));
        kHi = std::min(kHi, major0 + pad);
    }
    if (kLo > kHi)
        return;

    // Minor offset at step k: round(k * aMinor / aMajor), halves away from the
    // start, i.e. floor((2 k aMinor + aMajor) / (2 aMajor)), kept incrementally.
    const long long twoMajor = 2 * aMajor, twoMinor = 2 * aMinor;
    const unsigned __int128 num =
        static_cast<unsigned __int128>(2 * kLo) * static_cast<unsigned long long>(aMinor) +
        static_cast<unsigned long long>(aMajor);
    long long q = static_cast<long long>(num / static_cast<unsigned long long>(twoMajor));
    long long r = static_cast<long long>(num % static_cast<unsigned long long>(twoMajor));

    const QRgb c = toQRgb(penColour_);
    const bool dotted = penStyle_ == PenStyle::Dotted;
    const long long dash = std::max(1, scaled(2));
    const Pixels pixels = this->pixels();
    const int side = static_cast<int>(pad);
    for (long long k = kLo; k <= kHi; ++k) {
        if (!dotted || (k / dash) % 2 == 0) {
            const long long mj = major0 + sMajor * k, mn = minor0 + sMinor * q;
            const long long px = xMajor ? mj : mn, py = xMajor ? mn : mj;
            if (px >= -pad && py >= -pad && px < pixels.width + pad && py < pixels.height + pad)
                square(pixels, static_cast<int>(px), static_cast<int>(py), side, c);
        }
        r += twoMinor;
        if (r >= twoMajor) {
            r -= twoMajor;
            ++q;
        }
    }
}

void Canvas::setPixel(int x, int y, uint32_t colour)
{
    plot(x, y, toQRgb(colour));
}

uint32_t Canvas::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return kInvalidColour;
    return fromQRgb(reinterpret_cast<const QRgb *>(image_.constScanLine(y))[x]);
}

void Canvas::textOut(int x, int y, const QString &text)
{
    if (text.isEmpty())
        return;
    const TextFont &f = textFont();
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(f.font);
    painter.setPen(QColor::fromRgb(toQRgb(fontColour_)));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QPoint(x, y + f.metrics.ascent()), text);
}

const Canvas::TextFont &Canvas::textFont() const
{
    const int dotsPerMeter = image_.dotsPerMeterY();
    if (!textFont_ || textFont_->points != fontSize_ || textFont_->dotsPerMeter != dotsPerMeter) {
        const QFont font = canvasFont(fontSize_);
        textFont_.emplace(TextFont{fontSize_, dotsPerMeter, font, QFontMetrics(font, &image_)});
    }
    return *textFont_;
}

int Canvas::textWidth(const QString &text) const
{
    return textFont().metrics.horizontalAdvance(text);
}

int Canvas::textHeight() const
{
    return textFont().metrics.height();
}

QRect Canvas::textInk(int x, int y, const QString &text) const
{
    if (text.isEmpty())
        return QRect();
    const QFontMetrics &metrics = textFont().metrics;
    return metrics.boundingRect(text).translated(x, y + metrics.ascent());
}

bool Canvas::brushAt(int x, int y, QRgb &c) const
{
    if (brushStyle_ == BrushStyle::DiagCross && ((x + y) & 7) != 0 && ((x - y) & 7) != 0)
        return false;
    c = toQRgb(brushColour_);
    return true;
}

void Canvas::fillSpan(int y, int x0, int x1)
{
    if (y < 0 || y >= image_.height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, image_.width() - 1);
    if (x0 > x1)
        return;
    QRgb *row = reinterpret_cast<QRgb *>(image_.scanLine(y));
    QRgb c;
    for (int x = x0; x <= x1; ++x)
        if (brushAt(x, y, c))
            row[x] = c;
}

namespace
{

// Normalised box x1 <= x2, y1 <= y2 (exclusive right and bottom).
void order(int &x1, int &y1, int &x2, int &y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
}

} // namespace

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    order(x1, y1, x2, y2);
    if (x1 == x2 || y1 == y2)
        return;
    const long long w = penPixels();
    const int cy0 = std::max(y1, 0), cy1 = std::min<long long>(y2, image_.height()) - 1;
    const int cx0 = std::max(x1, 0), cx1 = std::min<long long>(x2, image_.width()) - 1;
    const QRgb pen = toQRgb(penColour_);
    for (int y = cy0; y <= cy1; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image_.scanLine(y));
        const bool edgeRow = y < y1 + w || y >= y2 - w;
        QRgb c;
        for (int x = cx0; x <= cx1; ++x) {
            if (edgeRow || x < x1 + w || x >= static_cast<long long>(x2) - w)
                row[x] = pen;
            else if (brushAt(x, y, c))
                row[x] = c;
        }
    }
}

void Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    order(x1, y1, x2, y2);
    if (x1 == x2 || y1 == y2)
        return;
    // Pixels whose centres lie inside the ellipse inscribed in the box.
    const long double cx = (static_cast<long double>(x1) + x2) / 2,
                      cy = (static_cast<long double>(y1) + y2) / 2;
    const long double a = (static_cast<long double>(x2) - x1) / 2,
                      b = (static_cast<long double>(y2) - y1) / 2;
    auto inside = [&](long long x, long long y) {
        if (x < x1 || x >= x2 || y < y1 || y >= y2)
            return false;
        const long double u = (x + 0.5L - cx) / a, v = (y + 0.5L - cy) / b;
        return u * u + v * v <= 1.0L;
    };
    const int cy0 = std::max(y1, 0), cy1 = std::min<long long>(y2, image_.height()) - 1;
    const int cx0 = std::max(x1, 0), cx1 = std::min<long long>(x2, image_.width()) - 1;
    const QRgb pen = toQRgb(penColour_);
    const int w = penPixels();
    for (int y = cy0; y <= cy1; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image_.scanLine(y));
        for (int x = cx0; x <= cx1; ++x) {
            if (!inside(x, y))
                continue;
            bool outline = false;
            for (int d = 1; d <= w && !outline; ++d)
                outline = !inside(x - d, y) || !inside(x + d, y) || !inside(x, y - d) || !inside(x, y + d);
            QRgb c;
            if (outline)
                row[x] = pen;
            else if (brushAt(x, y, c))
                row[x] = c;
        }
    }
}

void Canvas::polygon(const std::vector<QPoint> &points)
{
    if (points.empty())
        return;
    if (points.size() >= 3) {
        long long top = points[0].y(), bottom = points[0].y();
        for (const QPoint &p : points) {
            top = std::min<long long>(top, p.y());
            bottom = std::max<long long>(bottom, p.y());
        }
        top = std::max(top, 0LL);
        bottom = std::min<long long>(bottom, image_.height() - 1);
        std::vector<long double> cross;
        for (long long y = top; y <= bottom; ++y) {
            const long double sy = y + 0.5L;
            cross.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const QPoint &p = points[i], &q = points[(i + 1) % points.size()];
                if ((p.y() > sy) != (q.y() > sy))
                    cross.push_back(p.x() + (sy - p.y()) * (static_cast<long double>(q.x()) - p.x()) /
                                                (static_cast<long double>(q.y()) - p.y()));
            }
            std::sort(cross.begin(), cross.end());
            for (std::size_t i = 0; i + 1 < cross.size(); i += 2) {
                // Pixels whose centres x + 0.5 lie in [a, b).
                const long double a = std::ceil(cross[i] - 0.5L), b = std::ceil(cross[i + 1] - 0.5L) - 1;
                const long double lo = std::max(a, -1.0L), hi = std::min<long double>(b, image_.width());
                if (lo <= hi)
                    fillSpan(static_cast<int>(y), static_cast<int>(lo), static_cast<int>(hi));
            }
        }
    }
    moveTo(points[0].x(), points[0].y());
    for (std::size_t i = 1; i < points.size(); ++i)
        lineTo(points[i].x(), points[i].y());
    lineTo(points[0].x(), points[0].y());
}

void Canvas::floodFill(int x, int y, uint32_t colour, FillMode mode)
{
    const int w = image_.width(), h = image_.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    const QRgb key = toQRgb(colour) & 0x00FFFFFF;
    auto at = [&](int px, int py) {
        return reinterpret_cast<const QRgb *>(image_.constScanLine(py))[px] & 0x00FFFFFF;
    };
    // Which pixels belong to the area is decided on the picture as it was:
    // the visited map keeps painted pixels from being judged again.
    std::vector<uint8_t> visited(static_cast<std::size_t>(w) * h, 0);
    auto fits = [&](int px, int py) {
        if (visited[static_cast<std::size_t>(py) * w + px])
            return false;
        const bool same = at(px, py) == key;
        return mode == FillMode::Surface ? same : !same;
    };
    std::vector<QPoint> stack{QPoint(x, y)};
    while (!stack.empty()) {
        const QPoint seed = stack.back();
        stack.pop_back();
        const int sy = seed.y();
        if (!fits(seed.x(), sy))
            continue;
        int l = seed.x(), r = seed.x();
        while (l > 0 && fits(l - 1, sy))
            --l;
        while (r < w - 1 && fits(r + 1, sy))
            ++r;
        for (int px = l; px <= r; ++px)
            visited[static_cast<std::size_t>(sy) * w + px] = 1;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            bool inRun = false;
            for (int px = l; px <= r; ++px) {
                const bool f = fits(px, ny);
                if (f && !inRun)
                    stack.emplace_back(px, ny);
                inRun = f;
            }
        }
        fillSpan(sy, l, r);
    }
}

void Canvas::copyRect(int dx, int dy, const Canvas &source, int sx, int sy, int w, int h, CopyMode mode)
{
    if (&source == this) {
        const Canvas copy = source; // shares pixels; detaches when written below
        copyRect(dx, dy, copy, sx, sy, w, h, mode);
        return;
    }
    // Clip the rectangle to the source, then to this canvas.
    long long x0 = 0, y0 = 0, x1 = w, y1 = h; // offsets within the rectangle
    x0 = std::max({x0, -static_cast<long long>(sx), -static_cast<long long>(dx)});
    y0 = std::max({y0, -static_cast<long long>(sy), -static_cast<long long>(dy)});
    x1 = std::min({x1, static_cast<long long>(source.width()) - sx, static_cast<long long>(width()) - dx});
    y1 = std::min({y1, static_cast<long long>(source.height()) - sy, static_cast<long long>(height()) - dy});
    if (x0 >= x1 || y0 >= y1)
        return;
    for (long long j = y0; j < y1; ++j) {
        const QRgb *src =
            reinterpret_cast<const QRgb *>(source.image_.constScanLine(static_cast<int>(sy + j)));
        QRgb *dst = reinterpret_cast<QRgb *>(image_.scanLine(static_cast<int>(dy + j)));
        if (mode == CopyMode::Plain) {
            std::memcpy(dst + dx + x0, src + sx + x0, static_cast<std::size_t>(x1 - x0) * sizeof(QRgb));
            continue;
        }
        for (long long i = x0; i < x1; ++i) {
            const QRgb s = src[sx + i];
            QRgb &d = dst[dx + i];
            d = mode == CopyMode::And ? (s & d) | 0xFF000000u : s;
        }
    }
}

void Canvas::copyFrom(const Canvas &source, CopyMode mode)
{
    copyRect(0, 0, source, 0, 0, source.width(), source.height(), mode);
}

} // namespace gq
