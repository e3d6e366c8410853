// GL test fixture: the real windows on a private Xvfb, event pumping and
// read-back of what a display callback drew. Test executables are linked with
// --wrap=glutSwapBuffers so that the back buffer is read just before a swap.
#include "gl_app.h"

#include "app/shell.h"
#include "app/startup.h"
#include "xserver.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

extern "C" void __real_glutSwapBuffers();
extern "C" void __wrap_glutSwapBuffers();
extern "C" void __real_glutPostRedisplay();
extern "C" void __wrap_glutPostRedisplay();
extern "C" void __real_glutPostWindowRedisplay(int window);
extern "C" void __wrap_glutPostWindowRedisplay(int window);

namespace {

constexpr int START_TIMEOUT_MS = 10000;  // windows must be mapped by then
constexpr int PUMP_SLEEP_MS = 1;
constexpr int SETTLE_ROUNDS = 5;  // quiet rounds of the event queue after mapping
constexpr int CHANNEL_MAX = 255;

bool started = false;
Pixels* capture_target = nullptr;  // set while gl_capture runs a display callback
bool capture_done = false;
std::vector<int> posted_redisplays;  // see gl_take_redisplays

// Reads the current window's back buffer, whole window, rows from the bottom.
void read_back_buffer(Pixels* out) {
  out->width = glutGet(GLUT_WINDOW_WIDTH);
  out->height = glutGet(GLUT_WINDOW_HEIGHT);
  out->data.assign(static_cast<size_t>(out->width) * out->height * 4, 0);
  if (out->width <= 0 || out->height <= 0) return;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, out->width, out->height, GL_RGBA, GL_UNSIGNED_BYTE, out->data.data());
}

// True when every window visible at start is mapped.
bool visible_windows_mapped() {
  const int ids[] = {window_table.win_main.id, window_table.win_projection.id,
                     window_table.win_knots.id, window_table.win_panel.id, window_table.win_pad.id};
  bool all = true;
  for (int id : ids) all = all && gl_window_viewable(id);
  return all;
}

// Handles everything the server has sent so far, reshapes included.
void drain_events() {
  Display* display = glXGetCurrentDisplay();
  for (int round = 0; round < SETTLE_ROUNDS; ++round) {
    if (display != nullptr) XSync(display, False);
    glutMainLoopEvent();
  }
}

uint8_t channel_from_float(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 1.0f) return CHANNEL_MAX;
  return static_cast<uint8_t>(std::lround(v * CHANNEL_MAX));
}

bool near(uint8_t a, uint8_t b, int tolerance) {
  return std::abs(static_cast<int>(a) - static_cast<int>(b)) <= tolerance;
}

//------------------------------------------------------------------------------
// A minimal PNG writer: RGBA, 8 bits, zlib with stored (uncompressed) blocks.
//------------------------------------------------------------------------------

constexpr size_t DEFLATE_STORED_MAX = 65535;  // bytes in one stored block
constexpr uint32_t ADLER_MOD = 65521;

uint32_t png_crc(const uint8_t* bytes, size_t n, uint32_t crc = 0xffffffffu) {
  for (size_t i = 0; i < n; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void put_u32(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(v >> shift));
}

void put_chunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& body) {
  put_u32(out, static_cast<uint32_t>(body.size()));
  size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), body.begin(), body.end());
  put_u32(out, png_crc(out->data() + start, out->size() - start) ^ 0xffffffffu);
}

std::vector<uint8_t> zlib_stored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  do {
    size_t n = std::min(DEFLATE_STORED_MAX, raw.size() - pos);
    bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n & 0xff));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n & 0xff));
    z.push_back(static_cast<uint8_t>((~n >> 8) & 0xff));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % ADLER_MOD;
    b = (b + a) % ADLER_MOD;
  }
  put_u32(&z, (b << 16) | a);
  return z;
}

}  // namespace

extern "C" void __wrap_glutSwapBuffers() {
  if (capture_target != nullptr && !capture_done) {
    read_back_buffer(capture_target);
    capture_done = true;
  }
  __real_glutSwapBuffers();
}

