// Placeholder until the control panel lands: clears and swaps.
#include "windows/control_panel.h"

#include <GL/freeglut.h>

void panel_reshape(int width, int height) {
  glViewport(0, 0, width, height);
}
void panel_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}
void panel_mouse(int, int, int, int) {}
void panel_motion(int, int) {}
