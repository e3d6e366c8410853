// A whole lesson in one sitting, on the real program and through real X input
// only: build and weigh a quadratic, trace it with de Boor's triangle, edit a
// knot, zoom and turn the 3D view, start a cubic and a closed cubic, look at
// About and quit. Every check looks for colours where the window geometry and
// an independent evaluation of the curve (Cox-de Boor basis functions) put
// them. With TERNIVAL_SHOTS_DIR set, the lesson also saves the pictures that
// scripts/screenshots turns into the README's illustrations.
#include "support/e2e.h"

#include "app/palette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- Window geometry -------------------------------------------------------

constexpr double PAD_SIZE = 541.0;                   // pad width and height, pixels
constexpr double PAD_UNIT = PAD_SIZE / 6.0;          // pixels per pad unit
constexpr double PAD_ORIGIN = PAD_SIZE / 2.0;        // GL coordinate of pad unit 0
constexpr int PAD_CLICK_X = 270, PAD_CLICK_Y = 271;  // GLUT pixel of pad unit 0
constexpr int PROJ_SIZE = 540;                       // projection window, pixels
constexpr double PROJ_SCALE = 2.7 * 10.0;            // pixels per scene unit at zoom 1
constexpr double FIXED_TILT = -70.0;                 // fixed view: degrees about x
constexpr double FIXED_YAW = 30.0;                   // fixed view: degrees about y
constexpr double DEG_PER_PIXEL_DRAG = 1080.0 / PROJ_SIZE;

constexpr int PANEL_ROWS = 615;  // control panel coordinates, y up
// Main-window pixel (y down) of a point of the control panel given y up.
constexpr int panel_x(int x) {
  return E2E_PANEL_X + x;
}
constexpr int panel_y(int y_up) {
  return E2E_PANEL_Y + PANEL_ROWS - 1 - y_up;
}

// Weight slider: thumb centre of a value, and the row of its body.
constexpr double WEIGHT_MIN = -3.0, WEIGHT_MAX = 10.0;
constexpr int WEIGHT_TRACK = 170, WEIGHT_TRACK_START = 25, WEIGHT_ROW = 566;
int weight_thumb_x(double v) {
  return static_cast<int>((v - WEIGHT_MIN) / (WEIGHT_MAX - WEIGHT_MIN) * WEIGHT_TRACK +
                          WEIGHT_TRACK_START);
}

// Knot bar: pixel row (y up in the knot panel) of a value, the thumb column,
// the column of the knot marks; the panel's rows map to main-window rows.
constexpr int KNOT_PANEL_ROWS = 541;
constexpr int KNOT_AXIS_LENGTH = 420, KNOT_AXIS_START = 65;
constexpr int KNOT_THUMB_X = 58, KNOT_MARK_X = 50, KNOT_MARK_DRAWN_X = 52;
int knot_row(double v) {
  return static_cast<int>(v * KNOT_AXIS_LENGTH + KNOT_AXIS_START);
}
int knot_click_y(int row_up) {
  return E2E_KNOTS_Y + KNOT_PANEL_ROWS - row_up;
}

// Buttons and check boxes, centres in panel coordinates (y up).
struct PanelSpot {
  int x, y;
};
constexpr PanelSpot SHOW_DEBOOR{237, 599}, SHOW_POINTS{237, 576};
constexpr PanelSpot NEW_BUTTON{360, 589}, ABOUT_BUTTON{425, 589}, QUIT_BUTTON{425, 561};
constexpr PanelSpot ZOOM_IN{512, 584}, ZOOM_OUT{512, 559}, GRID_BUTTON{577, 563};
constexpr int GRID_BUTTON_X1 = 540, GRID_BUTTON_X2 = 615, GRID_BUTTON_Y1 = 552,
              GRID_BUTTON_Y2 = 574;

// New-curve window (215 x 155, y up; GLUT row = 154 - y) and About window.
constexpr int DIALOG_TOP_ROW = 154;
constexpr PanelSpot DEGREE_3{109, 78}, CLOSED_BOX{172, 126}, OK_BUTTON{27, 20};
constexpr int DISMISS_X = 650, DISMISS_ROW_UP = 13;

