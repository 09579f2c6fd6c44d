# Entries of maps.zda: append generated files to FRIBB3_maps_ENTRIES.
