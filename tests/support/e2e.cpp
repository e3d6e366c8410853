// End-to-end driver: the real binary on this process's private Xvfb, looked
// at and driven only through the X server (Xlib queries, XTest input,
// XGetImage pictures).
#include "e2e.h"

#include "xserver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr const char* MAIN_TITLE = "2D NURBS Curve";
constexpr const char* PROJECTION_TITLE = "3D B-Spline Projection";
constexpr int START_TIMEOUT_MS = 30000;  // sanitized builds start slowly
constexpr int POLL_MS = 20;
constexpr int DRAWN_POLLS = 30;  // polls of DRAWN_POLL_MS for a window's first frames
constexpr int DRAWN_POLL_MS = 100;
constexpr int TERM_GRACE_MS = 3000;  // after SIGTERM, before SIGKILL
constexpr int STEP_PAUSE_MS = 5;     // between the motion events of a drag
constexpr int EXIT_SIGNAL_BASE = 128;
// The program is taken to be idle once none of its threads has run for this
// many polls in a row; a sanitized build under load can need seconds.
constexpr int IDLE_POLL_MS = 10;
constexpr int IDLE_POLLS = 3;
constexpr int IDLE_WAIT_MAX_MS = 5000;

Display* as_display(void* d) {
  return static_cast<Display*>(d);
}

// Windows vanish while we look at them; Xlib must not end the test for that.
int ignore_x_error(Display*, XErrorEvent*) {
  return 0;
}

void sleep_ms(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int status_code(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return EXIT_SIGNAL_BASE + WTERMSIG(status);
  return -1;
}

// CPU time in nanoseconds used so far by every thread of a process, or -1
// when it cannot be read.
long long cpu_time_ns(int pid) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/task", pid);
  DIR* tasks = opendir(path);
  if (tasks == nullptr) return -1;
  long long total = 0;
  while (dirent* entry = readdir(tasks)) {
    if (entry->d_name[0] == '.') continue;
    char stat_path[300];
    std::snprintf(stat_path, sizeof stat_path, "/proc/%d/task/%s/schedstat", pid, entry->d_name);
    FILE* f = std::fopen(stat_path, "r");
    if (f == nullptr) continue;
    long long ns = 0;
    if (std::fscanf(f, "%lld", &ns) == 1) total += ns;
    std::fclose(f);
  }
  closedir(tasks);
  return total;
}

// Waits until the process has stopped using the CPU (it has handled every
// event and redrawn), or IDLE_WAIT_MAX_MS have passed.
void wait_until_idle(int pid) {
  long long last = cpu_time_ns(pid);
  int quiet = 0;
  for (int waited = 0; waited < IDLE_WAIT_MAX_MS && quiet < IDLE_POLLS; waited += IDLE_POLL_MS) {
    sleep_ms(IDLE_POLL_MS);
    long long now = cpu_time_ns(pid);
    if (now < 0) return;
    quiet = now == last ? quiet + 1 : 0;
    last = now;
  }
}

// Title of a window as the program set it, empty when it has none.
std::string window_title(Display* d, Window w) {
  std::string title;
  XTextProperty prop;
  if (XGetWMName(d, w, &prop) && prop.value != nullptr) {
    if (prop.format == 8) title.assign(reinterpret_cast<char*>(prop.value), prop.nitems);
    XFree(prop.value);
  }
  return title;
}

// Geometry and map state of one window, position in root coordinates.
E2eWindow describe(Display* d, Window w) {
  E2eWindow out;
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return out;
  int root_x = 0, root_y = 0;
  Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &root_x, &root_y, &child);
  out.id = w;
  out.x = root_x;
  out.y = root_y;
  out.width = a.width;
  out.height = a.height;
  out.mapped = a.map_state == IsViewable;
  return out;
}

// Children of a window in stacking order, bottom first.
std::vector<Window> child_ids(Display* d, Window w) {
  std::vector<Window> out;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    out.assign(children, children + n);
    if (children != nullptr) XFree(children);
  }
  return out;
}

// Byte value of one colour channel of an XImage pixel.
uint8_t channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  unsigned long max = mask >> shift;
  return static_cast<uint8_t>(((pixel & mask) >> shift) * 255u / max);
}

}  // namespace

E2eApp::~E2eApp() {
  stop();
}

bool E2eApp::start() {
  std::string name = xserver_start();
  XSetErrorHandler(ignore_x_error);
  if (display_ == nullptr) display_ = XOpenDisplay(name.c_str());
  if (display_ == nullptr) return false;

  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    // A test that dies must not leave the program running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    execl(TERNIVAL_BINARY, TERNIVAL_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  pid_ = pid;
  exited_ = false;
  exit_status_ = -1;

  for (int waited = 0; waited < START_TIMEOUT_MS; waited += POLL_MS) {
    if (!running()) return false;
    if (find(MAIN_TITLE).mapped && find(PROJECTION_TITLE).mapped) {
      settle();
      return true;
    }
    sleep_ms(POLL_MS);
  }
  return false;
}

int E2eApp::stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    if (!wait_exit(TERM_GRACE_MS, &status)) {
      kill(pid_, SIGKILL);
      wait_exit(TERM_GRACE_MS, &status);
    }
  }
  if (display_ != nullptr) {
    XCloseDisplay(as_display(display_));
    display_ = nullptr;
  }
  return exited_ ? exit_status_ : -1;
}

