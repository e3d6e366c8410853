// The GL 1.x state of the browser layer: one state per GLUT window (what a desktop GL context
// holds), and the layer's one record of everything else. Owned by gl_state.cpp; every file of
// the front end reads and changes the current state through it.
//
// The pipeline; calls go only down, a stage or more, never up:
//   1. front/     entry points, state, display lists, matrices, attributes
//        | vertices in clip coordinates, with the draw state kept current
//   2. assembly/  primitives split, clipped, culled and mapped to the window
//        | lines, points, one-colour triangles       | other triangles
//   3. raster/    their pixels, lit on the CPU as Mesa lights them
//        | (the pixels, back to assembly, go on as rectangles)
//   4. batch/     runs of one WebGL draw each, under the draw state handed down
//        | vertices and runs at each flush
//   5. webgl/     WebGL state set only when it changes; one drawArrays per run
// Window pixels with y up; depth 0..1.
#ifndef TERNIVAL_WEB_GL_STATE_H
#define TERNIVAL_WEB_GL_STATE_H

#include <GL/gl.h>

#include "gl/assembly/assembly.h"
#include "gl/batch/batch.h"
#include "gl/raster/raster.h"
#include "gl/webgl/backend.h"

#include <functional>
#include <utility>
#include <vector>

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int MATRIX_STACK_DEPTH = 32;  // entries of each matrix stack, as Mesa has
constexpr int ATTRIB_STACK_DEPTH = 16;  // glPushAttrib levels

// Every switch glEnable knows: its name, whether GL starts with it on, and the attribute group
// besides GL_ENABLE_BIT that saves it (0: none the layer keeps).
#define GL_SWITCHES(X)                                         \
  X(BLEND, GL_BLEND, false, GL_COLOR_BUFFER_BIT)               \
  X(DEPTH_TEST, GL_DEPTH_TEST, false, GL_DEPTH_BUFFER_BIT)     \
  X(CULL_FACE, GL_CULL_FACE, false, GL_POLYGON_BIT)            \
  X(SCISSOR_TEST, GL_SCISSOR_TEST, false, GL_SCISSOR_BIT)      \
  X(LINE_STIPPLE, GL_LINE_STIPPLE, false, GL_LINE_BIT)         \
  X(LIGHTING, GL_LIGHTING, false, GL_LIGHTING_BIT)             \
  X(NORMALIZE, GL_NORMALIZE, false, GL_TRANSFORM_BIT)          \
  X(AUTO_NORMAL, GL_AUTO_NORMAL, false, GL_EVAL_BIT)           \
  X(MAP1_VERTEX_3, GL_MAP1_VERTEX_3, false, GL_EVAL_BIT)       \
  X(MAP1_VERTEX_4, GL_MAP1_VERTEX_4, false, GL_EVAL_BIT)       \
  X(POLYGON_SMOOTH, GL_POLYGON_SMOOTH, false, GL_POLYGON_BIT)  \
  X(LINE_SMOOTH, GL_LINE_SMOOTH, false, GL_LINE_BIT)           \
  X(POINT_SMOOTH, GL_POINT_SMOOTH, false, GL_POINT_BIT)        \
  X(TEXTURE_2D, GL_TEXTURE_2D, false, 0)                       \
  X(DITHER, GL_DITHER, true, GL_COLOR_BUFFER_BIT)              \
  X(COLOR_MATERIAL, GL_COLOR_MATERIAL, false, GL_LIGHTING_BIT) \
  X(ALPHA_TEST, GL_ALPHA_TEST, false, GL_COLOR_BUFFER_BIT)     \
  X(FOG, GL_FOG, false, 0)                                     \
  X(MULTISAMPLE, GL_MULTISAMPLE, true, 0)                      \
  X(LIGHT0, GL_LIGHT0, false, GL_LIGHTING_BIT)                 \
  X(POLYGON_STIPPLE, GL_POLYGON_STIPPLE, false, 0)

#define GL_SWITCH_ENUM(id, name, on, group) SWITCH_##id,
enum GlSwitch { GL_SWITCHES(GL_SWITCH_ENUM) SWITCH_COUNT };
#undef GL_SWITCH_ENUM

//------------------------------------------------------------------------------
// Types
//------------------------------------------------------------------------------

// A 4 x 4 matrix in GL's column-major order, in floats as Mesa keeps it.
struct GlMatrix {
  float m[16];
};

