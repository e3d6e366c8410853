// Control panel switches: de Boor check boxes, the drawing pad's grid box,
// the 3D zoom and grid buttons, and presses that hit nothing.
#include "support/gl_app.h"

#include "app/shell.h"
#include "windows/control_panel.h"

#include <GL/freeglut.h>

#include <cstring>
#include <vector>

namespace {

const Rgba BLUE = {0, 0, 255, 255};
const Rgba RED = {255, 0, 0, 255};

class PanelSwitchTest : public GlAppTest {
 protected:
  void SetUp() override {
    curves_reset();
    chk_deboor.state = chk_points.state = 0;
    chk_grid.state = 1;
    show_deboor = show_deboor_points = 0;
    proj_grid = 1;
    std::strcpy(btn_grid.label, " Grid: ON");
    proj_zoom = 2.0f;
    glutSetWindow(window_table.win_panel.id);
  }
  // GLUT counts rows from the top; the panel's widgets are placed with y up.
  static int glut_y(int y_up) { return window_table.win_panel.height - 1 - y_up; }
  static void press(int x, int y_up) { panel_mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, glut_y(y_up)); }
  static void release(int x, int y_up) { panel_mouse(GLUT_LEFT_BUTTON, GLUT_UP, x, glut_y(y_up)); }
  static void click(int x, int y_up) {
    press(x, y_up);
    release(x, y_up);
  }
  static void click_centre(const Button& b) { click((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2); }
};

TEST_F(PanelSwitchTest, ShowPointsNeedsShowDeBoorAndFallsWithIt) {
  click_centre(chk_points);
  EXPECT_EQ(chk_points.state, 0);
  EXPECT_EQ(show_deboor_points, 0);

  click_centre(chk_deboor);
  click_centre(chk_points);
  EXPECT_EQ(show_deboor, 1);
  EXPECT_EQ(show_deboor_points, 1);
  EXPECT_EQ(chk_points.state, 1);

  click_centre(chk_deboor);
  EXPECT_EQ(chk_deboor.state, 0);
  EXPECT_EQ(chk_points.state, 0);
  EXPECT_EQ(show_deboor, 0);
  EXPECT_EQ(show_deboor_points, 0);

  click_centre(chk_grid);
  EXPECT_EQ(chk_grid.state, 0);
  click_centre(chk_grid);
  EXPECT_EQ(chk_grid.state, 1);
}

TEST_F(PanelSwitchTest, LabelAreaRightOfCheckBoxTakesNoClick) {
  click(300, (chk_deboor.y1 + chk_deboor.y2) / 2);
  click(281, (chk_grid.y1 + chk_grid.y2) / 2);
  EXPECT_EQ(chk_deboor.state, 0);
  EXPECT_EQ(show_deboor, 0);
  EXPECT_EQ(chk_grid.state, 1);
}

TEST_F(PanelSwitchTest, GridButtonSwitchesLabelColourAndProjectionGrid) {
  // Inside the frame of the button only its label has the pen colour.
  const int x0 = btn_grid.x1 + 1, y0 = btn_grid.y1 + 1, x1 = btn_grid.x2 - 1, y1 = btn_grid.y2 - 1;

  click_centre(btn_grid);
  EXPECT_STREQ(btn_grid.label, "Grid: OFF");
  EXPECT_EQ(proj_grid, 0);
  Pixels off = gl_capture(window_table.win_panel.id, panel_display);
  EXPECT_GT(off.count(x0, y0, x1, y1, RED), 20);
  EXPECT_EQ(off.count(x0, y0, x1, y1, BLUE), 0);

  click_centre(btn_grid);
  EXPECT_STREQ(btn_grid.label, " Grid: ON");
  EXPECT_EQ(proj_grid, 1);
  Pixels on = gl_capture(window_table.win_panel.id, panel_display);
  EXPECT_GT(on.count(x0, y0, x1, y1, BLUE), 20);
  EXPECT_EQ(on.count(x0, y0, x1, y1, RED), 0);
}

TEST_F(PanelSwitchTest, ZoomActsAtTheReleaseWhereverItIs) {
  press((btn_zoom_in.x1 + btn_zoom_in.x2) / 2, (btn_zoom_in.y1 + btn_zoom_in.y2) / 2);
  EXPECT_FLOAT_EQ(proj_zoom, 2.0f);
  release(10, 550);
  click_centre(btn_zoom_in);
  press((btn_zoom_out.x1 + btn_zoom_out.x2) / 2, (btn_zoom_out.y1 + btn_zoom_out.y2) / 2);
  release(600, 600);
  // 2 * 1.5 * 1.5 / 1.5
  EXPECT_FLOAT_EQ(proj_zoom, 3.0f);
  EXPECT_EQ(btn_zoom_in.state, 0);
  EXPECT_EQ(btn_zoom_out.state, 0);
}

TEST_F(PanelSwitchTest, PressOnNothingStillReliftsTheCurve) {
  curve_add_point(edited_curve, ControlPoint{1.0, 0.5, 0.0, 1.0}, ADD_AFTER);
  edited_curve->points[0].w = 2.0;
  gl_take_redisplays();
  press(300, 548);
  const std::vector<int> drawn = {window_table.win_pad.id, window_table.win_panel.id,
                                  window_table.win_projection.id, window_table.win_new_curve.id};
  EXPECT_EQ(gl_take_redisplays(), drawn);
  release(300, 548);
  EXPECT_EQ(gl_take_redisplays(), drawn);
  EXPECT_EQ(lifted_curve->point_count, 1);
  // (w x, w y, w) with s = 1
  EXPECT_DOUBLE_EQ(lifted_curve->points[0].x, 2.0);
  EXPECT_DOUBLE_EQ(lifted_curve->points[0].y, 1.0);
  EXPECT_DOUBLE_EQ(lifted_curve->points[0].z, 2.0);
  EXPECT_EQ(chk_deboor.state + chk_points.state, 0);
  EXPECT_EQ(chk_grid.state, 1);
  EXPECT_FLOAT_EQ(proj_zoom, 2.0f);
}

}  // namespace
