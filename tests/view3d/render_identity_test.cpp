// The drawing shortcuts leave every pixel as it was: the drawing pad, the
// projection window and the knot panel drawn with the shortcuts on (spheres
// and cones without their empty pieces, culled back faces, batched labels and
// knot marks) are compared pixel for pixel with the same frames drawn on the
// plain reference path; and the shapes' vertices are GLU's own, bit for bit.
#include "view3d/scene_fixture.h"

#include "windows/knot_panel.h"

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Primitives sent to GL while recording: mode and vertices, three floats each.
struct SentPrimitive {
  GLenum mode;
  std::vector<GLfloat> xyz;
};
bool recording = false;
std::vector<SentPrimitive> sent;

template <typename F>
F next_gl(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// GLU sends its vertices through glVertex3f and the renderer through
// glVertex3fv; the executable's definitions come before libGL's, record while
// asked to and forward.
extern "C" void glBegin(GLenum mode) {
  static auto real = next_gl<void (*)(GLenum)>("glBegin");
  if (recording) sent.push_back(SentPrimitive{mode, {}});
  real(mode);
}
extern "C" void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  static auto real = next_gl<void (*)(GLfloat, GLfloat, GLfloat)>("glVertex3f");
  if (recording && !sent.empty()) sent.back().xyz.insert(sent.back().xyz.end(), {x, y, z});
  real(x, y, z);
}
extern "C" void glVertex3fv(const GLfloat* v) {
  static auto real = next_gl<void (*)(const GLfloat*)>("glVertex3fv");
  if (recording && !sent.empty()) sent.back().xyz.insert(sent.back().xyz.end(), {v[0], v[1], v[2]});
  real(v);
}

namespace {

constexpr double PI = 3.14159265358979323846;

struct ViewWindow {
  const char* name;
  const WindowEntry* entry;
  void (*display)();
};

const ViewWindow VIEWS[] = {
    {"pad", &window_table.win_pad, pad_display},
    {"projection", &window_table.win_projection, proj_display},
    {"knot_panel", &window_table.win_knots, knot_panel_display},
};

class RenderIdentityTest : public SceneTest {
 protected:
  void TearDown() override { set_shortcuts(1); }

  static void set_shortcuts(int on) {
    render_cache = on;
    knot_bar_batch = on;
  }

  // n points on a wavy ring with weights 1 + 0.5 cos(3a), as a lesson builds them.
  static void build_ring(int n, int degree, int type) {
    std::vector<ControlPoint> points;
    for (int i = 0; i < n; ++i) {
      const double a = 2.0 * PI * i / n;
      const double r = 2.4 * (0.75 + 0.25 * std::sin(5.0 * a));
      points.push_back({r * std::cos(a), r * std::sin(a), 0.0, 1.0 + 0.5 * std::cos(3.0 * a)});
    }
    edited_curve->degree = degree;
    for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_APPEND);
    curve_make_knots(edited_curve, type);
    curve_lift(edited_curve, lifted_curve);
  }

  static void trace_at(float u, int deboor) {
    knot_bar.value = u;
    edited_curve->trace_u = u;
    curve_lift(edited_curve, lifted_curve);
    show_deboor = static_cast<unsigned char>(deboor);
    show_deboor_points = static_cast<unsigned char>(deboor);
  }

  static void select(std::initializer_list<int> points) {
    int e = 0;
    for (int i : points) edited_curve->selected[e++] = i;
    selection_count = e;
  }

  // Draws every view on the reference path, then twice with the shortcuts (the
  // first draw compiles the lists, the second replays them), and expects the
  // same pixels. Returns the pad's picture for checks that it shows the curve.
  static Pixels expect_same_pictures(const std::string& scene) {
    Pixels pad;
    for (const ViewWindow& view : VIEWS) {
      SCOPED_TRACE(scene + " / " + view.name);
      // The projection window folds the last drag step into its view on
      // every draw; with no step held the view stays put.
      set_shortcuts(0);
      const Pixels reference = gl_capture(view.entry->id, view.display);
      set_shortcuts(1);
      for (int draw = 0; draw < 2; ++draw) {
        const Pixels fast = gl_capture(view.entry->id, view.display);
        EXPECT_EQ(fast.data.size(), reference.data.size());
        if (fast.data.size() != reference.data.size()) continue;
        int differing = 0;
        for (size_t i = 0; i < fast.data.size(); i += 4)
          for (size_t c = 0; c < 4; ++c)
            if (fast.data[i + c] != reference.data[i + c]) {
              ++differing;
              break;
            }
        EXPECT_EQ(differing, 0) << "draw " << draw;
        if (differing != 0) {
          const std::string base = ::testing::TempDir() + scene + "-" + view.name;
          reference.save_png((base + "-reference.png").c_str());
          fast.save_png((base + "-fast.png").c_str());
        }
        if (view.display == pad_display) pad = fast;
      }
    }
    return pad;
  }

  static int knot_pixels(const Pixels& p) {
    return p.count(0, 0, p.width - 1, p.height - 1, palette_rgba(PAL_KNOT_POINT), 0);
  }
};

TEST_F(RenderIdentityTest, TypicalLessonCurveLooksTheSame) {
  build_ring(8, 3, KNOT_CLAMPED);
  select({2});
  trace_at(0.37f, 1);
  EXPECT_GT(knot_pixels(expect_same_pictures("typical")), 0);
  trace_at(0.37f, 0);
  expect_same_pictures("typical-plain");
}

