// Windows of the browser GLUT: top-level windows are canvases of their own, subwindows are
// rectangles of their parent's canvas with a GL state of their own. Drawing waits for the next
// animation frame (glut_main.c), as GLUT's redisplay waits for the main loop.
#include "glut/glut_dom.h"
#include "glut/glut_state.h"

#include <GL/glut.h>
#include <emscripten/html5.h>

#include <stdio.h>

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

static GlutWindow* window_new(int parent) {
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = &glut.windows[id];
    if (win->id != 0) continue;
    *win = (GlutWindow){0};
    win->id = id;
    win->parent = parent;
    win->top = parent != 0 ? glut.windows[parent].top : id;
    win->shown = 1;
    win->need_reshape = 1;
    win->need_display = 1;
    return win;
  }
  fprintf(stderr, "glut: more than %d windows\n", GLUT_WEB_MAX_WINDOWS);
  return 0;
}

// 1 when `win` is `ancestor` or lies inside it.
static int window_within(const GlutWindow* win, int ancestor) {
  for (; win != 0; win = glut_window_find(win->parent))
    if (win->id == ancestor) return 1;
  return 0;
}

// Forgets a window that is hidden in what input holds, so that no event is sent to it any more.
static void window_forget_input(int id) {
  GlutInput* input = &glut.input;
  if (input->grab_id == id) {
    input->grab_id = 0;
    input->held = 0;
  }
  if (input->hover_id == id) input->hover_id = 0;
}

//------------------------------------------------------------------------------
// Functions of the window table
//------------------------------------------------------------------------------

GlutWindow* glut_window_find(int id) {
  if (id < 1 || id > GLUT_WEB_MAX_WINDOWS || glut.windows[id].id == 0) return 0;
  return &glut.windows[id];
}

GlutWindow* glut_window_current(void) {
  return glut_window_find(glut.current_id);
}

void glut_window_make_current(GlutWindow* win) {
  if (win == 0) return;
  glut.current_id = win->id;
  int x, y;
  glut_window_origin(win, &x, &y);
  const int canvas_height = glut.windows[win->top].height;
  gl_web_make_current(win->gl, x, canvas_height - y - win->height, win->width, win->height);
}

int glut_window_visible(const GlutWindow* win) {
  for (; win != 0; win = glut_window_find(win->parent))
    if (!win->shown) return 0;
  return 1;
}

void glut_window_origin(const GlutWindow* win, int* x, int* y) {
  *x = *y = 0;
  for (; win != 0 && win->parent != 0; win = glut_window_find(win->parent)) {
    *x += win->x;
    *y += win->y;
  }
}

void glut_window_expose(int id) {
  for (int i = 1; i <= GLUT_WEB_MAX_WINDOWS; ++i)
    if (glut.windows[i].id != 0 && window_within(&glut.windows[i], id))
      glut.windows[i].need_display = 1;
}

void glut_window_context(const GlutWindow* window) {
  GlutWindow* top = &glut.windows[window->top];
  if (top->webgl != 0 || top->webgl_refused) return;
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = 0;
  attributes.depth = 1;
  attributes.stencil = 0;
  attributes.antialias = 0;
  attributes.preserveDrawingBuffer = 1;
  attributes.majorVersion = 1;
  attributes.minorVersion = 0;
  char selector[32];
  snprintf(selector, sizeof selector, "#ternival-canvas-%d", top->id);
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(selector, &attributes);
  if (context <= 0) {
    fprintf(stderr, "glut: no WebGL context for window %d\n", top->id);
    top->webgl_refused = 1;
    return;
  }
  top->webgl = (long)context;
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    const GlutWindow* win = &glut.windows[id];
    if (win->id != 0 && win->top == top->id) gl_web_state_target(win->gl, top->webgl);
  }
}

//------------------------------------------------------------------------------
// GLUT entry points: windows
//------------------------------------------------------------------------------

void glutInitWindowPosition(int x, int y) {
  glut.init_x = x < 0 ? 0 : x;
  glut.init_y = y < 0 ? 0 : y;
}

void glutInitWindowSize(int width, int height) {
  glut.init_width = width > 0 ? width : GLUT_WEB_DEFAULT_WINDOW_SIZE;
  glut.init_height = height > 0 ? height : GLUT_WEB_DEFAULT_WINDOW_SIZE;
}

int glutCreateWindow(const char* title) {
  GlutWindow* win = window_new(0);
  if (win == 0) return 0;
  win->x = glut.init_x;
  win->y = glut.init_y;
  win->width = glut.init_width;
  win->height = glut.init_height;
  glut_dom_open(win->id, win->x, win->y, win->width, win->height, title != 0 ? title : "");

  // The WebGL context comes with the window's first frame: a window hidden at start-up
  // costs none until it is shown.
  win->gl = gl_web_state_new(0);
  glut_window_make_current(win);
  return win->id;
}

int glutCreateSubWindow(int parent, int x, int y, int width, int height) {
  const GlutWindow* up = glut_window_find(parent);
  if (up == 0) return 0;
  GlutWindow* win = window_new(parent);
  if (win == 0) return 0;
  win->x = x;
  win->y = y;
  win->width = width > 0 ? width : 1;
  win->height = height > 0 ? height : 1;
  win->gl = gl_web_state_new(glut.windows[win->top].webgl);
  glut_window_make_current(win);
  return win->id;
}

void glutSetWindow(int id) {
  GlutWindow* win = glut_window_find(id);
  if (win != 0) glut_window_make_current(win);
}

int glutGetWindow(void) {
  return glut_window_current() != 0 ? glut.current_id : 0;
}

void glutShowWindow(void) {
  GlutWindow* win = glut_window_current();
  if (win == 0) return;
  win->shown = 1;
  glut_window_expose(win->id);
  if (win->parent == 0) {
    glut_dom_show(win->id, 1);
    glut_dom_raise(win->id);
  }
}

void glutHideWindow(void) {
  GlutWindow* win = glut_window_current();
  if (win == 0) return;
  win->shown = 0;
  window_forget_input(win->id);
  if (win->parent == 0)
    glut_dom_show(win->id, 0);
  else
    glut_window_expose(win->parent);
}

void glutPopWindow(void) {
  const GlutWindow* win = glut_window_current();
  if (win != 0 && win->parent == 0) glut_dom_raise(win->id);
}

void glutReshapeWindow(int width, int height) {
  GlutWindow* win = glut_window_current();
  if (win == 0 || width <= 0 || height <= 0) return;
  win->request_width = width;
  win->request_height = height;
}

void glutPostRedisplay(void) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->need_display = 1;
}

void glutSwapBuffers(void) {
  gl_web_flush();
}

//------------------------------------------------------------------------------
// GLUT entry points: callbacks of the current window
//------------------------------------------------------------------------------

void glutDisplayFunc(void (*callback)(void)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->display = callback;
}

void glutReshapeFunc(void (*callback)(int, int)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->reshape = callback;
}

void glutMouseFunc(void (*callback)(int, int, int, int)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->mouse = callback;
}

void glutMotionFunc(void (*callback)(int, int)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->motion = callback;
}

void glutPassiveMotionFunc(void (*callback)(int, int)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->passive = callback;
}

void glutEntryFunc(void (*callback)(int)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->entry = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
  GlutWindow* win = glut_window_current();
  if (win != 0) win->keyboard = callback;
}
