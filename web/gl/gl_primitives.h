// Turns the vertices of one glBegin .. glEnd (or glRect) into what is drawn: triangles for
// WebGL, and lines and points cut into pixels as Mesa cuts them. Called by gl_immediate.cpp.
// Vertices arrive in clip coordinates with the colour each was given.
#ifndef TERNIVAL_WEB_GL_PRIMITIVES_H
#define TERNIVAL_WEB_GL_PRIMITIVES_H

#include "gl_state.h"

#include <vector>

void primitives_draw(GLenum mode, const std::vector<GlVertex>& v);

#endif
