// The About window through the X server: " About" shows it above the main
// window and "Dismiss" hides it again.
#include "support/e2e.h"

namespace {

// " About" spans x 398..452, y 578..600 (y up) in the control panel.
constexpr int ABOUT_X = E2E_PANEL_X + 425;
constexpr int ABOUT_Y = E2E_PANEL_Y + 614 - 589;
// "Dismiss" spans x 620..680, y 5..21 (y up, converted by the height alone).
constexpr int DISMISS_X = 650;
constexpr int DISMISS_ROW_UP = 13;

const Rgba BLACK = {0, 0, 0, 255};

TEST(AboutE2e, AboutButtonShowsTheWindowAndDismissHidesIt) {
  E2eApp app;
  ASSERT_TRUE(app.start()) << "ternival did not show its windows";
  const E2eWindow main_window = app.find("2D NURBS Curve");
  ASSERT_FALSE(app.find("About Ternival").mapped);

  app.click(main_window, ABOUT_X, ABOUT_Y, 1);
  app.settle();
  const E2eWindow about = app.find("About Ternival");
  ASSERT_TRUE(about.mapped);
  // Raised above the main window, which covers its top-left corner: the first
  // text line, 20 rows under the top, is what the screen shows there.
  const Pixels shown = app.grab(about);
  EXPECT_TRUE(shown.any(10, about.height - 21, 300, about.height - 12, BLACK));

  app.click(about, DISMISS_X, about.height - DISMISS_ROW_UP, 1);
  app.settle();
  EXPECT_FALSE(app.find("About Ternival").mapped);
  EXPECT_TRUE(app.running());
}

}  // namespace
