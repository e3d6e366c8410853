// GLU's spheres and cylinders rebuilt vertex for vertex and drawn without the
// pieces that cannot show, and back-face culling and outlines for runs of opaque
// spheres; each entry point takes GLU's path when fast_paths is 0. The
// projection rays are in projection_rays.cpp.
#include "view3d/fast_shapes.h"

#include "app/shell.h"
#include "view3d/piece_cover.h"
#include "view3d/projection.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

int fast_paths = 1;

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr double GLU_PI = 3.14159265358979323846;
constexpr int GLU_CACHE_SIZE = 240;  // GLU cuts slices and stacks below this
// Normalised device coordinates a sphere keeps within to be clear of every
// clipping plane, with room for GL's float error.
constexpr double VOLUME_INSIDE = 0.999;

//------------------------------------------------------------------------------
// Shape meshes
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

// A run of opaque spheres in one colour drawn with no depth test leaves only
// the pixels they cover, in that colour: each sphere whose outline has no
// pixel centre in doubt is queued as that outline, and the run's outlines go
// out together, in window coordinates, when it ends.
struct OutlineRun {
  bool on;                    // set by shapes_cull_begin for such a run
  float colour[4];            // the run's colour
  const ShapeMesh* mesh;      // mesh of the cached outline, null for none
  double linear[6];           // window x and y per object x, y, z it was found for
  std::vector<int> hull;      // its corners, mesh vertex indices, counter-clockwise
  std::vector<double> xy;     // scratch: one sphere's corners in window pixels
  std::vector<GLfloat> fans;  // window x, y of the queued outlines' triangles
};
OutlineRun outline_run;

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

// The sines and cosines of the slice angles 2 pi i / slices, the first pair
// repeated at index slices to close the ring, as GLU tabulates them: each angle
// a float, its sine and cosine taken in double.
void slice_table(int slices, GLfloat* sin_a, GLfloat* cos_a) {
  for (int i = 0; i < slices; ++i) {
    const GLfloat angle = static_cast<GLfloat>(2 * GLU_PI * i / slices);
    sin_a[i] = static_cast<GLfloat>(std::sin(static_cast<double>(angle)));
    cos_a[i] = static_cast<GLfloat>(std::cos(static_cast<double>(angle)));
  }
  sin_a[slices] = sin_a[0];
  cos_a[slices] = cos_a[0];
}

// gluSphere's vertices: a fan round each pole, then a quad strip per stack
// between them. Like GLU, every angle and cache entry is a float while the
// sines and cosines are taken in double.
void mesh_build_sphere(ShapeMesh& m) {
  const int slices = m.slices, stacks = m.stacks;
  const double radius = m.base;
  GLfloat sin_a[GLU_CACHE_SIZE] = {}, cos_a[GLU_CACHE_SIZE] = {};
  GLfloat sin_b[GLU_CACHE_SIZE] = {}, cos_b[GLU_CACHE_SIZE] = {};
  slice_table(slices, sin_a, cos_a);
  for (int j = 0; j <= stacks; ++j) {
    const GLfloat angle = static_cast<GLfloat>(GLU_PI * j / stacks);
    sin_b[j] = static_cast<GLfloat>(radius * std::sin(static_cast<double>(angle)));
    cos_b[j] = static_cast<GLfloat>(radius * std::cos(static_cast<double>(angle)));
  }
  sin_b[0] = 0.0f;  // the poles come to a point
  sin_b[stacks] = 0.0f;

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
  slice_table(slices, sin_a, cos_a);
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
  outline_run.mesh = nullptr;  // the meshes may move
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
    const double* v[4] = {};
    for (int c = 0; c < size; ++c) v[c] = window_xy(piece[c]);
    const bool keep = piece_may_show(v, size, back_culled);
    if (keep && run < 0) run = k;
    if (!keep && run >= 0) {
      run_emit(m, m.modes[p], apex, first + run, first + k - step + tail);
      run = -1;
    }
  }
  if (run >= 0) run_emit(m, m.modes[p], apex, first + run, first + count - 1);
}

