// Parser for the tracker-style tune text: phrases, chord helpers, patterns and the order list.
#include "tune_source.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int kMaxNestingDepth = 16; // phrases may reference phrases, but not endlessly
constexpr int kMaxRowsPerPattern = 64;
constexpr int kSemitonesPerOctave = 12;
constexpr int kMaxPan = 128; // the player reads a MOD's 8xx panning as 0..0x80

// One statement: its keyword line's words plus the words of its indented continuation lines.
struct Statement {
    int line = 0;
    std::vector<std::string> head;                      // words on the keyword line
    std::vector<std::pair<int, std::string>> bodyLines; // continuation lines (line number, text)
};

// A phrase: a named list of items (cell tokens or phrase references).
struct Phrase {
    std::vector<std::string> items;
    int step = 1; // rows per token unless the token says otherwise
    int line = 0;
};

struct ParseError {
    int line;
    std::string text;
};

[[noreturn]] void Fail(int line, const std::string& text)
{
    throw ParseError{line, text};
}

std::vector<std::string> SplitWords(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string w;
    while (in >> w) {
        if (w == "|")
            continue; // bar lines are only there for the eye
        words.push_back(w);
    }
    return words;
}

std::string StripComment(const std::string& line)
{
    // A comment starts at a '#' that begins a word, so sharps like C#4 survive.
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
            return line.substr(0, i);
    return line;
}

bool ParseInt(const std::string& s, int& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0')
        return false;
    out = static_cast<int>(v);
    return true;
}

int ParseIntOrFail(const std::string& s, int line, const char* what)
{
    int v = 0;
    if (!ParseInt(s, v))
        Fail(line, std::string("bad number for ") + what + ": " + s);
    return v;
}

bool ParseHex(const std::string& s, int& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 16);
    if (*end != '\0')
        return false;
    out = static_cast<int>(v);
    return true;
}

// Parses "C4", "F#3", "Bb2" at the start of s; returns the characters used or 0.
size_t ParseNoteName(const std::string& s, int& note)
{
    static const int kLetterSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (s.empty() || s[0] < 'A' || s[0] > 'G')
        return 0;
    int semi = kLetterSemitone[s[0] - 'A'];
    size_t i = 1;
    if (i < s.size() && s[i] == '#') {
        ++semi;
        ++i;
    } else if (i < s.size() && s[i] == 'b') {
        --semi;
        ++i;
    }
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
        return 0;
    const int octave = s[i] - '0';
    ++i;
    note = octave * kSemitonesPerOctave + semi;
    return i;
}

bool IsPhraseName(const std::string& s)
{
    return !s.empty() && std::islower(static_cast<unsigned char>(s[0]));
}

// Splits "name+5*2" into its parts; missing parts give 0 transposition and 1 repeat.
void SplitReference(const std::string& item, int line, std::string& name, int& transpose, int& repeat)
{
    transpose = 0;
    repeat = 1;
    std::string rest = item;
    const size_t star = rest.find('*');
    if (star != std::string::npos) {
        repeat = ParseIntOrFail(rest.substr(star + 1), line, "repeat count");
        rest = rest.substr(0, star);
        if (repeat < 1)
            Fail(line, "repeat count must be at least 1: " + item);
    }
    const size_t sign = rest.find_first_of("+-");
    if (sign != std::string::npos) {
        transpose = ParseIntOrFail(rest.substr(sign + 1), line, "transposition");
        if (rest[sign] == '-')
            transpose = -transpose;
        rest = rest.substr(0, sign);
    }
    name = rest;
}

struct Parser {
    TuneSource& tune;
    std::map<std::string, Phrase> phrases;
    std::map<std::string, int> instrumentIndex;
    std::map<std::string, int> patternIndex;

    int FindInstrument(const std::string& name, int line) const
    {
        const auto it = instrumentIndex.find(name);
        if (it == instrumentIndex.end())
            Fail(line, "unknown instrument: " + name);
        return it->second;
    }

