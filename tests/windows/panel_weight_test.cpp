// Control panel weight slider: drags, arrow clicks and "  Reset" write the
// current point's weight, and nothing is written without a valid current point.
#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"

#include <GL/freeglut.h>

#include <cmath>

namespace {

// Slider geometry of the panel: thumb centre for a weight of 1 is
// (1 + 3) / 13 * 170 + 25 = 77.3, truncated.
constexpr int THUMB_AT_ONE = 77;
// Thumb pixel whose offset 78 snaps to k = trunc(78 * 13 / 170 / 0.1 + 0.5) = 60,
// that is -3 + 60 * 0.1 = 3.
constexpr int THUMB_AT_THREE = 103;
constexpr int SLIDER_ROW = 565;  // inside the slider body, y up
constexpr int ARROW_X = 205;     // centre column of the arrow boxes
constexpr int UP_ARROW_ROW = 572;
constexpr int DOWN_ARROW_ROW = 563;
constexpr int VALUE_X = 106, VALUE_Y = 574;  // raster position of the value text

class PanelWeightTest : public GlAppTest {
 protected:
  void SetUp() override {
    curves_reset();
    const ControlPoint points[] = {
        {-2.0, -1.0, 0.0, 1.0}, {1.0, 0.5, 0.0, 1.0}, {2.0, -1.0, 0.0, 1.0}, {0.0, -2.0, 0.0, 1.0}};
    for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_AFTER);
    curve_make_knots(edited_curve, edited_curve->knot_type);
    edited_curve->selected[0] = 1;
    curve_lift(edited_curve, lifted_curve);
    weight_slider.value = 1.0f;
    // The draw puts the thumb where the value says.
    gl_capture(window_table.win_panel.id, panel_display);
    glutSetWindow(window_table.win_panel.id);
  }
  static int glut_y(int y_up) { return window_table.win_panel.height - 1 - y_up; }
  static void mouse(int state, int x, int y_up) {
    panel_mouse(GLUT_LEFT_BUTTON, state, x, glut_y(y_up));
  }
  static void drag_thumb_to(int x) {
    mouse(GLUT_DOWN, weight_slider.thumb_x, SLIDER_ROW);
    panel_motion(x, glut_y(SLIDER_ROW));
    mouse(GLUT_UP, x, SLIDER_ROW);
  }
  static int differing_pixels(const Pixels& a, const Pixels& b) {
    int n = 0;
    for (size_t i = 0; i + 3 < a.data.size() && i + 3 < b.data.size(); i += 4)
      if (a.data[i] != b.data[i] || a.data[i + 1] != b.data[i + 1] ||
          a.data[i + 2] != b.data[i + 2])
        ++n;
    return n;
  }
};

TEST_F(PanelWeightTest, ThumbDragSetsWeightLiftAndBothPictures) {
  ASSERT_EQ(weight_slider.thumb_x, THUMB_AT_ONE);
  const Pixels pad_before = gl_capture(window_table.win_pad.id, pad_display);
  const Pixels proj_before = gl_capture(window_table.win_projection.id, proj_display);

  glutSetWindow(window_table.win_panel.id);
  drag_thumb_to(THUMB_AT_THREE);
  EXPECT_NEAR(weight_slider.value, 3.0f, 1e-5);
  EXPECT_NEAR(edited_curve->points[1].w, 3.0, 1e-5);
  // The lift of (1, 0.5) with weight 3 is (3, 1.5, 3).
  EXPECT_NEAR(lifted_curve->points[1].x, 3.0, 1e-5);
  EXPECT_NEAR(lifted_curve->points[1].y, 1.5, 1e-5);
  EXPECT_NEAR(lifted_curve->points[1].z, 3.0, 1e-5);
  EXPECT_DOUBLE_EQ(edited_curve->points[0].w, 1.0);

  const Pixels pad_after = gl_capture(window_table.win_pad.id, pad_display);
  const Pixels proj_after = gl_capture(window_table.win_projection.id, proj_display);
  EXPECT_GT(differing_pixels(pad_before, pad_after), 50);
  EXPECT_GT(differing_pixels(proj_before, proj_after), 50);
}

