// Curve renderer: one Curve drawn in its own units on top of the caller's
// transformation (knot points, de Boor triangle, tracing point, control points,
// labels, control polygon, NURBS line), and the axes and grid of the scene,
// in the order they are drawn.
#include "view3d/renderer.h"

#include "app/shell.h"
#include "view3d/label_batch.h"

#include <GL/freeglut.h>

#include <cmath>
#include <vector>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

float tracing_point_3d[3] = {0.0f, 0.0f, 0.0f};

namespace {

//------------------------------------------------------------------------------
// Constants (scene units unless stated)
//------------------------------------------------------------------------------

constexpr double KNOT_SPHERE_RADIUS = 0.05;
constexpr double TRACE_SPHERE_RADIUS = 0.067;
constexpr int SPHERE_SLICES = 16;
constexpr int SPHERE_STACKS = 16;

constexpr float DEBOOR_LINE_WIDTH = 2.0f;   // pixels
constexpr float DEBOOR_POINT_SIZE = 8.0f;   // pixels
constexpr float CONTROL_POINT_SIZE = 8.0f;  // pixels
constexpr float POLYGON_LINE_WIDTH = 1.0f;  // pixels
constexpr float CURVE_LINE_WIDTH = 3.5f;    // pixels
constexpr int HOMOGENEOUS = 4;              // floats per nurbs_ctrl entry

constexpr double AXIS_HALF = 2.85;  // shafts run from -AXIS_HALF to AXIS_HALF
constexpr double SHAFT_RADIUS = 0.022;
constexpr double SHAFT_LENGTH = 5.7;
constexpr double HEAD_RADIUS = 0.05;
constexpr double HEAD_LENGTH = 0.17;
constexpr int AXIS_SLICES = 10;
constexpr int AXIS_STACKS = 10;
constexpr float AXIS_LETTER_WIDTH = 1.5f;  // pixels
constexpr double LETTER_SCALE = 0.002;     // stroke font units to scene units
constexpr double LETTER_ALONG = 2.733;     // letter position along its axis
constexpr double LETTER_ASIDE = 0.1;       // offset of "X" and "Y" from their axis
constexpr double LETTER_Z_ASIDE = 0.23;    // offset of "Z" from its axis

constexpr float GRID_LINE_WIDTH = 0.5f;  // pixels
constexpr int GRID_LINES_HALF = 9;       // lines k = -9 .. 9, 1/3 apart
constexpr double GRID_SPACING = 1.0 / 3.0;
constexpr double GRID_HALF = 3.0;

// Storage handed to gluNurbsCurve, sized to the drawn curve on every call: a
// closed curve's wrapped copy has point_count + degree entries, which can pass
// any fixed size.
std::vector<GLfloat> nurbs_ctrl;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// True when the record has a vector the renderer can use: at least 3 points
// and the clamped-style count n + p + 1 (a closed curve only through its copy).
// Degrees outside 1..DEGREE_MAX would index t[p - 1] below 0 or run the
// triangle past its scratch; the system never makes them.
bool curve_usable(const Curve* c) {
  return c->point_count >= 3 && c->knot_count == c->point_count + c->degree + 1 && c->degree >= 1 &&
         c->degree <= DEGREE_MAX;
}

// Cartesian point of a homogeneous one. Fails (and writes nothing) when the
// weight is 0 or the quotient does not fit a GL float, so that no infinite or
// NaN coordinate ever reaches GL.
bool homogeneous_to_point(const ControlPoint& q, double out[3]) {
  if (q.w == 0.0) return false;
  const double c[3] = {q.x / q.w, q.y / q.w, q.z / q.w};
  for (double v : c)
    if (!std::isfinite(static_cast<float>(v))) return false;
  out[0] = c[0];
  out[1] = c[1];
  out[2] = c[2];
  return true;
}

// Remembers whether lighting is on and turns it off; returns the old state.
GLboolean lighting_off() {
  GLboolean was_on = glIsEnabled(GL_LIGHTING);
  glDisable(GL_LIGHTING);
  return was_on;
}

// Turns lighting back on when it was on before lighting_off.
void lighting_restore(GLboolean was_on) {
  if (was_on) glEnable(GL_LIGHTING);
}

// Sphere of the given radius centred at p, in the current colour.
void sphere_at(const double p[3], double radius) {
  glPushMatrix();
  glTranslated(p[0], p[1], p[2]);
  draw_cached_sphere(sphere_quadric, radius, SPHERE_SLICES, SPHERE_STACKS);
  glPopMatrix();
}

// True when the span k with multiplicity s of u can be drawn: u inside the
// vector, a full span of p + 1 - s points that exist, and s at most mult_max.
bool span_drawable(const Curve* c, float u, int k, int s, int mult_max) {
  const int p = c->degree;
  return u >= c->knots[p - 1] && k >= p && k - s < c->point_count && s <= mult_max;
}

// The de Boor display, step 4 of draw_curve; it stands after the knot points.
void draw_deboor(const Curve* d, float u, bool lifted);

}  // namespace