constexpr double ZOOM_START = 2.0, ZOOM_STEP = 1.5;
constexpr double PI = 3.14159265358979323846;

// ---- Colours ---------------------------------------------------------------

const Rgba CURVE_BLUE = {0, 0, 255, 255};
const Rgba LIFTED_RED = {255, 0, 0, 255};
const Rgba SELECTED_GREEN = {0, 255, 0, 255};
const Rgba TRACE_LINE_GREEN = {0, 204, 0, 255};
const Rgba LABEL_RED = {255, 0, 0, 255};
const Rgba TEXT_BLACK = {0, 0, 0, 255};
constexpr int LINE_TOLERANCE = 60;   // thick lines are blended at their edges
constexpr int BLEND_TOLERANCE = 14;  // translucent colours over white
constexpr int SEARCH_RADIUS = 3;     // pixels around an expected position
// The tracing sphere (radius 0.067) covers the top level's point (8 x 8) on
// the pad, where it shows its own grey at its rim; in the 3D view it is
// smaller than the point, whose corners show.
constexpr int PAD_SPHERE_RADIUS = 6, TOP_LEVEL_RADIUS = 5;
constexpr int TRACE_GREY_LO = 30, TRACE_GREY_HI = 125, TRACE_GREY_SPREAD = 14;

// A palette row drawn with its alpha over a colour.
Rgba blend_over(int row, Rgba below) {
  const float* c = palette.colours[row];
  auto blend = [&](float v, uint8_t b) { return v * c[3] + (1.0f - c[3]) * b / 255.0f; };
  return rgba_bytes(blend(c[0], below.r), blend(c[1], below.g), blend(c[2], below.b));
}
const Rgba WHITE = {255, 255, 255, 255};
Rgba over_white(int row) {
  return blend_over(row, WHITE);
}
// Colour of de Boor level r over white.
int level_row(int r) {
  return PAL_DEBOOR_1 + (r + 1) % LEVEL_COLOUR_COUNT;
}
Rgba level_colour(int r) {
  return over_white(level_row(r));
}

// ---- Independent curve arithmetic -------------------------------------------

struct Vec2 {
  double x, y;
};
struct Vec3 {
  double x, y, z;
};

struct RationalCurve {
  std::vector<Vec2> points;  // pad units
  std::vector<double> weights;
  std::vector<double> knots;
  int degree;
};

// Cox-de Boor recursion on half-open spans.
double basis(const std::vector<double>& t, int i, int p, double u) {
  if (p == 0) return (t[i] <= u && u < t[i + 1]) ? 1.0 : 0.0;
  double left = 0.0, right = 0.0;
  if (t[i + p] > t[i]) left = (u - t[i]) / (t[i + p] - t[i]) * basis(t, i, p - 1, u);
  if (t[i + p + 1] > t[i + 1])
    right = (t[i + p + 1] - u) / (t[i + p + 1] - t[i + 1]) * basis(t, i + 1, p - 1, u);
  return left + right;
}

// The non-rational 3D curve of the weighted points (w x, w y, w).
Vec3 lifted_at(const RationalCurve& c, double u) {
  Vec3 s{0, 0, 0};
  for (size_t i = 0; i < c.points.size(); ++i) {
    const double nw = basis(c.knots, static_cast<int>(i), c.degree, u) * c.weights[i];
    s.x += nw * c.points[i].x;
    s.y += nw * c.points[i].y;
    s.z += nw;
  }
  return s;
}

// Its central projection onto z = 1: the planar rational curve.
Vec2 curve_at(const RationalCurve& c, double u) {
  const Vec3 l = lifted_at(c, u);
  return {l.x / l.z, l.y / l.z};
}

// Parameter interval where the curve is defined.
double domain_lo(const RationalCurve& c) {
  return c.knots[c.degree];
}
double domain_hi(const RationalCurve& c) {
  return c.knots[c.points.size()];
}

// A point placed by a right click `dx`, `dy` pixels from the pad's centre (y up).
Vec2 pad_point(int dx, int dy) {
  return {dx * 6.0 / PAD_SIZE, dy * 6.0 / PAD_SIZE};
}

