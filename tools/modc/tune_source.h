// Records for one parsed tune source: instruments, expanded channel cells, patterns and order.
#pragma once

#include <map>
#include <string>
#include <vector>

// One synthesised instrument: its kind and the key=value recipe from the source.
struct InstrumentRecipe {
    std::string name;
    std::string kind;                          // tone, kick, snare, clap, tom, hat, cymbal, shaker
    std::map<std::string, std::string> params; // raw recipe values, read by the synthesiser
    int line = 0;                              // source line, for messages
};

constexpr int kNoNote = -1;      // the cell plays no note
constexpr int kDefaultNote = -2; // the cell plays the instrument at its own default note

// One row cell after expansion: an optional note, instrument and effect.
struct Cell {
    int note = kNoNote;  // semitone number (C0 = 0), kNoNote or kDefaultNote
    int instrument = -1; // index into TuneSource::instruments, -1 for none
    int effect = 0;      // ProTracker effect command 0..15
    int param = 0;       // effect parameter byte
    bool hasEffect = false;
    bool autoSilence = false; // the volume-0 the compiler put into a channel the pattern leaves out
};

// One pattern: a fixed number of rows of cells per channel.
struct PatternSource {
    std::string name;
    int rows = 64;
    int volumePercent = 100;                 // scales the volume of every note and set volume in the pattern
    std::vector<std::vector<Cell>> channels; // [channel][row]
};

// A whole tune as read from its text source.
struct TuneSource {
    std::string title;
    std::vector<std::string> channelNames;
    std::vector<int> channelPan; // 0 left .. 64 centre .. 128 right, -1 = leave the player's default
    int speed = 6;               // ticks per row
    int tempo = 125;             // beats per minute in the ProTracker sense
    int volumePercent = 100;     // scales every default and set volume (none may pass 64) to balance whole tunes
    std::vector<InstrumentRecipe> instruments;
    std::vector<PatternSource> patterns;
    std::vector<int> order; // pattern indices in play order
};

// Parses the text of a tune source. On failure returns false and puts
// "line N: reason" into error. Notes are range-checked later by the writer.
bool ParseTuneSource(const std::string& text, TuneSource& tune, std::string& error);
