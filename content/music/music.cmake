# Entries of music.zda: append generated files to FRIBB3_music_ENTRIES.
