// GL test fixture: the real windows on a private Xvfb, event pumping and
// read-back of what a display callback drew. Test executables are linked with
// --wrap=glutSwapBuffers so that the back buffer is read just before a swap.
#include "gl_app.h"

#include "app/shell.h"
#include "app/startup.h"
#include "view3d/projection.h"
#include "view3d/renderer.h"
#include "widgets/knot_bar.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "xserver.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

extern "C" void __real_glutSwapBuffers();    // NOLINT(bugprone-reserved-identifier)
extern "C" void __real_glutPostRedisplay();  // NOLINT(bugprone-reserved-identifier)

namespace {

Pixels* capture_target = nullptr;  // set while gl_capture runs a display callback
std::vector<int> posted_redisplays;

void read_back_buffer(Pixels* out) {
  out->width = glutGet(GLUT_WINDOW_WIDTH);
  out->height = glutGet(GLUT_WINDOW_HEIGHT);
  out->data.assign(static_cast<size_t>(out->width) * out->height * 4, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, out->width, out->height, GL_RGBA, GL_UNSIGNED_BYTE, out->data.data());
}

bool near(uint8_t a, uint8_t b, int tolerance) {
  return std::abs(a - b) <= tolerance;
}

}  // namespace

extern "C" void __wrap_glutSwapBuffers() {  // NOLINT(bugprone-reserved-identifier)
  if (capture_target != nullptr) read_back_buffer(capture_target);
  capture_target = nullptr;
  __real_glutSwapBuffers();
}
extern "C" void __wrap_glutPostRedisplay() {  // NOLINT(bugprone-reserved-identifier)
  posted_redisplays.push_back(glutGetWindow());
  __real_glutPostRedisplay();
}

Rgba Pixels::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0, 0};
  const uint8_t* p = &data[(static_cast<size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

int Pixels::count(int x0, int y0, int x1, int y1, Rgba colour, int tolerance) const {
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const Rgba p = at(x, y);
      n += x >= 0 && y >= 0 && x < width && y < height && near(p.r, colour.r, tolerance) &&
           near(p.g, colour.g, tolerance) && near(p.b, colour.b, tolerance);
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
  const int visible[] = {window_table.win_main.id, window_table.win_projection.id,
                         window_table.win_knots.id, window_table.win_panel.id,
                         window_table.win_pad.id};
  for (int tries = 0; tries < 10000; ++tries, gl_pump(1))  // mapped, else the tests fail
    if (std::all_of(std::begin(visible), std::end(visible), gl_window_viewable)) break;
  for (int round = 0; round < 5; ++round) {  // reshapes that follow the mapping
    XSync(glXGetCurrentDisplay(), False);
    glutMainLoopEvent();
  }
  glutSetWindow(window_table.win_main.id);
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

bool gl_window_viewable(int id) {
  const int current = glutGetWindow();
  glutSetWindow(id);
  XWindowAttributes attributes;
  const bool viewable =
      XGetWindowAttributes(glXGetCurrentDisplay(), glXGetCurrentDrawable(), &attributes) &&
      attributes.map_state == IsViewable;
  if (current != 0) glutSetWindow(current);
  return viewable;
}

Pixels gl_capture(int window_id, void (*display)()) {
  Pixels picture;
  glutSetWindow(window_id);
  capture_target = &picture;
  display();
  if (capture_target != nullptr) {  // a display that never swaps leaves its picture behind
    glutSetWindow(window_id);
    read_back_buffer(&picture);
  }
  capture_target = nullptr;
  return picture;
}

void gl_reset_state() {
  curves_reset();
  show_deboor = show_deboor_points = 0;
  proj_grid = 1;
  proj_zoom = PROJ_ZOOM_START;
  selection_count = 1;
  knot_bar.value = 0.0f;
  knot_bar.drag_mode = KNOT_BAR_NONE;
  chk_grid.state = 1;
  chk_deboor.state = chk_points.state = 0;
  weight_slider.value = 1.0f;
  weight_slider.dragging = 0;
  tracing_point_3d[0] = tracing_point_3d[1] = tracing_point_3d[2] = 0.0f;
  pad_mode = 10;
  picked_point = -1;
  rot_step_x = rot_step_y = proj_dragging = 0;
  for (int i = 0; i < 16; ++i) view_matrix[i] = i % 5 == 0 ? 1.0 : 0.0;
  render_cache = knot_bar_batch = 1;
}

void gl_build(const std::vector<ControlPoint>& points, int degree, int type) {
  edited_curve->degree = degree;
  for (const ControlPoint& p : points) curve_add_point(edited_curve, p, ADD_APPEND);
  curve_make_knots(edited_curve, type);
  curve_lift(edited_curve, lifted_curve);
}
