// Scaler passes for processors with AVX2: 32-byte vectors, byte shuffles straight on
// packed 3-byte pixels, and averages of pre-masked pixels done by the averaging instructions.
#include "platform/scalers_x86.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <array>
#include <cstdint>

#include "platform/scalers.h"

// Everything here is compiled for AVX2 and runs only when the processor has it.
#define AVX2_CODE __attribute__((target("avx2")))

namespace {

constexpr int kWidth = 320; // logical picture
constexpr int kHeight = 240;
constexpr int kBytes16 = 2;
constexpr int kBytes24 = 3;
constexpr int kLastColumn = kWidth - 1;

// A shuffle index that gives a zero byte.
constexpr int kZeroByte = 0x80;

// 32 bytes of a shuffle control or a constant: two 16-byte lanes.
using Bytes32 = std::array<uint8_t, 32>;

// Sixteen pixels are one vector of 2-byte pixels, or three of the 16-byte windows of
// 3-byte pixels the shuffles read from.
constexpr int kGroup = 16;
constexpr int kGroups = kWidth / kGroup;
constexpr int kGroupBytes24 = kGroup * kBytes24;
constexpr int kOutGroupBytes24 = 2 * kGroupBytes24;

// Where, in a group's 48 source bytes, each 16-byte output chunk of the doubled group
// (96 bytes, six chunks) finds its bytes: windows reach no further than the group.
constexpr int kWindow[6] = {0, 4, 8, 24, 28, 32};

// Source byte of output byte k of a doubled run of 3-byte pixels: pixel k / 6, component k % 3.
constexpr int DoubledSource(int k)
{
    return 3 * (k / 6) + k % 3;
}

// The shuffle that makes output chunks 2v and 2v+1 of a doubled group from their windows.
constexpr Bytes32 DoublingShuffle(int v)
{
    Bytes32 m{};
    for (int lane = 0; lane < 2; ++lane)
        for (int i = 0; i < 16; ++i) {
            const int chunk = 2 * v + lane;
            m[16 * lane + i] = static_cast<uint8_t>(DoubledSource(16 * chunk + i) - kWindow[chunk]);
        }
    return m;
}

constexpr Bytes32 kDoubling[3] = {DoublingShuffle(0), DoublingShuffle(1), DoublingShuffle(2)};

// Smoothing interleaves copied and averaged pixels as doubling does: output pixel j of a
// group is copied pixel j / 2 when j is even, an average when it is odd. The shuffle takes
// one of the two kinds (odd 0 or 1) from the windows of output chunks 2v and 2v+1.
constexpr Bytes32 SmoothingShuffle(int v, int odd)
{
    Bytes32 m{};
    for (int lane = 0; lane < 2; ++lane)
        for (int i = 0; i < 16; ++i) {
            const int chunk = 2 * v + lane;
            const int k = 16 * chunk + i;
            const bool take = (k / 3) % 2 == odd;
            m[16 * lane + i] = static_cast<uint8_t>(take ? DoubledSource(k) - kWindow[chunk] : kZeroByte);
        }
    return m;
}

constexpr Bytes32 kCopied[3] = {SmoothingShuffle(0, 0), SmoothingShuffle(1, 0), SmoothingShuffle(2, 0)};
constexpr Bytes32 kAveraged[3] = {SmoothingShuffle(0, 1), SmoothingShuffle(1, 1), SmoothingShuffle(2, 1)};

// Eight 3-byte pixels, read as the windows at 0 (low lane) and 8 (high lane), spread to
// one 32-bit word each.
constexpr Bytes32 UnpackShuffle()
{
    Bytes32 m{};
    for (int lane = 0; lane < 2; ++lane)
        for (int d = 0; d < 4; ++d)
            for (int c = 0; c < 4; ++c)
                m[16 * lane + 4 * d + c] = static_cast<uint8_t>(c < 3 ? 4 * lane + 3 * d + c : kZeroByte);
    return m;
}

constexpr Bytes32 kUnpack = UnpackShuffle();

// Two vectors of eight words, each a 3-byte pixel, interleaved (a0 b0 a1 b1 ...) and packed
// into 48 bytes, three 16-byte chunks: the shuffle places the pixels of vector which (0 for a,
// 1 for b) into output chunk chunk[lane] of each lane (-1: none).
constexpr Bytes32 PackShuffle(int which, int chunk0, int chunk1)
{
    Bytes32 m{};
    const int chunk[2] = {chunk0, chunk1};
    for (int lane = 0; lane < 2; ++lane)
        for (int i = 0; i < 16; ++i) {
            m[16 * lane + i] = kZeroByte;
            if (chunk[lane] < 0)
                continue;
            const int k = 16 * chunk[lane] + i;
            const int j = k / 3; // output pixel: word j / 2 of a (j even) or of b (j odd)
            const int d = j / 2 - 4 * lane;
            if (j % 2 == which && d >= 0 && d < 4)
                m[16 * lane + i] = static_cast<uint8_t>(4 * d + k % 3);
        }
    return m;
}

constexpr Bytes32 kPackFirstToEnds = PackShuffle(0, 0, 2);
constexpr Bytes32 kPackSecondToEnds = PackShuffle(1, 0, 2);
constexpr Bytes32 kPackFirstToMiddle = PackShuffle(0, 1, 1);
constexpr Bytes32 kPackSecondToMiddle = PackShuffle(1, 1, 1);

// Smoothing buffer pairs: a pixel's value in one 32-bit word and again in the next (which
// is then masked). Two pixels per lane, from a 16-byte window loaded into both lanes whose
// pixels, bytes long, start at offset: the low lane takes the first two, the high lane the next.
constexpr Bytes32 PairShuffle(int offset, int bytes)
{
    Bytes32 m{};
    for (int lane = 0; lane < 2; ++lane)
        for (int p = 0; p < 2; ++p)
            for (int c = 0; c < 8; ++c) {
                const int pixel = 2 * lane + p;
                m[16 * lane + 8 * p + c] =
                    static_cast<uint8_t>(c % 4 < bytes ? offset + pixel * bytes + c % 4 : kZeroByte);
            }
    return m;
}

constexpr Bytes32 kPairs16Low = PairShuffle(0, kBytes16);
constexpr Bytes32 kPairs16High = PairShuffle(8, kBytes16);
constexpr Bytes32 kPairs24Low = PairShuffle(0, kBytes24);
constexpr Bytes32 kPairs24High = PairShuffle(4, kBytes24); // in the window at byte 8

AVX2_CODE inline __m256i Table(const Bytes32& t)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t.data()));
}

