// The page's script, run before the WebAssembly module loads: the hosts' hooks (Lively, Wallpaper
// Engine), which queue what comes before the module is ready and, once called, leave the settings
// to the host's panel; the notices; the settings button, keys, full screen and the pointer; and
// the settings dialog, drawn here with its rules from the module (settings/web/config_dialog.cpp,
// its face from host/web/dialog_face.cpp). It logs nothing.
var Module = {
  canvas: document.getElementById('canvas'),
  onRuntimeInitialized: function () { skyfoldPage.moduleReady(); }
};

var skyfoldPage = (function () {
  var page = {
    ready: false,
    hostQueue: [],          // [name, text] pairs that came before the module was ready
    hostPaused: false,
    inHost: false,          // a host has called: its panel holds the settings, not the dialog
    panelFrameCap: 0,       // Wallpaper Engine's panel's frame cap; 0 leaves its own limit
    engineFrameLimit: 0,    // Wallpaper Engine's own limit, from its general settings
    buttonTimer: 0,
    pointerTimer: 0,
    dialogBuilt: false,
    facePicture: null,      // the face's picture at its own size, as the module decoded it
    faceScale: 0,           // canvas pixels per picture pixel the face was painted at; 0: never
    dialogScale: 1,         // CSS pixels per pixel of the dialog's picture
    noteCount: 0,           // the slider's value as the dialog's rules left it
    repeatTimer: 0,
    drag: null              // the dialog's move, or the thumb's, while a pointer holds it
  };

  var SETTINGS_PARAMETERS = ['count', 'view-angle', 'currency'];  // the dialog's; max-fps stays
  var BUTTON_SHOWN_MS = 2000;        // the settings button hides once the pointer rests this long
  var POINTER_SHOWN_MS = 2000;       // in full screen the pointer hides once it rests this long
  var FIRST_REPEAT_MS = 200;         // a held arrow or trough steps again after this
  var REPEAT_MS = 50;                // and then this often
  var FEWEST_NOTES = 75, MOST_NOTES = 1500;
  var DIALOG_WIDTH = 495, DIALOG_HEIGHT = 298;
  var OK = 1, CANCEL = 2;
  var KEEP_OPEN = 0, SAVED = 1, CLOSED = 2, SAVE_FAILED = 3;
  var SCROLL = { lineLeft: 0, lineRight: 1, pageLeft: 2, pageRight: 3, thumbPosition: 4,
                 left: 6, right: 7 };

  function byId(id) { return document.getElementById(id); }
  function dialog() { return byId('settings-dialog'); }
  function dialogOpen() { return !dialog().hidden; }

  // ---- hosts ------------------------------------------------------------------------------

  // A host's panel is the one place where its user changes the settings (it sends them again
  // after every load, over whatever the dialog stored), so the dialog goes for good; and a host
  // passes the mouse on to its wallpaper, so the button would show at every move.
  function enterHost() {
    if (page.inHost) return;
    page.inHost = true;
    if (dialogOpen()) closeDialog();
    clearTimeout(page.buttonTimer);
    byId('settings-button').classList.remove('shown');
  }

  function applyHostSetting(name, text) {
    Module.ccall('skyfoldHostSetting', null, ['string', 'string'], [name, text]);
  }

  function hostSetting(name, text) {
    if (page.ready) applyHostSetting(name, text);
    else page.hostQueue.push([name, text]);
  }

  function hostPaused(paused) {
    page.hostPaused = !!paused;
    if (page.ready) Module._skyfoldHostPaused(page.hostPaused ? 1 : 0);
  }

  // The hosts' panels name the settings without dashes; their lists give an index or a name.
  var HOST_NAMES = { count: 'count', viewangle: 'view-angle', currency: 'currency',
                     maxfps: 'max-fps' };
  var HOST_CHOICES = { 'view-angle': ['bottom-up', 'front-on', 'top-down', 'random'],
                       currency: ['australian', 'american', 'euro'] };

  function hostValueText(name, value) {
    var choices = HOST_CHOICES[name];
    if (choices && typeof value === 'number') return choices[value] || String(value);
    if (typeof value === 'number') return String(Math.round(value));
    return String(value);
  }

  function fromHostPanel(hostName, value) {
    var name = HOST_NAMES[hostName];
    if (name) hostSetting(name, hostValueText(name, value));
  }

  function applyWallpaperEngineCap() {
    hostSetting('max-fps', String(page.panelFrameCap || page.engineFrameLimit));
  }

  function fromWallpaperEnginePanel(hostName, value) {
    if (hostName !== 'maxfps') return fromHostPanel(hostName, value);
    page.panelFrameCap = Math.round(Number(value)) || 0;
    applyWallpaperEngineCap();
  }

  function wallpaperEngineLimit(framesPerSecond) {
    page.engineFrameLimit = Math.round(framesPerSecond);
    applyWallpaperEngineCap();
  }

  // ---- notices ----------------------------------------------------------------------------

  function showNotice(id, text) {
    var notice = byId(id);
    notice.textContent = text;
    notice.title = text;
    notice.hidden = false;
  }

  function hideNotice(event) { event.currentTarget.hidden = true; }

  // ---- settings button, keys, full screen ---------------------------------------------------

  function showSettingsButton() {
    var button = byId('settings-button');
    if (!page.ready || page.inHost || dialogOpen()) return;
    button.classList.add('shown');
    clearTimeout(page.buttonTimer);
    page.buttonTimer = setTimeout(function () { button.classList.remove('shown'); },
                                  BUTTON_SHOWN_MS);
  }

  function fullScreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement;
  }

  // In full screen the pointer shows while it moves; out of it, always.
  function showPointer() {
    document.body.classList.remove('pointer-resting');
    clearTimeout(page.pointerTimer);
    if (!fullScreenElement()) return;
    page.pointerTimer = setTimeout(function () {
      document.body.classList.add('pointer-resting');
    }, POINTER_SHOWN_MS);
  }

  function onPointerMove() {
    showSettingsButton();
    showPointer();
  }

  function toggleFullScreen() {
    var root = document.documentElement;
    var inFullScreen = fullScreenElement();
    var call = inFullScreen ? (document.exitFullscreen || document.webkitExitFullscreen)
                            : (root.requestFullscreen || root.webkitRequestFullscreen);
    if (!call) return;
    var result = call.call(inFullScreen ? document : root);
    if (result && result.catch) result.catch(function () {});  // refused: the page stays as it is
  }

  var PAGE_KEYS = { s: openDialog, f: toggleFullScreen };
  var DIALOG_KEYS = { Escape: function () { runCommand(CANCEL); },
                      Enter: function () { runCommand(OK); } };
  var SLIDER_KEYS = { ArrowLeft: SCROLL.lineLeft, ArrowDown: SCROLL.lineLeft,
                      ArrowRight: SCROLL.lineRight, ArrowUp: SCROLL.lineRight,
                      PageUp: SCROLL.pageLeft, PageDown: SCROLL.pageRight,
                      Home: SCROLL.left, End: SCROLL.right };

  function onKeyDown(event) {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    var handler;
    if (dialogOpen()) {
      if (event.target === byId('note-count') && event.key in SLIDER_KEYS) {
        event.preventDefault();
        scroll(SLIDER_KEYS[event.key], 0);
        return;
      }
      // Enter on a focused button is that button's own click.
      if (event.key === 'Enter' && event.target.tagName === 'BUTTON') return;
      handler = DIALOG_KEYS[event.key];
    } else {
      handler = PAGE_KEYS[(event.key || '').toLowerCase()];
    }
    if (!handler) return;
    event.preventDefault();
    handler();
  }

  function onDoubleClick(event) {
    if (!dialog().contains(event.target)) toggleFullScreen();
  }

  // ---- the settings dialog ------------------------------------------------------------------

  function control(id) { return dialog().querySelector('[data-control="' + id + '"]'); }

  function facePicture() {
    if (page.facePicture) return page.facePicture;
    var bytes = DIALOG_WIDTH * DIALOG_HEIGHT * 4;
    var texels = Module._skyfoldDialogFace();
    var image = new ImageData(new Uint8ClampedArray(Module.HEAPU8.slice(texels, texels + bytes)),
                              DIALOG_WIDTH, DIALOG_HEIGHT);
    var picture = page.facePicture = document.createElement('canvas');
    picture.width = DIALOG_WIDTH;
    picture.height = DIALOG_HEIGHT;
    picture.getContext('2d').putImageData(image, 0, 0);
    return picture;
  }

  // The face with each pixel of its picture a square of whole canvas pixels, of one colour.
  function paintFace(canvasPixelsPerPixel) {
    if (page.faceScale === canvasPixelsPerPixel) return;
    page.faceScale = canvasPixelsPerPixel;
    var face = dialog().querySelector('.face');
    face.width = DIALOG_WIDTH * canvasPixelsPerPixel;
    face.height = DIALOG_HEIGHT * canvasPixelsPerPixel;
    var context = face.getContext('2d');  // sizing reset its state
    context.imageSmoothingEnabled = false;
    context.drawImage(facePicture(), 0, 0, face.width, face.height);
  }

  function onDevicePixel(cssPixels, ratio) {
    return Math.round(Math.max(0, cssPixels) * ratio) / ratio;
  }

  // The dialog scaled as one picture, centred: a whole number of device pixels to each of its
  // pixels, the nearest the pixel ratio, so that the face is drawn without smoothing (sharp at
  // ratio 2); in a view too small for that, as large as fits, so that OK and Cancel show.
  function layoutDialog() {
    var ratio = window.devicePixelRatio || 1;
    var devicePixelsPerPixel = Math.max(1, Math.round(ratio));
    var scale = devicePixelsPerPixel / ratio;
    var fit = Math.min(window.innerWidth / DIALOG_WIDTH, window.innerHeight / DIALOG_HEIGHT);
    var box = dialog();
    paintFace(devicePixelsPerPixel);
    box.classList.toggle('fitted', fit < scale);
    page.dialogScale = Math.min(scale, fit);
    box.style.transform = 'scale(' + page.dialogScale + ')';
    box.style.left = onDevicePixel((window.innerWidth - DIALOG_WIDTH * page.dialogScale) / 2,
                                   ratio) + 'px';
    box.style.top = onDevicePixel((window.innerHeight - DIALOG_HEIGHT * page.dialogScale) / 2,
                                  ratio) + 'px';
  }

  function onResize() {
    if (dialogOpen()) layoutDialog();
  }

  function placeControls() {
    var boxes = Module._skyfoldDialogBoxes() >> 2;
    var count = Module.HEAP32[boxes];
    for (var i = 0; i < count; ++i) {
      var field = boxes + 1 + i * 5;
      var element = control(Module.HEAP32[field]);
      if (!element) continue;
      element.style.left = Module.HEAP32[field + 1] + 'px';
      element.style.top = Module.HEAP32[field + 2] + 'px';
      var width = Module.HEAP32[field + 3], height = Module.HEAP32[field + 4];
      if (element.type === 'radio') width = height;  // a round button at the box's left, as Windows draws it
      element.style.width = width + 'px';
      element.style.height = height + 'px';
    }
  }

  function placeThumb() {
    var slider = byId('note-count');
    var track = slider.querySelector('.track');
    var thumb = slider.querySelector('.thumb');
    var shown = Math.min(Math.max(page.noteCount, FEWEST_NOTES), MOST_NOTES);
    var travel = track.clientWidth - thumb.offsetWidth;
    thumb.style.left = Math.round((shown - FEWEST_NOTES) / (MOST_NOTES - FEWEST_NOTES) * travel) + 'px';
    slider.setAttribute('aria-valuenow', String(page.noteCount));
  }

  function scroll(request, thumbPosition) {
    page.noteCount = Module._skyfoldDialogScroll(request, thumbPosition);
    placeThumb();
  }

  function closeDialog() {
    stopRepeating();
    page.drag = null;
    dialog().hidden = true;
    byId('canvas').focus();
  }

  // The stored settings take over from the query's in the running scene, and the address no
  // longer names them, so that a reload shows them too. A browser that refuses to change the
  // address of a file:// page keeps it; the scene has them all the same.
  function useStoredSettings() {
    Module._skyfoldUseStoredSettings();
    var params = new URLSearchParams(window.location.search);
    var named = Array.from(params.keys()).filter(function (name) {
      return SETTINGS_PARAMETERS.indexOf(name.toLowerCase()) >= 0;  // names have no case
    });
    if (!named.length) return;
    named.forEach(function (name) { params.delete(name); });
    var query = params.toString();
    var address = window.location.pathname + (query ? '?' + query : '');
    try {
      history.replaceState(history.state, '', address);
    } catch (error) {}
  }

  function runCommand(id) {
    var reply = Module._skyfoldDialogCommand(id);
    if (reply === KEEP_OPEN) return;
    closeDialog();
    if (reply === SAVED) useStoredSettings();
  }

  function checkButton(id) {
    var button = control(id);
    if (button) button.checked = true;
  }

  function openDialog() {
    if (!page.ready || page.inHost || dialogOpen()) return;
    buildDialog();
    var state = Module._skyfoldDialogOpen() >> 2;
    page.noteCount = Module.HEAP32[state];
    dialog().querySelectorAll('input[type="radio"]').forEach(function (radio) {
      radio.checked = false;
    });
    checkButton(Module.HEAP32[state + 1]);
    checkButton(Module.HEAP32[state + 2]);
    layoutDialog();
    dialog().hidden = false;
    byId('settings-button').classList.remove('shown');
    placeThumb();
    control(OK).focus();
  }

  // Arrows and the trough step once at the press and again while held, as Windows' do.
  function stopRepeating() {
    clearTimeout(page.repeatTimer);
    page.repeatTimer = 0;
    document.querySelectorAll('#note-count .pressed').forEach(function (element) {
      element.classList.remove('pressed');
    });
  }

  function repeatWhileHeld(step) {
    step();
    var again = function (delay) {
      page.repeatTimer = setTimeout(function () {
        if (step() !== false) again(REPEAT_MS);
      }, delay);
    };
    again(FIRST_REPEAT_MS);
  }

  function onArrowDown(event) {
    var arrow = event.currentTarget;
    event.preventDefault();
    arrow.classList.add('pressed');
    repeatWhileHeld(function () { scroll(Number(arrow.dataset.request), 0); });
  }

  // A press on the trough pages towards the pointer until the thumb reaches it.
  function onTroughDown(event) {
    var thumb = byId('note-count').querySelector('.thumb');
    if (event.target === thumb) return;
    event.preventDefault();
    var pointerX = event.clientX;
    repeatWhileHeld(function () {
      var box = thumb.getBoundingClientRect();
      if (pointerX >= box.left && pointerX < box.right) return false;
      scroll(pointerX < box.left ? SCROLL.pageLeft : SCROLL.pageRight, 0);
      return true;
    });
  }

  // The thumb follows the pointer; the count changes only when it is let go.
  function onThumbDown(event) {
    var thumb = event.currentTarget;
    event.preventDefault();
    event.stopPropagation();
    thumb.setPointerCapture(event.pointerId);
    page.drag = { kind: 'thumb', startX: event.clientX, startLeft: thumb.offsetLeft };
  }

  function thumbValueAt(left) {
    var track = byId('note-count').querySelector('.track');
    var travel = track.clientWidth - byId('note-count').querySelector('.thumb').offsetWidth;
    var fraction = travel > 0 ? Math.min(Math.max(left / travel, 0), 1) : 0;
    return Math.round(FEWEST_NOTES + fraction * (MOST_NOTES - FEWEST_NOTES));
  }

  function onFaceDown(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    event.currentTarget.setPointerCapture(event.pointerId);
    var box = dialog();
    page.drag = { kind: 'dialog', startX: event.clientX, startY: event.clientY,
                  startLeft: box.offsetLeft, startTop: box.offsetTop };
  }

  function onDragMove(event) {
    var drag = page.drag;
    if (!drag) return;
    if (drag.kind === 'thumb') {
      var track = byId('note-count').querySelector('.track');
      var thumb = event.currentTarget;
      var left = drag.startLeft + (event.clientX - drag.startX) / page.dialogScale;
      thumb.style.left = Math.min(Math.max(left, 0), track.clientWidth - thumb.offsetWidth) + 'px';
    } else {
      dialog().style.left = drag.startLeft + event.clientX - drag.startX + 'px';
      dialog().style.top = drag.startTop + event.clientY - drag.startY + 'px';
    }
  }

  function onDragEnd(event) {
    var drag = page.drag;
    page.drag = null;
    if (drag && drag.kind === 'thumb') {
      scroll(SCROLL.thumbPosition, thumbValueAt(event.currentTarget.offsetLeft));
    }
  }

  function onControlClick(event) {
    runCommand(Number(event.currentTarget.dataset.control));
  }

  function onRadioChange(event) {
    if (event.currentTarget.checked) runCommand(Number(event.currentTarget.dataset.control));
  }

  function listen(routes) {
    routes.forEach(function (route) {
      var targets = typeof route[0] === 'string' ? document.querySelectorAll(route[0]) : [route[0]];
      Array.prototype.forEach.call(targets, function (target) {
        target.addEventListener(route[1], route[2]);
      });
    });
  }

  var DIALOG_ROUTES = [
    ['#settings-dialog button', 'click', onControlClick],
    ['#settings-dialog input[type="radio"]', 'change', onRadioChange],
    ['#settings-dialog .face', 'pointerdown', onFaceDown],
    ['#settings-dialog .face', 'pointermove', onDragMove],
    ['#settings-dialog .face', 'pointerup', onDragEnd],
    ['#note-count .arrow', 'pointerdown', onArrowDown],
    ['#note-count .track', 'pointerdown', onTroughDown],
    ['#note-count .thumb', 'pointerdown', onThumbDown],
    ['#note-count .thumb', 'pointermove', onDragMove],
    ['#note-count .thumb', 'pointerup', onDragEnd],
    [document, 'pointerup', stopRepeating],
    [document, 'pointercancel', stopRepeating]
  ];

  function buildDialog() {
    if (page.dialogBuilt) return;
    page.dialogBuilt = true;
    placeControls();
    listen(DIALOG_ROUTES);
  }

  var PAGE_ROUTES = [
    [window, 'keydown', onKeyDown],
    [window, 'pointermove', onPointerMove],
    [window, 'dblclick', onDoubleClick],
    [window, 'resize', onResize],
    [document, 'fullscreenchange', showPointer],
    [document, 'webkitfullscreenchange', showPointer],
    ['#settings-button', 'click', openDialog],
    ['.notice', 'click', hideNotice]
  ];
  listen(PAGE_ROUTES);

  return {
    moduleReady: function () {
      page.ready = true;
      page.hostQueue.splice(0).forEach(function (entry) { applyHostSetting(entry[0], entry[1]); });
      if (page.hostPaused) Module._skyfoldHostPaused(1);
    },
    fromHostPanel: fromHostPanel,
    fromWallpaperEnginePanel: fromWallpaperEnginePanel,
    wallpaperEngineLimit: wallpaperEngineLimit,
    hostPaused: hostPaused,
    enterHost: enterHost,
    showNotice: showNotice
  };
})();

