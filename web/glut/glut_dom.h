// The page side of the browser GLUT: canvases with title bars, their stacking and visibility,
// and the input listeners. Implemented in JavaScript by glut_dom.js; called by web/glut only.
// Sizes and positions are desktop pixels; the page scales the whole desktop by a whole number.
#ifndef TERNIVAL_WEB_GLUT_DOM_H
#define TERNIVAL_WEB_GLUT_DOM_H

// Adds top-level window `id`'s frame (title bar and canvas "#ternival-canvas-<id>") to the page.
void glut_dom_open(int id, int x, int y, int width, int height, const char* title);
void glut_dom_show(int id, int shown);
// Puts the window above every other top-level window.
void glut_dom_raise(int id);
// Counts, for the page and its tests, a frame in which some window was drawn.
void glut_dom_drawn(void);
// Resizes the canvas (which clears it) and its frame.
void glut_dom_resize(int id, int width, int height);

#endif
