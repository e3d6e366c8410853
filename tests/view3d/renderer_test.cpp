// Curve renderer on the real drawing pad: de Boor levels and their colours,
// the validity of the tracing parameter, closed curves through their wrapped
// copy, the selection colours, zero weights and the largest closed curve.
#include "view3d/scene_fixture.h"

#include <dlfcn.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

// Calls that carried a coordinate GL cannot hold as a float (inf or NaN).
int non_finite_calls = 0;

// glVertex3d points sent while `recording`, split where a primitive ends.
bool recording = false;
std::vector<std::vector<std::array<double, 3>>> primitives;

void note_coordinates(GLdouble x, GLdouble y, GLdouble z) {
  for (GLdouble v : {x, y, z})
    if (!std::isfinite(static_cast<float>(v))) ++non_finite_calls;
}

template <typename F>
F next_gl(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The renderer's computed coordinates reach GL through these three calls. The
// executable's definitions come before libGL's; each checks and forwards.
extern "C" void glEnd() {
  static auto real = next_gl<void (*)()>("glEnd");
  if (recording) primitives.emplace_back();
  real();
}
extern "C" void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  static auto real = next_gl<void (*)(GLdouble, GLdouble, GLdouble)>("glVertex3d");
  note_coordinates(x, y, z);
  if (recording) primitives.back().push_back({x, y, z});
  real(x, y, z);
}
extern "C" void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  static auto real = next_gl<void (*)(GLdouble, GLdouble, GLdouble)>("glTranslated");
  note_coordinates(x, y, z);
  real(x, y, z);
}
extern "C" void glRasterPos3d(GLdouble x, GLdouble y, GLdouble z) {
  static auto real = next_gl<void (*)(GLdouble, GLdouble, GLdouble)>("glRasterPos3d");
  note_coordinates(x, y, z);
  real(x, y, z);
}

