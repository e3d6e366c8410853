// The shell on the real windows: redisplay by code, the state left by
// start-up, and the windows' ids, sizes and visibility.
#include "app/shell.h"
#include "support/gl_app.h"

#include <GL/freeglut.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int ABOUT_LINES = 32;
constexpr int ABOUT_LINE_MAX = 74;  // characters, line feed not counted

class ShellTest : public GlAppTest {};

// Runs redisplay from inside `caller` and returns the windows it posted to.
std::vector<int> posts_from(int caller, const char* codes) {
  glutSetWindow(caller);
  gl_take_redisplays();
  redisplay(codes);
  return gl_take_redisplays();
}

TEST_F(ShellTest, RedisplayPostsToEachNamedWindowInOrderAndKeepsTheCallerCurrent) {
  const WindowTable& t = window_table;
  int caller = t.win_panel.id;

  EXPECT_EQ(posts_from(caller, "12S"),
            (std::vector<int>{t.win_knots.id, t.win_pad.id, t.win_projection.id}));
  EXPECT_EQ(glutGetWindow(), caller);

  EXPECT_EQ(posts_from(caller, "S12"),
            (std::vector<int>{t.win_projection.id, t.win_knots.id, t.win_pad.id}));
  EXPECT_EQ(
      posts_from(t.win_pad.id, "23SN"),
      (std::vector<int>{t.win_pad.id, t.win_panel.id, t.win_projection.id, t.win_new_curve.id}));
  EXPECT_EQ(glutGetWindow(), t.win_pad.id);
}

TEST_F(ShellTest, RedisplaySkipsCharactersThatNameNoWindow) {
  const WindowTable& t = window_table;
  int caller = t.win_knots.id;

  EXPECT_TRUE(posts_from(caller, "").empty());
  EXPECT_TRUE(posts_from(caller, "x0s4n 9").empty());
  EXPECT_EQ(glutGetWindow(), caller);
  EXPECT_EQ(posts_from(caller, "1x3"), (std::vector<int>{t.win_knots.id, t.win_panel.id}));
  EXPECT_EQ(glutGetWindow(), caller);
}

TEST_F(ShellTest, StartUpLeavesBlueEditedAndRedLiftedCurvesEmptyAndClamped) {
  ASSERT_NE(edited_curve, nullptr);
  ASSERT_NE(lifted_curve, nullptr);
  ASSERT_NE(knot_list_curve, nullptr);
  EXPECT_EQ(edited_curve->kind, 3);
  EXPECT_EQ(lifted_curve->kind, 2);
  EXPECT_EQ(knot_list_curve->kind, 3);
  for (const Curve* c : {edited_curve, lifted_curve}) {
    EXPECT_EQ(c->knot_type, 302);
    EXPECT_EQ(c->degree, 2);
    EXPECT_EQ(c->point_count, 0);
    EXPECT_EQ(c->knot_count, 0);
  }
  const float blue[4] = {0, 0, 1, 1};
  const float red[4] = {1, 0, 0, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(edited_curve->colour[i], blue[i]);
    EXPECT_EQ(lifted_curve->colour[i], red[i]);
    EXPECT_EQ(palette.colours[PAL_CURRENT_CURVE][i], blue[i]);
  }
  EXPECT_EQ(level_colours, &palette.colours[21]);
  EXPECT_NE(sphere_quadric, nullptr);
  EXPECT_NE(axis_quadric, nullptr);
  EXPECT_NE(cone_quadric, nullptr);
}

TEST_F(ShellTest, AboutTextHoldsThirtyTwoShortLinesEachEndedByALineFeed) {
  std::string text = about_text;
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  int lines = 0;
  size_t start = 0;
  for (size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start)) {
    EXPECT_LE(nl - start, static_cast<size_t>(ABOUT_LINE_MAX)) << "line " << lines + 1;
    ++lines;
    start = nl + 1;
  }
  EXPECT_EQ(lines, ABOUT_LINES);
  EXPECT_EQ(start, text.size());
}

TEST_F(ShellTest, SubwindowsReportTheirCreatedSizesAfterTheFirstReshape) {
  const WindowTable& t = window_table;
  const int ids[] = {t.win_main.id,       t.win_knots.id,     t.win_pad.id,  t.win_panel.id,
                     t.win_projection.id, t.win_new_curve.id, t.win_about.id};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_GT(ids[i], 0);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(ids[i], ids[j]);
  }

  struct Expected {
    const WindowEntry& entry;
    int width, height;
  };
  const Expected subwindows[] = {
      {t.win_knots, 641, 541}, {t.win_panel, 641, 615}, {t.win_pad, 541, 541}};
  for (const Expected& e : subwindows) {
    glutSetWindow(e.entry.id);
    EXPECT_EQ(glutGet(GLUT_WINDOW_PARENT), t.win_main.id);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), e.width);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), e.height);
    EXPECT_EQ(e.entry.width, e.width);
    EXPECT_EQ(e.entry.height, e.height);
  }
  // The main window's entry only served its creation, one row shorter.
  EXPECT_EQ(t.win_main.width, 641);
  EXPECT_EQ(t.win_main.height, 615);
  glutSetWindow(t.win_main.id);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 616);
}

TEST_F(ShellTest, OnDemandWindowsExistHiddenWhileTheOthersAreShown) {
  const WindowTable& t = window_table;
  EXPECT_FALSE(gl_window_viewable(t.win_new_curve.id));
  EXPECT_FALSE(gl_window_viewable(t.win_about.id));
  for (int id : {t.win_main.id, t.win_projection.id, t.win_knots.id, t.win_panel.id, t.win_pad.id})
    EXPECT_TRUE(gl_window_viewable(id)) << "window " << id;
}

TEST_F(ShellTest, MainWindowClearsToPanelGreyAndBlendingIsOnWhereCurvesAreDrawn) {
  const WindowTable& t = window_table;
  Pixels main = gl_capture(t.win_main.id, main_display);
  ASSERT_EQ(main.width, 641);
  Rgba grey = rgba_bytes(0.85f, 0.85f, 0.85f);
  EXPECT_EQ(main.count(0, 0, main.width - 1, main.height - 1, grey, 1), main.width * main.height);

  for (int id : {t.win_pad.id, t.win_projection.id}) {
    glutSetWindow(id);
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &src);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &dst);
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "window " << id;
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
  }
}

}  // namespace
