// One lesson on the real program through real X input, as a teacher gives it
// (each step stops the lesson when it fails: the next ones build on it):
// build a quadratic, move, select and weigh its points, trace it with de Boor's
// triangle, look at About, start a closed cubic, turn the 3D view and quit.
// Every position comes from the documented window geometry (main window at
// (0, 0), pad at +1+1 spanning -3..3 over 541 pixels, 3D view at (653, 0) with
// 54 pixels per unit) and every curve point from an evaluation written here.
#include "support/e2e.h"
#include "support/scene.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct Pt {
  double x, y, w = 1;  // pad units, weight
};
struct Spot {
  int x, y;  // screen pixel, y down
};

// The pad point that a click at screen (x, y) adds: GLUT pixel (x - 1, y - 1) of the pad.
Pt unit(Spot s) {
  return {(s.x - 1 - 270) * 6.0 / 541, (271 - (s.y - 1)) * 6.0 / 541};
}
// Where the pad draws a point: 541 / 6 pixels per unit from its centre 270.5.
Spot pad(Pt q) {
  return {1 + static_cast<int>(std::floor(270.5 + q.x * 541 / 6)),
          541 - static_cast<int>(std::floor(270.5 + q.y * 541 / 6))};
}
// Where the 3D view draws a scene point: -70 degrees about x, then 30 about y,
// 2.7 * zoom 2 * 10 = 54 pixels per unit from the window's centre.
Spot proj(double x, double y, double z) {
  const double r70 = 70 * M_PI / 180, r30 = 30 * M_PI / 180;
  const double up = y * std::cos(r70) + z * std::sin(r70);
  const double across = x * std::cos(r30) + (z * std::cos(r70) - y * std::sin(r70)) * std::sin(r30);
  return {653 + static_cast<int>(std::floor(270 + 54 * across)),
          539 - static_cast<int>(std::floor(270 + 54 * up))};
}
Pt lerp(Pt a, Pt b, double f) {
  return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y), a.w + f * (b.w - a.w)};
}

struct Curve {
  std::vector<Pt> pts;
  std::vector<double> t;  // knots
  int p;                  // degree
};

// De Boor's triangle at u: level r holds p + 1 - r points, each with its
// homogeneous weight in w.
std::vector<std::vector<Pt>> deboor(const Curve& c, double u) {
  int k = c.p;
  while (c.t[k + 1] <= u) ++k;  // t[k] <= u < t[k + 1]
  std::vector<Pt> d;            // homogeneous (w x, w y, w)
  for (int i = k - c.p; i <= k; ++i)
    d.push_back({c.pts[i].w * c.pts[i].x, c.pts[i].w * c.pts[i].y, c.pts[i].w});
  std::vector<std::vector<Pt>> levels(c.p + 1);
  for (int r = 0; r <= c.p; ++r)
    for (int j = c.p; j >= r; --j) {  // d[j] becomes point k - p + j of level r
      const int i = k - c.p + j;
      if (r > 0) d[j] = lerp(d[j - 1], d[j], (u - c.t[i]) / (c.t[i + c.p + 1 - r] - c.t[i]));
      levels[r].insert(levels[r].begin(), {d[j].x / d[j].w, d[j].y / d[j].w, d[j].w});
    }
  return levels;
}

const Rgba CONTROL = rgba_bytes(0.14f, 0.14f, 0.56f), GREEN = {0, 255, 0, 255};
const Rgba BLUE = {0, 0, 255, 255}, CONE = {0, 204, 0, 255};                // the tracing cone
const Rgba RED = {255, 0, 0, 255};                                          // axis letters, ticks
const Rgba PURPLE = rgba_bytes(0.5f, 0.07f, 0.5f), BLACK = {0, 0, 0, 255};  // knot marks, labels
// De Boor levels 0 and 1 (alpha 0.8) over white.
const Rgba LEVEL0 = rgba_bytes(0.3472f, 0.68f, 0.3472f),
           LEVEL1 = rgba_bytes(0.3472f, 0.3472f, 0.6f);

bool near(const Pixels& p, Spot s, Rgba c, int tolerance = 12, int r = 2) {
  return p.count(s.x - r, p.height - 1 - s.y - r, s.x + r, p.height - 1 - s.y + r, c, tolerance) >
         0;
}
// The curve line (edges blended) at every parameter of `us`, on the pad and in the plane z = 1.
bool curve_at(const Pixels& p, const Curve& c, std::vector<double> us) {
  return std::all_of(us.begin(), us.end(), [&](double u) {
    const Pt q = deboor(c, u)[c.p][0];
    return near(p, pad(q), BLUE, 60) && near(p, proj(q.x, q.y, 1), BLUE, 60);
  });
}

