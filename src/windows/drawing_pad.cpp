// Placeholder until the drawing pad lands: clears and swaps.
#include "windows/drawing_pad.h"

#include <GL/freeglut.h>

int pad_mode = 11;
int picked_point = -1;
int drag_last_x = 0;
int drag_last_y = 0;

void pad_reshape(int width, int height) {
  glViewport(0, 0, width, height);
}
void pad_display() {
  glClear(GL_COLOR_BUFFER_BIT);
  glutSwapBuffers();
}
void pad_mouse(int, int, int, int) {}
void pad_motion(int, int) {}
