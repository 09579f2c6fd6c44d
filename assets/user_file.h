// Crash-safe replacement of the user files (configuration, hiscores, savegame).
#pragma once

#include <cstddef>

// Replaces the file at path with size bytes of data, so that the file on disk is
// always either the old one or the new one, whole: the bytes go into a temporary
// file in the same folder, which is flushed to the disk and then renamed over
// path. On any failure (full disk, unwritable folder, path naming a directory)
// the temporary file is removed, the old file is left as it was and false is
// returned; callers may ignore it, as user files never stop the game.
bool ReplaceUserFile(const char* path, const void* data, size_t size);
