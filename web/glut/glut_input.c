// Mouse and key events of the browser GLUT, delivered as GLUT does on the desktop: the window
// under the pointer gets a press, and keeps every event until the last button is up (x, y then
// relative to it, even outside it); motion reports the pointer's current position.
#include "glut/glut_input.h"

#include "glut/glut_window.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

//------------------------------------------------------------------------------
// Defines and globals
//------------------------------------------------------------------------------

// glutGetModifiers outside a mouse or key callback.
#define NO_MODIFIERS (-1)

static int grab_id;    // window that got the first press of the held buttons, 0 if none
static unsigned held;  // bit b: button b is down
static int hover_id;   // window under the pointer while no button is held
static int modifiers = NO_MODIFIERS;

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
  modifiers = mods;
  win->mouse(button, state, x, y);
  modifiers = NO_MODIFIERS;
}

// The pointer moved onto `win` (0: off every window): entry callbacks of both windows.
static void input_hover(GlutWindow* win) {
  const int id = win != 0 ? win->id : 0;
  if (id == hover_id) return;
  GlutWindow* left = glut_window_find(hover_id);
  hover_id = id;
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
  GlutWindow* grab = glut_window_find(grab_id);
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
  const unsigned bit = 1u << (button & 31);
  switch (action) {
    case GLUT_WEB_PRESS: {
      if (held == 0) {
        GlutWindow* win = input_hit(top, x, y);
        input_hover(win);
        grab_id = win != 0 ? win->id : 0;
      }
      held |= bit;
      input_mouse(glut_window_find(grab_id), button, GLUT_DOWN, x, y, mods);
      break;
    }
    case GLUT_WEB_RELEASE: {
      if ((held & bit) == 0) break;
      held &= ~bit;
      GlutWindow* grab = glut_window_find(grab_id);
      if (held == 0) grab_id = 0;
      input_mouse(grab, button, GLUT_UP, x, y, mods);
      break;
    }
    case GLUT_WEB_MOVE: input_move(top, x, y); break;
    case GLUT_WEB_LEAVE:
      if (grab_id == 0) input_hover(0);
      break;
    default: break;
  }
}

EMSCRIPTEN_KEEPALIVE
void glut_web_key(int top, int key, int x, int y, int mods) {
  GlutWindow* win = glut_window_find(grab_id);
  if (win == 0) win = input_hit(top, x, y);
  if (win == 0 || win->keyboard == 0) return;
  input_local(win, &x, &y);
  glut_window_make_current(win);
  modifiers = mods;
  win->keyboard((unsigned char)key, x, y);
  modifiers = NO_MODIFIERS;
}

void glut_input_forget(int id) {
  if (grab_id == id) {
    grab_id = 0;
    held = 0;
  }
  if (hover_id == id) hover_id = 0;
}

int glutGetModifiers(void) {
  return modifiers == NO_MODIFIERS ? 0 : modifiers;
}
