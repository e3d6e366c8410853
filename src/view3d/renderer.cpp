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

// Pixels of doubt about where GL puts a vertex: it rounds positions to the
// nearest 1/256 pixel (an error under 0.002) and works in floats (errors near
// 1e-4 pixel here), so 0.02 is ten times what it can miss by.
constexpr double PIECE_MARGIN = 0.02;
constexpr double PIECE_FLAT = 1e-6;         // twice the area (square pixels) of a flat triangle
constexpr double PIECE_CENTRES_MAX = 64.0;  // pixel centres searched for one piece at most
constexpr float LABEL_BATCH_ROWS = 16.0f;   // rows of raster positions one bitmap batch takes

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
// Quadric shapes drawn without their empty pieces
//------------------------------------------------------------------------------

// A sphere or cylinder as GLU emits it for a filled, outward, untextured
// quadric (how start-up makes all three): its primitives, each a run of
// vertices. The numbers are worked out as GLU works them out, float for float,
// so that the pieces drawn are the very triangles GLU would draw.
struct ShapeMesh {
  bool sphere;               // gluSphere (radius in base) or gluCylinder
  double base, top, height;  // scene units
  int slices, stacks;
  std::vector<GLenum> modes;  // GL_TRIANGLE_FAN or GL_QUAD_STRIP
  std::vector<int> firsts;    // first vertex of each primitive
  std::vector<int> counts;    // vertices of each primitive
  std::vector<GLfloat> xyz;   // vertices, three floats each
};

std::vector<ShapeMesh> shape_meshes;
std::vector<double> shape_window_xy;  // scratch: window x, y of every vertex

constexpr double GLU_PI = 3.14159265358979323846;
constexpr int GLU_CACHE_SIZE = 240;  // GLU cuts slices and stacks below this

// Opens a primitive of the mesh.
void mesh_begin(ShapeMesh& m, GLenum mode) {
  m.modes.push_back(mode);
  m.firsts.push_back(static_cast<int>(m.xyz.size() / 3));
  m.counts.push_back(0);
}

// Appends a vertex to the open primitive.
void mesh_vertex(ShapeMesh& m, GLfloat x, GLfloat y, GLfloat z) {
  m.xyz.insert(m.xyz.end(), {x, y, z});
  ++m.counts.back();
}

// gluSphere's vertices: a fan round each pole, then a quad strip per stack
// between them. Like GLU, every angle and cache entry is a float while the
// sines and cosines are taken in double.
void mesh_build_sphere(ShapeMesh& m) {
  const int slices = m.slices, stacks = m.stacks;
  const double radius = m.base;
  GLfloat sin_a[GLU_CACHE_SIZE] = {}, cos_a[GLU_CACHE_SIZE] = {};
  GLfloat sin_b[GLU_CACHE_SIZE] = {}, cos_b[GLU_CACHE_SIZE] = {};
  for (int i = 0; i < slices; ++i) {
    const GLfloat angle = static_cast<GLfloat>(2 * GLU_PI * i / slices);
    sin_a[i] = static_cast<GLfloat>(std::sin(static_cast<double>(angle)));
    cos_a[i] = static_cast<GLfloat>(std::cos(static_cast<double>(angle)));
  }
  for (int j = 0; j <= stacks; ++j) {
    const GLfloat angle = static_cast<GLfloat>(GLU_PI * j / stacks);
    sin_b[j] = static_cast<GLfloat>(radius * std::sin(static_cast<double>(angle)));
    cos_b[j] = static_cast<GLfloat>(radius * std::cos(static_cast<double>(angle)));
  }
  sin_b[0] = 0.0f;  // the poles come to a point
  sin_b[stacks] = 0.0f;
  sin_a[slices] = sin_a[0];
  cos_a[slices] = cos_a[0];

  mesh_begin(m, GL_TRIANGLE_FAN);
  mesh_vertex(m, 0.0f, 0.0f, static_cast<GLfloat>(radius));
  for (int i = slices; i >= 0; --i)
    mesh_vertex(m, sin_b[1] * sin_a[i], sin_b[1] * cos_a[i], cos_b[1]);
  mesh_begin(m, GL_TRIANGLE_FAN);
  mesh_vertex(m, 0.0f, 0.0f, static_cast<GLfloat>(-radius));
  const GLfloat s_low = sin_b[stacks - 1], z_low = cos_b[stacks - 1];
  for (int i = 0; i <= slices; ++i) mesh_vertex(m, s_low * sin_a[i], s_low * cos_a[i], z_low);
  for (int j = 1; j < stacks - 1; ++j) {
    mesh_begin(m, GL_QUAD_STRIP);
    for (int i = 0; i <= slices; ++i) {
      mesh_vertex(m, sin_b[j + 1] * sin_a[i], sin_b[j + 1] * cos_a[i], cos_b[j + 1]);
      mesh_vertex(m, sin_b[j] * sin_a[i], sin_b[j] * cos_a[i], cos_b[j]);
    }
  }
}