// Clamped vector of n points: p + 1 ends, interior (i - p) / (n - p) cut to 3 decimals.
std::vector<double> clamped_knots(int n, int p) {
  std::vector<double> t(n + p + 1, 0.0);
  for (int i = n; i <= n + p; ++i) t[i] = 1.0;
  for (int i = p + 1; i < n; ++i) t[i] = std::floor(1000.0 * (i - p) / (n - p)) / 1000.0;
  return t;
}

// A closed curve is the open curve of its points followed by the first p
// again, on evenly spaced knots.
RationalCurve closed_curve(const std::vector<Vec2>& points, int p) {
  RationalCurve c{points, std::vector<double>(points.size() + p, 1.0), {}, p};
  for (int i = 0; i < p; ++i) c.points.push_back(points[i]);
  const int m = static_cast<int>(points.size()) + 2 * p + 1;
  for (int i = 0; i < m; ++i) c.knots.push_back(static_cast<double>(i) / (m - 1));
  return c;
}

// ---- Where things appear -----------------------------------------------------

struct Spot {
  int x, y;  // picture pixel, y up from the bottom
};

// Pad point to main-window picture pixel (the pad sits at (1, 1) from the top).
Spot pad_spot(const Pixels& main_picture, Vec2 p) {
  const int col = static_cast<int>(std::floor(PAD_ORIGIN + p.x * PAD_UNIT));
  const int row_up = static_cast<int>(std::floor(PAD_ORIGIN + p.y * PAD_UNIT));
  const int y_down = E2E_PAD_Y + static_cast<int>(PAD_SIZE) - 1 - row_up;
  return {E2E_PAD_X + col, main_picture.height - 1 - y_down};
}

// Rotates (a, b) by `degrees`.
void rotate(double* a, double* b, double degrees) {
  const double r = degrees * PI / 180.0, ca = std::cos(r), sa = std::sin(r);
  const double na = *a * ca - *b * sa, nb = *a * sa + *b * ca;
  *a = na;
  *b = nb;
}

// Scene point to projection picture pixel: scale 10, -70 deg about x, the yaw
// about y (30 deg plus what drags added), 2.7 * zoom, centre of the window.
Spot proj_spot(Vec3 p, double zoom, double yaw) {
  double x = p.x, y = p.y, z = p.z;
  rotate(&y, &z, FIXED_TILT);
  rotate(&z, &x, yaw);
  const double f = PROJ_SCALE * zoom, centre = PROJ_SIZE / 2.0;
  return {static_cast<int>(std::floor(centre + f * x)),
          static_cast<int>(std::floor(centre + f * y))};
}

Vec3 in_plane(Vec2 p) {
  return {p.x, p.y, 1.0};
}

bool colour_near(const Pixels& pic, Spot s, Rgba colour, int tolerance,
                 int radius = SEARCH_RADIUS) {
  return pic.any(s.x - radius, s.y - radius, s.x + radius, s.y + radius, colour, tolerance);
}

// The tracing sphere: an even dark grey (black at alpha 0.7 over the scene).
bool trace_grey_near(const Pixels& pic, Spot s, int radius) {
  for (int y = s.y - radius; y <= s.y + radius; ++y)
    for (int x = s.x - radius; x <= s.x + radius; ++x) {
      const Rgba c = pic.at(x, y);
      const int lo = std::min({c.r, c.g, c.b}), hi = std::max({c.r, c.g, c.b});
      if (lo >= TRACE_GREY_LO && hi <= TRACE_GREY_HI && hi - lo <= TRACE_GREY_SPREAD) return true;
    }
  return false;
}

bool inside(const Pixels& pic, Spot s) {
  return s.x >= 0 && s.y >= 0 && s.x < pic.width && s.y < pic.height;
}

// Share of the spots (inside the picture) that show the colour nearby.
double drawn_share(const Pixels& pic, const std::vector<Spot>& spots, Rgba colour, int tolerance) {
  int in = 0, seen = 0;
  for (const Spot& s : spots) {
    if (!inside(pic, s)) continue;
    ++in;
    if (colour_near(pic, s, colour, tolerance)) ++seen;
  }
  return in == 0 ? 0.0 : static_cast<double>(seen) / in;
}