namespace {

constexpr double PI = 3.14159265358979323846;
const Rgba DARK = {40, 40, 40, 255};  // with tolerance 40: the tracing sphere and nothing else
constexpr int DARK_TOL = 40;

class RendererTest : public SceneTest {
 protected:
  // Cubic Bezier over a rectangle: at u = 0.5 level 1 is (-1.5, 0), (0.5, 2),
  // (2.5, 0), level 2 is (-0.5, 1), (1.5, 1), and the curve point is (0.5, 1).
  void build_cubic() {
    build({{-1.5, -2, 0, 1}, {-1.5, 2, 0, 1}, {2.5, 2, 0, 1}, {2.5, -2, 0, 1}}, 3, KNOT_CLAMPED);
    chk_grid.state = 0;
  }
  // Draws the curve on the pad and returns how many GL calls carried a
  // non-finite coordinate.
  static int non_finite_in(const Curve* curve) {
    non_finite_calls = 0;
    glutSetWindow(window_table.win_pad.id);
    glPushMatrix();
    draw_curve(curve);
    glPopMatrix();
    return non_finite_calls;
  }
};

Rgba level_rgba(int row_from_first) {
  return over_white(palette.colours[PAL_DEBOOR_1 + row_from_first]);
}

TEST_F(RendererTest, CubicDeBoorLevelsTakeTheirRowColoursAndTheTracingSphere) {
  build_cubic();
  ASSERT_EQ(edited_curve->knot_count, 8);
  knot_bar.value = 0.5f;
  show_deboor = 1;
  const Pixels lines = pad_picture();
  // Level 0 on the control polygon, rows "DeCasteljau/Deboor 2", "3" and "4".
  EXPECT_GT(pad_count(lines, -1.5, 1.0, level_rgba(1), 2), 0);
  EXPECT_GT(pad_count(lines, 0.5, 2.0, level_rgba(1), 2), 0);
  EXPECT_GT(pad_count(lines, -1.0, 0.5, level_rgba(2), 2), 0);
  EXPECT_GT(pad_count(lines, 2.0, 0.5, level_rgba(2), 2), 0);
  EXPECT_GT(pad_count(lines, -0.25, 1.0, level_rgba(3), 2), 0);
  EXPECT_GT(pad_count(lines, 1.25, 1.0, level_rgba(3), 2), 0);
  EXPECT_GT(pad_count(lines, 0.5, 1.0, DARK, 1, DARK_TOL), 0);

  show_deboor_points = 1;
  const Pixels points = pad_picture();
  // Points of level 2 at its ends, 8 pixels wide: they reach 3 rows above
  // the level's 2-pixel line.
  auto above_line = [](const Pixels& p, double x) {
    return p.count(pad_col(x) - 2, pad_row(1.0) + 3, pad_col(x) + 2, pad_row(1.0) + 3,
                   level_rgba(3));
  };
  EXPECT_EQ(above_line(lines, -0.5), 0);
  EXPECT_GT(above_line(points, -0.5), 3);
  EXPECT_GT(above_line(points, 1.5), 3);

  show_deboor = 0;
  show_deboor_points = 0;
  const Pixels plain = pad_picture();
  EXPECT_EQ(pad_count(plain, -1.0, 0.5, level_rgba(2), 2), 0);
  EXPECT_EQ(pad_count(plain, -0.25, 1.0, level_rgba(3), 2), 0);
  EXPECT_GT(pad_count(plain, 0.5, 1.0, DARK, 1, DARK_TOL), 0) << "the sphere stays";
}

TEST_F(RendererTest, ClampedEndsShowNoTriangleAndNoTracingSphere) {
  build_cubic();
  show_deboor = 1;
  show_deboor_points = 1;
  for (float u : {0.0f, 1.0f}) {
    SCOPED_TRACE(u);
    knot_bar.value = u;
    const Pixels p = pad_picture();
    EXPECT_EQ(p.count(0, 0, p.width - 1, p.height - 1, DARK, DARK_TOL), 0);
    EXPECT_EQ(pad_count(p, -1.0, 0.5, level_rgba(2), 2), 0);
    EXPECT_EQ(pad_count(p, -0.25, 1.0, level_rgba(3), 2), 0);
    // Knot spheres at both ends of the domain, on P0 and P3.
    EXPECT_GT(pad_count(p, -1.5, -2.0, palette_rgba(PAL_KNOT_POINT), 1), 0);
    EXPECT_GT(pad_count(p, 2.5, -2.0, palette_rgba(PAL_KNOT_POINT), 1), 0);
  }
}

TEST_F(RendererTest, ClosedCurveDrawsThroughItsWrappedCopy) {
  const Rgba label = palette_rgba(PAL_CONTROL_POINT_INDEX);
  const Rgba polygon = over_white(palette.colours[PAL_CONTROL_POLYGON]);
  // Label pixels beside P0 = (-2, -2): its raster position is 0.07 up and right.
  auto labels_at_p0 = [&](const Pixels& p) {
    const int c = pad_col(-1.93), r = pad_row(-1.93);
    return p.count(c, r - 4, c + 10, r + 16, label, 8);
  };
  // The grid would hide the polygon: its edges lie on grid lines, at the same depth.
  chk_grid.state = 0;
  build({{-2, -2, 0, 1}, {-2, 2, 0, 1}, {2, 2, 0, 1}, {2, -2, 0, 1}}, 2, KNOT_CLAMPED);
  const Pixels open = pad_picture();

  curves_reset();
  build({{-2, -2, 0, 1}, {-2, 2, 0, 1}, {2, 2, 0, 1}, {2, -2, 0, 1}}, 2, KNOT_CLOSED);
  ASSERT_EQ(edited_curve->knot_count, 9);
  for (int i = 0; i < 9; ++i) ASSERT_NEAR(edited_curve->knots[i], i / 8.0, 1e-6);
  const Pixels closed = pad_picture();

  // "4" is drawn over "0": more label pixels; the segment P3 -> P0 closes it.
  EXPECT_GT(labels_at_p0(closed), labels_at_p0(open));
  EXPECT_GT(pad_count(closed, -1.0, -2.0, polygon, 1), 0);
  EXPECT_EQ(pad_count(open, -1.0, -2.0, polygon, 1), 0);
  EXPECT_GT(pad_count(closed, 0.0, 2.0, palette_rgba(PAL_KNOT_POINT), 2), 0);

  // At the knot 3/8 a uniform quadratic is the midpoint of its two points:
  // copy points 1 and 2, (-2, 2) and (2, 2), lifted with weight 1 to z = 1.
  edited_curve->trace_u = 0.375f;
  curve_lift(edited_curve, lifted_curve);
  proj_picture();
  EXPECT_NEAR(tracing_point_3d[0], 0.0, 1e-5);
  EXPECT_NEAR(tracing_point_3d[1], 2.0, 1e-5);
  EXPECT_NEAR(tracing_point_3d[2], 1.0, 1e-5);
}

TEST_F(RendererTest, LeadingSelectedEntriesAreDrawnInSelectedColour) {
  // Eight points and no knot vector: points and labels only.
  for (int i = 0; i < 8; ++i)
    curve_add_point(edited_curve, {-2.5 + 0.7 * i, -1.5, 0, 1}, ADD_APPEND);
  selection_count = 4;
  edited_curve->selected[0] = 4;
  edited_curve->selected[1] = 1;
  edited_curve->selected[2] = 7;
  edited_curve->selected[3] = -1;
  edited_curve->selected[4] = 2;  // beyond selection_count
  const Pixels p = pad_picture();
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const bool chosen = i == 1 || i == 4 || i == 7;
    const double x = -2.5 + 0.7 * i;
    EXPECT_GT(pad_count(p, x, -1.5, palette_rgba(chosen ? PAL_SELECTED_POINT : PAL_CONTROL_POINT)),
              0);
    EXPECT_EQ(pad_count(p, x, -1.5, palette_rgba(chosen ? PAL_CONTROL_POINT : PAL_SELECTED_POINT)),
              0);
  }
  const Rgba blue = rgba_from_float(edited_curve->colour);
  EXPECT_EQ(p.count(0, 0, p.width - 1, p.height - 1, blue, 8), 0);
  EXPECT_EQ(
      p.count(0, 0, p.width - 1, p.height - 1, over_white(palette.colours[PAL_CONTROL_POLYGON]), 8),
      0);
}

