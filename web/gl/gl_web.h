// The browser GL layer's own entry points, between the GLUT windows and the GL 1.x emulation.
// Owns one GL 1.x state per GLUT window; web/glut creates, selects and flushes them.
// Rectangles are in canvas pixels counted from the canvas's bottom-left corner.
#ifndef TERNIVAL_WEB_GL_WEB_H
#define TERNIVAL_WEB_GL_WEB_H

#ifdef __cplusplus
extern "C" {
#endif

// Contexts: one WebGL context per top-level window (each top-level window is its own <canvas>);
// one GL 1.x state per GLUT window (top-level or subwindow): matrices, colour, enables, lists,
// attribute stacks, raster position... exactly as each desktop GLUT window has its own GL context.
typedef struct GlWebState GlWebState;
// Creates the GL 1.x state of a window whose pixels live in the WebGL context `webgl`
// (an EMSCRIPTEN_WEBGL_CONTEXT_HANDLE cast to long; several states may share one context).
GlWebState* gl_web_state_new(long webgl);
void gl_web_state_free(GlWebState* state);
// Points `state` at the WebGL context its pixels live in from now on (0, as at creation: none yet,
// and what is drawn goes nowhere).
void gl_web_state_target(GlWebState* state, long webgl);
// Makes `state` current: later GL calls act on it. (x, y) is the window's bottom-left corner in
// its canvas, in canvas pixels counted from the canvas's bottom-left, width x height its size; the
// layer clips everything the window draws to that rectangle (a subwindow larger than the part
// of its parent that shows is simply clipped by the canvas and by later draws of the parent).
// Viewport and scissor values the program sets are relative to the window, as on the desktop.
void gl_web_make_current(GlWebState* state, int x, int y, int width, int height);
// Sends every vertex gathered so far to WebGL (called by glutSwapBuffers, glReadPixels,
// and whenever the current state changes).
void gl_web_flush(void);
// Sets the batch's merging of one-colour pixels (on by default) after sending what it holds; off
// sends each primitive's own rectangles, the reference the page's tests compare it with.
void gl_web_merge(int on);
// Sets the drawing of each window on the CPU, sent to WebGL as one image (on by default), after
// sending what the batch holds; off draws through WebGL rectangles, merged as gl_web_merge says.
void gl_web_frame(int on);
// Whether the window drawn last must be drawn again, once: it met what its CPU drawing cannot
// draw (a triangle that WebGL clips), nothing of it was shown, and it now draws through WebGL.
int gl_web_redo(void);
// Glyph drawing for glutBitmapCharacter: draws a bitmap at the current raster position as
// glBitmap(width, height, xorig, yorig, xmove, ymove, bits) does (rows bottom first, each row
// padded to a whole byte, MSB = leftmost pixel), in the colour that was current when the raster
// position was set; does nothing when the raster position is invalid, but still advances it.
void gl_web_bitmap(int width, int height, float xorig, float yorig, float xmove, float ymove,
                   const unsigned char* bits);

#ifdef __cplusplus
}
#endif

#endif
