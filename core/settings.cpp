// The Settings record and the built-in bindings.
#include "core/settings.h"

const char* const kActionNames[ActionCount] = {"jump", "pause", "start", "up", "down", "left", "right"};

Settings settings;

void ResetBindings()
{
    const Settings defaults;
    for (int i = 0; i < ActionCount; ++i) {
        settings.keys[i] = defaults.keys[i];
        settings.pad[i] = defaults.pad[i];
    }
}
