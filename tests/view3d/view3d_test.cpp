// Curve renderer and projection window, checked call by call against
// geometry worked out independently (de Casteljau on the same control points)
// and the documented level colours; and the faster drawing paths against the
// reference path, pixel for pixel.
#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"

#include <GL/freeglut.h>
#include <dlfcn.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

using Xyz = std::array<double, 3>;
using Colour = std::array<float, 4>;
constexpr int RANDOM_VIEWS = 40;
constexpr GLenum SPHERE = 0xffff;  // no GL mode: a translation, where a sphere goes
struct Primitive {
  GLenum mode;
  Colour colour;  // current at glBegin or at the translation
  std::vector<Xyz> points;
};

bool recording = false;
Colour current{};
std::vector<Primitive> primitives;

template <typename F>
F next_gl(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The program's calls reach these first; each records and passes the call on.
extern "C" void glBegin(GLenum mode) {
  static auto real = next_gl<void (*)(GLenum)>("glBegin");
  if (recording) primitives.push_back({mode, current, {}});
  real(mode);
}
extern "C" void glColor4fv(const GLfloat* c) {
  static auto real = next_gl<void (*)(const GLfloat*)>("glColor4fv");
  current = {c[0], c[1], c[2], c[3]};
  real(c);
}
extern "C" void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  static auto real = next_gl<void (*)(GLdouble, GLdouble, GLdouble)>("glVertex3d");
  if (recording && !primitives.empty()) primitives.back().points.push_back({x, y, z});
  real(x, y, z);
}
extern "C" void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  static auto real = next_gl<void (*)(GLdouble, GLdouble, GLdouble)>("glTranslated");
  if (recording) primitives.push_back({SPHERE, current, {{x, y, z}}});
  real(x, y, z);
}

