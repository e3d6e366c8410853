// Start-up of the real program on a private Xvfb: the time from launching the
// binary until every visible window shows its first frame on the screen, and
// the process's peak resident memory at that moment (kilobytes).
#include "support/xserver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace {

constexpr int PROBE = 3;              // side of the square of pixels sampled per window
constexpr int CHANNEL_TOLERANCE = 2;  // per 0..255 channel
constexpr int POLL_US = 500;          // between two looks at the screen
constexpr int GIVE_UP_S = 10;         // a start-up slower than this is given up and counted
constexpr int LAUNCHES = 5;           // per repetition
constexpr int OPEN_RETRY_MS = 100;    // between two tries to open the display

// A screen position inside each visible window that its first frame paints in
// a known colour: blank spots of the drawing pad and the projection window
// (white), of the knot panel and the control panel (grey 0.85). A window not
// drawn yet shows the server's background pattern there instead.
struct Probe {
  int x, y;
  int grey;  // expected value of every channel, 0..255
};
constexpr int WHITE = 255;
constexpr int PANEL_GREY = 217;  // 0.85 of 255, rounded
const Probe PROBES[] = {
    {1 + 284, 1 + 284, WHITE},        // drawing pad, between grid lines
    {541 + 20, 1 + 300, PANEL_GREY},  // knot panel, left of the empty bar
    {1 + 458, 541 + 40, PANEL_GREY},  // control panel, right of " About"
    {653 + 20, 0 + 20, WHITE},        // projection window, a corner
};

// True when the probe's whole square has the expected grey.
bool probe_drawn(Display* display, const Probe& p) {
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), p.x, p.y, PROBE, PROBE, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool drawn = true;
  for (int y = 0; y < PROBE && drawn; y++) {
    for (int x = 0; x < PROBE && drawn; x++) {
      const unsigned long pixel = XGetPixel(image, x, y);
      const int channels[] = {static_cast<int>((pixel >> 16) & 0xff),
                              static_cast<int>((pixel >> 8) & 0xff),
                              static_cast<int>(pixel & 0xff)};
      for (int c : channels) drawn = drawn && std::abs(c - p.grey) <= CHANNEL_TOLERANCE;
    }
  }
  XDestroyImage(image);
  return drawn;
}

bool all_drawn(Display* display) {
  for (const Probe& p : PROBES)
    if (!probe_drawn(display, p)) return false;
  return true;
}

// Paints the screen black once the previous launch's windows are gone (the
// server drops them when it notices the closed connection), so that their
// picture cannot pass for the next launch's first frame.
bool clear_screen(Display* display) {
  Window root = DefaultRootWindow(display);
  XSetWindowBackground(display, root, BlackPixel(display, DefaultScreen(display)));
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    XClearWindow(display, root);
    XSync(display, False);
    bool any = false;
    for (const Probe& p : PROBES) any = any || probe_drawn(display, p);
    if (!any) return true;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(GIVE_UP_S)) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(POLL_US));
  }
}

// The private display, tried for a while: on a loaded machine the server may
// refuse a connection for a moment.
Display* open_display() {
  const auto start = std::chrono::steady_clock::now();
  Display* display = XOpenDisplay(nullptr);
  while (display == nullptr &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(GIVE_UP_S)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(OPEN_RETRY_MS));
    display = XOpenDisplay(nullptr);
  }
  return display;
}

void bm_startup(benchmark::State& state) {
  xserver_start();
  Display* display = open_display();
  // Every repetition runs all its launches and never calls SkipWithError:
  // Google Benchmark 1.7 aborts (or crashes, when it is the first) while
  // aggregating a repetition that ended early or with an error. A launch that
  // gives up, or could not be made, is timed at the limit and counted; an
  // error is said in the row's label and on stderr.
  const char* error = display == nullptr ? "cannot open the private display" : nullptr;
  long peak_kb = 0;
  int slow = 0, failed = 0;
  for (auto _ : state) {
    char program[] = TERNIVAL_BINARY;
    char* argv[] = {program, nullptr};
    pid_t pid = 0;
    if (error == nullptr) slow += !clear_screen(display);
    const auto start = std::chrono::steady_clock::now();
    if (error == nullptr && posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
      error = "cannot start the program";
    if (error != nullptr) {
      ++failed;
      state.SetIterationTime(GIVE_UP_S);
      continue;
    }
    bool drawn = false;
    while (!drawn && std::chrono::steady_clock::now() - start < std::chrono::seconds(GIVE_UP_S)) {
      drawn = all_drawn(display);
      if (!drawn) std::this_thread::sleep_for(std::chrono::microseconds(POLL_US));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    slow += !drawn;
    state.SetIterationTime(seconds);
    peak_kb = std::max(peak_kb, usage.ru_maxrss);
  }
  state.counters["peak_rss_kB"] = static_cast<double>(peak_kb);
  state.counters["launches_given_up"] = slow;
  state.counters["launches_failed"] = failed;
  if (error != nullptr) {
    state.SetLabel(error);
    std::fprintf(stderr, "bm_startup: %s\n", error);
  }
  if (display != nullptr) XCloseDisplay(display);
}

BENCHMARK(bm_startup)
    ->Name("startup/first_frame_of_every_window")
    ->UseManualTime()
    ->Iterations(LAUNCHES)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