    // Decodes the effect text after ':' into a ProTracker command and parameter.
    void ParseEffect(const std::string& fx, int line, Cell& cell) const
    {
        if (fx.empty())
            Fail(line, "empty effect");
        const char kind = fx[0];
        const std::string arg = fx.substr(1);
        int v = 0;
        cell.hasEffect = true;
        switch (kind) {
        case 'v': // set volume, decimal 0..64
            v = ParseIntOrFail(arg, line, "volume");
            if (v < 0 || v > 64)
                Fail(line, "volume out of range: " + fx);
            cell.effect = 0xC;
            cell.param = v;
            return;
        case 'a': // arpeggio, two hex semitone offsets
            if (arg.size() != 2 || !ParseHex(arg, v))
                Fail(line, "arpeggio needs two hex digits: " + fx);
            cell.effect = 0x0;
            cell.param = v;
            return;
        case '~': // vibrato speed/depth, empty continues the last one
            if (!arg.empty() && (arg.size() != 2 || !ParseHex(arg, v)))
                Fail(line, "vibrato needs two hex digits: " + fx);
            cell.effect = 0x4;
            cell.param = v;
            return;
        case 's': // volume slide down
        case 'u': // volume slide up
            if (arg.size() != 1 || !ParseHex(arg, v))
                Fail(line, "volume slide needs one hex digit: " + fx);
            cell.effect = 0xA;
            cell.param = kind == 'u' ? v << 4 : v;
            return;
        case 'p': // tone portamento toward the note
            if (!arg.empty() && (arg.size() != 2 || !ParseHex(arg, v)))
                Fail(line, "portamento needs two hex digits: " + fx);
            cell.effect = 0x3;
            cell.param = v;
            return;
        case '^': // note cut at a tick
        case 'd': // note delay by ticks
            if (arg.size() != 1 || !ParseHex(arg, v))
                Fail(line, "cut/delay needs one hex digit: " + fx);
            cell.effect = 0xE;
            cell.param = (kind == '^' ? 0xC0 : 0xD0) | v;
            return;
        case 'x': // raw command: one hex digit command, two hex digits parameter
            if (arg.size() != 3 || !ParseHex(arg, v))
                Fail(line, "raw effect needs three hex digits: " + fx);
            cell.effect = v >> 8;
            cell.param = v & 0xFF;
            return;
        default:
            Fail(line, "unknown effect: " + fx);
        }
    }

