// A scripted teaching session through the real callbacks: curves of every knot
// type built point by point, weights down to -3 and 0, the de Boor display, the
// tracing parameter and a knot dragged, the About window. It is the workload
// scripts/memcheck runs under valgrind, and on its own checks the invariants
// after every step. Also the edge cases the random sessions first ran into.
#include "gl_guard.h"
#include "random_session.h"

#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "widgets/knot_bar.h"
#include "windows/about.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"
#include "windows/new_curve.h"

#include <GL/freeglut.h>

#include <cmath>

namespace {

constexpr float INITIAL_ZOOM = 2.0f;
constexpr int ZOOM_PRESSES = 300;  // far past the float range of 2 * 1.5^k either way

class ScriptedSession : public GlAppTest {
 protected:
  // Starts from the switches and tracing parameter of a fresh program, whatever
  // an earlier test in this process left; no modifier key is held.
  void SetUp() override {
    gl_guard_reset();
    gl_guard_modifiers = 0;
    show_deboor = show_deboor_points = 0;
    chk_deboor.state = chk_points.state = 0;
    knot_bar.value = 0.0f;
    knot_bar.thumb_y = knot_bar_y(&knot_bar, 0.0f);
    proj_zoom = INITIAL_ZOOM;
  }
  void TearDown() override { gl_guard_modifiers = -1; }