TEST_F(PanelWeightTest, NoValidCurrentPointTakesNoWeight) {
  edited_curve->selected[0] = 7;  // beyond the four points
  drag_thumb_to(THUMB_AT_THREE);
  EXPECT_NEAR(weight_slider.value, 3.0f, 1e-5);
  for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(edited_curve->points[i].w, i < 4 ? 1.0 : 0.0);

  curves_reset();
  glutSetWindow(window_table.win_panel.id);
  ASSERT_EQ(edited_curve->selected[0], -1);
  weight_slider.value = 1.0f;
  gl_capture(window_table.win_panel.id, panel_display);
  glutSetWindow(window_table.win_panel.id);
  drag_thumb_to(THUMB_AT_THREE);
  mouse(GLUT_DOWN, (btn_reset.x1 + btn_reset.x2) / 2, (btn_reset.y1 + btn_reset.y2) / 2);
  mouse(GLUT_UP, 0, 0);
  EXPECT_FLOAT_EQ(weight_slider.value, 1.0f);
  EXPECT_DOUBLE_EQ(edited_curve->points[0].w, 0.0);
}

TEST_F(PanelWeightTest, ResetAndArrowClickApplyAtOnce) {
  drag_thumb_to(THUMB_AT_THREE);
  mouse(GLUT_DOWN, (btn_reset.x1 + btn_reset.x2) / 2, (btn_reset.y1 + btn_reset.y2) / 2);
  mouse(GLUT_UP, (btn_reset.x1 + btn_reset.x2) / 2, (btn_reset.y1 + btn_reset.y2) / 2);
  EXPECT_FLOAT_EQ(weight_slider.value, 1.0f);
  EXPECT_DOUBLE_EQ(edited_curve->points[1].w, 1.0);

  mouse(GLUT_DOWN, ARROW_X, UP_ARROW_ROW);
  EXPECT_DOUBLE_EQ(edited_curve->points[1].w, static_cast<double>(1.0f + 0.1f));
  EXPECT_DOUBLE_EQ(lifted_curve->points[1].z, static_cast<double>(1.0f + 0.1f));
  mouse(GLUT_UP, ARROW_X, UP_ARROW_ROW);
  EXPECT_DOUBLE_EQ(edited_curve->points[1].w, static_cast<double>(1.0f + 0.1f));
}

// Ten steps of 0.1 down from 1 land on 0 itself, not on a float a hair below.
TEST_F(PanelWeightTest, TenDecreaseClicksFromOneGiveAWeightOfExactlyZero) {
  for (int i = 0; i < 10; ++i) {
    mouse(GLUT_DOWN, ARROW_X, DOWN_ARROW_ROW);
    mouse(GLUT_UP, ARROW_X, DOWN_ARROW_ROW);
  }
  EXPECT_EQ(weight_slider.value, 0.0f);
  EXPECT_FALSE(std::signbit(weight_slider.value));
  EXPECT_EQ(edited_curve->points[1].w, 0.0);
  EXPECT_EQ(lifted_curve->points[1].z, 0.0);

  // The number shown is " 0.00": compare its pixels with the text drawn here.
  const Pixels shown = gl_capture(window_table.win_panel.id, panel_display);
  glutSetWindow(window_table.win_panel.id);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
  glRasterPos2i(VALUE_X, VALUE_Y);
  for (const char* c = " 0.00"; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_10, *c);
  Pixels expected = shown;
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, expected.width, expected.height, GL_RGBA, GL_UNSIGNED_BYTE,
               expected.data.data());
  const Rgba BLUE = {0, 0, 255, 255};
  int blue = 0;
  for (int y = VALUE_Y - 3; y < VALUE_Y + 10; ++y)
    for (int x = VALUE_X - 8; x < VALUE_X + 30; ++x) {
      const bool a = shown.count(x, y, x, y, BLUE, 40) == 1;
      const bool b = expected.count(x, y, x, y, BLUE, 40) == 1;
      EXPECT_EQ(a, b) << "pixel " << x << ", " << y;
      blue += b;
    }
  EXPECT_GT(blue, 10);
}

}  // namespace
