// Music playback (stand-in until the modules are made: plays nothing).
#include "audio/music.h"

const char* const kMusicNames[kMusicCount] = {
    "0.fribb3-title", "1.labyrinth", "2.anctemple",     "3.happytimes",    "4.almostthere",
    "5.risingsun",    "6.deepwildness", "7.thechallenge", "8.twinrainbow", "9.yist",
    "10.tastyflowers", "x.levelcomplete", "y.jingle"};

void SetMusicOutputFormat(int, int) {}
MusicModule* LoadMusic(int) { return nullptr; }
void PlayMusic(MusicModule*, int) {}
void FreeMusic(MusicModule*) {}
void StopMusicHook() {}
void SetMusicVolume(int) {}
int MusicTargetVolume() { return 128; }
void PlayMusicFadingIn(MusicModule*) {}
bool MusicPlaying() { return false; }
