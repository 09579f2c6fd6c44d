// How a signal's energy divides between frequency bands, from its averaged power spectrum.
#pragma once

#include <vector>

// Energy shares (summing to 1, or all 0 for silence) of the bands between consecutive
// edges in Hz: edges {250, 4000} give the shares below 250 Hz, 250..4000 Hz and above 4 kHz.
// `interleaved` holds `channels` samples a frame; the channels' spectra are added.
std::vector<double> BandEnergyShares(const std::vector<float>& interleaved, int channels, int rate,
                                     const std::vector<double>& edges);

// The strongest frequency in Hz of a steady signal (one channel), refined between FFT bins;
// for checking the pitch of a held note.
double StrongestFrequency(const std::vector<float>& mono, int rate);
