// GL test fixture: the real windows on a private Xvfb, event pumping and
// read-back of what a display callback drew. Test executables are linked with
// --wrap for glutSwapBuffers (the back buffer is read just before a swap),
// glutPostRedisplay, glutShowWindow and glutHideWindow (recorded).
#include "gl_app.h"

#include "app/shell.h"
#include "app/startup.h"
#include "view3d/projection.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/about.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "windows/new_curve.h"
#include "xserver.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <map>
#include <thread>

// NOLINTBEGIN(bugprone-reserved-identifier): the linker's --wrap names
extern "C" void __real_glutSwapBuffers();
extern "C" void __real_glutPostRedisplay();
extern "C" void __real_glutShowWindow();
extern "C" void __real_glutHideWindow();
// NOLINTEND(bugprone-reserved-identifier)

namespace {

Pixels* capture_target = nullptr;  // set while gl_capture runs a display callback
std::vector<int> posted_redisplays;
std::map<int, bool> shown_windows;

// Every global a session changes, kept as it was at start-up and put back by gl_reset_state.
#define START_STATE(X)                                                                           \
  X(btn_new)                                                                                     \
  X(btn_reset) X(btn_about) X(btn_quit) X(btn_zoom_in) X(btn_zoom_out) X(btn_grid) X(chk_deboor) \
      X(chk_points) X(chk_grid) X(weight_slider) X(saved_degree) X(btn_ok) X(btn_cancel)         \
          X(chk_degree_1) X(chk_degree_2) X(chk_degree_3) X(chk_degree_4) X(chk_degree_5)        \
              X(chk_degree_6) X(chk_degree_7) X(chk_degree_8) X(chk_degree_9) X(chk_degree_10)   \
                  X(chk_uniform) X(chk_clamped) X(chk_closed) X(btn_dismiss) X(knot_bar)         \
                      X(show_deboor) X(show_deboor_points) X(proj_grid) X(proj_zoom)             \
                          X(selection_count) X(pad_mode) X(picked_point) X(drag_last_x)          \
                              X(drag_last_y) X(view_matrix) X(rot_step_x) X(rot_step_y)          \
                                  X(proj_dragging) X(proj_last_x) X(proj_last_y)                 \
                                      X(tracing_point_3d)
#define KEEP(v) uint8_t v[sizeof(::v)];
struct StartState {
  START_STATE(KEEP)
} start_state;
#define SAVE(v) std::memcpy(start_state.v, &::v, sizeof ::v);
#define RESTORE(v) std::memcpy(&::v, start_state.v, sizeof ::v);

void read_buffer(Pixels* out) {
  const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
  if (out->width < 0) out->width = w - out->x0;
  if (out->height < 0) out->height = h - out->y0;
  out->data.assign(static_cast<size_t>(out->width) * out->height * 4, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(out->x0, out->y0, out->width, out->height, GL_RGBA, GL_UNSIGNED_BYTE,
               out->data.data());
}

bool viewable(int id) {
  glutSetWindow(id);
  XWindowAttributes attributes;
  return XGetWindowAttributes(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &attributes) &&
         attributes.map_state == IsViewable;
}

}  // namespace

// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" void __wrap_glutSwapBuffers() {
  if (capture_target != nullptr) read_buffer(capture_target);
  capture_target = nullptr;
  __real_glutSwapBuffers();
}
extern "C" void __wrap_glutPostRedisplay() {
  posted_redisplays.push_back(glutGetWindow());
  __real_glutPostRedisplay();
}
extern "C" void __wrap_glutShowWindow() {
  shown_windows[glutGetWindow()] = true;
  __real_glutShowWindow();
}
extern "C" void __wrap_glutHideWindow() {
  shown_windows[glutGetWindow()] = false;
  __real_glutHideWindow();
}
// NOLINTEND(bugprone-reserved-identifier)

Rgba Pixels::at(int x, int y) const {
  x -= x0, y -= y0;
  if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0, 0};
  const uint8_t* p = &data[(static_cast<size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

int Pixels::count(int xa, int ya, int xb, int yb, Rgba c, int tolerance) const {
  int n = 0;
  for (int y = std::max(ya, y0); y <= std::min(yb, y0 + height - 1); ++y)
    for (int x = std::max(xa, x0); x <= std::min(xb, x0 + width - 1); ++x) {
      const Rgba p = at(x, y);
      n += std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
    }
  return n;
}

Rgba rgba_bytes(float r, float g, float b, float a) {
  auto byte = [](float v) {
    return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255));
  };
  return {byte(r), byte(g), byte(b), byte(a)};
}

void gl_app_start() {
  static bool started = false;
  if (started) return;
  started = true;
  xserver_start();
  static char program[] = "ternival_test";
  static char* argv[] = {program, nullptr};
  int argc = 1;
  glutInit(&argc, argv);
  glutInitDisplayMode(startup_display_mode());
  init_curves();
  init_shared();
  create_windows();
  const WindowTable& t = window_table;
  const int visible[] = {t.win_main.id, t.win_projection.id, t.win_knots.id, t.win_panel.id,
                         t.win_pad.id};
  int tries = 0;
  while (!std::all_of(std::begin(visible), std::end(visible), viewable) && ++tries < 5000)
    gl_pump(2);
  if (tries >= 5000) {
    std::fprintf(stderr, "gl_app_start: the program's windows were never mapped\n");
    std::abort();
  }
  gl_pump(100);  // the reshapes and first displays that follow the mapping
  START_STATE(SAVE)
}

void gl_pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  } while (std::chrono::steady_clock::now() < end);
}

std::vector<int> gl_take_redisplays() {
  std::vector<int> out;
  out.swap(posted_redisplays);
  return out;
}

bool gl_shown(int id) {
  const auto it = shown_windows.find(id);
  return it == shown_windows.end() || it->second;
}

Pixels gl_capture(int window_id, void (*display)(), int x, int y, int w, int h) {
  Pixels picture;
  picture.x0 = x, picture.y0 = y, picture.width = w, picture.height = h;
  glutSetWindow(window_id);
  capture_target = &picture;
  display();
  if (capture_target != nullptr) {  // a display that never swaps leaves its picture behind
    glutSetWindow(window_id);
    read_buffer(&picture);
  }
  capture_target = nullptr;
  return picture;
}

void gl_reset_state() {
  curves_reset();
  START_STATE(RESTORE)
  for (int id : {window_table.win_new_curve.id, window_table.win_about.id})
    window_run(id, glutHideWindow);
  gl_take_redisplays();
}

void gl_build(const std::vector<ControlPoint>& points, int degree, int type) {
  edited_curve->degree = degree;
  for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_APPEND);
  curve_make_knots(edited_curve, type);
  curve_lift(edited_curve, lifted_curve);
}
