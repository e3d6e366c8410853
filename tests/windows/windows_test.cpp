// The editing windows through their real callbacks, with the widgets they
// host: exact edges of hit boxes, the slider's and the knot bar's steps and
// drags, knot edits reaching the lift, the pad's pick square and edits, "New",
// "Cancel", "Dismiss" and the 3D zoom. Positions are window pixels, y up,
// worked out from the documented layout.
#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/about.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"
#include "windows/new_curve.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const Rgba BLACK = {0, 0, 0, 255}, RED = {255, 0, 0, 255}, BLUE = {0, 0, 255, 255};

// A left click (or another button) at window pixel (x, y up); `flip` is 1 for
// windows that count GLUT's y from the top row as 0 before flipping.
void click(void (*mouse)(int, int, int, int), const WindowEntry& w, int x, int y, int flip) {
  glutSetWindow(w.id);
  mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, w.height - flip - y);
  mouse(GLUT_LEFT_BUTTON, GLUT_UP, x, w.height - flip - y);
}
void panel(int state, int x, int y) {
  glutSetWindow(window_table.win_panel.id);
  panel_mouse(GLUT_LEFT_BUTTON, state, x, window_table.win_panel.height - 1 - y);
}
void panel_click(const Button& b) {
  click(panel_mouse, window_table.win_panel, (b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2, 1);
}
void bar(int state, int x, int y) {
  glutSetWindow(window_table.win_knots.id);
  knot_panel_mouse(GLUT_LEFT_BUTTON, state, x, window_table.win_knots.height - y);
}
void bar_drag(int x, int y) {
  knot_panel_motion(x, window_table.win_knots.height - y);
}
void pad(int button, int state, int x, int y) {
  glutSetWindow(window_table.win_pad.id);
  pad_mouse(button, state, x, window_table.win_pad.height - y);
}

class WindowsTest : public GlAppTest {};

TEST_F(WindowsTest, PanelButtonEdgesSwitchesAndZoomReturningExactly) {
  // "  Reset" spans 332..388 x 550..572, edges included: {x, y, taken}.
  const int edges[][3] = {{332, 561, 1}, {388, 561, 1}, {360, 550, 1}, {360, 572, 1},
                          {331, 561, 0}, {389, 561, 0}, {360, 549, 0}, {360, 573, 0}};
  for (const auto& e : edges) {
    panel(GLUT_DOWN, e[0], e[1]);
    EXPECT_EQ(btn_reset.state, e[2]) << e[0] << ", " << e[1];
    panel(GLUT_UP, e[0], e[1]);
  }
  // The red mark shows on the checked "Display Grid" only, not on "Show DeBoor".
  const Pixels boxes = gl_capture(window_table.win_panel.id, panel_display);
  EXPECT_GT(boxes.count(231, 546, 245, 558, RED, 40), 3);
  EXPECT_EQ(boxes.count(231, 592, 245, 604, RED, 40), 0);
  panel_click(chk_deboor);
  panel_click(chk_points);
  EXPECT_TRUE(show_deboor && show_deboor_points && chk_points.state);
  panel_click(chk_deboor);  // "Show Points" falls with "Show DeBoor"
  EXPECT_FALSE(show_deboor || show_deboor_points || chk_points.state);
  // "Grid: OFF" takes the grid out of the 3D view's plane.
  const Pixels grid = gl_capture(window_table.win_projection.id, proj_display);
  panel_click(btn_grid);
  const Pixels bare = gl_capture(window_table.win_projection.id, proj_display);
  EXPECT_TRUE(!std::strcmp(btn_grid.label, "Grid: OFF") && !proj_grid && grid.data != bare.data);
  for (int i = 0; i < 10; ++i) panel_click(btn_zoom_in);
  EXPECT_FLOAT_EQ(proj_zoom, 2.0f * std::pow(1.5f, 10));
  for (int i = 0; i < 10; ++i) panel_click(btn_zoom_out);
  EXPECT_EQ(proj_zoom, 2.0f);
}

TEST_F(WindowsTest, WeightSliderStepsGrabsAndShowsExactlyZero) {
  gl_build({{-2, -1, 0, 1}, {1, 0.5, 0, 1}, {2, -1, 0, 1}, {0, -2, 0, 1}}, 2, KNOT_CLAMPED);
  edited_curve->selected[0] = 1;
  gl_capture(window_table.win_panel.id, panel_display);
  ASSERT_EQ(weight_slider.thumb_x, 77);  // (1 + 3) / 13 * 170 + 25, truncated
  panel(GLUT_DOWN, 86, 565);             // nine pixels right of the thumb: nothing
  EXPECT_EQ(weight_slider.dragging, 0);
  panel(GLUT_DOWN, 85, 565);  // eight: taken
  EXPECT_EQ(weight_slider.dragging, 1);
  panel_motion(85 + 26, 0);  // thumb at 103: -3 + 78 * 13 / 170 = 2.96, snapped to 3
  panel(GLUT_UP, 0, 0);
  EXPECT_NEAR(edited_curve->points[1].w, 3.0, 1e-6);
  EXPECT_EQ(lifted_curve->points[1].z, edited_curve->points[1].w);
  weight_slider.value = 1.0f;
  for (int i = 0; i < 10; ++i) panel(GLUT_DOWN, 205, 563), panel(GLUT_UP, 205, 563);
  EXPECT_TRUE(weight_slider.value == 0.0f && !std::signbit(weight_slider.value));
  EXPECT_EQ(edited_curve->points[1].w, 0.0) << "an arrow click applies at once";
  // The number shown is " 0.00" in blue at (106, 574), the arrows black.
  const Pixels shown = gl_capture(window_table.win_panel.id, panel_display);
  const Pixels expected = gl_capture(window_table.win_panel.id, [] {
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 1);
    glRasterPos2i(106, 574);
    for (const char* c = " 0.00"; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_10, *c);
  });
  for (int y = 571; y < 584; ++y)
    for (int x = 98; x < 136; ++x)
      EXPECT_EQ(shown.count(x, y, x, y, BLUE, 40), expected.count(x, y, x, y, BLUE, 40))
          << x << ", " << y;
  EXPECT_GE(shown.count(202, 570, 208, 576, BLACK, 10), 4) << "increase arrow";
  EXPECT_GE(shown.count(202, 561, 208, 566, BLACK, 10), 4) << "decrease arrow";
}

