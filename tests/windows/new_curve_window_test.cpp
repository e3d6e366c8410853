// New-curve window: one box checked per group, "OK" starting fresh curves of
// the chosen degree and knot type, "Cancel" keeping the saved degree, and
// every event re-lifting the curve.
#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/control_panel.h"
#include "windows/new_curve.h"

#include <GL/freeglut.h>

#include <vector>

namespace {

const Rgba RED = {255, 0, 0, 255};

Button* const DEGREES[] = {&chk_degree_1, &chk_degree_2, &chk_degree_3, &chk_degree_4,
                           &chk_degree_5, &chk_degree_6, &chk_degree_7, &chk_degree_8,
                           &chk_degree_9, &chk_degree_10};
Button* const TYPES[] = {&chk_uniform, &chk_clamped, &chk_closed};

class NewCurveTest : public GlAppTest {
 protected:
  void SetUp() override {
    curves_reset();
    const ControlPoint points[] = {
        {-1.0, 0.0, 0.0, 1.0}, {0.0, 1.0, 0.0, 1.0}, {1.0, 0.0, 0.0, 1.0}};
    for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_AFTER);
    curve_make_knots(edited_curve, edited_curve->knot_type);
    curve_lift(edited_curve, lifted_curve);
    open_from_panel();
  }
  // Leaves the boxes as a fresh start has them, for the next test.
  void TearDown() override {
    clear_degree_boxes();
    clear_knot_type_boxes();
    chk_degree_2.state = 1;
    chk_clamped.state = 1;
    hide();
  }

