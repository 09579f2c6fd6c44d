# Entries of gfx.zda: append generated files to FRIBB3_gfx_ENTRIES.
