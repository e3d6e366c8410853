// The desktop build beside the page: the program on a private Xvfb, real X input (XTest) and
// screen reads through xserver.py. Its driver has the same calls as page_open's, in the same
// desktop pixels.
import { execFile, spawn } from 'node:child_process';
import { visible_rect } from './layout.mjs';

const SCREEN = { x: 0, y: 0, w: 1400, h: 1000 };  // as the C++ end-to-end tests' Xvfb
const BUTTONS = { left: 1, middle: 2, right: 3 };
const STILL_TRIES = 20;   // screen reads before giving up on stillness
const STILL_GAP_MS = 100;
const INPUT_LAG_MS = 300; // time given to the program to take input already sent
const POLL_MS = 20;
const WAIT_MS = 20000;    // longest wait for a redraw or a window

const sleep = ms => new Promise(ok => setTimeout(ok, ms));

// Starts Xvfb (which picks its own display, -displayfd) and the program on it, with arguments;
// resolves once the projection window is shown.
export async function desktop_start(binary, args = []) {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', `${SCREEN.w}x${SCREEN.h}x24`,
    '-nolisten', 'tcp'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const number = await new Promise((ok, fail) => {
    xvfb.stdio[3].once('data', data => ok(String(data).trim()));
    xvfb.once('exit', () => fail(new Error('Xvfb did not start')));
  });
  const env = { ...process.env, DISPLAY: `:${number}` };
  const app = spawn(binary, args, { env, stdio: 'inherit' });
  // xserver.py answers in order: each question waits for its answer's size in bytes.
  const x = spawn('python3', [new URL('./xserver.py', import.meta.url).pathname],
    { env, stdio: ['pipe', 'pipe', 'inherit'] });
  let chunks = [], have = 0;
  const waiting = [];
  x.stdout.on('data', data => {
    chunks.push(data), have += data.length;
    while (waiting.length && have >= waiting[0].size) {
      const all = Buffer.concat(chunks), { size, ok } = waiting.shift();
      chunks = [all.subarray(size)], have -= size, ok(all.subarray(0, size));
    }
  });
  const ask = (line, size = 3) => new Promise(ok => (waiting.push({ size, ok }),
    x.stdin.write(`${line}\n`)));
  const grab = (r = SCREEN) => ask(`grab ${r.x} ${r.y} ${r.w} ${r.h}`, r.w * r.h * 4);
  // Whether a window of this title is shown: xdotool's search fails when none is.
  const shown = title => new Promise(ok => execFile('xdotool',
    ['search', '--onlyvisible', '--name', title], { env }, error => ok(!error)));
  const io = {
    move: async (x0, y0) => ask(`move ${x0} ${y0}`),
    press: async (x0, y0, b = 'left') => (await io.move(x0, y0), ask(`button ${BUTTONS[b]} 1`)),
    release: async (x0, y0, b = 'left') => (await io.move(x0, y0), ask(`button ${BUTTONS[b]} 0`)),
    tap: async (x0, y0, b) => (await io.press(x0, y0, b), io.release(x0, y0, b)),
    shift: async down => ask(`shift ${down ? 1 : 0}`),
    // A motion in the 3D view, then its redraw: the view changes with every motion the session
    // makes there, so the redraw has come when the window's picture has.
    turn: async (x0, y0) => {
      const before = await grab(visible_rect('proj'));
      await io.move(x0, y0);
      for (let t = 0; t < WAIT_MS && before.equals(await grab(visible_rect('proj'))); t += POLL_MS)
        await sleep(POLL_MS);
    },
    // Waits until the window of this title is shown, or hidden.
    window: async (title, want = true) => {
      for (let t = 0; t < WAIT_MS && (await shown(title)) !== want; t += POLL_MS)
        await sleep(POLL_MS);
    },
    // The screen once two reads STILL_GAP_MS apart agree: B, G, R, 0 bytes, SCREEN.w wide.
    settle: async () => {
      await sleep(INPUT_LAG_MS);
      let last = await grab(), now;
      for (let i = 0; i < STILL_TRIES; ++i, last = now) {
        await sleep(STILL_GAP_MS);
        if ((now = await grab()).equals(last)) break;
      }
      return last;
    },
    // The RGB of desktop pixel (x, y) in a screen read.
    rgb: (screen, x0, y0) => {
      const i = (y0 * SCREEN.w + x0) * 4;
      return [screen[i + 2], screen[i + 1], screen[i]];
    },
    stop: () => { x.kill(); app.kill(); xvfb.kill(); },
  };
  // Neither outlives the test, even one that fails or is stopped.
  process.on('exit', io.stop).on('SIGTERM', () => process.exit(1));
  await io.window('3D B-Spline Projection');
  await io.settle();
  return io;
}
