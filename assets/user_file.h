// Crash-safe replacement of the user files (configuration, hiscores, savegame).
#pragma once

#include <cstddef>

// Replaces the file at path with size bytes of data, so that the file on disk is
// always either the old one or the new one, whole: the bytes go into a temporary
// file ("NAME.XXXXXX") in the same folder, which is flushed to the disk and then
// renamed over the file. What the player arranged stays:
// - a symbolic link is followed, and its target (which may not exist yet) gets
//   the new contents, the temporary file lying in the target's folder;
// - the new file keeps the old one's mode, owner and group; where the owner or
//   group cannot be kept, or the folder takes no temporary file, or the file has
//   other hard links, the file is overwritten in place instead;
// - a file this process could not open for writing, or anything but a plain
//   file (a folder, a FIFO, a device), is left alone and false returned.
// Temporaries of this file left by an earlier write that was killed are removed
// first. On any failure (full disk, unwritable folder, missing folder) the old
// file is left as it was, no temporary file stays and false is returned;
// callers may ignore it, as user files never stop the game.
bool ReplaceUserFile(const char* path, const void* data, size_t size);
