// What the browser tests and scripts/bench-web share: a static server for build/web, Debian's
// headless Chromium driven through the DevTools protocol, and the page's windows read back.
// Positions are desktop pixels, y down, as on the desktop build; RGBA bytes, rows from the top.
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { join, extname } from 'node:path';
import { screen, widgets } from './layout.mjs';

export const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
export const WEB_DIR =
  process.env.TERNIVAL_WEB_DIR || new URL('../../build/web', import.meta.url).pathname;
export const SKIP = 77;  // ctest's "skipped": a tool or the web build is missing
const SLIDER_REACH = 10; // rows above and below the weight slider's axis that press on it
const SETTLE_MS = 150;   // a page that drew no frame for this long has settled
const WAIT_MS = 20000;   // longest wait for a page state
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// The points of a drag from p to q in steps motions: p + (q - p) * i / steps, truncated.
export const drag_path = (p, q, steps) => [p, ...Array.from({ length: steps }, (_, i) =>
  p.map((v, k) => v + Math.trunc((q[k] - v) * (i + 1) / steps)))];

// Gives a gesture to a driver (page_open's or desktop_start's): in window pixels (y up), a press
// at the path's first point unless down is false, motions to the others (to all of them without a
// press or release) and a release at its last unless up is false; one point with both is a click.
export async function gesture(io, { win, button = 'left', shift, path, down = true, up = true }) {
  const at = p => screen(win, ...p);
  if (shift) await io.shift(true);
  // Each redraw of the 3D view during a drag turns it by the last motion's step, and the weight
  // slider takes its thumb's place from its last redraw: a press there waits for earlier redraws,
  // and each motion in the 3D view for its own.
  const track = widgets.weight_track, [x, y] = path[0];
  if (down && (win === 'proj' || (win === 'panel' && x >= track.x1 && x <= track.x2 &&
    Math.abs(y - track.y1) <= SLIDER_REACH))) await io.settle();
  if (down && up && path.length === 1) await io.tap(...at(path[0]), button);
  else {
    if (down) await io.press(...at(path[0]), button);
    for (const p of path.slice(down || up ? 1 : 0))
      await (win === 'proj' ? io.turn(...at(p)) : io.move(...at(p)));
    if (up) await io.release(...at(path.at(-1)), button);
  }
  if (shift) await io.shift(false);
}

// Exits with SKIP when a tool is missing (Chromium, the npm packages of tests/web), and fails
// when the web build is, saying which.
export async function require_tools(tools = []) {
  const missing = [CHROMIUM, ...tools].find(tool => !existsSync(tool));
  const puppeteer = await import('puppeteer-core').catch(() => null);
  if (missing || !puppeteer) {
    console.log(`skipped: ${missing || 'puppeteer-core (npm ci in tests/web)'} is missing`);
    process.exit(SKIP);
  }
  launch = options => puppeteer.default.launch(options);
  if (!existsSync(join(WEB_DIR, 'ternival.wasm'))) {
    console.log(`${WEB_DIR} holds no build: run ./scripts/web --build-only`);
    process.exit(1);
  }
}
let launch;  // puppeteer.launch, once require_tools has found it

// Serves build/web on a free port of 127.0.0.1; resolves to {url, server}.
export function web_serve() {
  const server = createServer((req, res) => {
    const name = req.url === '/' ? '/index.html' : req.url.split('?')[0];
    const path = join(WEB_DIR, name);
    if (name.includes('..') || !existsSync(path)) return res.writeHead(404).end();
    res.writeHead(200, { 'Content-Type': TYPES[extname(path)] || 'application/octet-stream' });
    res.end(readFileSync(path));
  });
  return new Promise(ok => server.listen(0, '127.0.0.1', () =>
    ok({ url: `http://127.0.0.1:${server.address().port}/`, server })));
}

// Starts headless Chromium with a fresh profile, software WebGL and no network of its own.
export async function browser_start() {
  const profile = mkdtempSync(join(tmpdir(), 'ternival-chromium-'));
  const browser = await launch({
    executablePath: CHROMIUM, headless: true, userDataDir: profile,
    defaultViewport: { width: 1400, height: 1100, deviceScaleFactor: 1 },
    args: ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-quic'],
  });
  process.on('exit', () => rmSync(profile, { recursive: true, force: true, maxRetries: 5 }));
  return browser;
}

