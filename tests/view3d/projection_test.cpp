// Projection window on the real window: drag steps in whole degrees, their
// folding into the accumulated rotation, the size held at 540 x 540, the
// projection line of a weighted point and the grid switch.
#include "view3d/scene_fixture.h"

#include <cmath>

namespace {

constexpr double DEG = 3.14159265358979323846 / 180.0;

class ProjectionTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    glutSetWindow(window_table.win_projection.id);
  }
  // A press at (x0, y0) and one motion event to (x1, y1), GLUT coordinates.
  static void drag_step(int x0, int y0, int x1, int y1) {
    glutSetWindow(window_table.win_projection.id);
    proj_mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x0, y0);
    proj_motion(x1, y1);
  }
};

TEST_F(ProjectionTest, DragStepsAreWholeDegreesModuloAFullTurn) {
  drag_step(100, 100, 110, 100);  // 10 * 1080 / 540 = 20
  EXPECT_EQ(rot_step_y, 20);
  EXPECT_EQ(rot_step_x, 0);
  drag_step(100, 100, 300, 100);  // 400 mod 360
  EXPECT_EQ(rot_step_y, 40);
  drag_step(300, 100, 100, 100);  // -400 keeps its sign
  EXPECT_EQ(rot_step_y, -40);
  drag_step(100, 100, 100, 101);  // one pixel down is one pixel less of y up
  EXPECT_EQ(rot_step_x, -2);
  EXPECT_EQ(rot_step_y, 0);
  EXPECT_EQ(proj_last_y, 540 - 101);

  proj_mouse(GLUT_LEFT_BUTTON, GLUT_UP, 100, 101);
  EXPECT_EQ(rot_step_x, 0);
  EXPECT_EQ(proj_dragging, 0);
  proj_motion(200, 300);  // no drag: nothing turns
  EXPECT_EQ(rot_step_y, 0);
  proj_mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 5, 5);
  EXPECT_EQ(proj_dragging, 0);
}

TEST_F(ProjectionTest, EachDisplayFoldsTheStepIntoTheViewMatrix) {
  drag_step(100, 100, 110, 100);
  proj_picture();
  // Column-major rotation about y: element (0, 2) is sin, (2, 0) is -sin.
  EXPECT_NEAR(view_matrix[8], std::sin(20.0 * DEG), 1e-6);
  EXPECT_NEAR(view_matrix[2], -std::sin(20.0 * DEG), 1e-6);
  proj_picture();  // no new motion: the same step is folded in again
  EXPECT_NEAR(view_matrix[8], std::sin(40.0 * DEG), 1e-6);
  EXPECT_NEAR(view_matrix[0], std::cos(40.0 * DEG), 1e-6);
}

TEST_F(ProjectionTest, ResizingSnapsBackTo540AndResetsTheRotation) {
  drag_step(100, 100, 110, 100);
  proj_picture();
  proj_mouse(GLUT_LEFT_BUTTON, GLUT_UP, 110, 100);
  ASSERT_NE(view_matrix[8], 0.0);
  glutSetWindow(window_table.win_projection.id);
  glutReshapeWindow(600, 480);
  gl_pump(300);
  glutSetWindow(window_table.win_projection.id);
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 540);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 540);
  EXPECT_EQ(window_table.win_projection.width, 540);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(view_matrix[i], i % 5 == 0 ? 1.0 : 0.0) << i;
}

TEST_F(ProjectionTest, LineOfAWeightTwoPointReachesTheLiftedPoint) {
  build({{1, 0, 0, 2}}, 2, KNOT_CLAMPED);
  ASSERT_DOUBLE_EQ(lifted_curve->points[0].x, 2.0);
  ASSERT_DOUBLE_EQ(lifted_curve->points[0].z, 2.0);
  proj_grid = 0;
  const Pixels p = proj_picture();
  const Rgba line = rgba_bytes(0.5f, 0.5f, 0.5f);
  int col, row;
  // Stipple of 4 pixels on, 4 off: a 7-pixel box always holds a dash.
  for (double s : {0.3, 0.35, 0.4, 0.6, 0.65, 0.7, 0.8, 0.85}) {
    SCOPED_TRACE(s);
    start_view_pixel(2 * s, 0, 2 * s, &col, &row);
    EXPECT_TRUE(p.any(col - 3, row - 3, col + 3, row + 3, line, 12));
  }
  for (double s : {1.1, 1.2, 1.3}) {
    SCOPED_TRACE(s);
    start_view_pixel(2 * s, 0, 2 * s, &col, &row);
    EXPECT_FALSE(p.any(col - 3, row - 3, col + 3, row + 3, line, 12));
  }
  // The current point, lifted and in the plane, at both ends of the segment.
  const Rgba green = palette_rgba(PAL_SELECTED_POINT);
  start_view_pixel(2, 0, 2, &col, &row);
  EXPECT_TRUE(p.any(col - 4, row - 4, col + 4, row + 4, green));
  start_view_pixel(1, 0, 1, &col, &row);
  EXPECT_TRUE(p.any(col - 4, row - 4, col + 4, row + 4, green));
}

TEST_F(ProjectionTest, GridSwitchRemovesOnlyTheGrid) {
  build({{-2, -1, 0, 1}, {0, 2, 0, 2}, {2, -1, 0, 1}}, 2, KNOT_CLAMPED);
  const Rgba grid = over_white(palette.colours[PAL_DRAWING_PAD]);
  const Rgba red = rgba_from_float(lifted_curve->colour);
  const Pixels on = proj_picture();
  proj_grid = 0;
  const Pixels off = proj_picture();
  // The lifted points (-2, -1, 1), (0, 4, 2), (2, -1, 1) give the curve point
  // (0, 1.5, 1.5) at u = 0.5, with or without the grid.
  int col, row;
  start_view_pixel(0, 1.5, 1.5, &col, &row);
  EXPECT_TRUE(off.any(col - 3, row - 3, col + 3, row + 3, red));
  EXPECT_TRUE(on.any(col - 3, row - 3, col + 3, row + 3, red));
  const int grid_on = on.count(0, 0, on.width - 1, on.height - 1, grid, 6);
  const int grid_off = off.count(0, 0, off.width - 1, off.height - 1, grid, 6);
  EXPECT_GT(grid_on, 2000);
  EXPECT_LT(grid_off, grid_on / 20);
}

}  // namespace
