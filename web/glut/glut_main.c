// Start, main loop and queries of the browser GLUT. The main loop is the page's animation
// frame: each frame runs the pending reshapes and redisplays, and input arrives between frames.
#include "glut/glut_window.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

static double start_ms;  // page time of glutInit, for GLUT_ELAPSED_TIME

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

static void main_frame(void) {
  glut_window_frame();
}

// Redraws every shown window now and returns the milliseconds that took (display callbacks
// and the GL layer's flush): the page's ternival.redrawAll, which scripts/bench-web times.
EMSCRIPTEN_KEEPALIVE
double glut_web_redraw_all(void) {
  for (int id = 1; id <= GLUT_WEB_MAX_WINDOWS; ++id) {
    GlutWindow* win = glut_window_find(id);
    if (win != 0) win->need_display = 1;
  }
  const double start = emscripten_get_now();
  glut_window_frame();
  return emscripten_get_now() - start;
}

//------------------------------------------------------------------------------
// GLUT entry points
//------------------------------------------------------------------------------

void glutInit(int* argc, char** argv) {
  (void)argc;
  (void)argv;
  start_ms = emscripten_get_now();
}

// Every canvas is RGBA, double-buffered in effect and with depth: the one mode Ternival asks for.
void glutInitDisplayMode(unsigned int mode) {
  (void)mode;
}

// Never returns: main's frame is unwound and the page's frames take over.
void glutMainLoop(void) {
  emscripten_set_main_loop(main_frame, 0, 1);
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
    case GLUT_ELAPSED_TIME: return (int)(emscripten_get_now() - start_ms);
    default: return -1;
  }
}