extern "C" void __wrap_glutPostRedisplay() {
  posted_redisplays.push_back(glutGetWindow());
  __real_glutPostRedisplay();
}

extern "C" void __wrap_glutPostWindowRedisplay(int window) {
  posted_redisplays.push_back(window);
  __real_glutPostWindowRedisplay(window);
}

//------------------------------------------------------------------------------
// Pixels
//------------------------------------------------------------------------------

Rgba Pixels::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0, 0};
  const uint8_t* p = &data[(static_cast<size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

int Pixels::count(int x0, int y0, int x1, int y1, Rgba colour, int tolerance) const {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width - 1);
  y1 = std::min(y1, height - 1);
  int n = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      Rgba p = at(x, y);
      if (near(p.r, colour.r, tolerance) && near(p.g, colour.g, tolerance) &&
          near(p.b, colour.b, tolerance))
        ++n;
    }
  }
  return n;
}

bool Pixels::any(int x0, int y0, int x1, int y1, Rgba colour, int tolerance) const {
  return count(x0, y0, x1, y1, colour, tolerance) > 0;
}

void Pixels::save_png(const char* path) const {
  // PNG rows run from the top; ours from the bottom.
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (width * 4 + 1));
  for (int y = height - 1; y >= 0; --y) {
    raw.push_back(0);  // filter: none
    const uint8_t* row = &data[static_cast<size_t>(y) * width * 4];
    raw.insert(raw.end(), row, row + static_cast<size_t>(width) * 4);
  }
  std::vector<uint8_t> header;
  put_u32(&header, static_cast<uint32_t>(width));
  put_u32(&header, static_cast<uint32_t>(height));
  const uint8_t rest[] = {8, 6, 0, 0, 0};  // 8 bits, RGBA, deflate, adaptive, no interlace
  header.insert(header.end(), rest, rest + sizeof rest);

  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  put_chunk(&file, "IHDR", header);
  put_chunk(&file, "IDAT", zlib_stored(raw));
  put_chunk(&file, "IEND", {});
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return;
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
}

Rgba rgba_from_float(const float* rgba) {
  return {channel_from_float(rgba[0]), channel_from_float(rgba[1]), channel_from_float(rgba[2]),
          channel_from_float(rgba[3])};
}

Rgba rgba_bytes(float r, float g, float b, float a) {
  const float rgba[4] = {r, g, b, a};
  return rgba_from_float(rgba);
}

//------------------------------------------------------------------------------
// Fixture
//------------------------------------------------------------------------------

void gl_app_start() {
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

  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(START_TIMEOUT_MS);
  while (!visible_windows_mapped()) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "gl_app_start: the windows were not mapped in time\n");
      std::exit(1);
    }
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(PUMP_SLEEP_MS));
  }
  drain_events();
  glutSetWindow(window_table.win_main.id);
}

void gl_pump(int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(PUMP_SLEEP_MS));
  } while (std::chrono::steady_clock::now() < end);
}

std::vector<int> gl_take_redisplays() {
  std::vector<int> out;
  out.swap(posted_redisplays);
  return out;
}

bool gl_window_viewable(int id) {
  int current = glutGetWindow();
  glutSetWindow(id);
  Display* display = glXGetCurrentDisplay();
  GLXDrawable drawable = glXGetCurrentDrawable();
  bool viewable = false;
  XWindowAttributes attributes;
  if (display != nullptr && drawable != 0 && XGetWindowAttributes(display, drawable, &attributes))
    viewable = attributes.map_state == IsViewable;
  if (current != 0) glutSetWindow(current);
  return viewable;
}

Pixels gl_capture(int window_id, void (*display)()) {
  Pixels picture;
  glutSetWindow(window_id);
  capture_target = &picture;
  capture_done = false;
  display();
  // A display callback that never swaps still leaves its picture behind.
  if (!capture_done) {
    glutSetWindow(window_id);
    read_back_buffer(&picture);
  }
  capture_target = nullptr;
  return picture;
}
