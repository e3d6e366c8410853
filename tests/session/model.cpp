// The model's rules, one function per window, each from the documented
// behaviour of that window; see model.h.
#include "session/model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

namespace {

constexpr double EPS = 0.000125;  // parameters this close match a knot
constexpr float BAR_STEP = 0.001f;

bool inside(const int* r, int x, int y) {
  return r[0] <= x && x <= r[2] && r[1] <= y && y <= r[3];
}
bool in_range(double v) {
  return v >= -3 && v <= 3;
}

// The knot vector of n points: uniform and clamped values cut (not rounded) to
// thousandths, closed ones evenly spaced and exact.
void make_knots(Model& m) {
  const int n = static_cast<int>(m.pts.size()), p = m.degree;
  m.knots.clear();
  if (n <= p) return;
  const int count = m.type == CLOSED ? n + 2 * p + 1 : n + p + 1;
  for (int i = 0; i < count; ++i) {
    const int cut =
        m.type == UNIFORM ? 1000 * i / (count - 1) : 1000 * std::clamp(i - p, 0, n - p) / (n - p);
    m.knots.push_back(m.type == CLOSED ? static_cast<float>(i / (count - 1.0))
                                       : static_cast<float>(cut / 1000.0));
  }
}

int current(const Model& m) {
  const int c = m.sel[0];
  return c >= 0 && c < static_cast<int>(m.pts.size()) ? c : -1;
}

void set_weight(Model& m, float v) {
  if (current(m) >= 0) m.pts[current(m)].w = v;
}

bool pad_event(Model& m, int b, int s, int x, int y, int mods) {
  const int yu = PAD_SIZE - y, n = static_cast<int>(m.pts.size());
  if (b == 2 && s == 0) {  // a point of weight 1 after the current one
    m.pad_mode = PAD_ADDING;
    m.fired[PAD_FULL] += n >= 100;
    if (n < 100) {
      m.fired[INSERT_AFTER_MIDDLE] += current(m) >= 0 && current(m) < n - 1;
      const Pt q = {(x - 270) * 6.0 / PAD_SIZE, std::min((yu - 270) * 6.0 / PAD_SIZE, 3.0), 1};
      const int at = current(m) >= 0 ? current(m) + 1 : n;
      m.pts.insert(m.pts.begin() + at, q);
      m.sel[0] = at;
      if (n + 1 >= 3) make_knots(m);
    }
  } else if ((b == 0 || b == 1) && s == 0) {  // the first point within 8 pixels
    m.pad_last_x = x, m.pad_last_y = yu, m.picked = -1;
    int hits = 0;
    for (int i = n - 1; i >= 0; --i)
      if (std::abs(static_cast<int>(270.5 + m.pts[i].x * PAD_SIZE / 6) - x) <= 8 &&
          std::abs(static_cast<int>(270.5 + m.pts[i].y * PAD_SIZE / 6) - yu) <= 8)
        m.picked = i, ++hits;
    m.fired[PICK_AMONG_SEVERAL] += hits > 1;
    m.fired[SHIFT_AND_OTHER] += m.picked >= 0 && mods != 1 && (mods & 1);
    if (m.picked >= 0 && mods == 1 && m.sel.size() >= 20) {
      ++m.fired[SELECTION_FULL];  // a full selection stays as it is
    } else if (m.picked >= 0 && mods == 1 && std::count(m.sel.begin(), m.sel.end(), m.picked)) {
      ++m.fired[SHIFT_ON_SELECTED];
      return false;  // already selected: nothing at all
    } else if (m.picked >= 0) {
      if (mods == 1) m.sel.push_back(m.picked);
      if (mods != 1) m.sel = {m.picked};
      m.pad_mode = b == 0 ? PAD_MOVING : PAD_PICKING;
    }
  } else if (s < 0 && m.picked >= 0 && m.picked < n) {  // a drag step
    Pt& q = m.pts[m.picked];
    const double dx = (x - m.pad_last_x) * 6.0 / PAD_SIZE,
                 dy = (yu - m.pad_last_y) * 6.0 / PAD_SIZE;
    m.fired[MIDDLE_PICK_DRAGGED] += m.pad_mode == PAD_PICKING && (dx != 0 || dy != 0);
    if (m.pad_mode != PAD_MOVING) return true;
    m.pad_last_x = x, m.pad_last_y = yu;
    m.fired[SHIFT_SELECTION_DRAGGED] += m.sel.size() > 1 && (dx != 0 || dy != 0);
    const bool on_pad = in_range(q.x + dx) && in_range(q.y + dy);
    if (on_pad) q.x += dx, q.y += dy;
    m.fired[POINT_AT_PAD_EDGE] += !on_pad;
  }
  if (s >= 0 && current(m) >= 0) m.weight = static_cast<float>(m.pts[current(m)].w);
  return true;
}

void arrow_click(Model& m, int direction) {
  if (direction > 0 ? m.weight >= 10 : m.weight <= -3)
    ++m.fired[direction > 0 ? WEIGHT_UP_AT_10 : WEIGHT_DOWN_AT_MINUS_3];
  // The neighbouring point of the 0.1 grid, held to [-3, 10].
  const double k = std::round(m.weight / static_cast<double>(0.1f)) + direction;
  m.weight = std::clamp(static_cast<float>(k * static_cast<double>(0.1f)), -3.0f, 10.0f);
  m.slider_thumb = slider_x(m.weight), m.arrow = direction;
  set_weight(m, m.weight);
}

void panel_push(Model& m) {
  switch (m.pushed) {
    case NEW_BTN: m.saved_degree = m.degree, m.new_shown = true; break;
    case RESET: {
      Model fresh = m;
      make_knots(fresh);
      m.fired[RESET_AFTER_KNOT_DRAG] += fresh.knots != m.knots;
      m.fired[RESET_AFTER_WEIGHT] += current(m) >= 0 && m.pts[current(m)].w != 1;
      m.weight = 1, set_weight(m, 1);
      break;
    }
    case ABOUT_BTN: m.about_shown = true; break;
    case ZOOM_IN:
    case ZOOM_OUT: {  // 40 steps either way from the start
      const bool in = m.pushed == ZOOM_IN;
      const bool stuck =
          in ? m.zoom >= 2 * std::pow(1.5f, 39.5f) : m.zoom <= 2 / std::pow(1.5f, 39.5f);
      m.fired[in ? ZOOM_IN_AT_BOUND : ZOOM_OUT_AT_BOUND] += stuck;
      m.zoom = stuck ? m.zoom : in ? m.zoom * 1.5f : m.zoom / 1.5f;
      break;
    }
    case GRID: m.proj_grid = !m.proj_grid; break;
    default: break;
  }
  m.pushed = NONE;
}

void panel_event(Model& m, int b, int s, int x, int y) {
  const bool press = b == 0 && s == 0;
  if (s < 0) {  // the held thumb follows the pointer; the value snaps to the 0.1 grid
    if (!m.slider_held) return;
    m.slider_thumb = std::clamp(m.slider_thumb + x - m.slider_last, 25, 195);
    m.slider_last = x;
    const float d = static_cast<float>((m.slider_thumb - 25) * 13.0 / 170);
    m.weight = -3.0f + static_cast<int>(std::floor(d / 0.1f + 0.5f)) * 0.1f;
    set_weight(m, m.weight);
    return;
  }
  y = HEIGHT[PANEL] - 1 - y;
  if (press && x >= WEIGHT_DOWN[0] && x <= WEIGHT_UP[2] && y >= WEIGHT_DOWN[1] &&
      y <= WEIGHT_UP[3]) {
    if (inside(WEIGHT_UP, x, y) || inside(WEIGHT_DOWN, x, y))
      arrow_click(m, inside(WEIGHT_UP, x, y) ? 1 : -1);
  } else if (press && x >= 0 && x <= 220 && y >= 558 && y <= 574) {
    if (x >= 22 && x <= 198 && std::abs(x - m.slider_thumb) <= 8)
      m.slider_held = true, m.slider_last = x;
  } else if (b == 0 && s == 1) {
    m.slider_held = false, m.arrow = 0;
  }
  if (press) {
    for (int i = NEW_BTN; i <= GRID && m.pushed == NONE; ++i)
      if (inside(PUSH_RECT[i], x, y)) m.pushed = i;
    if (m.pushed != NONE) return;
    if (inside(CHECK_RECT[2], x, y)) {
      m.pad_grid = !m.pad_grid;
    } else if (inside(CHECK_RECT[0], x, y)) {
      m.deboor = !m.deboor;
      m.dots = m.deboor ? m.dots : 0;
    } else if (inside(CHECK_RECT[1], x, y)) {
      m.dots = !m.dots && m.deboor;
    }
  } else if (b == 0 && s == 1) {
    panel_push(m);
  }
}

float bar_grid(int pixels) {  // a bar pixel offset snapped down to the 0.001 grid
  const float r = static_cast<float>(pixels / double(AXIS[3] - AXIS[1]));
  return BAR_STEP * std::trunc(1000 * r);
}

void knots_event(Model& m, int b, int s, int x, int y) {
  y = HEIGHT[KNOTS] - y;
  const int bottom = AXIS[1], top = AXIS[3], length = top - bottom;
  float lo, hi;
  valid_range(m, &lo, &hi);
  const int count = static_cast<int>(m.knots.size());
  if (m.hold == HOLD_KNOTS && m.hold_index + m.hold_mult > count) m.hold = HOLD_NOTHING;
  const float before = m.u;
  if (s < 0 && m.hold == HOLD_THUMB) {
    m.thumb = std::clamp(m.thumb + y - m.hold_last, bottom, top);
    m.u = BAR_STEP *
          std::trunc(1000 * static_cast<float>((m.thumb - bottom) / double(length)) + 0.5f);
    m.hold_last = y;
  } else if (s < 0 && m.hold == HOLD_KNOTS) {
    const int cy = std::clamp(y, bottom, top);
    if (cy != m.hold_last) {
      const float v = bar_grid(cy - bottom);
      m.fired[KNOT_AT_LOW_END + m.type] += v <= lo;
      m.fired[KNOT_AT_HIGH_END + m.type] += v >= hi;
      const bool end = (v == lo || v == hi) && m.type != UNIFORM;  // only uniform knots reach ends
      if (!end && v >= lo && v <= hi) {
        std::vector<float>& t = m.knots;
        const int from = m.hold_index;
        const float old = t[from];
        while (m.hold_index > 0 && v < t[m.hold_index - 1])
          t[m.hold_index + m.hold_mult - 1] = t[m.hold_index - 1], --m.hold_index;
        while (m.hold_index + m.hold_mult < count && v > t[m.hold_index + m.hold_mult])
          t[m.hold_index] = t[m.hold_index + m.hold_mult], ++m.hold_index;
        std::fill_n(t.begin() + m.hold_index, m.hold_mult, v);
        m.fired[KNOT_PASSED_LOWER] += m.hold_index < from;
        m.fired[KNOT_PASSED_HIGHER] += m.hold_index > from;
        m.fired[KNOT_GROUP_MOVED] += m.hold_mult > 1 && v != old;
        const int next = m.hold_index + m.hold_mult;
        m.fired[KNOT_MERGED] += v != old && ((m.hold_index > 0 && t[m.hold_index - 1] == v) ||
                                             (next < count && t[next] == v));
      }
      if (!end) m.hold_last = cy;
    }
  } else if (b == 0 && s == 0 && x >= AXIS[0] - 17 && x <= STEP_DOWN[2] && y >= STEP_DOWN[1] &&
             y <= STEP_UP[3]) {
    if (y <= STEP_DOWN[3] || y >= STEP_UP[1]) {  // "Dn" and "Up"
      const bool up = y >= STEP_UP[1];
      m.fired[up ? STEP_UP_AT_1 : STEP_DOWN_AT_0] += m.u == (up ? 1 : 0);
      m.u = up ? std::min(m.u + BAR_STEP, 1.0f) : std::max(m.u - BAR_STEP, 0.0f);
      m.thumb = bar_y(m.u);
    } else if (y < bottom - 3 || y > top + 3) {
    } else if (x >= AXIS[0] - 2 && x <= AXIS[0] + 5) {
      if (std::abs(y - m.thumb) <= 8) m.hold = HOLD_THUMB, m.hold_last = y;
    } else if (x < AXIS[0] - 2) {  // the first knot whose mark lies within 3 pixels
      const float low = bar_grid(y - 6 >= bottom ? y - bottom - 3 : 0);
      const float high = bar_grid(y + 3 <= top ? y - bottom + 3 : length);
      for (int i = 0; i < count; ++i) {
        if (m.knots[i] < low || m.knots[i] > high) continue;
        const bool valid = m.knots[i] >= lo && m.knots[i] <= hi;
        if (valid) {
          m.hold = HOLD_KNOTS, m.hold_index = i, m.hold_mult = 1, m.hold_last = y;
          while (i + m.hold_mult < count && m.knots[i + m.hold_mult] == m.knots[i]) ++m.hold_mult;
        }
        m.fired[CLOSED_KNOT_OUT_OF_RANGE] += !valid;
        break;
      }
    }
  } else if (b == 0 && s == 1) {
    m.hold = HOLD_NOTHING;
  }
  if (m.u != before || (s < 0 && m.hold)) m.edited_u = m.lifted_u = m.u;
}

void new_event(Model& m, int b, int s, int x, int y) {
  y = HEIGHT[NEW] - 1 - y;
  if (b == 0 && s == 0) {
    for (int i = 0; i < 15; ++i) {
      if (!inside(NEW_RECT[i], x, y)) continue;
      if (i < 10) m.box_degree = i + 1;
      if (i >= 10 && i < 13) m.box_type = KnotType(i - 10);
      if (i >= 13) m.new_pushed = i - 12;
      break;
    }
  } else if (b == 0 && s == 1 && m.new_pushed) {
    m.fired[OK_AFTER_TYPE] += m.new_pushed == 1 && m.box_type != m.type;
    m.fired[CANCEL_AFTER_TYPE_AND_DEGREE] +=
        m.new_pushed == 2 && m.box_type != m.type && m.box_degree != m.degree;
    if (m.new_pushed == 1) {  // a fresh empty curve; the selection keeps its length
      m.degree = m.box_degree, m.type = m.box_type;
      m.pts.clear(), m.knots.clear(), m.sel.assign(m.sel.size(), -1);
      m.edited_u = 0, m.trace3d = {0, 0, 0};
    } else {
      m.degree = m.saved_degree;
    }
    m.new_pushed = 0, m.new_shown = false;
  }
}

}  // namespace

