// Placeholder until the knot panel lands: clears and swaps.
#include "windows/knot_panel.h"

#include <GL/freeglut.h>

void knot_panel_reshape(int width, int height) {
  glViewport(0, 0, width, height);
}
void knot_panel_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}
void knot_panel_mouse(int, int, int, int) {}
void knot_panel_motion(int, int) {}
