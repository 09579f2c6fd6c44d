// Instrument synthesiser: turns an instrument recipe into a signed 8-bit MOD sample.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tune_source.h"

// One finished sample as the MOD file stores it.
struct SynthSample {
    std::vector<int8_t> data; // even length
    int loopStart = 0;        // bytes, even
    int loopLength = 0;       // bytes, even; 0 means the sample plays once
    int volume = 48;          // default volume 0..64
    int base = 3;             // the real octave that sounds when the tracker plays octave 2
    int defaultNote = 0;      // the pitch (C0 = 0) a cell without a note plays
    int vibrato = 0;          // 4xy parameter the writer adds to the free rows of held notes, 0 = none
    int vibratoDelay = 2;     // rows after the note's start before the vibrato begins
};

constexpr int kTrackerNoteCount = 60;         // tracker notes C-0 .. B-4
constexpr int kFirstPlayableTrackerNote = 12; // C-1: the classic three octaves ...
constexpr int kLastPlayableTrackerNote = 47;  // ... up to B-3

// The Amiga period of a tracker note (0 = C-0, 24 = C-2), or 0 when the note
// lies outside the playable range.
int TrackerPeriod(int trackerNote);

// The tracker note that sounds a real pitch (C0 = 0) for an instrument whose
// real octave `base` sits at tracker octave 2.
int TrackerNoteFor(int pitch, int base);

// Playback rate in Hz of a sample at an Amiga period (PAL clock).
double AmigaRate(int period);

// Builds the sample for one recipe; false with a message in error when a
// value is unknown or out of range. Identical recipes give identical bytes.
bool SynthesiseInstrument(const InstrumentRecipe& recipe, SynthSample& out, std::string& error);