namespace {

// Level r of the triangle takes the colour row (r + 1) mod 10 of the ten level
// rows; these are the documented rows, "DeCasteljau/Deboor 1" first.
const Colour LEVEL_ROWS[10] = {{0.38f, 0.184f, 0.184f, 0.8f}, {0.184f, 0.6f, 0.184f, 0.8f},
                               {0.184f, 0.184f, 0.5f, 0.8f},  {0.8f, 0.59f, 0.3f, 0.8f},
                               {0.5f, 0.0f, 0.2f, 0.8f},      {0.137f, 0.55f, 0.537f, 0.8f},
                               {0.75f, 0.18f, 0.7f, 0.8f},    {0.2f, 0.8f, 0.05f, 0.8f},
                               {0.25f, 0.1f, 0.7f, 0.8f},     {1.0f, 0.25f, 0.0f, 0.8f}};
const Colour TRACING = {0.0f, 0.0f, 0.0f, 0.7f};

bool same(const Xyz& a, const Xyz& b) {
  return std::fabs(a[0] - b[0]) + std::fabs(a[1] - b[1]) + std::fabs(a[2] - b[2]) < 1e-9;
}

// Draws a curve on the pad with every call recorded.
void record(const Curve* curve) {
  primitives.clear();
  glutSetWindow(window_table.win_pad.id);
  recording = true;
  glPushMatrix();
  draw_curve(curve);
  glPopMatrix();
  recording = false;
}

// Recorded primitives of a mode (or spheres) drawn in the colour.
std::vector<const Primitive*> drawn(GLenum mode, const Colour& colour) {
  std::vector<const Primitive*> out;
  for (const Primitive& p : primitives)
    if (p.mode == mode && p.colour == colour) out.push_back(&p);
  return out;
}

// Every level of a Bezier curve at u by de Casteljau in homogeneous
// coordinates, as the points a student sees: levels[r][j].
std::vector<std::vector<Xyz>> casteljau(const std::vector<ControlPoint>& p, double u) {
  std::vector<std::array<double, 4>> q;
  q.reserve(p.size());
  for (const ControlPoint& c : p) q.push_back({c.x * c.w, c.y * c.w, c.z * c.w, c.w});
  std::vector<std::vector<Xyz>> levels;
  for (size_t r = 0; r < p.size(); ++r) {
    levels.emplace_back();
    for (size_t j = 0; j + r < p.size(); ++j) {
      if (r > 0)
        for (int c = 0; c < 4; ++c) q[j][c] = (1 - u) * q[j][c] + u * q[j + 1][c];
      levels.back().push_back({q[j][0] / q[j][3], q[j][1] / q[j][3], q[j][2] / q[j][3]});
    }
  }
  return levels;
}

class View3dTest : public GlAppTest {};

TEST_F(View3dTest, BezierLevelsMatchDeCasteljauInTheirRowColours) {
  for (int p : {3, 10}) {
    SCOPED_TRACE(p);
    gl_reset_state();
    std::vector<ControlPoint> points;  // p + 1 points, clamped: a Bezier curve
    for (int i = 0; i <= p; ++i)
      points.push_back({2.5 * std::cos(0.5 * i), 2.5 * std::sin(0.7 * i) - 0.5, 0, 1 + 0.15 * i});
    gl_build(points, p, KNOT_CLAMPED);
    show_deboor = show_deboor_points = 1;
    edited_curve->trace_u = 0.375f;
    record(edited_curve);
    const auto levels = casteljau(points, 0.375);
    for (int r = 0; r <= p; ++r) {
      int strips = 0, dots = 0;
      for (const Primitive& s : primitives) {
        bool hit = s.colour == LEVEL_ROWS[(r + 1) % 10] && s.points.size() == levels[r].size();
        for (size_t j = 0; hit && j < s.points.size(); ++j) hit = same(s.points[j], levels[r][j]);
        (s.mode == GL_LINE_STRIP ? strips : dots) += hit;
      }
      EXPECT_EQ(strips, 1) << "level " << r;
      EXPECT_EQ(dots, r == 0 ? 0 : 1) << "level " << r << " (level 0 is never points)";
    }
    const auto tracing = drawn(SPHERE, TRACING);
    ASSERT_EQ(tracing.size(), 1u);
    EXPECT_TRUE(same(tracing[0]->points[0], levels[p][0]));
  }
}

TEST_F(View3dTest, PointsAtInfinityBreakTheirLevel) {
  // Cubic Bezier, weights 1, 1, -1, 3, u = 0.5: level 1 has w = 1, 0, 1, so
  // its ends (-1.5, 0) and (3 (2, -1) - (1, 1)) / 2 must not be joined.
  gl_build({{-2, -1, 0, 1}, {-1, 1, 0, 1}, {1, 1, 0, -1}, {2, -1, 0, 3}}, 3, KNOT_CLAMPED);
  show_deboor = show_deboor_points = 1;
  edited_curve->trace_u = 0.5f;
  record(edited_curve);
  int ends = 0;
  for (const Primitive* s : drawn(GL_LINE_STRIP, LEVEL_ROWS[2])) {
    ASSERT_EQ(s->points.size(), 1u);
    ends += same(s->points[0], {-1.5, 0, 0}) + same(s->points[0], {2.5, -2, 0});
  }
  EXPECT_EQ(ends, 2);
}

// n points on a wavy ring with weights 1 + 0.5 cos(3a), as a lesson builds them.
void build_ring(int n, int degree, int type) {
  std::vector<ControlPoint> points;
  for (int i = 0; i < n; ++i) {
    const double a = 2.0 * M_PI * i / n, r = 2.4 * (0.75 + 0.25 * std::sin(5.0 * a));
    points.push_back({r * std::cos(a), r * std::sin(a), 0.0, 1.0 + 0.5 * std::cos(3 * a)});
  }
  gl_build(points, degree, type);
}

// Every view on the reference path, then twice on the fast one (the first draw
// compiles the lists, the second replays them): the same pixels each time.
void expect_same_pictures(const char* scene) {
  const struct {
    const WindowEntry* window;
    void (*display)();
  } views[] = {{&window_table.win_pad, pad_display},
               {&window_table.win_projection, proj_display},
               {&window_table.win_knots, knot_panel_display}};
  for (const auto& view : views) {
    fast_paths = knot_bar_batch = 0;
    const Pixels reference = gl_capture(view.window->id, view.display);
    fast_paths = knot_bar_batch = 1;
    for (int draw = 0; draw < 2; ++draw) {
      const Pixels fast = gl_capture(view.window->id, view.display);
      EXPECT_TRUE(fast.data == reference.data) << scene << ", window " << view.window->id;
    }
  }
}

TEST_F(View3dTest, FastPathsDrawTheReferencePixels) {
  build_ring(8, 3, KNOT_CLAMPED);
  edited_curve->selected[0] = 2;
  knot_bar.value = 0.37f;
  show_deboor = show_deboor_points = 1;
  curve_lift(edited_curve, lifted_curve);
  expect_same_pictures("lesson");
  // The largest closed curve, in a view turned about a slanted axis and zoomed.
  gl_reset_state();
  build_ring(100, 10, KNOT_CLOSED);
  knot_bar.value = 0.503f;
  edited_curve->trace_u = lifted_curve->trace_u = 0.503f;
  show_deboor = 1;
  const double a = 0.7, c = std::cos(a), s = std::sin(a), k = std::sqrt(0.5);
  const double turned[16] = {c + k * k * (1 - c),
                             k * k * (1 - c),
                             -k * s,
                             0,
                             k * k * (1 - c),
                             c + k * k * (1 - c),
                             k * s,
                             0,
                             k * s,
                             -k * s,
                             c,
                             0,
                             0,
                             0,
                             0,
                             1};
  std::copy(turned, turned + 16, view_matrix);
  proj_zoom = 3.0f;
  expect_same_pictures("closed-100");
  // Sub-pixel positions of every sphere change with the view: random turns and zooms.
  std::mt19937 random(24);
  std::uniform_real_distribution<double> spread(-1.0, 1.0);
  for (int view = 0; view < RANDOM_VIEWS; ++view) {
    glutSetWindow(window_table.win_projection.id);
    glPushMatrix();
    glLoadIdentity();
    glRotated(180.0 * spread(random), spread(random), spread(random), spread(random));
    glGetDoublev(GL_MODELVIEW_MATRIX, view_matrix);
    glPopMatrix();
    proj_zoom = static_cast<float>(3.0 + 2.0 * spread(random));
    fast_paths = 0;
    const Pixels reference = gl_capture(window_table.win_projection.id, proj_display);
    fast_paths = 1;
    EXPECT_TRUE(gl_capture(window_table.win_projection.id, proj_display).data == reference.data)
        << "view " << view;
  }
}

// The projection window keeps its 540 x 540: a resize of either side alone is undone.
TEST_F(View3dTest, ProjectionWindowTakesBackItsSize) {
  const int id = window_table.win_projection.id;
  const auto size = [id] {
    glutSetWindow(id);
    return std::array<int, 2>{glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
  };
  for (const std::array<int, 2> asked : {std::array<int, 2>{600, 540}, {540, 480}}) {
    glutSetWindow(id);
    glutReshapeWindow(asked[0], asked[1]);
    gl_pump(300);
    for (int wait = 0; wait < 40 && size() != std::array<int, 2>{540, 540}; ++wait) gl_pump(50);
    EXPECT_EQ(size(), (std::array<int, 2>{540, 540})) << "asked " << asked[0] << " x " << asked[1];
  }
}

}  // namespace
