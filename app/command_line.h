// The command line: display switches, test mode and the help text.
#pragma once

#include "platform/display_config.h"

// What the command line asks for.
struct CommandLine {
    DisplayConfig display;     // meaningful only when hasArguments is set
    bool hasArguments = false; // any argument at all: the configuration file is not asked for the display
    bool testMode = false;     // "-t": play maps/test.bin, credits scene only
    bool helpRequested = false;
};

// The ten help lines, in the order they are printed.
extern const char* const kHelpLines[10];

// Applies the arguments from left to right over the command-line defaults
// (full screen, zoom, 16 bits). Unknown arguments are ignored.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// Prints the ten help lines on standard output.
void PrintHelp();
