// The lesson's controls (index.html?lesson): the frame of the "How it works" page, live. Each
// control calls the program (app/webLesson.h) and says in one line what to look for. The address
// may set the start: ?lesson&second=0&fps=25&view=shadowed&bias=1&taps=16&lines=1&play=0
// (fps: 25, 60, 144 or own; view: depth, unshadowed, shadowed, frame, difference; taps: 1 or 16).
// For the checks, window.lessonShot() resolves to the next view drawn after it was asked for,
// read back before any lines go over it.
(function () {
  if (!window.Module || Module.pageMode !== 'lesson') return;
  var query = new URLSearchParams(location.search);
  var VIEWS = ['depth', 'unshadowed', 'shadowed', 'frame', 'difference'];
  var RATES = ['25', '60', '144', 'own'];
  var LAST_SECOND = 26;
  var pageRate = 60; // frames a second the page draws, measured below
  var state = {
    second: clamp(parseInt(query.get('second') || '0', 10), 0, LAST_SECOND),
    rate: RATES.indexOf(query.get('fps')) >= 0 ? query.get('fps') : '25',
    view: VIEWS.indexOf(query.get('view')) >= 0 ? query.get('view') : 'shadowed',
    bias: clamp(parseFloat(query.get('bias') || '1'), 0, 4),
    oneTap: query.get('taps') === '1',
    lines: query.get('lines') !== '0',
    playing: query.get('play') === '1'
  };
  var shotWaiters = [];

  function clamp(value, low, high) {
    return isNaN(value) ? low : Math.min(high, Math.max(low, value));
  }
  function framesPerSecond() { return state.rate === 'own' ? pageRate : parseInt(state.rate, 10); }

  function base64(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }

  // One row: a label, the control, and the line that says what to look for.
  function row(panel, label, control, hint) {
    var line = document.createElement('div');
    line.className = 'lessonRow';
    var name = document.createElement('label');
    name.textContent = label + ' ';
    name.appendChild(control);
    line.appendChild(name);
    var look = document.createElement('div');
    look.className = 'lessonHint';
    look.textContent = hint;
    line.appendChild(look);
    panel.appendChild(line);
  }
  function element(tag, properties) {
    var e = document.createElement(tag);
    for (var key in properties) e[key] = properties[key];
    return e;
  }
  function select(options, value) {
    var s = element('select', {});
    options.forEach(function (o) {
      s.appendChild(element('option', { value: o[0], textContent: o[1], selected: o[0] === value }));
    });
    return s;
  }

  function seek() { Module._lessonSeek(state.second, framesPerSecond()); }
  function applyShadows() { Module._lessonShadows(state.bias, state.oneTap ? 1 : 0); }

  function buildPanel() {
    var panel = document.getElementById('lesson');
    var style = document.createElement('style');
    style.textContent = '.lessonRow { margin: 0.5em 0; } .lessonHint { color: #c9b89b; ' +
      'font-size: 0.9em; } #lesson input[type=range] { width: 300px; vertical-align: middle; }';
    document.head.appendChild(style);
    var heading = element('h2', { textContent: 'How it works, live' });
    panel.appendChild(heading);

    var timeline = element('input', { type: 'range', min: 0, max: LAST_SECOND, step: 1,
      value: state.second, id: 'lessonSecond' });
    var secondLabel = element('span', { textContent: ' ' + state.second + ' s' });
    timeline.oninput = function () {
      state.second = parseInt(timeline.value, 10);
      secondLabel.textContent = ' ' + state.second + ' s';
      seek();
    };
    row(panel, 'Second', timeline, 'The script replays from its start at the rate below and ' +
      'stops on the last frame of this second; only that frame is drawn.');
    timeline.parentNode.appendChild(secondLabel);

    var rate = select([['25', '25 frames a second'], ['60', '60'], ['144', '144'],
      ['own', "the page's own"]], state.rate);
    rate.id = 'lessonRate';
    rate.onchange = function () { state.rate = rate.value; seek(); };
    row(panel, 'Rate', rate, 'Every move is a step per frame: at a higher rate the same second ' +
      'finds the camera farther along.');

    var play = element('button', { type: 'button', id: 'lessonPlay',
      textContent: state.playing ? 'Pause' : 'Play' });
    play.onclick = function () {
      state.playing = !state.playing;
      play.textContent = state.playing ? 'Pause' : 'Play';
      Module._lessonPlay(state.playing ? 1 : 0);
    };
    row(panel, '', play, 'Playing or paused, drag, wheel and the picture\'s edges steer the ' +
      'camera: walk around the frozen frame.');

    var view = select([['depth', "the light's depth map"], ['unshadowed', 'lit, lookup off'],
      ['shadowed', 'lit, with shadows'], ['frame', 'the finished frame'],
      ['difference', 'difference of the two lit passes']], state.view);
    view.id = 'lessonView';
    var stretch = element('div', { className: 'lessonHint', id: 'lessonStretch' });
    view.onchange = function () {
      state.view = view.value;
      Module._lessonShowView(VIEWS.indexOf(state.view));
    };
    row(panel, 'Pass', view, 'Depth: distance from the light, near dark; the blue lines are what ' +
      'the camera sees. Difference: red where the lookup darkens a pixel.');
    panel.appendChild(stretch);

    var bias = element('input', { type: 'range', min: 0, max: 4, step: 0.25, value: state.bias,
      id: 'lessonBias' });
    var biasLabel = element('span', { textContent: ' ' + state.bias.toFixed(2) + ' x' });
    bias.oninput = function () {
      state.bias = parseFloat(bias.value);
      biasLabel.textContent = ' ' + state.bias.toFixed(2) + ' x';
      applyShadows();
    };
    row(panel, 'Bias', bias, 'At 0 stripes of acne cross the sand; at 4 x the shoes come out lit: ' +
      'shadows start to let go of their casters.');
    bias.parentNode.appendChild(biasLabel);

    var taps = select([['16', '4 x 4 grid (as shipped)'], ['1', 'one tap']],
      state.oneTap ? '1' : '16');
    taps.id = 'lessonTaps';
    taps.onchange = function () { state.oneTap = taps.value === '1'; applyShadows(); };
    row(panel, 'PCF', taps, 'One tap: the shadow\'s edge steps along the depth texels; the grid ' +
      'softens it over a few.');

    var lines = element('input', { type: 'checkbox', checked: state.lines, id: 'lessonLines' });
    lines.onchange = function () { state.lines = lines.checked; Module._lessonLines(lines.checked ? 1 : 0); };
    row(panel, "Light's frustum", lines, 'Yellow: the light\'s view, which must hold every ' +
      'shadow caster; on the depth map, blue: the camera\'s.');

    // While playing, the timeline follows the script.
    setInterval(function () {
      if (!state.playing) return;
      var second = Module._lessonSecond();
      timeline.value = second;
      secondLabel.textContent = ' ' + second + ' s';
    }, 250);
    Module.lessonStretchLine = stretch;
  }

  // The page's own rate, from the browser's frames over half a second.
  function measurePageRate(done) {
    var frames = 0, start = performance.now();
    function count(now) {
      frames++;
      if (now - start < 500) return requestAnimationFrame(count);
      pageRate = Math.max(1, Math.round(frames * 1000 / (now - start)));
      var own = document.querySelector('#lessonRate option[value=own]');
      if (own) own.textContent = "the page's own (" + pageRate + ')';
      done();
    }
    requestAnimationFrame(count);
  }

  Module.onLessonReady = function () {
    buildPanel();
    Module._lessonShowView(VIEWS.indexOf(state.view));
    applyShadows();
    Module._lessonLines(state.lines ? 1 : 0);
    Module._lessonPlay(state.playing ? 1 : 0);
    // The page's own rate is measured once; a start at that rate waits for it.
    measurePageRate(function () { if (state.rate === 'own') seek(); });
    if (state.rate !== 'own') seek();
  };

  Module.onLessonView = function (second, rgb, width, height, nearest, farthest) {
    if (Module.lessonStretchLine)
      Module.lessonStretchLine.textContent = state.view === 'depth' ? 'Black ' +
        nearest.toFixed(0) + ' units from the light, white ' + farthest.toFixed(0) +
        ' (the nearest and farthest hundredth of the texels saturate).' : '';
    if (!shotWaiters.length) return;
    var ready = [];
    shotWaiters = shotWaiters.filter(function (w) {
      if (--w.frames > 0) return true;
      ready.push(w);
      return false;
    });
    if (!ready.length) return;
    var shot = { second: second, width: width, height: height, nearest: nearest,
      farthest: farthest, crop: [Module._lessonCropCorner(0), Module._lessonCropCorner(1)],
      bottomFirst: true, rgb: base64(rgb) };
    ready.forEach(function (w) { w.resolve(shot); });
  };

  // Two frames on: the first may still be the one drawn before the request's settings.
  window.lessonShot = function () {
    return new Promise(function (resolve) { shotWaiters.push({ frames: 2, resolve: resolve }); });
  };
  window.lessonState = state;
})();