    // Appends the cells of one item to out, updating the sticky instrument.
    void ExpandItem(const std::string& item, int line, int transpose, int step, int depth, int& instrument,
                    std::vector<Cell>& out) const
    {
        if (depth > kMaxNestingDepth)
            Fail(line, "phrases nest too deeply (a phrase refers to itself?)");
        if (IsPhraseName(item)) {
            // "name[from:to]" keeps only those rows of the phrase.
            std::string ref = item;
            int from = 0, to = -1;
            const size_t open = ref.find('[');
            if (open != std::string::npos) {
                const size_t colon = ref.find(':', open);
                const size_t close = ref.find(']', open);
                if (colon == std::string::npos || close == std::string::npos || colon > close)
                    Fail(line, "bad row range: " + item);
                from = ParseIntOrFail(ref.substr(open + 1, colon - open - 1), line, "first row");
                to = ParseIntOrFail(ref.substr(colon + 1, close - colon - 1), line, "end row");
                ref = ref.substr(0, open) + ref.substr(close + 1);
                if (from < 0 || to <= from)
                    Fail(line, "bad row range: " + item);
            }
            std::string name;
            int shift = 0;
            int repeat = 1;
            SplitReference(ref, line, name, shift, repeat);
            const auto it = phrases.find(name);
            if (it == phrases.end())
                Fail(line, "unknown phrase: " + name);
            std::vector<Cell> cells;
            for (const std::string& sub : it->second.items)
                ExpandItem(sub, it->second.line, transpose + shift, it->second.step, depth + 1, instrument, cells);
            if (to >= 0) {
                if (to > static_cast<int>(cells.size()))
                    Fail(line, "row range past the end of " + name + ": " + item);
                cells = std::vector<Cell>(cells.begin() + from, cells.begin() + to);
            }
            for (int r = 0; r < repeat; ++r)
                out.insert(out.end(), cells.begin(), cells.end());
            return;
        }
        if (item[0] == '=') { // "=name" selects the instrument without using a row
            instrument = FindInstrument(item.substr(1), line);
            return;
        }
        std::string text = item;
        int rows = step;
        int copies = 1; // "cell%N" writes the same cell on N rows (for slides that must run on every row)
        const size_t percent = text.find('%');
        if (percent != std::string::npos) {
            copies = ParseIntOrFail(text.substr(percent + 1), line, "copy count");
            text = text.substr(0, percent);
            if (copies < 1)
                Fail(line, "copy count must be at least 1: " + item);
        }
        const size_t star = text.find('*');
        if (star != std::string::npos) {
            rows = step * ParseIntOrFail(text.substr(star + 1), line, "row count");
            text = text.substr(0, star);
            if (rows < 1)
                Fail(line, "row count must be at least 1: " + item);
        }
        Cell cell;
        std::string effect;
        const size_t colon = text.find(':');
        if (colon != std::string::npos) {
            effect = text.substr(colon + 1);
            text = text.substr(0, colon);
        }
        if (text == "^") {
            cell.hasEffect = true;
            cell.effect = 0xC; // volume 0 silences the note at once
            cell.param = 0;
        } else if (text == "." || text.empty()) {
            // an empty row, or an effect-only row
        } else {
            int note = -1;
            const size_t used = ParseNoteName(text, note);
            std::string rest = text.substr(used);
            if (!rest.empty()) {
                if (rest[0] != '@')
                    Fail(line, "bad cell: " + item);
                instrument = FindInstrument(rest.substr(1), line);
            }
            if (used == 0 && rest.empty())
                Fail(line, "bad cell: " + item);
            if (instrument < 0)
                Fail(line, "note before any instrument: " + item);
            cell.instrument = instrument;
            cell.note = used ? note + transpose : kDefaultNote;
        }
        if (!effect.empty()) {
            if (cell.hasEffect)
                Fail(line, "one effect per cell: " + item);
            ParseEffect(effect, line, cell);
        }
        for (int c = 0; c < copies; ++c) {
            out.push_back(cell);
            for (int r = 1; r < rows; ++r)
                out.push_back(Cell{});
        }
    }

    void ParseInstrument(const Statement& st)
    {
        if (st.head.size() < 3)
            Fail(st.line, "instrument needs a name and a kind");
        InstrumentRecipe rec;
        rec.name = st.head[1];
        rec.kind = st.head[2];
        rec.line = st.line;
        std::vector<std::string> words(st.head.begin() + 3, st.head.end());
        for (const auto& [line, text] : st.bodyLines)
            for (const std::string& w : SplitWords(text))
                words.push_back(w);
        for (const std::string& w : words) {
            const size_t eq = w.find('=');
            if (eq == std::string::npos || eq == 0)
                Fail(st.line, "instrument setting must be key=value: " + w);
            rec.params[w.substr(0, eq)] = w.substr(eq + 1);
        }
        if (instrumentIndex.count(rec.name))
            Fail(st.line, "instrument defined twice: " + rec.name);
        instrumentIndex[rec.name] = static_cast<int>(tune.instruments.size());
        tune.instruments.push_back(rec);
    }

