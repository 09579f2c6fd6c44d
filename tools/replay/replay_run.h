// Running fribb3-replay: the headless replay and the recording of a played run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/replay/replay_options.h"
#include "tools/replay/replay_script.h"

// Fixed seed of rand() for every replay and recording (the water animation uses it).
constexpr unsigned kReplaySeed = 1;

// How a played run ended, as the final line reports it.
struct ReplayResult {
    long frames = 0;           // frames played in the whole run
    int attempts = 0;          // attempts that ended by themselves
    std::string ended;         // the final line's "ended" value
    bool outputFailed = false; // a screenshot could not be written
    std::string broken;        // --check: what broke, and when; empty when all held
};

// Starts the platform for a headless, deterministic run in the current
// directory: dummy video and audio drivers unless the environment names
// others, the virtual clock at 0, rand() seeded with kReplaySeed, a 1x window,
// the archives of dataDir, fonts and pictures, built-in key bindings, music
// paced by the virtual clock. With boot, the user's configuration instead of
// built-in settings, and no background: the run starts as the game does.
void StartReplayPlatform(const std::string& dataDir, bool boot = false);

// The same start for a recording: the real clock and a window made from the
// game's display switches (windowed and doubled unless they say otherwise).
void StartRecordPlatform(const std::string& dataDir, const std::vector<std::string>& displaySwitches,
                         bool boot = false);

// Plays the session from the options' start (mapPath, when not empty, as test
// mode does; with options.boot from the intro scenes on) with script as the input, or with recording when script is
// null. Writes trace lines, screenshots and the final line to out as the options ask. The platform must have been
// started.
ReplayResult PlayReplay(const ReplayOptions& options, const ReplayScript* script, const std::string& mapPath,
                        std::FILE* out);

// The whole run of fribb3-replay in a child process working in its own
// directory (created, and removed afterwards unless options.workDir names it):
// start-up, PlayReplay, shutdown; a recording also writes its script to
// options.recordOut. compiledMap, when given, is written into the working
// directory and played instead of options.mapFile. Returns the exit code of
// the child (1 after a fatal error of the game, 3 when a shot or the recording
// could not be written, 4 when --check found a rule broken), or 128 + N after saying the game crashed with signal
// N. SIGINT, SIGTERM and SIGHUP are passed on to the game; the directory is
// removed and the tool then ends by the same signal.
int RunReplayProcess(const ReplayOptions& options, const ReplayScript* script, const std::vector<uint8_t>* compiledMap);

// Default archives directory: "data" next to the running executable.
std::string DefaultReplayDataDir();
