// Parsing and writing replay input scripts.
#include "tools/replay/replay_script.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/input.h"

namespace {

struct Letter {
    char c;
    uint32_t bit;
};

// Letter order is also the order buttons are written in.
constexpr Letter kLetters[] = {
    {'L', kButtonLeft}, {'R', kButtonRight}, {'U', kButtonUp},    {'D', kButtonDown},
    {'J', kButtonJump}, {'S', kButtonStart}, {'P', kButtonPause},
};

constexpr const char* kPadPrefix = "pad";
// What SDL calls every symbol without a key.
constexpr const char* kUnknownKeyName = "unknown key";

// A whole decimal number in [lo, hi], or -1.
long WholeNumber(const std::string& text, long lo, long hi)
{
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), ::isdigit))
        return -1;
    const long v = std::stol(text);
    return v >= lo && v <= hi ? v : -1;
}

// One braced token: a pad button, a key number or a key name.
bool ParseToken(const std::string& token, ReplayStep& step)
{
    if (token.rfind(kPadPrefix, 0) == 0) {
        const long b = WholeNumber(token.substr(std::strlen(kPadPrefix)), 0, kScriptPadButtons - 1);
        if (b < 0)
            return false;
        step.padButtons |= 1u << b;
        return true;
    }
    long sym = WholeNumber(token, 1, SDLK_LAST - 1);
    if (sym < 0 && !std::isdigit(static_cast<unsigned char>(token[0])))
        sym = KeySymbolByName(token);
    if (sym <= 0)
        return false;
    if (std::find(step.keys.begin(), step.keys.end(), sym) == step.keys.end())
        step.keys.push_back(static_cast<int>(sym));
    return true;
}

bool ParseButtons(const std::string& word, ReplayStep& step)
{
    step.buttons = 0;
    step.keys.clear();
    step.padButtons = 0;
    if (word == "-")
        return true;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '{') {
            const size_t close = word.find('}', i + 1);
            if (close == std::string::npos || close == i + 1 || !ParseToken(word.substr(i + 1, close - i - 1), step))
                return false;
            i = close;
            continue;
        }
        const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(word[i])));
        bool found = false;
        for (const Letter& l : kLetters) {
            if (l.c == up) {
                step.buttons |= l.bit;
                found = true;
            }
        }
        if (!found)
            return false;
    }
    return !word.empty();
}

} // namespace

bool ParseReplayScript(const std::string& text, ReplayScript& script, std::string& error)
{
    script.steps.clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string countWord, buttonWord, extra;
        if (!(words >> countWord))
            continue; // blank or comment-only line
        ReplayStep step;
        char* end = nullptr;
        errno = 0;
        step.count = std::strtol(countWord.c_str(), &end, 10);
        const bool countOk = end && *end == '\0' && step.count >= 0;
        if (!countOk || !(words >> buttonWord) || !ParseButtons(buttonWord, step) || (words >> extra)) {
            error = "line " + std::to_string(lineNo) + ": expected \"<count> <buttons>\"";
            return false;
        }
        if (errno == ERANGE || step.count > kMaxReplayCount) {
            error = "line " + std::to_string(lineNo) + ": count above " + std::to_string(kMaxReplayCount);
            return false;
        }
        if (step.count > 0)
            script.steps.push_back(step);
    }
    return true;
}

const ReplayStep* StepAtPoll(const ReplayScript& script, long poll, ScriptCursor& cursor)
{
    if (poll < 0)
        return nullptr;
    if (poll < cursor.stepStart || cursor.step > script.steps.size())
        cursor = ScriptCursor{};
    while (cursor.step < script.steps.size() && poll >= cursor.stepStart + script.steps[cursor.step].count) {
        cursor.stepStart += script.steps[cursor.step].count;
        ++cursor.step;
    }
    return cursor.step < script.steps.size() ? &script.steps[cursor.step] : nullptr;
}

uint32_t ButtonsAtPoll(const ReplayScript& script, long poll, ScriptCursor& cursor)
{
    const ReplayStep* step = StepAtPoll(script, poll, cursor);
    return step ? step->buttons : 0;
}

int HighestPadButton(const ReplayScript& script)
{
    int highest = -1;
    for (const ReplayStep& s : script.steps)
        for (int b = 0; b < kScriptPadButtons; ++b)
            if (s.padButtons & (1u << b))
                highest = std::max(highest, b);
    return highest;
}

int KeySymbolByName(const std::string& name)
{
    std::string wanted;
    for (char c : name)
        wanted += c == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int sym = 1; sym < SDLK_LAST; ++sym) {
        const char* known = SDL_GetKeyName(static_cast<SDLKey>(sym));
        if (known && wanted == known && wanted != kUnknownKeyName)
            return sym;
    }
    return 0;
}

long ScriptLength(const ReplayScript& script)
{
    long total = 0;
    for (const ReplayStep& s : script.steps)
        total += s.count;
    return total;
}

std::string ButtonLetters(uint32_t buttons)
{
    std::string out;
    for (const Letter& l : kLetters)
        if (buttons & l.bit)
            out += l.c;
    return out.empty() ? "-" : out;
}

std::string FormatReplayScript(const std::vector<uint32_t>& buttonsPerPoll)
{
    std::string out;
    size_t i = 0;
    while (i < buttonsPerPoll.size()) {
        size_t j = i;
        while (j < buttonsPerPoll.size() && buttonsPerPoll[j] == buttonsPerPoll[i])
            ++j;
        out += std::to_string(j - i) + " " + ButtonLetters(buttonsPerPoll[i]) + "\n";
        i = j;
    }
    return out;
}
