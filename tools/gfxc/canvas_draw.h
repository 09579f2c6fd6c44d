// Drawing primitives on an Image: shapes, dithered gradients and whole-picture effects.
#pragma once

#include <vector>

#include "image.h"

// Fills the w x h rectangle at (x, y); parts outside the picture are skipped.
void Rect(Image& image, int x, int y, int w, int h, Rgb c);

// Fills the ellipse centred at (cx, cy) with radii rx, ry (nothing when a radius is not positive).
void Ellipse(Image& image, int cx, int cy, int rx, int ry, Rgb c);

// Fills the band of the given thickness just inside the circle of radius r.
void Ring(Image& image, int cx, int cy, int r, int thick, Rgb c);

// Fills the polygon through the points x1, y1, x2, y2, ... (at least three), sampled at pixel centres.
void Poly(Image& image, const std::vector<int>& points, Rgb c);

// Draws a one-pixel line from (x1, y1) to (x2, y2), both ends included.
void Line(Image& image, int x1, int y1, int x2, int y2, Rgb c);

// Vertical gradient through colours over the rectangle, each step blended with
// 4x4 ordered dithering; with onto, only pixels that currently have colour only change.
void Bands(Image& image, int x, int y, int w, int h, const std::vector<Rgb>& colours, bool onto, Rgb only);

// Key pixels touching (8 neighbours) a non-key pixel become c.
void Outline(Image& image, Rgb c);

// Key pixels whose pixel at (-dx, -dy) is not key become c: a drop shadow.
void Shadow(Image& image, int dx, int dy, Rgb c);

// Slants the picture: row y moves right by (height - 1 - y) / divisor pixels.
void Skew(Image& image, int divisor);

// A non-key pixel with a key pixel above it becomes c: lights the top edge of every shape.
void TopEdge(Image& image, Rgb c);

// Cuts the picture down to the smallest rectangle holding every non-key pixel.
void Trim(Image& image);
