// The browser's side of the GLUT layer (web/glut.cpp), an Emscripten JS
// library: the window's title, the frames, and pointer input on the canvas
// through Pointer Events, so that a mouse and a finger on a touch screen work
// alike (a one-finger drag is a drag with the left button).
mergeInto(LibraryManager.library, {
  // The window's title is the page's title and heading.
  webSetTitle: function (title) {
    var text = UTF8ToString(title);
    document.title = text;
    document.querySelector('h1').textContent = text;
  },

  webStartLoop: function () {
    var canvas = document.getElementById('canvas');
    var buttonBits = [1, 4, 2];  // left, middle, right in PointerEvent.buttons
    var GLUT_DOWN = 0, GLUT_UP = 1;

    // Calls into the program. exit() there ends the runtime (EXIT_RUNTIME:
    // atexit handlers, Module.onExit, ABORT set) and throws ExitStatus to
    // leave the program's code; nothing runs after it.
    function run(call) {
      if (ABORT) return;
      try {
        call();
      } catch (e) {
        if (!(e instanceof ExitStatus)) throw e;
      }
    }
    // Canvas pixels, origin top left, as GLUT gives them.
    function at(e) {
      var box = canvas.getBoundingClientRect();
      return [Math.floor((e.clientX - box.left) * canvas.width / box.width),
              Math.floor((e.clientY - box.top) * canvas.height / box.height)];
    }
    function button(e, state) {
      var p = at(e);
      if (e.button >= 0 && e.button <= 2) run(function () { _webMouse(e.button, state, p[0], p[1]); });
    }

    canvas.addEventListener('pointerdown', function (e) {
      if (!e.isPrimary) return;  // a second finger
      e.preventDefault();
      canvas.setPointerCapture(e.pointerId);  // the drag goes on outside the canvas, as with X's grab
      button(e, GLUT_DOWN);
    });
    canvas.addEventListener('pointerup', function (e) {
      if (e.isPrimary) button(e, GLUT_UP);
    });
    canvas.addEventListener('pointermove', function (e) {
      if (!e.isPrimary) return;
      if (e.button >= 0) {  // another button pressed or released while one is held
        button(e, e.buttons & buttonBits[e.button] ? GLUT_DOWN : GLUT_UP);
      } else if (e.buttons) {
        var p = at(e);
        run(function () { _webMotion(p[0], p[1]); });
      }
    });
    // The buttons are the program's: no context menu. (The press cancelled
    // above starts no middle-button scrolling, nor a mousedown at all.)
    canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });

    function frame() {
      run(_webFrame);
      if (!ABORT) requestAnimationFrame(frame);
    }
    requestAnimationFrame(frame);
  },
});
