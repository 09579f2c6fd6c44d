// The music module the session holds: loaded at a stage start, kept across restarts.
#pragma once

// Module of a stage: the title tune for stage 0 (and test mode), else one of
// the ten stage tunes, repeating every ten stages.
int StageMusicId(int stage);

// Loads the module of the stage and, when the user's music volume is above 0,
// starts it looping with a fade-in; a silent module stays loaded. Any module
// held before is freed first.
void StartStageMusic(int stage);

// Frees the held module and plays module id in its place from its start,
// loops as PlayMusic takes them (-1 for ever, 0 once), at the music volume as
// it stands (no fade-in).
void PlaySessionTune(int id, int loops);

// Frees the held module, if any; no music plays afterwards.
void FreeSessionMusic();

// Id of the module the session holds, -1 when it holds none.
int SessionMusicId();
