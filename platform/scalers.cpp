// Plain doubling, Scale2x and smoothing of the logical screen, written as straight
// branch-free loops over whole rows so the compiler can vectorise them.
#include "platform/scalers.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace {

constexpr int kWidth = 320; // logical picture
constexpr int kHeight = 240;
constexpr int kBytes16 = 2; // bytes per pixel of the two layouts we handle
constexpr int kBytes24 = 3;
constexpr uint32_t kLow24 = 0xFFFFFF;

// 3-byte pixels travel as groups of four: twelve bytes are three little-endian words.
constexpr int kGroup = 4;
constexpr int kGroupBytes = kGroup * kBytes24;

constexpr bool kBigEndianHost = std::endian::native == std::endian::big;

// Pixel bytes are packed into words by value, lowest byte first, so the shifts below
// mean the same on every host; on little-endian ones this is a plain load or store.
void StoreWord(uint8_t* p, uint32_t w)
{
    if constexpr (kBigEndianHost)
        w = __builtin_bswap32(w);
    std::memcpy(p, &w, sizeof w);
}

uint64_t LoadLong(const uint8_t* p)
{
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (kBigEndianHost)
        w = __builtin_bswap64(w);
    return w;
}

void StoreLong(uint8_t* p, uint64_t w)
{
    if constexpr (kBigEndianHost)
        w = __builtin_bswap64(w);
    std::memcpy(p, &w, sizeof w);
}

// Stores two 32-bit values held in one 64-bit word (the first in the low half) as o[0], o[1].
void StorePair(uint32_t* o, uint64_t pair)
{
    if constexpr (kBigEndianHost) {
        o[0] = static_cast<uint32_t>(pair);
        o[1] = static_cast<uint32_t>(pair >> 32);
    } else {
        std::memcpy(o, &pair, sizeof pair);
    }
}

// Eight 3-byte pixels are exactly three 64-bit words; working on those halves the loads
// of four-pixel groups and lets the compiler vectorise across groups.
constexpr int kLongGroup = 8;
constexpr int kLongGroupBytes = kLongGroup * kBytes24;
constexpr uint64_t kLow24Long = 0xFFFFFF;

// Two packed pixels (six bytes, in the low 48 bits) as two 32-bit words in one 64-bit word.
inline uint64_t SpreadPair(uint64_t packed)
{
    return (packed & kLow24Long) | ((packed << 8) & (kLow24Long << 32));
}

// Unpacks count (a multiple of eight) 3-byte pixels into one word each.
void Unpack24(const uint8_t* src, uint32_t* out, int count)
{
    for (int g = 0; g < count / kLongGroup; ++g) {
        const uint8_t* s = src + g * kLongGroupBytes;
        const uint64_t w0 = LoadLong(s);
        const uint64_t w1 = LoadLong(s + 8);
        const uint64_t w2 = LoadLong(s + 16);
        uint32_t* o = out + g * kLongGroup;
        StorePair(o, SpreadPair(w0));
        StorePair(o + 2, SpreadPair((w0 >> 48) | (w1 << 16)));
        StorePair(o + 4, SpreadPair((w1 >> 32) | (w2 << 32)));
        StorePair(o + 6, SpreadPair(w2 >> 16));
    }
}

// Packs count (a multiple of four) words, each at most 24 bits, into 3-byte pixels,
// lowest byte first.
void Pack24(const uint32_t* in, uint8_t* dst, int count)
{
    for (int g = 0; g < count / kGroup; ++g) {
        const uint32_t* p = in + g * kGroup;
        StoreWord(dst + g * kGroupBytes, p[0] | (p[1] << 24));
        StoreWord(dst + g * kGroupBytes + 4, (p[1] >> 8) | (p[2] << 16));
        StoreWord(dst + g * kGroupBytes + 8, (p[2] >> 16) | (p[3] << 8));
    }
}

uint16_t* Row16(uint8_t* base, int pitch, int y)
{
    return reinterpret_cast<uint16_t*>(base + y * pitch);
}

const uint16_t* Row16(const uint8_t* base, int pitch, int y)
{
    return reinterpret_cast<const uint16_t*>(base + y * pitch);
}