// The static part comes from a display list: what it shows must not depend on
// the colour GL held while the list was compiled, on the first draw or later.
TEST_F(WindowsTest, KnotBarStaticPartKeepsItsColoursThroughTheList) {
  gl_build({{-2, -1, 0, 1}, {-1, 2, 0, 1}, {1, 2, 0, 1}, {2, -1, 0, 1}}, 2, KNOT_CLAMPED);
  knot_bar.list_id = 0;  // compile the list again, from this frame's state
  glutSetWindow(window_table.win_knots.id);
  glColor4f(1, 1, 1, 1);
  for (int pass = 0; pass < 2; ++pass) {
    const Pixels p = gl_capture(window_table.win_knots.id, knot_panel_display);
    EXPECT_GE(p.count(49, 51, 66, 59, BLACK, 60), 6) << "Dn, draw " << pass;
    EXPECT_GE(p.count(49, 491, 66, 499, BLACK, 60), 6) << "Up, draw " << pass;
    EXPECT_GE(p.count(70, 50, 100, 60, RED, 60), 6) << "0.000, draw " << pass;
    EXPECT_GE(p.count(70, 490, 100, 500, RED, 60), 6) << "1.000, draw " << pass;
    EXPECT_EQ(p.count(57, 100, 57, 400, RED, 2), 301) << "axis, draw " << pass;
    // Marks of the three distinct knots 0, 0.5 and 1, purple inside [0, 1].
    for (int y : {65, 275, 485})
      EXPECT_GT(p.count(48, y - 2, 55, y + 2, {128, 18, 128, 255}, 8), 0) << y;
  }
  edited_curve->knots[2] = 0.4999f;  // closer to 0.5 than half a step: one group, made equal
  gl_capture(window_table.win_knots.id, knot_panel_display);
  EXPECT_EQ(edited_curve->knots[3], 0.4999f);
}