TEST_F(RendererTest, ZeroHomogeneousWeightsSendOnlyFiniteCoordinates) {
  // Weights 1, -1, 1: at u = 0.5 every level-1 point and the curve point have
  // w = 0.5 - 0.5 = 0 and 0.25 - 0.5 + 0.25 = 0.
  build({{-2, -1, 0, 1}, {0, 2, 0, -1}, {2, -1, 0, 1}}, 2, KNOT_CLAMPED);
  show_deboor = 1;
  show_deboor_points = 1;
  edited_curve->trace_u = 0.5f;
  EXPECT_EQ(non_finite_in(edited_curve), 0);

  // The lifted curve keeps its last tracing point when the new one is at infinity.
  curve_lift(edited_curve, lifted_curve);
  for (int i = 0; i < 3; ++i) lifted_curve->points[i].w = edited_curve->points[i].w;
  tracing_point_3d[0] = tracing_point_3d[1] = tracing_point_3d[2] = 7.0f;
  EXPECT_EQ(non_finite_in(lifted_curve), 0);
  EXPECT_EQ(tracing_point_3d[0], 7.0f);
  EXPECT_EQ(tracing_point_3d[2], 7.0f);

  // Weights 1, 1, -1, 1 of a clamped quadratic: the knot 0.5 blends points 1
  // and 2 half and half, so its knot point has w = 0.
  curves_reset();
  build({{-2, -1, 0, 1}, {-1, 2, 0, 1}, {1, 2, 0, -1}, {2, -1, 0, 1}}, 2, KNOT_CLAMPED);
  ASSERT_EQ(edited_curve->knots[3], 0.5f);
  EXPECT_EQ(non_finite_in(edited_curve), 0);
  const Pixels p = pad_picture();
  EXPECT_GT(pad_count(p, 2.0, -1.0, palette_rgba(PAL_KNOT_POINT), 1), 0)
      << "the knot points at the ends are still drawn";
}

