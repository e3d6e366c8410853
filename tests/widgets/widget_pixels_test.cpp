// Widgets drawn into a test window of their own (viewport and gluOrtho2D over
// its pixels): button frames, check marks, group frames, text blocks, the
// slider and the knot bar, read back pixel by pixel; plus the colour each
// primitive leaves current.
#include "support/gl_app.h"
#include "widgets/button.h"
#include "widgets/knot_bar.h"
#include "widgets/slider.h"

#include <GL/freeglut.h>

#include <vector>

namespace {

constexpr int WIN_W = 300, WIN_H = 620;  // px; tall enough for the knot bar and the slider
constexpr float BACKGROUND[4] = {0.2f, 0.4f, 0.6f, 1.0f};
constexpr float BLACK[4] = {0.0f, 0.0f, 0.0f, 1.0f};

const Rgba WHITE_PX = rgba_bytes(1, 1, 1);
const Rgba GREY_PX = rgba_from_float(SHADOW_GREY);
const Rgba RED_PX = rgba_bytes(1, 0, 0);
const Rgba BLACK_PX = rgba_bytes(0, 0, 0);
const Rgba PURPLE_PX = rgba_bytes(0.5f, 0.07f, 0.5f);
const Rgba GREEN_PX = rgba_bytes(0, 0.5f, 0);
const Rgba THUMB_PX = rgba_bytes(0.5f, 0.5f, 0.5f);

int window_id = 0;
bool reshaped = false;
void (*scene)() = nullptr;  // what the test window's display draws

void test_reshape(int w, int h) {
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, w, 0, h);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  reshaped = true;
}