AVX2_CODE inline __m256i Load(const void* p)
{
    return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

AVX2_CODE inline void Store(void* p, __m256i v)
{
    _mm256_storeu_si256(static_cast<__m256i*>(p), v);
}

AVX2_CODE inline void Store16(void* p, __m128i v)
{
    _mm_storeu_si128(static_cast<__m128i*>(p), v);
}

// Two 16-byte windows as the low and the high lane.
AVX2_CODE inline __m256i LoadLanes(const uint8_t* low, const uint8_t* high)
{
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(high), reinterpret_cast<const __m128i*>(low));
}

// The same 16 bytes in both lanes.
AVX2_CODE inline __m256i LoadBoth(const uint8_t* p)
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

AVX2_CODE inline __m256i Shuffle(__m256i v, const Bytes32& control)
{
    return _mm256_shuffle_epi8(v, Table(control));
}

// One byte copied from a 3-byte pixel to another, for the few pixels written singly.
inline void CopyPixel24(uint8_t* to, const uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// True when the n bytes at a and b are equal (n a multiple of 32).
AVX2_CODE bool SameBytes(const uint8_t* a, const uint8_t* b, int n)
{
    __m256i diff = _mm256_setzero_si256();
    for (int i = 0; i < n; i += 32)
        diff = _mm256_or_si256(diff, _mm256_xor_si256(Load(a + i), Load(b + i)));
    return _mm256_testz_si256(diff, diff);
}

// ---- Plain doubling ----

// Both output rows of one logical row of 2-byte pixels.
AVX2_CODE void DoubleRow16(const uint8_t* s, uint8_t* o0, uint8_t* o1)
{
    for (int g = 0; g < kGroups; ++g) {
        // Quarters 0 2 1 3, so that unpacking within lanes gives the pixels in order.
        const __m256i v = _mm256_permute4x64_epi64(Load(s + g * kGroup * kBytes16), 0xD8);
        const __m256i a = _mm256_unpacklo_epi16(v, v);
        const __m256i b = _mm256_unpackhi_epi16(v, v);
        uint8_t* d0 = o0 + g * 2 * kGroup * kBytes16;
        uint8_t* d1 = o1 + g * 2 * kGroup * kBytes16;
        Store(d0, a);
        Store(d0 + 32, b);
        Store(d1, a);
        Store(d1 + 32, b);
    }
}

// Both output rows of one logical row of 3-byte pixels: three shuffles per sixteen pixels.
AVX2_CODE void DoubleRow24(const uint8_t* s, uint8_t* o0, uint8_t* o1)
{
    const __m256i c0 = Table(kDoubling[0]);
    const __m256i c1 = Table(kDoubling[1]);
    const __m256i c2 = Table(kDoubling[2]);
    for (int g = 0; g < kGroups; ++g) {
        const uint8_t* p = s + g * kGroupBytes24;
        const __m256i a = _mm256_shuffle_epi8(LoadLanes(p + kWindow[0], p + kWindow[1]), c0);
        const __m256i b = _mm256_shuffle_epi8(LoadLanes(p + kWindow[2], p + kWindow[3]), c1);
        const __m256i c = _mm256_shuffle_epi8(LoadLanes(p + kWindow[4], p + kWindow[5]), c2);
        uint8_t* d0 = o0 + g * kOutGroupBytes24;
        uint8_t* d1 = o1 + g * kOutGroupBytes24;
        Store(d0, a);
        Store(d0 + 32, b);
        Store(d0 + 64, c);
        Store(d1, a);
        Store(d1 + 32, b);
        Store(d1 + 64, c);
    }
}

AVX2_CODE void DoubleRows(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* o0 = dst + 2 * y * dstPitch;
        if (bytesPerPixel == kBytes16)
            DoubleRow16(src + y * srcPitch, o0, o0 + dstPitch);
        else
            DoubleRow24(src + y * srcPitch, o0, o0 + dstPitch);
    }
}