// gluCylinder's vertices: one quad strip per stack from z = 0 up to height.
void mesh_build_cylinder(ShapeMesh& m) {
  const int slices = m.slices, stacks = m.stacks;
  GLfloat sin_a[GLU_CACHE_SIZE], cos_a[GLU_CACHE_SIZE];
  for (int i = 0; i < slices; ++i) {
    const GLfloat angle = static_cast<GLfloat>(2 * GLU_PI * i / slices);
    sin_a[i] = static_cast<GLfloat>(std::sin(static_cast<double>(angle)));
    cos_a[i] = static_cast<GLfloat>(std::cos(static_cast<double>(angle)));
  }
  sin_a[slices] = sin_a[0];
  cos_a[slices] = cos_a[0];
  const GLfloat delta = static_cast<GLfloat>(m.base - m.top);
  for (int j = 0; j < stacks; ++j) {
    const GLfloat z_low = static_cast<GLfloat>(j * m.height / stacks);
    const GLfloat z_high = static_cast<GLfloat>((j + 1) * m.height / stacks);
    const GLfloat r_low = static_cast<GLfloat>(m.base - delta * (static_cast<GLfloat>(j) / stacks));
    const GLfloat r_high =
        static_cast<GLfloat>(m.base - delta * (static_cast<GLfloat>(j + 1) / stacks));
    mesh_begin(m, GL_QUAD_STRIP);
    for (int i = 0; i <= slices; ++i) {
      mesh_vertex(m, r_low * sin_a[i], r_low * cos_a[i], z_low);
      mesh_vertex(m, r_high * sin_a[i], r_high * cos_a[i], z_high);
    }
  }
}

// The cached mesh of the shape, built on first use; null for sizes GLU itself
// would refuse or cut, which are drawn by GLU.
const ShapeMesh* shape_mesh(bool sphere, double base, double top, double height, int slices,
                            int stacks) {
  for (const ShapeMesh& m : shape_meshes)
    if (m.sphere == sphere && m.base == base && m.top == top && m.height == height &&
        m.slices == slices && m.stacks == stacks)
      return &m;
  const int min_stacks = sphere ? 2 : 1;
  if (slices < 2 || slices >= GLU_CACHE_SIZE || stacks < min_stacks || stacks >= GLU_CACHE_SIZE ||
      !(base >= 0.0) || !(top >= 0.0) || !(height >= 0.0) || !std::isfinite(base + top + height))
    return nullptr;
  ShapeMesh m{sphere, base, top, height, slices, stacks, {}, {}, {}, {}};
  if (sphere)
    mesh_build_sphere(m);
  else
    mesh_build_cylinder(m);
  shape_meshes.push_back(std::move(m));
  return &shape_meshes.back();
}

// True when the state lets a piece be judged by its vertices' pixels alone:
// filled, unlit (no normals are sent), not smoothed nor multisampled, and an
// affine (orthographic) transformation so that window positions are exact
// linear images of the vertices.
bool pieces_can_be_skipped(const GLdouble mv[16], const GLdouble pr[16]) {
  if (glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_POLYGON_SMOOTH)) return false;
  GLint samples = 0;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &samples);
  if (samples != 0) return false;
  GLint modes[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, modes);
  if (modes[0] != GL_FILL || modes[1] != GL_FILL) return false;
  for (const GLdouble* a : {mv, pr})
    if (a[3] != 0.0 || a[7] != 0.0 || a[11] != 0.0 || a[15] != 1.0) return false;
  return true;
}

// Window position of vertex v of the mesh being drawn.
const double* window_xy(int v) {
  return &shape_window_xy[static_cast<size_t>(v) * 2];
}

