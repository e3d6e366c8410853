// Curve renderer: draws one Curve (knot points, de Boor triangle with its
// level colours, tracing point, control points, labels, control polygon and
// the NURBS line) and the scene's axes and grid, in the curve's own units on
// top of the caller's transformation. Called by the drawing pad and the
// projection window from their display callbacks.
#pragma once

#include "curve/curve.h"

#include <GL/glu.h>

// 1 (the default): spheres and cylinders are replayed from display lists
// compiled once per window, the hidden back faces of opaque knot spheres are
// culled and point labels are drawn in an order that lets GL batch them; the
// picture stays the same pixel for pixel. 0 draws everything directly: the
// reference path the picture-identity tests compare with.
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
// gluSphere and gluCylinder of the quadric at the origin, through the current
// window's display list for that quadric and size while render_cache is on.
void draw_cached_sphere(GLUquadric* quadric, double radius, int slices, int stacks);
void draw_cached_cylinder(GLUquadric* quadric, double base, double top, double height, int slices,
                          int stacks);
