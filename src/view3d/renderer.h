// Curve renderer: draws one Curve (knot points, de Boor triangle with its
// level colours, tracing point, control points, labels, control polygon and
// the NURBS line) and the scene's axes and grid, in the curve's own units on
// top of the caller's transformation. Called by the drawing pad and the
// projection window from their display callbacks.
#pragma once

#include "curve/curve.h"

#include <GL/glu.h>

// 1 (the default): spheres and cylinders are drawn from GLU's own vertices
// without the pieces that cannot show (culled back faces of opaque knot
// spheres, pieces between pixel centres), point labels in batches GL can draw
// together and projection lines as one primitive; the picture stays the same
// pixel for pixel. 0 draws everything directly: the reference path the
// picture-identity tests compare with.
extern int render_cache;

// Where the lifted curve's tracing point was last drawn; (0, 0, 0) after a
// new curve.
extern float tracing_point_3d[3];

void draw_curve(const Curve* curve);
void draw_knot_points(const Curve* curve);
void draw_control_points(const Curve* curve);
void draw_point_labels(const Curve* curve);
void draw_control_polygon(const Curve* curve);
// Coordinate axes with letters; with_z = 0 draws x and y only.
void draw_axes(int with_z);
// 19 x 19 grid lines over [-3, 3]^2 in the plane z = 0.
void draw_grid();
// gluSphere and gluCylinder of a filled quadric at the origin; while
// render_cache is on, from vertices worked out once per size, leaving out the
// pieces that cannot produce a fragment.
void draw_cached_sphere(GLUquadric* quadric, double radius, int slices, int stacks);
void draw_cached_cylinder(GLUquadric* quadric, double base, double top, double height, int slices,
                          int stacks);