// Twice the signed window area of triangle (a, b, c): positive when it turns
// counter-clockwise on screen.
double twice_area(const double* a, const double* b, const double* c) {
  return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

// The pixel centres (k + 0.5) within PIECE_MARGIN pixels of the box round
// the n points, as ranges of k in first and last; false when there is none.
// A shape clear of every centre so found produces no fragment.
bool centres_near(const double* const* v, int n, double first[2], double last[2]) {
  for (int axis = 0; axis < 2; ++axis) {
    double lo = v[0][axis], hi = v[0][axis];
    for (int k = 1; k < n; ++k) {
      lo = std::min(lo, v[k][axis]);
      hi = std::max(hi, v[k][axis]);
    }
    first[axis] = std::ceil(lo - PIECE_MARGIN - 0.5);
    last[axis] = std::floor(hi + PIECE_MARGIN - 0.5);
    if (!std::isfinite(first[axis]) || !std::isfinite(last[axis])) {
      // Out of reach of any sum: let GL judge it.
      first[axis] = last[axis] = 0.0;
      return true;
    }
    if (first[axis] > last[axis]) return false;
  }
  return true;
}

// True when GL may give the convex polygon v[0..n) a fragment: some pixel
// centre of the ranges lies within PIECE_MARGIN pixels of it.
bool convex_may_cover(const double* const* v, int n, const double first[2], const double last[2]) {
  double area = 0.0;
  for (int k = 0; k < n; ++k) {
    const double* p = v[k];
    const double* q = v[(k + 1) % n];
    area += p[0] * q[1] - q[0] * p[1];
  }
  // Nearly flat: its edges give no reliable side, the box decides. A large
  // polygon is kept unjudged, so the search stays short at any zoom.
  if (!(std::fabs(area) >= PIECE_FLAT)) return true;
  if ((last[0] - first[0] + 1.0) * (last[1] - first[1] + 1.0) > PIECE_CENTRES_MAX) return true;
  const double turn = area > 0.0 ? 1.0 : -1.0;
  const int rows = static_cast<int>(last[1] - first[1]);
  const int columns = static_cast<int>(last[0] - first[0]);
  for (int row = 0; row <= rows; ++row)
    for (int column = 0; column <= columns; ++column) {
      const double px = first[0] + column + 0.5, py = first[1] + row + 0.5;
      bool inside = true;
      for (int e = 0; e < n && inside; ++e) {
        const double* p = v[e];
        const double* q = v[(e + 1) % n];
        const double ex = q[0] - p[0], ey = q[1] - p[1];
        // Distance of the centre from the edge times its length, positive
        // inside; |ex| + |ey| bounds the length from above.
        const double inward = turn * (ex * (py - p[1]) - ey * (px - p[0]));
        inside = inward >= -PIECE_MARGIN * (std::fabs(ex) + std::fabs(ey));
      }
      if (inside) return true;
    }
  return false;
}

// True when GL may give triangle (a, b, c) a fragment.
bool triangle_may_cover(const double* a, const double* b, const double* c) {
  const double* v[3] = {a, b, c};
  double first[2], last[2];
  return centres_near(v, 3, first, last) && convex_may_cover(v, 3, first, last);
}

// True when GL surely culls triangle (a, b, c) as a back face: it turns
// clockwise by more than any doubt about its vertices could reverse.
bool triangle_culled(const double* a, const double* b, const double* c) {
  // Each side's |dx| + |dy| bounds its length from above.
  const double perimeter = std::fabs(b[0] - a[0]) + std::fabs(b[1] - a[1]) +
                           std::fabs(c[0] - b[0]) + std::fabs(c[1] - b[1]) +
                           std::fabs(a[0] - c[0]) + std::fabs(a[1] - c[1]);
  return twice_area(a, b, c) < -2.0 * PIECE_MARGIN * perimeter;
}

// True when the piece may give a fragment: a fan triangle (apex, v1, v2), or
// a strip quad v0 v1 v2 v3 in strip order. A quad stands for the triangles
// its corners make, whichever diagonal GL splits it along: when it is convex
// on screen they fill the quad itself, otherwise each is judged alone.
bool piece_may_show(const int* index, int count, bool back_culled) {
  const double* v[4] = {};
  for (int k = 0; k < count; ++k) v[k] = window_xy(index[k]);
  if (count == 3) {
    if (back_culled && triangle_culled(v[0], v[1], v[2])) return false;
    return triangle_may_cover(v[0], v[1], v[2]);
  }
  // Strip order v0 v1 v2 v3 turns as the quad v0 v1 v3 v2.
  const double* quad[4] = {v[0], v[1], v[3], v[2]};
  const double* t[4][3] = {{quad[0], quad[1], quad[2]},
                           {quad[1], quad[2], quad[3]},
                           {quad[2], quad[3], quad[0]},
                           {quad[3], quad[0], quad[1]}};
  if (back_culled) {
    bool all_culled = true;
    for (const auto& tri : t) all_culled = all_culled && triangle_culled(tri[0], tri[1], tri[2]);
    if (all_culled) return false;
  }
  double first[2], last[2];
  if (!centres_near(quad, 4, first, last)) return false;
  int left = 0, right = 0;
  for (const auto& tri : t) {
    const double turn = twice_area(tri[0], tri[1], tri[2]);
    left += turn >= PIECE_FLAT;
    right += turn <= -PIECE_FLAT;
  }
  if (left == 4 || right == 4) return convex_may_cover(quad, 4, first, last);
  for (const auto& tri : t)
    if (triangle_may_cover(tri[0], tri[1], tri[2])) return true;
  return false;
}

// Sends vertices first .. last of the mesh as one primitive of the mode, led
// by the fan's apex when there is one (apex >= 0).
void run_emit(const ShapeMesh& m, GLenum mode, int apex, int first, int last) {
  glBegin(mode);
  if (apex >= 0) glVertex3fv(&m.xyz[static_cast<size_t>(apex) * 3]);
  for (int v = first; v <= last; ++v) glVertex3fv(&m.xyz[static_cast<size_t>(v) * 3]);
  glEnd();
}

// Sends primitive p of the mesh without the pieces (fan triangles, strip
// quads) that cannot show. The pieces kept go out in order as runs of the
// same primitive: GL splits a run of a fan or of a quad strip into exactly
// the triangles it splits them into inside the whole primitive.
void primitive_emit(const ShapeMesh& m, size_t p, bool back_culled) {
  const int first = m.firsts[p], count = m.counts[p];
  const bool fan = m.modes[p] == GL_TRIANGLE_FAN;
  // Piece k: fan triangle (first, first + k, first + k + 1) for k = 1 ..
  // count - 2; strip quad first + k .. first + k + 3 for even k up to count - 4.
  const int step = fan ? 1 : 2;
  const int size = fan ? 3 : 4;
  const int lo = fan ? 1 : 0;
  const int hi = fan ? count - 2 : count - 4;
  const int apex = fan ? first : -1;
  const int tail = fan ? 1 : 3;  // vertices a piece reaches past its own index
  int run = -1;                  // first piece of the run being gathered
  for (int k = lo; k <= hi; k += step) {
    const int piece[4] = {fan ? first : first + k, first + k + (fan ? 0 : 1),
                          first + k + (fan ? 1 : 2), first + k + 3};
    const bool keep = piece_may_show(piece, size, back_culled);
    if (keep && run < 0) run = k;
    if (!keep && run >= 0) {
      run_emit(m, m.modes[p], apex, first + run, first + k - step + tail);
      run = -1;
    }
  }
  if (run >= 0) run_emit(m, m.modes[p], apex, first + run, first + count - 1);
}

// Draws the mesh leaving out what cannot show, so that every fragment GLU's
// drawing makes is made alike: a small sphere has most of its 512 triangles
// behind it or between pixel centres.
void mesh_draw(const ShapeMesh& m, GLUquadric* quadric) {
  GLdouble mv[16], pr[16];
  GLint vp[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, mv);
  glGetDoublev(GL_PROJECTION_MATRIX, pr);
  glGetIntegerv(GL_VIEWPORT, vp);
  if (!pieces_can_be_skipped(mv, pr)) {
    if (m.sphere)
      gluSphere(quadric, m.base, m.slices, m.stacks);
    else
      gluCylinder(quadric, m.base, m.top, m.height, m.slices, m.stacks);
    return;
  }
  GLint cull_mode = 0, front = 0;
  glGetIntegerv(GL_CULL_FACE_MODE, &cull_mode);
  glGetIntegerv(GL_FRONT_FACE, &front);
  const bool back_culled = glIsEnabled(GL_CULL_FACE) && cull_mode == GL_BACK && front == GL_CCW;

  // Window x and y of object point v: viewport of (projection * modelview) v.
  double a[8];
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) {
      const int column = c * 4;
      a[r * 4 + c] = pr[r] * mv[column] + pr[4 + r] * mv[column + 1] + pr[8 + r] * mv[column + 2] +
                     pr[12 + r] * mv[column + 3];
    }
  const size_t vertices = m.xyz.size() / 3;
  shape_window_xy.resize(vertices * 2);
  for (size_t v = 0; v < vertices; ++v) {
    const double x = m.xyz[v * 3], y = m.xyz[v * 3 + 1], z = m.xyz[v * 3 + 2];
    for (size_t r = 0; r < 2; ++r) {
      const double* row = &a[r * 4];
      const double ndc = row[0] * x + row[1] * y + row[2] * z + row[3];
      shape_window_xy[v * 2 + r] = vp[r] + (ndc + 1.0) * vp[r + 2] / 2.0;
    }
  }
  for (size_t p = 0; p < m.modes.size(); ++p) primitive_emit(m, p, back_culled);
}

