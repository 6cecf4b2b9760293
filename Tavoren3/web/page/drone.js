// The participant's screen in a browser: the drone program's views, fed by
// the timekeeper's states over a WebSocket. Each state is acknowledged;
// one numbered no higher than the newest of this link is not shown.
'use strict';

const secretKey = 'tavorenDroneSecret';
const nameKey = 'tavorenDroneName';
const $ = (id) => document.getElementById(id);

const page = {
  socket: null,
  linked: false,
  stopped: false,
  newest: -1,
  kind: 'black',
  paused: false,
  shownPayload: null,
  continued: null,
  text: '',
  exerciseName: '',
  exerciseSeconds: null,
  afterFall: 'black',
  images: [],
  problem: '',
  video: null,
  slider: { question: '', value: 5, minimum: 0, maximum: 10, sent: false },
  countdown: null,
  recovery: null,
  pacer: null,
  wakeLock: null,
  pairingCode: '',
};

// What the tests look at.
window.tavoren = {
  received: [],
  shown: [],
  acksToDrop: 0,
  dropAcks(n) { this.acksToDrop = n; },
  get kind() { return page.kind; },
  get linked() { return page.linked; },
};

function mediaUrl(path) {
  return path + '?k=' + encodeURIComponent(localStorage.getItem(secretKey) || '');
}

function minutesAndSeconds(seconds) {
  const s = Math.abs(seconds);
  return String(Math.floor(s / 60)).padStart(2, '0') + ':' + String(s % 60).padStart(2, '0');
}

// A countdown of whole seconds, one tick a second, that stops at zero.
class Countdown {
  constructor(seconds, onZero) {
    this.seconds = Math.max(0, seconds);
    this.onZero = onZero;
    this.timer = null;
    if (this.seconds > 0) this.run();
  }
  run() {
    if (this.timer === null && this.seconds > 0) this.timer = setInterval(() => this.tick(), 1000);
  }
  tick() {
    this.seconds -= 1;
    if (this.seconds <= 0) {
      this.stop();
      if (this.onZero) this.onZero();
    }
    render();
  }
  freeze() { clearInterval(this.timer); this.timer = null; }
  thaw() { this.run(); }
  stop() { this.freeze(); this.seconds = Math.max(0, this.seconds); }
  get text() { return minutesAndSeconds(this.seconds); }
}

// In, hold, out, hold: the phases with time, in turn.
class Pacer {
  constructor(seconds) {
    const phases = ['Breathe in', 'Hold', 'Breathe out', 'Hold'];
    this.steps = seconds.map((s, i) => ({ text: phases[i], expanded: i < 2, ms: Math.round(s * 1000) }))
      .filter((step) => step.ms > 0);
    this.current = 0;
    this.timer = null;
    this.left = 0;
    this.startedAt = 0;
    this.begin(this.steps[0].ms);
  }
  begin(ms) {
    this.startedAt = performance.now();
    this.left = ms;
    this.timer = setTimeout(() => this.advance(), ms);
    breathe(this.step.expanded, ms);
  }
  advance() {
    this.current = (this.current + 1) % this.steps.length;
    this.begin(this.step.ms);
    render();
  }
  get step() { return this.steps[this.current]; }
  freeze() {
    if (this.timer === null) return;
    clearTimeout(this.timer);
    this.timer = null;
    this.left = Math.max(0, this.left - (performance.now() - this.startedAt));
    holdBreath();
  }
  thaw() {
    if (this.timer !== null) return;
    this.begin(this.left);
  }
  stop() { clearTimeout(this.timer); this.timer = null; }
}

function breathe(expanded, ms) {
  const circle = $('circle');
  circle.style.transitionDuration = ms + 'ms';
  circle.style.transform = 'translate(-50%, -50%) scale(' + (expanded ? 1 : 0.4) + ')';
}

function holdBreath() {
  const circle = $('circle');
  const now = getComputedStyle(circle).transform;
  circle.style.transitionDuration = '0ms';
  circle.style.transform = now;
}