// The screen pixel of a widget's centre, from the one file of window and widget geometry.
Spot at(const char* widget) {
  static const Layout geometry = layout_read(TERNIVAL_SOURCE_DIR "/tests/layout.txt");
  const auto p = layout_screen(geometry, widget);
  return {p[0], p[1]};
}
// The knot bar's thumb at u = 0.
const Spot THUMB = {541 + 58, 1 + 541 - 65};

std::string layout(const Win& w) {
  return std::to_string(w.x) + "," + std::to_string(w.y) + " " + std::to_string(w.w) + "x" +
         std::to_string(w.h) + (w.shown ? " shown; " : " hidden; ");
}

class LessonE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.start()) << "ternival did not show its windows"; }
  bool becomes(const char* title, bool shown) {
    return app.until([&](const Pixels&) { return app.find(title).shown == shown; });
  }
  void tap(Spot s, int b = 1) { app.mouse(s.x, s.y, b, true), app.mouse(s.x, s.y, b, false); }
  E2e app;
};

TEST_F(LessonE2e, TeacherBuildsWeighsTracesAndClosesCurvesThenQuits) {
  // Start-up: first pictures (red axis letters) on the pad and in the 3D view;
  // the subwindows listed in creation order: knot panel, control panel, pad.
  ASSERT_TRUE(app.until([](const Pixels& p) {
    return near(p, {271, 270}, RED, 8, 270) && near(p, {923, 270}, RED, 8, 269);
  }));
  std::string windows;
  for (const char* title :
       {"2D NURBS Curve", "3D B-Spline Projection", "Create New 2D NURBS", "About Ternival"})
    windows += layout(app.find(title));
  for (const Win& w : app.children(app.find("2D NURBS Curve"))) windows += layout(w);
  EXPECT_EQ(windows,
            "0,0 641x616 shown; 653,0 540x540 shown; 200,200 215x155 hidden; 150,25 685x660 "
            "hidden; 541,1 641x541 shown; 1,541 641x615 shown; 1,1 541x541 shown; ");

  // Four right clicks: a clamped quadratic, knots 0 0 0 0.5 1 1 1. Knot balls
  // hide the middle of the end points; the last one added is current, green.
  const Spot a = {101, 401}, b = {221, 101}, c = {401, 131}, d = {481, 381};
  for (Spot s : {a, b, c, d}) tap(s, 3);
  Curve quad{{unit(a), unit(b), unit(c), unit(d)}, {0, 0, 0, 0.5, 1, 1, 1}, 2};
  ASSERT_TRUE(app.until([&](const Pixels& p) {
    return near(p, pad(quad.pts[0]), CONTROL, 8, 4) && near(p, pad(quad.pts[1]), CONTROL, 8) &&
           near(p, pad(quad.pts[2]), CONTROL, 8) && near(p, pad(quad.pts[3]), GREEN, 8, 4) &&
           curve_at(p, quad, {0.125, 0.375, 0.625, 0.875});
  })) << "points where clicked, the curve on the pad and in the plane z = 1";
  // The knot bar marks the knots 0, 0.5 and 1 in purple, labelled to their left.
  for (int y : {65, 275, 485})
    EXPECT_TRUE(near(app.grab(541, 0, 100, 542), {52, 541 - y}, PURPLE, 8, 2) &&
                near(app.grab(541, 0, 100, 542), {25, 541 - y}, BLACK, 8, 5))
        << "knot mark at " << y;

  // Point 1 dragged 60 pixels down; Shift adds point 2 to the selection.
  app.drag(b.x, b.y, b.x, b.y + 60);
  quad.pts[1] = unit({b.x, b.y + 60});
  ASSERT_TRUE(app.until([&](const Pixels& p) {
    return near(p, pad(quad.pts[1]), GREEN, 8) && curve_at(p, quad, {0.25, 0.625});
  })) << "point 1 moved";
  app.shift(true), tap(c), app.shift(false);
  ASSERT_TRUE(app.until([&](const Pixels& p) {
    return near(p, pad(quad.pts[1]), GREEN, 8) && near(p, pad(quad.pts[2]), GREEN, 8);
  })) << "Shift extends the selection";

  // Ten clicks on the weight's increase arrow: the current point 1 weighs 2
  // and is lifted to z = 2 in the 3D view; the curve bends towards it.
  for (int i = 0; i < 10; ++i) tap(at("weight_up"));
  quad.pts[1].w = 2;
  ASSERT_TRUE(app.until([&](const Pixels& p) {
    return near(p, proj(2 * quad.pts[1].x, 2 * quad.pts[1].y, 2), GREEN, 8) &&
           curve_at(p, quad, {0.25, 0.625});
  })) << "weight 2";
  // The slider's thumb, grey 0.5, at the pixel of 2: (2 + 3) / 13 * 170 + 25 = 90.
  EXPECT_TRUE(near(app.grab(0, 541, 641, 75), {1 + 90, 614 - 566}, {128, 128, 128, 255}, 4, 1));

  // "Show DeBoor" (ticked red): no triangle at u = 0; one "Up" click shows
  // level 0 along the polygon; a thumb drag of 105 pixels puts u at 0.25:
  // level 1 on the pad a fifth from its ends, the green tracing cone at the
  // lifted curve's point.
  tap(at("show_deboor"));
  const Pt leg = lerp(quad.pts[0], quad.pts[1], 0.5);
  ASSERT_TRUE(app.until([](const Pixels& p) { return near(p, {238, 556}, RED, 8, 8); }));
  EXPECT_FALSE(near(app.still(), pad(leg), LEVEL0));
  tap(at("up"));
  ASSERT_TRUE(app.until([&](const Pixels& p) { return near(p, pad(leg), LEVEL0); })) << "u = 0.001";
  app.drag(THUMB.x, THUMB.y, THUMB.x, THUMB.y - 105);
  const std::vector<std::vector<Pt>> tri = deboor(quad, 0.25);
  const Pt top = tri[2][0];
  ASSERT_TRUE(app.until([&](const Pixels& p) {
    return near(p, pad(lerp(tri[1][0], tri[1][1], 0.2)), LEVEL1) &&
           near(p, pad(lerp(tri[1][0], tri[1][1], 0.8)), LEVEL1) &&
           near(p, proj(top.w * top.x, top.w * top.y, top.w), CONE, 8);
  })) << "u = 0.25";
  EXPECT_TRUE(near(app.grab(541, 0, 100, 542), {58, 541 - 170}, BLUE, 8, 1)) << "the bar's thumb";

  // " About" shows its text over the pad (first line 20 rows under its top);
  // "Dismiss" (y 5..21 from its bottom) hides it.
  tap(at("about"));
  ASSERT_TRUE(becomes("About Ternival", true));
  ASSERT_TRUE(app.until([](const Pixels& p) { return near(p, {280, 38}, {0, 0, 0, 255}, 8, 8); }));
  tap(at("dismiss"));
  ASSERT_TRUE(becomes("About Ternival", false));

  // "   New"; in the new-curve window at (200, 200), 155 rows, y up: "3",
  // "Closed", "OK". The old curve goes; five clicks close a loop: the cubic of
  // the points and the first three again on the evenly spaced knots i / 11.
  tap(at("new"));
  ASSERT_TRUE(becomes("Create New 2D NURBS", true));
  for (Spot s : {at("degree_3"), at("closed"), at("ok")}) tap(s);
  ASSERT_TRUE(becomes("Create New 2D NURBS", false));
  Curve loop{{}, {}, 3};
  for (Spot s : {Spot{443, 218}, Spot{274, 91}, Spot{101, 213}, Spot{163, 415}, Spot{375, 418}})
    tap(s, 3), loop.pts.push_back(unit(s));
  for (int i = 0; i < 12; ++i) loop.t.push_back(i / 11.0);
  for (int i = 0; i < 3; ++i) loop.pts.push_back(loop.pts[i]);
  const std::vector<double> spans = {3.5 / 11, 4.5 / 11, 5.5 / 11, 6.5 / 11, 7.5 / 11};
  ASSERT_TRUE(app.until([&](const Pixels& p) { return curve_at(p, loop, spans); })) << "loop";
  // Its knots i / 11 all lie outside the range a closed cubic lets be dragged: green marks.
  const Pixels bar = app.grab(541, 0, 100, 542);
  for (int i : {0, 4, 11})
    EXPECT_TRUE(near(bar, {52, 541 - (65 + 420 * i / 11)}, {0, 128, 0, 255}, 8, 2)) << i;
  EXPECT_FALSE(near(bar, {52, 270}, PURPLE, 8, 220)) << "no knot may be dragged";

  // A left drag in the 3D view turns the scene; each step shows before the release.
  const Pixels unturned = app.grab(653, 0, 540, 540);
  app.mouse(900, 400, 1, true);
  app.mouse(915, 405);
  EXPECT_TRUE(
      app.until([&](const Pixels&) { return app.grab(653, 0, 540, 540).data != unturned.data; }));
  app.mouse(915, 405, 1, false);

  // "  Quit!": the press alone keeps the program running; the release, off the
  // button, ends it with status 0.
  app.mouse(at("quit").x, at("quit").y, 1, true);
  app.still();
  EXPECT_EQ(app.status(), -1) << "ended on the press";
  app.mouse(300, 300, 1, false);
  EXPECT_EQ(app.status(15000), 0);
}

// Closing a top-level window, as a window manager asks it to, ends the program.
TEST_F(LessonE2e, ClosingTheProjectionWindowEndsTheProgram) {
  app.close("3D B-Spline Projection");
  EXPECT_EQ(app.status(15000), 0);
}

}  // namespace