int bar_y(float v) {
  return static_cast<int>(v * double(AXIS[3] - AXIS[1]) + AXIS[1]);
}

int slider_x(float v) {
  return static_cast<int>((v + 3.0) / 13.0 * 170 + 25);
}

void valid_range(const Model& m, float* lo, float* hi) {
  const int n = static_cast<int>(m.knots.size()), p = m.degree;
  *lo = 0, *hi = 1;
  if (m.type != CLOSED || n == 0) return;
  *lo = 2 * p > n ? 1.0f : m.knots[2 * p - 1] + 0.0005f;
  *hi = n < 2 * p ? 0.0f : m.knots[n - 2 * p] - 0.0005f;
}

void model_event(Model& m, Win w, int b, int s, int x, int y, int mods) {
  bool lift = w != KNOTS && w != PROJ && w != ABOUT;
  switch (w) {
    case PAD: lift = pad_event(m, b, s, x, y, mods); break;
    case PANEL: panel_event(m, b, s, x, y); break;
    case KNOTS: knots_event(m, b, s, x, y); break;
    case NEW: new_event(m, b, s, x, y); break;
    case ABOUT:
      if (b == 0 && s == 0 && inside(DISMISS_RECT, x, HEIGHT[ABOUT] - y)) m.dismiss_held = true;
      if (b == 0 && s == 1 && m.dismiss_held) m.dismiss_held = false, m.about_shown = false;
      break;
    case PROJ:
      if (s < 0 && m.turning) {  // 2 degrees a pixel, the steps kept below a turn
        m.step_y = (x - m.turn_last_x) * 1080 / PROJ_SIZE % 360;
        m.step_x = (PROJ_SIZE - y - m.turn_last_y) * 1080 / PROJ_SIZE % 360;
      }
      if (s < 0 && m.turning) {
        m.fired[TURN_RIGHT] += m.step_y > 0, m.fired[TURN_LEFT] += m.step_y < 0;
        m.fired[TURN_UP] += m.step_x > 0, m.fired[TURN_DOWN] += m.step_x < 0;
      }
      if ((s < 0 && m.turning) || (b == 0 && s == 0))
        m.turn_last_x = x, m.turn_last_y = PROJ_SIZE - y, m.turning = true;
      m.fired[TURN_STOPPED] += b == 0 && s == 1 && (m.step_x || m.step_y);
      if (b == 0 && s == 1) m.step_x = m.step_y = 0, m.turning = false;
      break;
    default: break;
  }
  if (lift) m.lifted_u = m.edited_u;
}

