// The forward-only camera and the column reveal that spawns actors.
#pragma once

// Advances the camera by up to n pixels, revealing a column position per pixel.
void ScrollView(int n);

// Spawns the actors and converts the codes of the column holding stage pixel x px.
void RevealColumn(int px);
