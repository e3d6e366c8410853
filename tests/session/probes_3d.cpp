// The 3D view's probes: points, levels and curves of both curves, rays, cones,
// the grid in the plane z = 1 and the axis letters.
#include "session/probes.h"

namespace model {

// The 4 x 4 matrices of the model's 3D view.
Mat mat_mul(const Mat& a, const Mat& b) {
  Mat c{};
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 4; ++row)
      for (int k = 0; k < 4; ++k) c[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
  return c;
}

// Rotation about a unit axis, counter-clockwise seen from its tip.
Mat mat_rotate(double degrees, double x, double y, double z) {
  const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a), v[3] = {x, y, z};
  Mat r = IDENTITY;
  for (int col = 0; col < 3; ++col)
    for (int row = 0; row < 3; ++row) {
      const double turn = row == col ? c : ((col - row + 3) % 3 == 1 ? -s : s) * v[3 - row - col];
      r[col * 4 + row] = v[row] * v[col] * (1 - c) + turn;
    }
  return r;
}

Mat mat_scale(double sx, double sy, double sz) {
  return {sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1};
}

Mat mat_translate(double x, double y, double z) {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

Vec mat_apply(const Mat& m, const Vec& v) {
  Vec out{};
  for (int row = 0; row < 4; ++row)
    for (int k = 0; k < 4; ++k) out[row] += m[k * 4 + row] * v[k];
  return out;
}

}  // namespace model

