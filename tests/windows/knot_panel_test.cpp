// Knot panel: the bar loaded from the edited curve (marks, labels, valid
// range of closed vectors), thumb and knot drags reaching both curves, the
// bar never touching a knot array the curve has dropped, and the merge of
// joined curves' knots.
#include "support/gl_app.h"

#include "app/shell.h"
#include "widgets/knot_bar.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const Rgba PURPLE = {128, 18, 128, 255};  // (0.5, 0.07, 0.5): inside the valid range
const Rgba GREEN = {0, 128, 0, 255};      // (0, 0.5, 0): outside it
const Rgba BLACK = {0, 0, 0, 255};

constexpr int KNOT_COLUMN = 50;   // left of the thumb column: grabs knots
constexpr int THUMB_COLUMN = 58;  // inside the thumb column
constexpr int LABEL_X = 7;        // knot labels start here
constexpr int LABEL_W = 40;       // label cells compared, px
constexpr int LABEL_H = 14;

// Bar row of a value on the initial bar: the axis runs 420 px up from y 65.
int bar_row(double v) {
  return static_cast<int>(v * 420.0 + 65.0);
}

class KnotPanelTest : public GlAppTest {
 protected:
  void SetUp() override {
    curves_reset();
    knot_bar.drag_mode = KNOT_BAR_NONE;
    knot_bar.value = 0.0f;
  }
  void TearDown() override { knot_panel_mouse(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0); }

  // Four points, degree 2, in the given knot style.
  static void four_points(int knot_type) {
    const ControlPoint points[] = {
        {-2.0, -1.0, 0.0, 1.0}, {-1.0, 2.0, 0.0, 1.0}, {1.0, 2.0, 0.0, 1.0}, {2.0, -1.0, 0.0, 1.0}};
    for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_AFTER);
    edited_curve->knot_type = knot_type;
    curve_make_knots(edited_curve, knot_type);
    curve_lift(edited_curve, lifted_curve);
  }
  static Pixels capture() {
    gl_capture(window_table.win_knots.id, knot_panel_display);  // the first one may only compile
    return gl_capture(window_table.win_knots.id, knot_panel_display);
  }
  // Mouse events with bar rows (y up), converted as GLUT would send them.
  static int glut_y(int row) { return window_table.win_knots.height - row; }
  static void press(int x, int row) {
    glutSetWindow(window_table.win_knots.id);
    knot_panel_mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, glut_y(row));
  }
  static void move(int x, int row) { knot_panel_motion(x, glut_y(row)); }
  static void release() { knot_panel_mouse(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0); }

  // Black pixels of a label cell whose raster position is (LABEL_X, y).
  static std::vector<bool> label_mask(const Pixels& p, int y) {
    std::vector<bool> mask;
    for (int row = y - 4; row < y - 4 + LABEL_H; ++row)
      for (int x = LABEL_X; x < LABEL_X + LABEL_W; ++x) {
        const Rgba c = p.at(x, row);
        mask.push_back(c.r < 40 && c.g < 40 && c.b < 40);
      }
    return mask;
  }
  // What a text looks like in the bar's label font, drawn here for comparison.
  static std::vector<bool> reference_mask(const char* text) {
    glutSetWindow(window_table.win_knots.id);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    constexpr int ROW = 300;
    glRasterPos2i(LABEL_X, ROW);
    for (const char* c = text; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_10, *c);
    Pixels p;
    p.width = LABEL_X + LABEL_W;
    p.height = ROW + LABEL_H;
    p.data.assign(static_cast<size_t>(p.width) * p.height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, p.width, p.height, GL_RGBA, GL_UNSIGNED_BYTE, p.data.data());
    return label_mask(p, ROW);
  }
};

TEST_F(KnotPanelTest, ClampedVectorShowsThreePurpleMarksWithMultiplicities) {
  four_points(KNOT_CLAMPED);
  const Pixels p = capture();
  EXPECT_EQ(knot_bar.knots, edited_curve->knots.data());
  EXPECT_EQ(knot_bar.knot_count, 7);
  EXPECT_FLOAT_EQ(knot_bar.lo, 0.0f);
  EXPECT_FLOAT_EQ(knot_bar.hi, 1.0f);
  EXPECT_EQ(knot_bar.merged_count, 0);

  const double values[] = {0.0, 0.5, 1.0};
  const char* labels[] = {" 3 (0.000)", " 1 (0.500)", " 3 (1.000)"};
  for (int i = 0; i < 3; ++i) {
    const int y = bar_row(values[i]);
    EXPECT_TRUE(p.any(48, y - 2, 55, y + 2, PURPLE)) << values[i];
    EXPECT_FALSE(p.any(48, y - 2, 55, y + 2, GREEN)) << values[i];
    const std::vector<bool> drawn = label_mask(p, y - 3);
    EXPECT_EQ(drawn, reference_mask(labels[i])) << labels[i];
  }
  EXPECT_FALSE(p.any(44, bar_row(0.25) - 3, 56, bar_row(0.25) + 3, PURPLE));
}

