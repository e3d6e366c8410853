// The browser GLUT's one state (see glut_state.h), as GLUT starts.
#include "glut/glut_state.h"

GlutState glut = {
    .init_width = GLUT_WEB_DEFAULT_WINDOW_SIZE,
    .init_height = GLUT_WEB_DEFAULT_WINDOW_SIZE,
    .input = {.modifiers = GLUT_WEB_NO_MODIFIERS},
};
