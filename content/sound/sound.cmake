# Entries of sound.zda: append generated files to FRIBB3_sound_ENTRIES.
