// The curve probes shared by both views, and the pad's.
#include "session/probes.h"

#include <GL/freeglut.h>

namespace session {

void check_points(const View& v, const Drawn& d, int labels, const std::vector<Spot>& hidden) {
  const int n = static_cast<int>(d.points.size());
  std::vector<Spot> s;
  for (const Vec& q : d.points) s.push_back(v.at({q[0], q[1], q[2], q[3]}));
  for (int i = 0; i < n; ++i) {
    if (d.points[i][3] == 0 || !s[i].in(v.size)) continue;
    bool covered = false, alone = true, far = true;
    for (int j = 0; j < n; ++j) {
      const double gap = dist(s[i], s[j]);
      covered |= j != i && gap < 4 && (v.later_wins ? j > i : j < i);
      alone &= j == i || gap < 0.5 || gap >= 12;
      far &= j == i || gap >= 30;
    }
    auto hides = [&](double r) {
      return std::any_of(hidden.begin(), hidden.end(), [&](Spot h) { return dist(h, s[i]) < r; });
    };
    alone &=
        std::none_of(v.others.begin(), v.others.end(), [&](Spot o) { return dist(o, s[i]) < 12; });
    if (covered || hides(6)) continue;
    const bool chosen = std::count(v.selected.begin(), v.selected.end(), i) > 0;
    if (near(v.p, s[i], 4, chosen ? SELECTED : CONTROL, 12) < 3 ||
        (alone && near(v.p, s[i], 4, chosen ? CONTROL : SELECTED, 12) > 0))
      return fail("point " + std::to_string(i) + (chosen ? " not drawn selected" : " not drawn"));
    if (!far || !labels || hides(24)) continue;
    const Vec lift = {d.points[i][0] / d.points[i][3] + 0.07,
                      d.points[i][1] / d.points[i][3] + 0.07,
                      d.points[i][2] / d.points[i][3] + 0.07, 1};
    const Spot l = v.at(lift);
    const int width = 9 * static_cast<int>(std::to_string(i).size());
    if (!l.in(v.size - width, 12)) continue;  // a raster position off the window draws nothing
    if (v.p.count(int(l.x), int(l.y) - 3, int(l.x) + width, int(l.y) + 12, INDEX, 20) < 4)
      return fail("no label beside point " + std::to_string(i));
  }
}

double to_segment(Spot p, Spot a, Spot b) {
  const double dx = b.x - a.x, dy = b.y - a.y, l = dx * dx + dy * dy;
  const double f = l > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l, 0.0, 1.0) : 0;
  return dist(p, {a.x + f * dx, a.y + f * dy});
}

