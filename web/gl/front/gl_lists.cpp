// Display lists: while one is compiled, recordable calls are kept as closures (by gl_call) and
// glCallList replays them in order (lists may call lists, as deep as GL allows).
#include "gl/front/gl_state.h"

#include <vector>

namespace {

constexpr int MAX_LIST_NESTING = 64;  // GL's least call depth of nested lists

bool list_exists(const GlWebState* s, GLuint list) {
  return list != 0 && list < s->lists.size() && s->lists[list].used;
}

void list_call(GLuint list) {
  GlWebState* s = gl_state();
  int& nesting = gl_layer().list_nesting;
  if (!list_exists(s, list) || nesting >= MAX_LIST_NESTING) return;
  ++nesting;
  // By index: no call a list holds can add lists or change this one while it runs.
  for (size_t i = 0; i < s->lists[list].calls.size(); ++i) s->lists[list].calls[i]();
  --nesting;
}

}  // namespace

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

GLuint glGenLists(GLsizei range) {
  if (range <= 0) return 0;
  GlWebState* s = gl_state();
  const GLuint first = static_cast<GLuint>(s->lists.size());
  s->lists.resize(s->lists.size() + static_cast<size_t>(range));
  for (GLuint i = first; i < s->lists.size(); ++i) s->lists[i].used = true;
  return first;
}

void glDeleteLists(GLuint list, GLsizei range) {
  GlWebState* s = gl_state();
  for (GLsizei i = 0; i < range; ++i)
    if (list + i < s->lists.size()) s->lists[list + i] = GlList{};
}

GLboolean glIsList(GLuint list) {
  return list_exists(gl_state(), list) ? GL_TRUE : GL_FALSE;
}

// Only GL_COMPILE: the list is recorded and not drawn.
void glNewList(GLuint list, GLenum mode) {
  GlWebState* s = gl_state();
  if (list == 0 || mode != GL_COMPILE) {
    gl_error(list == 0 ? GL_INVALID_VALUE : GL_INVALID_ENUM);
    return;
  }
  if (s->compiling != 0 || s->in_begin) {
    gl_error(GL_INVALID_OPERATION);
    return;
  }
  if (list >= s->lists.size()) s->lists.resize(list + 1);
  s->lists[list].used = true;
  s->lists[list].calls.clear();
  s->compiling = list;
}

void glEndList(void) {
  GlWebState* s = gl_state();
  if (s->compiling == 0) {
    gl_error(GL_INVALID_OPERATION);
    return;
  }
  s->compiling = 0;
}

void glCallList(GLuint list) {
  gl_call(list_call, list);
}
