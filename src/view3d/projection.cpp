// Placeholder until the projection window lands: clears and swaps.
#include "view3d/projection.h"

#include <GL/freeglut.h>

void proj_reshape(int width, int height) {
  glViewport(0, 0, width, height);
}
void proj_display() {
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}
void proj_mouse(int, int, int, int) {}
void proj_motion(int, int) {}