    // Words after the head's options, the colon included; options are key=value before the colon.
    static void SplitOptions(const Statement& st, size_t from, std::map<std::string, std::string>& options,
                             std::vector<std::string>& items)
    {
        bool afterColon = false;
        for (size_t i = from; i < st.head.size(); ++i) {
            const std::string& w = st.head[i];
            if (!afterColon && w == ":") {
                afterColon = true;
                continue;
            }
            const size_t eq = w.find('=');
            if (!afterColon && eq != std::string::npos)
                options[w.substr(0, eq)] = w.substr(eq + 1);
            else
                items.push_back(w);
        }
        for (const auto& [line, text] : st.bodyLines)
            for (const std::string& w : SplitWords(text))
                items.push_back(w);
    }

    void DefinePhrase(const std::string& name, Phrase p, int line)
    {
        if (phrases.count(name))
            Fail(line, "phrase defined twice: " + name);
        p.line = line;
        phrases[name] = std::move(p);
    }

    void ParsePhrase(const Statement& st)
    {
        if (st.head.size() < 2 || !IsPhraseName(st.head[1]))
            Fail(st.line, "phrase needs a lower-case name");
        std::map<std::string, std::string> options;
        Phrase p;
        SplitOptions(st, 2, options, p.items);
        if (options.count("step"))
            p.step = ParseIntOrFail(options["step"], st.line, "step");
        if (p.step < 1)
            Fail(st.line, "step must be at least 1");
        DefinePhrase(st.head[1], std::move(p), st.line);
    }

