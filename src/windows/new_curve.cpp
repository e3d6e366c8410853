// Placeholder until the new-curve window lands: clears and swaps.
#include "windows/new_curve.h"

#include <GL/freeglut.h>

void new_curve_reshape(int width, int height) {
  glViewport(0, 0, width, height);
}
void new_curve_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}
void new_curve_mouse(int, int, int, int) {}
