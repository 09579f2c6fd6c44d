// The hiscore name entry: its editing rules and its screen over the dimmed last stage view.
#include "game/name_entry.h"

#include <cstring>

#include "core/messages.h"
#include "core/stages.h"
#include "game/game_state.h"
#include "game/play_input.h"
#include "game/playfield_render.h"
#include "game/session_stop.h"
#include "game/waiting_screen.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "world/world_state.h"

namespace {

constexpr int kPromptY = 96;
constexpr int kNameY = 136;
constexpr int kMarkerY = 148;
// The stage drawn behind without any of its overlay texts.
constexpr int kPictureOnly = -1;
constexpr char kDash = '-';
constexpr char kUnset = '.';

char StepBack(char c)
{
    if (c == 'A')
        return ' ';
    if (c == ' ')
        return 'Z';
    return static_cast<char>(c - 1);
}

char StepForward(char c)
{
    if (c == 'Z')
        return ' ';
    if (c == ' ')
        return 'A';
    return static_cast<char>(c + 1);
}

void DrawNameEntry(const Player& hero, const NameEntry& e)
{
    DrawPlayfield(kPictureOnly, hero);
    if (frameClock.skipDraw)
        return;
    DimScreen();
    DrawTextCentred(screenSurface, GetText(TXT_ENTER_YOUR_NAME), kPromptY, bigFont);
    DrawTextCentred(screenSurface, e.name, kNameY, bigFont);
    DrawTextCentred(screenSurface, e.marker, kMarkerY, bigFont);
}

} // namespace

NameEntry StartNameEntry()
{
    NameEntry e;
    std::memcpy(e.name, "A.......", sizeof e.name);
    std::memcpy(e.marker, "-       ", sizeof e.marker);
    return e;
}

void ApplyNameEntryInput(NameEntry& e, uint32_t held)
{
    char& c = e.name[e.cursor];
    if (held & kButtonDown) {
        c = StepBack(c);
    } else if (held & kButtonUp) {
        c = StepForward(c);
    } else if ((held & kButtonLeft) && e.cursor >= 1) {
        e.marker[e.cursor] = ' ';
        e.cursor -= 1;
        e.marker[e.cursor] = kDash;
    } else if (held & (kButtonRight | kButtonJump | kButtonPause)) {
        e.marker[e.cursor] = ' ';
        e.cursor += 1;
        if (e.cursor == kHiscoreNameLength) {
            e.complete = true;
        } else {
            e.marker[e.cursor] = kDash;
            if (e.name[e.cursor] == kUnset)
                e.name[e.cursor] = 'A';
        }
    } else {
        return;
    }
    e.delay = kNameEntryRepeatDelay;
}

void EnteredName(const NameEntry& e, char* out)
{
    const int length = e.complete ? kHiscoreNameLength : e.cursor + 1;
    std::memset(out, 0, kHiscoreNameSize);
    std::memcpy(out, e.name, static_cast<size_t>(length));
}

int EnterHiscoreName(const Player& hero)
{
    game.hiscoreHighlight = -1;
    if (!HiscoreQualifies(hiscoreTable, world.score))
        return -1;
    NameEntry e = StartNameEntry();
    // The buttons are read only once the repeat delay of the last change has run out.
    WaitingScreen editing;
    editing.done = [] { return playerControls.start != 0; };
    editing.step = [&] {
        if (e.delay == 0) {
            PollInput(kNoStage, 0);
            ApplyNameEntryInput(e, input.held);
            if (e.complete)
                return false;
        } else {
            e.delay -= 1;
        }
        DrawNameEntry(hero, e);
        return true;
    };
    editing.pace = WaitPace::Frame;
    RunWaitingScreen(editing);

    WaitingScreen startLetGo;
    startLetGo.done = [] { return playerControls.start == 0; };
    startLetGo.input = WaitInput::Controls;
    RunWaitingScreen(startLetGo);
    // An entry the player did not finish enters nothing.
    if (SessionStopRequested())
        return -1;
    char name[kHiscoreNameSize];
    EnteredName(e, name);
    const int row = InsertHiscore(hiscoreTable, name, world.score);
    SaveHiscores();
    return row;
}