// A point at infinity in a level ends that level's strip: its two neighbours
// are not joined by a segment that belongs to no level.
TEST_F(RendererTest, LevelStripBreaksAtAPointOfWeightZero) {
  // Cubic Bezier, weights 1, 1, -1, 3, u = 0.5: level 1 is the homogeneous
  // midpoints, with w = 1, 0, 1: (-1.5, 0), infinity, (3 * (2, -1) - (1, 1)) / 2.
  build({{-2, -1, 0, 1}, {-1, 1, 0, 1}, {1, 1, 0, -1}, {2, -1, 0, 3}}, 3, KNOT_CLAMPED);
  show_deboor = 1;
  edited_curve->trace_u = 0.5f;
  primitives.assign(1, {});
  recording = true;
  non_finite_in(edited_curve);
  recording = false;
  auto near = [](const std::array<double, 3>& q, double x, double y) {
    return std::fabs(q[0] - x) < 1e-9 && std::fabs(q[1] - y) < 1e-9 && q[2] == 0.0;
  };
  int q0_strips = 0, q2_strips = 0;
  for (const auto& s : primitives) {
    for (size_t i = 0; i < s.size(); ++i) {
      if (near(s[i], -1.5, 0.0)) {
        ++q0_strips;
        EXPECT_EQ(i + 1, s.size()) << "the strip goes on past the point at infinity";
      }
      if (near(s[i], 2.5, -2.0)) {
        ++q2_strips;
        EXPECT_EQ(i, 0u) << "the strip reaches back past the point at infinity";
      }
    }
  }
  EXPECT_EQ(q0_strips, 1);
  EXPECT_EQ(q2_strips, 1);
}

TEST_F(RendererTest, ClosedCurveOfHundredPointsAndDegreeTenDraws) {
  edited_curve->degree = 10;
  for (int i = 0; i < 100; ++i) {
    const double a = 2.0 * PI * i / 100.0;
    curve_add_point(edited_curve, {2.5 * std::cos(a), 2.5 * std::sin(a), 0, 1}, ADD_APPEND);
  }
  curve_make_knots(edited_curve, KNOT_CLOSED);
  ASSERT_EQ(edited_curve->knot_count, 121);
  knot_bar.value = 0.5f;
  edited_curve->trace_u = 0.5f;
  curve_lift(edited_curve, lifted_curve);
  show_deboor = 1;

  const Pixels pad = pad_picture();
  EXPECT_GT(pad.count(0, 0, pad.width - 1, pad.height - 1, palette_rgba(PAL_CONTROL_POINT_INDEX)),
            1000);
  // On the pad the points hide the line; the plane of the projection window
  // has no depth test.
  const Pixels proj = proj_picture();
  const Rgba blue = rgba_from_float(edited_curve->colour);
  EXPECT_GT(proj.count(0, 0, proj.width - 1, proj.height - 1, blue, 8), 300);
  // Every lifted point has z = 1, so does any affine combination of them.
  EXPECT_NEAR(tracing_point_3d[2], 1.0, 1e-5);
  EXPECT_LT(std::hypot(tracing_point_3d[0], tracing_point_3d[1]), 2.5);
  EXPECT_GT(std::hypot(tracing_point_3d[0], tracing_point_3d[1]), 2.0);
}

}  // namespace
