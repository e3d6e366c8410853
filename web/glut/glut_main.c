// Start, main loop and queries of the browser GLUT. The main loop is the page's animation
// frame: each frame runs the pending resizes, reshapes and redisplays, and input arrives
// between frames.
#include "glut/glut_dom.h"
#include "glut/glut_state.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

//------------------------------------------------------------------------------
// Types
//------------------------------------------------------------------------------

// A rectangle of a canvas, pixels with y down; empty when right <= left or bottom <= top.
typedef struct Rect {
  int left, top, right, bottom;
} Rect;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

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
static Rect frame_visible_rect(const GlutWindow* win) {
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
static void frame_apply_request(GlutWindow* win) {
  if (win->request_width <= 0 || win->request_height <= 0) return;
  win->width = win->request_width;
  win->height = win->request_height;
  win->request_width = win->request_height = 0;
  win->need_reshape = 1;
  if (win->parent == 0) {
    glut_dom_resize(win->id, win->width, win->height);
    glut_window_expose(win->id);
  } else {
    glut_window_expose(win->parent);
  }
}

// One frame: the pending resizes, reshapes and redisplays.
static void frame_run(void) {
  GlutWindow* windows = glut.windows;
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id)
    if (windows[id].id != 0) frame_apply_request(&windows[id]);

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
  Rect drawn[GLUT_WEB_MAX_WINDOWS] = {{0}};
  int drawn_top[GLUT_WEB_MAX_WINDOWS] = {0};
  int drawn_count = 0;
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = &windows[id];
    if (win->id == 0 || !glut_window_visible(win)) continue;
    const Rect shows = frame_visible_rect(win);
    int due = win->need_display;
    for (int i = 0; i < drawn_count && !due; ++i)
      due = drawn_top[i] == win->top && rect_overlaps(drawn[i], shows);
    if (!due) continue;
    win->need_display = 0;
    drawn[drawn_count] = shows;
    drawn_top[drawn_count++] = win->top;
    if (win->display == 0) continue;
    glut_window_context(win);
    glut_window_make_current(win);
    win->display();
    if (gl_web_redo()) {
      glut_window_make_current(win);
      win->display();
    }
  }
  gl_web_flush();
  if (drawn_count > 0) glut_dom_drawn();
}

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Redraws every shown window now and returns the milliseconds that took (display callbacks
// and the GL layer's flush): the page's ternival.redrawAll, which scripts/bench-web times.
EMSCRIPTEN_KEEPALIVE
double glut_web_redraw_all(void) {
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = glut_window_find(id);
    if (win != 0) win->need_display = 1;
  }
  const double start = emscripten_get_now();
  frame_run();
  return emscripten_get_now() - start;
}

// The page's ternival.merge: the GL layer's merging of pixels switched, for the tests.
EMSCRIPTEN_KEEPALIVE
void glut_web_merge(int on) {
  gl_web_merge(on);
}

// The page's ternival.frame: the GL layer's drawing of windows on the CPU switched, for the tests.
EMSCRIPTEN_KEEPALIVE
void glut_web_frame(int on) {
  gl_web_frame(on);
}

//------------------------------------------------------------------------------
// GLUT entry points
//------------------------------------------------------------------------------

void glutInit(int* argc, char** argv) {
  (void)argc;
  (void)argv;
  glut.start_ms = emscripten_get_now();
}

// Every canvas is RGBA, double-buffered in effect and with depth: the one mode Ternival asks for.
void glutInitDisplayMode(unsigned int mode) {
  (void)mode;
}

// Never returns: main's frame is unwound and the page's frames take over.
void glutMainLoop(void) {
  emscripten_set_main_loop(frame_run, 0, 1);
}

int glutGet(GLenum query) {
  const GlutWindow* win = glut_window_current();
  switch (query) {
    case GLUT_WINDOW_X: return win != 0 ? win->x : 0;
    case GLUT_WINDOW_Y: return win != 0 ? win->y : 0;
    case GLUT_WINDOW_WIDTH: return win != 0 ? win->width : 0;
    case GLUT_WINDOW_HEIGHT: return win != 0 ? win->height : 0;
    case GLUT_WINDOW_PARENT: return win != 0 ? win->parent : 0;
    case GLUT_WINDOW_NUM_CHILDREN: {
      int children = 0;
      for (int id = 1; win != 0 && id <= GLUT_WEB_MAX_WINDOWS; ++id) {
        const GlutWindow* other = glut_window_find(id);
        if (other != 0 && other->parent == win->id) ++children;
      }
      return children;
    }
    case GLUT_SCREEN_WIDTH: return EM_ASM_INT({ return window.innerWidth; });
    case GLUT_SCREEN_HEIGHT: return EM_ASM_INT({ return window.innerHeight; });
    case GLUT_ELAPSED_TIME: return (int)(emscripten_get_now() - glut.start_ms);
    default: return -1;
  }
}
