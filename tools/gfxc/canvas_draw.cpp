// Drawing primitives of the picture compiler: shapes, dithered gradients, outlines and shadows.
#include "canvas_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// 4x4 ordered-dither thresholds (0..15), the classic Bayer matrix.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int kBayerLevels = 16;

} // namespace

void Rect(Image& image, int x, int y, int w, int h, Rgb c)
{
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            SetPixel(image, xx, yy, c);
}

void Ellipse(Image& image, int cx, int cy, int rx, int ry, Rgb c)
{
    if (rx <= 0 || ry <= 0)
        return;
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x) {
            // inside when (x/rx)^2 + (y/ry)^2 <= 1, in integers
            const int64_t lhs = int64_t(x) * x * ry * ry + int64_t(y) * y * rx * rx;
            if (lhs <= int64_t(rx) * rx * ry * ry + int64_t(rx) * ry)
                SetPixel(image, cx + x, cy + y, c);
        }
}

void Ring(Image& image, int cx, int cy, int r, int thick, Rgb c)
{
    const int inner = r - thick;
    for (int y = -r; y <= r; ++y)
        for (int x = -r; x <= r; ++x) {
            const int d = x * x + y * y;
            if (d <= r * r + r && d > inner * inner + inner)
                SetPixel(image, cx + x, cy + y, c);
        }
}

void Poly(Image& image, const std::vector<int>& pts, Rgb c)
{
    const size_t n = pts.size() / 2;
    int minY = pts[1], maxY = pts[1];
    for (size_t i = 0; i < n; ++i) {
        minY = std::min(minY, pts[2 * i + 1]);
        maxY = std::max(maxY, pts[2 * i + 1]);
    }
    for (int y = minY; y <= maxY; ++y) {
        const double sy = y + 0.5; // sample at pixel centres
        std::vector<double> xs;
        for (size_t i = 0; i < n; ++i) {
            const double x1 = pts[2 * i], y1 = pts[2 * i + 1];
            const double x2 = pts[2 * ((i + 1) % n)], y2 = pts[2 * ((i + 1) % n) + 1];
            if ((y1 <= sy && y2 > sy) || (y2 <= sy && y1 > sy))
                xs.push_back(x1 + (sy - y1) * (x2 - x1) / (y2 - y1));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x)
                SetPixel(image, x, y, c);
    }
}

void Line(Image& image, int x1, int y1, int x2, int y2, Rgb c)
{
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        SetPixel(image, x1, y1, c);
        if (x1 == x2 && y1 == y2)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

void Bands(Image& image, int x, int y, int w, int h, const std::vector<Rgb>& colours, bool onto, Rgb only)
{
    const int steps = static_cast<int>(colours.size()) - 1;
    for (int yy = 0; yy < h; ++yy) {
        // position along the gradient in 1/16ths of a step
        const int pos = steps <= 0 || h <= 1 ? 0 : yy * steps * kBayerLevels / (h - 1);
        const int band = std::min(pos / kBayerLevels, std::max(steps - 1, 0));
        const int frac = pos - band * kBayerLevels;
        for (int xx = 0; xx < w; ++xx) {
            const int px = x + xx, py = y + yy;
            if (!Inside(image, px, py) || (onto && PixelAt(image, px, py) != only))
                continue;
            const bool next = steps > 0 && frac > kBayer[py & 3][px & 3];
            SetPixel(image, px, py, colours[band + (next ? 1 : 0)]);
        }
    }
}

void Outline(Image& image, Rgb c)
{
    const Image before = image;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (PixelAt(before, x, y) != kKeyColour)
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (Inside(before, x + dx, y + dy) && PixelAt(before, x + dx, y + dy) != kKeyColour)
                        near = true;
            if (near)
                SetPixel(image, x, y, c);
        }
}

void Shadow(Image& image, int dx, int dy, Rgb c)
{
    const Image before = image;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (PixelAt(before, x, y) == kKeyColour && Inside(before, x - dx, y - dy) &&
                PixelAt(before, x - dx, y - dy) != kKeyColour)
                SetPixel(image, x, y, c);
}

void Skew(Image& image, int divisor)
{
    if (divisor <= 0)
        return;
    const Image before = image;
    for (int y = 0; y < image.height; ++y) {
        const int shift = (image.height - 1 - y) / divisor;
        for (int x = 0; x < image.width; ++x)
            SetPixel(image, x, y, PixelAt(before, x - shift, y));
    }
}

void TopEdge(Image& image, Rgb c)
{
    const Image before = image;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (PixelAt(before, x, y) != kKeyColour && PixelAt(before, x, y - 1) == kKeyColour)
                SetPixel(image, x, y, c);
}

void Trim(Image& image)
{
    int minX = image.width, minY = image.height, maxX = -1, maxY = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (PixelAt(image, x, y) != kKeyColour) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    if (maxX < 0)
        return;
    Image cut = MakeImage(maxX - minX + 1, maxY - minY + 1);
    for (int y = 0; y < cut.height; ++y)
        for (int x = 0; x < cut.width; ++x)
            SetPixel(cut, x, y, PixelAt(image, minX + x, minY + y));
    image = cut;
}