// The static part comes from a display list: what it shows must not depend on
// the colour GL held while the list was compiled, on the first draw or later.
TEST_F(KnotPanelTest, StepBoxesLabelsAndEndNumbersKeepTheirColoursThroughTheList) {
  four_points(KNOT_CLAMPED);
  knot_bar.list_id = 0;  // compile the list again, from this frame's state
  glutSetWindow(window_table.win_knots.id);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  for (int pass = 0; pass < 2; ++pass) {
    const Pixels p = gl_capture(window_table.win_knots.id, knot_panel_display);
    // Labels "Dn" (box 48..67 x 50..60) and "Up" (48..67 x 490..500) in black.
    EXPECT_GE(p.count(49, 51, 66, 59, BLACK, 60), 6) << "Dn, draw " << pass;
    EXPECT_GE(p.count(49, 491, 66, 499, BLACK, 60), 6) << "Up, draw " << pass;
    // Both boxes are raised: white top-left corner, grey bottom-right corner.
    for (int y1 : {50, 490}) {
      EXPECT_TRUE(p.any(47, y1 + 9, 49, y1 + 11, {255, 255, 255, 255}, 2)) << y1;
      EXPECT_TRUE(p.any(66, y1 - 1, 68, y1 + 1, {84, 84, 84, 255}, 2)) << y1;
    }
    // End numbers in red right of the boxes, axis in red.
    const Rgba RED = {255, 0, 0, 255};
    EXPECT_GE(p.count(70, 50, 100, 60, RED, 60), 6) << "0.000, draw " << pass;
    EXPECT_GE(p.count(70, 490, 100, 500, RED, 60), 6) << "1.000, draw " << pass;
    EXPECT_EQ(p.count(57, 100, 57, 400, RED, 2), 301) << "axis, draw " << pass;
  }
}

TEST_F(KnotPanelTest, ClosedVectorLetsOnlyTheMiddleKnotBeGrabbed) {
  four_points(KNOT_CLOSED);
  const Pixels p = capture();
  ASSERT_EQ(knot_bar.knot_count, 9);
  // The 2p-th knot is 3/8 and the (n-2p)-th 5/8, each moved half a step inwards.
  EXPECT_NEAR(knot_bar.lo, 0.3755, 1e-6);
  EXPECT_NEAR(knot_bar.hi, 0.6245, 1e-6);
  for (int k = 0; k <= 8; ++k) {
    const int y = bar_row(k / 8.0);
    const Rgba expected = k == 4 ? PURPLE : GREEN;
    EXPECT_TRUE(p.any(48, y - 1, 55, y + 1, expected)) << k;
  }

  press(KNOT_COLUMN, bar_row(0.5));
  EXPECT_EQ(knot_bar.drag_mode, KNOT_BAR_KNOT);
  release();
  for (double v : {0.25, 0.625, 0.125}) {
    press(KNOT_COLUMN, bar_row(v));
    EXPECT_EQ(knot_bar.drag_mode, KNOT_BAR_NONE) << v;
    release();
  }
}

TEST_F(KnotPanelTest, ThumbDragMovesTracingParameterOfBothCurves) {
  four_points(KNOT_CLAMPED);
  capture();
  const int from = knot_bar.thumb_y;
  const int to = from < 400 ? from + 21 : from - 21;
  const int knots = window_table.win_knots.id, pad = window_table.win_pad.id,
            proj = window_table.win_projection.id;
  gl_take_redisplays();
  press(THUMB_COLUMN, from);
  ASSERT_EQ(knot_bar.drag_mode, KNOT_BAR_THUMB);
  EXPECT_EQ(gl_take_redisplays(), (std::vector<int>{knots, pad, proj}));
  move(THUMB_COLUMN, to);
  EXPECT_EQ(gl_take_redisplays(), (std::vector<int>{proj, knots, pad}));
  release();
  move(THUMB_COLUMN, from);
  EXPECT_EQ(gl_take_redisplays(), (std::vector<int>{knots, pad, proj, knots}));
  knot_panel_mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, THUMB_COLUMN, glut_y(to));
  EXPECT_EQ(gl_take_redisplays(), (std::vector<int>{knots, pad, proj}));
  // The thumb keeps the pixel; the value rounds to the nearest thousandth.
  const double expected = std::floor((to - 65) / 420.0 * 1000.0 + 0.5) / 1000.0;
  EXPECT_NEAR(knot_bar.value, expected, 1e-6);
  EXPECT_FLOAT_EQ(lifted_curve->trace_u, knot_bar.value);
  gl_capture(window_table.win_pad.id, pad_display);
  EXPECT_FLOAT_EQ(edited_curve->trace_u, knot_bar.value);

  // One step on the "Up" box reaches the 3D view without waiting for a drag.
  press(KNOT_COLUMN, 495);
  release();
  EXPECT_NEAR(knot_bar.value, expected + 0.001, 1e-6);
  EXPECT_FLOAT_EQ(lifted_curve->trace_u, knot_bar.value);
}

