// Mouse and keyboard in the page, sent as real input through the DevTools protocol and checked
// by what the page shows: canvas pixels and which windows are shown, never program memory.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { browser_start, page_open, require_tools, web_serve, window_has } from './harness.mjs';

const MAIN = '2D NURBS Curve', ABOUT = 'About Ternival', NEW = 'Create New 2D NURBS';
const CURRENT = [0, 255, 0], CONTROL = [36, 36, 143], BLACK = [0, 0, 0];
const panel = (x, yUp) => [1 + x, 541 + 614 - yUp];  // control panel widgets, y up
const A = [101, 401], B = [221, 101], B_MOVED = [221, 161];
const ABOUT_BUTTON = panel(425, 589), DISMISS = [800, 672], QUIT = panel(425, 561);
const NEW_BUTTON = panel(360, 589), OK = [227, 334], CANCEL = [375, 333];

await require_tools();
const { url, server } = await web_serve();
const browser = await browser_start();
const io = await page_open(browser, url);
after(async () => (await browser.close(), server.close()));

// The shown window of this title (pixels and rectangle) once the page has settled.
async function shown(title) {
  await io.settle();
  return (await io.windows()).find(w => w.title === title);
}
// Whether the window is shown and above every other shown window.
const on_top = title => io.page.evaluate(title => {
  const frames = [...document.querySelectorAll('.ternival-window')]
    .filter(f => f.style.display !== 'none');
  const top = frames.reduce((a, b) => (+a.style.zIndex > +b.style.zIndex ? a : b));
  return top.querySelector('canvas').dataset.title === title;
}, title);

test('a right press adds a point, which becomes the current one', async () => {
  assert.ok(!window_has(await shown(MAIN), ...A, CURRENT));
  await io.press(...A, 'right');
  assert.ok(window_has(await shown(MAIN), ...A, CURRENT));
  await io.release(...A, 'right');
  await io.tap(...B, 'right');
  const main = await shown(MAIN);
  assert.ok(window_has(main, ...A, CONTROL) && window_has(main, ...B, CURRENT));
});

test('a left drag moves the point under the pointer', async () => {
  await io.press(...B);
  for (let y = B[1]; y <= B_MOVED[1]; y += 10) await io.move(B[0], y);
  await io.release(...B_MOVED);
  const main = await shown(MAIN);
  assert.ok(window_has(main, ...B_MOVED, CURRENT));
  assert.ok(!window_has(main, ...B, CURRENT) && !window_has(main, ...B, CONTROL));
});

test('Shift with a click adds a point to the selection: both green', async () => {
  await io.shift(true), await io.tap(...A), await io.shift(false);
  const main = await shown(MAIN);
  assert.ok(window_has(main, ...A, CURRENT) && window_has(main, ...B_MOVED, CURRENT));
});

test('" About" shows the About window above the others; "Dismiss" hides it', async () => {
  await io.tap(...ABOUT_BUTTON);
  const about = await shown(ABOUT);
  assert.ok(about && (await on_top(ABOUT)));
  assert.ok(window_has(about, 280, 38, BLACK, 8), 'its first line of text');
  await io.tap(...DISMISS);
  assert.equal(await shown(ABOUT), undefined);
});

test('"   New" shows the new-curve window; "Cancel" and "OK" hide it', async () => {
  for (const button of [CANCEL, OK]) {
    await io.tap(...NEW_BUTTON);
    assert.ok((await shown(NEW)) && (await on_top(NEW)));
    await io.tap(...button);
    assert.equal(await shown(NEW), undefined);
  }
  assert.ok(!window_has(await shown(MAIN), ...A, CURRENT), 'OK started a new curve');
});

test('"  Quit!" ends the program on the release, and the page says so', async () => {
  const state = () => io.page.evaluate(() => ({
    ended: !!window.ternival.ended, status: window.ternival.exitStatus,
    marked: document.body.classList.contains('ternival-ended'),
    notice: document.getElementById('ternival-ended').innerText.trim().split('\n')[0],
  }));
  await io.press(...QUIT);
  await io.settle();
  assert.equal((await state()).ended, false, 'ended on the press');
  await io.release(300, 300);
  await io.page.waitForFunction(() => window.ternival.ended, { timeout: 10000 });
  assert.deepEqual(await state(),
    { ended: true, status: 0, marked: true, notice: 'Ternival has ended.' });
});
