// The GL 1.x state of one browser window (what a desktop GL context holds for a GLUT window)
// and the entry points the web/gl files share. Owned by gl_context.cpp; every web/gl file reads
// and changes the current state. Window pixels with y up; depth 0..1.
#ifndef TERNIVAL_WEB_GL_STATE_H
#define TERNIVAL_WEB_GL_STATE_H

#include <GL/gl.h>

#include <functional>
#include <vector>

#include "gl_pixels.h"

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int MATRIX_STACK_DEPTH = 32;  // entries of each matrix stack, as Mesa has
constexpr int ATTRIB_STACK_DEPTH = 16;  // glPushAttrib levels
constexpr int CAP_COUNT = 24;           // switches glEnable knows (see gl_switches.cpp)

//------------------------------------------------------------------------------
// Types
//------------------------------------------------------------------------------

// A 4 x 4 matrix in GL's column-major order, in floats as Mesa keeps it.
struct GlMatrix {
  float m[16];
};

// Everything glPushAttrib can save, grouped as its bits group it.
struct GlAttribs {
  // GL_CURRENT_BIT
  float colour[4];         // current colour, 0..1
  float raster_pos[4];     // window x, y, depth and clip w of the raster position
  bool raster_valid;       // the raster position is inside the view volume
  float raster_colour[4];  // colour current when the raster position was set
  // GL_ENABLE_BIT: one flag per switch in gl_switches.cpp's table
  bool caps[CAP_COUNT];
  // GL_COLOR_BUFFER_BIT
  GLenum blend_src, blend_dst;
  float clear_colour[4];
  bool colour_mask[4];
  // GL_DEPTH_BUFFER_BIT
  GLenum depth_func;
  bool depth_mask;
  double clear_depth;
  // GL_POLYGON_BIT
  GLenum cull_mode, front_face;
  GLenum polygon_mode[2];  // front, back
  // GL_LINE_BIT and GL_POINT_BIT
  float line_width;    // pixels as asked; the rasteriser rounds
  int stipple_factor;  // 1 .. 256
  GLushort stipple_pattern;
  float point_size;  // pixels
  // GL_VIEWPORT_BIT
  int viewport[4];  // x, y, width, height in window pixels
  float depth_range[2];
  // GL_SCISSOR_BIT
  int scissor[4];  // x, y, width, height in window pixels
  // GL_TRANSFORM_BIT, GL_LIGHTING_BIT, GL_HINT_BIT
  GLenum matrix_mode;
  GLenum shade_model;
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

// One immediate-mode vertex: clip coordinates and the colour current when it was given.
struct GlVertex {
  float clip[4];
  float colour[4];
};

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
  // glBegin .. glEnd
  bool in_begin;
  GLenum begin_mode;
  std::vector<GlVertex> vertices;
  PixelStipple stipple;  // pattern position along the current strip
  // Display lists: index = list name; list 0 is never handed out.
  std::vector<GlList> lists;
  GLuint compiling;  // list being compiled, 0 when none
  int unpack_alignment, pack_alignment;
  GLenum error;  // first error since glGetError
};

//------------------------------------------------------------------------------
// Shared entry points
//------------------------------------------------------------------------------

// The state GL calls act on; never null (a state of its own stands in before any window).
GlWebState* gl_state();
// Records the first error since the last glGetError, as GL does.
void gl_error(GLenum error);

// Display lists (gl_lists.cpp): while a list is being compiled, a recordable call hands itself
// to gl_list_record and returns instead of acting.
bool gl_list_compiling();
void gl_list_record(std::function<void()> call);

// Matrices (gl_matrix.cpp).
const GlMatrix& gl_modelview();
const GlMatrix& gl_projection();
// Clip coordinates of an object point: projection * (modelview * point), in floats.
void gl_transform(float x, float y, float z, float w, float clip[4]);

// Where a clip point lands in the window: x, y (up) and depth as GL reports them, and the
// position counted down from the window's top edge as Mesa's rasteriser computes it (its
// viewport transform runs upside down, so `down` is not exactly height - y in floats).
struct GlWindowPoint {
  float x, y, z;
  float down;
};
GlWindowPoint gl_clip_to_window(const float clip[4]);
// The switch's flag in the current state, or null when glEnable does not know it.
bool* gl_cap(GLenum cap);
// GL's initial switches: dithering and multisampling on, everything else off.
void gl_caps_init(bool caps[CAP_COUNT]);
bool gl_cap_on(GLenum cap);

#endif