//------------------------------------------------------------------------------
// Curve
//------------------------------------------------------------------------------

// Draws one curve in the fixed order; a closed curve through its wrapped copy.
void draw_curve(const Curve* curve) {
  if (curve == nullptr) return;
  // 1. The tracing parameter is read from the curve itself: a copy has none.
  const float u = curve->trace_u;

  // 2. A closed vector has n + 2p + 1 knots for n points: the curve it describes
  // runs over the n points followed by the first p again, so the copy that
  // repeats them is an ordinary curve with the clamped-style count.
  Curve* copy = curve->wrapped == 1 ? curve_wrapped_copy(curve) : nullptr;
  const Curve* d = copy != nullptr ? copy : curve;
  const bool usable = curve_usable(d);

  // 3.-5. Knot points, the triangle with its tracing point, control points
  // and their labels.
  draw_knot_points(d);
  if (usable) draw_deboor(d, u, curve == lifted_curve);
  draw_control_points(d);
  draw_point_labels(d);

  // 6. The homogeneous control points GLU's NURBS renderer takes.
  const int n = d->point_count;
  nurbs_ctrl.resize(static_cast<size_t>(n) * HOMOGENEOUS);
  for (int i = 0; i < n; ++i) {
    const ControlPoint& q = d->points[i];
    GLfloat* e = &nurbs_ctrl[static_cast<size_t>(i) * HOMOGENEOUS];
    e[0] = static_cast<GLfloat>(q.x * q.w);
    e[1] = static_cast<GLfloat>(q.y * q.w);
    e[2] = static_cast<GLfloat>(q.z * q.w);
    e[3] = static_cast<GLfloat>(q.w);
  }

  // 7. Polygon and curve line, only for a vector GLU can use.
  if (usable && d->nurbs != nullptr) {
    draw_control_polygon(d);
    glColor4fv(d->colour);
    glLineWidth(CURVE_LINE_WIDTH);
    glDisable(GL_MAP1_VERTEX_3);
    glEnable(GL_MAP1_VERTEX_4);
    gluBeginCurve(d->nurbs);
    gluNurbsCurve(d->nurbs, d->knot_count, const_cast<GLfloat*>(d->knots.data()), HOMOGENEOUS,
                  nurbs_ctrl.data(), d->degree + 1, GL_MAP1_VERTEX_4);
    gluEndCurve(d->nurbs);
  }

  // 8. The copy lives for this one pass.
  curve_free(copy);
}

// One sphere on the curve at each distinct knot value of the domain.
void draw_knot_points(const Curve* curve) {
  if (!curve_usable(curve)) return;
  const int n = curve->point_count;
  const int p = curve->degree;
  const float* t = curve->knots.data();

  const float* colour = palette.colours[PAL_KNOT_POINT];
  const ShapeCull cull = shapes_cull_begin(colour);

  int i = p;
  while (i <= n) {
    // The search starts at i and passes over every copy of t[i], so the next
    // i is the first larger knot and each distinct value is visited once.
    const float v = t[i];
    int s = 0;
    const int k = curve_find_span(curve, v, i, &s);
    i = k + 1;
    // s may reach p + 1 here, so the end knots of a clamped vector qualify.
    if (!span_drawable(curve, v, k, s, p + 1)) continue;
    if (!curve_eval(curve, v)) break;
    double c[3];
    if (!homogeneous_to_point(DeBoorTriangle[0], c)) continue;
    glColor4fv(colour);
    sphere_at(c, KNOT_SPHERE_RADIUS);
  }

  shapes_cull_end(cull);
}

