// Frame times of the real windows on a private Xvfb (Mesa's software renderer):
// each window's display callback with glFinish, for an empty curve, a typical
// lesson curve and the worst case; the three curve views redrawn together; and
// one drag step on the pad with the redraws it asks for ("12S").
#include "support/gl_app.h"

#include "app/shell.h"
#include "view3d/projection.h"
#include "widgets/knot_bar.h"
#include "windows/control_panel.h"
#include "windows/drawing_pad.h"
#include "windows/knot_panel.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

//------------------------------------------------------------------------------
// Scenes
//------------------------------------------------------------------------------

enum Scene { SCENE_EMPTY, SCENE_TYPICAL, SCENE_WORST, SCENE_COUNT };

const char* const SCENE_NAMES[SCENE_COUNT] = {"empty", "typical", "worst"};

// Typical lesson: 8 points, degree 3, clamped, u inside a span, de Boor and
// its points shown.
constexpr int TYPICAL_POINTS = 8;
constexpr int TYPICAL_DEGREE = 3;
constexpr float TYPICAL_U = 0.37f;  // between the knots 0.2 and 0.4
// Worst case: 100 points, degree 10, closed, de Boor and its points shown,
// several points selected.
constexpr int WORST_POINTS = 100;
constexpr int WORST_DEGREE = 10;
constexpr float WORST_U = 0.503f;  // inside the closed vector's valid range, off every knot
constexpr int WORST_SELECTED = 6;
constexpr double RING_RADIUS = 2.4;  // pad units: points lie on a wavy ring inside the pad
constexpr int RING_WAVES = 5;
constexpr int WEIGHT_WAVES = 3;
constexpr int DRAG_PIXELS = 1;    // one drag step moves the pointer this far
constexpr int PAD_MODE_DRAG = 3;  // pad_mode after a left press on a point

// Replaces the edited and lifted curves by the scene's and sets the switches,
// with the curve model's own operations, then lifts as the windows do.
void scene_build(Scene scene) {
  curves_reset();
  const bool worst = scene == SCENE_WORST;
  const int n = scene == SCENE_EMPTY ? 0 : worst ? WORST_POINTS : TYPICAL_POINTS;
  edited_curve->degree = worst ? WORST_DEGREE : TYPICAL_DEGREE;
  edited_curve->knot_type = worst ? KNOT_CLOSED : KNOT_CLAMPED;
  for (int i = 0; i < n; i++) {
    const double a = 2.0 * M_PI * i / n;
    const double r = RING_RADIUS * (0.75 + 0.25 * std::sin(RING_WAVES * a));
    const double w = 1.0 + 0.5 * std::cos(WEIGHT_WAVES * a);
    curve_add_point(edited_curve, ControlPoint{r * std::cos(a), r * std::sin(a), 0.0, w},
                    ADD_AFTER);
  }
  if (n >= 3) curve_make_knots(edited_curve, edited_curve->knot_type);
  selection_count = 1;
  edited_curve->selected[0] = n > 0 ? 0 : -1;
  if (worst) {
    for (int e = 1; e < WORST_SELECTED; e++) edited_curve->selected[e] = e * (n / WORST_SELECTED);
    selection_count = WORST_SELECTED;
  }
  knot_bar.value = scene == SCENE_EMPTY ? 0.0f : worst ? WORST_U : TYPICAL_U;
  edited_curve->trace_u = knot_bar.value;
  const unsigned char shown = scene == SCENE_EMPTY ? 0 : 1;
  show_deboor = shown;
  show_deboor_points = shown;
  chk_deboor.state = shown;
  chk_points.state = shown;
  curve_lift(edited_curve, lifted_curve);
}

//------------------------------------------------------------------------------
// Windows
//------------------------------------------------------------------------------

struct BenchWindow {
  const char* name;
  const WindowEntry* entry;
  void (*display)();
};

const BenchWindow WINDOWS[] = {
    {"pad", &window_table.win_pad, pad_display},
    {"projection", &window_table.win_projection, proj_display},
    {"knot_panel", &window_table.win_knots, knot_panel_display},
    {"control_panel", &window_table.win_panel, panel_display},
};
constexpr int PAD = 0, PROJECTION = 1, KNOT_PANEL = 2;

// Runs a window's display callback and waits until GL has finished drawing.
void draw(const BenchWindow& w) {
  glutSetWindow(w.entry->id);
  w.display();
  glFinish();
}

// Scenes are built once per benchmark, after every window has drawn once (the
// first draw compiles the widgets' display lists).
void prepare(Scene scene) {
  gl_app_start();
  scene_build(scene);
  for (const BenchWindow& w : WINDOWS) draw(w);
}

void bm_frame(benchmark::State& state, int window, Scene scene) {
  prepare(scene);
  for (auto _ : state) draw(WINDOWS[window]);
}

// What a change of the curve costs on screen: knot panel, pad and projection.
void bm_curve_views(benchmark::State& state, Scene scene) {
  prepare(scene);
  for (auto _ : state) {
    draw(WINDOWS[KNOT_PANEL]);
    draw(WINDOWS[PAD]);
    draw(WINDOWS[PROJECTION]);
  }
}

// One step of a left drag of the current point on the pad: pad_motion, then
// the three windows it asks to be redrawn. The pointer swings back and forth
// by a pixel so the point stays where it is on average.
void bm_drag_step(benchmark::State& state, Scene scene) {
  prepare(scene);
  const WindowEntry& pad = window_table.win_pad;
  const ControlPoint& p = edited_curve->points[edited_curve->selected[0]];
  const int x = static_cast<int>(pad.width / 2.0 + p.x * pad.width / 6.0);
  const int y = pad.height - static_cast<int>(pad.height / 2.0 + p.y * pad.height / 6.0);
  // The state a left press on the point leaves (pad_mouse itself would ask
  // GLUT for modifier keys outside a real input callback).
  picked_point = edited_curve->selected[0];
  pad_mode = PAD_MODE_DRAG;
  drag_last_x = x;
  drag_last_y = pad.height - y;
  int step = DRAG_PIXELS;
  for (auto _ : state) {
    glutSetWindow(pad.id);
    pad_motion(x + step, y);
    step = -step;
    draw(WINDOWS[KNOT_PANEL]);
    draw(WINDOWS[PAD]);
    draw(WINDOWS[PROJECTION]);
  }
  picked_point = -1;
}

// Every benchmark, named window/scene, in milliseconds.
void register_all() {
  for (int scene = 0; scene < SCENE_COUNT; scene++) {
    for (int window = 0; window < static_cast<int>(std::size(WINDOWS)); window++) {
      const std::string name =
          std::string("frame/") + WINDOWS[window].name + "/" + SCENE_NAMES[scene];
      benchmark::RegisterBenchmark(name.c_str(), bm_frame, window, static_cast<Scene>(scene))
          ->Unit(benchmark::kMillisecond);
    }
  }
  for (int scene = 0; scene < SCENE_COUNT; scene++) {
    const std::string name = std::string("curve_views/") + SCENE_NAMES[scene];
    benchmark::RegisterBenchmark(name.c_str(), bm_curve_views, static_cast<Scene>(scene))
        ->Unit(benchmark::kMillisecond);
  }
  for (Scene scene : {SCENE_TYPICAL, SCENE_WORST}) {
    const std::string name = std::string("drag_step/") + SCENE_NAMES[scene];
    benchmark::RegisterBenchmark(name.c_str(), bm_drag_step, scene)->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  register_all();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
