// Mouse and key events of the browser GLUT, delivered as GLUT does on the desktop: the window
// under the pointer gets a press, and keeps every event until the last button is up (x, y then
// relative to it, even outside it); motion reports the pointer's current position.
#include "glut/glut_input.h"

#include "glut/glut_state.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// The topmost shown window of canvas `top` containing canvas pixel (x, y): the last made
// subwindow containing it, else the top-level window itself.
static GlutWindow* input_hit(int top, int x, int y) {
  for (int id = GLUT_WEB_MAX_WINDOWS; id >= 1; --id) {
    GlutWindow* win = glut_window_find(id);
    if (win == 0 || win->top != top || !glut_window_visible(win)) continue;
    int left, upper;
    glut_window_origin(win, &left, &upper);
    if (x >= left && x < left + win->width && y >= upper && y < upper + win->height) return win;
  }
  return 0;
}

// Canvas pixel (x, y) in the window's own pixels.
static void input_local(const GlutWindow* win, int* x, int* y) {
  int left, upper;
  glut_window_origin(win, &left, &upper);
  *x -= left;
  *y -= upper;
}

static void input_mouse(GlutWindow* win, int button, int state, int x, int y, int mods) {
  if (win == 0 || win->mouse == 0) return;
  input_local(win, &x, &y);
  glut_window_make_current(win);
  glut.input.modifiers = mods;
  win->mouse(button, state, x, y);
  glut.input.modifiers = GLUT_WEB_NO_MODIFIERS;
}

// The pointer moved onto `win` (0: off every window): entry callbacks of both windows.
static void input_hover(GlutWindow* win) {
  GlutInput* input = &glut.input;
  const int id = win != 0 ? win->id : 0;
  if (id == input->hover_id) return;
  GlutWindow* left = glut_window_find(input->hover_id);
  input->hover_id = id;
  if (left != 0 && left->entry != 0) {
    glut_window_make_current(left);
    left->entry(GLUT_LEFT);
  }
  if (win != 0 && win->entry != 0) {
    glut_window_make_current(win);
    win->entry(GLUT_ENTERED);
  }
}

static void input_move(int top, int x, int y) {
  GlutWindow* grab = glut_window_find(glut.input.grab_id);
  if (grab != 0) {
    if (grab->motion == 0) return;
    input_local(grab, &x, &y);
    glut_window_make_current(grab);
    grab->motion(x, y);
    return;
  }
  GlutWindow* win = input_hit(top, x, y);
  input_hover(win);
  if (win == 0 || win->passive == 0) return;
  input_local(win, &x, &y);
  glut_window_make_current(win);
  win->passive(x, y);
}

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE
void glut_web_pointer(int top, int action, int button, int x, int y, int mods) {
  GlutInput* input = &glut.input;
  const unsigned bit = 1u << (button & 31);
  switch (action) {
    case GLUT_WEB_PRESS: {
      if (input->held == 0) {
        GlutWindow* win = input_hit(top, x, y);
        input_hover(win);
        input->grab_id = win != 0 ? win->id : 0;
      }
      input->held |= bit;
      input_mouse(glut_window_find(input->grab_id), button, GLUT_DOWN, x, y, mods);
      break;
    }
    case GLUT_WEB_RELEASE: {
      if ((input->held & bit) == 0) break;
      input->held &= ~bit;
      GlutWindow* grab = glut_window_find(input->grab_id);
      if (input->held == 0) input->grab_id = 0;
      input_mouse(grab, button, GLUT_UP, x, y, mods);
      break;
    }
    case GLUT_WEB_MOVE: input_move(top, x, y); break;
    case GLUT_WEB_LEAVE:
      if (input->grab_id == 0) input_hover(0);
      break;
    default: break;
  }
}

EMSCRIPTEN_KEEPALIVE
void glut_web_key(int top, int key, int x, int y, int mods) {
  GlutWindow* win = glut_window_find(glut.input.grab_id);
  if (win == 0) win = input_hit(top, x, y);
  if (win == 0 || win->keyboard == 0) return;
  input_local(win, &x, &y);
  glut_window_make_current(win);
  glut.input.modifiers = mods;
  win->keyboard((unsigned char)key, x, y);
  glut.input.modifiers = GLUT_WEB_NO_MODIFIERS;
}

int glutGetModifiers(void) {
  return glut.input.modifiers == GLUT_WEB_NO_MODIFIERS ? 0 : glut.input.modifiers;
}