// Queues a sphere of an outline run as its outline in window pixels, when
// every pixel centre near it is clearly inside or outside: a convex shape's
// triangles cover the convex hull of its vertices, so both give the same
// pixels. The spheres of a run differ by a translation only, and share one
// outline. Nothing may be clipped (clipping makes vertices of its own).
bool outline_queue(const ShapeMesh& m, const double a[12], const GLint vp[4]) {
  OutlineRun& run = outline_run;
  if (!run.on || !m.sphere) return false;
  for (int corner = 0; corner < 8; ++corner) {
    const double c[3] = {corner & 1 ? m.base : -m.base, corner & 2 ? m.base : -m.base,
                         corner & 4 ? m.base : -m.base};
    for (int r = 0; r < 3; ++r) {
      const double* row = &a[r * 4];
      if (!(std::fabs(row[0] * c[0] + row[1] * c[1] + row[2] * c[2] + row[3]) < VOLUME_INSIDE))
        return false;
    }
  }
  const double linear[6] = {a[0], a[1], a[2], a[4], a[5], a[6]};
  if (run.mesh != &m || !std::equal(linear, linear + 6, run.linear)) {
    const size_t vertices = m.xyz.size() / 3;
    shape_window_xy.resize(vertices * 2);
    for (size_t v = 0; v < vertices; ++v)
      for (size_t r = 0; r < 2; ++r)
        shape_window_xy[v * 2 + r] = linear[r * 3] * m.xyz[v * 3] +
                                     linear[r * 3 + 1] * m.xyz[v * 3 + 1] +
                                     linear[r * 3 + 2] * m.xyz[v * 3 + 2];
    hull_of(shape_window_xy.data(), static_cast<int>(vertices), &run.hull);
    run.mesh = &m;
    std::copy(linear, linear + 6, run.linear);
  }
  run.xy.clear();
  for (int v : run.hull) {
    const GLfloat* p = &m.xyz[static_cast<size_t>(v) * 3];
    for (int r = 0; r < 2; ++r) {
      const double* row = &a[r * 4];
      const double ndc = row[0] * p[0] + row[1] * p[1] + row[2] * p[2] + row[3];
      run.xy.push_back(vp[r] + (ndc + 1.0) * vp[r + 2] / 2.0);
    }
  }
  const int corners = static_cast<int>(run.hull.size());
  if (!outline_pixels_certain(run.xy.data(), corners)) return false;
  for (int k = 1; k + 1 < corners; ++k)
    for (int corner : {0, k, k + 1})
      for (int r = 0; r < 2; ++r)
        run.fans.push_back(static_cast<GLfloat>(run.xy[static_cast<size_t>(corner * 2 + r)]));
  return true;
}

// Draws the outlines queued in the run, in window pixels, in its colour.
void outline_flush() {
  OutlineRun& run = outline_run;
  if (run.fans.empty()) return;
  GLint vp[4], mode = GL_MODELVIEW;
  glGetIntegerv(GL_VIEWPORT, vp);
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(vp[0], vp[0] + vp[2], vp[1], vp[1] + vp[3], -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor4fv(run.colour);
  glBegin(GL_TRIANGLES);
  for (size_t k = 0; k < run.fans.size(); k += 2) glVertex2fv(&run.fans[k]);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(static_cast<GLenum>(mode));
  run.fans.clear();
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

  // Window x and y of object point v: viewport of (projection * modelview) v;
  // the depth row only tells an outline whether it is clipped.
  double a[12];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) {
      const int column = c * 4;
      a[r * 4 + c] = pr[r] * mv[column] + pr[4 + r] * mv[column + 1] + pr[8 + r] * mv[column + 2] +
                     pr[12 + r] * mv[column + 3];
    }
  if (outline_queue(m, a, vp)) return;
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

// Draws a quadric shape: through its mesh while fast_paths is on, by GLU
// otherwise or when no mesh can stand for it.
void shape_draw(GLUquadric* quadric, bool sphere, double base, double top, double height,
                int slices, int stacks) {
  const ShapeMesh* m = fast_paths != 0 && quadric != nullptr
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
  if (fast_paths == 0 || colour[3] < 1.0f) return false;
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

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// gluSphere, leaving out the pieces that cannot show.
void draw_cached_sphere(GLUquadric* quadric, double radius, int slices, int stacks) {
  shape_draw(quadric, true, radius, 0.0, 0.0, slices, stacks);
}

// gluCylinder, leaving out the pieces that cannot show.
void draw_cached_cylinder(GLUquadric* quadric, double base, double top, double height, int slices,
                          int stacks) {
  shape_draw(quadric, false, base, top, height, slices, stacks);
}

// Culls back faces while the run of shapes in the colour is drawn, when that
// changes no pixel.
ShapeCull shapes_cull_begin(const float* colour) {
  ShapeCull state{back_faces_hidden(colour), glIsEnabled(GL_CULL_FACE), GL_BACK};
  glGetIntegerv(GL_CULL_FACE_MODE, &state.mode);
  if (state.on) {
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
  }
  // The outlines turn counter-clockwise on screen, so the culling keeps them.
  outline_run.on = state.on && glIsEnabled(GL_DEPTH_TEST) != GL_TRUE;
  std::copy(colour, colour + 4, outline_run.colour);
  return state;
}

// Draws the run's outlines and puts back the culling that shapes_cull_begin
// found.
void shapes_cull_end(const ShapeCull& state) {
  outline_flush();
  outline_run.on = false;
  if (!state.on) return;
  glCullFace(static_cast<GLenum>(state.mode));
  if (!state.was_enabled) glDisable(GL_CULL_FACE);
}
