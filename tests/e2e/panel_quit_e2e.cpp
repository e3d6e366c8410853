// "  Quit!" through the X server: the program ends with status 0 at the
// release that follows a press on the button, wherever the release happens.
#include "support/e2e.h"

namespace {

constexpr int EXIT_WAIT_MS = 3000;
constexpr int STILL_RUNNING_MS = 400;

// "  Quit!" spans x 398..452, y 550..572 (y up) in the 615-row control panel;
// GLUT's row is 614 - y, and the panel starts at row 541 of the main window.
constexpr int QUIT_X = E2E_PANEL_X + 425;
constexpr int QUIT_Y = E2E_PANEL_Y + 614 - 561;
constexpr int PAD_X = E2E_PAD_X + 200, PAD_Y = E2E_PAD_Y + 200;

class PanelQuitE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.start()) << "ternival did not show its windows";
    main_window = app.find("2D NURBS Curve");
  }
  E2eApp app;
  E2eWindow main_window;
};

TEST_F(PanelQuitE2e, PressAloneKeepsRunningAndTheReleaseEndsWithStatusZero) {
  app.press(main_window, QUIT_X, QUIT_Y, 1);
  app.settle(STILL_RUNNING_MS);
  EXPECT_TRUE(app.running());
  app.release(main_window, QUIT_X, QUIT_Y, 1);
  int status = -1;
  ASSERT_TRUE(app.wait_exit(EXIT_WAIT_MS, &status));
  EXPECT_EQ(status, 0);
}

TEST_F(PanelQuitE2e, ReleaseOutsideTheButtonStillEnds) {
  app.press(main_window, QUIT_X, QUIT_Y, 1);
  app.move(main_window, PAD_X, PAD_Y);
  app.release(main_window, PAD_X, PAD_Y, 1);
  int status = -1;
  ASSERT_TRUE(app.wait_exit(EXIT_WAIT_MS, &status));
  EXPECT_EQ(status, 0);
}

}  // namespace
