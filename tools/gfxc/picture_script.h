// Picture scripts: larger pictures (background, story, logos) drawn by simple commands.
//
// One command per line, '#' starts a comment line. Colours are palette characters
// or #RRGGBB; '.' is the transparent key. Coordinates are pixels from the top-left.
//   size W H [C]                      new canvas (default fill: key)
//   load FILE                         read pixel-art/glyph blocks (path relative to the script)
//   fill C
//   rect X Y W H C
//   bands X Y W H C1 C2 ... [onto C]  vertical gradient through the colours, ordered
//                                     dithering between neighbours; with onto, only
//                                     pixels that currently have colour C change
//   circle CX CY R C | ellipse CX CY RX RY C | ring CX CY R THICK C
//   poly C X1 Y1 X2 Y2 X3 Y3 ...      filled polygon
//   line X1 Y1 X2 Y2 C
//   ridge BASE C AMP:CYCLES:PHASE ... fills everything below the curve
//                                     y = BASE + sum AMP*sin(360*CYCLES*x/W + PHASE degrees);
//                                     whole CYCLES make the picture wrap seamlessly
//   stars SEED COUNT X Y W H C1 [C2 ...]  deterministic scattered single pixels
//   art NAME X Y [SCALE] [mirror] [solid C]   draw a pixel-art block (solid: as a
//                                     silhouette in colour C)
//   tile CODE X Y [SCALE] [mirror] [solid C]  draw a tile block
//   pattern CODE|NAME X Y W H [SCALE]  repeat a tile or art block over a rectangle
//   text SCALE X Y C WORDS...         glyph blocks in one colour; X may be "centre"
//   outline C                         key pixels touching a non-key pixel become C
//   shadow DX DY C                    key pixels whose pixel at (-DX, -DY) is not key become C
//   replace A B                       every pixel of colour A becomes B
//   skew N                            slant: row y moves right by (H - 1 - y) / N
//   trim                              cut the canvas to the bounding box of its non-key pixels
//   topedge C                         non-key pixels with a key pixel above become C
#pragma once

#include <string>

#include "image.h"
#include "palette.h"

// Runs a script and returns the picture; throws with file and line on errors.
Image RunPictureScript(const std::string& path, const Palette& palette);
