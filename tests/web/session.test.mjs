// One seeded random session given with real input three times: to the desktop build (X input)
// and to the page with the mouse and with touch and pen (DevTools protocol input). Every shown
// window of each page run is compared with the desktop's screen every CHECK_EVERY events and at
// the end. Usage: node session.test.mjs [desktop ternival binary]; TERNIVAL_WEB_SEED picks the
// session, TERNIVAL_WEB_EVENTS its length.
import { browser_start, drag_path, gesture, page_open, require_tools, web_serve }
  from './harness.mjs';
import { desktop_start } from './desktop.mjs';
import { page_picture, window_compare } from './compare.mjs';
import { widgets } from './layout.mjs';

const BINARY = process.argv[2] || process.env.TERNIVAL_BINARY ||
  new URL('../../build/test/ternival', import.meta.url).pathname;
const SEED = Number(process.env.TERNIVAL_WEB_SEED || 22);
const EVENTS = Number(process.env.TERNIVAL_WEB_EVENTS || 320);
const CHECK_EVERY = 25;
const TITLES = { new: 'Create New 2D NURBS', about: 'About Ternival' };
const PICK = 8;          // px either way from a point that still picks it
const SLOP = 5;          // a touch must move this far (|dx| + |dy|) before it is a drag
const AXIS = [65, 485];  // the knot bar's axis, y up
const KEEP_OFF = ['quit', 'new', 'about'];  // panel buttons the random presses leave alone
const of = (win, but) => Object.keys(widgets).filter(n => widgets[n].win === win &&
  !but.includes(n));
const PANEL = of('panel', [...KEEP_OFF, 'weight_track']), BOXES = of('new', ['ok', 'cancel']);

// The session: gestures {win, button, shift, path: [[x, y_up], ...], dialog} where a path of one
// point is a click and a longer one a press, motions and a release at its last point; dialog
// [title, shown] is waited for after the gesture. Only left drags and left and right clicks, so
// that touch can give every gesture.
function session(seed, events) {
  let state = seed >>> 0;  // a linear congruential generator: the same numbers in every run
  const r = () => (state = (Math.imul(state, 1664525) + 1013904223) >>> 0) / 2 ** 32;
  const int = (lo, hi) => lo + Math.floor(r() * (hi - lo + 1));
  const pick = list => list[int(0, list.length - 1)];
  // A spot in or around a widget, often on its edges; no farther than 2 px from it, which keeps
  // the spots of the other panel buttons off "Quit!", "New" and "About".
  const spot = (name, jitter = 2) => {
    const w = widgets[name], e = int(0, 3), x = int(w.x1, w.x2), y = int(w.y1, w.y2);
    return e === 0 ? [x, y] : e === 1 ? [pick([w.x1, w.x2]), y] : e === 2 ? [x, pick([w.y1, w.y2])]
      : [int(w.x1 - jitter, w.x2 + jitter), int(w.y1 - jitter, w.y2 + jitter)];
  };
  // A path from p through steps motions to q; a first motion shorter than a touch's slop gets a
  // detour, so that a finger gives the same motions as the mouse.
  const path = (p, q, steps) => {
    const list = drag_path(p, q, steps);
    if (Math.abs(list[1][0] - p[0]) + Math.abs(list[1][1] - p[1]) < SLOP)
      list.splice(1, 0, [p[0], p[1] + (p[1] > 270 ? -SLOP - 1 : SLOP + 1)]);
    return list;
  };
  const points = [];  // where the session put the pad's points, as far as it knows
  let degree = 3, chosen = 3;
  const near = p => points.findIndex(q => Math.abs(q[0] - p[0]) <= PICK &&
    Math.abs(q[1] - p[1]) <= PICK);
  const pad_spot = () => (points.length && r() < 0.7 ?
    pick(points).map(v => v + int(-3, 3)) : [int(5, 536), int(5, 536)]);
  // The row of knot k if the knots are spread evenly over the axis (uniform), or if the inner
  // ones are (clamped).
  const knot_y = (k, spans) => AXIS[0] + Math.round((AXIS[1] - AXIS[0]) * k / spans);
  const gestures = [];
  const add = (win, path, more = {}) => gestures.push({ win, path, ...more });
  const gen = {
    pad_add: () => {
      const p = points.length && r() < 0.5 ?
        pick(points).map(v => v + int(-PICK, PICK)) : [int(5, 536), int(5, 536)];
      points.push(p);
      add('pad', [p], { button: 'right' });
    },
    pad_pick: () => add('pad', [pad_spot()], { shift: r() < 0.4 }),
    pad_drag: () => {
      const p = pad_spot(), q = [int(5, 536), int(5, 536)], i = near(p);
      if (i >= 0) points[i] = [points[i][0] + q[0] - p[0], points[i][1] + q[1] - p[1]];
      add('pad', path(p, q, int(2, 6)), { shift: r() < 0.3 });
    },
    steps: () => add('knots', [spot(pick(['up', 'down']))], { shift: r() < 0.2 }),
    thumb: () => {
      const y = r() < 0.5 ? knot_y(int(0, 8), 8) : int(55, 495);
      const to = pick([AXIS[0], AXIS[1], AXIS[0] - 5, AXIS[1] + 5, int(...AXIS)]);
      add('knots', path([int(55, 62), y], [58, to], int(1, 4)));
    },
    // Knots are taken left of the thumb's column, markers right of it.
    knot: () => {
      const n = points.length, spans = Math.max(1, r() < 0.5 ? n + degree : n - degree);
      const k = int(1, spans - 1), y = knot_y(k, spans) + int(-1, 1);
      const to = pick([knot_y(k - 1, spans), knot_y(k + 1, spans), knot_y(k + 1, spans) + 1,
        knot_y(k - 1, spans) - 1, ...AXIS, AXIS[0] - 3, AXIS[1] + 3]);
      const x = r() < 0.7 ? int(44, 54) : int(63, 67);
      if (r() < 0.2) add('knots', [[x, y]], { shift: r() < 0.3 });
      else add('knots', path([x, y], [x, to], int(1, 5)), { shift: r() < 0.2 });
    },
    // A button takes effect on the release wherever that is, if it was pressed on it.
    panel: () => add('panel', r() < 0.3 ? path(spot(pick(PANEL)), [int(0, 640), int(540, 614)], 2)
      : [spot(pick(PANEL))], { shift: r() < 0.2 }),
    slider: () => {
      const w = widgets.weight_track, y = w.y1 + int(-2, 2);
      add('panel', path([int(w.x1, w.x2), y], [int(w.x1 - 10, w.x2 + 10), y], int(1, 5)));
    },
    turn: () => {
      const list = [[int(40, 500), int(40, 500)]];
      for (let n = int(1, 3); n > 0; --n) {
        const [x, y] = list.at(-1), dx = pick([-1, 1]) * int(SLOP, 20);
        list.push([x + dx, y + pick([-1, 0, 1]) * int(2, 20)]);
      }
      add('proj', list);
    },
    new: () => {
      add('panel', [spot('new', 0)], { dialog: [TITLES.new, true] });
      chosen = degree;
      for (let n = int(0, 3); n > 0; --n) {
        const box = pick(BOXES);
        if (box.startsWith('degree_')) chosen = Number(box.slice(7));
        add('new', [spot(box, 0)], { shift: r() < 0.2 });
      }
      const ok = r() < 0.6, at = spot(ok ? 'ok' : 'cancel', 0);
      if (ok) points.length = 0, degree = chosen;
      add('new', r() < 0.3 ? path(at, [int(5, 210), int(92, 112)], 3) : [at],
        { dialog: [TITLES.new, false] });
    },
    about: () => {
      add('panel', [spot('about', 0)], { dialog: [TITLES.about, true] });
      const at = spot('dismiss', 0);
      add('about', r() < 0.3 ? path(at, [int(20, 600), int(100, 600)], 3) : [at],
        { dialog: [TITLES.about, false] });
    },
  };
  const weights = { pad_add: 8, pad_pick: 6, pad_drag: 8, steps: 4, thumb: 5, knot: 8,
    panel: 7, slider: 3, turn: 5, new: 3, about: 2 };
  const bag = Object.entries(weights).flatMap(([name, w]) => Array(w).fill(name));
  let count = 0;
  while (count < events) {
    const from = gestures.length;
    gen[pick(bag)]();
    for (const g of gestures.slice(from)) count += g.path.length === 1 ? 2 : g.path.length + 1;
  }
  return gestures;
}

