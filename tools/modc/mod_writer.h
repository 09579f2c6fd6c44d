// Lays out a parsed tune and its synthesised samples as a ProTracker 31-sample MOD file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sample_synth.h"
#include "tune_source.h"

// Builds the MOD bytes ("M.K." for up to 4 channels, "6CHN" or "8CHN" above).
// samples[i] belongs to tune.instruments[i]. False with a message in error
// when a note is out of range or a limit of the format is exceeded.
bool WriteModule(const TuneSource& tune, const std::vector<SynthSample>& samples, std::vector<uint8_t>& out,
                 std::string& error);