// One state from the timekeeper, as the drone program's screen takes it.
function show(payload, view) {
  window.tavoren.shown.push(payload);
  if (view.kind === 'pause') {
    setPaused(true);
    return;
  }
  if (view.kind === 'resume') {
    if (page.paused) page.continued = page.shownPayload;
    setPaused(false);
    return;
  }
  setPaused(false);
  const continued = page.continued !== null && payload === page.continued;
  page.continued = null;
  // Views that run on their own go on where they were; a countdown takes the timekeeper's time.
  if (continued && !['timer', 'climbing', 'exercise'].includes(view.kind)) {
    render();
    return;
  }
  apply(payload, view);
}

function apply(payload, view) {
  page.shownPayload = payload;
  let kind = view.kind;
  const stopCountdown = () => { if (page.countdown) page.countdown.stop(); page.countdown = null; };
  switch (kind) {
    case 'timer':
    case 'climbing':
      stopCountdown();
      page.countdown = new Countdown(view.seconds, null);
      break;
    case 'fall':
      if (page.kind !== 'fall') page.afterFall = page.kind === 'timer' || page.kind === 'climbing' ? page.kind : 'black';
      if (page.recovery) page.recovery.stop();
      page.recovery = new Countdown(view.seconds, () => {
        if (page.kind === 'fall') page.kind = page.afterFall;
      });
      break;
    case 'text':
      page.text = view.text;
      break;
    case 'images':
      page.images = view.images;
      page.problem = view.problem;
      layoutImages(true);
      break;
    case 'breathing':
      if (page.pacer) page.pacer.stop();
      page.pacer = new Pacer(view.breathing);
      break;
    case 'video':
      loadVideo(view);
      break;
    case 'slider':
      page.slider = { question: view.text, value: view.start, minimum: view.minimum, maximum: view.maximum, sent: false };
      break;
    case 'exercise': {
      const same = page.kind === 'exercise' && page.exerciseName === view.text;
      if (view.seconds !== undefined || !same) page.exerciseSeconds = view.seconds === undefined ? null : view.seconds;
      page.exerciseName = view.text;
      break;
    }
    case 'unknown':
      kind = 'black';
      break;
    default:
      break;
  }
  if (kind !== 'timer' && kind !== 'climbing' && kind !== 'fall') stopCountdown();
  if (kind !== 'fall' && page.recovery) { page.recovery.stop(); page.recovery = null; }
  if (kind !== 'breathing' && page.pacer) { page.pacer.stop(); page.pacer = null; }
  if (kind !== 'video') unloadVideo();
  page.kind = kind;
  render();
}

function setPaused(paused) {
  if (paused === page.paused) return;
  page.paused = paused;
  for (const clock of [page.countdown, page.recovery, page.pacer]) {
    if (clock) paused ? clock.freeze() : clock.thaw();
  }
  if (page.video) followVideo();
  render();
}

function loadVideo(view) {
  page.video = { source: view.source, controls: view.controls, wantsPlay: !!view.source && view.autoStart,
                 continueAfter: view.continueAfter, problem: view.problem };
  const player = $('player');
  if (view.source) player.src = mediaUrl(view.source);
  else player.removeAttribute('src');
  followVideo();
}

function unloadVideo() {
  if (!page.video) return;
  page.video = null;
  const player = $('player');
  player.pause();
  player.removeAttribute('src');
  player.load();
}

function followVideo() {
  const player = $('player');
  if (page.video.wantsPlay && !page.paused) player.play().catch(() => {});
  else player.pause();
}

function title() {
  switch (page.kind) {
    case 'climbing': return 'Time remaining';
    case 'text': return page.text;
    case 'exercise': return page.exerciseName;
    case 'exercisesCompleted': return 'Exercises completed';
    case 'fall': return 'You can restart in';
    case 'done': return 'Done';
    default: return '';
  }
}

function digits() {
  switch (page.kind) {
    case 'timer':
    case 'climbing': return page.countdown ? page.countdown.text : '';
    case 'fall': return page.recovery ? page.recovery.text : '';
    case 'exercise': return page.exerciseSeconds === null ? '' : minutesAndSeconds(Math.max(0, page.exerciseSeconds));
    default: return '';
  }
}

function viewOf(kind) {
  if (!localStorage.getItem(secretKey) && !page.pairingCode) return 'ask';
  if (page.pairingCode) return 'pairing';
  switch (kind) {
    case 'black': return null;
    case 'images': case 'breathing': case 'video': case 'slider': return kind;
    default: return 'message';
  }
}

