// Route plans: the goals, in order, that a finishing script for a stage must reach.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One step of a route.
struct RouteGoal {
    enum Kind { Reach, Rings, Finish, Hold };
    Kind kind = Reach;
    int column = 0, row = 0;                // Reach: the cell the hero's centre must enter
    std::vector<std::pair<int, int>> rings; // Rings: cells (column, row) whose rings must all be taken
    bool standing = false;                  // Reach, Rings: and the hero must then stand (on ground or a lift)
    bool slow = false;                      // the search may also walk slowly (down held)
    int above = 11;                         // and the hero's centre must then be in this row or higher
    std::vector<uint32_t> input;            // Hold: these buttons, one entry per frame
    int chunk = 4;                          // frames per search step
    long nodes = 150000;                    // search states allowed before giving up
    int solutions = 40;                     // solutions compared for robustness before choosing
    std::string text;                       // the goal's line, repeated in the script as a comment
    int line = 0;
};

// Parses a route file. Lines (a "#" starts a comment):
//   reach C R [stand] [slow] [chunk=N] [nodes=N] [tries=N]   the hero's centre enters cell (C, R)
//   rings C R [C R ...] [stand] [above=ROW] [options]        the rings in these cells are all taken
//   finish [slow] [chunk=N] [nodes=N] [tries=N]              the hero enters the open exit
//   hold N BUTTONS                                    N frames of BUTTONS (L R U D J or -)
// On failure returns false with "line N: what" in error.
bool ParseRoutePlan(const std::string& text, std::vector<RouteGoal>& goals, std::string& error);
