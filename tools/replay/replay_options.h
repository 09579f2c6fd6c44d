// The command line of fribb3-replay: what to play, when to stop, what to print.
#pragma once

#include <string>
#include <vector>

// A screenshot wanted after a given frame of the run (with --boot: at a given input poll).
struct ReplayShot {
    long frame = 0;   // 1-based frame number of the whole run, or input poll with --boot
    std::string path; // BMP file to write
};

// Every choice of one fribb3-replay run.
struct ReplayOptions {
    bool record = false;   // "record OUT": play in a window and write the input to recordOut
    std::string recordOut; // script file written by record
    bool boot = false;     // run the program from its first line (intro, user files, title)
    int stage = 1;         // stage of the maps archive to start at (0 the title)
    std::string mapFile;   // when set, play this map as test mode does (.txt is compiled first)
    long maxFrames = 0;    // stop after this many frames; 0 means the built-in safety limit
    bool trace = false;    // one line per frame
    bool dump = false;     // every field of the state after every frame (tools/replay/state_dump.h)
    bool check = false;    // check the world's rules after every frame and the heap per attempt
    std::vector<ReplayShot> shots;
    int attempts = 1;                         // stop once this many attempts have ended
    std::string dataDir;                      // archives directory; empty means next to the executable
    std::string workDir;                      // working directory to use and keep; empty means a fresh temp dir
    int padButtons = 0;                       // buttons of a simulated joystick; 0 none
    std::string scriptPath;                   // input script, "-" for standard input; unused by record
    std::string overviewPath;                 // when set, draw the whole stage into this BMP instead of playing
    std::vector<std::string> displaySwitches; // record only: the game's display switches
    bool diff = false;                        // "diff A B": compare two dumps instead of playing
    std::string diffA, diffB;
};

// Frames a run may last when --frames is not given (about 55 minutes of play),
// so that a script which never ends an attempt (a paused game) still stops.
constexpr long kDefaultFrameLimit = 200000;

// Parses argv (argv[0] is the program). On failure returns false and puts a
// one-line reason into error. The usage text is kReplayUsage.
bool ParseReplayArgs(int argc, const char* const* argv, ReplayOptions& options, std::string& error);

// The usage text printed for a bad command line.
extern const char* const kReplayUsage;

// True when path names a text map (extension ".txt"), which must be compiled before it is played.
bool IsTextMapPath(const std::string& path);