// ---- Plain doubling ----

// One row of 2-byte pixels, each written twice side by side.
void DoubleRow16(const uint16_t* s, uint16_t* d)
{
    for (int x = 0; x < kWidth; ++x) {
        d[2 * x] = s[x];
        d[2 * x + 1] = s[x];
    }
}

void ScalePlain16(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    for (int y = 0; y < kHeight; ++y) {
        uint16_t* d = Row16(dst, dstPitch, 2 * y);
        DoubleRow16(Row16(src, srcPitch, y), d);
        std::memcpy(d + dstPitch / kBytes16, d, kDoubledWidth * kBytes16);
    }
}

// Eight 3-byte pixels (three 64-bit words) become sixteen, written as six 64-bit words:
// each pixel twice, straight from the source bytes with shifts, so no per-pixel
// unpacking and packing. The pixels after the last whole group of eight, one by one.
void DoubleRow24(const uint8_t* s, uint8_t* d, int width)
{
    constexpr int outGroupBytes = 2 * kLongGroupBytes;
    const int groups = width / kLongGroup;
    for (int g = 0; g < groups; ++g) {
        const uint64_t a = LoadLong(s + g * kLongGroupBytes);
        const uint64_t b = LoadLong(s + g * kLongGroupBytes + 8);
        const uint64_t c = LoadLong(s + g * kLongGroupBytes + 16);
        const uint64_t p0 = a & kLow24Long;
        const uint64_t p1 = (a >> 24) & kLow24Long;
        const uint64_t p2 = ((a >> 48) | (b << 16)) & kLow24Long;
        const uint64_t p3 = (b >> 8) & kLow24Long;
        const uint64_t p4 = (b >> 32) & kLow24Long;
        const uint64_t p5 = ((b >> 56) | (c << 8)) & kLow24Long;
        const uint64_t p6 = (c >> 16) & kLow24Long;
        const uint64_t p7 = c >> 40;
        // Output bytes: p0 p0 p1 p1 ... p7 p7, three bytes each, in six words.
        uint8_t* o = d + g * outGroupBytes;
        StoreLong(o, p0 | (p0 << 24) | (p1 << 48));
        StoreLong(o + 8, (p1 >> 16) | (p1 << 8) | (p2 << 32) | (p2 << 56));
        StoreLong(o + 16, (p2 >> 8) | (p3 << 16) | (p3 << 40));
        StoreLong(o + 24, p4 | (p4 << 24) | (p5 << 48));
        StoreLong(o + 32, (p5 >> 16) | (p5 << 8) | (p6 << 32) | (p6 << 56));
        StoreLong(o + 40, (p6 >> 8) | (p7 << 16) | (p7 << 40));
    }
    for (int x = groups * kLongGroup; x < width; ++x) {
        std::memcpy(d + 2 * x * kBytes24, s + x * kBytes24, kBytes24);
        std::memcpy(d + (2 * x + 1) * kBytes24, s + x * kBytes24, kBytes24);
    }
}

void ScalePlain24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* d = dst + 2 * y * dstPitch;
        DoubleRow24(src + y * srcPitch, d, kWidth);
        std::memcpy(d + dstPitch, d, kDoubledWidth * kBytes24);
    }
}

// ---- Integer scaling ----

// One output row of 2-byte pixels, each repeated n times. Blocks are written in 8-byte
// stores of four copies, which may run up to three pixels into the next block (written
// right after); the blocks near the row's end, where that would pass it, pixel by pixel.
void RepeatRow16(const uint8_t* s, int width, uint8_t* d, int n)
{
    if (n == 2) {
        // The doubling loop, which the compiler turns into vector interleaves.
        uint16_t* o = reinterpret_cast<uint16_t*>(d);
        const uint16_t* in = reinterpret_cast<const uint16_t*>(s);
        for (int x = 0; x < width; ++x) {
            o[2 * x] = in[x];
            o[2 * x + 1] = in[x];
        }
        return;
    }
    const int blockBytes = n * kBytes16;
    const int overrun = (blockBytes + 7) / 8 * 8 - blockBytes;
    const int overrunBlocks = (overrun + blockBytes - 1) / blockBytes;
    const int fast = std::max(0, width - overrunBlocks);
    for (int x = 0; x < fast; ++x) {
        uint16_t v;
        std::memcpy(&v, s + x * kBytes16, kBytes16);
        // Four copies of the pixel as it lies in memory, on either byte order: stored as is.
        const uint64_t four = v * 0x0001000100010001ull;
        uint8_t* p = d + x * blockBytes;
        for (int i = 0; i < blockBytes; i += 8)
            std::memcpy(p + i, &four, sizeof four);
    }
    for (int x = fast; x < width; ++x)
        for (int i = 0; i < n; ++i)
            std::memcpy(d + x * blockBytes + i * kBytes16, s + x * kBytes16, kBytes16);
}

