// Parsing and writing replay input scripts.
#include "app/replay_script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
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

bool ParseButtons(const std::string& word, uint32_t& buttons)
{
    buttons = 0;
    if (word == "-")
        return true;
    for (char ch : word) {
        const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        bool found = false;
        for (const Letter& l : kLetters) {
            if (l.c == up) {
                buttons |= l.bit;
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
        if (!countOk || !(words >> buttonWord) || !ParseButtons(buttonWord, step.buttons) || (words >> extra)) {
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

uint32_t ButtonsAtPoll(const ReplayScript& script, long poll, ScriptCursor& cursor)
{
    if (poll < 0)
        return 0;
    if (poll < cursor.stepStart || cursor.step > script.steps.size())
        cursor = ScriptCursor{};
    while (cursor.step < script.steps.size() && poll >= cursor.stepStart + script.steps[cursor.step].count) {
        cursor.stepStart += script.steps[cursor.step].count;
        ++cursor.step;
    }
    return cursor.step < script.steps.size() ? script.steps[cursor.step].buttons : 0;
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