namespace session {

namespace {

// The 3D view's transformation: pixels of a scene point, and of a point of the plane z = 1.
Mat scene() {
  const Mat screen =
      mat_mul(mat_translate(270, 270, 0), mat_scale(2.7 * m.zoom, 2.7 * m.zoom, 2.7 * m.zoom));
  const Mat fixed =
      mat_mul(mat_rotate(30, 0, 1, 0), mat_mul(mat_rotate(-70, 1, 0, 0), mat_scale(10, 10, 10)));
  return mat_mul(mat_mul(screen, m.view), fixed);
}

// A ray from the origin to q (samples near `avoid` left out) and its cone ending on q.
// Returns -1 when the ray is too short to judge, else whether its dashes leave gaps.
// Segments from the origin of every ray and axis in the view, for rays to keep clear of.
std::vector<Spot> rays_ends;
int check_ray(const Pixels& p, const Mat& s, const std::array<double, 3>& q, bool green,
              const std::vector<Spot>& avoid) {
  auto at = [&](double f) {
    const Vec w = mat_apply(s, {f * q[0], f * q[1], f * q[2], 1});
    return Spot{w[0], w[1]};
  };
  const double length = dist(at(0), at(1)), d = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
  if (length < 40 || !at(0.1).in(PROJ_SIZE) || !at(0.9).in(PROJ_SIZE)) return -1;
  int drawn = 0, clear = 0;
  for (int k = 0; k <= 40; ++k) {
    const double f = 0.1 + 0.02 * k;
    const Spot o = at(0), e = at(1);
    if (std::any_of(avoid.begin(), avoid.end(), [&](Spot a) { return dist(a, at(f)) < 7; }) ||
        std::any_of(rays_ends.begin(), rays_ends.end(),
                    [&](Spot r) { return dist(r, e) > 1e-6 && to_segment(at(f), o, r) < 5; }))
      continue;
    ++clear;
    drawn += where(p, at(f), 1.5, [green](Rgba c) {
               return green ? c.g > 170 && c.g < 235 && c.r < 40 && c.b < 40
                            : c.r > 50 && c.r < 165 && std::abs(c.r - c.g) < 12 &&
                                  std::abs(c.r - c.b) < 12;
             }) > 0;
  }
  const int gaps = clear - drawn;
  if (clear < 10) return -1;
  if (drawn == 0) {
    fail(std::string(green ? "tracing" : "projection") + " ray missing");
    return 0;
  }
  const Spot cone = at(1 - 0.125 / d), past = at(1 + 0.125 / d);
  const double reach = 2 * dist(cone, at(1)) + 4;  // another cone's length, and some
  // A cone seen along its axis shows one layer of its inside: judged only from the side.
  if (reach < 16 || 2 * dist(cone, at(1)) < 0.6 * 0.25 * 27 * m.zoom || !cone.in(PROJ_SIZE) ||
      !past.in(PROJ_SIZE) ||
      std::any_of(avoid.begin(), avoid.end(),
                  [&](Spot a) { return dist(a, cone) < 7 || dist(a, past) < 7; }) ||
      std::any_of(rays_ends.begin(), rays_ends.end(), [&](Spot r) {
        return dist(r, at(1)) > 1e-6 && (std::min(dist(r, past), dist(r, cone)) < reach ||
                                         to_segment(past, at(0), r) < 2 + 2 * m.zoom);
      }))
    return gaps >= std::max(2, clear / 8);
  const int in_cone = where(p, cone, 1.5, [green](Rgba c) {
    return green ? c.g > 170 && c.r < 40 : c.r < 110 && c.g < 110 && c.b < 110;
  });
  if (in_cone == 0) fail(std::string(green ? "tracing" : "projection") + " cone not on its ray");
  if (!green && where(p, past, 1.5, [](Rgba c) { return c.r < 90 && c.g < 90 && c.b < 90; }) > 0)
    fail("a cone reaches past its point");
  return gaps >= std::max(2, clear / 8);
}

}  // namespace

void check_proj(const Pixels& p) {
  // The scene lies within `reach` of the origin. Zoomed in until its depth passes the 3000 pixels
  // that glOrtho keeps, pieces are clipped away; zoomed far out, it shrinks to a few pixels: the
  // probes judge neither picture.
  double reach = 5;
  for (const Pt& q : m.pts)
    reach = std::max({reach, std::hypot(q.x * q.w, q.y * q.w, q.w), std::hypot(q.x, q.y, 1.0)});
  if (2.7 * m.zoom * 10 * reach > 3000 || m.zoom < 0.001f) return;
  const Mat s = scene(), plane = mat_mul(s, mat_translate(0, 0, 1));
  auto spot_of = [](const Mat& t) {
    return [t](const Vec& q) {
      const Vec w = mat_apply(t, {q[0] / q[3], q[1] / q[3], q[2] / q[3], 1});
      return Spot{w[0], w[1]};
    };
  };
  const Drawn lifted = drawn_lifted(m), edited = drawn_edited(m);
  const View vl{p, PROJ_SIZE, spot_of(s), {m.sel[0]}, true};
  View ve{p, PROJ_SIZE, spot_of(plane), selected_set(), true};
  for (const Vec& q : lifted.points) ve.others.push_back(vl.at(q));
  const auto tri = model_triangle(edited, m.edited_u);
  std::vector<Spot> line;  // the plane's curve, drawn over its points
  for (int i = edited.p; edited.usable() && i < static_cast<int>(edited.points.size()); ++i) {
    const double t0 = edited.knots[i], t1 = edited.knots[i + 1];
    double u = t0, step = (t1 - t0) / 50;
    while (u < t1) {  // samples at most 4 pixels apart
      line.push_back(ve.at(model_point(edited, u)));
      if (line.size() > 1 && dist(line.back(), line[line.size() - 2]) > 4 &&
          step > (t1 - t0) / 2000)
        line.pop_back(), u -= step, step /= 2;
      u += step;
    }
  }
  check_points(ve, edited, 1, line);
  // Levels of larger curves, or in a plane seen nearly edge on, lie under other pieces.
  const bool facing = std::fabs(s[10] / std::hypot(s[8], s[9], s[10])) > 0.4;
  if (m.pts.size() <= 12 && facing) check_levels(ve, tri, false, line);
  std::vector<Spot> avoid = spots(ve, edited, tri);
  check_line(ve, edited, CURVE_BLUE, avoid);
  // The lifted points where no point of the plane covers them; the red curve clear of both.
  Drawn apart = lifted;
  for (size_t i = 0; i < lifted.points.size(); ++i)
    if (std::any_of(avoid.begin(), avoid.end(),
                    [&](Spot a) { return dist(a, vl.at(lifted.points[i])) < 8; }))
      apart.points[i][3] = 0;
  std::vector<Spot> over = line;  // the plane's curve and the axes' crossing lie over them
  over.push_back(vl.at({0, 0, 0, 1}));
  check_points(vl, apart, 0, over);
  const auto lifted_tri = model_triangle(lifted, m.lifted_u);
  for (Spot q : spots(vl, lifted, lifted_tri)) avoid.push_back(q);
  avoid.push_back(vl.at({0, 0, 0, 1}));
  check_line(vl, lifted, CURVE_RED, avoid, &ve, &edited);
  // Rays and cones to the first lifted points, and the green ray to the tracing point.
  std::vector<Spot> busy = avoid;  // and the levels of the plane's triangle, drawn over the rays
  busy.insert(busy.end(), line.begin(), line.end());
  for (size_t r = 0; m.deboor && r < tri.size(); ++r)
    for (size_t j = 0; j + 1 < tri[r].size(); ++j) {
      const Spot a = ve.at(tri[r][j]), b = ve.at(tri[r][j + 1]);
      double f0 = 0, f1 = 1;  // the part in the window: zoomed far in, a level is far longer
      for (const auto& [o, d] : {std::pair{a.x, b.x - a.x}, std::pair{a.y, b.y - a.y}})
        if (d != 0) {
          const double e0 = (-9 - o) / d, e1 = (PROJ_SIZE + 9 - o) / d;
          f0 = std::max(f0, std::min(e0, e1)), f1 = std::min(f1, std::max(e0, e1));
        }
      const int pieces = static_cast<int>(dist(a, b) * std::max(f1 - f0, 0.0) / 3) + 1;
      for (int k = 0; k <= pieces && f0 <= f1 && tri[r][j][3] > 0 && tri[r][j + 1][3] > 0; ++k) {
        const double f = f0 + k * (f1 - f0) / pieces;
        busy.push_back({a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)});
      }
    }
  rays_ends.clear();
  for (const Pt& q : m.pts) {
    const Vec e = mat_apply(s, {q.x * q.w, q.y * q.w, q.w, 1});
    rays_ends.push_back({e[0], e[1]});
  }
  for (const Vec& a :
       {Vec{m.trace3d[0], m.trace3d[1], m.trace3d[2], 1}, Vec{-3, 0, 0, 1}, Vec{3, 0, 0, 1},
        Vec{0, -3, 0, 1}, Vec{0, 3, 0, 1}, Vec{0, 0, -3, 1}, Vec{0, 0, 3, 1}})
    rays_ends.push_back(vl.at(a));
  int judged = 0, dashed = 0;  // rays long enough to judge, and those that show their dashes
  for (size_t i = 0; i < std::min<size_t>(m.pts.size(), 4); ++i) {
    const int gaps = check_ray(p, s, {m.pts[i].x * m.pts[i].w, m.pts[i].y * m.pts[i].w, m.pts[i].w},
                               false, busy);
    judged += gaps >= 0, dashed += gaps > 0;
  }
  if (m.trace3d != std::array<double, 3>{0, 0, 0}) {
    const int gaps = check_ray(p, s, m.trace3d, true, busy);
    judged += gaps >= 0, dashed += gaps > 0;
  } else if (anywhere(p, RAY_GREEN, 15) > 0) {
    fail("a tracing ray before any tracing point");
  }
  if (m.zoom > 1.9 && facing && judged >= 2 && dashed == 0) fail("the rays are not dashed");
  // The grid's corners in the plane z = 1, or no grid; the axis letters.
  int border = 0, shown = 0;  // the grid's outer lines, where nothing else covers them
  for (int k = -5; k <= 5; ++k)
    for (const Vec& q : {Vec{k / 2.0, -3, 0, 1}, Vec{k / 2.0, 3, 0, 1}, Vec{-3, k / 2.0, 0, 1},
                         Vec{3, k / 2.0, 0, 1}}) {
      const Spot g = ve.at(q);
      if (!g.in(PROJ_SIZE) ||
          std::any_of(avoid.begin(), avoid.end(), [&](Spot o) { return dist(o, g) < 10; }) ||
          std::any_of(line.begin(), line.end(), [&](Spot o) { return dist(o, g) < 8; }))
        continue;
      ++border, shown += near(p, g, 1, GRID_LINE, 8) > 0;
    }
  const int grid = anywhere(p, GRID_LINE, 2);
  if (m.zoom > 1 && m.zoom < 6 &&
      (m.proj_grid ? facing && border >= 8 && shown * 10 < border * 6 : grid > 0))
    fail("the 3D grid is wrong");
  if (m.zoom < 1.3 || m.zoom > 4.6) return;
  const Vec letters[3] = {{2.803, 0.22, 0, 1}, {0.17, 2.853, 0, 1}, {0.16, 0, 2.613, 1}};
  for (int i = 0; i < 3; ++i)
    if (vl.at(letters[i]).in(PROJ_SIZE, 24) &&
        std::none_of(busy.begin(), busy.end(),
                     [&](Spot o) { return dist(o, vl.at(letters[i])) < 14; }) &&
        near(p, vl.at(letters[i]), static_cast<int>(3 * m.zoom), CURVE_RED, 40) < 3)
      return fail(std::string("no letter ") + "XYZ"[i] + " at its axis");
}

}  // namespace session