// The same for 3-byte pixels: 8-byte stores of two and two-thirds copies, one per two
// copies, each running two or five bytes on (into the next copy or block, written right
// after); the blocks where that would pass the row's end exactly. Doubling, which the
// full screen does to the filtered picture, has its own faster loop.
void RepeatRow24(const uint8_t* s, int width, uint8_t* d, int n)
{
    if (n == 2) {
        DoubleRow24(s, d, width);
        return;
    }
    const int blockBytes = n * kBytes24;
    const int overrun = n % 2 ? 5 : 2;
    const int fast = std::max(0, width - (overrun + blockBytes - 1) / blockBytes);
    for (int x = 0; x < fast; ++x) {
        const uint8_t* c = s + x * kBytes24;
        const uint8_t pattern[8] = {c[0], c[1], c[2], c[0], c[1], c[2], c[0], c[1]};
        uint8_t* p = d + x * blockBytes;
        for (int i = 0; i < blockBytes; i += 2 * kBytes24)
            std::memcpy(p + i, pattern, sizeof pattern);
    }
    for (int x = fast; x < width; ++x)
        for (int i = 0; i < n; ++i)
            std::memcpy(d + x * blockBytes + i * kBytes24, s + x * kBytes24, kBytes24);
}

// ---- Scale2x ----

// All bits set when c holds, none otherwise.
template <typename T>
inline T AllOnesIf(bool c)
{
    return static_cast<T>(-static_cast<T>(c));
}

// One pixel E with neighbours B (above), D (left), F (right), H (below) gives the four
// output pixels e0 e1 (upper pair) and e2 e3 (lower pair): where B differs from H and D
// from F, a corner takes the neighbour that agrees with the other one next to it, else
// E. Written as masks, E ^ ((D ^ E) & mask) selecting D, so the row loop has no
// branches and the two differences are shared between the corners.
template <typename T>
inline void Scale2xPixel(T b, T d, T e, T f, T h, T& e0, T& e1, T& e2, T& e3)
{
    const T keep = AllOnesIf<T>((b == h) | (d == f));
    const T de = static_cast<T>(d ^ e);
    const T fe = static_cast<T>(f ^ e);
    e0 = static_cast<T>(e ^ (de & AllOnesIf<T>(b == d) & ~keep));
    e1 = static_cast<T>(e ^ (fe & AllOnesIf<T>(b == f) & ~keep));
    e2 = static_cast<T>(e ^ (de & AllOnesIf<T>(d == h) & ~keep));
    e3 = static_cast<T>(e ^ (fe & AllOnesIf<T>(h == f) & ~keep));
}

// One logical row: up, cur and down are the rows above, at and below (up == cur on the
// top row, down == cur on the bottom row); o0 and o1 are the two output rows.
template <typename T>
void Scale2xRow(const T* up, const T* cur, const T* down, T* o0, T* o1)
{
    constexpr int last = kWidth - 1;
    // Left and right columns: the missing neighbour is the pixel itself.
    Scale2xPixel(up[0], cur[0], cur[0], cur[1], down[0], o0[0], o0[1], o1[0], o1[1]);
    for (int x = 1; x < last; ++x) {
        T e0, e1, e2, e3;
        Scale2xPixel(up[x], cur[x - 1], cur[x], cur[x + 1], down[x], e0, e1, e2, e3);
        o0[2 * x] = e0;
        o0[2 * x + 1] = e1;
        o1[2 * x] = e2;
        o1[2 * x + 1] = e3;
    }
    Scale2xPixel(up[last], cur[last - 1], cur[last], cur[last], down[last], o0[2 * last], o0[2 * last + 1],
                 o1[2 * last], o1[2 * last + 1]);
}

