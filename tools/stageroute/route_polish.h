// Making a finishing script keep working when its input changes come a frame or two early or late.
#pragma once

#include <cstdint>
#include <vector>

// How many of the one- and two-frame shifts of a script's input changes still finish.
struct ShiftCount {
    int kept = 0;
    int tried = 0;
};

// Counts the shifts of input (the whole script, intro included) that still
// finish the stage the stage player has loaded (StartSimStage) with every ring
// and no death. A shifted run counts as finishing as soon as the whole world
// is as it is in the unshifted run at the same frame.
ShiftCount CountKeptShifts(const std::vector<uint8_t>& map, int stage, const std::vector<uint32_t>& input);

// Moves input changes (alone, or together with everything after them) a few
// frames, one at a time, keeping each move that lets more shifts finish while
// the script itself still finishes within maxFrames. Returns the count after.
ShiftCount PolishInput(const std::vector<uint8_t>& map, int stage, std::vector<uint32_t>& input, long maxFrames);
