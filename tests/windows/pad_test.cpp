// Drawing pad on the real window: right presses add points (at most 100),
// left and middle presses pick within 8 pixels, shift extends the selection up
// to 20 (through real X input, which carries the modifier state), and left
// drags move the picked point by the pointer's motion.
#include "view3d/scene_fixture.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int PAD = 541;                // pad width and height in pixels
constexpr double PAD_UNIT = 6.0 / PAD;  // pad units per pixel
constexpr int REAL_EVENT_MS = 80;       // time for the server and GLUT to deliver

class PadTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    glutSetWindow(window_table.win_pad.id);
    gl_take_redisplays();
  }
  void TearDown() override { release_keys(); }

  // Direct calls, GLUT coordinates (y from the top).
  static void right_click(int x, int y) {
    pad_mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, x, y);
    pad_mouse(GLUT_RIGHT_BUTTON, GLUT_UP, x, y);
  }
  static void press(int button, int x, int y) { pad_mouse(button, GLUT_DOWN, x, y); }
  static void release(int button, int x, int y) { pad_mouse(button, GLUT_UP, x, y); }

  // Real X input to the pad at GLUT coordinates, with modifier keys held.
  static Display* display() {
    glutSetWindow(window_table.win_pad.id);
    return glXGetCurrentDisplay();
  }
  static void real_button(int x, int y, unsigned button, bool down,
                          std::initializer_list<KeySym> keys = {}) {
    Display* d = display();
    Window pad = glXGetCurrentDrawable();
    int sx = 0, sy = 0;
    Window child;
    XTranslateCoordinates(d, pad, DefaultRootWindow(d), x, y, &sx, &sy, &child);
    for (KeySym k : keys) XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), True, CurrentTime);
    XTestFakeMotionEvent(d, DefaultScreen(d), sx, sy, CurrentTime);
    XTestFakeButtonEvent(d, button, down, CurrentTime);
    for (KeySym k : keys) XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), False, CurrentTime);
    XSync(d, False);
    gl_pump(REAL_EVENT_MS);
  }
  static void real_click(int x, int y, std::initializer_list<KeySym> keys = {}) {
    real_button(x, y, 1, true, keys);
    real_button(x, y, 1, false, keys);
  }
  static void release_keys() {
    Display* d = display();
    for (KeySym k : {XK_Shift_L, XK_Control_L})
      XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), False, CurrentTime);
    XSync(d, False);
  }
  static bool posted(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }
};

TEST_F(PadTest, ThreeRightPressesBuildTheCurveTwoOnlyPointsAndLabels) {
  // A press at GLUT (x, y) puts the point on pixel column x, row 541 - y.
  const int ax = 150, ay = 400, bx = 300, by = 120, cx = 430, cy = 380;
  const Rgba point = palette_rgba(PAL_CONTROL_POINT);
  const Rgba current = palette_rgba(PAL_SELECTED_POINT);
  const Rgba label = palette_rgba(PAL_CONTROL_POINT_INDEX);
  const Rgba blue = rgba_from_float(edited_curve->colour);
  const Rgba red = rgba_from_float(lifted_curve->colour);

  right_click(ax, ay);
  right_click(bx, by);
  ASSERT_EQ(edited_curve->point_count, 2);
  EXPECT_EQ(edited_curve->knot_count, 0);
  EXPECT_NEAR(edited_curve->points[0].x, (ax - 270) * PAD_UNIT, 1e-12);
  EXPECT_NEAR(edited_curve->points[0].y, (PAD - ay - 270) * PAD_UNIT, 1e-12);
  const Pixels two = pad_picture();
  EXPECT_GT(two.count(ax - 1, PAD - ay - 1, ax + 1, PAD - ay + 1, point), 0);
  EXPECT_GT(two.count(bx - 1, PAD - by - 1, bx + 1, PAD - by + 1, current), 0);
  EXPECT_GT(two.count(ax + 5, PAD - ay, ax + 16, PAD - ay + 20, label), 0);
  EXPECT_GT(two.count(bx + 5, PAD - by, bx + 16, PAD - by + 20, label), 0);
  EXPECT_EQ(two.count(0, 0, PAD - 1, PAD - 1, blue), 0);

  right_click(cx, cy);
  ASSERT_EQ(edited_curve->point_count, 3);
  EXPECT_EQ(edited_curve->knot_count, 6);
  EXPECT_EQ(edited_curve->selected[0], 2);
  const Pixels three = pad_picture();
  // The end points carry knot spheres; their corners still show.
  EXPECT_GT(three.count(ax - 4, PAD - ay - 4, ax + 4, PAD - ay + 4, point), 0);
  EXPECT_GT(three.count(bx - 1, PAD - by - 1, bx + 1, PAD - by + 1, point), 0);
  EXPECT_GT(three.count(cx - 4, PAD - cy - 4, cx + 4, PAD - cy + 4, current), 0);
  // The quadratic's middle is (A + 2B + C) / 4 in pixels: (295, 286).
  EXPECT_GT(three.count(293, 284, 297, 288, blue), 0);
  EXPECT_GT(three.count(0, 0, PAD - 1, PAD - 1, blue), 300);

  // The lifted curve, with the middle weight at 2 as the control panel sets it:
  // lifted points 2 * B and A, C at z = 1; its middle is (A + 4B + C) / 4.
  edited_curve->points[1].w = 2.0;
  curve_lift(edited_curve, lifted_curve);
  const Pixels proj = proj_picture();
  const double lx = ((ax - 270) + 4 * (bx - 270) + (cx - 270)) * PAD_UNIT / 4;
  const double ly = ((PAD - ay - 270) + 4 * (PAD - by - 270) + (PAD - cy - 270)) * PAD_UNIT / 4;
  int col, row;
  start_view_pixel(lx, ly, (1 + 4 + 1) / 4.0, &col, &row);
  EXPECT_TRUE(proj.any(col - 3, row - 3, col + 3, row + 3, red));
}