constexpr int SAMPLES = 80;

// Parameters spread over [lo, hi), the end excluded (half-open spans).
std::vector<double> params(double lo, double hi) {
  std::vector<double> u;
  for (int k = 0; k < SAMPLES; ++k) u.push_back(lo + (hi - lo) * (k + 0.5) / SAMPLES);
  return u;
}

std::vector<Spot> pad_curve(const Pixels& pic, const RationalCurve& c) {
  std::vector<Spot> out;
  for (double u : params(domain_lo(c), domain_hi(c))) out.push_back(pad_spot(pic, curve_at(c, u)));
  return out;
}

// The planar curve in the plane z = 1 of the 3D view.
std::vector<Spot> plane_curve(const RationalCurve& c, double zoom, double yaw) {
  std::vector<Spot> out;
  for (double u : params(domain_lo(c), domain_hi(c)))
    out.push_back(proj_spot(in_plane(curve_at(c, u)), zoom, yaw));
  return out;
}

std::vector<Spot> lifted_curve_spots(const RationalCurve& c, double zoom, double yaw) {
  std::vector<Spot> out;
  for (double u : params(domain_lo(c), domain_hi(c)))
    out.push_back(proj_spot(lifted_at(c, u), zoom, yaw));
  return out;
}

// Spots of `a` lying farther than `gap` pixels from every spot of `b`: where
// two versions of a curve differ visibly.
std::vector<Spot> apart_from(const std::vector<Spot>& a, const std::vector<Spot>& b, int gap) {
  std::vector<Spot> out;
  for (const Spot& s : a) {
    bool near = false;
    for (const Spot& t : b)
      near = near || (std::abs(s.x - t.x) <= gap && std::abs(s.y - t.y) <= gap);
    if (!near) out.push_back(s);
  }
  return out;
}

// Distance in pixels from a spot to the nearest pixel of the colour, up to `limit`.
double nearest(const Pixels& pic, Spot s, Rgba colour, int tolerance, int limit) {
  double best = limit;
  for (int y = s.y - limit; y <= s.y + limit; ++y)
    for (int x = s.x - limit; x <= s.x + limit; ++x)
      if (pic.any(x, y, x, y, colour, tolerance))
        best = std::min(best, std::hypot(x - s.x, y - s.y));
  return best;
}

// ---- The lesson ------------------------------------------------------------

constexpr double DRAWN = 0.8;        // share of a curve that must be seen
constexpr double DRAWN_BELOW = 0.6;  // ... when later drawing covers parts of it
constexpr double GONE = 0.25;        // share of a moved curve still seen at its old place
constexpr int APART = 6;
constexpr int MIN_LEVEL_PIXELS = 20;
constexpr int SETTLE_MS = 300;
constexpr int POLL_MS = 100, MAX_POLLS = 50;
constexpr int EXIT_WAIT_MS = 5000;

