// The desktop build beside the page: the program on a private Xvfb, real X input through
// xdotool, the screen read back with ImageMagick. Used by the lesson test and scripts/bench-web;
// its driver has the same calls as page_open's, in the same desktop pixels.
import { execFileSync, spawn } from 'node:child_process';

const SCREEN = { w: 1400, h: 1000 };  // as the C++ end-to-end tests' Xvfb
const BUTTONS = { left: 1, middle: 2, right: 3 };
const STILL_TRIES = 20;               // screen reads before giving up on stillness
const STILL_GAP_MS = 100;
const INPUT_LAG_MS = 300;             // time given to the program to take input already sent

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
  const run = (tool, list) => execFileSync(tool, list.map(String), { env, maxBuffer: 1 << 25 });
  const xdo = (...list) => run('xdotool', list);
  const grab = () => run('import', ['-window', 'root', '-depth', '8', 'rgb:-']);
  const io = {
    env,
    move: async (x, y) => xdo('mousemove', x, y),
    press: async (x, y, b = 'left') => xdo('mousemove', x, y, 'mousedown', BUTTONS[b]),
    release: async (x, y, b = 'left') => xdo('mousemove', x, y, 'mouseup', BUTTONS[b]),
    tap: async (x, y, b = 'left') =>
      xdo('mousemove', x, y, 'mousedown', BUTTONS[b], 'mouseup', BUTTONS[b]),
    shift: async down => xdo(down ? 'keydown' : 'keyup', 'shift'),
    // The screen once two reads STILL_GAP_MS apart agree: RGB bytes, SCREEN.w wide.
    settle: async () => {
      await sleep(INPUT_LAG_MS);
      let last = grab();
      for (let i = 0; i < STILL_TRIES; ++i) {
        await sleep(STILL_GAP_MS);
        const now = grab();
        if (now.equals(last)) return now;
        last = now;
      }
      return last;
    },
    // The RGB of desktop pixel (x, y) in a screen read.
    rgb: (screen, x, y) => [...screen.subarray((y * SCREEN.w + x) * 3, (y * SCREEN.w + x) * 3 + 3)],
    stop: () => { app.kill(); xvfb.kill(); },
    app,
  };
  // Neither outlives the test, even one that fails or is stopped.
  process.on('exit', io.stop).on('SIGTERM', () => process.exit(1));
  xdo('search', '--sync', '--onlyvisible', '--name', '3D B-Spline Projection');
  await io.settle();
  return io;
}
