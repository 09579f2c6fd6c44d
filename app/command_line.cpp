// Parsing of the display switches and the help text.
#include "app/command_line.h"

#include <cstdio>
#include <cstring>

const char* const kHelpLines[10] = {
    "-w : window mode (not fullscreen)",
    "-fs : fullscreen (-x2 automatically added)",
    "-x2 : zoom with no antialiasing",
    "-s2x: zoom with Scale2X algorithm",
    "-aa : zoom with antialiasing",
    "-ogl : open gl display",
    "-hd : hd ready resolution when ogl flag set",
    "-b16 : 16 bits video mode",
    "-b24 : 24 bits video mode (may be useful if fade in/fade out looks crappy)",
    "-h : help",
};

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine cl;
    cl.hasArguments = argc > 1;
    DisplayConfig& d = cl.display;
    d = DisplayConfig{}; // zoom 1, fullscreen 1, depth 16, everything else off
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "-fs") == 0) {
            d.zoom = 1;
            d.fullscreen = 1;
        } else if (std::strcmp(a, "-w") == 0) {
            d.smooth = 0;
            d.zoom = 0;
            d.fullscreen = 0;
        } else if (std::strcmp(a, "-aa") == 0) {
            d.smooth = 1;
            d.scale2x = 0;
            d.zoom = 1;
        } else if (std::strcmp(a, "-s2x") == 0) {
            d.smooth = 0;
            d.scale2x = 1;
            d.zoom = 1;
        } else if (std::strcmp(a, "-ogl") == 0) {
            d.opengl = 1;
        } else if (std::strcmp(a, "-hd") == 0) {
            d.hd = 1;
        } else if (std::strcmp(a, "-x2") == 0) {
            d.smooth = 0;
            d.scale2x = 0;
            d.zoom = 1;
        } else if (std::strcmp(a, "-b16") == 0) {
            d.depth = 16;
        } else if (std::strcmp(a, "-b24") == 0) {
            d.depth = 24;
        } else if (std::strcmp(a, "-t") == 0) {
            d.smooth = 0;
            d.scale2x = 0;
            d.depth = 16;
            d.zoom = 0;
            d.fullscreen = 0;
            cl.testMode = true;
        } else if (std::strcmp(a, "-h") == 0) {
            cl.helpRequested = true;
        }
    }
    return cl;
}

void PrintHelp()
{
    for (const char* line : kHelpLines)
        std::printf("%s\n", line);
    std::fflush(stdout);
}