// Each level of the triangle in its colour where the model puts it, or no level at all.
void check_levels(const View& v, const std::vector<std::vector<Vec>>& tri, bool whole,
                  const std::vector<Spot>& hidden) {
  if (!m.deboor || tri.empty()) {
    if (whole && anywhere(v.p, level_colour(0), 3) + anywhere(v.p, level_colour(1), 3) > 0)
      fail("a de Boor level is drawn that should not be");
    return;
  }
  std::vector<Spot> all = hidden;
  for (const auto& level : tri)
    for (const Vec& q : level)
      if (q[3] != 0) all.push_back(v.at(q));
  auto under = [&](size_t r, Spot on) {  // lower levels, drawn first, lie over the pieces near them
    for (size_t k = 0; k < r; ++k)
      for (size_t i = 0; i + 1 < tri[k].size(); ++i)
        if (to_segment(on, v.at(tri[k][i]), v.at(tri[k][i + 1])) < 5) return true;
    return false;
  };
  // In the 3D view the control polygon, drawn later, lies on level 0.
  for (size_t r = whole ? 0 : 1; r < tri.size(); ++r) {
    int eligible = 0, shown = 0;
    for (size_t j = 0; j + 1 < tri[r].size(); ++j) {
      const Vec &a = tri[r][j], &b = tri[r][j + 1];
      if (a[3] <= 0.05 || b[3] <= 0.05) continue;
      const Spot sa = v.at(a), sb = v.at(b);
      for (double f : {0.3, 0.5, 0.7}) {
        const Spot on = {sa.x + f * (sb.x - sa.x), sa.y + f * (sb.y - sa.y)};
        if (dist(sa, sb) < 14 || !on.in(v.size) || under(r, on) ||
            std::any_of(all.begin(), all.end(), [&](Spot q) { return dist(q, on) < 9; }))
          continue;
        // In the 3D view a level of weights 1 lies on the same level of the lifted curve.
        const Rgba once = level_colour(static_cast<int>(r)),
                   twice = {static_cast<uint8_t>(once.r - 51 + once.r / 5),
                            static_cast<uint8_t>(once.g - 51 + once.g / 5),
                            static_cast<uint8_t>(once.b - 51 + once.b / 5), 255};
        ++eligible;
        shown += near(v.p, on, 2, once, 10) + (whole ? 0 : near(v.p, on, 2, twice, 10)) > 0;
      }
    }
    if (eligible > 0 && shown == 0) return fail("level " + std::to_string(r) + " not drawn");
    if (r == 0 || !whole) continue;
    for (const Vec& q : tri[r]) {  // the points of the levels above 0, with "Show Points"
      const Spot s = v.at(q);
      if (q[3] <= 0.05 || !s.in(v.size) || under(r, s) ||
          std::count_if(all.begin(), all.end(), [&](Spot o) { return dist(o, s) < 10; }) > 1)
        continue;
      const int dots = near(v.p, s, 3, level_colour(static_cast<int>(r)), 10);
      if (m.dots ? dots < 30 : dots > 20)
        return fail("points of level " + std::to_string(r) + (m.dots ? " missing" : " shown"));
    }
  }
}

// The curve line through the model's curve points, clear of the points drawn on it.
// Samples within 8 pixels of `avoid`, or of the curve `under` drawn later at the same u, are left
// out.
void check_line(const View& v, const Drawn& d, Rgba colour, const std::vector<Spot>& avoid,
                const View* later, const Drawn* under) {
  if (!d.usable()) return;
  for (const Vec& q : d.points)
    if (q[3] <= 0.05) return;
  for (size_t i = 0; i + d.p + 1 < d.knots.size(); ++i)
    if (d.knots[i] == d.knots[i + d.p + 1]) return;  // GLU draws no knot repeated past the order
  const int n = static_cast<int>(d.points.size());
  int eligible = 0, shown = 0, wide = 0, area = 0;
  for (int i = d.p; i < n; ++i)
    for (double f : {0.3, 0.7}) {
      if (d.knots[i + 1] <= d.knots[i]) continue;
      const double u = d.knots[i] + f * (d.knots[i + 1] - d.knots[i]);
      const Spot s = v.at(model_point(d, u));
      if (!s.in(v.size) || (under && dist(later->at(model_point(*under, u)), s) < 8) ||
          std::any_of(avoid.begin(), avoid.end(), [&](Spot a) { return dist(a, s) < 8; }))
        continue;
      const int here = near(v.p, s, 2, colour, 60);
      bool polygon = false;  // the control polygon, drawn over the curve, may cover most of it
      for (size_t k = 0; k + 1 < d.points.size(); ++k)
        polygon |= to_segment(s, v.at(d.points[k]), v.at(d.points[k + 1])) < 3;
      ++eligible, shown += here > 0;
      if (!polygon) wide += here > 0, area += here;
    }
  // Translucent pieces of the 3D view drawn after the red curve may hide a few samples.
  if (eligible >= (under ? 6 : 3) && shown * 10 < eligible * (under ? 5 : 7))
    fail("the curve line is not where it runs");
  // A line 3.5 pixels wide fills a good part of the 5 x 5 squares it crosses; 1 pixel, 5 of them.
  if (!under && wide >= 3 && area < 10 * wide) fail("the curve line is too thin");
}

