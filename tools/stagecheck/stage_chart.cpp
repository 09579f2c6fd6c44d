// Drawing the difficulty chart into a plain 24-bit BMP, with its own small digits.
#include "stage_chart.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb kBackground{16, 24, 72}, kGrid{52, 60, 112}, kText{216, 220, 236};
constexpr Rgb kHazardBar{232, 56, 56}, kEnemyBar{144, 80, 208}, kJumpBar{48, 144, 216}, kStrictLine{248, 224, 72};

constexpr int kLeft = 8, kTop = 10, kBottom = kChartHeight - 16; // plot area, numbers below it
constexpr int kGroup = 32, kBar = 7;
constexpr int kStrictScale = 50; // percent at the top of the plot

// Digits 0..9, 3x5 pixels, one row of three bits per entry.
constexpr uint8_t kDigits[10][5] = {{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7},
                                    {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1},
                                    {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

struct Canvas {
    std::vector<Rgb> pixels = std::vector<Rgb>(kChartWidth * kChartHeight, kBackground);
    void Set(int x, int y, Rgb c)
    {
        if (x >= 0 && x < kChartWidth && y >= 0 && y < kChartHeight)
            pixels[y * kChartWidth + x] = c;
    }
    void Fill(int x, int y, int w, int h, Rgb c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Set(i, j, c);
    }
    // A line two pixels thick.
    void Line(int x0, int y0, int x1, int y1, Rgb c)
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int s = 0; s <= steps; ++s) {
            const int x = x0 + (steps ? (x1 - x0) * s / steps : 0), y = y0 + (steps ? (y1 - y0) * s / steps : 0);
            Fill(x, y, 2, 2, c);
        }
    }
    void Number(int x, int y, int n, Rgb c)
    {
        const std::string text = std::to_string(n);
        for (size_t k = 0; k < text.size(); ++k)
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (kDigits[text[k] - '0'][row] & (4 >> col))
                        Fill(x + static_cast<int>(k) * 8 + col * 2, y + row * 2, 2, 2, c);
    }
};

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back(v >> 8 & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<uint8_t> Bmp(const Canvas& canvas)
{
    const uint32_t rowBytes = (kChartWidth * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * kChartHeight;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + dataBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, kChartWidth);
    Put32(out, kChartHeight);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, dataBytes);
    Put32(out, 2835); // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kChartHeight - 1; y >= 0; --y) { // bottom row first
        for (int x = 0; x < kChartWidth; ++x) {
            const Rgb& c = canvas.pixels[y * kChartWidth + x];
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = kChartWidth * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

int Scaled(int value, int largest)
{
    return largest > 0 ? value * (kBottom - kTop) / largest : 0;
}

} // namespace

int HazardsOf(const StageRow& row)
{
    return row.census.spikes + row.census.hiddenSpikes + row.census.explosives;
}

int EnemiesOf(const StageRow& row)
{
    int n = 0;
    for (int m = MechMasky; m <= MechSkull; ++m)
        n += row.census.enemies[m];
    return n;
}

int StrictnessOf(const StageRow& row)
{
    const Tolerance& t = row.tolerance;
    return t.tried > 0 ? ((t.tried - t.kept) * 100 + t.tried / 2) / t.tried : 0;
}

std::vector<uint8_t> DrawDifficultyChart(const std::vector<StageRow>& rows)
{
    Canvas canvas;
    for (int percent = 10; percent <= kStrictScale; percent += 10) {
        const int y = kBottom - (kBottom - kTop) * percent / kStrictScale;
        canvas.Fill(kLeft, y, kChartWidth - 2 * kLeft, 1, kGrid);
    }
    canvas.Fill(kLeft, kBottom, kChartWidth - 2 * kLeft, 1, kText);
    int hazards = 0, enemies = 0, jumps = 0;
    for (const StageRow& r : rows) {
        hazards = std::max(hazards, HazardsOf(r));
        enemies = std::max(enemies, EnemiesOf(r));
        jumps = std::max(jumps, r.jumps);
    }
    int lastX = -1, lastY = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const StageRow& r = rows[i];
        const int x = kLeft + 4 + static_cast<int>(i) * kGroup;
        const int bars[3] = {Scaled(HazardsOf(r), hazards), Scaled(EnemiesOf(r), enemies), Scaled(r.jumps, jumps)};
        const Rgb colours[3] = {kHazardBar, kEnemyBar, kJumpBar};
        for (int b = 0; b < 3; ++b)
            canvas.Fill(x + b * (kBar + 1), kBottom - bars[b], kBar, bars[b], colours[b]);
        canvas.Number(x + 6, kBottom + 4, r.number, kText);
        const int cx = x + 11;
        const int cy = kBottom - std::min(StrictnessOf(r), kStrictScale) * (kBottom - kTop) / kStrictScale;
        if (lastX >= 0)
            canvas.Line(lastX, lastY, cx, cy, kStrictLine);
        canvas.Fill(cx - 2, cy - 2, 5, 5, kStrictLine);
        lastX = cx;
        lastY = cy;
    }
    return Bmp(canvas);
}