void model_display(Model& m, Win w) {
  if (w == PAD) m.edited_u = m.u;
  if (w == PANEL && !m.slider_held) m.slider_thumb = slider_x(m.weight);
  for (size_t i = 0, f = 1; w == KNOTS && i < m.knots.size(); i += f, f = 1)
    while (i + f < m.knots.size() && std::fabs(m.knots[i + f] - m.knots[i]) < 0.0005f)
      m.knots[i + f] = m.knots[i], ++f;  // marks closer than half a step: one group, made equal
  if (w != PROJ) return;
  m.view = mat_mul(mat_mul(mat_rotate(m.step_x, 1, 0, 0), mat_rotate(m.step_y, 0, 1, 0)), m.view);
  const auto tri = model_triangle(drawn_lifted(m), m.lifted_u);
  if (!tri.empty() && tri.back()[0][3] != 0) {
    const Vec& c = tri.back()[0];
    m.trace3d = {c[0] / c[3], c[1] / c[3], c[2] / c[3]};
  }
}

std::string model_look(const Model& m, Win w) {
  std::string s;
  auto add = [&s](double v) { s += std::to_string(v) + ","; };
  auto curve = [&] {
    for (const Pt& q : m.pts) add(q.x), add(q.y), add(q.w);
    for (float k : m.knots) add(k);
    add(m.degree), add(m.type), add(m.deboor), add(m.dots);
    for (size_t i = 0; i < m.pts.size(); ++i)
      add(std::count(m.sel.begin(), m.sel.end(), static_cast<int>(i)) > 0);
  };
  switch (w) {
    case PAD: curve(), add(m.u), add(m.pad_grid); break;
    case KNOTS:
      for (float k : m.knots) add(k);
      add(m.degree), add(m.type), add(m.u), add(m.thumb);
      break;
    case PANEL:
      add(m.weight), add(m.slider_held ? m.slider_thumb : slider_x(m.weight)), add(m.slider_held);
      add(m.arrow), add(m.pushed), add(m.deboor), add(m.dots), add(m.pad_grid), add(m.proj_grid);
      break;
    case NEW:
      if (m.new_shown) add(m.box_degree), add(m.box_type), add(m.new_pushed);
      break;
    case ABOUT:
      if (m.about_shown) add(m.dismiss_held);
      break;
    case PROJ:
      curve(), add(m.sel[0]), add(m.lifted_u), add(m.edited_u), add(m.proj_grid), add(m.zoom);
      for (double v : m.view) add(v);
      break;
    default: break;
  }
  return s;
}

