// What only the page has, given as real input through the DevTools protocol and checked by what
// the page shows: title bars, windows raised, a held touch, a right click (no browser menu), the
// page after "Quit!", and a browser that gives no WebGL. The rest of its input is compared with
// the desktop's by session.test.mjs.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { browser_start, page_open, require_tools, web_serve, window_has } from './harness.mjs';
import { centre, screen } from './layout.mjs';

const MAIN = '2D NURBS Curve', ABOUT = 'About Ternival';
const CURRENT = [0, 255, 0], BLACK = [0, 0, 0];
const A = screen('pad', 101, 140), WITHIN_SLOP = [A[0] + 2, A[1] + 2];
const EDGE = screen('pad', 522, 20), INDEX_BLUE = [0, 128, 255];  // the pad's top right corner
const at = (win, widget) => screen(win, ...centre(widget));

await require_tools();
const { url, server } = await web_serve();
const browser = await browser_start();
after(async () => (await browser.close(), server.close()));
let io;

// The shown window of this title (pixels and rectangle) once the page has settled.
async function shown(title) {
  await io.settle();
  return (await io.windows()).find(w => w.title === title);
}

test('a touch held still, or moved within 4 px, is a right click where it began', async () => {
  io = await page_open(browser, url, 'touch');
  assert.ok(!window_has(await shown(MAIN), ...A, CURRENT));
  await io.press(...A);
  await io.move(...WITHIN_SLOP);
  await new Promise(ok => setTimeout(ok, 700));
  assert.ok(window_has(await shown(MAIN), ...A, CURRENT), 'added on the hold, not the lift');
  await io.release(...WITHIN_SLOP);
  assert.ok(window_has(await shown(MAIN), ...A, CURRENT), 'not moved by the lift');
  await io.page.close();
});

test('windows stand under title bars that name them, the one shown last on top; a press on a ' +
  'title bar reaches no window', async () => {
  io = await page_open(browser, url);
  await io.tap(...at('panel', 'about'));
  const frames = await io.page.evaluate(() => [...document.querySelectorAll('.ternival-window')]
    .filter(f => f.style.display !== 'none').sort((a, b) => a.style.zIndex - b.style.zIndex)
    .map(f => [f.children[0], f.querySelector('canvas')].map(e => e.getBoundingClientRect())
      .map((r, i) => [i ? r.top : r.bottom, r.left, r.width, f.children[i].textContent ||
        f.children[i].dataset.title])));
  assert.deepEqual(frames.map(([bar]) => bar[3]).sort(), [MAIN, '3D B-Spline Projection', ABOUT]);
  assert.equal(frames.at(-1)[0][3], ABOUT);
  for (const [bar, canvas] of frames) assert.deepEqual(bar, canvas, 'a bar right above, as wide');
  assert.ok(window_has(await shown(ABOUT), 280, 38, BLACK, 8), 'its first line of text');
  const before = await io.windows();
  // The main window's title bar, above its first row.
  for (const button of ['left', 'right']) await io.tap(400, -10, button);
  await io.tap(...at('about', 'dismiss'));
  assert.equal(await shown(ABOUT), undefined);
  assert.ok(before.find(w => w.title === MAIN).rgba.equals((await shown(MAIN)).rgba));
});

test('a right click adds a point, labelled even in the pad\'s top right corner, and opens no browser menu', async () => {
  await io.page.close();
  io = await page_open(browser, url);
  await io.page.evaluate(() => window.addEventListener('contextmenu',
    e => (window.menu_refused = e.defaultPrevented)));
  await io.tap(...A, 'right');
  assert.ok(window_has(await shown(MAIN), ...A, CURRENT));
  assert.equal(await io.page.evaluate(() => window.menu_refused), true);
  await io.tap(...EDGE, 'right');  // its index label, up and right of it, is drawn in full view
  assert.ok(window_has(await shown(MAIN), EDGE[0] + 10, EDGE[1] - 11, INDEX_BLUE, 6));
});

test('"  Quit!" ends the program on the release, and the page says so', async () => {
  const state = () => io.page.evaluate(() => ({
    ended: !!window.ternival.ended, status: window.ternival.exitStatus,
    marked: document.body.classList.contains('ternival-ended'),
    notice: document.getElementById('ternival-ended').innerText.trim().split('\n')[0],
  }));
  await io.press(...at('panel', 'quit'));
  await io.settle();
  assert.equal((await state()).ended, false, 'ended on the press');
  await io.release(300, 300);
  await io.page.waitForFunction(() => window.ternival.ended, { timeout: 10000 });
  assert.deepEqual(await state(),
    { ended: true, status: 0, marked: true, notice: 'Ternival has ended.' });
});

test('a browser that gives no WebGL context is told so once per window, not on every frame',
  async () => {
    const page = await browser.newPage(), said = [];
    page.on('console', m => said.push(m.text()));
    await page.evaluateOnNewDocument(() => {
      const real = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return kind.startsWith('webgl') ? null : real.call(this, kind, ...rest);
      };
    });
    await page.goto(url);
    await page.waitForFunction(() => window.ternival && window.ternival.redrawAll);
    await page.evaluate(() => { for (let i = 0; i < 3; ++i) window.ternival.redrawAll(); });
    await new Promise(ok => setTimeout(ok, 300));
    const refused = said.filter(text => text.includes('no WebGL context'));
    assert.ok(refused.length > 0, said.join('\n'));
    assert.equal(new Set(refused).size, refused.length, refused.join('\n'));
    await page.close();
  });
