// The JavaScript half of the web host (page.h): the canvas, the program's
// sleeps, the query and the closing line. The page (shell.html) supplies
// Module.canvas and Module.ended; the rest is the browser's own API.
var LibraryTessalinePage = {
  $tessPage: {wake: null, context: null},

  // The program is suspended (Asyncify) until the time is up (ms >= 0), the
  // next animation frame (untilFrame) or tess_web_wake, and told which:
  // 0, 1 or 2 (page.h's Woke).
  tess_web_wait__deps: ['$tessPage'],
  tess_web_wait: function(ms, untilFrame) {
    return Asyncify.handleSleep(function(wakeUp) {
      var done = false, timer = 0, frame = 0;
      function wake(why) {
        if (done) return; // a later sleep is not this one's to end
        done = true;
        tessPage.wake = null;
        clearTimeout(timer);
        cancelAnimationFrame(frame);
        wakeUp(why);
      }
      // Called from a key handler, itself program code: resume only after it returns.
      tessPage.wake = function() { Promise.resolve().then(function() { wake(2); }); };
      if (ms >= 0) timer = setTimeout(wake, ms, 0);
      if (untilFrame) frame = requestAnimationFrame(function() { wake(1); });
    });
  },

  tess_web_wake__deps: ['$tessPage'],
  tess_web_wake: function() {
    if (tessPage.wake) tessPage.wake();
  },

  tess_web_canvas: function(width, height, shown) {
    var canvas = Module['canvas'];
    // Setting a size, even the same one, clears the canvas.
    if (canvas.width != width) canvas.width = width;
    if (canvas.height != height) canvas.height = height;
    // The shape the page's style fits the switched display to.
    canvas.style.setProperty('--w', width);
    canvas.style.setProperty('--h', height);
    canvas.style.visibility = shown ? 'visible' : 'hidden';
  },

  tess_web_fit: function(fitted) {
    Module['canvas'].classList.toggle('fitted', !!fitted);
  },

  tess_web_cursor: function(shown) {
    Module['canvas'].style.cursor = shown ? '' : 'none';
  },

  // The rows are read where they lie in the program's memory, not copied.
  tess_web_put__deps: ['$tessPage'],
  tess_web_put: function(rgba, x, y, width, height) {
    if (!tessPage.context) tessPage.context = Module['canvas'].getContext('2d');
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    tessPage.context.putImageData(new ImageData(bytes, width, height), x, y);
  },

  tess_web_presented: function() {
    Module['presents'] = (Module['presents'] || 0) + 1;
  },

  tess_web_page_size: function(width, height) {
    HEAP32[width >> 2] = window.innerWidth;
    HEAP32[height >> 2] = window.innerHeight;
  },

  tess_web_query: function(name) {
    var value = new URLSearchParams(location.search).get(UTF8ToString(name));
    return value === null ? 0 : allocateUTF8(value);
  },

  tess_web_exit: function(code) {
    if (Module['ended']) Module['ended'](code);
  },
};

mergeInto(LibraryManager.library, LibraryTessalinePage);