void Scale2x16(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    for (int y = 0; y < kHeight; ++y) {
        const uint16_t* cur = Row16(src, srcPitch, y);
        const uint16_t* up = y > 0 ? Row16(src, srcPitch, y - 1) : cur;
        const uint16_t* down = y < kHeight - 1 ? Row16(src, srcPitch, y + 1) : cur;
        Scale2xRow(up, cur, down, Row16(dst, dstPitch, 2 * y), Row16(dst, dstPitch, 2 * y + 1));
    }
}

void Scale2x24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    // Three unpacked source rows rotate so every row is unpacked once.
    uint32_t rows[3][kWidth];
    uint32_t out0[kDoubledWidth];
    uint32_t out1[kDoubledWidth];
    uint32_t* up = rows[0];
    uint32_t* cur = rows[1];
    uint32_t* down = rows[2];
    Unpack24(src, cur, kWidth);
    for (int y = 0; y < kHeight; ++y) {
        const uint32_t* above = y > 0 ? up : cur;
        const uint32_t* below = cur;
        if (y < kHeight - 1) {
            Unpack24(src + (y + 1) * srcPitch, down, kWidth);
            below = down;
        }
        Scale2xRow<uint32_t>(above, cur, below, out0, out1);
        Pack24(out0, dst + 2 * y * dstPitch, kDoubledWidth);
        Pack24(out1, dst + (2 * y + 1) * dstPitch, kDoubledWidth);
        uint32_t* spare = up;
        up = cur;
        cur = down;
        down = spare;
    }
}

// ---- Smoothing ----

// floor((a + b) / 2) without overflow in the type: on masked values (lowest bit of every
// component clear) it halves each component with no carry into its neighbour.
template <typename T>
inline T Blend(T a, T b)
{
    return static_cast<T>((a & b) + ((a ^ b) >> 1));
}

// One logical row as pixel values and masked values (2-byte pixels in 16 bits, 3-byte
// pixels in 32).
template <typename T>
struct SmoothLine {
    T value[kWidth];
    T masked[kWidth];
};

// Loads logical row y into line and records its pairs in the smoothing buffer.
template <typename T>
void LoadSmoothLine(const uint8_t* src, int srcPitch, int y, T mask, SmoothLine<T>& line, uint32_t* buffer)
{
    if constexpr (sizeof(T) == kBytes16)
        std::memcpy(line.value, src + y * srcPitch, kWidth * kBytes16);
    else
        Unpack24(src + y * srcPitch, line.value, kWidth);
    for (int x = 0; x < kWidth; ++x)
        line.masked[x] = static_cast<T>(line.value[x] & mask);
    uint32_t* pairs = buffer + y * 2 * kWidth;
    for (int x = 0; x < kWidth; ++x) {
        pairs[2 * x] = line.value[x];
        pairs[2 * x + 1] = line.masked[x];
    }
}

// Even output row: copied pixels, and between them the average of left and right.
template <typename T>
void SmoothEvenRow(const SmoothLine<T>& r, T* o)
{
    for (int x = 0; x < kWidth - 1; ++x) {
        o[2 * x] = r.value[x];
        o[2 * x + 1] = Blend(r.masked[x], r.masked[x + 1]);
    }
    o[kDoubledWidth - 2] = r.value[kWidth - 1];
    // Column 639 has no right neighbour to blend with: repeat column 638.
    o[kDoubledWidth - 1] = r.value[kWidth - 1];
}

// Odd output row between logical rows r and n: averages of the pixel below with the
// pixel above and with the pixel above-right.
template <typename T>
void SmoothOddRow(const SmoothLine<T>& r, const SmoothLine<T>& n, T* o)
{
    for (int x = 0; x < kWidth - 1; ++x) {
        o[2 * x] = Blend(r.masked[x], n.masked[x]);
        o[2 * x + 1] = Blend(n.masked[x], r.masked[x + 1]);
    }
    o[kDoubledWidth - 2] = n.value[kWidth - 1];
    o[kDoubledWidth - 1] = n.value[kWidth - 1];
}

