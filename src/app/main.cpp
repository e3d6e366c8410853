// Entry point: GLUT, the curves and shared state, every window, the main loop.
#include "app/shell.h"
#include "app/startup.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(startup_display_mode());
  init_curves();
  init_shared();
  create_windows();
  glutMainLoop();
  return 0;
}
