// The header src/ includes for GLUT; in the browser build all of it is GL/glut.h.
// Kept apart so that src/ compiles unchanged against the desktop's freeglut and against web/.
#ifndef TERNIVAL_WEB_GL_FREEGLUT_H
#define TERNIVAL_WEB_GL_FREEGLUT_H

#include <GL/glut.h>

#endif