// Output row y of the picture: written in place for 2-byte pixels, packed for 3-byte ones.
template <typename T>
struct SmoothOutput {
    uint8_t* dst;
    int pitch;
    T row[kDoubledWidth];

    T* Begin(int y)
    {
        if constexpr (sizeof(T) == kBytes16)
            return reinterpret_cast<T*>(dst + y * pitch);
        else
            return row;
    }
    void End(int y)
    {
        if constexpr (sizeof(T) != kBytes16)
            Pack24(row, dst + y * pitch, kDoubledWidth);
    }
};

template <typename T>
void ScaleSmoothRows(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, T mask, uint32_t* buffer)
{
    // Two lines alternate: the current logical row and the one below it.
    SmoothLine<T> lines[2];
    SmoothOutput<T> out{dst, dstPitch, {}};
    LoadSmoothLine(src, srcPitch, 0, mask, lines[0], buffer);
    for (int y = 0; y < kHeight - 1; ++y) {
        const SmoothLine<T>& cur = lines[y % 2];
        SmoothLine<T>& next = lines[(y + 1) % 2];
        LoadSmoothLine(src, srcPitch, y + 1, mask, next, buffer);
        SmoothEvenRow(cur, out.Begin(2 * y));
        out.End(2 * y);
        SmoothOddRow(cur, next, out.Begin(2 * y + 1));
        out.End(2 * y + 1);
    }
    // The last logical row goes to row 479 with the even pattern; row 478 would be
    // the same even row of logical row 239, so it repeats row 479.
    constexpr int last = kDoubledHeight - 1;
    SmoothEvenRow(lines[(kHeight - 1) % 2], out.Begin(last));
    out.End(last);
    constexpr int rowBytes = kDoubledWidth * (sizeof(T) == kBytes16 ? kBytes16 : kBytes24);
    std::memcpy(dst + (last - 1) * dstPitch, dst + last * dstPitch, rowBytes);
}

} // namespace

void ScalePlain(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    if (bytesPerPixel == kBytes16)
        ScalePlain16(src, srcPitch, dst, dstPitch);
    else if (bytesPerPixel == kBytes24)
        ScalePlain24(src, srcPitch, dst, dstPitch);
}

void Scale2x(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    if (bytesPerPixel == kBytes16)
        Scale2x16(src, srcPitch, dst, dstPitch);
    else if (bytesPerPixel == kBytes24)
        Scale2x24(src, srcPitch, dst, dstPitch);
}

void ScaleRepeat(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch,
                 int bytesPerPixel, int n)
{
    if ((bytesPerPixel != kBytes16 && bytesPerPixel != kBytes24) || width < 1 || n < 1)
        return;
    const size_t rowBytes = static_cast<size_t>(width) * n * bytesPerPixel;
    for (int y = 0; y < height; ++y) {
        // The first row of the blocks is built, the other n - 1 are copies of it.
        uint8_t* first = dst + static_cast<ptrdiff_t>(y) * n * dstPitch;
        if (bytesPerPixel == kBytes16)
            RepeatRow16(src + y * srcPitch, width, first, n);
        else
            RepeatRow24(src + y * srcPitch, width, first, n);
        for (int i = 1; i < n; ++i)
            std::memcpy(first + i * dstPitch, first, rowBytes);
    }
}

uint32_t SmoothMask(int redShift, int greenShift, int blueShift, int bytesPerPixel)
{
    const uint32_t lowBits = (1u << redShift) | (1u << greenShift) | (1u << blueShift);
    const uint32_t pixelBits = bytesPerPixel == kBytes16 ? 0xFFFFu : kLow24;
    return ~lowBits & pixelBits;
}

void ScaleSmooth(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                 uint32_t* buffer)
{
    if (bytesPerPixel == kBytes16)
        ScaleSmoothRows<uint16_t>(src, srcPitch, dst, dstPitch, static_cast<uint16_t>(mask), buffer);
    else if (bytesPerPixel == kBytes24)
        ScaleSmoothRows<uint32_t>(src, srcPitch, dst, dstPitch, mask, buffer);
}