TEST_F(WindowsTest, KnotBarStepsThumbAndKnotDragsReachBothCurves) {
  gl_build({{-2, -1, 0, 1}, {-1, 2, 0, 1}, {0, -2, 0, 1}, {1, 2, 0, 1}, {2, -1, 0, 1}}, 2,
           KNOT_CLAMPED);  // knots 0 0 0 0.333 0.666 1 1 1
  bar(GLUT_DOWN, 55, 55);  // "Dn" at 0: stays at 0, the thumb at the axis' foot
  bar(GLUT_DOWN, 58, 65);  // the thumb, 23 px up: 23 / 420 = 0.05476, to the nearest step
  bar_drag(58, 88);
  EXPECT_TRUE(std::fabs(knot_bar.value - 0.055) < 1e-6 && knot_bar.thumb_y == 88) << knot_bar.value;
  EXPECT_EQ(lifted_curve->trace_u, knot_bar.value);
  bar(GLUT_UP, 58, 88);

  bar(GLUT_DOWN, 50, 344);  // the knot 0.666 at y = trunc(0.666 * 420 + 65)
  gl_take_redisplays();
  bar_drag(50, 149);  // to 0.2, past 0.333: the drag itself redraws the 3D view
  const std::vector<int> posted = gl_take_redisplays();
  EXPECT_NE(std::find(posted.begin(), posted.end(), window_table.win_projection.id), posted.end());
  const float expected[] = {0, 0, 0, 0.2f, 0.333f, 1, 1, 1};
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(edited_curve->knots[i], expected[i], 1e-6) << i;
    EXPECT_EQ(lifted_curve->knots[i], edited_curve->knots[i]) << i;
  }
  bar_drag(50, 65);  // exactly 0 = lo: refused for a clamped vector
  EXPECT_NEAR(edited_curve->knots[3], 0.2, 1e-6);
  bar(GLUT_UP, 50, 65);
  edited_curve->knot_type = KNOT_UNIFORM;  // a uniform vector lets it land on 0
  bar(GLUT_DOWN, 50, 149);
  bar_drag(50, 65);
  bar(GLUT_UP, 50, 65);
  EXPECT_EQ(edited_curve->knots[3], 0.0f);

  // A closed vector of 4 points and degree 2 (knots i / 8) is valid from just
  // inside 3/8 to just inside 5/8; the knot 2/8 lies outside and is not taken.
  gl_reset_state();
  gl_build({{-2, -1, 0, 1}, {-1, 2, 0, 1}, {1, 2, 0, 1}, {2, -1, 0, 1}}, 2, KNOT_CLOSED);
  bar(GLUT_DOWN, 50, 170);
  EXPECT_TRUE(std::fabs(knot_bar.lo - 0.3755) < 1e-6 && std::fabs(knot_bar.hi - 0.6245) < 1e-6);
  EXPECT_EQ(knot_bar.drag_mode, KNOT_BAR_NONE);
  bar(GLUT_UP, 50, 170);
}