namespace {

//------------------------------------------------------------------------------
// De Boor display
//------------------------------------------------------------------------------

// Draws points 0 .. last of one level of the net as primitives of the given
// mode. A point of weight 0 lies at infinity: it is skipped, and a strip ends
// before it and starts again after it, so that its two neighbours are not
// joined by a segment of no level.
void draw_level(GLenum mode, const ControlPoint* level, int last) {
  glBegin(mode);
  for (int j = 0; j <= last; ++j) {
    double p[3];
    if (homogeneous_to_point(level[j], p)) {
      glVertex3d(p[0], p[1], p[2]);
    } else {
      glEnd();
      glBegin(mode);
    }
  }
  glEnd();
}

// Every level of the net in its colour: level 0 as the polyline of its control
// points, levels 1 and up as polylines and points as the switches ask. Level r
// takes row (r + 1) mod 10 of level_colours.
void draw_deboor_levels(const Curve* d, const DeBoorNet& net) {
  const ControlPoint* P = d->points.data();
  const int first = net.span - d->degree;  // control point of level 0's entry 0
  glLineWidth(DEBOOR_LINE_WIDTH);
  glPointSize(DEBOOR_POINT_SIZE);
  for (int r = 0; r <= net.top; ++r) {
    glColor4fv(level_colours[(r + 1) % LEVEL_COLOUR_COUNT]);
    if (r == 0) {
      // The points as stored, not divided back from their homogeneous form.
      if (!show_deboor) continue;
      glBegin(GL_LINE_STRIP);
      for (int j = 0; j <= net.top; ++j) glVertex3d(P[first + j].x, P[first + j].y, P[first + j].z);
      glEnd();
      continue;
    }
    if (show_deboor) draw_level(GL_LINE_STRIP, net.level[r], net.top - r);
    if (show_deboor_points) draw_level(GL_POINTS, net.level[r], net.top - r);
  }
}

// De Boor's triangle at u drawn level by level, then the tracing sphere on its
// top. `lifted` says whether the curve given to draw_curve is the lifted curve,
// whose tracing point the projection window aims at.
void draw_deboor(const Curve* d, float u, bool lifted) {
  // The multiplicity is counted from t[0], not from t[p] as curve_eval does:
  // the p leading copies of a clamped start then count too, so u = 0 (and
  // u = 1) reach s = p + 1 and fail the test below. At such an end the
  // triangle would collapse onto the end point and show nothing.
  int s = 0;
  const int k = curve_find_span(d, u, 0, &s);
  if (!span_drawable(d, u, k, s, d->degree)) return;

  // Knots out of order leave non-finite blends, which are not drawn.
  DeBoorNet net;
  curve_deboor_net(d, u, k, s, &net);
  draw_deboor_levels(d, net);

  // The top of the triangle is the curve point; a weight of 0 puts it at
  // infinity, where no sphere can be drawn and the last tracing point stays.
  double c[3];
  if (!homogeneous_to_point(net.level[net.top][0], c)) return;
  glColor4fv(palette.colours[PAL_TRACING_POINT]);
  sphere_at(c, TRACE_SPHERE_RADIUS);
  if (lifted) {
    tracing_point_3d[0] = static_cast<float>(c[0]);
    tracing_point_3d[1] = static_cast<float>(c[1]);
    tracing_point_3d[2] = static_cast<float>(c[2]);
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Control points, labels, polygon
//------------------------------------------------------------------------------

// The control points as squares, the selected ones in their own colour.
void draw_control_points(const Curve* curve) {
  const GLboolean lit = lighting_off();
  // Only the leading entries in use count, and never more than the list holds.
  const int used = selection_used();

  glPointSize(CONTROL_POINT_SIZE);
  glBegin(GL_POINTS);
  for (int i = 0; i < curve->point_count; ++i) {
    bool chosen = false;
    for (int e = 0; e < used && !chosen; ++e) chosen = curve->selected[e] == i;
    glColor4fv(palette.colours[chosen ? PAL_SELECTED_POINT : PAL_CONTROL_POINT]);
    const ControlPoint& q = curve->points[i];
    glVertex3d(q.x, q.y, q.z);
  }
  glEnd();
  lighting_restore(lit);
}

// The index of every control point, beside it.
void draw_point_labels(const Curve* curve) {
  const GLboolean lit = lighting_off();
  draw_index_labels(curve, palette.colours[PAL_CONTROL_POINT_INDEX]);
  lighting_restore(lit);
}

// The control polygon through the points in index order.
void draw_control_polygon(const Curve* curve) {
  glLineWidth(POLYGON_LINE_WIDTH);
  glColor4fv(palette.colours[PAL_CONTROL_POLYGON]);
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < curve->point_count; ++i) {
    const ControlPoint& q = curve->points[i];
    glVertex3d(q.x, q.y, q.z);
  }
  glEnd();
}

//------------------------------------------------------------------------------
// Axes and grid
//------------------------------------------------------------------------------

namespace {

// One axis piece (shaft or head) after a translation and up to two rotations.
struct AxisPiece {
  double tx, ty, tz;      // translation
  double a1, x1, y1, z1;  // first rotation (degrees about an axis), 0 = none
  double a2, x2, y2, z2;  // second rotation, 0 = none
  bool head;              // cone head rather than shaft
  bool z_only;            // drawn only with the z axis
};

constexpr AxisPiece AXIS_PIECES[] = {
    {0, 0, -AXIS_HALF, 0, 0, 0, 0, 0, 0, 0, 0, false, true},     // z shaft
    {0, AXIS_HALF, 0, 90, 1, 0, 0, 0, 0, 0, 0, false, false},    // y shaft
    {-AXIS_HALF, 0, 0, 90, 0, 1, 0, 0, 0, 0, 0, false, false},   // x shaft
    {0, -AXIS_HALF, 0, 90, 1, 0, 0, 0, 0, 0, 0, true, false},    // -y head
    {0, AXIS_HALF, 0, 180, 0, 0, 1, 90, 1, 0, 0, true, false},   // +y head
    {AXIS_HALF, 0, 0, 90, 0, 1, 0, 0, 0, 0, 0, true, false},     // +x head
    {-AXIS_HALF, 0, 0, 180, 0, 0, 1, 90, 0, 1, 0, true, false},  // -x head
    {0, 0, AXIS_HALF, 0, 0, 0, 0, 0, 0, 0, 0, true, true},       // +z head
    {0, 0, -AXIS_HALF, 180, 0, 1, 0, 0, 0, 0, 0, true, true},    // -z head
};

}  // namespace

// Shafts, arrow heads and letters of the axes; with_z = 0 leaves out z.
void draw_axes(int with_z) {
  glColor4fv(palette.colours[PAL_COORDINATE_AXES]);
  for (const AxisPiece& piece : AXIS_PIECES) {
    if (piece.z_only && !with_z) continue;
    glPushMatrix();
    glTranslated(piece.tx, piece.ty, piece.tz);
    if (piece.a1 != 0.0) glRotated(piece.a1, piece.x1, piece.y1, piece.z1);
    if (piece.a2 != 0.0) glRotated(piece.a2, piece.x2, piece.y2, piece.z2);
    if (piece.head)
      draw_cached_cylinder(cone_quadric, HEAD_RADIUS, 0.0, HEAD_LENGTH, AXIS_SLICES, AXIS_STACKS);
    else
      draw_cached_cylinder(axis_quadric, SHAFT_RADIUS, SHAFT_RADIUS, SHAFT_LENGTH, AXIS_SLICES,
                           AXIS_STACKS);
    glPopMatrix();
  }

  glColor4fv(palette.colours[PAL_COORDINATE_NAME]);
  glLineWidth(AXIS_LETTER_WIDTH);
  glPushMatrix();
  glTranslated(LETTER_ALONG, LETTER_ASIDE, 0.0);
  glScaled(LETTER_SCALE, LETTER_SCALE, LETTER_SCALE);
  glutStrokeCharacter(GLUT_STROKE_ROMAN, 'X');
  glPopMatrix();

  glPushMatrix();
  glTranslated(LETTER_ASIDE, LETTER_ALONG, 0.0);
  glScaled(LETTER_SCALE, LETTER_SCALE, LETTER_SCALE);
  glutStrokeCharacter(GLUT_STROKE_ROMAN, 'Y');
  glPopMatrix();

  if (with_z) {
    glPushMatrix();
    glTranslated(LETTER_Z_ASIDE, 0.0, LETTER_ALONG);
    glRotated(270.0, 1.0, 0.0, 0.0);
    glRotated(180.0, 0.0, 1.0, 0.0);
    glScaled(LETTER_SCALE, LETTER_SCALE, LETTER_SCALE);
    glutStrokeCharacter(GLUT_STROKE_ROMAN, 'Z');
    glPopMatrix();
  }
}

// 19 lines each way, 1/3 apart, over the square [-3, 3]^2 of the plane z = 0.
void draw_grid() {
  glLineWidth(GRID_LINE_WIDTH);
  glColor4fv(palette.colours[PAL_DRAWING_PAD]);
  glBegin(GL_LINES);
  for (int k = -GRID_LINES_HALF; k <= GRID_LINES_HALF; ++k) {
    glVertex3d(k * GRID_SPACING, -GRID_HALF, 0.0);
    glVertex3d(k * GRID_SPACING, GRID_HALF, 0.0);
  }
  for (int k = -GRID_LINES_HALF; k <= GRID_LINES_HALF; ++k) {
    glVertex3d(-GRID_HALF, k * GRID_SPACING, 0.0);
    glVertex3d(GRID_HALF, k * GRID_SPACING, 0.0);
  }
  glEnd();
}
