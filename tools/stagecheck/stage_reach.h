// Where the hero can stand in a stage, found by short moves played from every place reached.
#pragma once

#include <cstdint>
#include <vector>

// A place the hero stands on: his top-left pixel, and the lift he rides (-1 on the ground).
struct StandPlace {
    int x = 0, y = 0;
    int lift = -1;
};

// What the search found. A dead end is a place reached from the start from which no
// sequence of moves leads to the exit door (open or closed); dying does not count as a way
// out, and a place from which every move kills (an enemy upon the hero) is no dead end.
struct ReachReport {
    int places = 0;  // standing places reached from the start
    long frames = 0; // frames the search played
    bool doorReached = false;
    bool budgetSpent = false; // the place budget ran out before the search did
    int finishRests = 0;      // resting moments of the first run (the finishing script) the search started from
    std::vector<StandPlace> deadEnds;
};

// Searches stage (1..10) from its start, and from every place each run (input per frame:
// the finishing script and variants of it) rests on, which counts as a way out when that
// run ends in the door.
// From every standing place reached it plays each move of a fixed set (short walks, jumps
// of several lengths, waits before them, waits for a near lift to come level with the
// hero, above or below him) on the headless stage player, lets the hero come to rest, and
// records the place he rests on, the door or his death. Places are told apart by the
// hero's cell-row and 8-pixel column, the lift he rides and where it is, the left edge of
// the view (which only moves right), the blocking and deadly cells near him and where
// every crate is. Runs once per place and move, so a stage takes seconds.
// The time limit is set aside: a place the clock would end is not a way out.
ReachReport SearchStandingPlaces(const std::vector<uint8_t>& map, int stage,
                                 const std::vector<std::vector<uint32_t>>& runs = {});
