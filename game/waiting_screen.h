// The loop of a screen that waits for the player: input, the stop test, the picture and the pace of each look.
#pragma once

#include <functional>

// How a waiting screen reads the input at each look.
enum class WaitInput {
    None,     // the screen reads it itself in its step
    Events,   // PumpEvents: the input record only
    Controls, // PollInput outside play: the hero's controls and the quit flag follow the buttons, no pause
};

// How a waiting screen shows itself and waits between two looks.
enum class WaitPace {
    Frame, // a 60 Hz frame: the logical screen is presented unless the frame clock skips drawing, then WaitFrame
    Poll,  // nothing is presented; the next look comes 100 ms later
};

struct WaitingScreen {
    // True once the screen has what it waits for; asked before every look (null: never).
    std::function<bool()> done;
    // What a look does after reading the input: moves and draws (null: nothing). False ends the
    // screen at once, with nothing presented.
    std::function<bool()> step;
    WaitInput input = WaitInput::None;
    WaitPace pace = WaitPace::Poll;
    // Input is read after the wait instead of before the step, so the first look shows before
    // any input is read (the intro scenes, the title's prompt going on while a release drains).
    bool inputAfterWait = false;
    // A frame-paced screen restarts the frame clock as it begins, unless it goes on with the
    // frames of the screen that runs it.
    bool keepsFrameClock = false;
};

// Runs the screen's looks until done() holds, its step returns false or the session is asked
// to stop (SessionStopRequested): each look reads the input, steps, then presents and paces
// as the screen's pace says.
void RunWaitingScreen(const WaitingScreen& screen);