// Opens the page and waits for its first picture; returns a driver in desktop pixels. With
// input 'touch' the driver's presses alternate between a finger and a pen, and a right click is a
// press held still for longer than the page's long press.
// A page given (reuse) is loaded again. Mouse events are sent without waiting for the page to
// take each one, in order.
export async function page_open(browser, url, input = 'mouse', reuse = null) {
  const page = reuse || await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.ternival && window.ternival.frames > 0,
    { timeout: WAIT_MS });
  const { origin, scale } = await page.evaluate(() => window.ternival);
  const at = (x, y) => [(origin.x + x) * scale, (origin.y + y) * scale];
  const cdp = await page.createCDPSession();
  let buttons = 0, modifiers = 0;
  const mouse = (type, x, y, button = 'none', bit = 0) => {
    buttons = type === 'mouseReleased' ? buttons & ~bit : buttons | bit;
    const [px, py] = at(x, y);
    return cdp.send('Input.dispatchMouseEvent',
      { type, x: px, y: py, button, buttons, clickCount: 1, modifiers });
  };
  const both = (type, x, y, button) => Promise.all([mouse('mouseMoved', x, y),
    mouse(type, x, y, button, BUTTON_BITS[button])]);
  const io = {
    page,
    move: (x, y) => mouse('mouseMoved', x, y),
    press: (x, y, button = 'left') => both('mousePressed', x, y, button),
    release: (x, y, button = 'left') => both('mouseReleased', x, y, button),
    tap: (x, y, button = 'left') => Promise.all([io.press(x, y, button), io.release(x, y, button)]),
    shift: async down => { modifiers = down ? SHIFT : 0; },
    // Waits two animation frames (a redisplay asked for is drawn in the first), then until no
    // frame has been drawn for SETTLE_MS.
    settle: () => page.evaluate(ms => new Promise(done => requestAnimationFrame(() =>
      requestAnimationFrame(() => {
      let seen = window.ternival.frames, quiet = performance.now();
      const look = () => {
        if (window.ternival.frames !== seen)
          seen = window.ternival.frames, quiet = performance.now();
        if (performance.now() - quiet >= ms || window.ternival.ended) return done();
        setTimeout(look, 10);
      };
      look();
    }))), SETTLE_MS),
    // A motion, then the redraw that turns the 3D view by it.
    turn: async (x, y) => (await io.move(x, y), io.settle()),
    // Waits until the window of this title is shown, or hidden.
    window: (title, want = true) => page.waitForFunction((title, want) =>
      [...document.querySelectorAll('canvas[data-window]')].some(c => c.dataset.title === title &&
        c.parentElement.style.display !== 'none') === want, { timeout: WAIT_MS }, title, want),
    windows: () => page_windows(page),
  };
  if (input === 'touch') touch_driver(io, cdp, at);
  return io;
}

// Turns a page driver's presses into touches and pen strokes, taking turns: a left press is a
// touch, a right click a touch held still for HOLD_MS.
function touch_driver(io, cdp, at) {
  let pen = false, modifiers = 0;
  const send = (kind, x0, y0) => {
    const [x, y] = at(x0, y0), end = kind === 'End';
    return pen ? cdp.send('Input.dispatchMouseEvent', { type: STROKE[kind], x, y, button: 'left',
      buttons: end ? 0 : 1, clickCount: 1, pointerType: 'pen', modifiers }) :
      cdp.send('Input.dispatchTouchEvent', { type: `touch${kind}`, modifiers,
        touchPoints: end ? [] : [{ x, y }] });
  };
  io.shift = async down => { modifiers = down ? SHIFT : 0; };
  // The page tells a left press from a long one by a timer, which a loaded machine could let run
  // out between a press and its lift or first motion: the press goes together with the next
  // event, and a drag's to a page done drawing, as a motion waits for the next frame.
  let held = null;
  io.press = async (x, y, button = 'left') => {
    if (button !== 'left') throw new Error(`a ${button} press cannot be given by touch`);
    pen = !pen;
    held = [x, y];
  };
  const after_press = async (kind, x, y) => {
    if (held && kind === 'Move') await io.settle();
    const both = [held && send('Start', ...held), send(kind, x, y)];
    held = null;
    await Promise.all(both);
  };
  io.move = (x, y) => after_press('Move', x, y);
  io.release = (x, y) => after_press('End', x, y);
  io.tap = async (x, y, button = 'left') => {
    if (button === 'left') return io.press(x, y).then(() => io.release(x, y));
    // The long press has fired once the press has been drawn.
    await io.press(x, y), await io.settle();
    const frames = await io.page.evaluate(() => window.ternival.frames);
    await send('Start', x, y), held = null, await sleep(HOLD_MS);
    await io.page.waitForFunction(f => window.ternival.frames > f, { timeout: WAIT_MS }, frames);
    await send('End', x, y);
  };
}
const SHIFT = 8;        // the DevTools protocol's modifier bit
const BUTTON_BITS = { left: 1, right: 2, middle: 4 };
const STROKE = { Start: 'mousePressed', Move: 'mouseMoved', End: 'mouseReleased' };
const HOLD_MS = 600;    // a held press: longer than the page's long press of 500 ms
const sleep = ms => new Promise(ok => setTimeout(ok, ms));

// Every window shown now, from the bottom of the stack up: title, desktop rectangle, z order
// and its canvas's RGBA bytes (sent as a PNG: far fewer bytes through the DevTools protocol).
export async function page_windows(page) {
  const { PNG } = await import('pngjs');
  const list = await page.evaluate(() => [...document.querySelectorAll('canvas[data-window]')]
    .filter(c => c.parentElement.style.display !== 'none')
    .sort((a, b) => a.parentElement.style.zIndex - b.parentElement.style.zIndex)
    .map(c => ({ title: c.dataset.title, x: +c.dataset.x, y: +c.dataset.y, w: c.width,
      h: c.height, png: c.toDataURL('image/png').split(',')[1],
      z: +c.parentElement.style.zIndex })));
  return list.map(({ png, ...w }) =>
    ({ ...w, rgba: PNG.sync.read(Buffer.from(png, 'base64')).data }));
}

// True when some pixel within r of desktop (x, y) in the window has exactly this colour.
export function window_has(win, x, y, rgb, r = 2) {
  for (let j = y - r; j <= y + r; ++j)
    for (let i = x - r; i <= x + r; ++i)
      if (i >= win.x && j >= win.y && i < win.x + win.w && j < win.y + win.h &&
          rgb.every((v, k) => v === win.rgba[((j - win.y) * win.w + i - win.x) * 4 + k]))
        return true;
  return false;
}