// Plays the gestures; snap() is called every CHECK_EVERY events, between gestures, and at the end.
async function play(io, gestures, snap) {
  let count = 0, next = CHECK_EVERY;
  for (const g of gestures) {
    await gesture(io, g);
    count += g.path.length === 1 ? 2 : g.path.length + 1;
    if (g.dialog) await io.window(...g.dialog);
    if (count >= next) await snap(count), next += CHECK_EVERY;
  }
  await snap(count);
}

await require_tools(['/usr/bin/Xvfb', '/usr/bin/xdotool', '/usr/bin/python3']);
const gestures = session(SEED, EVENTS);
const { url, server } = await web_serve();
const [browser, second, desktop] =
  await Promise.all([browser_start(), browser_start(), desktop_start(BINARY)]);
let passed = true;
try {
  const screens = [], runs = { mouse: [], touch: [] };
  const page_run = async (input, where) => {
    const io = await page_open(where, url, input);
    await play(io, gestures, async count => (await io.settle(),
      runs[input].push({ count, list: await io.windows() })));
    await io.page.close();
  };
  // The touch run waits in its long presses: a second browser runs it beside the others.
  await Promise.all([play(desktop, gestures, async () => screens.push(await desktop.settle())),
    page_run('mouse', browser), page_run('touch', second)]);
  for (const [input, snaps] of Object.entries(runs)) {
    let worst = ['none', 0];
    snaps.forEach(({ count, list }, k) => {
      const picture = page_picture(list);
      for (const win of picture.shown) {
        const { differ, ok } = window_compare(`${input}, seed ${SEED}, event ${count}`, win,
          (x, y) => picture.rgb(win, x, y), (x, y) => desktop.rgb(screens[k], x, y),
          (x, y) => picture.covered(win, x, y));
        passed &&= ok;
        if (differ > worst[1]) worst = [`${win} at event ${count}`, differ];
      }
    });
    console.log(`${input}: ${snaps.length} comparisons; worst window ${worst[0]}: ${worst[1]} ` +
      'pixels differ');
  }
} finally {
  desktop.stop();
  await Promise.all([browser.close(), second.close()]);
  server.close();
}
process.exit(passed ? 0 : 1);