bool E2eApp::running() {
  if (pid_ <= 0) return false;
  int status = 0;
  pid_t r = waitpid(pid_, &status, WNOHANG);
  if (r == 0) return true;
  exited_ = r == pid_;
  exit_status_ = exited_ ? status_code(status) : -1;
  pid_ = -1;
  return false;
}

bool E2eApp::wait_exit(int ms, int* status) {
  for (int waited = 0;; waited += POLL_MS) {
    if (!running()) {
      if (status != nullptr) *status = exit_status_;
      return exited_;
    }
    if (waited >= ms) return false;
    sleep_ms(POLL_MS);
  }
}

E2eWindow E2eApp::find(const char* title) {
  Display* d = as_display(display_);
  if (d == nullptr) return {};
  for (Window w : child_ids(d, DefaultRootWindow(d))) {
    if (window_title(d, w) == title) return describe(d, w);
  }
  return {};
}

std::vector<E2eWindow> E2eApp::children(const E2eWindow& parent) {
  std::vector<E2eWindow> out;
  Display* d = as_display(display_);
  if (d == nullptr || parent.id == 0) return out;
  for (Window w : child_ids(d, parent.id)) out.push_back(describe(d, w));
  return out;
}

void E2eApp::move(const E2eWindow& w, int x, int y) {
  Display* d = as_display(display_);
  XTestFakeMotionEvent(d, DefaultScreen(d), w.x + x, w.y + y, CurrentTime);
  XSync(d, False);
}

void E2eApp::press(const E2eWindow& w, int x, int y, int button) {
  move(w, x, y);
  Display* d = as_display(display_);
  XTestFakeButtonEvent(d, button, True, CurrentTime);
  XSync(d, False);
}

void E2eApp::release(const E2eWindow& w, int x, int y, int button) {
  move(w, x, y);
  Display* d = as_display(display_);
  XTestFakeButtonEvent(d, button, False, CurrentTime);
  XSync(d, False);
}

void E2eApp::click(const E2eWindow& w, int x, int y, int button) {
  press(w, x, y, button);
  sleep_ms(STEP_PAUSE_MS);
  release(w, x, y, button);
}

void E2eApp::drag(const E2eWindow& w, int x0, int y0, int x1, int y1, int button, int steps) {
  if (steps < 1) steps = 1;
  press(w, x0, y0, button);
  for (int i = 1; i <= steps; ++i) {
    sleep_ms(STEP_PAUSE_MS);
    move(w, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
  }
  sleep_ms(STEP_PAUSE_MS);
  release(w, x1, y1, button);
}

void E2eApp::key_down_shift() {
  Display* d = as_display(display_);
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Shift_L), True, CurrentTime);
  XSync(d, False);
}

void E2eApp::key_up_shift() {
  Display* d = as_display(display_);
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Shift_L), False, CurrentTime);
  XSync(d, False);
}

void E2eApp::settle(int ms) {
  Display* d = as_display(display_);
  if (d != nullptr) XSync(d, False);
  sleep_ms(ms);
  if (pid_ > 0) wait_until_idle(pid_);
  if (d != nullptr) XSync(d, False);
}

Pixels E2eApp::grab(const E2eWindow& w) {
  Pixels out;
  Display* d = as_display(display_);
  if (d == nullptr || w.id == 0) return out;
  // What the screen shows of the window: clip its rectangle to the screen.
  int screen_w = DisplayWidth(d, DefaultScreen(d));
  int screen_h = DisplayHeight(d, DefaultScreen(d));
  int x0 = std::max(w.x, 0), y0 = std::max(w.y, 0);
  int x1 = std::min(w.x + w.width, screen_w), y1 = std::min(w.y + w.height, screen_h);
  if (x1 <= x0 || y1 <= y0) return out;
  XSync(d, False);
  XImage* image = XGetImage(d, DefaultRootWindow(d), x0, y0, x1 - x0, y1 - y0, AllPlanes, ZPixmap);
  if (image == nullptr) return out;
  out.width = x1 - x0;
  out.height = y1 - y0;
  out.data.assign(static_cast<size_t>(out.width) * out.height * 4, 0);
  for (int row = 0; row < out.height; ++row) {
    // X rows run from the top, ours from the bottom.
    uint8_t* dst = &out.data[static_cast<size_t>(out.height - 1 - row) * out.width * 4];
    for (int col = 0; col < out.width; ++col) {
      unsigned long pixel = XGetPixel(image, col, row);
      dst[col * 4 + 0] = channel(pixel, image->red_mask);
      dst[col * 4 + 1] = channel(pixel, image->green_mask);
      dst[col * 4 + 2] = channel(pixel, image->blue_mask);
      dst[col * 4 + 3] = 255;
    }
  }
  XDestroyImage(image);
  return out;
}

// Grabs the window until it shows pure red, or the polls run out.
Pixels E2eApp::grab_when_drawn(const E2eWindow& w) {
  const Rgba letter_red = {255, 0, 0, 255};
  Pixels p = grab(w);
  for (int i = 0; i < DRAWN_POLLS && !p.any(0, 0, p.width - 1, p.height - 1, letter_red); ++i) {
    settle(DRAWN_POLL_MS);
    p = grab(w);
  }
  return p;
}