TEST_F(PadTest, HundredAndFirstPointIsRefusedButEverythingRefreshes) {
  for (int i = 0; i < 100; ++i) right_click(40 + 4 * i, 100 + (i % 7) * 40);
  ASSERT_EQ(edited_curve->point_count, 100);
  gl_take_redisplays();
  pad_mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 270, 270);
  EXPECT_EQ(edited_curve->point_count, 100);
  EXPECT_EQ(lifted_curve->point_count, 100);
  const std::vector<int> ids = gl_take_redisplays();
  EXPECT_TRUE(posted(ids, window_table.win_knots.id));
  EXPECT_TRUE(posted(ids, window_table.win_pad.id));
  EXPECT_TRUE(posted(ids, window_table.win_panel.id));
  EXPECT_TRUE(posted(ids, window_table.win_projection.id));
}

TEST_F(PadTest, PressPicksWithinEightPixelsAndTheLowerIndexWins) {
  right_click(200, 300);  // pixel (200, 241)
  right_click(205, 300);  // pixel (205, 241)
  edited_curve->points[0].w = 1.5;
  edited_curve->points[1].w = 2.5;

  press(GLUT_LEFT_BUTTON, 208, 292);  // 8 from point 0, 3 from point 1
  EXPECT_EQ(picked_point, 0);
  EXPECT_EQ(edited_curve->selected[0], 0);
  EXPECT_EQ(selection_count, 1);
  EXPECT_EQ(pad_mode, 3);
  EXPECT_FLOAT_EQ(weight_slider.value, 1.5f);
  release(GLUT_LEFT_BUTTON, 208, 292);

  press(GLUT_LEFT_BUTTON, 213, 300);  // 13 from point 0, 8 from point 1
  EXPECT_EQ(picked_point, 1);
  EXPECT_FLOAT_EQ(weight_slider.value, 2.5f);

  for (auto [x, y] : {std::pair{214, 300}, {191, 300}, {200, 309}, {200, 291}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    press(GLUT_LEFT_BUTTON, x, y);  // 9 pixels from the nearest point
    EXPECT_EQ(picked_point, -1);
    EXPECT_EQ(edited_curve->selected[0], 1) << "a miss keeps the selection";
    EXPECT_EQ(pad_mode, 3);
  }
  press(GLUT_LEFT_BUTTON, 200, 292);
  EXPECT_EQ(picked_point, 0);
}

TEST_F(PadTest, MiddlePressSelectsWithoutDragging) {
  right_click(200, 300);
  right_click(350, 200);
  const ControlPoint before = edited_curve->points[0];
  press(GLUT_MIDDLE_BUTTON, 201, 301);
  EXPECT_EQ(edited_curve->selected[0], 0);
  EXPECT_EQ(pad_mode, 2);
  pad_motion(231, 281);
  EXPECT_EQ(edited_curve->points[0].x, before.x);
  EXPECT_EQ(edited_curve->points[0].y, before.y);
  release(GLUT_MIDDLE_BUTTON, 231, 281);
  const Pixels p = pad_picture();
  EXPECT_GT(p.count(199, 240, 201, 242, palette_rgba(PAL_SELECTED_POINT)), 0);
}

TEST_F(PadTest, LeftDragMovesByThePointerMotionAndStopsAtTheEdge) {
  right_click(300, 300);
  right_click(520, 200);  // x = 250 * 6 / 541 = 2.7726
  const ControlPoint start = edited_curve->points[0];
  press(GLUT_LEFT_BUTTON, 300, 300);
  pad_motion(330, 315);  // 30 right, 15 down
  pad_motion(340, 315);  // 10 more right
  release(GLUT_LEFT_BUTTON, 340, 315);
  EXPECT_NEAR(edited_curve->points[0].x, start.x + 40 * PAD_UNIT, 1e-9);
  EXPECT_NEAR(edited_curve->points[0].y, start.y - 15 * PAD_UNIT, 1e-9);
  EXPECT_NEAR(lifted_curve->points[0].x, edited_curve->points[0].x, 1e-9);

  const ControlPoint edge = edited_curve->points[1];
  press(GLUT_LEFT_BUTTON, 520, 200);
  ASSERT_EQ(picked_point, 1);
  pad_motion(550, 200);  // 2.7726 + 0.3327 would pass 3
  EXPECT_EQ(edited_curve->points[1].x, edge.x);
  pad_motion(540, 200);  // from the last step: 10 pixels back
  EXPECT_NEAR(edited_curve->points[1].x, edge.x - 10 * PAD_UNIT, 1e-9);
}

TEST_F(PadTest, ShiftExtendsTheSelectionUpToTwentyWithRealInput) {
  // 21 points on a zigzag, 20 pixels apart.
  auto px = [](int i) { return 40 + 22 * i; };
  auto py = [](int i) { return 150 + (i % 2) * 30; };
  for (int i = 0; i < 21; ++i) right_click(px(i), py(i));
  edited_curve->points[0].w = 3.0;

  real_click(px(3), py(3));
  EXPECT_EQ(selection_count, 1);
  EXPECT_EQ(edited_curve->selected[0], 3);
  real_click(px(0), py(0), {XK_Shift_L});
  ASSERT_EQ(selection_count, 2);
  EXPECT_EQ(edited_curve->selected[1], 0);
  const Pixels p = pad_picture();
  const Rgba chosen = palette_rgba(PAL_SELECTED_POINT);
  EXPECT_GT(p.count(px(3) - 1, PAD - py(3) - 1, px(3) + 1, PAD - py(3) + 1, chosen), 0);
  EXPECT_GT(p.count(px(0) - 4, PAD - py(0) - 4, px(0) + 4, PAD - py(0) + 4, chosen), 0);
  EXPECT_EQ(p.count(px(5) - 1, PAD - py(5) - 1, px(5) + 1, PAD - py(5) + 1, chosen), 0);

  // Shift on a point already selected: nothing changes, nothing is redrawn.
  gl_take_redisplays();
  real_button(px(0), py(0), 1, true, {XK_Shift_L});
  EXPECT_TRUE(gl_take_redisplays().empty());
  EXPECT_EQ(selection_count, 2);
  real_button(px(0), py(0), 1, false);

  // Shift with control replaces the selection like a plain press.
  real_click(px(4), py(4), {XK_Shift_L, XK_Control_L});
  EXPECT_EQ(selection_count, 1);
  EXPECT_EQ(edited_curve->selected[0], 4);

  for (int i = 0; i < 20; ++i)
    if (i != 4) real_click(px(i), py(i), {XK_Shift_L});
  ASSERT_EQ(selection_count, 20);
  real_click(px(20), py(20), {XK_Shift_L});  // the list is full
  EXPECT_EQ(selection_count, 20);
  EXPECT_EQ(picked_point, 20);
  for (int e = 0; e < 20; ++e) EXPECT_NE(edited_curve->selected[e], 20);
  EXPECT_EQ(edited_curve->selected[0], 4);
  EXPECT_FLOAT_EQ(weight_slider.value, 1.0f);
}

}  // namespace