void test_display() {
  glClearColor(BACKGROUND[0], BACKGROUND[1], BACKGROUND[2], BACKGROUND[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4fv(BLACK);
  if (scene != nullptr) scene();
  glutSwapBuffers();
}

class WidgetPixels : public GlAppTest {
 protected:
  static void SetUpTestSuite() {
    GlAppTest::SetUpTestSuite();
    if (window_id != 0) return;
    glutInitWindowPosition(1050, 20);
    glutInitWindowSize(WIN_W, WIN_H);
    window_id = glutCreateWindow("widget test");
    glutReshapeFunc(test_reshape);
    glutDisplayFunc(test_display);
    for (int i = 0; i < 200 && !reshaped; ++i) gl_pump(10);
    ASSERT_TRUE(reshaped);
  }
  Pixels draw(void (*what)()) {
    scene = what;
    return gl_capture(window_id, test_display);
  }
  // Current colour after running `what` in the test window, as bytes.
  static Rgba colour_after(void (*what)()) {
    glutSetWindow(window_id);
    glColor4f(0.1f, 0.2f, 0.3f, 1.0f);
    what();
    float c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    return rgba_from_float(c);
  }
};

bool same(Rgba a, Rgba b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

Button push = {50, 50, 150, 72, " Push", GLUT_BITMAP_HELVETICA_12, 0};
Button check = {50, 100, 150, 120, "Show", GLUT_BITMAP_HELVETICA_12, 1};

TEST_F(WidgetPixels, ButtonFrameShowsStateOnItsEdges) {
  for (unsigned char state : {0, 1}) {
    push.state = state;
    Pixels p = draw([] { button_draw(&push); });
    const Rgba lit = state ? GREY_PX : WHITE_PX;
    const Rgba shade = state ? WHITE_PX : GREY_PX;
    SCOPED_TRACE(state ? "pressed" : "released");
    EXPECT_TRUE(p.any(149, 55, 151, 67, shade));  // right edge
    EXPECT_FALSE(p.any(149, 55, 151, 67, lit));
    EXPECT_TRUE(p.any(60, 49, 140, 51, shade));  // bottom edge
    EXPECT_TRUE(p.any(49, 55, 51, 67, lit));     // left edge
    EXPECT_FALSE(p.any(49, 55, 51, 67, shade));
    EXPECT_TRUE(p.any(60, 71, 140, 73, lit));  // top edge
    EXPECT_TRUE(p.any(60, 73, 140, 74, BLACK_PX));
    EXPECT_TRUE(same(colour_after([] { button_draw(&push); }), shade));
  }
}

TEST_F(WidgetPixels, CheckedBoxShowsRedMarkPastItsSquare) {
  check.state = 1;
  Pixels p = draw([] { checkbox_draw(&check); });
  EXPECT_TRUE(p.any(52, 104, 60, 114, RED_PX));
  EXPECT_TRUE(p.any(61, 111, 65, 115, RED_PX));  // the long stroke leaves the square
  EXPECT_TRUE(p.any(50, 104, 60, 106, GREY_PX) || p.any(50, 104, 60, 106, BLACK_PX));
  EXPECT_TRUE(same(colour_after([] { checkbox_draw(&check); }), RED_PX));
  check.state = 0;
  p = draw([] { checkbox_draw(&check); });
  EXPECT_FALSE(p.any(45, 95, 70, 125, RED_PX));
  EXPECT_TRUE(same(colour_after([] { checkbox_draw(&check); }), rgba_bytes(0.1f, 0.2f, 0.3f)));
}

TEST_F(WidgetPixels, GroupFrameLeavesTopEdgeOpen) {
  Pixels p = draw([] { draw_group_frame(" Weight", 30, 200, 230, 260, GLUT_BITMAP_HELVETICA_12); });
  EXPECT_FALSE(p.any(30 + 11, 258, 230 - 16, 261, GREY_PX));
  EXPECT_FALSE(p.any(30 + 11, 258, 230 - 16, 261, WHITE_PX));
  EXPECT_TRUE(p.any(31, 259, 39, 261, GREY_PX));
  EXPECT_TRUE(p.any(216, 259, 229, 261, GREY_PX));
  EXPECT_TRUE(p.any(29, 210, 31, 250, GREY_PX));   // left: grey outside ...
  EXPECT_TRUE(p.any(30, 210, 32, 250, WHITE_PX));  // ... white inside
  EXPECT_TRUE(p.any(230, 210, 232, 250, WHITE_PX));
  EXPECT_TRUE(p.any(44, 250, 100, 270, BLACK_PX));  // the title, in the caller's colour
}

TEST_F(WidgetPixels, TextBlockKeepsEmptyLinesAndDropsTrailingNewline) {
  const int y = 400, line = 20;
  Pixels p = draw([] { draw_text_block("H\n\nH\n", 100, 400, 20, GLUT_BITMAP_HELVETICA_12); });
  EXPECT_TRUE(p.any(100, y, 110, y + 9, BLACK_PX));
  EXPECT_FALSE(p.any(90, y - line - 3, 130, y - line + 9, BLACK_PX));
  EXPECT_TRUE(p.any(100, y - 2 * line, 110, y - 2 * line + 9, BLACK_PX));
  EXPECT_FALSE(p.any(90, y - 3 * line - 3, 130, y - 3 * line + 9, BLACK_PX));
}

TEST_F(WidgetPixels, PrimitivesLeaveDocumentedColour) {
  const Rgba before = rgba_bytes(0.1f, 0.2f, 0.3f);
  EXPECT_TRUE(same(colour_after([] { draw_raised_box(1, 1, 9, 9); }), before));
  EXPECT_TRUE(same(colour_after([] { draw_sunken_box(1, 1, 9, 9); }), before));
  EXPECT_TRUE(same(colour_after([] { draw_check_square(1, 1, 9, 9); }), before));
  EXPECT_TRUE(
      same(colour_after([] { draw_labelled_box(1, 1, 9, 9, "Up", GLUT_BITMAP_TIMES_ROMAN_10); }),
           before));
  EXPECT_TRUE(same(colour_after([] { draw_frame_released(1, 1, 9, 9); }), GREY_PX));
  EXPECT_TRUE(same(colour_after([] { draw_frame_pressed(1, 1, 9, 9); }), WHITE_PX));
  EXPECT_TRUE(same(colour_after([] { draw_check_mark(1, 1, 9, 9); }), RED_PX));
  EXPECT_TRUE(same(colour_after([] { draw_group_frame("", 1, 1, 40, 40, nullptr); }), WHITE_PX));
  glutSetWindow(window_id);
  EXPECT_EQ(flip_y(0), WIN_H - 1);
  EXPECT_EQ(flip_y(74), WIN_H - 75);
}

Slider slider = {0, 560, 220, 576,  0, -3.0f, 10.0f, 0.1f, 5.0f, "%5.2f", 0,
                 0, 0,   0,   0.0f, 0, 0,     0,     0,    0,    0};

TEST_F(WidgetPixels, SliderThumbAndArrowsFromFirstDraw) {
  Pixels p = draw([] { slider_draw(&slider); });
  EXPECT_NE(slider.arrow_list, 0u);
  EXPECT_TRUE(p.any(202, 572, 208, 575, BLACK_PX));  // increase arrow
  EXPECT_TRUE(p.any(202, 561, 208, 565, BLACK_PX));  // decrease arrow
  // 8 / 13 * 170 + 25 = 129.6: the fill spans 124..134, framed by white at 123.
  ASSERT_EQ(slider.thumb_x, 129);
  EXPECT_EQ(p.count(125, 567, 133, 567, THUMB_PX), 9);
  EXPECT_TRUE(p.any(122, 564, 124, 570, WHITE_PX));
  EXPECT_FALSE(p.any(135, 566, 140, 568, THUMB_PX));
  slider.value = -3.0f;
  p = draw([] { slider_draw(&slider); });
  EXPECT_EQ(slider.thumb_x, 25);
  EXPECT_EQ(p.count(22, 567, 28, 567, THUMB_PX), 7);
}

std::vector<float> bar_knots;
KnotBar bar = knot_bar;

TEST_F(WidgetPixels, KnotMarksSitAtTheirPixelsInRangeColours) {
  bar_knots = {0, 0, 0, 0.3f, 0.6f, 1, 1, 1};
  bar.knots = bar_knots.data();
  bar.knot_count = 8;
  bar.lo = 0.25f;
  bar.hi = 0.8f;
  Pixels p = draw([] { knot_bar_draw(&bar, 1); });
  EXPECT_NE(bar.list_id, 0u);
  EXPECT_EQ(p.count(57, 100, 57, 450, RED_PX, 20), 351);  // axis x1 + 17, shown on the first draw
  const int tip = 40 + 11;
  const float inside[] = {0.3f, 0.6f}, outside[] = {0.0f, 1.0f};
  for (float v : inside) {
    const int y = knot_bar_y(&bar, v);  // 191 and 317
    EXPECT_TRUE(p.any(tip, y, tip, y, PURPLE_PX)) << v;
    EXPECT_FALSE(p.any(tip, y + 5, tip, y + 8, PURPLE_PX)) << v;
    EXPECT_TRUE(p.any(7, y - 3, 38, y + 7, BLACK_PX)) << v;  // the label left of the bar
  }
  for (float v : outside)
    EXPECT_TRUE(p.any(tip, knot_bar_y(&bar, v), tip, knot_bar_y(&bar, v), GREEN_PX)) << v;
  EXPECT_FALSE(p.any(48, 70, 56, 180, GREEN_PX));
}

TEST_F(WidgetPixels, NearEqualKnotsMergeIntoOneMark) {
  bar_knots = {0.4999f, 0.5f};
  bar.knots = bar_knots.data();
  bar.knot_count = 2;
  bar.lo = 0.0f;
  bar.hi = 1.0f;
  Pixels p = draw([] { knot_bar_draw(&bar, 1); });
  EXPECT_EQ(bar_knots[0], 0.4999f);
  EXPECT_EQ(bar_knots[1], 0.4999f);
  const int y = knot_bar_y(&bar, 0.4999f);  // 209.96 + 65
  ASSERT_EQ(y, 274);
  EXPECT_TRUE(p.any(51, y, 51, y, PURPLE_PX));
  bar.knots = nullptr;  // a missing list with a count draws nothing
  bar.knot_count = 5;
  p = draw([] { knot_bar_draw(&bar, 1); });
  EXPECT_FALSE(p.any(48, 60, 56, 490, PURPLE_PX));
}

}  // namespace
