// Scaler passes for processors with SSSE3 (and no AVX2): byte shuffles straight on packed
// 3-byte pixels, and averages of pre-masked pixels done by the averaging instructions.
#include "platform/scalers_x86.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <array>
#include <cstdint>

#include "platform/scalers.h"

// Everything here is compiled for SSSE3 and runs only when the processor has it.
#define SSSE3_CODE __attribute__((target("ssse3")))

namespace {

constexpr int kWidth = 320; // logical picture
constexpr int kHeight = 240;
constexpr int kBytes16 = 2;
constexpr int kBytes24 = 3;
constexpr int kLastColumn = kWidth - 1;

// A shuffle index that gives a zero byte.
constexpr int kZeroByte = 0x80;

using Bytes16 = std::array<uint8_t, 16>;

// Eight pixels per group: 16 bytes of 2-byte pixels, or 24 bytes of 3-byte pixels whose
// doubled 48 bytes are three 16-byte chunks, each shuffled from the source window at
// kWindow (windows reach no further than the group).
constexpr int kGroup = 8;
constexpr int kGroups = kWidth / kGroup;
constexpr int kGroupBytes24 = kGroup * kBytes24;
constexpr int kOutGroupBytes24 = 2 * kGroupBytes24;
constexpr int kWindow[3] = {0, 4, 8};

// Source byte of output byte k of a doubled run of 3-byte pixels: pixel k / 6, component k % 3.
constexpr int DoubledSource(int k)
{
    return 3 * (k / 6) + k % 3;
}

// The shuffle for output chunk c of a doubled group; odd -1 takes every output pixel, 0 only
// the copied (even) ones and 1 only the averaged (odd) ones of smoothing, zeroing the rest.
constexpr Bytes16 ChunkShuffle(int c, int odd)
{
    Bytes16 m{};
    for (int i = 0; i < 16; ++i) {
        const int k = 16 * c + i;
        const bool take = odd < 0 || (k / 3) % 2 == odd;
        m[i] = static_cast<uint8_t>(take ? DoubledSource(k) - kWindow[c] : kZeroByte);
    }
    return m;
}

constexpr Bytes16 kDoubling[3] = {ChunkShuffle(0, -1), ChunkShuffle(1, -1), ChunkShuffle(2, -1)};
constexpr Bytes16 kCopied[3] = {ChunkShuffle(0, 0), ChunkShuffle(1, 0), ChunkShuffle(2, 0)};
constexpr Bytes16 kAveraged[3] = {ChunkShuffle(0, 1), ChunkShuffle(1, 1), ChunkShuffle(2, 1)};

// Smoothing buffer pairs: a pixel's value in one 32-bit word and again in the next (which
// is then masked); two pixels, bytes long, from offset in a 16-byte window.
constexpr Bytes16 PairShuffle(int offset, int bytes)
{
    Bytes16 m{};
    for (int c = 0; c < 16; ++c)
        m[c] = static_cast<uint8_t>(c % 4 < bytes ? offset + (c / 8) * bytes + c % 4 : kZeroByte);
    return m;
}

constexpr Bytes16 kPairs16[4] = {PairShuffle(0, kBytes16), PairShuffle(4, kBytes16), PairShuffle(8, kBytes16),
                                 PairShuffle(12, kBytes16)};
// Pixels 0-3 of a group from the window at byte 0, pixels 4-7 from the window at byte 8.
constexpr Bytes16 kPairs24[4] = {PairShuffle(0, kBytes24), PairShuffle(6, kBytes24), PairShuffle(4, kBytes24),
                                 PairShuffle(10, kBytes24)};

SSSE3_CODE inline __m128i Load(const void* p)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

SSSE3_CODE inline void Store(void* p, __m128i v)
{
    _mm_storeu_si128(static_cast<__m128i*>(p), v);
}

SSSE3_CODE inline __m128i Table(const Bytes16& t)
{
    return Load(t.data());
}

inline void CopyPixel24(uint8_t* to, const uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// ---- Plain doubling ----

SSSE3_CODE void DoubleRows24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    const __m128i c0 = Table(kDoubling[0]);
    const __m128i c1 = Table(kDoubling[1]);
    const __m128i c2 = Table(kDoubling[2]);
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* s = src + y * srcPitch;
        uint8_t* o0 = dst + 2 * y * dstPitch;
        uint8_t* o1 = o0 + dstPitch;
        for (int g = 0; g < kGroups; ++g) {
            const uint8_t* p = s + g * kGroupBytes24;
            const __m128i a = _mm_shuffle_epi8(Load(p + kWindow[0]), c0);
            const __m128i b = _mm_shuffle_epi8(Load(p + kWindow[1]), c1);
            const __m128i c = _mm_shuffle_epi8(Load(p + kWindow[2]), c2);
            uint8_t* d0 = o0 + g * kOutGroupBytes24;
            uint8_t* d1 = o1 + g * kOutGroupBytes24;
            Store(d0, a);
            Store(d0 + 16, b);
            Store(d0 + 32, c);
            Store(d1, a);
            Store(d1 + 16, b);
            Store(d1 + 32, c);
        }
    }
}

