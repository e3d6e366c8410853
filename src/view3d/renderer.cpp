// Curve renderer: one Curve drawn in its own units on top of the caller's
// transformation (knot points, de Boor triangle, tracing point, control points,
// labels, control polygon, NURBS line), and the axes and grid of the scene.
// Before any GL header: glWindowPos3f (OpenGL 1.4) is declared only with it.
#define GL_GLEXT_PROTOTYPES
#include "view3d/renderer.h"

#include "app/shell.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

float tracing_point_3d[3] = {0.0f, 0.0f, 0.0f};
int render_cache = 1;

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
constexpr double LABEL_OFFSET = 0.07;       // label raster position beside its point
constexpr int LABEL_SIZE = 16;              // "%d" of any int, with the terminator
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

constexpr int LABEL_BAND = 8;  // pixels: labels whose rows differ by less share one batch

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

//------------------------------------------------------------------------------
// Display lists of quadric shapes
//------------------------------------------------------------------------------

// One quadric shape compiled into a display list of one window's GL context.
// Each GLUT window has its own context, so the same shape is compiled once per
// window that draws it.
struct ShapeList {
  int window;                 // GLUT window whose context holds the list
  const GLUquadric* quadric;  // quadric the shape was made with
  bool sphere;                // gluSphere (radius in base) or gluCylinder
  double base, top, height;   // scene units
  int slices, stacks;
  GLuint list;  // 0 when GL could not make one
};

std::vector<ShapeList> shape_lists;

// Emits the shape through GLU, as the plain path draws it.
void shape_emit(const ShapeList& s) {
  GLUquadric* q = const_cast<GLUquadric*>(s.quadric);
  if (s.sphere)
    gluSphere(q, s.base, s.slices, s.stacks);
  else
    gluCylinder(q, s.base, s.top, s.height, s.slices, s.stacks);
}

// True when the entry holds the same shape for the same window.
bool shape_matches(const ShapeList& a, const ShapeList& b) {
  return a.window == b.window && a.quadric == b.quadric && a.sphere == b.sphere &&
         a.base == b.base && a.top == b.top && a.height == b.height && a.slices == b.slices &&
         a.stacks == b.stacks;
}

// Compiles the shape into a new list of the current context; 0 on failure or
// while another list is being compiled (lists do not nest).
GLuint shape_compile(const ShapeList& s) {
  GLint compiling = 0;
  glGetIntegerv(GL_LIST_INDEX, &compiling);
  if (compiling != 0) return 0;
  const GLuint list = glGenLists(1);
  if (list == 0) return 0;
  glNewList(list, GL_COMPILE);
  shape_emit(s);
  glEndList();
  return list;
}

// Draws the shape from the current window's list, compiling it on first use;
// directly when the cache is off or no list can be had.
void shape_draw(ShapeList want) {
  want.window = glutGetWindow();
  if (render_cache == 0 || want.window == 0 || want.quadric == nullptr) {
    shape_emit(want);
    return;
  }
  auto found = std::find_if(shape_lists.begin(), shape_lists.end(),
                            [&want](const ShapeList& s) { return shape_matches(s, want); });
  if (found == shape_lists.end()) {
    want.list = shape_compile(want);
    if (want.list != 0) shape_lists.push_back(want);
  } else if (found->list == 0 || glIsList(found->list) != GL_TRUE) {
    // A window made anew under an old id has a fresh context without the list.
    found->list = shape_compile(want);
    want.list = found->list;
  } else {
    want.list = found->list;
  }
  if (want.list != 0)
    glCallList(want.list);
  else
    shape_emit(want);
}

