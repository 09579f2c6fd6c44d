// Entering a name for a new hiscore: letters stepped with up and down, the cursor moved with left and right.
#pragma once

#include <cstdint>

#include "game/hiscores.h"

struct Player;

// Frames a held button waits after each change (it then acts every 11th frame).
constexpr int kNameEntryRepeatDelay = 10;

// The name being entered: eight characters ("A" and dots at first) and the
// marker line with a dash under the cursor.
struct NameEntry {
    char name[kHiscoreNameLength + 1];
    char marker[kHiscoreNameLength + 1];
    int cursor = 0;
    int delay = 0;
    bool complete = false; // moved past the eighth character
};

// "A......." with the dash under the first character.
NameEntry StartNameEntry();

// Acts on the held buttons of one poll, the first that applies: down steps the
// character back (A, space, Z, Y ...), up forward (Z, space, A, B ...), left
// moves the cursor back (not past the first), right, jump or pause moves it on
// (turning a dot it reaches into "A"; past the eighth the entry is complete).
// Any change sets the repeat delay.
void ApplyNameEntryInput(NameEntry& entry, uint32_t held);

// The name entered when the entry ended: ended with start, the characters up
// to and including the cursor; complete, all eight.
void EnteredName(const NameEntry& entry, char* out);

// After a game: when score beats the tenth row, the entry screen over the last
// stage view until start or the eighth character; the name is inserted and
// the table saved. Returns the new row, or -1 when the score does not qualify
// (nothing shown) or a session stop ended the entry (nothing entered or saved).
// hiscoreHighlight is -1 afterwards either way.
int EnterHiscoreName(const Player& hero);