  // The control panel's "   New": saves the degree and shows the window.
  static void open_from_panel() {
    glutSetWindow(window_table.win_panel.id);
    const int x = (btn_new.x1 + btn_new.x2) / 2;
    const int y = window_table.win_panel.height - 1 - (btn_new.y1 + btn_new.y2) / 2;
    panel_mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
    panel_mouse(GLUT_LEFT_BUTTON, GLUT_UP, x, y);
    gl_pump(100);
  }
  static void hide() {
    glutSetWindow(window_table.win_new_curve.id);
    glutHideWindow();
    gl_pump(50);
  }
  static bool shown() {
    gl_pump(100);
    return gl_window_viewable(window_table.win_new_curve.id);
  }
  static void mouse(int button, int state, int x, int y_up) {
    glutSetWindow(window_table.win_new_curve.id);
    new_curve_mouse(button, state, x, window_table.win_new_curve.height - 1 - y_up);
  }
  static void press(const Button& b) {
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, (b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
  }
  static void click(const Button& b) {
    press(b);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, (b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
  }
  static int checked(Button* const* boxes, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += boxes[i]->state;
    return count;
  }
};

TEST_F(NewCurveTest, FirstOpeningShowsDegreeTwoAndClamped) {
  EXPECT_TRUE(shown());
  EXPECT_EQ(chk_degree_2.state, 1);
  EXPECT_EQ(chk_clamped.state, 1);
  EXPECT_EQ(checked(DEGREES, 10), 1);
  EXPECT_EQ(checked(TYPES, 3), 1);
  // The check mark is red and pokes out to the right of its 10 px square.
  const Pixels p = gl_capture(window_table.win_new_curve.id, new_curve_display);
  for (Button* box : DEGREES)
    EXPECT_EQ(p.any(box->x1, box->y1 + 3, box->x1 + 15, box->y1 + 15, RED), box->state == 1)
        << box->label;
  for (Button* box : TYPES)
    EXPECT_EQ(p.any(box->x1, box->y1 + 3, box->x1 + 15, box->y1 + 15, RED), box->state == 1)
        << box->label;
}

TEST_F(NewCurveTest, ABoxStaysTheOnlyOneCheckedAndChangesNoCurve) {
  click(chk_degree_5);
  EXPECT_EQ(chk_degree_5.state, 1);
  EXPECT_EQ(chk_degree_2.state, 0);
  click(chk_degree_5);
  EXPECT_EQ(chk_degree_5.state, 1);
  EXPECT_EQ(checked(DEGREES, 10), 1);
  // The label area right of the square belongs to the box.
  mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, chk_closed.x2 - 2, chk_closed.y1 + 2);
  EXPECT_EQ(chk_closed.state, 1);
  EXPECT_EQ(checked(TYPES, 3), 1);
  EXPECT_EQ(edited_curve->degree, 2);
  EXPECT_EQ(edited_curve->knot_type, KNOT_CLAMPED);
  EXPECT_EQ(edited_curve->point_count, 3);
}

TEST_F(NewCurveTest, OkStartsEmptyCurvesOfTheChosenKind) {
  knot_bar.value = 0.25f;
  tracing_point_3d[0] = 1.0f, tracing_point_3d[1] = 2.0f, tracing_point_3d[2] = 3.0f;
  click(chk_degree_3);
  click(chk_uniform);
  // Pressed on "OK", released elsewhere: still OK.
  press(btn_ok);
  mouse(GLUT_LEFT_BUTTON, GLUT_UP, 120, 140);
  EXPECT_EQ(edited_curve->point_count, 0);
  EXPECT_EQ(edited_curve->knot_count, 0);
  EXPECT_EQ(edited_curve->degree, 3);
  EXPECT_EQ(edited_curve->knot_type, KNOT_UNIFORM);
  EXPECT_EQ(lifted_curve->point_count, 0);
  EXPECT_EQ(btn_ok.state, 0);
  EXPECT_FLOAT_EQ(knot_bar.value, 0.25f);
  EXPECT_FLOAT_EQ(tracing_point_3d[0] + tracing_point_3d[1] + tracing_point_3d[2], 0.0f);
  EXPECT_FALSE(shown());

  open_from_panel();
  click(chk_degree_10);
  click(chk_closed);
  click(btn_ok);
  EXPECT_EQ(edited_curve->degree, 10);
  EXPECT_EQ(edited_curve->knot_type, KNOT_CLOSED);
  EXPECT_EQ(chk_degree_10.state, 1);
}

TEST_F(NewCurveTest, CancelKeepsTheSavedDegreeAndTheUsersBoxes) {
  edited_curve->degree = 4;
  open_from_panel();
  ASSERT_EQ(saved_degree, 4);
  click(chk_degree_7);
  edited_curve->degree = 9;  // whatever happened meanwhile, Cancel restores
  click(btn_cancel);
  EXPECT_EQ(edited_curve->degree, 4);
  EXPECT_EQ(edited_curve->point_count, 3);
  EXPECT_FALSE(shown());
  open_from_panel();
  EXPECT_EQ(chk_degree_7.state, 1);
  EXPECT_EQ(checked(DEGREES, 10), 1);
}

TEST_F(NewCurveTest, RightClickChangesNoWidgetButRelifts) {
  edited_curve->points[1].w = 2.0;
  const std::vector<int> views = {window_table.win_knots.id, window_table.win_panel.id,
                                  window_table.win_projection.id, window_table.win_new_curve.id};
  gl_take_redisplays();
  mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 100);
  EXPECT_EQ(gl_take_redisplays(), views);
  mouse(GLUT_LEFT_BUTTON, GLUT_UP, 100, 100);
  std::vector<int> after_release = {window_table.win_pad.id};
  after_release.insert(after_release.end(), views.begin(), views.end());
  EXPECT_EQ(gl_take_redisplays(), after_release);
  for (int state : {GLUT_DOWN, GLUT_UP})
    mouse(GLUT_RIGHT_BUTTON, state, (btn_ok.x1 + btn_ok.x2) / 2, (btn_ok.y1 + btn_ok.y2) / 2);
  mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, (chk_degree_9.x1 + chk_degree_9.x2) / 2, chk_degree_9.y1 + 8);
  EXPECT_EQ(btn_ok.state, 0);
  EXPECT_EQ(chk_degree_9.state, 0);
  EXPECT_EQ(chk_degree_2.state, 1);
  EXPECT_EQ(edited_curve->point_count, 3);
  EXPECT_TRUE(shown());
  // (0, 1) with weight 2 lifts to (0, 2, 2).
  EXPECT_DOUBLE_EQ(lifted_curve->points[1].y, 2.0);
  EXPECT_DOUBLE_EQ(lifted_curve->points[1].z, 2.0);
}

}  // namespace
