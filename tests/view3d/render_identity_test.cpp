// The drawing shortcuts leave every pixel as it was: the drawing pad, the
// projection window and the knot panel drawn with the display-list caches,
// back-face culling and batched labels on are compared pixel for pixel with
// the same frames drawn on the plain reference path.
#include "view3d/scene_fixture.h"

#include "windows/knot_panel.h"

#include <cmath>
#include <string>
#include <vector>

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
  for (int i = 0; i < 16; ++i) view_matrix[i] = turned[i];
  proj_zoom = 3.0f;
  expect_same_pictures("turned");
}

}  // namespace
