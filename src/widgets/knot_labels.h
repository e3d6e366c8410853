// Knot marks and their "mult (value)" labels on the knot bar, drawn for the
// groups of one knot list. Called by knot_bar_draw; window pixels with y up,
// every x an offset from the bar's x1.
//
// Switch: knot_bar_batch (knot_bar.h, beside the bar it serves). At 1 (the
// default) a run of groups whose labels reach no mark draws all its marks and
// then all its labels, which lets GL draw the labels' bitmaps together; at 0
// each mark is followed by its own label: the reference path the
// picture-identity tests compare with. The runs rest on:
// - a label covering only the pixels of its glyphs' advances from its raster
//   position (true of GLUT's Times Roman 10, whose advance is its bitmap's
//   width), so a label that ends left of every mark's base reaches no mark;
// - GL gathering the bitmaps that lie in a strip of rows round the first one
//   it gets and filling the strip's whole width, which a blank glyph in the
//   middle of each strip and a scissor box round the labels hold to the
//   labels' own pixels;
// - a draw of a triangle with no area sending the gathered bitmaps out while
//   the scissor box is still in place.
#pragma once

#include "widgets/knot_bar.h"

// Half height in pixels of the knot triangles.
constexpr int KNOT_MARK_HALF = 3;
// Pixels from a mark's centre down to its label's baseline.
constexpr int KNOT_LABEL_DROP = 3;

// One group of equal-looking knots as the bar shows it.
struct KnotGroup {
  float value;  // the group's value, shared by its members after merging
  int mult;     // members in the group
  int y;        // pixel row of the value
};

// Draws the groups bottom to top: each a triangle mark, purple inside the
// bar's [lo, hi] and green outside, and its label in black.
void knot_groups_draw(const KnotBar* bar, const KnotGroup* groups, int count);