std::vector<Spot> spots(const View& v, const Drawn& d, const std::vector<std::vector<Vec>>& tri) {
  std::vector<Spot> out;
  for (const Vec& q : d.points) out.push_back(v.at(q));
  for (const auto& level : tri)
    for (const Vec& q : level) out.push_back(v.at(q));
  return out;
}

std::vector<int> selected_set() {
  std::vector<int> s;
  for (int e : m.sel)
    if (e >= 0) s.push_back(e);
  return s;
}

namespace {

// Index labels of isolated points, drawn by the test as the pad draws them: GLUT's 9 x 15 font
// at the raster position 0.07 up and right of the point, through the pad's own transformation.
std::vector<std::pair<Pt, int>> labels;
void draw_labels() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  glLoadIdentity();
  glTranslated(PAD_SIZE / 2.0, PAD_SIZE / 2.0, 1);
  glScaled(PAD_SIZE / 6.0, PAD_SIZE / 6.0, 1);
  glColor3ub(INDEX.r, INDEX.g, INDEX.b);
  for (const auto& [q, i] : labels) {
    glRasterPos3d(q.x + 0.07, q.y + 0.07, 0.07);
    for (char c : std::to_string(i)) glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c);
  }
  glPopMatrix();
}

}  // namespace

void check_pad(const Pixels& p) {
  const double unit = PAD_SIZE / 6.0;
  const View v{p, PAD_SIZE,
               [unit](const Vec& q) {
                 return Spot{270.5 + q[0] / q[3] * unit, 270.5 + q[1] / q[3] * unit};
               },
               selected_set(), false};
  const Drawn d = drawn_edited(m);
  const auto tri = model_triangle(d, m.u);
  // Knot spheres of radius 0.05, the tracing sphere of 0.067 and nothing else dark.
  std::vector<Spot> knots;
  // Knots dragged into a run of p + 1 inside the vector break the curve there.
  bool runs = false;
  for (size_t i = 1; d.usable() && i + d.p + 1 < d.knots.size(); ++i)
    runs |= d.knots[i] == d.knots[i + d.p] && d.knots[i] > 0 && d.knots[i] < 1;
  const bool sure = !runs && std::all_of(d.points.begin(), d.points.end(),
                                         [](const Vec& q) { return q[3] > 0.05; });
  std::vector<Spot> spheres;  // where knot spheres may be, the curve's ends on either side of a run
  for (int i = d.p; d.usable() && i <= static_cast<int>(d.points.size()); ++i)
    for (double e : {0.0, -1e-4, 1e-4}) {
      const Vec q = model_point(d, std::clamp(d.knots[i] + e, 0.0, 1.0));
      if (q[3] != 0 && (e == 0 || runs)) spheres.push_back(v.at(q));
      if (q[3] != 0 && e == 0 && sure && (i == d.p || d.knots[i] != d.knots[i - 1]))
        knots.push_back(v.at(q));
    }
  const bool tracing = !tri.empty() && tri.back()[0][3] != 0;
  const Spot t = tracing ? v.at(tri.back()[0]) : Spot{270, 270};
  std::vector<Spot> avoid_t = spheres;  // what the tracing sphere may lie over
  for (const Vec& q : d.points) avoid_t.push_back(v.at(q));
  if (tracing) spheres.push_back(t);
  check_points(v, d, 1, spheres);
  labels.clear();
  for (int i = 0; i < static_cast<int>(m.pts.size()) && m.type != CLOSED; ++i) {
    const Spot q = v.at({m.pts[i].x, m.pts[i].y, 0, 1});
    auto near_to = [&](const std::vector<Spot>& o, double r) {
      return std::count_if(o.begin(), o.end(), [&](Spot a) { return dist(a, q) < r; });
    };
    if (q.in(PAD_SIZE - 30, 12) && near_to(spheres, 24) == 0 && near_to(spots(v, d, tri), 30) == 1)
      labels.push_back({m.pts[i], i});
  }
  const Pixels want = labels.empty() ? p : gl_capture(window_table.win_pad.id, draw_labels);
  for (const auto& [q, i] : labels) {
    const Spot l = v.at({q.x + 0.07, q.y + 0.07, 0, 1});
    for (int y = int(l.y) - 5; y <= int(l.y) + 14; ++y)
      for (int x = int(l.x) - 2; x <= int(l.x) + 24; ++x)
        if ((p.count(x, y, x, y, INDEX, 20) > 0) != (want.count(x, y, x, y, INDEX, 20) > 0))
          return fail("the label of point " + std::to_string(i) + " is not \"" + std::to_string(i) +
                      "\" in the 9 x 15 font beside it");
  }
  spheres.push_back({270.5, 270.5});  // where the axes cross
  check_levels(v, tri, true, spheres);
  for (Spot k : knots) {
    if (!k.in(PAD_SIZE, 8) || dist(k, t) < 16 || std::fabs(k.x - 270.5) < 8 ||
        std::fabs(k.y - 270.5) < 8 ||
        std::count_if(knots.begin(), knots.end(), [&](Spot o) { return dist(o, k) < 14; }) > 1 ||
        std::any_of(d.points.begin(), d.points.end(), [&](const Vec& q) {
          const Spot s = v.at(q);  // a point, or its label up and right of it, drawn over
          return k.x > s.x - 8 && k.x < s.x + 35 && k.y > s.y - 8 && k.y < s.y + 26;
        }))
      continue;
    const int area = near(p, k, 7, KNOT, 10);
    if (area < 38 || area > 85) return fail("a knot sphere of " + std::to_string(area) + " pixels");
  }
  const int dark = where(p, t, -1, [&](Rgba c) { return is_dark(c); }) -
                   where(p, {270.5, 270.5}, 5, [&](Rgba c) { return is_dark(c); });
  const int away = where(p, t, 9, [&](Rgba c) { return is_dark(c); });
  // Over white and grid alone the sphere's whole disc of 6 pixels shows.
  const bool strict =
      !m.deboor && std::fabs(t.x - 270.5) > 9 && std::fabs(t.y - 270.5) > 9 &&
      std::none_of(avoid_t.begin(), avoid_t.end(), [&](Spot o) { return dist(o, t) < 14; });
  const int rim = away - where(p, t, 5.2, [&](Rgba c) { return is_dark(c); });
  if (tracing && t.in(PAD_SIZE, 8) && dist(t, {270.5, 270.5}) > 8 &&
      (dark < (strict ? 70 : 8) || dark > 180 || away < dark || (dark >= 20 && rim == 0)))
    return fail("the tracing sphere: " + std::to_string(dark) + " dark pixels");
  if (!tracing && dark > 0) return fail("a tracing sphere where the triangle is not drawn");
  std::vector<Spot> avoid = spots(v, d, tri);
  avoid.insert(avoid.end(), knots.begin(), knots.end());
  check_line(v, d, CURVE_BLUE, avoid);
  if (!d.usable() && near(p, {270, 270}, 270, CURVE_BLUE, 30) > 0)
    fail("a curve line with no curve");
  // The grid every third of a unit (a line at x = -8/3 fills column 30), the axes' letters.
  const int grid = p.count(29, 0, 31, 540, GRID_LINE, 5);
  if (m.pad_grid ? grid < 400 : grid > 0) fail("the pad's grid is wrong");
  if (p.count(517, 279, 536, 301, CURVE_RED, 40) < 10 ||
      p.count(279, 517, 298, 539, CURVE_RED, 40) < 10 ||
      p.count(273, 266, 293, 274, CURVE_RED, 40) > 0)
    fail("the pad's axis letters X and Y (and no Z) are not where they belong");
}

}  // namespace session