class LessonE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.start()) << "ternival did not show its windows";
    main_window = app.find("2D NURBS Curve");
    projection = app.find("3D B-Spline Projection");
    const char* dir = std::getenv("TERNIVAL_SHOTS_DIR");
    if (dir != nullptr) shots_dir = dir;
  }

  void panel_click(PanelSpot s) {
    app.click(main_window, panel_x(s.x), panel_y(s.y), 1);
    app.settle();
  }
  // A right click `dx`, `dy` pixels from the pad's centre (y up).
  void pad_right_click(int dx, int dy) {
    app.click(main_window, E2E_PAD_X + PAD_CLICK_X + dx, E2E_PAD_Y + PAD_CLICK_Y - dy, 3);
  }
  void dialog_click(const E2eWindow& dialog, PanelSpot s) {
    app.click(dialog, s.x, DIALOG_TOP_ROW - s.y, 1);
    app.settle();
  }
  // "   New", the degree 3 box, optionally "Closed", "OK".
  void new_cubic(bool closed) {
    panel_click(NEW_BUTTON);
    const E2eWindow dialog = app.find("Create New 2D NURBS");
    ASSERT_TRUE(dialog.mapped);
    dialog_click(dialog, DEGREE_3);
    if (closed) dialog_click(dialog, CLOSED_BOX);
    dialog_click(dialog, OK_BUTTON);
    EXPECT_FALSE(app.find("Create New 2D NURBS").mapped);
  }
  // The window once its picture has stopped changing (a loaded machine, or a
  // sanitized build, may take several frames to catch up with the input).
  Pixels settled(const E2eWindow& w) {
    app.settle(SETTLE_MS);
    Pixels last = app.grab(w);
    for (int tries = 0; tries < MAX_POLLS; ++tries) {
      app.settle(POLL_MS);
      Pixels next = app.grab(w);
      if (next.data == last.data) break;
      last = std::move(next);
    }
    return last;
  }
  // Waits, within the same bound, until the window shows something new.
  void await_change(const E2eWindow& w, const Pixels& before) {
    for (int tries = 0; tries < MAX_POLLS && app.grab(w).data == before.data; ++tries)
      app.settle(POLL_MS);
  }
  Pixels main_picture() { return settled(main_window); }
  Pixels projection_picture() { return settled(projection); }
  // Saves both windows for scripts/screenshots when it asked for pictures.
  void shoot(const char* name) {
    if (shots_dir.empty()) return;
    main_picture().save_png((shots_dir + "/" + name + "-main.png").c_str());
    projection_picture().save_png((shots_dir + "/" + name + "-projection.png").c_str());
  }
  // Level colours r = 0 .. levels - 1 seen on the pad, pixel counts.
  int pad_pixels(const Pixels& pic, Rgba colour) {
    const int top = pic.height - 1 - E2E_PAD_Y;
    return pic.count(E2E_PAD_X, top - static_cast<int>(PAD_SIZE) + 1, E2E_PAD_X + 540, top, colour,
                     BLEND_TOLERANCE);
  }

  E2eApp app;
  E2eWindow main_window, projection;
  std::string shots_dir;
};

