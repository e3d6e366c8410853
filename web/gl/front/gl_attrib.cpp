// glPushAttrib / glPopAttrib: a level saves every value and remembers which groups to put
// back, so a pop restores exactly the groups its push named, each group a record copied whole
// and each switch with its group (GL_SWITCHES in gl_state.h).
#include "gl/front/gl_state.h"

namespace {

#define GL_SWITCH_GROUP(id, name, on, group) group,
constexpr GLbitfield SWITCH_GROUPS[] = {GL_SWITCHES(GL_SWITCH_GROUP)};
#undef GL_SWITCH_GROUP

void restore(const GlAttribs& v, GLbitfield mask) {
  GlAttribs& a = gl_attribs_changing();
  if (mask & GL_CURRENT_BIT) a.current = v.current;
  if (mask & GL_COLOR_BUFFER_BIT) a.colour_buffer = v.colour_buffer;
  if (mask & GL_DEPTH_BUFFER_BIT) a.depth = v.depth;
  if (mask & GL_POLYGON_BIT) a.polygon = v.polygon;
  if (mask & GL_LINE_BIT) a.line = v.line;
  if (mask & GL_POINT_BIT) a.point = v.point;
  if (mask & GL_VIEWPORT_BIT) a.viewport = v.viewport;
  if (mask & GL_SCISSOR_BIT) a.scissor = v.scissor;
  if (mask & GL_TRANSFORM_BIT) a.transform = v.transform;
  if (mask & GL_LIGHTING_BIT) a.lighting = v.lighting;
  for (int i = 0; i < SWITCH_COUNT; ++i)
    if ((mask & (GL_ENABLE_BIT | SWITCH_GROUPS[i])) != 0) a.switches[i] = v.switches[i];
}

void push_attrib(GLbitfield mask) {
  GlWebState* s = gl_state();
  if (static_cast<int>(s->attrib_stack.size()) >= ATTRIB_STACK_DEPTH) {
    gl_error(GL_STACK_OVERFLOW);
    return;
  }
  s->attrib_stack.push_back(GlSavedAttribs{mask, s->a});
}

void pop_attrib() {
  GlWebState* s = gl_state();
  if (s->attrib_stack.empty()) {
    gl_error(GL_STACK_UNDERFLOW);
    return;
  }
  const GlSavedAttribs level = s->attrib_stack.back();
  s->attrib_stack.pop_back();
  restore(level.values, level.mask);
}

}  // namespace

void glPushAttrib(GLbitfield mask) {
  gl_call(push_attrib, mask);
}

void glPopAttrib(void) {
  gl_call(pop_attrib);
}
