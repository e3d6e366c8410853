// Knot bar behaviour without drawing: step boxes, thumb drags, the knot search
// window, knot group drags that keep the array sorted, the end rule of
// non-uniform vectors, markers and the guards. Numbers worked out by hand from
// Y(v) = trunc(v * 420 + 65) and value = 0.001 * trunc(1000 * (y - 65) / 420).
#include "app/shell.h"
#include "widgets/knot_bar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int LEFT = 0, RIGHT = 2, DOWN = 0, UP = 1;  // GLUT button and state codes
constexpr int KNOT_X = 50;                            // x1 + 10, left of the thumb column
constexpr int THUMB_X = 58;                           // x1 + 18
constexpr int MARKER_X = 65;                          // x1 + 25

class KnotBarState : public ::testing::Test {
 protected:
  KnotBar bar = knot_bar;  // the initial record: x1 40, y 50..500, [0, 1], step 0.001
  std::vector<float> knots;
  Curve curve{};
  Curve* saved_curve = nullptr;

  void SetUp() override {
    saved_curve = edited_curve;
    curve.knot_type = KNOT_CLAMPED;
    edited_curve = &curve;
  }
  void TearDown() override { edited_curve = saved_curve; }

  void use(std::vector<float> values) {
    knots = std::move(values);
    bar.knots = knots.data();
    bar.knot_count = static_cast<int>(knots.size());
  }
  void press(int x, int y) {
    bar.changed = 1;
    knot_bar_mouse(&bar, LEFT, DOWN, x, y);
  }
  void release() {
    bar.changed = 1;
    knot_bar_mouse(&bar, LEFT, UP, 0, 0);
  }
  void drag(int y, int x = KNOT_X) {
    bar.changed = 1;
    knot_bar_drag(&bar, x, y);
  }
};

TEST_F(KnotBarState, ValueToPixelSpansTheAxis) {
  EXPECT_EQ(knot_bar_y(&bar, 0.5f), 275);
  EXPECT_EQ(knot_bar_y(&bar, 0.001f), 65);  // 0.42 + 65
  EXPECT_EQ(knot_bar_y(&bar, 0.0f), 65);
  EXPECT_EQ(knot_bar_y(&bar, 1.0f), 485);
}

TEST_F(KnotBarState, StepBoxesStepAndClamp) {
  bar.value = 1.0f;
  press(KNOT_X, 495);  // "Up" box: y2 - 10 .. y2
  EXPECT_EQ(bar.value, 1.0f);
  EXPECT_EQ(bar.thumb_y, 485);
  bar.value = 0.0f;
  press(KNOT_X, 55);  // "Dn" box: y1 .. y1 + 10
  EXPECT_EQ(bar.value, 0.0f);
  press(45, 495);
  EXPECT_FLOAT_EQ(bar.value, 0.001f);
  EXPECT_EQ(bar.thumb_y, 65);
  EXPECT_EQ(bar.changed, 1);  // step boxes leave it to the host
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  press(KNOT_X, 61);  // dead zone between the box and the axis
  EXPECT_EQ(bar.changed, 0);
}

TEST_F(KnotBarState, ThumbDragRoundsValueAndStopsAtEnds) {
  bar.thumb_y = 65;
  press(THUMB_X, 65 + 9);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  press(THUMB_X, 65 + 8);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_THUMB);
  drag(73 + 21);
  EXPECT_EQ(bar.thumb_y, 86);
  EXPECT_NEAR(bar.value, 0.05f, 1e-6f);  // 21 / 420 = 0.05
  EXPECT_EQ(bar.changed, 1);
  drag(5000);
  EXPECT_EQ(bar.thumb_y, 485);
  EXPECT_EQ(bar.value, 1.0f);
  drag(4990);  // turns back at once: 475, trunc(1000 * 410 / 420 + 0.5) = trunc(976.7)
  EXPECT_EQ(bar.thumb_y, 475);
  EXPECT_NEAR(bar.value, 0.976f, 1e-6f);
  drag(-5000);
  EXPECT_EQ(bar.thumb_y, 65);
  EXPECT_EQ(bar.value, 0.0f);
}

TEST_F(KnotBarState, SearchWindowTakesFirstKnotWithItsGroup) {
  use({0, 0, 0, 0.3f, 0.6f, 1, 1, 1});
  press(KNOT_X, 317);  // Y(0.6) = 317
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_KNOT);
  EXPECT_EQ(bar.drag_index, 4);
  EXPECT_EQ(bar.drag_mult, 1);
  release();
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  EXPECT_EQ(bar.changed, 0);
  press(KNOT_X, 65);
  EXPECT_EQ(bar.drag_index, 0);
  EXPECT_EQ(bar.drag_mult, 3);
  release();
  press(KNOT_X, 485);  // window [0.992, 1]: the group at the end of the array
  EXPECT_EQ(bar.drag_index, 5);
  EXPECT_EQ(bar.drag_mult, 3);
  release();
  press(KNOT_X, 325);  // window [0.611, 0.626]: 8 px above 0.6
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  float merged[] = {0.45f};  // Y = 254; only `knots` is searched
  bar.merged_knots = merged;
  bar.merged_count = 1;
  press(KNOT_X, 254);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
}