    // "chords NAME step=N low=NOTE voices=N : Am F C G7*2" makes the phrases
    // NAME.1..NAME.voices (close voicing above low), NAME.root (root below low),
    // NAME.arp (root with an arpeggio of the voicing on every row) and, with
    // figure=..., NAME.fig (a broken-chord figure that follows the harmony).
    void ParseChords(const Statement& st)
    {
        if (st.head.size() < 2 || !IsPhraseName(st.head[1]))
            Fail(st.line, "chords needs a lower-case name");
        const std::string& base = st.head[1];
        std::map<std::string, std::string> options;
        std::vector<std::string> symbols;
        SplitOptions(st, 2, options, symbols);
        const int step = options.count("step") ? ParseIntOrFail(options["step"], st.line, "step") : 16;
        const int voices = options.count("voices") ? ParseIntOrFail(options["voices"], st.line, "voices") : 3;
        int low = 4 * kSemitonesPerOctave - 5; // G3
        if (options.count("low") && ParseNoteName(options["low"], low) != options["low"].size())
            Fail(st.line, "bad low note: " + options["low"]);
        if (step < 1 || voices < 1 || voices > 4)
            Fail(st.line, "chords needs step >= 1 and 1..4 voices");
        // An optional figure: comma-separated chord-tone numbers (1 = lowest tone
        // above flow, numbers past the chord size climb by octaves, 0 = rest),
        // one every fstep rows, repeated over each chord.
        std::vector<int> figure;
        if (options.count("figure")) {
            std::stringstream list(options["figure"]);
            std::string n;
            while (std::getline(list, n, ','))
                figure.push_back(ParseIntOrFail(n, st.line, "figure tone"));
        }
        const int figureStep = options.count("fstep") ? ParseIntOrFail(options["fstep"], st.line, "fstep") : 2;
        int figureLow = low + kSemitonesPerOctave;
        if (options.count("flow") && ParseNoteName(options["flow"], figureLow) != options["flow"].size())
            Fail(st.line, "bad flow note: " + options["flow"]);
        if (figureStep < 1)
            Fail(st.line, "fstep must be at least 1");
        std::vector<Phrase> parts(voices + 3);
        Phrase& root = parts[voices];
        Phrase& arp = parts[voices + 1];
        Phrase& fig = parts[voices + 2];
        for (const std::string& symbolItem : symbols) {
            std::string symbol = symbolItem;
            int length = 1;
            const size_t star = symbol.find('*');
            if (star != std::string::npos) {
                length = ParseIntOrFail(symbol.substr(star + 1), st.line, "chord length");
                symbol = symbol.substr(0, star);
            }
            std::vector<int> tones = ChordTones(symbol, st.line);
            const int rootPc = tones[0] % kSemitonesPerOctave;
            if (static_cast<int>(tones.size()) > voices && tones.size() >= 4)
                tones.erase(tones.begin() + 2); // drop the fifth first
            while (static_cast<int>(tones.size()) > voices)
                tones.pop_back();
            while (static_cast<int>(tones.size()) < voices)
                tones.push_back(tones[0]); // doubled root, lifted an octave below
            std::vector<int> pitches;
            for (int t : tones) {
                int p = low + ((t - low) % kSemitonesPerOctave + kSemitonesPerOctave) % kSemitonesPerOctave;
                while (std::find(pitches.begin(), pitches.end(), p) != pitches.end())
                    p += kSemitonesPerOctave;
                pitches.push_back(p);
            }
            std::sort(pitches.begin(), pitches.end());
            const int rows = step * length;
            if (!figure.empty()) {
                std::vector<int> all = ChordTones(symbol, st.line);
                std::vector<int> up;
                for (int t : all)
                    up.push_back(figureLow +
                                 ((t - figureLow) % kSemitonesPerOctave + kSemitonesPerOctave) % kSemitonesPerOctave);
                std::sort(up.begin(), up.end());
                const int n = static_cast<int>(up.size());
                for (int r = 0, k = 0; r < rows; ++k) {
                    const int tone = figure[k % figure.size()];
                    std::string item =
                        tone > 0 ? NoteText(up[(tone - 1) % n] + kSemitonesPerOctave * ((tone - 1) / n)) : ".";
                    const int len = std::min(figureStep, rows - r);
                    fig.items.push_back(len > 1 ? item + "*" + std::to_string(len) : item);
                    r += len;
                }
            }
            for (int v = 0; v < voices; ++v) {
                parts[v].items.push_back(NoteText(pitches[v]));
                for (int r = 1; r < rows; ++r)
                    parts[v].items.push_back(".");
            }
            int rootNote = low - kSemitonesPerOctave +
                           ((rootPc - low) % kSemitonesPerOctave + kSemitonesPerOctave) % kSemitonesPerOctave;
            root.items.push_back(NoteText(rootNote));
            for (int r = 1; r < rows; ++r)
                root.items.push_back(".");
            const int x = voices > 1 ? pitches[1] - pitches[0] : 0;
            const int y = voices > 2 ? pitches[2] - pitches[0] : 0;
            if (x > 15 || y > 15)
                Fail(st.line, "arpeggio span over 15 semitones: " + symbol);
            static const char* kHex = "0123456789ABCDEF";
            const std::string fx = std::string(":a") + kHex[x] + kHex[y];
            arp.items.push_back(NoteText(pitches[0]) + fx);
            for (int r = 1; r < rows; ++r)
                arp.items.push_back(fx);
        }
        for (int v = 0; v < voices; ++v)
            DefinePhrase(base + "." + std::to_string(v + 1), parts[v], st.line);
        DefinePhrase(base + ".root", root, st.line);
        DefinePhrase(base + ".arp", arp, st.line);
        if (!figure.empty())
            DefinePhrase(base + ".fig", fig, st.line);
    }

    static std::string NoteText(int note)
    {
        static const char* kNames[kSemitonesPerOctave] = {"C",  "C#", "D",  "D#", "E",  "F",
                                                          "F#", "G",  "G#", "A",  "A#", "B"};
        return std::string(kNames[note % kSemitonesPerOctave]) + std::to_string(note / kSemitonesPerOctave);
    }