// ---- Scale2x ----

template <int Bits>
AVX2_CODE inline __m256i Equal(__m256i a, __m256i b)
{
    if constexpr (Bits == 16)
        return _mm256_cmpeq_epi16(a, b);
    else
        return _mm256_cmpeq_epi32(a, b);
}

// The four output pixels of every pixel E of a vector, from its neighbours B (above),
// D (left), F (right) and H (below); see Scale2x.
struct Corners {
    __m256i e0, e1, e2, e3;
};

// keep: the pixels where B equals H or D equals F, which keep their colour.
template <int Bits>
AVX2_CODE inline Corners Scale2xCorners(__m256i keep, __m256i b, __m256i d, __m256i e, __m256i f, __m256i h)
{
    return {_mm256_blendv_epi8(e, d, _mm256_andnot_si256(keep, Equal<Bits>(b, d))),
            _mm256_blendv_epi8(e, f, _mm256_andnot_si256(keep, Equal<Bits>(b, f))),
            _mm256_blendv_epi8(e, d, _mm256_andnot_si256(keep, Equal<Bits>(d, h))),
            _mm256_blendv_epi8(e, f, _mm256_andnot_si256(keep, Equal<Bits>(h, f)))};
}

// The vector of left neighbours of a row's first vector of 2-byte pixels: its pixels moved
// up by one, the first pixel standing in for the missing one.
AVX2_CODE inline __m256i LeftNeighbours16(__m256i e)
{
    const __m256i lowInHigh = _mm256_permute2x128_si256(e, e, 0x08);
    const __m256i moved = _mm256_alignr_epi8(e, lowInHigh, 16 - kBytes16);
    return _mm256_or_si256(moved, _mm256_and_si256(e, _mm256_setr_epi32(0xFFFF, 0, 0, 0, 0, 0, 0, 0)));
}

