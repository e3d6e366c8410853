// The browser GLUT's one state: the window table (every window's place, size, visibility,
// pending work and callbacks), the current window, the values of glutInit* and the input held
// between events. Defined in glut_state.c; read and changed by the files of web/glut only.
// Positions and sizes are desktop pixels with y down, as GLUT gives them.
#ifndef TERNIVAL_WEB_GLUT_STATE_H
#define TERNIVAL_WEB_GLUT_STATE_H

#include "gl/gl_web.h"

// Highest window id; ids run from 1 in creation order, as in freeglut.
#define GLUT_WEB_MAX_WINDOWS 32
// freeglut's size for a window made without glutInitWindowSize.
#define GLUT_WEB_DEFAULT_WINDOW_SIZE 300
// glutGetModifiers outside a mouse or key callback.
#define GLUT_WEB_NO_MODIFIERS (-1)

typedef struct GlutWindow {
  int id;      // GLUT id, 0 while the slot is free (every other field is then meaningless)
  int parent;  // id of the parent window, 0 for a top-level window
  int top;     // id of the top-level window whose canvas holds this one
  int x, y;    // top-level: desktop position; subwindow: offset in its parent
  int width, height;
  int shown;                          // 0 after glutHideWindow
  int need_reshape;                   // reshape callback due before the next display
  int need_display;                   // display callback due in the next frame
  int request_width, request_height;  // glutReshapeWindow's size, 0 when none is pending
  long webgl;         // top-level: its canvas's WebGL context, 0 until its first frame
  int webgl_refused;  // top-level: the browser gave no context, so none is asked for again
  GlWebState* gl;
  void (*display)(void);
  void (*reshape)(int width, int height);
  void (*mouse)(int button, int state, int x, int y);
  void (*motion)(int x, int y);
  void (*passive)(int x, int y);
  void (*entry)(int state);
  void (*keyboard)(unsigned char key, int x, int y);
} GlutWindow;

// What input keeps between events; a hidden window is forgotten here when it is hidden.
typedef struct GlutInput {
  int grab_id;    // window that got the first press of the held buttons, 0 if none
  unsigned held;  // bit b: button b is down
  int hover_id;   // window under the pointer while no button is held, 0 if none
  int modifiers;  // GLUT_ACTIVE_* bits during a mouse or key callback, else GLUT_WEB_NO_MODIFIERS
} GlutInput;

typedef struct GlutState {
  GlutWindow windows[GLUT_WEB_MAX_WINDOWS + 1];  // indexed by id; slot 0 unused
  int current_id;                                // 0 before the first window is made
  int init_x, init_y;                            // glutInitWindowPosition
  int init_width, init_height;                   // glutInitWindowSize
  double start_ms;                               // page time of glutInit, for GLUT_ELAPSED_TIME
  GlutInput input;
} GlutState;

extern GlutState glut;

//------------------------------------------------------------------------------
// The window table (glut_window.c)
//------------------------------------------------------------------------------

// Window of that id, or 0 when there is none.
GlutWindow* glut_window_find(int id);
// The current window, or 0 before the first window is made.
GlutWindow* glut_window_current(void);
// Makes `win` current for GLUT and for the GL layer.
void glut_window_make_current(GlutWindow* win);
// 1 when the window and all its ancestors are shown.
int glut_window_visible(const GlutWindow* win);
// Top-left corner of the window in its canvas, pixels with y down.
void glut_window_origin(const GlutWindow* win, int* x, int* y);
// Posts a redisplay to the window and everything inside it.
void glut_window_expose(int id);
// Gives the window's canvas its WebGL context when it has none yet, so that a window hidden from
// its creation costs none until its first frame.
void glut_window_context(const GlutWindow* window);

#endif
