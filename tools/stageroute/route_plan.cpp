// Reading route plan files.
#include "route_plan.h"

#include <sstream>

#include "platform/input.h"

namespace {

bool ParseButtons(const std::string& word, uint32_t& buttons)
{
    buttons = 0;
    if (word == "-")
        return true;
    for (char c : word) {
        switch (c) {
        case 'L':
            buttons |= kButtonLeft;
            break;
        case 'R':
            buttons |= kButtonRight;
            break;
        case 'U':
            buttons |= kButtonUp;
            break;
        case 'D':
            buttons |= kButtonDown;
            break;
        case 'J':
            buttons |= kButtonJump;
            break;
        default:
            return false;
        }
    }
    return !word.empty();
}

// "name=value" with a whole number above 0.
bool ParseOption(const std::string& word, const char* name, long& value)
{
    const std::string prefix = std::string(name) + "=";
    if (word.rfind(prefix, 0) != 0)
        return false;
    try {
        value = std::stol(word.substr(prefix.size()));
    } catch (...) {
        return false;
    }
    return value > 0;
}

} // namespace

bool ParseRoutePlan(const std::string& text, std::vector<RouteGoal>& goals, std::string& error)
{
    goals.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string body = line.substr(0, line.find('#'));
        std::istringstream words(body);
        std::string kind;
        if (!(words >> kind))
            continue;
        RouteGoal g;
        g.line = number;
        g.text = body.substr(0, body.find_last_not_of(" \t\r") + 1);
        auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        };
        if (kind == "hold") {
            long n = 0;
            std::string buttons;
            uint32_t bits = 0;
            if (!(words >> n >> buttons) || n <= 0 || !ParseButtons(buttons, bits))
                return fail("expected: hold N BUTTONS");
            g.kind = RouteGoal::Hold;
            g.input.assign(static_cast<size_t>(n), bits);
            goals.push_back(g);
            continue;
        }
        if (kind == "reach") {
            g.kind = RouteGoal::Reach;
            if (!(words >> g.column >> g.row) || g.column < 0 || g.row < 0 || g.row > 11)
                return fail("expected: reach COLUMN ROW");
        } else if (kind == "rings") {
            g.kind = RouteGoal::Rings;
            int column = 0, row = 0;
            while (words >> column >> row)
                g.rings.push_back({column, row});
            if (g.rings.empty())
                return fail("expected: rings COLUMN ROW [COLUMN ROW ...]");
            words.clear(); // the options follow the last whole pair
        } else if (kind == "finish") {
            g.kind = RouteGoal::Finish;
        } else {
            return fail("unknown goal " + kind);
        }
        std::string option;
        while (words >> option) {
            long v = 0;
            if (option == "stand" && (g.kind == RouteGoal::Reach || g.kind == RouteGoal::Rings))
                g.standing = true;
            else if (option == "slow")
                g.slow = true;
            else if (ParseOption(option, "chunk", v))
                g.chunk = static_cast<int>(v);
            else if (ParseOption(option, "nodes", v))
                g.nodes = v;
            else if (ParseOption(option, "above", v))
                g.above = static_cast<int>(v);
            else if (ParseOption(option, "tries", v))
                g.solutions = static_cast<int>(v);
            else
                return fail("unknown option " + option);
        }
        goals.push_back(g);
    }
    return true;
}