// The vector of right neighbours of a row's last vector of 2-byte pixels: the last pixel
// stands in for the missing one.
AVX2_CODE inline __m256i RightNeighbours16(__m256i e)
{
    const __m256i highInLow = _mm256_permute2x128_si256(e, e, 0x81);
    const __m256i moved = _mm256_alignr_epi8(highInLow, e, kBytes16);
    const __m256i last = _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 0, static_cast<int>(0xFFFF0000));
    return _mm256_or_si256(moved, _mm256_and_si256(e, last));
}

// Two vectors of 2-byte pixels interleaved, a0 b0 a1 b1 ..., as two vectors in order.
AVX2_CODE inline void StoreInterleaved16(uint8_t* d, __m256i a, __m256i b)
{
    const __m256i low = _mm256_unpacklo_epi16(a, b);
    const __m256i high = _mm256_unpackhi_epi16(a, b);
    Store(d, _mm256_permute2x128_si256(low, high, 0x20));
    Store(d + 32, _mm256_permute2x128_si256(low, high, 0x31));
}

AVX2_CODE void Scale2xRow16(const uint8_t* up, const uint8_t* cur, const uint8_t* down, uint8_t* o0, uint8_t* o1)
{
    const auto* u = reinterpret_cast<const uint16_t*>(up);
    const auto* c = reinterpret_cast<const uint16_t*>(cur);
    const auto* w = reinterpret_cast<const uint16_t*>(down);
    for (int g = 0; g < kGroups; ++g) {
        const int x = g * kGroup;
        const __m256i b = Load(u + x);
        const __m256i h = Load(w + x);
        const __m256i e = Load(c + x);
        const __m256i d = g == 0 ? LeftNeighbours16(e) : Load(c + x - 1);
        const __m256i f = g == kGroups - 1 ? RightNeighbours16(e) : Load(c + x + 1);
        const __m256i keep = _mm256_or_si256(_mm256_cmpeq_epi16(b, h), _mm256_cmpeq_epi16(d, f));
        const Corners r = Scale2xCorners<16>(keep, b, d, e, f, h);
        StoreInterleaved16(o0 + 2 * x * kBytes16, r.e0, r.e1);
        StoreInterleaved16(o1 + 2 * x * kBytes16, r.e2, r.e3);
    }
}

AVX2_CODE void Scale2xRows16(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* cur = src + y * srcPitch;
        const uint8_t* up = y > 0 ? cur - srcPitch : cur;
        const uint8_t* down = y < kHeight - 1 ? cur + srcPitch : cur;
        uint8_t* o0 = dst + 2 * y * dstPitch;
        // Where the rows above and below agree, every pixel keeps its colour: plain doubling.
        if (SameBytes(up, down, kWidth * kBytes16))
            DoubleRow16(cur, o0, o0 + dstPitch);
        else
            Scale2xRow16(up, cur, down, o0, o0 + dstPitch);
    }
}

constexpr int kUnpacked = 8; // pixels per vector of 32-bit words

// Eight 3-byte pixels at p as eight 32-bit words.
AVX2_CODE inline __m256i Unpack8(const uint8_t* p)
{
    return _mm256_shuffle_epi8(LoadLanes(p, p + 8), Table(kUnpack));
}

// Sixteen 3-byte pixels, the words a0 b0 a1 b1 ... of two 8-pixel vectors, packed into
// 48 bytes: each lane fills one end chunk and part of the middle one.
AVX2_CODE inline void StoreInterleaved24(uint8_t* d, __m256i a, __m256i b)
{
    const __m256i ends = _mm256_or_si256(Shuffle(a, kPackFirstToEnds), Shuffle(b, kPackSecondToEnds));
    const __m256i middle = _mm256_or_si256(Shuffle(a, kPackFirstToMiddle), Shuffle(b, kPackSecondToMiddle));
    Store16(d, _mm256_castsi256_si128(ends));
    Store16(d + 16, _mm_or_si128(_mm256_castsi256_si128(middle), _mm256_extracti128_si256(middle, 1)));
    Store16(d + 32, _mm256_extracti128_si256(ends, 1));
}

