// Placeholder until the About window lands: clears and swaps.
#include "windows/about.h"

#include <GL/freeglut.h>

void about_reshape(int width, int height) {
  glViewport(0, 0, width, height);
}
void about_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}
void about_mouse(int, int, int, int) {}
