// The browser GLUT's window table: every window's place, size, visibility, pending work and
// callbacks. Shared by the files of web/glut (creation, main loop, input); nothing else sees it.
// Positions and sizes are desktop pixels with y down, as GLUT gives them.
#ifndef TERNIVAL_WEB_GLUT_WINDOW_H
#define TERNIVAL_WEB_GLUT_WINDOW_H

#include "gl/gl_web.h"

// Highest window id; ids run from 1 in creation order, as in freeglut.
#define GLUT_WEB_MAX_WINDOWS 32

typedef struct GlutWindow {
  int id;      // GLUT id, 0 while the slot is free
  int parent;  // id of the parent window, 0 for a top-level window
  int top;     // id of the top-level window whose canvas holds this one
  int x, y;    // top-level: desktop position; subwindow: offset in its parent
  int width, height;
  int shown;                          // 0 after glutHideWindow
  int need_reshape;                   // reshape callback due before the next display
  int need_display;                   // display callback due in the next frame
  int request_width, request_height;  // glutReshapeWindow's size, 0 when none is pending
  long webgl;                         // top-level only: its canvas's WebGL context
  GlWebState* gl;
  void (*display)(void);
  void (*reshape)(int width, int height);
  void (*mouse)(int button, int state, int x, int y);
  void (*motion)(int x, int y);
  void (*passive)(int x, int y);
  void (*entry)(int state);
  void (*keyboard)(unsigned char key, int x, int y);
} GlutWindow;

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
// Runs the frame's pending resizes, reshapes and redisplays; called once per animation frame.
void glut_window_frame(void);

#endif