bool Drawn::usable() const {
  return points.size() >= 3 && knots.size() == points.size() + p + 1;
}

Drawn drawn_edited(const Model& m) {
  Drawn d;
  d.p = m.degree, d.knots = m.knots;
  const int n = static_cast<int>(m.pts.size()),
            extra = m.type == CLOSED && !m.knots.empty() ? m.degree : 0;
  for (int i = 0; i < n + extra; ++i) {
    const Pt& q = m.pts[i % n];
    d.points.push_back({q.w * q.x, q.w * q.y, 0, q.w});
  }
  return d;
}

Drawn drawn_lifted(const Model& m) {
  Drawn d = drawn_edited(m);
  for (Vec& q : d.points) q = {q[0], q[1], q[3], 1};  // (w x, w y, w) of weight 1
  return d;
}

std::vector<std::vector<Vec>> model_triangle(const Drawn& d, double u) {
  if (!d.usable()) return {};
  const std::vector<float>& t = d.knots;
  const int p = d.p, n = static_cast<int>(d.points.size()), m = static_cast<int>(t.size());
  int s = 0, i = 0;
  for (; i < m; ++i) {
    if (t[i] - EPS < u && u < t[i] + EPS)
      ++s;
    else if (u < t[i])
      break;
  }
  const int k = i - 1;
  if (u < t[p - 1] || k < p || k - s >= n || s > p) return {};
  std::vector<std::vector<Vec>> levels(1);
  for (int j = 0; j <= p - s; ++j) levels[0].push_back(d.points[k - p + j]);
  for (int r = 1; r <= p - s; ++r) {
    levels.push_back({});
    for (int j = 0; j <= p - s - r; ++j) {
      const double a0 = t[k - p + r + j], a = (u - a0) / (t[k + 1 + j] - a0);
      Vec q;
      for (int c = 0; c < 4; ++c)
        q[c] = a * levels[r - 1][j + 1][c] + (1 - a) * levels[r - 1][j][c];
      levels[r].push_back(q);
    }
  }
  return levels;
}

}  // namespace model