// ---- Smoothing ----

// Four pairs of the smoothing buffer from the windows a and b; pairMask keeps the value in
// the first word of each pair and masks the second.
SSSE3_CODE inline void StorePairs(uint32_t* d, __m128i a, __m128i b, const Bytes16 (&control)[4], __m128i pairMask)
{
    Store(d, _mm_and_si128(_mm_shuffle_epi8(a, Table(control[0])), pairMask));
    Store(d + 4, _mm_and_si128(_mm_shuffle_epi8(a, Table(control[1])), pairMask));
    Store(d + 8, _mm_and_si128(_mm_shuffle_epi8(b, Table(control[2])), pairMask));
    Store(d + 12, _mm_and_si128(_mm_shuffle_epi8(b, Table(control[3])), pairMask));
}

// Pairs of the smoothing buffer for one logical row.
SSSE3_CODE void FillPairs(const uint8_t* s, int bytesPerPixel, uint32_t* pairs, __m128i pairMask)
{
    for (int x = 0; x < kWidth; x += kGroup) {
        if (bytesPerPixel == kBytes16) {
            const __m128i v = Load(s + x * kBytes16);
            StorePairs(pairs + 2 * x, v, v, kPairs16, pairMask);
        } else {
            const uint8_t* p = s + x * kBytes24;
            StorePairs(pairs + 2 * x, Load(p), Load(p + 8), kPairs24, pairMask);
        }
    }
}

// Output row e (even pattern) of logical row s and, when Odd, output row o (odd pattern)
// between s and the row below it, n, for 2-byte pixels; mask is the smoothing mask in
// every pixel.
template <bool Odd>
SSSE3_CODE void SmoothRows16(const uint8_t* s, const uint8_t* n, uint8_t* e, uint8_t* o, __m128i mask)
{
    const auto* a = reinterpret_cast<const uint16_t*>(s);
    const auto* b = reinterpret_cast<const uint16_t*>(n);
    for (int g = 0; g < kGroups; ++g) {
        const int x = g * kGroup;
        const __m128i p = Load(a + x);
        // The last group's right neighbours would lie past the row: its last pixel is written apart.
        const __m128i right = g == kGroups - 1 ? _mm_srli_si128(p, kBytes16) : Load(a + x + 1);
        const __m128i m = _mm_and_si128(p, mask);
        const __m128i mr = _mm_and_si128(right, mask);
        const __m128i between = _mm_avg_epu16(m, mr);
        uint8_t* d = e + 2 * x * kBytes16;
        Store(d, _mm_unpacklo_epi16(p, between));
        Store(d + 16, _mm_unpackhi_epi16(p, between));
        if constexpr (Odd) {
            const __m128i mb = _mm_and_si128(Load(b + x), mask);
            const __m128i below = _mm_avg_epu16(m, mb);
            const __m128i diagonal = _mm_avg_epu16(mb, mr);
            uint8_t* q = o + 2 * x * kBytes16;
            Store(q, _mm_unpacklo_epi16(below, diagonal));
            Store(q + 16, _mm_unpackhi_epi16(below, diagonal));
        }
    }
    // The last pixel has no right neighbour: copies instead of averages.
    reinterpret_cast<uint16_t*>(e)[kDoubledWidth - 1] = a[kLastColumn];
    if constexpr (Odd) {
        reinterpret_cast<uint16_t*>(o)[kDoubledWidth - 2] = b[kLastColumn];
        reinterpret_cast<uint16_t*>(o)[kDoubledWidth - 1] = b[kLastColumn];
    }
}

