// End-to-end driver over Xlib and XTest; see e2e.h.
#include "e2e.h"

#include "xserver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace {

constexpr int POLL_MS = 40;
constexpr int WAIT_MS = 10000;  // bound of every wait on the program (three times at start)
// The part of the screen the program's windows cover: the main window, the 3D
// view at (653, 0) and the About window down to row 685.
constexpr int SCENE_W = 1193, SCENE_H = 686;

}  // namespace

bool E2e::start() {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may go meanwhile
  display_ = XOpenDisplay(xserver_start().c_str());
  if (display_ == nullptr || (pid_ = fork()) < 0) return false;
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a test that dies
    execl(TERNIVAL_BINARY, TERNIVAL_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int waited = 0; waited < 3 * WAIT_MS && status() < 0;
       waited += POLL_MS, usleep(POLL_MS * 1000))
    if (find("2D NURBS Curve").shown && find("3D B-Spline Projection").shown) return true;
  return false;
}

int E2e::status(int ms) {
  int st = 0;
  for (int waited = 0; pid_ > 0 && waitpid(pid_, &st, WNOHANG) == 0; waited += POLL_MS) {
    if (waited >= ms) return -1;
    usleep(POLL_MS * 1000);
  }
  if (pid_ > 0) status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
  pid_ = -1;
  return status_;
}

int E2e::stop() {
  if (pid_ > 0) kill(pid_, SIGKILL);
  if (display_ != nullptr) XCloseDisplay(display_), display_ = nullptr;
  return status(WAIT_MS);
}

Win E2e::find(const char* title) {
  for (const Win& w : children(Win{DefaultRootWindow(display_)})) {
    char* name = nullptr;
    const bool same = XFetchName(display_, w.id, &name) && std::strcmp(name, title) == 0;
    XFree(name);
    if (same) return w;
  }
  return {};
}

std::vector<Win> E2e::children(const Win& parent) {
  Window root = 0, up = 0, *kids = nullptr;
  unsigned int n = 0;
  std::vector<Win> out;
  XQueryTree(display_, parent.id, &root, &up, &kids, &n);
  for (unsigned int i = 0; i < n; ++i) {
    XWindowAttributes a;
    XGetWindowAttributes(display_, kids[i], &a);
    out.push_back({kids[i], a.x, a.y, a.width, a.height, a.map_state == IsViewable});
  }
  XFree(kids);
  return out;
}

void E2e::mouse(int x, int y, int b, bool down) {
  XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
  if (b != 0) XTestFakeButtonEvent(display_, b, down, CurrentTime);
  XSync(display_, False);
}

void E2e::drag(int x0, int y0, int x1, int y1) {
  mouse(x0, y0, 1, true);
  for (int i = 1; i <= 12; ++i, usleep(10000))
    mouse(x0 + (x1 - x0) * i / 12, y0 + (y1 - y0) * i / 12);
  mouse(x1, y1, 1, false);
}

void E2e::shift(bool down) {
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Shift_L), down, CurrentTime);
  XSync(display_, False);
}

Pixels E2e::grab(int x, int y, int w, int h) {
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, w, h, AllPlanes, ZPixmap);
  Pixels p{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4, 255)};
  for (int row = 0; row < h; ++row)  // X counts rows from the top, Pixels from the bottom
    for (int col = 0; col < w; ++col) {
      const unsigned long v = XGetPixel(image, col, row);  // 24-bit TrueColor: 0xRRGGBB
      uint8_t* out = &p.data[(static_cast<size_t>(h - 1 - row) * w + col) * 4];
      out[0] = v >> 16 & 255, out[1] = v >> 8 & 255, out[2] = v & 255;
    }
  XDestroyImage(image);
  return p;
}

Pixels E2e::still() {
  usleep(3 * POLL_MS * 1000);
  Pixels last = grab(0, 0, SCENE_W, SCENE_H);
  if (!until([&](const Pixels& now) { return std::exchange(last, now).data == now.data; }))
    ADD_FAILURE() << "gave up waiting for the program's windows to stop changing";
  return last;
}

bool E2e::until(const std::function<bool(const Pixels&)>& shows) {
  for (int waited = 0; waited < WAIT_MS; waited += POLL_MS, usleep(POLL_MS * 1000))
    if (shows(grab(0, 0, SCENE_W, SCENE_H))) return true;
  return false;
}

void E2e::close(const char* title) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = find(title).id;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  XSendEvent(display_, e.xclient.window, False, NoEventMask, &e);
  XSync(display_, False);
}
