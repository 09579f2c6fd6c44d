// A radix-2 FFT over Hann-windowed frames; band powers are summed bin by bin.
#include "spectrum_bands.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace {

constexpr int kFrameSize = 2048; // about 93 ms at 22050 Hz, 10.8 Hz a bin

void Fft(std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * std::numbers::pi / len);
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> t = 1.0;
            for (size_t k = 0; k < len / 2; ++k, t *= w) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * t;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// Power per bin (0 .. kFrameSize/2) summed over half-overlapping Hann frames of one channel.
void AddPowerSpectrum(const std::vector<float>& interleaved, int channels, int channel, std::vector<double>& power,
                      int frameSize)
{
    const size_t frames = interleaved.size() / channels;
    std::vector<std::complex<double>> buf(frameSize);
    for (size_t start = 0; start < frames; start += frameSize / 2) {
        for (int i = 0; i < frameSize; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / frameSize);
            const size_t at = start + i;
            buf[i] = at < frames ? w * interleaved[at * channels + channel] : 0.0;
        }
        Fft(buf);
        for (int k = 0; k <= frameSize / 2; ++k)
            power[k] += std::norm(buf[k]);
    }
}

} // namespace

std::vector<double> BandEnergyShares(const std::vector<float>& interleaved, int channels, int rate,
                                     const std::vector<double>& edges)
{
    std::vector<double> power(kFrameSize / 2 + 1, 0.0);
    for (int c = 0; c < channels; ++c)
        AddPowerSpectrum(interleaved, channels, c, power, kFrameSize);
    std::vector<double> shares(edges.size() + 1, 0.0);
    double total = 0;
    for (int k = 1; k <= kFrameSize / 2; ++k) { // bin 0 is DC, not sound
        const double hz = static_cast<double>(k) * rate / kFrameSize;
        size_t band = 0;
        while (band < edges.size() && hz >= edges[band])
            ++band;
        shares[band] += power[k];
        total += power[k];
    }
    for (double& s : shares)
        s = total > 0 ? s / total : 0.0;
    return shares;
}

double StrongestFrequency(const std::vector<float>& mono, int rate)
{
    int size = 1;
    while (size * 2 <= static_cast<int>(mono.size()) && size < (1 << 18))
        size *= 2;
    std::vector<double> power(size / 2 + 1, 0.0);
    AddPowerSpectrum(mono, 1, 0, power, size);
    int peak = 1;
    for (int k = 2; k < size / 2; ++k)
        if (power[k] > power[peak])
            peak = k;
    // A parabola through the log power of the peak and its neighbours finds the true centre.
    const double l = std::log(power[peak - 1] + 1e-30), c = std::log(power[peak] + 1e-30),
                 r = std::log(power[peak + 1] + 1e-30);
    const double denom = l - 2 * c + r;
    const double shift = denom != 0 ? 0.5 * (l - r) / denom : 0.0;
    return (peak + shift) * rate / size;
}
