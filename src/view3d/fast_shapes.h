// Fast stand-ins for the renderer's and the projection window's shapes:
// GLU's spheres and cylinders (knot and tracing spheres, axis shafts and
// heads, projection cones), back-face culling for a run of opaque spheres, and
// the projection rays. Called by the renderer and the projection window; scene
// units on top of the caller's transformation.
//
// Switch: fast_paths. At 1 (the default) every entry point below takes its
// fast path; at 0 each draws plainly (gluSphere, gluCylinder, one line and
// cone per point, no culling): the reference path the picture-identity tests
// compare with. The fast paths leave every pixel as the reference path does
// because they rest on:
// - GLU's own vertex order and arithmetic: a sphere or cylinder is rebuilt as
//   GLU builds it for a filled, outward, untextured quadric, float for float,
//   fan and strip for fan and strip, so each piece drawn is the very triangle
//   GLU would draw and GL splits a run of it as it splits the whole;
// - the rasteriser's sub-pixel precision: GL snaps a vertex to 1/256 pixel
//   and works in floats, so a piece kept clear of every pixel centre by a
//   margin ten times that doubt gives no fragment and can be left out; the
//   pieces are judged only where lighting, smoothing and multisampling are off
//   and the transformation is affine, and are drawn by GLU otherwise;
// - the order not showing: culled back faces lie behind front faces of the
//   same opaque colour, and projection rays share one translucent colour;
// - a convex shape's triangles covering the convex hull of its vertices: with
//   no depth test, a run of opaque spheres leaves only their pixels, so a
//   sphere with no pixel centre near its outline (within five times GL's
//   doubt) and nothing clipped goes out as that outline, queued in window
//   pixels and drawn with the rest of the run when it ends.
#pragma once

#include "curve/curve.h"

#include <GL/glu.h>

// 1: the fast paths below; 0: the reference path (see above).
extern int fast_paths;

// Culling state a run of shapes found, for shapes_cull_end to put back.
struct ShapeCull {
  bool on;                // culling was turned on for the run
  GLboolean was_enabled;  // GL_CULL_FACE before the run
  GLint mode;             // GL_CULL_FACE_MODE before the run
};

// gluSphere and gluCylinder of a filled quadric at the origin; while
// fast_paths is on, from vertices worked out once per size, leaving out the
// pieces that cannot produce a fragment.
void draw_cached_sphere(GLUquadric* quadric, double radius, int slices, int stacks);
void draw_cached_cylinder(GLUquadric* quadric, double base, double top, double height, int slices,
                          int stacks);

// Around a run of closed convex shapes in one colour: while fast_paths is on
// and nothing can show through (opaque, unlit, unmirrored), back faces are
// culled until shapes_cull_end, and without a depth test the spheres may be
// drawn as their outlines, which shapes_cull_end sends out.
ShapeCull shapes_cull_begin(const float* colour);
void shapes_cull_end(const ShapeCull& state);

// Stippled line from the origin to q, and a cone along it with its tip on q,
// in the current colour.
void draw_ray_line(const double q[3]);
void draw_ray_cone(const double q[3]);
// Line and cone from the origin to each of the n points, in the colour.
void draw_rays(const ControlPoint* points, int n, const float* colour);
