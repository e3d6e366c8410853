// About window: the text at its rows, blank lines as gaps, and the
// "Dismiss" button hiding the window at the release after a press on it.
#include "support/gl_app.h"

#include "app/shell.h"
#include "windows/about.h"

#include <GL/freeglut.h>

#include <string>
#include <vector>

namespace {

const Rgba BLACK = {0, 0, 0, 255};

class AboutTest : public GlAppTest {
 protected:
  void SetUp() override {
    btn_dismiss.state = 0;
    glutSetWindow(window_table.win_about.id);
    glutShowWindow();
    gl_pump(100);
  }
  void TearDown() override {
    btn_dismiss.state = 0;
    glutSetWindow(window_table.win_about.id);
    glutHideWindow();
    gl_pump(50);
  }
  static bool shown() {
    gl_pump(100);
    return gl_window_viewable(window_table.win_about.id);
  }
  // Mouse y as GLUT gives it: rows from the top.
  static void mouse(int button, int state, int x, int glut_y) {
    glutSetWindow(window_table.win_about.id);
    about_mouse(button, state, x, glut_y);
  }
  static int height() { return window_table.win_about.height; }
};

TEST_F(AboutTest, TextLinesSitEveryTwentyRowsFromTheTop) {
  std::vector<std::string> lines;
  std::string line;
  for (const char* c = about_text; *c; ++c) {
    if (*c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += *c;
    }
  }
  ASSERT_GE(lines.size(), 3u);
  const Pixels p = gl_capture(window_table.win_about.id, about_display);
  int blank_lines = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    // 9x15 glyphs reach about 3 rows below and 10 above their baseline.
    const int baseline = height() - 20 - 20 * static_cast<int>(k);
    const int chars = static_cast<int>(lines[k].size());
    const int right = 10 + 9 * (chars > 0 ? chars : 1);
    const bool inked = p.any(10, baseline - 1, right, baseline + 8, BLACK);
    EXPECT_EQ(inked, lines[k].find_first_not_of(' ') != std::string::npos) << "line " << k;
    if (chars == 0) ++blank_lines;
  }
  EXPECT_GT(blank_lines, 0);
  EXPECT_FALSE(p.any(0, 0, 9, height() - 1, BLACK));
}

TEST_F(AboutTest, DismissHidesAtTheReleaseWhereverItIs) {
  mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 650, height() - 13);
  EXPECT_EQ(btn_dismiss.state, 1);
  EXPECT_TRUE(shown());
  gl_take_redisplays();
  mouse(GLUT_LEFT_BUTTON, GLUT_UP, 20, 20);
  EXPECT_TRUE(gl_take_redisplays().empty());
  EXPECT_EQ(btn_dismiss.state, 0);
  EXPECT_FALSE(shown());
}

TEST_F(AboutTest, OtherPressesOnlyRedraw) {
  gl_take_redisplays();
  mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
  mouse(GLUT_LEFT_BUTTON, GLUT_UP, 300, 300);
  EXPECT_EQ(gl_take_redisplays(), std::vector<int>(2, window_table.win_about.id));
  for (int button : {GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
    mouse(button, GLUT_DOWN, 650, height() - 13);
    mouse(button, GLUT_UP, 650, height() - 13);
  }
  EXPECT_EQ(btn_dismiss.state, 0);
  EXPECT_TRUE(shown());
}

TEST_F(AboutTest, ButtonTopEdgeCountsByTheHeightAlone) {
  // y = H - glut_y: H - 21 gives row 21, the top edge; H - 22 gives row 22.
  mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 650, height() - 22);
  EXPECT_EQ(btn_dismiss.state, 0);
  mouse(GLUT_LEFT_BUTTON, GLUT_UP, 650, height() - 22);
  EXPECT_TRUE(shown());
  mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 650, height() - 21);
  EXPECT_EQ(btn_dismiss.state, 1);
}

}  // namespace
