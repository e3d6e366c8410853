// Curve renderer: draws one Curve (knot points, de Boor triangle with its
// level colours, tracing point, control points, labels, control polygon and
// the NURBS line) and the scene's axes and grid, in the curve's own units on
// top of the caller's transformation. Called by the drawing pad and the
// projection window from their display callbacks.
#pragma once

#include "curve/curve.h"
// The renderer draws its shapes through these; callers switch its fast paths
// with fast_paths there.
#include "view3d/fast_shapes.h"

// Where the lifted curve's tracing point was last drawn; (0, 0, 0) after a
// new curve.
extern float tracing_point_3d[3];

void draw_curve(const Curve* curve);
void draw_knot_points(const Curve* curve);
void draw_control_points(const Curve* curve);
void draw_point_labels(const Curve* curve);
void draw_control_polygon(const Curve* curve);
// Coordinate axes with letters; with_z = 0 draws x and y only, 1 adds z.
void draw_axes(int with_z);
// 19 x 19 grid lines over [-3, 3]^2 in the plane z = 0.
void draw_grid();
