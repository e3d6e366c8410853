// The index labels of a curve's control points, drawn beside each point with
// GLUT's 9x15 bitmap font. Called by the renderer's draw_point_labels.
//
// Switch: fast_paths (fast_shapes.h). At 1 the labels of an opaque colour go
// out in bands of rows that GL draws as one batch; at 0, and for a translucent
// colour, each label goes out at its own raster position: the reference path
// the picture-identity tests compare with. The batching rests on:
// - GL's own raster positions: each label is placed by glRasterPos3d as in the
//   reference path, read back, and set again with glWindowPos3f (OpenGL 1.4),
//   which puts the bitmap on the very same pixels;
// - GL gathering the bitmaps that lie in a strip of rows round the first one
//   it gets, which the bands are cut to;
// - one opaque colour for all labels, so that the order they overlap in does
//   not show.
#pragma once

#include "curve/curve.h"

// Draws "i" beside every point i of the curve, in the colour given.
void draw_index_labels(const Curve* curve, const float* colour);