// True when the back faces of a closed convex shape about to be drawn in the
// colour can be culled without a visible change: unlit, opaque and not
// smoothed, the front faces cover every pixel the back faces could reach and
// paint it the same colour, and they are nearer, so the depth buffer keeps
// their depth. The transformation must keep outward faces counter-clockwise on
// screen (no mirroring, the eye looking down -z) for GL_BACK to mean them.
bool back_faces_hidden(const float* colour) {
  if (render_cache == 0 || colour[3] < 1.0f) return false;
  if (glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_POLYGON_SMOOTH)) return false;
  GLint front = 0;
  glGetIntegerv(GL_FRONT_FACE, &front);
  if (front != GL_CCW) return false;
  GLdouble m[16], p[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  const double det = m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
                     m[8] * (m[1] * m[6] - m[5] * m[2]);
  return det > 0.0 && p[0] > 0.0 && p[5] > 0.0 && p[10] < 0.0;
}

// Sphere of the given radius centred at p, in the current colour.
void sphere_at(const double p[3], double radius) {
  glPushMatrix();
  glTranslated(p[0], p[1], p[2]);
  draw_cached_sphere(sphere_quadric, radius, SPHERE_SLICES, SPHERE_STACKS);
  glPopMatrix();
}

//------------------------------------------------------------------------------
// Point labels
//------------------------------------------------------------------------------

// Window position of one label, as its raster position put it.
struct LabelSpot {
  GLfloat x, y, z;  // window pixels and depth
  int index;        // control point
};

std::vector<LabelSpot> label_spots;

// Draws the index of point i at the current raster position.
void label_text(int i) {
  char text[LABEL_SIZE];
  std::snprintf(text, sizeof text, "%d", i);
  for (const char* c = text; *c != '\0'; ++c) glutBitmapCharacter(GLUT_BITMAP_9_BY_15, *c);
}

// Labels in one opaque colour, sorted into rows so that GL gathers neighbouring
// bitmaps into one draw. The picture is the same in any order: each pixel ends
// in the one colour when any label reaches it, and with the depth test on the
// depth left is the least of theirs. The raster positions are GL's own, so
// every label lands on the same pixels; without the depth test a label's depth
// is never used, and one shared depth keeps GL from splitting the batch.
void draw_labels_batched(const Curve* curve) {
  label_spots.clear();
  for (int i = 0; i < curve->point_count; ++i) {
    const ControlPoint& q = curve->points[i];
    glRasterPos3d(q.x + LABEL_OFFSET, q.y + LABEL_OFFSET, q.z + LABEL_OFFSET);
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid != GL_TRUE) continue;
    GLfloat pos[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    label_spots.push_back(LabelSpot{pos[0], pos[1], pos[2], i});
  }
  if (label_spots.empty()) return;
  auto row = [](const LabelSpot& s) { return std::floor(s.y / LABEL_BAND); };
  std::sort(label_spots.begin(), label_spots.end(), [&row](const LabelSpot& a, const LabelSpot& b) {
    return row(a) != row(b) ? row(a) < row(b) : a.x < b.x;
  });
  const bool depth = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
  const GLfloat shared_z = label_spots.front().z;
  for (const LabelSpot& s : label_spots) {
    glWindowPos3f(s.x, s.y, depth ? s.z : shared_z);
    label_text(s.index);
  }
}

// Span search over the whole vector from t[0]: returns k (the index before the
// first knot clearly above u, or m - 1) and the multiplicity s of u.
int span_from_start(const Curve* c, float u, int* s) {
  const int m = c->knot_count;
  int count = 0;
  int i = 0;
  for (; i < m; ++i) {
    const float t = c->knots[i];
    if (t - KNOT_EPS < u && u < t + KNOT_EPS) {
      ++count;
      continue;
    }
    if (u < t) break;
  }
  *s = count;
  return i - 1;
}

// Draws the points Q[0] .. Q[last] of the current level as primitives of the
// given mode, skipping any point whose weight is 0.
void draw_level(GLenum mode, int last) {
  glBegin(mode);
  for (int j = 0; j <= last; ++j) {
    double p[3];
    if (homogeneous_to_point(DeBoorTriangle[j], p)) glVertex3d(p[0], p[1], p[2]);
  }
  glEnd();
}