    // Chord symbol to semitone tones; the root is placed in octave 4.
    static std::vector<int> ChordTones(const std::string& symbol, int line)
    {
        int root = 0;
        // The root letter and accidental, then the quality.
        size_t rootLen = (symbol.size() > 1 && (symbol[1] == '#' || symbol[1] == 'b')) ? 2 : 1;
        if (ParseNoteName(symbol.substr(0, rootLen) + "4", root) == 0)
            Fail(line, "bad chord: " + symbol);
        const std::string quality = symbol.substr(rootLen);
        static const std::map<std::string, std::vector<int>> kQualities = {
            {"", {0, 4, 7}},         {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
            {"maj7", {0, 4, 7, 11}}, {"sus4", {0, 5, 7}}, {"sus2", {0, 2, 7}},  {"dim", {0, 3, 6}},
            {"aug", {0, 4, 8}},      {"6", {0, 4, 7, 9}}, {"m6", {0, 3, 7, 9}}, {"add9", {0, 4, 7, 2}},
            {"madd9", {0, 3, 7, 2}}, {"5", {0, 7}},
        };
        const auto it = kQualities.find(quality);
        if (it == kQualities.end())
            Fail(line, "unknown chord quality: " + symbol);
        std::vector<int> tones;
        for (int i : it->second)
            tones.push_back(root + i);
        return tones;
    }

    int FindChannel(const std::string& name, int line) const
    {
        for (size_t i = 0; i < tune.channelNames.size(); ++i)
            if (tune.channelNames[i] == name)
                return static_cast<int>(i);
        Fail(line, "unknown channel: " + name);
    }

    void ParsePattern(const Statement& st)
    {
        if (st.head.size() < 2)
            Fail(st.line, "pattern needs a name");
        if (tune.channelNames.empty())
            Fail(st.line, "channels must come before the first pattern");
        PatternSource pat;
        pat.name = st.head[1];
        for (size_t i = 2; i < st.head.size(); ++i) {
            const std::string& w = st.head[i];
            if (w.rfind("rows=", 0) == 0)
                pat.rows = ParseIntOrFail(w.substr(5), st.line, "rows");
            else if (w.rfind("volume=", 0) == 0)
                pat.volumePercent = ParseIntOrFail(w.substr(7), st.line, "volume");
            else
                Fail(st.line, "unknown pattern option: " + w);
        }
        if (pat.volumePercent < 1 || pat.volumePercent > 400)
            Fail(st.line, "a pattern's volume is 1..400 percent");
        if (pat.rows < 1 || pat.rows > kMaxRowsPerPattern)
            Fail(st.line, "a pattern has 1 to 64 rows");
        pat.channels.assign(tune.channelNames.size(), {});
        std::vector<int> instrument(tune.channelNames.size(), -1);
        for (const auto& [line, text] : st.bodyLines) {
            std::vector<std::string> words = SplitWords(text);
            if (words.empty())
                continue;
            std::string chan = words[0];
            if (chan.empty() || chan.back() != ':')
                Fail(line, "pattern lines start with 'channel:'");
            chan.pop_back();
            const int c = FindChannel(chan, line);
            for (size_t i = 1; i < words.size(); ++i)
                ExpandItem(words[i], line, 0, 1, 0, instrument[c], pat.channels[c]);
            if (static_cast<int>(pat.channels[c].size()) > pat.rows)
                Fail(line, "channel " + chan + " has " + std::to_string(pat.channels[c].size()) + " rows, pattern " +
                               pat.name + " only " + std::to_string(pat.rows));
        }
        for (auto& rows : pat.channels) {
            // A channel the pattern leaves out is silent in it: stop whatever it still holds.
            const bool mentioned = !rows.empty();
            rows.resize(pat.rows);
            if (!mentioned) {
                rows[0].hasEffect = true;
                rows[0].effect = 0xC;
                rows[0].param = 0;
                rows[0].autoSilence = true;
            }
        }
        if (patternIndex.count(pat.name))
            Fail(st.line, "pattern defined twice: " + pat.name);
        patternIndex[pat.name] = static_cast<int>(tune.patterns.size());
        tune.patterns.push_back(std::move(pat));
    }

    void ParseOrder(const Statement& st)
    {
        std::vector<std::string> words(st.head.begin() + 1, st.head.end());
        for (const auto& [line, text] : st.bodyLines)
            for (const std::string& w : SplitWords(text))
                words.push_back(w);
        for (const std::string& w : words) {
            std::string name;
            int transpose = 0;
            int repeat = 1;
            SplitReference(w, st.line, name, transpose, repeat);
            if (transpose != 0)
                Fail(st.line, "patterns cannot be transposed in the order: " + w);
            const auto it = patternIndex.find(name);
            if (it == patternIndex.end())
                Fail(st.line, "unknown pattern in order: " + name);
            for (int r = 0; r < repeat; ++r)
                tune.order.push_back(it->second);
        }
    }

    void ParseChannels(const Statement& st)
    {
        for (size_t i = 1; i < st.head.size(); ++i) {
            std::string w = st.head[i];
            int pan = -1;
            const size_t eq = w.find('=');
            if (eq != std::string::npos) {
                pan = ParseIntOrFail(w.substr(eq + 1), st.line, "pan");
                if (pan < 0 || pan > kMaxPan)
                    Fail(st.line, "pan is 0 (left) .. 64 (centre) .. 128 (right): " + w);
                w = w.substr(0, eq);
            }
            tune.channelNames.push_back(w);
            tune.channelPan.push_back(pan);
        }
        if (tune.channelNames.empty() || tune.channelNames.size() > 8)
            Fail(st.line, "a tune has 1 to 8 channels");
    }

    void Run(const std::vector<Statement>& statements)
    {
        for (const Statement& st : statements) {
            const std::string& kw = st.head[0];
            if (kw == "title") {
                std::string title;
                for (size_t i = 1; i < st.head.size(); ++i)
                    title += (i > 1 ? " " : "") + st.head[i];
                tune.title = title;
            } else if (kw == "channels") {
                ParseChannels(st);
            } else if (kw == "speed" && st.head.size() == 2) {
                tune.speed = ParseIntOrFail(st.head[1], st.line, "speed");
                if (tune.speed < 1 || tune.speed > 31)
                    Fail(st.line, "speed is 1..31");
            } else if (kw == "tempo" && st.head.size() == 2) {
                tune.tempo = ParseIntOrFail(st.head[1], st.line, "tempo");
                if (tune.tempo < 32 || tune.tempo > 255)
                    Fail(st.line, "tempo is 32..255");
            } else if (kw == "volume" && st.head.size() == 2) {
                tune.volumePercent = ParseIntOrFail(st.head[1], st.line, "volume");
                if (tune.volumePercent < 1 || tune.volumePercent > 400)
                    Fail(st.line, "volume is 1..400 percent");
            } else if (kw == "instrument") {
                ParseInstrument(st);
            } else if (kw == "phrase") {
                ParsePhrase(st);
            } else if (kw == "chords") {
                ParseChords(st);
            } else if (kw == "pattern") {
                ParsePattern(st);
            } else if (kw == "order") {
                ParseOrder(st);
            } else {
                Fail(st.line, "unknown statement: " + kw);
            }
        }
        if (tune.order.empty())
            Fail(0, "the tune has no order list");
    }
};

std::vector<Statement> SplitStatements(const std::string& text)
{
    std::vector<Statement> statements;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        const std::string line = StripComment(raw);
        if (SplitWords(line).empty())
            continue;
        if (std::isspace(static_cast<unsigned char>(line[0]))) {
            if (statements.empty())
                Fail(lineNo, "indented line before any statement");
            statements.back().bodyLines.emplace_back(lineNo, line);
            continue;
        }
        Statement st;
        st.line = lineNo;
        st.head = SplitWords(line);
        statements.push_back(std::move(st));
    }
    return statements;
}

} // namespace

bool ParseTuneSource(const std::string& text, TuneSource& tune, std::string& error)
{
    try {
        Parser parser{tune, {}, {}, {}};
        parser.Run(SplitStatements(text));
        return true;
    } catch (const ParseError& e) {
        error = "line " + std::to_string(e.line) + ": " + e.text;
        return false;
    }
}