// Both output rows of eight 3-byte pixels at p, each doubled.
AVX2_CODE inline void DoubleGroup8(const uint8_t* p, uint8_t* o0, uint8_t* o1)
{
    // Output chunks 0 and 1 as the first doubling vector; chunk 2 as the low lane of the second.
    const __m256i a = Shuffle(LoadLanes(p + kWindow[0], p + kWindow[1]), kDoubling[0]);
    const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + kWindow[2])),
                                       _mm256_castsi256_si128(Table(kDoubling[1])));
    Store(o0, a);
    Store16(o0 + 32, b);
    Store(o1, a);
    Store16(o1 + 32, b);
}

// A logical row of 3-byte pixels as words, its first and last pixel repeated outside it:
// word x + 1 is pixel x, so a pixel's left and right neighbours are plain loads.
constexpr int kWideRow = kWidth + 8;

AVX2_CODE void UnpackRow(const uint8_t* s, uint32_t* w)
{
    for (int x = 0; x < kWidth; x += kUnpacked)
        Store(w + 1 + x, Unpack8(s + x * kBytes24));
    w[0] = w[1];
    w[kWidth + 1] = w[kWidth];
}

AVX2_CODE void Scale2xRow24(const uint8_t* cur, const uint32_t* up, const uint32_t* mid, const uint32_t* down,
                            uint8_t* o0, uint8_t* o1)
{
    for (int x = 0; x < kWidth; x += kUnpacked) {
        const __m256i b = Load(up + x + 1);
        const __m256i h = Load(down + x + 1);
        const __m256i d = Load(mid + x);
        const __m256i e = Load(mid + x + 1);
        const __m256i f = Load(mid + x + 2);
        const __m256i keep = _mm256_or_si256(_mm256_cmpeq_epi32(b, h), _mm256_cmpeq_epi32(d, f));
        // Where every pixel keeps its colour, plain doubling is cheaper than packing corners.
        if (_mm256_movemask_ps(_mm256_castsi256_ps(keep)) == 0xFF) {
            DoubleGroup8(cur + x * kBytes24, o0 + 2 * x * kBytes24, o1 + 2 * x * kBytes24);
            continue;
        }
        const Corners r = Scale2xCorners<32>(keep, b, d, e, f, h);
        StoreInterleaved24(o0 + 2 * x * kBytes24, r.e0, r.e1);
        StoreInterleaved24(o1 + 2 * x * kBytes24, r.e2, r.e3);
    }
}

AVX2_CODE void Scale2xRows24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch)
{
    alignas(32) uint32_t rows[3][kWideRow];
    uint32_t* up = rows[0];
    uint32_t* mid = rows[1];
    uint32_t* down = rows[2];
    UnpackRow(src, mid);
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* cur = src + y * srcPitch;
        const bool top = y == 0;
        const bool bottom = y == kHeight - 1;
        if (!bottom)
            UnpackRow(cur + srcPitch, down);
        uint8_t* o0 = dst + 2 * y * dstPitch;
        // Where the rows above and below agree, every pixel keeps its colour: plain doubling.
        if (SameBytes(top ? cur : cur - srcPitch, bottom ? cur : cur + srcPitch, kWidth * kBytes24))
            DoubleRow24(cur, o0, o0 + dstPitch);
        else
            Scale2xRow24(cur, top ? mid : up, mid, bottom ? mid : down, o0, o0 + dstPitch);
        uint32_t* spare = up;
        up = mid;
        mid = down;
        down = spare;
    }
}

// ---- Smoothing ----

// Pairs of the smoothing buffer for one logical row; pairMask keeps the value in the first
// word of each pair and masks the second.
AVX2_CODE void FillPairs16(const uint8_t* s, uint32_t* pairs, __m256i pairMask)
{
    const __m256i low = Table(kPairs16Low);
    const __m256i high = Table(kPairs16High);
    for (int x = 0; x < kWidth; x += 8) {
        const __m256i v = LoadBoth(s + x * kBytes16);
        Store(pairs + 2 * x, _mm256_and_si256(_mm256_shuffle_epi8(v, low), pairMask));
        Store(pairs + 2 * x + 8, _mm256_and_si256(_mm256_shuffle_epi8(v, high), pairMask));
    }
}