// De Boor's algorithm at u, drawn level by level, then the tracing sphere.
// `lifted` says whether the curve given to draw_curve is the lifted curve,
// whose tracing point the projection window aims at.
void draw_deboor(const Curve* d, float u, bool lifted) {
  const int n = d->point_count;
  const int p = d->degree;
  const float* t = d->knots.data();
  const ControlPoint* P = d->points.data();

  // 1. The multiplicity is counted from t[0], not from t[p] as curve_eval
  // does: the p leading copies of a clamped start then count too, so u = 0
  // (and u = 1) reach s = p + 1 and fail the test below. At such an end the
  // triangle would collapse onto the end point and show nothing.
  int s = 0;
  const int k = span_from_start(d, u, &s);

  // 2. Validity: u inside the domain, a full span of p + 1 - s points that
  // exist, and at least level 0. p <= DEGREE_MAX keeps Q inside DeBoorTriangle.
  if (p < 1 || p > DEGREE_MAX || p + 1 > DEBOOR_SIZE) return;
  if (!(u >= t[p - 1] && k >= p && k - s < n && s <= p)) return;
  const int top = p - s;  // highest level

  // Level colour counter: advanced before every level, so level r takes row
  // (r + 1) mod 10 of level_colours.
  int colour = 0;
  auto next_level_colour = [&colour]() {
    colour = (colour + 1) % LEVEL_COLOUR_COUNT;
    glColor4fv(level_colours[colour]);
  };

  // 3. Level 0: the control points P[k-p] .. P[k-s] themselves.
  ControlPoint* Q = DeBoorTriangle;
  for (int j = 0; j <= top; ++j) Q[j] = P[k - p + j];
  glLineWidth(DEBOOR_LINE_WIDTH);
  glPointSize(DEBOOR_POINT_SIZE);
  next_level_colour();
  if (show_deboor) {
    glBegin(GL_LINE_STRIP);
    for (int j = 0; j <= top; ++j) glVertex3d(Q[j].x, Q[j].y, Q[j].z);
    glEnd();
  }

  // 4. Homogeneous form: the rational combination is affine in (wx, wy, wz, w).
  for (int j = 0; j <= top; ++j) {
    Q[j].x *= Q[j].w;
    Q[j].y *= Q[j].w;
    Q[j].z *= Q[j].w;
  }

  // 5. Level r replaces Q[j] by the blend of Q[j] and Q[j + 1] over the knot
  // interval of length p + 1 - r that contains u; increasing j reads Q[j + 1]
  // before it is overwritten, so one array holds the whole triangle.
  for (int r = 1; r <= top; ++r) {
    for (int j = 0; j <= top - r; ++j) {
      const double lo = t[k - p + r + j];
      const double hi = t[k + 1 + j];
      const double a = (static_cast<double>(u) - lo) / (hi - lo);
      Q[j].x = a * Q[j + 1].x + (1.0 - a) * Q[j].x;
      Q[j].y = a * Q[j + 1].y + (1.0 - a) * Q[j].y;
      Q[j].z = a * Q[j + 1].z + (1.0 - a) * Q[j].z;
      Q[j].w = a * Q[j + 1].w + (1.0 - a) * Q[j].w;
    }
    next_level_colour();
    if (show_deboor) draw_level(GL_LINE_STRIP, top - r);
    if (show_deboor_points) draw_level(GL_POINTS, top - r);
  }

  // 6./7. The top of the triangle is the curve point; a weight of 0 puts it at
  // infinity, where no sphere can be drawn and the last tracing point stays.
  double c[3];
  if (!homogeneous_to_point(Q[0], c)) return;
  glColor4fv(palette.colours[PAL_TRACING_POINT]);
  sphere_at(c, TRACE_SPHERE_RADIUS);
  if (lifted) {
    tracing_point_3d[0] = static_cast<float>(c[0]);
    tracing_point_3d[1] = static_cast<float>(c[1]);
    tracing_point_3d[2] = static_cast<float>(c[2]);
  }
}

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

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Draws one curve in the fixed order; a closed curve through its wrapped copy.
void draw_curve(const Curve* curve) {
  if (curve == nullptr) return;
  const float u = curve->trace_u;

  // A closed vector has n + 2p + 1 knots for n points: the curve it describes
  // runs over the n points followed by the first p again, so the copy that
  // repeats them is an ordinary curve with the clamped-style count.
  Curve* copy = curve->wrapped == 1 ? curve_wrapped_copy(curve) : nullptr;
  const Curve* d = copy != nullptr ? copy : curve;
  const bool usable = curve_usable(d);

  draw_knot_points(d);
  if (usable) draw_deboor(d, u, curve == lifted_curve);
  draw_control_points(d);
  draw_point_labels(d);

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

  curve_free(copy);
}