// The attribute groups glPushAttrib saves, each a record copied whole.
struct GlCurrentAttribs {  // GL_CURRENT_BIT
  float colour[4];         // current colour, 0..1
  float raster_pos[4];     // window x, y, depth and clip w of the raster position
  bool raster_valid;       // the raster position is inside the view volume
  float raster_colour[4];  // colour current when the raster position was set
};
struct GlColourBufferAttribs {  // GL_COLOR_BUFFER_BIT
  GLenum blend_src, blend_dst;
  float clear_colour[4];
  bool mask[4];
};
struct GlDepthAttribs {  // GL_DEPTH_BUFFER_BIT
  GLenum func;
  bool mask;
  double clear;
};
struct GlPolygonAttribs {  // GL_POLYGON_BIT
  GLenum cull_mode, front_face;
  GLenum mode[2];  // front, back
};
struct GlLineAttribs {  // GL_LINE_BIT
  float width;          // pixels as asked; the rasteriser rounds
  int stipple_factor;   // 1 .. 256
  GLushort stipple_pattern;
};
struct GlPointAttribs {  // GL_POINT_BIT
  float size;            // pixels
};
struct GlViewportAttribs {  // GL_VIEWPORT_BIT
  int box[4];               // x, y, width, height in window pixels
  float depth_range[2];
};
struct GlScissorAttribs {  // GL_SCISSOR_BIT
  int box[4];              // x, y, width, height in window pixels
};
struct GlTransformAttribs {  // GL_TRANSFORM_BIT
  GLenum matrix_mode;
};
struct GlLightingAttribs {  // GL_LIGHTING_BIT
  GLenum shade_model;
};

// Everything glPushAttrib can save.
struct GlAttribs {
  GlCurrentAttribs current;
  bool switches[SWITCH_COUNT];  // GL_ENABLE_BIT, and each switch's own group
  GlColourBufferAttribs colour_buffer;
  GlDepthAttribs depth;
  GlPolygonAttribs polygon;
  GlLineAttribs line;
  GlPointAttribs point;
  GlViewportAttribs viewport;
  GlScissorAttribs scissor;
  GlTransformAttribs transform;
  GlLightingAttribs lighting;
};

// One level of the attribute stack: the groups saved and their values.
struct GlSavedAttribs {
  GLbitfield mask;
  GlAttribs values;
};

// A display list: the recorded calls, replayed in order.
struct GlList {
  bool used;  // handed out by glGenLists
  std::vector<std::function<void()>> calls;
};

// The GL state of one window.
struct GlWebState {
  long webgl;                 // WebGL context the window's pixels live in
  int win_x, win_y;           // window's bottom-left corner in the canvas, canvas pixels
  int win_width, win_height;  // window size, pixels
  GlAttribs a;                // current values of everything glPushAttrib saves
  std::vector<GlSavedAttribs> attrib_stack;
  GlMatrix modelview[MATRIX_STACK_DEPTH];
  GlMatrix projection[MATRIX_STACK_DEPTH];
  int modelview_top, projection_top;  // index of each stack's current matrix
  GlMatrix mvp;                       // projection * modelview, valid unless mvp_stale
  bool mvp_stale;
  DrawState draw;   // what assembly and the batch draw with; valid unless draw_stale
  bool draw_stale;  // set by every change of the attributes or of the window's place
  // glBegin .. glEnd
  bool in_begin;
  GLenum begin_mode;
  std::vector<GlVertex> vertices;  // valid between glBegin and glEnd
  // Display lists: index = list name; list 0 is never handed out.
  std::vector<GlList> lists;
  GLuint compiling;  // list being compiled, 0 when none
  int unpack_alignment, pack_alignment;
  GLenum error;      // first error since glGetError
  BatchFrame frame;  // the window's pixels when the batch draws them on the CPU
};

// The GL layer: the window states and the stages below the front end.
struct GlLayer {
  GlWebState* current;   // state GL calls act on; null while no window is current
  GlWebState* fallback;  // acts while no window is current; made when first needed
  int list_nesting;      // glCallList calls under way
  unsigned draw_serial;  // serial of the draw state built last
  std::vector<PixelFragment> bitmap_pixels;  // scratch of one glBitmap
  Assembly assembly;
  Batch batch;
  Backend backend;
};

//------------------------------------------------------------------------------
// Shared entry points
//------------------------------------------------------------------------------

GlLayer& gl_layer();
// The state GL calls act on; never null (a state of its own stands in before any window).
GlWebState* gl_state();
// GL's initial state, as a desktop context starts.
void gl_state_init(GlWebState* s, long webgl);
// The attributes, for a change: the draw state is rebuilt before the next primitive.
GlAttribs& gl_attribs_changing();
// The draw state of the current attributes.
const DrawState& gl_draw_state();
// Records the first error since the last glGetError, as GL does.
void gl_error(GLenum error);
// The switch's index in GlAttribs::switches, or -1 when glEnable does not know it.
int gl_switch_index(GLenum cap);

// Matrices (gl_matrix.cpp): the current ones, and clip coordinates of an object point,
// projection * (modelview * point), in floats.
const GlMatrix& gl_modelview();
const GlMatrix& gl_projection();
void gl_transform(float x, float y, float z, float w, float clip[4]);

// The recording step of every recordable entry point: runs act(args...) now, or, while a
// display list is being compiled, keeps the call (arguments by value) in the list instead.
template <typename... Params, typename... Args>
void gl_call(void (*act)(Params...), Args... args) {
  GlWebState* s = gl_state();
  if (s->compiling == 0) {
    act(args...);
    return;
  }
  s->lists[s->compiling].calls.emplace_back([=] { act(args...); });
}

#endif