AVX2_CODE void FillPairs24(const uint8_t* s, uint32_t* pairs, __m256i pairMask)
{
    const __m256i low = Table(kPairs24Low);
    const __m256i high = Table(kPairs24High);
    for (int x = 0; x < kWidth; x += 8) {
        const uint8_t* p = s + x * kBytes24;
        Store(pairs + 2 * x, _mm256_and_si256(_mm256_shuffle_epi8(LoadBoth(p), low), pairMask));
        Store(pairs + 2 * x + 8, _mm256_and_si256(_mm256_shuffle_epi8(LoadBoth(p + 8), high), pairMask));
    }
}

// Output row e (even pattern) of logical row s and, when Odd, output row o (odd pattern)
// between s and the row below it, n; mask is the smoothing mask in every pixel.
template <bool Odd>
AVX2_CODE void SmoothRows16(const uint8_t* s, const uint8_t* n, uint8_t* e, uint8_t* o, __m256i mask)
{
    const auto* a = reinterpret_cast<const uint16_t*>(s);
    const auto* b = reinterpret_cast<const uint16_t*>(n);
    for (int g = 0; g < kGroups; ++g) {
        const int x = g * kGroup;
        const __m256i p = Load(a + x);
        const __m256i right = g == kGroups - 1 ? RightNeighbours16(p) : Load(a + x + 1);
        const __m256i m = _mm256_and_si256(p, mask);
        const __m256i mr = _mm256_and_si256(right, mask);
        StoreInterleaved16(e + 2 * x * kBytes16, p, _mm256_avg_epu16(m, mr));
        if constexpr (Odd) {
            const __m256i mb = _mm256_and_si256(Load(b + x), mask);
            StoreInterleaved16(o + 2 * x * kBytes16, _mm256_avg_epu16(m, mb), _mm256_avg_epu16(mb, mr));
        }
    }
    // The last pixel has no right neighbour: copies instead of averages.
    reinterpret_cast<uint16_t*>(e)[kDoubledWidth - 1] = a[kLastColumn];
    if constexpr (Odd) {
        reinterpret_cast<uint16_t*>(o)[kDoubledWidth - 2] = b[kLastColumn];
        reinterpret_cast<uint16_t*>(o)[kDoubledWidth - 1] = b[kLastColumn];
    }
}

// The smoothing mask repeated over the bytes of packed 3-byte pixels, for windows that start
// at pixel byte phase0 (low lane) and phase1 (high lane).
AVX2_CODE inline __m256i PhaseMask(uint32_t mask, int phase0, int phase1)
{
    alignas(32) uint8_t bytes[32];
    for (int i = 0; i < 16; ++i) {
        bytes[i] = static_cast<uint8_t>(mask >> (8 * ((phase0 + i) % 3)));
        bytes[16 + i] = static_cast<uint8_t>(mask >> (8 * ((phase1 + i) % 3)));
    }
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(bytes));
}