// One sphere on the curve at each distinct knot value of the domain.
void draw_knot_points(const Curve* curve) {
  if (!curve_usable(curve)) return;
  const int n = curve->point_count;
  const int p = curve->degree;
  const int m = curve->knot_count;
  const float* t = curve->knots.data();

  const float* colour = palette.colours[PAL_KNOT_POINT];
  const bool cull = back_faces_hidden(colour);
  const GLboolean was_culling = glIsEnabled(GL_CULL_FACE);
  GLint cull_mode = GL_BACK;
  glGetIntegerv(GL_CULL_FACE_MODE, &cull_mode);
  if (cull) {
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
  }

  int i = p;
  while (i <= n) {
    // The scan starts at i and passes over every copy of t[i], so the next i
    // is the first larger knot and each distinct value is visited once.
    const float v = t[i];
    int s = 0;
    int j = i;
    for (; j < m; ++j) {
      if (t[j] - KNOT_EPS < v && v < t[j] + KNOT_EPS) {
        ++s;
        continue;
      }
      if (v < t[j]) break;
    }
    i = j;
    const int k = j - 1;
    // s may reach p + 1 here, so the end knots of a clamped vector qualify.
    if (!(v >= t[p - 1] && k >= p && k - s < n && s <= p + 1)) continue;
    if (!curve_eval(curve, v)) break;
    double c[3];
    if (!homogeneous_to_point(DeBoorTriangle[0], c)) continue;
    glColor4fv(colour);
    sphere_at(c, KNOT_SPHERE_RADIUS);
  }

  if (cull) {
    glCullFace(static_cast<GLenum>(cull_mode));
    if (!was_culling) glDisable(GL_CULL_FACE);
  }
}

// The control points as squares, the selected ones in their own colour.
void draw_control_points(const Curve* curve) {
  const GLboolean lit = lighting_off();
  // Only the leading entries in use count, and never more than the list holds.
  int used = selection_count;
  if (used < 0) used = 0;
  if (used > SELECTION_MAX) used = SELECTION_MAX;

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
  const float* colour = palette.colours[PAL_CONTROL_POINT_INDEX];
  glColor4fv(colour);
  if (render_cache != 0 && colour[3] >= 1.0f) {
    draw_labels_batched(curve);
  } else {
    for (int i = 0; i < curve->point_count; ++i) {
      const ControlPoint& q = curve->points[i];
      glRasterPos3d(q.x + LABEL_OFFSET, q.y + LABEL_OFFSET, q.z + LABEL_OFFSET);
      label_text(i);
    }
  }
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

// gluSphere through the current window's list of it.
void draw_cached_sphere(GLUquadric* quadric, double radius, int slices, int stacks) {
  shape_draw(ShapeList{0, quadric, true, radius, 0.0, 0.0, slices, stacks, 0});
}

// gluCylinder through the current window's list of it.
void draw_cached_cylinder(GLUquadric* quadric, double base, double top, double height, int slices,
                          int stacks) {
  shape_draw(ShapeList{0, quadric, false, base, top, height, slices, stacks, 0});
}
