// Fuzz target: any text as a replay script; parsing and per-poll lookup never misbehave, and a
// parsed script's first polls read back the same after formatting and parsing again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/replay/replay_script.h"

namespace {

constexpr long kPolls = 2000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReplayScript script;
    std::string error;
    if (!ParseReplayScript(std::string(reinterpret_cast<const char*>(data), size), script, error))
        return 0;
    std::vector<uint32_t> polls;
    ScriptCursor at;
    for (long p = 0; p < kPolls; ++p)
        polls.push_back(ButtonsAtPoll(script, p, at));
    ReplayScript again;
    if (!ParseReplayScript(FormatReplayScript(polls), again, error))
        std::abort();
    ScriptCursor back;
    for (long p = 0; p < kPolls; ++p)
        if (ButtonsAtPoll(again, p, back) != polls[static_cast<size_t>(p)])
            std::abort();
    return 0;
}
