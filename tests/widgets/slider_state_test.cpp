// Slider behaviour without drawing: arrow steps, thumb grab, snapping drags,
// end stops and the piecewise map. Expected numbers are worked out by hand.
#include "widgets/slider.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr int LEFT = 0, RIGHT = 2, DOWN = 0, UP = 1;  // GLUT button and state codes
constexpr int UP_ARROW_Y = 570;                       // y1 + 10
constexpr int DOWN_ARROW_Y = 563;                     // y1 + 3
constexpr int ARROW_X = 205;                          // x2 - 15
constexpr int BODY_Y = 565;

// The control panel's weight slider as it starts: x 0..220, y1 560, range -3..10, step 0.1.
class SliderState : public ::testing::Test {
 protected:
  Slider s = {0, 560, 220, 576,  0, -3.0f, 10.0f, 0.1f, 0.0f, "%5.2f", 0,
              0, 0,   0,   0.0f, 0, 0,     0,     0,    0,    0};

  void press(int x, int y) { slider_mouse(&s, LEFT, DOWN, x, y); }
  void release() { slider_mouse(&s, LEFT, UP, 0, 0); }
  void drag(int x) {
    s.changed = 1;
    slider_drag(&s, x, 0);
  }
  std::string text(float v) const {
    char buffer[SLIDER_TEXT_SIZE];
    std::snprintf(buffer, sizeof buffer, s.format, static_cast<double>(v));
    return buffer;
  }
};

TEST_F(SliderState, ValueToPixelFollowsTrackLength) {
  // L = 220 - 50 = 170; x = (v + 3) / 13 * 170 + 25.
  EXPECT_EQ(slider_thumb_x(&s, 0.0f), 64);  // 39.23 + 25
  EXPECT_EQ(slider_thumb_x(&s, 1.0f), 77);  // 52.31 + 25
  EXPECT_EQ(slider_thumb_x(&s, -3.0f), 25);
  EXPECT_EQ(slider_thumb_x(&s, 10.0f), 195);
}

TEST_F(SliderState, ArrowsStepAndStopAtBothEnds) {
  s.value = 10.0f;
  press(ARROW_X, UP_ARROW_Y);
  EXPECT_EQ(s.value, 10.0f);
  EXPECT_EQ(s.thumb_x, 195);
  EXPECT_EQ(s.up_pressed, 1);
  release();
  EXPECT_EQ(s.up_pressed, 0);

  s.value = -3.0f;
  press(ARROW_X, DOWN_ARROW_Y);
  EXPECT_EQ(s.value, -3.0f);
  EXPECT_EQ(s.thumb_x, 25);
  EXPECT_EQ(s.down_pressed, 1);
  release();
  EXPECT_EQ(s.down_pressed, 0);

  // An arrow click leaves `changed` to the owner, whatever it was.
  s.value = 1.0f;
  s.changed = 1;
  press(ARROW_X, UP_ARROW_Y);
  EXPECT_FLOAT_EQ(s.value, 1.1f);
  EXPECT_EQ(text(s.value), " 1.10");
  EXPECT_EQ(s.changed, 1);
  release();
  EXPECT_EQ(s.changed, 0);
  press(ARROW_X, DOWN_ARROW_Y);
  EXPECT_FLOAT_EQ(s.value, 1.0f);
  EXPECT_EQ(s.changed, 0);
}

TEST_F(SliderState, RowBetweenArrowsChangesNothing) {
  s.value = 2.0f;
  s.changed = 1;
  press(ARROW_X, 568);  // y1 + 8
  EXPECT_EQ(s.value, 2.0f);
  EXPECT_EQ(s.changed, 0);
  EXPECT_EQ(s.up_pressed + s.down_pressed, 0);
}

TEST_F(SliderState, ThumbGrabReachesEightPixelsOnly) {
  s.thumb_x = 64;
  s.changed = 1;
  press(64 + 9, BODY_Y);
  press(64 - 9, BODY_Y);
  EXPECT_EQ(s.dragging, 0);
  EXPECT_EQ(s.changed, 1);  // a press on the track is ignored, not refused
  press(64 + 8, BODY_Y);
  EXPECT_EQ(s.dragging, 1);
  EXPECT_EQ(s.drag_x, 72);
  release();
  press(64 - 8, BODY_Y);
  EXPECT_EQ(s.dragging, 1);
  release();
  s.changed = 1;
  press(21, BODY_Y);  // x1 + 21: dead end of the body
  EXPECT_EQ(s.changed, 0);
  s.changed = 1;
  slider_mouse(&s, RIGHT, DOWN, 64, BODY_Y);
  EXPECT_EQ(s.changed, 0);
  EXPECT_EQ(s.dragging, 0);
}

TEST_F(SliderState, DragSnapsValueButNotThumb) {
  s.thumb_x = 64;
  press(64, BODY_Y);
  drag(70);
  // d = 45 * 13 / 170 = 3.441, k = trunc(34.41 + 0.5) = 34, value = -3 + 3.4.
  EXPECT_NEAR(s.value, 0.4f, 1e-5f);
  EXPECT_EQ(text(s.value), " 0.40");
  EXPECT_EQ(s.thumb_x, 70);
  EXPECT_EQ(s.changed, 1);
  EXPECT_EQ(slider_thumb_x(&s, s.value), 69);  // 3.4 / 13 * 170 + 25 = 69.46
}

TEST_F(SliderState, EndStopsHoldThumbAndTurnBackAtOnce) {
  s.thumb_x = 64;
  press(64, BODY_Y);
  drag(400);
  EXPECT_EQ(s.thumb_x, 195);
  EXPECT_EQ(text(s.value), "10.00");
  drag(390);  // thumb 185: d = 160 * 13 / 170 = 12.235, k = 122
  EXPECT_EQ(s.thumb_x, 185);
  EXPECT_NEAR(s.value, 9.2f, 1e-4f);
  drag(-500);
  EXPECT_EQ(s.thumb_x, 25);
  EXPECT_EQ(s.value, -3.0f);
  drag(-490);  // thumb 35: d = 10 * 13 / 170 = 0.765, k = 8
  EXPECT_EQ(s.thumb_x, 35);
  EXPECT_NEAR(s.value, -2.2f, 1e-5f);
  release();
  drag(100);
  EXPECT_EQ(s.changed, 0);
  EXPECT_EQ(s.thumb_x, 35);
}

TEST_F(SliderState, MapRunsBothWaysAndOnlyWhenMapped) {
  s.inner_scale = 10;
  s.outer_slope = 2;
  s.value = 0.5f;
  slider_map(&s, 1);
  EXPECT_EQ(s.shown, 0.0f);  // not mapped: nothing happens
  s.mapped = 1;
  const float values[] = {0.5f, -2.0f, 3.0f};
  const float shown[] = {5.0f, -12.0f, 14.0f};  // 10 * 0.5; (-1) * 2 - 10; 2 * 2 + 10
  for (int i = 0; i < 3; ++i) {
    s.value = values[i];
    slider_map(&s, 1);
    EXPECT_FLOAT_EQ(s.shown, shown[i]);
    s.value = 99.0f;
    slider_map(&s, 0);
    EXPECT_FLOAT_EQ(s.value, values[i]);
  }
  s.inner_scale = 0;
  s.outer_slope = 0;
  s.shown = 0.0f;
  slider_map(&s, 0);
  EXPECT_EQ(s.value, 0.0f);  // a flat map gives no division by zero
  s.shown = 3.0f;
  slider_map(&s, 0);
  EXPECT_EQ(s.value, 1.0f);
}

}  // namespace