function render() {
  const shown = viewOf(page.kind);
  for (const view of document.querySelectorAll('.view')) view.classList.toggle('shown', view.id === shown);
  $('pairingCode').textContent = page.pairingCode;
  if (shown === 'pairing') fitWidth($('pairingCode'), unitPx() * 2.6);
  if (shown === 'message') {
    $('title').textContent = title();
    $('digits').textContent = digits();
    $('detail').textContent = page.kind === 'done' ? 'Thank you' : '';
    fitMessage();
  } else if (shown === 'breathing') {
    $('phase').textContent = page.pacer ? page.pacer.step.text : '';
  } else if (shown === 'video') {
    $('videoButton').style.display = page.video.controls ? '' : 'none';
    $('videoButton').textContent = page.video.wantsPlay ? '\u2759\u2759' : '\u25B6';
  } else if (shown === 'slider') {
    const s = page.slider;
    $('slider').classList.toggle('sent', s.sent);
    $('question').textContent = s.question;
    $('value').textContent = String(s.value);
    $('minimum').textContent = String(s.minimum);
    $('maximum').textContent = String(s.maximum);
    const input = $('ratingInput');
    input.min = s.minimum;
    input.max = s.maximum;
    input.value = s.value;
  }
  const inRun = shown !== 'ask' && shown !== 'pairing';
  const problem = !inRun ? '' : page.kind === 'images' ? page.problem : page.kind === 'video' && page.video ? page.video.problem : '';
  $('problem').textContent = problem;
  $('paused').classList.toggle('shown', inRun && page.paused);
  $('status').textContent = inRun && !page.linked ? 'Waiting for the timekeeper' : '';
}

// The words shrink to fit, down to half their size, and the time to the
// screen's width, as the drone program's do.
function fitMessage() {
  const unit = unitPx();
  fitWidth($('digits'), unit * 4.5);
  const title = $('title');
  let size = unit * 1.3;
  title.style.fontSize = size + 'px';
  const column = $('message');
  while (size > unit * 0.5 && column.scrollHeight > column.clientHeight) {
    size *= 0.92;
    title.style.fontSize = size + 'px';
  }
}

// A line's type shrinks from `size` until it fits its box's width.
function fitWidth(element, size) {
  element.style.fontSize = size + 'px';
  while (size > 12 && element.scrollWidth > element.clientWidth) {
    size *= 0.95;
    element.style.fontSize = size + 'px';
  }
}

function unitPx() { return Math.min(window.innerWidth, window.innerHeight) / 14; }

function layoutImages(reload) {
  const grid = $('grid');
  const count = page.images.length;
  const columns = Math.max(1, Math.ceil(Math.sqrt(count)));
  const rows = Math.max(1, Math.ceil(count / columns));
  const unit = unitPx();
  const spacing = unit * 0.4;
  const cell = Math.min((window.innerWidth - unit - spacing * (columns - 1)) / columns,
                        (window.innerHeight - unit - spacing * (rows - 1)) / rows);
  grid.style.gridTemplateColumns = 'repeat(' + columns + ', ' + cell + 'px)';
  if (reload) {
    grid.replaceChildren(...page.images.map((source) => {
      const image = document.createElement('img');
      image.src = mediaUrl(source);
      image.alt = '';
      return image;
    }));
  }
  for (const image of grid.children) {
    image.style.width = cell + 'px';
    image.style.height = cell + 'px';
  }
}

function layout() {
  document.documentElement.style.setProperty('--u', unitPx() + 'px');
  const room = $('room');
  const side = Math.min(room.clientWidth, room.clientHeight);
  $('circle').style.width = side + 'px';
  $('circle').style.height = side + 'px';
  layoutImages(false);
  render();
}

async function keepAwake() {
  try {
    if ('wakeLock' in navigator && !page.wakeLock && document.visibilityState === 'visible') {
      page.wakeLock = await navigator.wakeLock.request('screen');
      page.wakeLock.addEventListener('release', () => { page.wakeLock = null; });
    }
  } catch (e) {
    // Not allowed here (no secure page, or no user gesture yet).
  }
}