TEST_F(KnotBarState, KnotDragKeepsArraySorted) {
  use({0, 0, 0, 0.3f, 0.6f, 1, 1, 1});
  press(KNOT_X, 317);
  drag(149);  // 84 / 420 = 0.2
  const float expected[] = {0, 0, 0, 0.2f, 0.3f, 1, 1, 1};
  for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(knots[i], expected[i]) << i;
  EXPECT_EQ(bar.drag_index, 3);
  EXPECT_EQ(bar.changed, 1);
  drag(66);
  EXPECT_FLOAT_EQ(knots[3], 0.002f);  // 1000 / 420 = 2.38
  drag(484);                          // passes 0.3 on the way up
  EXPECT_FLOAT_EQ(knots[4], 0.997f);  // 419000 / 420 = 997.6
  EXPECT_FLOAT_EQ(knots[3], 0.3f);
  EXPECT_EQ(bar.drag_index, 4);

  // Pressed 3 px above 0.5995 (Y 316), one pixel down already lands past 0.601:
  // the group must still step over its neighbour.
  use({0.3f, 0.5995f, 0.601f});
  press(KNOT_X, 319);
  ASSERT_EQ(bar.drag_index, 1);
  drag(318);  // 253 / 420 = 0.6024
  EXPECT_FLOAT_EQ(knots[1], 0.601f);
  EXPECT_FLOAT_EQ(knots[2], 0.602f);
  EXPECT_EQ(bar.drag_index, 2);
}

TEST_F(KnotBarState, RangeEndsOnlyForUniformVectors) {
  use({0, 0, 0, 0.5f, 1, 1, 1});
  press(KNOT_X, 275);
  drag(40);  // clamps to 65: value exactly 0
  drag(485);
  EXPECT_EQ(knots[3], 0.5f);
  EXPECT_EQ(bar.last_y, 275);  // dropped events leave the reference alone
  drag(65);
  EXPECT_EQ(knots[3], 0.5f);
  bar.knot_type = KNOT_UNIFORM;
  drag(65);
  EXPECT_EQ(knots[3], 0.0f);
  drag(485);
  EXPECT_EQ(knots[3], 1.0f);
  EXPECT_EQ(bar.drag_index, 3);
}

TEST_F(KnotBarState, KnotOutsideValidRangeCannotBeTaken) {
  use({0, 0, 0, 0.5f, 1, 1, 1});
  bar.lo = 0.2f;
  bar.hi = 0.8f;
  press(KNOT_X, 65);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  // The first knot of the window decides, even when a later one lies inside.
  use({0.099f, 0.1f, 0.5f});
  bar.lo = 0.1f;
  press(KNOT_X, 107);  // Y(0.1) = 107, window [0.092, 0.107]
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  use({0.3f, 0.5f});
  press(KNOT_X, 275);
  ASSERT_EQ(bar.drag_mode, KNOT_BAR_KNOT);
  drag(485);  // 1.0 lies above hi: nothing moves, the reference still follows
  EXPECT_EQ(knots[1], 0.5f);
  EXPECT_EQ(bar.last_y, 485);
}

TEST_F(KnotBarState, OnlyLeftReleaseEndsDrag) {
  bar.thumb_y = 200;
  press(THUMB_X, 200);
  press(300, 200);  // outside the bar
  EXPECT_EQ(bar.changed, 0);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_THUMB);
  bar.changed = 1;
  knot_bar_mouse(&bar, RIGHT, DOWN, THUMB_X, 200);
  EXPECT_EQ(bar.changed, 0);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_THUMB);
  release();
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  EXPECT_EQ(bar.changed, 0);
  drag(300);
  EXPECT_EQ(bar.changed, 0);
  EXPECT_EQ(bar.thumb_y, 200);
}

TEST_F(KnotBarState, MarkersMoveStrictlyInsideRange) {
  float markers[] = {0.5f, 0.5f};
  bar.markers = markers;
  bar.marker_count = 2;
  press(MARKER_X, 275);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_MARKER);
  EXPECT_EQ(bar.marker_index, 1);  // the last match wins
  drag(149);
  EXPECT_FLOAT_EQ(markers[1], 0.2f);
  drag(65);
  EXPECT_FLOAT_EQ(markers[1], 0.2f);
  EXPECT_EQ(markers[0], 0.5f);
}

TEST_F(KnotBarState, StaleOrMissingArraysAreNeverTouched) {
  bar.knots = nullptr;
  bar.knot_count = 5;
  bar.markers = nullptr;
  bar.marker_count = 3;
  press(KNOT_X, 275);
  press(MARKER_X, 275);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  // The host's vector shrinks while a group near its end is held.
  use({0, 0.3f, 0.6f, 1});
  press(KNOT_X, 317);
  ASSERT_EQ(bar.drag_index, 2);
  use({0, 1});
  drag(149);
  EXPECT_EQ(bar.drag_mode, KNOT_BAR_NONE);
  EXPECT_EQ(bar.changed, 0);
  EXPECT_EQ(knots[1], 1.0f);
}

}  // namespace