// As SmoothRows16 for 3-byte pixels, all in packed bytes: a pixel's average is the average
// of each of its bytes. mask holds the smoothing mask for the bytes of each window.
template <bool Odd>
SSSE3_CODE void SmoothRows24(const uint8_t* s, const uint8_t* n, uint8_t* e, uint8_t* o, const __m128i (&mask)[3])
{
    for (int g = 0; g < kGroups; ++g) {
        const uint8_t* p = s + g * kGroupBytes24;
        const uint8_t* q = n + g * kGroupBytes24;
        for (int c = 0; c < 3; ++c) {
            const int w = kWindow[c];
            const __m128i value = Load(p + w);
            // The right neighbours' bytes, three further on; the row's last window would read
            // past the row, so it is shifted instead (its last pixel is written apart).
            const __m128i right = g == kGroups - 1 && c == 2 ? _mm_srli_si128(value, kBytes24) : Load(p + w + kBytes24);
            const __m128i m = _mm_and_si128(value, mask[c]);
            const __m128i mr = _mm_and_si128(right, mask[c]);
            const __m128i copied = Table(kCopied[c]);
            const __m128i averaged = Table(kAveraged[c]);
            Store(e + g * kOutGroupBytes24 + 16 * c,
                  _mm_or_si128(_mm_shuffle_epi8(value, copied), _mm_shuffle_epi8(_mm_avg_epu8(m, mr), averaged)));
            if constexpr (Odd) {
                const __m128i mb = _mm_and_si128(Load(q + w), mask[c]);
                Store(o + g * kOutGroupBytes24 + 16 * c,
                      _mm_or_si128(_mm_shuffle_epi8(_mm_avg_epu8(m, mb), copied),
                                   _mm_shuffle_epi8(_mm_avg_epu8(mb, mr), averaged)));
            }
        }
    }
    // The last pixel has no right neighbour: copies instead of averages.
    CopyPixel24(e + (kDoubledWidth - 1) * kBytes24, s + kLastColumn * kBytes24);
    if constexpr (Odd) {
        CopyPixel24(o + (kDoubledWidth - 2) * kBytes24, n + kLastColumn * kBytes24);
        CopyPixel24(o + (kDoubledWidth - 1) * kBytes24, n + kLastColumn * kBytes24);
    }
}

// The smoothing mask repeated over the bytes of packed 3-byte pixels, for a window that
// starts at pixel byte phase.
SSSE3_CODE inline __m128i PhaseMask(uint32_t mask, int phase)
{
    alignas(16) uint8_t bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<uint8_t>(mask >> (8 * ((phase + i) % 3)));
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

SSSE3_CODE void SmoothAll(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel,
                          uint32_t mask, uint32_t* buffer)
{
    const bool is16 = bytesPerPixel == kBytes16;
    const uint64_t pixelBits = is16 ? 0xFFFF : 0xFFFFFF;
    const __m128i pairMask = _mm_set1_epi64x(static_cast<long long>(pixelBits | (uint64_t{mask} << 32)));
    const __m128i mask16 = _mm_set1_epi16(static_cast<short>(mask));
    const __m128i mask24[3] = {PhaseMask(mask, kWindow[0] % 3), PhaseMask(mask, kWindow[1] % 3),
                               PhaseMask(mask, kWindow[2] % 3)};
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* s = src + y * srcPitch;
        uint8_t* e = dst + 2 * y * dstPitch;
        FillPairs(s, bytesPerPixel, buffer + y * 2 * kWidth, pairMask);
        if (y < kHeight - 1) {
            if (is16)
                SmoothRows16<true>(s, s + srcPitch, e, e + dstPitch, mask16);
            else
                SmoothRows24<true>(s, s + srcPitch, e, e + dstPitch, mask24);
        } else {
            // The last logical row makes the last output row; the one above repeats it.
            for (uint8_t* row : {e, e + dstPitch}) {
                if (is16)
                    SmoothRows16<false>(s, nullptr, row, nullptr, mask16);
                else
                    SmoothRows24<false>(s, nullptr, row, nullptr, mask24);
            }
        }
    }
}

} // namespace

void ScalePlainSsse3(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    if (bytesPerPixel == kBytes24)
        DoubleRows24(src, srcPitch, dst, dstPitch);
    else
        ScalePlain(src, srcPitch, dst, dstPitch, bytesPerPixel);
}

void ScaleSmoothSsse3(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                      uint32_t* buffer)
{
    // The averaging instructions round up, so they agree with the portable (a + b) >> 1 only
    // when every sum is even: when the mask clears the lowest bit of each averaged unit (the
    // whole 2-byte pixel, or each byte of a 3-byte one), as it does for the usual formats.
    const bool exact = bytesPerPixel == kBytes16 ? (mask & 0x1) == 0 : (mask & 0x010101) == 0;
    if (exact && (bytesPerPixel == kBytes16 || bytesPerPixel == kBytes24))
        SmoothAll(src, srcPitch, dst, dstPitch, bytesPerPixel, mask, buffer);
    else
        ScaleSmooth(src, srcPitch, dst, dstPitch, bytesPerPixel, mask, buffer);
}

#endif
