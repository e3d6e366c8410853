// Mouse, touch and key events of the browser GLUT, from the page (glut_dom.js) to the callbacks.
// The page reports events per canvas in canvas pixels (y down); this unit picks the window,
// keeps a pressed window until every button is up, and holds the modifiers for glutGetModifiers.
#ifndef TERNIVAL_WEB_GLUT_INPUT_H
#define TERNIVAL_WEB_GLUT_INPUT_H

// Pointer actions the page reports.
enum {
  GLUT_WEB_PRESS = 0,
  GLUT_WEB_RELEASE = 1,
  GLUT_WEB_MOVE = 2,
  GLUT_WEB_LEAVE = 3,
};

// An event on the canvas of top-level window `top`; modifiers are GLUT_ACTIVE_* bits.
void glut_web_pointer(int top, int action, int button, int x, int y, int modifiers);
// A typed character while the pointer is over the canvas of `top`.
void glut_web_key(int top, int key, int x, int y, int modifiers);

#endif