function received(text) {
  let message;
  try { message = JSON.parse(text); } catch (e) { return; }
  if (message.code !== undefined) {
    page.pairingCode = String(message.code);
  } else if (message.paired !== undefined) {
    localStorage.setItem(secretKey, message.paired);
    page.pairingCode = '';
    history.replaceState(null, '', location.pathname);
  } else if (message.linked !== undefined) {
    page.linked = true;
    page.newest = -1;
    // After a lost link, the same state arriving again goes on where it was.
    page.continued = page.shownPayload;
    keepAwake();
  } else if (message.closed !== undefined) {
    closedBecause(message.closed);
  } else if (message.sequence !== undefined) {
    stateReceived(message);
    return;
  }
  render();
}

function stateReceived(message) {
  const sequence = message.sequence;
  const payload = message.message.replace(/^@State: seq:[0-9]+\|/, '');
  window.tavoren.received.push(sequence + ' ' + payload);
  if (window.tavoren.acksToDrop > 0) window.tavoren.acksToDrop -= 1;
  else page.socket.send('@Ack: ' + sequence);
  // States arrive in the order they were sent: one no newer than the newest is a late resend.
  if (sequence <= page.newest) return;
  page.newest = sequence;
  show(payload, message.view);
}

function closedBecause(reason) {
  if (reason === 'unpaired' || reason === 'forgotten') {
    localStorage.removeItem(secretKey);
    page.pairingCode = '';
    page.stopped = true;
    page.kind = 'black';
  } else if (reason === 'replaced') {
    page.stopped = true;
  }
  page.retryMs = reason === 'dropped' || reason === 'busy' ? 5000 : 1000;
}

async function connect() {
  const pairing = new URLSearchParams(location.hash.slice(1)).get('pair');
  const secret = localStorage.getItem(secretKey);
  if (!secret && !pairing) {
    render();
    return;
  }
  page.stopped = false;
  page.retryMs = 1000;
  let port;
  try {
    port = (await (await fetch('/link', { cache: 'no-store' })).json()).port;
  } catch (e) {
    setTimeout(connect, page.retryMs);
    return;
  }
  const socket = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.hostname + ':' + port + '/');
  page.socket = socket;
  socket.onopen = () => {
    const hello = { name: $('droneName').value, agent: navigator.userAgent };
    if (secret) hello.secret = secret;
    else hello.pair = pairing;
    socket.send(JSON.stringify(hello));
  };
  socket.onmessage = (event) => received(event.data);
  socket.onclose = () => {
    if (page.socket !== socket) return;
    page.linked = false;
    page.pairingCode = '';
    render();
    if (!page.stopped) setTimeout(connect, page.retryMs);
  };
}

$('send').addEventListener('click', () => {
  const s = page.slider;
  if (s.sent || !page.socket) return;
  s.sent = true;
  page.socket.send('@Slider value is: ' + s.value);
  render();
});
$('ratingInput').addEventListener('input', (event) => {
  page.slider.value = Math.round(Number(event.target.value));
  $('value').textContent = String(page.slider.value);
});
$('videoButton').addEventListener('click', () => {
  if (!page.video) return;
  page.video.wantsPlay = page.video.source ? !page.video.wantsPlay : false;
  followVideo();
  render();
});
$('player').addEventListener('ended', () => {
  if (!page.video) return;
  page.video.wantsPlay = false;
  if (page.video.continueAfter && page.kind === 'video') {
    page.kind = 'black';
    unloadVideo();
  }
  render();
});
$('player').addEventListener('error', () => {
  if (!page.video || !page.video.source) return;
  const error = $('player').error;
  page.video.problem = 'Video cannot be played: ' + (error && error.message ? error.message : 'error ' + (error ? error.code : ''));
  page.video.wantsPlay = false;
  render();
});
$('droneName').value = localStorage.getItem(nameKey) || '';
$('droneName').addEventListener('change', (event) => localStorage.setItem(nameKey, event.target.value));
document.addEventListener('visibilitychange', keepAwake);
document.addEventListener('click', keepAwake);
window.addEventListener('resize', layout);
window.addEventListener('hashchange', () => { if (!page.socket || page.socket.readyState > 1) connect(); });
layout();
connect();
