// Windows of the browser GLUT: top-level windows are canvases of their own, subwindows are
// rectangles of their parent's canvas with a GL state of their own. Drawing waits for the next
// animation frame, as GLUT's redisplay waits for the main loop.
#include "glut/glut_window.h"

#include "glut/glut_dom.h"
#include "glut/glut_input.h"

#include <GL/glut.h>
#include <emscripten/html5.h>

#include <stdio.h>

//------------------------------------------------------------------------------
// Defines and types
//------------------------------------------------------------------------------

// freeglut's size for a window made without glutInitWindowSize.
#define DEFAULT_WINDOW_SIZE 300

// A rectangle of a canvas, pixels with y down; empty when right <= left or bottom <= top.
typedef struct Rect {
  int left, top, right, bottom;
} Rect;

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

static GlutWindow windows[GLUT_WEB_MAX_WINDOWS + 1];  // indexed by id; slot 0 unused
static int current_id;
static int init_x, init_y;
static int init_width = DEFAULT_WINDOW_SIZE, init_height = DEFAULT_WINDOW_SIZE;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

static GlutWindow* window_new(int parent) {
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = &windows[id];
    if (win->id != 0) continue;
    *win = (GlutWindow){0};
    win->id = id;
    win->parent = parent;
    win->top = parent != 0 ? windows[parent].top : id;
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

// Posts a redisplay to the window and everything inside it.
static void window_expose(int id) {
  for (int i = 1; i <= GLUT_WEB_MAX_WINDOWS; ++i)
    if (windows[i].id != 0 && window_within(&windows[i], id)) windows[i].need_display = 1;
}

static Rect rect_intersect(Rect a, Rect b) {
  Rect r = {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  return r;
}

static int rect_overlaps(Rect a, Rect b) {
  Rect r = rect_intersect(a, b);
  return r.right > r.left && r.bottom > r.top;
}

// What shows of the window in its canvas: its rectangle cut by every ancestor's.
static Rect window_visible_rect(const GlutWindow* win) {
  int x, y;
  glut_window_origin(win, &x, &y);
  Rect r = {x, y, x + win->width, y + win->height};
  for (const GlutWindow* up = glut_window_find(win->parent); up != 0;
       up = glut_window_find(up->parent)) {
    int ux, uy;
    glut_window_origin(up, &ux, &uy);
    r = rect_intersect(r, (Rect){ux, uy, ux + up->width, uy + up->height});
  }
  return r;
}

// Applies a glutReshapeWindow request: a canvas changes size (and loses its pixels).
static void window_apply_request(GlutWindow* win) {
  if (win->request_width <= 0 || win->request_height <= 0) return;
  win->width = win->request_width;
  win->height = win->request_height;
  win->request_width = win->request_height = 0;
  win->need_reshape = 1;
  if (win->parent == 0) {
    glut_dom_resize(win->id, win->width, win->height);
    window_expose(win->id);
  } else {
    window_expose(win->parent);
  }
}

//------------------------------------------------------------------------------
// Functions of the window table
//------------------------------------------------------------------------------

GlutWindow* glut_window_find(int id) {
  if (id < 1 || id > GLUT_WEB_MAX_WINDOWS || windows[id].id == 0) return 0;
  return &windows[id];
}

GlutWindow* glut_window_current(void) {
  return glut_window_find(current_id);
}

void glut_window_make_current(GlutWindow* win) {
  if (win == 0) return;
  current_id = win->id;
  int x, y;
  glut_window_origin(win, &x, &y);
  const int canvas_height = windows[win->top].height;
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

void glut_window_frame(void) {
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id)
    if (windows[id].id != 0) window_apply_request(&windows[id]);

  // As after a window is mapped or resized: its reshape, then a redisplay.
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = &windows[id];
    if (win->id == 0 || !win->need_reshape || !glut_window_visible(win)) continue;
    win->need_reshape = 0;
    win->need_display = 1;
    glut_window_make_current(win);
    if (win->reshape != 0)
      win->reshape(win->width, win->height);
    else
      glViewport(0, 0, win->width, win->height);
  }

  // Windows share a canvas without clipping each other, so a window drawn over another's
  // rectangle is followed by every window stacked above it there (siblings made later, and
  // children), as a desktop would clip the first one's drawing by them.
  Rect drawn[GLUT_WEB_MAX_WINDOWS];
  int drawn_top[GLUT_WEB_MAX_WINDOWS];
  int drawn_count = 0;
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = &windows[id];
    if (win->id == 0 || !glut_window_visible(win)) continue;
    const Rect shows = window_visible_rect(win);
    int due = win->need_display;
    for (int i = 0; i < drawn_count && !due; ++i)
      due = drawn_top[i] == win->top && rect_overlaps(drawn[i], shows);
    if (!due) continue;
    win->need_display = 0;
    drawn[drawn_count] = shows;
    drawn_top[drawn_count++] = win->top;
    if (win->display == 0) continue;
    glut_window_make_current(win);
    win->display();
  }
  gl_web_flush();
  if (drawn_count > 0) glut_dom_drawn();
}

//------------------------------------------------------------------------------
// GLUT entry points: windows
//------------------------------------------------------------------------------

void glutInitWindowPosition(int x, int y) {
  init_x = x < 0 ? 0 : x;
  init_y = y < 0 ? 0 : y;
}

void glutInitWindowSize(int width, int height) {
  init_width = width > 0 ? width : DEFAULT_WINDOW_SIZE;
  init_height = height > 0 ? height : DEFAULT_WINDOW_SIZE;
}

int glutCreateWindow(const char* title) {
  GlutWindow* win = window_new(0);
  if (win == 0) return 0;
  win->x = init_x;
  win->y = init_y;
  win->width = init_width;
  win->height = init_height;
  glut_dom_open(win->id, win->x, win->y, win->width, win->height, title != 0 ? title : "");

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
  snprintf(selector, sizeof selector, "#ternival-canvas-%d", win->id);
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(selector, &attributes);
  if (context <= 0) fprintf(stderr, "glut: no WebGL context for window %d\n", win->id);
  win->webgl = (long)context;
  win->gl = gl_web_state_new(win->webgl);
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
  win->webgl = windows[win->top].webgl;
  win->gl = gl_web_state_new(win->webgl);
  glut_window_make_current(win);
  return win->id;
}

void glutSetWindow(int id) {
  GlutWindow* win = glut_window_find(id);
  if (win != 0) glut_window_make_current(win);
}

int glutGetWindow(void) {
  return glut_window_current() != 0 ? current_id : 0;
}

void glutShowWindow(void) {
  GlutWindow* win = glut_window_current();
  if (win == 0) return;
  win->shown = 1;
  window_expose(win->id);
  if (win->parent == 0) {
    glut_dom_show(win->id, 1);
    glut_dom_raise(win->id);
  }
}

void glutHideWindow(void) {
  GlutWindow* win = glut_window_current();
  if (win == 0) return;
  win->shown = 0;
  glut_input_forget(win->id);
  if (win->parent == 0)
    glut_dom_show(win->id, 0);
  else
    window_expose(win->parent);
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