TEST_F(RenderIdentityTest, LargestClosedCurveLooksTheSame) {
  build_ring(100, 10, KNOT_CLOSED);
  select({0, 16, 32, 48, 64, 80});
  trace_at(0.503f, 1);
  EXPECT_GT(knot_pixels(expect_same_pictures("worst")), 1000);
  trace_at(0.503f, 0);
  expect_same_pictures("worst-plain");
}

TEST_F(RenderIdentityTest, HighDegreeClampedEndsWithWideKnotLabelsLookTheSame) {
  // Degree 10 clamped: both ends carry "11 (...)" labels, wide enough to reach
  // the knot marks beside them.
  build_ring(100, 10, KNOT_CLAMPED);
  trace_at(0.25f, 1);
  EXPECT_GT(knot_pixels(expect_same_pictures("clamped-10")), 0);
}

TEST_F(RenderIdentityTest, ZeroAndNegativeWeightsLookTheSame) {
  build({{-2.5, -1, 0, 1},
         {-1.5, 2, 0, 0},
         {-0.5, -2, 0, -1.5},
         {0.5, 2, 0, 2},
         {1.5, -2, 0, 1},
         {2.5, 1, 0, -0.5}},
        3, KNOT_UNIFORM);
  trace_at(0.5f, 1);
  expect_same_pictures("weights");
}

TEST_F(RenderIdentityTest, TurnedAndZoomedProjectionLooksTheSame) {
  build_ring(30, 4, KNOT_CLOSED);
  trace_at(0.6f, 1);
  // A view turned about a slanted axis, as drags leave it, and zoomed in.
  const double a = 40.0 * PI / 180.0, c = std::cos(a), s = std::sin(a), k = 1.0 / std::sqrt(2.0);
  const double x = k, y = k;  // unit axis (1, 1, 0) / sqrt(2)
  const double turned[16] = {c + x * x * (1 - c),
                             x * y * (1 - c),
                             -y * s,
                             0,
                             x * y * (1 - c),
                             c + y * y * (1 - c),
                             x * s,
                             0,
                             y * s,
                             -x * s,
                             c,
                             0,
                             0,
                             0,
                             0,
                             1};
  // Zoomed in, and out until a knot sphere is a pixel or two across.
  for (float zoom : {3.0f, 0.4f}) {
    for (int i = 0; i < 16; ++i) view_matrix[i] = turned[i];
    proj_zoom = zoom;
    expect_same_pictures("turned-" + std::to_string(zoom));
  }
}

// What a shape draw sends to GL, drawn on the pad at the given scale.
std::vector<SentPrimitive> record_shape(double scale, void (*draw)()) {
  glutSetWindow(window_table.win_pad.id);
  glPushMatrix();
  glLoadIdentity();
  glTranslated(270.5, 270.5, 0.0);
  glScaled(scale, scale, scale);
  glRotated(30.0, 1.0, 0.3, 0.1);  // no side of a cylinder edge-on
  sent.clear();
  recording = true;
  draw();
  recording = false;
  glPopMatrix();
  return sent;
}

size_t vertex_floats(const std::vector<SentPrimitive>& primitives) {
  size_t n = 0;
  for (const SentPrimitive& p : primitives) n += p.xyz.size();
  return n;
}

TEST_F(RenderIdentityTest, ShapesSendGluVerticesBitForBitAndLeaveOutEmptyPieces) {
  struct Shape {
    const char* name;
    void (*glu)();
    void (*cached)();
    bool small;  // a few pixels across at the small scale
  };
  const Shape shapes[] = {
      {"knot sphere", [] { gluSphere(sphere_quadric, 0.05, 16, 16); },
       [] { draw_cached_sphere(sphere_quadric, 0.05, 16, 16); }, true},
      {"tracing sphere", [] { gluSphere(sphere_quadric, 0.067, 16, 16); },
       [] { draw_cached_sphere(sphere_quadric, 0.067, 16, 16); }, true},
      {"cone", [] { gluCylinder(cone_quadric, 0.067, 0.0, 0.25, 10, 10); },
       [] { draw_cached_cylinder(cone_quadric, 0.067, 0.0, 0.25, 10, 10); }, true},
      {"shaft", [] { gluCylinder(axis_quadric, 0.022, 0.022, 5.7, 10, 10); },
       [] { draw_cached_cylinder(axis_quadric, 0.022, 0.022, 5.7, 10, 10); }, false},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    // Large enough that every piece covers pixel centres: all of GLU's
    // primitives go out whole, vertex for vertex.
    const std::vector<SentPrimitive> glu = record_shape(4000.0, shape.glu);
    const std::vector<SentPrimitive> cached = record_shape(4000.0, shape.cached);
    ASSERT_FALSE(glu.empty());
    ASSERT_EQ(cached.size(), glu.size());
    for (size_t p = 0; p < glu.size(); ++p) {
      EXPECT_EQ(cached[p].mode, glu[p].mode);
      ASSERT_EQ(cached[p].xyz.size(), glu[p].xyz.size());
      EXPECT_EQ(
          std::memcmp(cached[p].xyz.data(), glu[p].xyz.data(), glu[p].xyz.size() * sizeof(GLfloat)),
          0)
          << "primitive " << p;
    }
    // Zoomed without bound every piece is kept, and judged in short order.
    EXPECT_EQ(vertex_floats(record_shape(1e7, shape.cached)), vertex_floats(glu));
    // At a few pixels across many pieces lie between pixel centres.
    if (shape.small) {
      EXPECT_LT(vertex_floats(record_shape(60.0, shape.cached)), vertex_floats(glu));
    }
    render_cache = 0;
    EXPECT_EQ(vertex_floats(record_shape(60.0, shape.cached)), vertex_floats(glu));
    render_cache = 1;
  }
}

}  // namespace