// Draws a quadric shape: through its mesh while render_cache is on, by GLU
// otherwise or when no mesh can stand for it.
void shape_draw(GLUquadric* quadric, bool sphere, double base, double top, double height,
                int slices, int stacks) {
  const ShapeMesh* m = render_cache != 0 && quadric != nullptr
                           ? shape_mesh(sphere, base, top, height, slices, stacks)
                           : nullptr;
  if (m != nullptr)
    mesh_draw(*m, quadric);
  else if (sphere)
    gluSphere(quadric, base, slices, stacks);
  else
    gluCylinder(quadric, base, top, height, slices, stacks);
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

// Labels in one opaque colour, drawn in bands of rows so that GL gathers the
// bitmaps of a band into one draw. GL batches bitmaps lying in a strip of
// rows around the first one it gets; each band therefore opens with a blank
// glyph (a space) in its middle row and left of its labels. The picture is the
// same in any order: each pixel ends in the one colour when any label reaches
// it, and with the depth test on the depth left is the least of theirs. The
// raster positions are GL's own, so every label lands on the same pixels;
// without the depth test a label's depth is never used, and one shared depth
// keeps GL from splitting a batch.
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
  if (glIsEnabled(GL_DEPTH_TEST) != GL_TRUE)
    for (LabelSpot& s : label_spots) s.z = label_spots.front().z;
  std::sort(label_spots.begin(), label_spots.end(), [](const LabelSpot& a, const LabelSpot& b) {
    return a.z != b.z ? a.z < b.z : a.y < b.y;
  });
  auto band = label_spots.begin();
  while (band != label_spots.end()) {
    const GLfloat z = band->z, y0 = band->y;
    const auto end = std::find_if(band, label_spots.end(), [z, y0](const LabelSpot& s) {
      return s.z != z || s.y >= y0 + LABEL_BATCH_ROWS;
    });
    std::sort(band, end, [](const LabelSpot& a, const LabelSpot& b) { return a.x < b.x; });
    glWindowPos3f(band->x, y0 + LABEL_BATCH_ROWS / 2, z);
    glutBitmapCharacter(GLUT_BITMAP_9_BY_15, ' ');
    for (auto s = band; s != end; ++s) {
      glWindowPos3f(s->x, s->y, s->z);
      label_text(s->index);
    }
    band = end;
  }
}

// True when the span k with multiplicity s of u can be drawn: u inside the
// vector, a full span of p + 1 - s points that exist, and s at most mult_max.
bool span_drawable(const Curve* c, float u, int k, int s, int mult_max) {
  const int p = c->degree;
  return u >= c->knots[p - 1] && k >= p && k - s < c->point_count && s <= mult_max;
}

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

// gluSphere, leaving out the pieces that cannot show.
void draw_cached_sphere(GLUquadric* quadric, double radius, int slices, int stacks) {
  shape_draw(quadric, true, radius, 0.0, 0.0, slices, stacks);
}

// gluCylinder, leaving out the pieces that cannot show.
void draw_cached_cylinder(GLUquadric* quadric, double base, double top, double height, int slices,
                          int stacks) {
  shape_draw(quadric, false, base, top, height, slices, stacks);
}