  // A mouse event delivered as GLUT would: the window made current first.
  static void mouse(const WindowEntry& w, void (*cb)(int, int, int, int), int button, int state,
                    int x, int y) {
    glutSetWindow(w.id);
    cb(button, state, x, y);
  }
  static void motion(const WindowEntry& w, void (*cb)(int, int), int x, int y) {
    glutSetWindow(w.id);
    cb(x, y);
  }
  // Left click in the control panel or the new-curve window at a point given
  // with y up, converted as flip_y does (height - 1 - y).
  static void click_flipped(const WindowEntry& w, void (*cb)(int, int, int, int), int x, int y_up) {
    mouse(w, cb, GLUT_LEFT_BUTTON, GLUT_DOWN, x, w.height - 1 - y_up);
    mouse(w, cb, GLUT_LEFT_BUTTON, GLUT_UP, x, w.height - 1 - y_up);
  }
  static void click_button(const WindowEntry& w, void (*cb)(int, int, int, int), const Button& b) {
    click_flipped(w, cb, (b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
  }
  // "   New", a degree box, a knot-type box and "OK".
  static void new_curve(Button& degree, Button& type) {
    click_button(window_table.win_panel, panel_mouse, btn_new);
    click_button(window_table.win_new_curve, new_curve_mouse, degree);
    click_button(window_table.win_new_curve, new_curve_mouse, type);
    click_button(window_table.win_new_curve, new_curve_mouse, btn_ok);
  }
  // Right clicks on the pad at n points of a circle of the given pixel radius.
  static void add_points(int n, int radius) {
    const WindowEntry& pad = window_table.win_pad;
    for (int i = 0; i < n; i++) {
      const double a = 2.0 * M_PI * i / n;
      const int x = pad.width / 2 + static_cast<int>(radius * std::cos(a));
      const int y = pad.height / 2 - static_cast<int>(radius * std::sin(a));
      mouse(pad, pad_mouse, GLUT_RIGHT_BUTTON, GLUT_DOWN, x, y);
      mouse(pad, pad_mouse, GLUT_RIGHT_BUTTON, GLUT_UP, x, y);
    }
  }
  // Left click on control point i where the pad shows it, with the given
  // modifier keys held.
  static void pick(int i, int modifiers = 0) {
    const WindowEntry& pad = window_table.win_pad;
    const ControlPoint& p = edited_curve->points[i];
    const int x = static_cast<int>(pad.width / 2.0 + p.x * pad.width / 6.0);
    const int y = pad.height - static_cast<int>(pad.height / 2.0 + p.y * pad.height / 6.0);
    gl_guard_modifiers = modifiers;
    mouse(pad, pad_mouse, GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
    mouse(pad, pad_mouse, GLUT_LEFT_BUTTON, GLUT_UP, x, y);
    gl_guard_modifiers = 0;
  }
  // Drags the weight slider's thumb to pixel column x.
  static void drag_weight_to(int x) {
    const WindowEntry& w = window_table.win_panel;
    const int y = w.height - 1 - (weight_slider.y1 + 6);
    mouse(w, panel_mouse, GLUT_LEFT_BUTTON, GLUT_DOWN, weight_slider.thumb_x, y);
    motion(w, panel_motion, x, y);
    mouse(w, panel_mouse, GLUT_LEFT_BUTTON, GLUT_UP, x, y);
  }
  // Left drag on the knot panel from one bar y (up) to another, x in the panel.
  static void drag_bar(int x, int from_y, int to_y) {
    const WindowEntry& w = window_table.win_knots;
    mouse(w, knot_panel_mouse, GLUT_LEFT_BUTTON, GLUT_DOWN, x, w.height - from_y);
    motion(w, knot_panel_motion, x, w.height - (from_y + to_y) / 2);
    motion(w, knot_panel_motion, x, w.height - to_y);
    mouse(w, knot_panel_mouse, GLUT_LEFT_BUTTON, GLUT_UP, x, w.height - to_y);
  }
  // Every window redrawn, then every invariant.
  static void settle() {
    random_session_display_all();
    EXPECT_EQ(random_session_check(), "");
  }
};

TEST_F(ScriptedSession, TeachingSessionKeepsEveryCurveSound) {
  new_curve(chk_degree_3, chk_clamped);
  settle();
  add_points(8, 200);
  settle();
  EXPECT_EQ(edited_curve->point_count, 8);
  EXPECT_EQ(edited_curve->knot_count, 8 + 3 + 1);

  // Weights: past the slider's left end gives -3; the thumb at the pixel of 0
  // (track 170 px for 13 units) gives 0 within one float step.
  pick(2);
  drag_weight_to(-200);
  EXPECT_EQ(edited_curve->points[2].w, -3.0);
  settle();
  drag_weight_to(slider_thumb_x(&weight_slider, 0.0f));
  EXPECT_NEAR(edited_curve->points[2].w, 0.0, 1e-6);
  settle();

  click_button(window_table.win_panel, panel_mouse, chk_deboor);
  click_button(window_table.win_panel, panel_mouse, chk_points);
  EXPECT_EQ(show_deboor, 1);
  EXPECT_EQ(show_deboor_points, 1);
  settle();

  // The thumb taken at u = 0 and moved up 155 px: u = 155 / 420 on the step grid.
  const int thumb_x = knot_bar.x1 + 18;
  drag_bar(thumb_x, knot_bar.thumb_y, knot_bar.thumb_y + 155);
  EXPECT_NEAR(knot_bar.value, 0.369, 0.0015);
  settle();
  // The interior knot 0.4 (index 5) dragged down to near 0.3.
  drag_bar(knot_bar.x1 + 5, knot_bar_y(&knot_bar, edited_curve->knots[5]),
           knot_bar_y(&knot_bar, 0.3f));
  EXPECT_NEAR(edited_curve->knots[5], 0.3, 0.0011);
  EXPECT_EQ(lifted_curve->knots[5], edited_curve->knots[5]);
  settle();

  new_curve(chk_degree_2, chk_uniform);
  add_points(5, 150);
  settle();
  EXPECT_EQ(edited_curve->knot_count, 5 + 2 + 1);
  new_curve(chk_degree_4, chk_closed);
  add_points(6, 120);
  settle();
  EXPECT_EQ(edited_curve->knot_count, 6 + 2 * 4 + 1);
  new_curve(chk_degree_10, chk_closed);
  add_points(100, 230);
  settle();
  EXPECT_EQ(edited_curve->point_count, 100);
  EXPECT_EQ(edited_curve->knot_count, 100 + 2 * 10 + 1);

  click_button(window_table.win_panel, panel_mouse, btn_about);
  settle();
  click_flipped(window_table.win_about, about_mouse, btn_dismiss.x1 + 5, btn_dismiss.y1 + 6);
  settle();
  EXPECT_EQ(gl_guard_faults, 0) << gl_guard_first_fault;
}

// The seams the random sessions rely on: a non-finite vertex is counted and
// named, and the injected shift key reaches the pad as a real one would.
TEST_F(ScriptedSession, GuardSeesNonFiniteVerticesAndShiftReachesThePad) {
  glutSetWindow(window_table.win_pad.id);
  glBegin(GL_POINTS);
  glVertex3f(0.0f, std::nanf(""), 0.0f);
  glVertex2f(1.0f, 1.0f);
  glEnd();
  EXPECT_EQ(gl_guard_faults, 1);
  ASSERT_NE(gl_guard_first_fault, nullptr);
  EXPECT_STREQ(gl_guard_first_fault, "glVertex3f");

  new_curve(chk_degree_2, chk_clamped);
  add_points(4, 150);
  pick(0);
  pick(2, GLUT_ACTIVE_SHIFT);
  EXPECT_EQ(selection_count, 2);
  EXPECT_EQ(edited_curve->selected[0], 0);
  EXPECT_EQ(edited_curve->selected[1], 2);
  pick(3, GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL);
  EXPECT_EQ(selection_count, 1);
  EXPECT_EQ(edited_curve->selected[0], 3);
}

// The top pixel row of the pad lies half a pixel above y = 3 in the pad's own
// mapping (H - y counts it as row H); a point added there must still lie on the pad.
TEST_F(ScriptedSession, PointAddedOnThePadsEdgeStaysInsideThePad) {
  new_curve(chk_degree_2, chk_clamped);
  const WindowEntry& pad = window_table.win_pad;
  mouse(pad, pad_mouse, GLUT_RIGHT_BUTTON, GLUT_DOWN, pad.width - 1, 0);
  mouse(pad, pad_mouse, GLUT_RIGHT_BUTTON, GLUT_UP, pad.width - 1, 0);
  mouse(pad, pad_mouse, GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, pad.height - 1);
  mouse(pad, pad_mouse, GLUT_RIGHT_BUTTON, GLUT_UP, 0, pad.height - 1);
  ASSERT_EQ(edited_curve->point_count, 2);
  for (int i = 0; i < 2; i++) {
    EXPECT_LE(std::fabs(edited_curve->points[i].x), 3.0) << "point " << i;
    EXPECT_LE(std::fabs(edited_curve->points[i].y), 3.0) << "point " << i;
  }
}

// Zoom presses without end must neither overflow the scale sent to GL nor
// shrink it to zero, from which no press could bring the picture back.
TEST_F(ScriptedSession, EndlessZoomPressesKeepTheProjectionDrawable) {
  const WindowEntry& panel = window_table.win_panel;
  for (int i = 0; i < ZOOM_PRESSES; i++) click_button(panel, panel_mouse, btn_zoom_in);
  EXPECT_TRUE(std::isfinite(proj_zoom));
  gl_capture(window_table.win_projection.id, proj_display);
  EXPECT_EQ(gl_guard_faults, 0) << gl_guard_first_fault;

  proj_zoom = INITIAL_ZOOM;
  for (int i = 0; i < ZOOM_PRESSES; i++) click_button(panel, panel_mouse, btn_zoom_out);
  EXPECT_GT(proj_zoom, 0.0f);
  for (int i = 0; i < ZOOM_PRESSES; i++) click_button(panel, panel_mouse, btn_zoom_in);
  EXPECT_GT(proj_zoom, 0.0f);
  EXPECT_TRUE(std::isfinite(proj_zoom));
}

}  // namespace