TEST_F(KnotPanelTest, KnotDragEditsTheCurveAndItsLift) {
  four_points(KNOT_CLAMPED);
  capture();
  press(KNOT_COLUMN, bar_row(0.5));
  ASSERT_EQ(knot_bar.drag_mode, KNOT_BAR_KNOT);
  // 168 px above the axis foot: 168 / 420 = 0.4
  move(KNOT_COLUMN, 65 + 168);
  release();
  EXPECT_NEAR(edited_curve->knots[3], 0.4, 1e-6);
  EXPECT_NEAR(lifted_curve->knots[3], 0.4, 1e-6);
  EXPECT_FLOAT_EQ(edited_curve->knots[2], 0.0f);
  EXPECT_FLOAT_EQ(edited_curve->knots[4], 1.0f);
}

TEST_F(KnotPanelTest, BarFollowsReallocatedAndReplacedKnotArrays) {
  edited_curve->degree = DEGREE_MAX;
  for (int i = 0; i <= DEGREE_MAX; ++i)
    curve_add_point(edited_curve, ControlPoint{-2.5 + 0.4 * i, std::sin(i), 0.0, 1.0}, ADD_AFTER);
  curve_make_knots(edited_curve, KNOT_CLAMPED);
  capture();
  const float* before = edited_curve->knots.data();

  // 100 points of degree 10 need 111 knots: the array outgrows its block.
  while (edited_curve->point_count < CURVE_BLOCK)
    curve_add_point(edited_curve, ControlPoint{0.01 * edited_curve->point_count, 1.0, 0.0, 1.0},
                    ADD_AFTER);
  curve_make_knots(edited_curve, KNOT_CLAMPED);
  ASSERT_GT(edited_curve->knot_count, CURVE_BLOCK);
  ASSERT_NE(edited_curve->knots.data(), before);

  press(KNOT_COLUMN, bar_row(0.5));
  EXPECT_EQ(knot_bar.knots, edited_curve->knots.data());
  EXPECT_EQ(knot_bar.knot_count, edited_curve->knot_count);
  ASSERT_EQ(knot_bar.drag_mode, KNOT_BAR_KNOT);
  move(KNOT_COLUMN, bar_row(0.5) - 10);
  const std::vector<float> knots(edited_curve->knots.begin(),
                                 edited_curve->knots.begin() + edited_curve->knot_count);
  EXPECT_TRUE(std::is_sorted(knots.begin(), knots.end()));

  // A new curve while the knot is still held: the group is gone with it.
  curves_reset();
  move(KNOT_COLUMN, bar_row(0.3));
  EXPECT_EQ(knot_bar.drag_mode, KNOT_BAR_NONE);
  EXPECT_EQ(knot_bar.knots, edited_curve->knots.data());
  EXPECT_EQ(knot_bar.knot_count, 0);
  release();
  press(KNOT_COLUMN, bar_row(0.5));
  EXPECT_EQ(knot_bar.drag_mode, KNOT_BAR_NONE);
}

TEST_F(KnotPanelTest, MergeGathersJoinedCurvesAndSurvivesACycle) {
  EXPECT_EQ(merge_joined_knots(edited_curve), 0);

  Curve* a = curve_new(CURVE_KIND_RATIONAL);
  Curve* b = curve_new(CURVE_KIND_RATIONAL);
  Curve* c = curve_new(CURVE_KIND_LIFTED);
  a->knot_count = 2;
  a->knots[0] = 0.1f;
  a->knots[1] = 0.2f;
  b->knot_count = 1;
  b->knots[0] = 0.5f;
  c->knot_count = 3;
  c->knots[0] = 0.7f;
  c->knots[1] = 0.8f;
  c->knots[2] = 0.9f;
  a->next = b, a->joined_next = 1;
  b->prev = a, b->joined_prev = 1, b->next = c, b->joined_next = 1;
  c->prev = b, c->joined_prev = 1;

  ASSERT_EQ(merge_joined_knots(b), 5);
  const float open_chain[] = {0.1f, 0.2f, 0.7f, 0.8f, 0.9f};
  for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(knot_list_curve->knots[i], open_chain[i]);

  // Close the chain into a ring: every curve but the asked one, once.
  c->next = a, c->joined_next = 1;
  a->prev = c, a->joined_prev = 1;
  EXPECT_EQ(merge_joined_knots(b), 5);
  EXPECT_EQ(merge_joined_knots(a), 4);

  curve_free(a);
  curve_free(b);
  curve_free(c);
}

}  // namespace