TEST_F(LessonE2e, TeacherBuildsWeighsTracesEditsAndClosesCurvesInOneSitting) {
  // 1. A clamped quadratic of six points; point 2 weighted 3.
  const int offsets[6][2] = {{-180, -90}, {-90, 120}, {0, -135}, {90, 120}, {180, -90}, {225, 90}};
  RationalCurve quad{{}, std::vector<double>(6, 1.0), clamped_knots(6, 2), 2};
  for (const auto& o : offsets) {
    pad_right_click(o[0], o[1]);
    quad.points.push_back(pad_point(o[0], o[1]));
  }
  Pixels pad = main_picture();
  Pixels proj = projection_picture();
  EXPECT_GE(drawn_share(pad, pad_curve(pad, quad), CURVE_BLUE, LINE_TOLERANCE), DRAWN);
  EXPECT_GE(drawn_share(proj, plane_curve(quad, ZOOM_START, FIXED_YAW), CURVE_BLUE, LINE_TOLERANCE),
            DRAWN);

  const Vec2 p2 = quad.points[2];
  app.click(main_window, E2E_PAD_X + PAD_CLICK_X + offsets[2][0],
            E2E_PAD_Y + PAD_CLICK_Y - offsets[2][1], 1);
  const Pixels picked = main_picture();
  const Spot p2_pad = pad_spot(picked, p2);
  EXPECT_TRUE(colour_near(picked, p2_pad, SELECTED_GREEN, LINE_TOLERANCE)) << "point 2 not picked";
  const double gap_before = nearest(picked, p2_pad, CURVE_BLUE, LINE_TOLERANCE, 100);
  const Vec3 p2_high = {3 * p2.x, 3 * p2.y, 3.0};
  const Spot p2_high_spot = proj_spot(p2_high, ZOOM_START, FIXED_YAW);
  EXPECT_FALSE(colour_near(projection_picture(), p2_high_spot, SELECTED_GREEN, LINE_TOLERANCE));

  app.drag(main_window, panel_x(weight_thumb_x(1.0)), panel_y(WEIGHT_ROW),
           panel_x(weight_thumb_x(3.0)), panel_y(WEIGHT_ROW), 1);
  RationalCurve weighted = quad;
  weighted.weights[2] = 3.0;
  pad = main_picture();
  proj = projection_picture();
  {
    SCOPED_TRACE("step 1: weight 3 on point 2");
    EXPECT_GE(drawn_share(pad, pad_curve(pad, weighted), CURVE_BLUE, LINE_TOLERANCE), DRAWN);
    EXPECT_LE(drawn_share(pad, apart_from(pad_curve(pad, quad), pad_curve(pad, weighted), APART),
                          CURVE_BLUE, LINE_TOLERANCE),
              GONE);
    const double gap_after = nearest(pad, p2_pad, CURVE_BLUE, LINE_TOLERANCE, 100);
    EXPECT_LT(gap_after, gap_before - 20) << "curve not pulled towards point 2";
    EXPECT_TRUE(colour_near(proj, p2_high_spot, SELECTED_GREEN, LINE_TOLERANCE))
        << "point 2 not lifted to z = 3";
    // Where it leaves the plane, the lifted curve shows in red.
    const auto lifted = apart_from(lifted_curve_spots(weighted, ZOOM_START, FIXED_YAW),
                                   plane_curve(weighted, ZOOM_START, FIXED_YAW), APART);
    EXPECT_GE(drawn_share(proj, lifted, LIFTED_RED, LINE_TOLERANCE), DRAWN_BELOW);
  }
  shoot("weighted-point");

  // 2. De Boor's triangle on, u from 0 to 0.45.
  panel_click(SHOW_DEBOOR);
  panel_click(SHOW_POINTS);
  const double u = 0.45;
  const Spot trace_pad = pad_spot(pad, curve_at(weighted, u));
  const Spot trace_3d = proj_spot(lifted_at(weighted, u), ZOOM_START, FIXED_YAW);
  const Spot trace_plane = proj_spot(in_plane(curve_at(weighted, u)), ZOOM_START, FIXED_YAW);
  pad = main_picture();
  proj = projection_picture();
  EXPECT_FALSE(trace_grey_near(pad, trace_pad, PAD_SPHERE_RADIUS)) << "u = 0 shows a tracing point";
  EXPECT_LT(pad_pixels(pad, level_colour(1)), MIN_LEVEL_PIXELS);
  EXPECT_FALSE(colour_near(proj, trace_3d, TRACE_LINE_GREEN, BLEND_TOLERANCE, 6));

  const int thumb_x = E2E_KNOTS_X + KNOT_THUMB_X;
  app.drag(main_window, thumb_x, knot_click_y(knot_row(0.0)), thumb_x, knot_click_y(knot_row(u)),
           1);
  pad = main_picture();
  proj = projection_picture();
  {
    SCOPED_TRACE("step 2: tracing at u = 0.45");
    EXPECT_TRUE(trace_grey_near(pad, trace_pad, PAD_SPHERE_RADIUS));
    EXPECT_GE(pad_pixels(pad, level_colour(0)), MIN_LEVEL_PIXELS);
    EXPECT_GE(pad_pixels(pad, level_colour(1)), MIN_LEVEL_PIXELS);
    EXPECT_TRUE(colour_near(proj, trace_3d, TRACE_LINE_GREEN, BLEND_TOLERANCE, 6));
    // The top level's point lies on the level below's line.
    EXPECT_TRUE(colour_near(proj, trace_plane, blend_over(level_row(2), level_colour(1)),
                            BLEND_TOLERANCE, TOP_LEVEL_RADIUS));
    EXPECT_GE(proj.count(0, 0, PROJ_SIZE - 1, PROJ_SIZE - 1, level_colour(1), BLEND_TOLERANCE),
              MIN_LEVEL_PIXELS);
  }

  // 3. The interior knot 0.75 dragged to 0.6.
  const int mark_x = E2E_KNOTS_X + KNOT_MARK_X;
  app.drag(main_window, mark_x, knot_click_y(knot_row(0.75)), mark_x, knot_click_y(knot_row(0.6)),
           1);
  RationalCurve moved = weighted;
  moved.knots[5] = 0.6;
  pad = main_picture();
  {
    SCOPED_TRACE("step 3: knot 0.75 moved to 0.6");
    const Rgba knot_purple = rgba_from_float(palette.colours[PAL_KNOT_POINT]);
    const int mark_row = pad.height - 1 - (E2E_KNOTS_Y + KNOT_PANEL_ROWS - 1 - knot_row(0.6));
    EXPECT_TRUE(colour_near(pad, {E2E_KNOTS_X + KNOT_MARK_DRAWN_X, mark_row}, knot_purple, 40));
    EXPECT_GE(drawn_share(pad, pad_curve(pad, moved), CURVE_BLUE, LINE_TOLERANCE), DRAWN);
    EXPECT_LE(drawn_share(pad, apart_from(pad_curve(pad, weighted), pad_curve(pad, moved), APART),
                          CURVE_BLUE, LINE_TOLERANCE),
              GONE);
  }

  // " +" twice: one scene unit grows from 54 to 121.5 pixels.
  panel_click(ZOOM_IN);
  panel_click(ZOOM_IN);
  const double zoom = ZOOM_START * ZOOM_STEP * ZOOM_STEP;
  proj = projection_picture();
  {
    SCOPED_TRACE("step 3: zoom 4.5");
    const auto near_view = plane_curve(moved, zoom, FIXED_YAW);
    EXPECT_GE(drawn_share(proj, near_view, CURVE_BLUE, LINE_TOLERANCE), DRAWN);
    EXPECT_LE(
        drawn_share(proj, apart_from(plane_curve(moved, ZOOM_START, FIXED_YAW), near_view, APART),
                    CURVE_BLUE, LINE_TOLERANCE),
        GONE);
  }

  // " Grid: ON" turns the grid of the plane off, and its label red.
  std::vector<Spot> grid;
  for (int k = -9; k <= 9; k += 3)
    for (int j = -8; j <= 8; j += 2)
      grid.push_back(proj_spot({k / 3.0, j / 3.0 + 1 / 6.0, 1.0}, zoom, FIXED_YAW));
  const Rgba grid_grey = over_white(PAL_DRAWING_PAD);
  const Pixels grid_on = projection_picture();
  const Pixels panel_before = main_picture();
  panel_click(GRID_BUTTON);
  const Pixels grid_off = projection_picture();
  const Pixels panel_after = main_picture();
  {
    SCOPED_TRACE("step 3: grid off");
    EXPECT_GE(drawn_share(grid_on, grid, grid_grey, BLEND_TOLERANCE), DRAWN_BELOW);
    EXPECT_LE(drawn_share(grid_off, grid, grid_grey, BLEND_TOLERANCE), GONE / 2);
    const int label_top = panel_after.height - 1 - panel_y(GRID_BUTTON_Y2);
    const int label_bottom = panel_after.height - 1 - panel_y(GRID_BUTTON_Y1);
    EXPECT_FALSE(panel_before.any(panel_x(GRID_BUTTON_X1), label_bottom, panel_x(GRID_BUTTON_X2),
                                  label_top, LABEL_RED, LINE_TOLERANCE));
    EXPECT_TRUE(panel_after.any(panel_x(GRID_BUTTON_X1), label_bottom, panel_x(GRID_BUTTON_X2),
                                label_top, LABEL_RED, LINE_TOLERANCE));
  }

  // A left drag of 10 pixels to the right in one motion event turns the
  // scene by 20 degrees about the window's vertical axis.
  const int turn_px = 10;
  app.press(projection, 100, 450, 1);
  app.settle();
  const Pixels unturned = projection_picture();
  app.move(projection, 100 + turn_px, 450);
  // Released only once the step is drawn: the release zeroes the step.
  await_change(projection, unturned);
  app.release(projection, 100 + turn_px, 450, 1);
  const double yaw = FIXED_YAW + turn_px * DEG_PER_PIXEL_DRAG;
  proj = projection_picture();
  {
    SCOPED_TRACE("step 3: scene turned by 20 degrees");
    const auto turned = plane_curve(moved, zoom, yaw);
    EXPECT_GE(drawn_share(proj, turned, CURVE_BLUE, LINE_TOLERANCE), DRAWN);
    EXPECT_LE(drawn_share(proj, apart_from(plane_curve(moved, zoom, FIXED_YAW), turned, APART),
                          CURVE_BLUE, LINE_TOLERANCE),
              GONE);
  }

  // 4. Back to zoom 2 with the grid; a clamped cubic traced at u = 0.45.
  panel_click(ZOOM_OUT);
  panel_click(ZOOM_OUT);
  panel_click(GRID_BUTTON);
  new_cubic(false);
  const int cubic_offsets[6][2] = {{-200, -100}, {-130, 110}, {-30, -130},
                                   {60, 130},    {150, -110}, {210, 70}};
  RationalCurve cubic{{}, std::vector<double>(6, 1.0), clamped_knots(6, 3), 3};
  for (const auto& o : cubic_offsets) {
    pad_right_click(o[0], o[1]);
    cubic.points.push_back(pad_point(o[0], o[1]));
  }
  pad = main_picture();
  proj = projection_picture();
  {
    SCOPED_TRACE("step 4: clamped cubic with its triangle");
    EXPECT_GE(drawn_share(pad, pad_curve(pad, cubic), CURVE_BLUE, LINE_TOLERANCE), DRAWN);
    EXPECT_TRUE(trace_grey_near(pad, pad_spot(pad, curve_at(cubic, u)), PAD_SPHERE_RADIUS));
    for (int level = 0; level < 3; ++level)
      EXPECT_GE(pad_pixels(pad, level_colour(level)), MIN_LEVEL_PIXELS) << "level " << level;
    EXPECT_GE(drawn_share(proj, plane_curve(cubic, ZOOM_START, yaw), CURVE_BLUE, LINE_TOLERANCE),
              DRAWN);
  }
  shoot("cubic-deboor");

  // A closed cubic of five points around the centre.
  new_cubic(true);
  std::vector<Vec2> ring;
  for (int k = 0; k < 5; ++k) {
    const double a = k * 2.0 * PI / 5.0 + 0.3;
    const int dx = static_cast<int>(std::lround(160 * std::cos(a)));
    const int dy = static_cast<int>(std::lround(160 * std::sin(a)));
    pad_right_click(dx, dy);
    ring.push_back(pad_point(dx, dy));
  }
  const RationalCurve loop = closed_curve(ring, 3);
  pad = main_picture();
  proj = projection_picture();
  {
    SCOPED_TRACE("step 4: closed cubic");
    EXPECT_GE(drawn_share(pad, pad_curve(pad, loop), CURVE_BLUE, LINE_TOLERANCE), DRAWN);
    EXPECT_GE(drawn_share(proj, plane_curve(loop, ZOOM_START, yaw), CURVE_BLUE, LINE_TOLERANCE),
              DRAWN);
    // The loop closes: the arc from the last point back to the first is drawn.
    std::vector<Spot> closing;
    for (double v : params(domain_hi(loop) - 0.05, domain_hi(loop)))
      closing.push_back(pad_spot(pad, curve_at(loop, v)));
    EXPECT_GE(drawn_share(pad, closing, CURVE_BLUE, LINE_TOLERANCE), DRAWN);
  }
  shoot("closed-curve");

  // 5. About, Dismiss, Quit.
  panel_click(ABOUT_BUTTON);
  const E2eWindow about = app.find("About Ternival");
  ASSERT_TRUE(about.mapped);
  app.settle(SETTLE_MS);
  const Pixels about_picture = app.grab(about);
  EXPECT_GE(about_picture.count(0, about.height / 2, about.width - 1, about.height - 1, TEXT_BLACK),
            MIN_LEVEL_PIXELS);
  app.click(about, DISMISS_X, about.height - DISMISS_ROW_UP, 1);
  app.settle();
  EXPECT_FALSE(app.find("About Ternival").mapped);
  EXPECT_TRUE(app.running());
  panel_click(QUIT_BUTTON);
  int status = -1;
  ASSERT_TRUE(app.wait_exit(EXIT_WAIT_MS, &status));
  EXPECT_EQ(status, 0);
}

}  // namespace