// Called by the module.
function skyfoldShowQueryMessage(text) { skyfoldPage.showNotice('query-message', text); }

function skyfoldShowSaveFailure(reason) {
  skyfoldPage.showNotice('save-message', 'The settings could not be saved: ' + reason);
}

// No WebGL, or a context that did not come back: the caption and text where the scene would be,
// never a blank canvas.
function skyfoldShowFailure(caption, text) {
  document.getElementById('failure-caption').textContent = caption;
  document.getElementById('failure-text').textContent = text;
  document.getElementById('failure').hidden = false;
  document.getElementById('canvas').hidden = true;
}

// The context came back after all.
function skyfoldClearFailure() {
  document.getElementById('failure').hidden = true;
  document.getElementById('canvas').hidden = false;
}

// Lively Wallpaper: its panel's values (LivelyProperties.json) and its pause event. Whatever a
// host's call holds, the page is in that host from then on.
function livelyPropertyListener(name, value) {
  skyfoldPage.enterHost();
  skyfoldPage.fromHostPanel(name, value);
}

function livelyWallpaperPlaybackChanged(data) {
  skyfoldPage.enterHost();
  var state = null;
  try { state = typeof data === 'string' ? JSON.parse(data) : data; } catch (error) { return; }
  if (state && typeof state.IsPaused === 'boolean') skyfoldPage.hostPaused(state.IsPaused);
}

// Wallpaper Engine: its panel's values (project.json), its own frame limit, which stands where
// the panel's frame cap is 0, and its pause.
window.wallpaperPropertyListener = {
  applyUserProperties: function (properties) {
    skyfoldPage.enterHost();
    Object.keys(properties || {}).forEach(function (name) {
      var property = properties[name];
      if (property && 'value' in property) skyfoldPage.fromWallpaperEnginePanel(name, property.value);
    });
  },
  applyGeneralProperties: function (properties) {
    skyfoldPage.enterHost();
    if (properties && typeof properties.fps === 'number') {
      skyfoldPage.wallpaperEngineLimit(properties.fps);
    }
  },
  setPaused: function (isPaused) {
    skyfoldPage.enterHost();
    skyfoldPage.hostPaused(isPaused);
  }
};