// As SmoothRows16 for 3-byte pixels, all in packed bytes: averaging masked bytes needs no
// unpacking, since a pixel's average is the average of each of its bytes.
template <bool Odd>
AVX2_CODE void SmoothRows24(const uint8_t* s, const uint8_t* n, uint8_t* e, uint8_t* o, const __m256i (&mask)[3])
{
    for (int g = 0; g < kGroups; ++g) {
        const uint8_t* p = s + g * kGroupBytes24;
        const uint8_t* q = n + g * kGroupBytes24;
        for (int v = 0; v < 3; ++v) {
            const int w0 = kWindow[2 * v];
            const int w1 = kWindow[2 * v + 1];
            const __m256i value = LoadLanes(p + w0, p + w1);
            // The right neighbours' bytes, three further on; the row's last window would read
            // past the row, so it is shifted instead (its last pixel is written apart).
            const bool rowEnd = g == kGroups - 1 && v == 2;
            const __m256i right =
                rowEnd
                    ? _mm256_inserti128_si256(
                          _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + w0 + kBytes24))),
                          _mm_srli_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + w1)), kBytes24), 1)
                    : LoadLanes(p + w0 + kBytes24, p + w1 + kBytes24);
            const __m256i m = _mm256_and_si256(value, mask[v]);
            const __m256i mr = _mm256_and_si256(right, mask[v]);
            const __m256i copied = Table(kCopied[v]);
            const __m256i averaged = Table(kAveraged[v]);
            Store(e + g * kOutGroupBytes24 + 32 * v,
                  _mm256_or_si256(_mm256_shuffle_epi8(value, copied),
                                  _mm256_shuffle_epi8(_mm256_avg_epu8(m, mr), averaged)));
            if constexpr (Odd) {
                const __m256i mb = _mm256_and_si256(LoadLanes(q + w0, q + w1), mask[v]);
                Store(o + g * kOutGroupBytes24 + 32 * v,
                      _mm256_or_si256(_mm256_shuffle_epi8(_mm256_avg_epu8(m, mb), copied),
                                      _mm256_shuffle_epi8(_mm256_avg_epu8(mb, mr), averaged)));
            }
        }
    }
    CopyPixel24(e + (kDoubledWidth - 1) * kBytes24, s + kLastColumn * kBytes24);
    if constexpr (Odd) {
        CopyPixel24(o + (kDoubledWidth - 2) * kBytes24, n + kLastColumn * kBytes24);
        CopyPixel24(o + (kDoubledWidth - 1) * kBytes24, n + kLastColumn * kBytes24);
    }
}

AVX2_CODE void SmoothAll(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                         uint32_t* buffer)
{
    const bool is16 = bytesPerPixel == kBytes16;
    const uint64_t pixelBits = is16 ? 0xFFFF : 0xFFFFFF;
    const __m256i pairMask = _mm256_set1_epi64x(static_cast<long long>(pixelBits | (uint64_t{mask} << 32)));
    const __m256i mask16 = _mm256_set1_epi16(static_cast<short>(mask));
    const __m256i mask24[3] = {PhaseMask(mask, kWindow[0] % 3, kWindow[1] % 3),
                               PhaseMask(mask, kWindow[2] % 3, kWindow[3] % 3),
                               PhaseMask(mask, kWindow[4] % 3, kWindow[5] % 3)};
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* s = src + y * srcPitch;
        uint32_t* pairs = buffer + y * 2 * kWidth;
        uint8_t* e = dst + 2 * y * dstPitch;
        if (is16)
            FillPairs16(s, pairs, pairMask);
        else
            FillPairs24(s, pairs, pairMask);
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

void ScalePlainAvx2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    if (bytesPerPixel == kBytes16 || bytesPerPixel == kBytes24)
        DoubleRows(src, srcPitch, dst, dstPitch, bytesPerPixel);
}

void Scale2xAvx2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    if (bytesPerPixel == kBytes16)
        Scale2xRows16(src, srcPitch, dst, dstPitch);
    else if (bytesPerPixel == kBytes24)
        Scale2xRows24(src, srcPitch, dst, dstPitch);
}

void ScaleSmoothAvx2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                     uint32_t* buffer)
{
    // The averaging instructions round up, so they agree with the portable (a + b) >> 1 only
    // when every sum is even: when the mask clears the lowest bit of each averaged unit
    // (the whole 2-byte pixel, or each byte of a 3-byte one), as it does for the usual formats.
    const bool exact = bytesPerPixel == kBytes16 ? (mask & 0x1) == 0 : (mask & 0x010101) == 0;
    if (exact && (bytesPerPixel == kBytes16 || bytesPerPixel == kBytes24))
        SmoothAll(src, srcPitch, dst, dstPitch, bytesPerPixel, mask, buffer);
    else
        ScaleSmooth(src, srcPitch, dst, dstPitch, bytesPerPixel, mask, buffer);
}

#endif
