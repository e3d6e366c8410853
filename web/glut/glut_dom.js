// The page side of the browser GLUT (see glut_dom.h): every top-level window is a frame on the
// #ternival-desktop element, a title bar over a canvas at the window's desktop position, and
// pointer events on the canvas are passed to glut_web_pointer in canvas pixels.
// Touch and pen act as the left button, except that a press held still for LONG_PRESS_MS is a
// right click at that point instead (the left press it began as is never delivered).
mergeInto(LibraryManager.library, {
  $GLUT_DOM: {
    TITLE_BAR: 20,        // px: the title bar's height; the desktop starts below it
    LONG_PRESS_MS: 500,
    LONG_PRESS_SLOP: 4,   // px a held touch may wander and still be a long press
    PRESS: 0, RELEASE: 1, MOVE: 2, LEAVE: 3,
    LEFT: 0, RIGHT: 2,
    SHIFT: 1, CTRL: 2, ALT: 4,  // GLUT_ACTIVE_* bits

    // The page side's one state.
    state: {
      frames: {},           // window id to its frame element, from glut_dom_open on
      topmost: 0,           // z-index of the frame raised last
      lastTop: 0,           // window id of the last pointer event (0 before the first),
      lastX: 0, lastY: 0,   //   and its canvas pixel: keys go there
      keysListening: false, // the page's key and resize listeners are in place
    },

    desktop: function() {
      var desk = document.getElementById('ternival-desktop');
      if (!desk) {
        desk = document.createElement('div');
        desk.id = 'ternival-desktop';
        document.body.appendChild(desk);
      }
      if (!window.ternival) {
        window.ternival = {};
        GLUT_DOM.watchExit();
      }
      window.ternival.origin = {x: 0, y: GLUT_DOM.TITLE_BAR};
      window.ternival.redrawAll = function() { return _glut_web_redraw_all(); };
      window.ternival.merge = function(on) { _glut_web_merge(on ? 1 : 0); };
      window.ternival.frame = function(on) { _glut_web_frame(on ? 1 : 0); };
      GLUT_DOM.rescale(desk);
      return desk;
    },

    // exit() from the program (its "Quit!") ends the frames, and the page says Ternival has ended.
    watchExit: function() {
      var quit = quit_;
      quit_ = function(status, toThrow) {
        _emscripten_cancel_main_loop();
        window.ternival.ended = true;
        window.ternival.exitStatus = status;
        document.body.classList.add('ternival-ended');
        quit(status, toThrow);
      };
    },

    // The canvases keep desktop pixels and are shown at a whole number of screen pixels each
    // (devicePixelRatio rounded down, at least 1), so that no pixel is smeared on a
    // high-density screen. A browser window too small for the desktop at that scale (a tablet,
    // a phone) shows the whole desktop shrunk to fit instead, and never scrolls. Input follows
    // either way, since the page maps events through each canvas's shown rectangle.
    // ternival.scale is CSS pixels per desktop pixel.
    rescale: function(desk) {
      var ratio = window.devicePixelRatio || 1;
      var scale = Math.max(1, Math.floor(ratio)) / ratio;
      var size = GLUT_DOM.desktopSize();
      var fit = Math.min(window.innerWidth / size.width, window.innerHeight / size.height);
      if (fit < scale) scale = fit;
      window.ternival.scale = scale;
      desk.style.transform = scale !== 1 ? 'scale(' + scale + ')' : '';
    },

    // The desktop's extent in desktop pixels: every window made so far with its title bar.
    desktopSize: function() {
      var width = 1, height = 1, frames = GLUT_DOM.state.frames;
      for (var id in frames) {
        var canvas = frames[id].querySelector('canvas');
        width = Math.max(width, +canvas.dataset.x + canvas.width);
        height = Math.max(height, +canvas.dataset.y + GLUT_DOM.TITLE_BAR + canvas.height);
      }
      return {width: width, height: height};
    },

    modifiers: function(e) {
      return (e.shiftKey ? GLUT_DOM.SHIFT : 0) | (e.ctrlKey ? GLUT_DOM.CTRL : 0) |
             (e.altKey ? GLUT_DOM.ALT : 0);
    },

    send: function(top, action, button, x, y, mods) {
      var state = GLUT_DOM.state;
      state.lastTop = top; state.lastX = x; state.lastY = y;
      callUserCallback(function() { _glut_web_pointer(top, action, button, x, y, mods); });
    },

    // DOM button number (left, middle, right: GLUT's numbers too) to its bit in e.buttons.
    BUTTON_BITS: [1, 4, 2],

    listen: function(id, canvas) {
      var BUTTON_BITS = GLUT_DOM.BUTTON_BITS;
      var touch = null;  // the touch or pen press being told apart: {x, y, mods, timer, state}
      var where = function(e) {
        var r = canvas.getBoundingClientRect();
        return {x: Math.floor((e.clientX - r.left) * canvas.width / r.width),
                y: Math.floor((e.clientY - r.top) * canvas.height / r.height)};
      };
      var send = function(action, button, p, mods) {
        GLUT_DOM.send(id, action, button, p.x, p.y, mods);
      };
      // As on the desktop, motion is reported only when the pixel under the pointer changes.
      var move = function(p, mods) {
        var state = GLUT_DOM.state;
        if (state.lastTop === id && state.lastX === p.x && state.lastY === p.y) return;
        send(GLUT_DOM.MOVE, 0, p, mods);
      };

      canvas.addEventListener('pointerdown', function(e) {
        if (!e.isPrimary) return;
        e.preventDefault();
        canvas.setPointerCapture(e.pointerId);
        var p = where(e), mods = GLUT_DOM.modifiers(e);
        if (e.pointerType === 'mouse') {
          if (e.button < BUTTON_BITS.length) send(GLUT_DOM.PRESS, e.button, p, mods);
          return;
        }
        touch = {x: p.x, y: p.y, mods: mods, state: 'waiting'};
        touch.timer = setTimeout(function() {
          if (!touch || touch.state !== 'waiting') return;
          touch.state = 'right';
          send(GLUT_DOM.PRESS, GLUT_DOM.RIGHT, touch, touch.mods);
          send(GLUT_DOM.RELEASE, GLUT_DOM.RIGHT, touch, touch.mods);
        }, GLUT_DOM.LONG_PRESS_MS);
      });

      canvas.addEventListener('pointermove', function(e) {
        if (!e.isPrimary) return;
        var p = where(e), mods = GLUT_DOM.modifiers(e);
        if (e.pointerType === 'mouse' || !touch) {
          // A second mouse button pressed or let go while another is held comes as a move.
          if (e.pointerType === 'mouse' && e.button >= 0 && e.button < BUTTON_BITS.length) {
            var down = (e.buttons & BUTTON_BITS[e.button]) !== 0;
            send(down ? GLUT_DOM.PRESS : GLUT_DOM.RELEASE, e.button, p, mods);
          }
          move(p, mods);
          return;
        }
        if (touch.state === 'waiting') {
          if (Math.abs(p.x - touch.x) + Math.abs(p.y - touch.y) <= GLUT_DOM.LONG_PRESS_SLOP) return;
          clearTimeout(touch.timer);
          touch.state = 'left';
          send(GLUT_DOM.PRESS, GLUT_DOM.LEFT, touch, touch.mods);
        }
        if (touch.state === 'left') move(p, mods);
      });

      var up = function(e) {
        if (!e.isPrimary) return;
        var p = where(e), mods = GLUT_DOM.modifiers(e);
        if (e.pointerType === 'mouse') {
          if (e.button < BUTTON_BITS.length) send(GLUT_DOM.RELEASE, e.button, p, mods);
          return;
        }
        if (!touch) return;
        clearTimeout(touch.timer);
        if (touch.state === 'waiting' && e.type === 'pointerup') {
          touch.state = 'left';
          send(GLUT_DOM.PRESS, GLUT_DOM.LEFT, touch, touch.mods);
        }
        if (touch.state === 'left') send(GLUT_DOM.RELEASE, GLUT_DOM.LEFT, p, mods);
        touch = null;
      };
      canvas.addEventListener('pointerup', up);
      canvas.addEventListener('pointercancel', up);
      canvas.addEventListener('pointerleave', function(e) {
        if (e.isPrimary) send(GLUT_DOM.LEAVE, 0, where(e), GLUT_DOM.modifiers(e));
      });
    },
  },

  glut_dom_open__deps: ['$GLUT_DOM', '$callUserCallback', 'emscripten_cancel_main_loop'],
  glut_dom_open: function(id, x, y, width, height, title) {
    var desk = GLUT_DOM.desktop(), state = GLUT_DOM.state;
    if (!state.keysListening) {
      state.keysListening = true;
      document.addEventListener('keydown', function(e) {
        var key = e.key.length === 1 ? e.key.charCodeAt(0) :
                  {Enter: 13, Escape: 27, Backspace: 8, Tab: 9, Delete: 127}[e.key];
        if (key === undefined || key > 255 || !state.lastTop) return;
        callUserCallback(function() {
          _glut_web_key(state.lastTop, key, state.lastX, state.lastY, GLUT_DOM.modifiers(e));
        });
      });
      window.addEventListener('resize', function() { GLUT_DOM.rescale(desk); });
    }
    var frame = document.createElement('div');
    frame.className = 'ternival-window';
    frame.style.left = x + 'px';
    frame.style.top = y + 'px';
    frame.style.zIndex = ++state.topmost;
    var bar = document.createElement('div');
    bar.className = 'ternival-title';
    bar.style.height = bar.style.lineHeight = GLUT_DOM.TITLE_BAR + 'px';
    bar.textContent = UTF8ToString(title);
    var canvas = document.createElement('canvas');
    canvas.id = 'ternival-canvas-' + id;
    canvas.width = width;
    canvas.height = height;
    canvas.dataset.window = id;
    canvas.dataset.title = bar.textContent;
    canvas.dataset.x = x;
    canvas.dataset.y = y;
    frame.appendChild(bar);
    frame.appendChild(canvas);
    // No browser menu and no drag image over a window, title bar included.
    frame.addEventListener('contextmenu', function(e) { e.preventDefault(); });
    frame.addEventListener('dragstart', function(e) { e.preventDefault(); });
    desk.appendChild(frame);
    state.frames[id] = frame;
    GLUT_DOM.listen(id, canvas);
    GLUT_DOM.rescale(desk);
  },

  // A frame drew at least one window: tests wait for ternival.frames to grow, and
  // ternival.firstFrameMs tells when the first picture was drawn (page time, ms).
  glut_dom_drawn: function() {
    if (!window.ternival.frames) window.ternival.firstFrameMs = performance.now();
    window.ternival.frames = (window.ternival.frames || 0) + 1;
  },

  glut_dom_show__deps: ['$GLUT_DOM'],
  glut_dom_show: function(id, shown) {
    var frame = GLUT_DOM.state.frames[id];
    if (frame) frame.style.display = shown ? '' : 'none';
  },

  glut_dom_raise__deps: ['$GLUT_DOM'],
  glut_dom_raise: function(id) {
    var state = GLUT_DOM.state, frame = state.frames[id];
    if (frame) frame.style.zIndex = ++state.topmost;
  },

  glut_dom_resize__deps: ['$GLUT_DOM'],
  glut_dom_resize: function(id, width, height) {
    var frame = GLUT_DOM.state.frames[id];
    if (!frame) return;
    var canvas = frame.querySelector('canvas');
    canvas.width = width;
    canvas.height = height;
    GLUT_DOM.rescale(frame.parentElement);
  },
});