TEST_F(WindowsTest, PadPicksWithinItsSquareAndEditsTheCurve) {
  // (0, 0) projects to 541 / 2 = 270.5, truncated to 270: picked from 262 to 278.
  curve_add_point(edited_curve, {0, 0, 0, 1}, ADD_APPEND);
  for (int d : {-9, -8, 8, 9}) {
    pad(GLUT_LEFT_BUTTON, GLUT_DOWN, 270 + d, 270);
    EXPECT_EQ(picked_point, std::abs(d) <= 8 ? 0 : -1) << "x " << d;
    pad(GLUT_LEFT_BUTTON, GLUT_DOWN, 270, 270 + d);
    EXPECT_EQ(picked_point, std::abs(d) <= 8 ? 0 : -1) << "y " << d;
  }

  // Right presses add after the current point; the third builds the knots.
  pad(GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 100);
  pad(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 100);
  edited_curve->selected[0] = 0;
  pad(GLUT_RIGHT_BUTTON, GLUT_DOWN, 450, 541);  // top row: stays inside the pad
  EXPECT_TRUE(edited_curve->selected[0] == 1 && edited_curve->points[1].y <= 3.0);
  EXPECT_NEAR(edited_curve->points[1].x, (450 - 270) * 6.0 / 541, 1e-12);
  EXPECT_TRUE(edited_curve->knot_count == 6 && lifted_curve->point_count == 3);
  edited_curve->points[1].w = 2.0;  // a right drag moves nothing but lifts again
  pad_motion(10, 10);
  EXPECT_TRUE(lifted_curve->points[1].z == 2.0 &&
              edited_curve->points[1].x == (450 - 270) * 6.0 / 541);
  pad(GLUT_RIGHT_BUTTON, GLUT_UP, 10, 10);
  knot_bar.value = 0.3f;
  gl_capture(window_table.win_pad.id, pad_display);
  EXPECT_EQ(edited_curve->trace_u, 0.3f);
}

TEST_F(WindowsTest, NewCurveCancelOkAndAboutDismiss) {
  gl_build({{-2, -1, 0, 1}, {-1, 2, 0, 1}, {1, 2, 0, 1}, {2, -1, 0, 1}}, 3, KNOT_CLOSED);
  edited_curve->selected[1] = 2;
  selection_count = 2;
  edited_curve->trace_u = 0.4f;
  tracing_point_3d[0] = 1.0f;
  const WindowEntry& nc = window_table.win_new_curve;
  panel_click(btn_new);
  gl_pump(100);
  EXPECT_TRUE(gl_window_viewable(nc.id));
  click(new_curve_mouse, nc, 60, 78, 1);  // degree 2
  edited_curve->degree = 9;               // whatever happened meanwhile, "Cancel" restores
  click(new_curve_mouse, nc, 170, 20, 1);
  EXPECT_TRUE(edited_curve->degree == 3 && edited_curve->point_count == 4);
  panel_click(btn_new);
  click(new_curve_mouse, nc, 160, 120, 1);  // "Closed"
  click(new_curve_mouse, nc, 100, 54, 1);   // degree 8
  click(new_curve_mouse, nc, 20, 20, 1);    // "OK"
  gl_pump(100);
  EXPECT_FALSE(gl_window_viewable(nc.id));
  EXPECT_TRUE(edited_curve->degree == 8 && edited_curve->knot_type == KNOT_CLOSED);
  EXPECT_TRUE(edited_curve->point_count == 0 && edited_curve->wrapped == 0 &&
              edited_curve->trace_u == 0);
  for (int e = 0; e < SELECTION_MAX; ++e) EXPECT_EQ(edited_curve->selected[e], -1) << e;
  const float* blue = edited_curve->colour;
  EXPECT_TRUE(blue[0] == 0 && blue[1] == 0 && blue[2] == 1 && blue[3] == 1);
  EXPECT_EQ(tracing_point_3d[0], 0.0f);

  // "Dismiss" spans 620..680 x 5..21 from the About window's bottom.
  const WindowEntry& about = window_table.win_about;
  panel_click(btn_about);
  gl_pump(100);
  ASSERT_TRUE(gl_window_viewable(about.id));
  for (int x : {619, 681}) {
    click(about_mouse, about, x, 13, 0);
    EXPECT_EQ(btn_dismiss.state, 0) << x;
  }
  gl_pump(100);
  EXPECT_TRUE(gl_window_viewable(about.id));
  click(about_mouse, about, 680, 21, 0);
  gl_pump(100);
  EXPECT_FALSE(gl_window_viewable(about.id));
}

}  // namespace
