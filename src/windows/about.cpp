// About window: the About text and a "Dismiss" button that hides the window
// at the release that follows a press on it.
#include "windows/about.h"

#include "app/shell.h"

#include <GL/freeglut.h>

//------------------------------------------------------------------------------
// Defines
//------------------------------------------------------------------------------

namespace {

constexpr int TEXT_LEFT = 10;         // px from the left edge to the text
constexpr int TEXT_TOP_OFFSET = 20;   // px from the top edge down to the first baseline
constexpr int TEXT_LINE_HEIGHT = 20;  // px between baselines

}  // namespace

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

Button btn_dismiss = {620, 5, 680, 21, "Dismiss", GLUT_BITMAP_HELVETICA_12, 0};

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

namespace {

// Hides the About window, whichever window is current.
void about_hide() {
  window_run(window_table.win_about.id, glutHideWindow);
}

// Posts a redisplay of the About window, which has no redisplay code.
void redisplay_about() {
  window_run(window_table.win_about.id, glutPostRedisplay);
}

}  // namespace

//------------------------------------------------------------------------------
// Callbacks
//------------------------------------------------------------------------------

// Records the window's size and sets up pixel coordinates with y up.
void about_reshape(int width, int height) {
  set_clear_colour(COLOUR_PANEL_GREY);
  window_reshape(&window_table.win_about, width, height);
}

// Draws the button at the bottom right and the text from the top left.
void about_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4fv(COLOUR_RED);
  button_draw(&btn_dismiss);
  glColor4fv(COLOUR_BLACK);
  draw_text_block(about_text, TEXT_LEFT, window_table.win_about.height - TEXT_TOP_OFFSET,
                  TEXT_LINE_HEIGHT, GLUT_BITMAP_9_BY_15);
  glutSwapBuffers();
}

// A press on "Dismiss" holds it; the next left release hides the window.
void about_mouse(int button, int state, int x, int y) {
  y = window_y_up(window_table.win_about.height, y);
  if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) {
    if (button_hit(&btn_dismiss, x, y)) btn_dismiss.state = 1;
    redisplay_about();
  } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP && btn_dismiss.state == 1) {
    btn_dismiss.state = 0;
    about_hide();
  } else {
    redisplay_about();
  }
}
