'use strict';
// The page: one state, and every event a change to it. A change is stored,
// converted by the worker and drawn; nothing is ever read back from a control
// except the value its own event brings.
(() => {
  const $ = (id) => document.getElementById(id);
  const S = velmorantSettings;
  const Store = velmorantStore;
  const C = velmorantClient;
  const V = velmorantView;
  // Steps of undo: a long session's worth, without holding every megabyte pasted.
  const HISTORY = 200;
  // Keystrokes in one field this close together are one step, as in a text editor.
  const TYPING = 1000;

  const state = {
    text: '',
    settings: null, // on screen, by setting name
    own: null, // the user's own settings, as stored; they differ only while a link's settings wait
    fromLink: false,
    lang: /^zh\b/i.test(navigator.language || '') ? 'zh' : 'en',
    dark: false,
    stops: [], // the stops in use as the core read and placed them
    result: null, // the worker's newest answer
    pending: true,
    offer: null, // a pasted code, read back, while the offer stands
    notes: [], // what a link or the storage could not give, until that field changes
    problems: [],
    status: null,
    named: {},
    namedChoice: '',
    namedName: '',
    focus: null,
  };
  let ready = false;
  let bound = 10000; // a setting's longest value; the core's own bound once it is known
  let pasted = false;

  // --- one history: text and settings together --------------------------------------

  const past = [];
  const future = [];
  let lastKind = null;
  let lastTime = 0;
  const snapshot = () => ({ text: state.text, settings: state.settings, own: state.own, fromLink: state.fromLink });
  // An action that changes nothing is no step.
  const sameSnapshot = (a, b) => a.text === b.text && S.same(a.settings, b.settings) && S.same(a.own, b.own) && a.fromLink === b.fromLink;

  // One user action: `kind` names it; keystrokes of one kind close together make one step.
  function act(kind, change, { coalesce = false, focus = null } = {}) {
    if (!ready) return;
    const before = snapshot();
    change();
    if (!state.fromLink) state.own = state.settings;
    if (sameSnapshot(before, snapshot())) return draw();
    const now = performance.now();
    if (!(coalesce && kind === lastKind && now - lastTime < TYPING)) {
      past.push(before);
      if (past.length > HISTORY) past.shift();
    }
    future.length = 0;
    lastKind = coalesce ? kind : null;
    lastTime = now;
    state.status = null;
    state.focus = focus;
    changed();
  }

  function walk(from, to) {
    if (!ready || !from.length) return;
    to.push(snapshot());
    Object.assign(state, from.pop());
    lastKind = null;
    state.offer = null;
    state.status = null;
    if (!state.fromLink) Store.unlink();
    changed();
  }
  const undo = () => walk(past, future);
  const redo = () => walk(future, past);

  // --- change -> store -> convert -> draw ------------------------------------------------

  let savedText = null;
  let savedSettings = null;
  function store() {
    if (state.own !== savedSettings) {
      const over = Store.save(state.own, { lang: state.lang, ...(state.dark && { dark: '1' }) }, bound);
      state.notes = [...state.notes.filter((n) => n.problem !== 'not-kept' || n.setting === 'text'),
        ...over.map((name) => ({ setting: name, problem: 'not-kept', bound, note: true, given: state.own[name] }))];
    }
    savedSettings = state.own;
  }

  // The text is written when the worker answers, not at every key: a fast
  // typist's keys between two answers cost one write of a long text, not one each.
  function storeText() {
    if (state.text !== savedText) {
      const kept = Store.saveText(state.text);
      state.notes = state.notes.filter((n) => !(n.setting === 'text' && n.problem === 'not-kept'));
      if (!kept && state.text.length > Store.TEXT_KEPT) state.notes.push({ setting: 'text', problem: 'not-kept', bound: Store.TEXT_KEPT, note: true });
      savedText = state.text;
    }
  }

  let stopsFor = null;
  function convert() {
    state.pending = true;
    C.convert(state.text, S.request(state.settings), pasted);
    pasted = false;
    const s = state.settings;
    const key = `${s.colours}\n${s.start}\n${s.end}`;
    if (key !== stopsFor) C.stops(s.colours, s.start, s.end);
    stopsFor = key;
  }

  function changed() {
    const s = state.settings;
    state.notes = state.notes.filter((n) => n.setting === 'text' || s[n.setting] === n.given);
    store();
    convert();
    draw();
  }

  // Everything said about the fields: the notes, and the answer's problems in words.
  function problems() {
    const r = state.result;
    // A fault that came back after the retry: the text and settings need more memory than the page has.
    const list = [...state.notes, ...(r?.problems ?? []).map((p) => (p.problem === 'fault' ? { ...p, setting: 'text' } : p))];
    if (r?.missingStyles?.length) {
      list.push({ setting: 'bold', problem: 'missing-styles', note: true, format: state.settings.format,
        names: r.missingStyles.map((n) => S.caption(n, state.lang, velmorantWords)) });
    }
    // What the place cannot show is said, with what is written instead.
    const d = S.description;
    const where = d.destinations.find((p) => p.name === state.settings.to) ?? d.formats.find((f) => f.name === state.settings.format);
    for (const u of r?.unshown ?? []) {
      list.push({ setting: state.settings.to ? 'to' : 'format', problem: 'unshown', note: true,
        place: where ? S.itemCaption(where, state.lang) : state.settings.to, ...u });
    }
    const step = state.settings.step.trim();
    if (r?.ok && typeof r.step === 'number' && !r.fit && String(r.step) !== step && !list.some((p) => p.problem === 'not-step')) {
      list.push({ setting: 'step', problem: 'not-step', value: step.slice(0, 40), used: r.step, note: true });
    }
    return list;
  }

  function draw() {
    if (!ready) return;
    state.problems = problems();
    V.draw(state);
  }

  // --- the worker's answers ------------------------------------------------------------------

  function converted(r, fault) {
    storeText();
    if (fault) {
      state.status = { key: 'recovered' };
      return draw();
    }
    state.result = r;
    state.pending = false;
    const offer = r.readBack;
    if (offer && (!offer.ok || offer.text !== state.text)) state.offer = offer; // one that cannot be read back says why
    draw();
  }

  // Positions as a person writes them: the core's 57.99999999999999 for 58 % is a double's.
  const written = (p) => (p === null || p === undefined ? null : Number(Number(p).toPrecision(12)));
  function stopsRead(answer) {
    state.stops = answer.stops.map((s) => ({ ...s, position: written(s.position) }));
    draw();
  }

  // --- start --------------------------------------------------------------------------------------

  function start(description) {
    S.start(description);
    V.start(description);
    bound = description.bounds?.setting ?? bound;
    const notes = [];
    const stored = Store.load(notes, 4 * bound);
    const link = Store.linked();
    state.lang = ['zh', 'en'].includes(link?.lang) ? link.lang : ['zh', 'en'].includes(stored.lang) ? stored.lang : state.lang;
    state.dark = stored.dark === '1';
    state.own = S.whole(stored, [], bound);
    const text = Store.loadText(notes);
    state.text = (text ?? description.startup.text).replace(/\r\n?/g, '\n'); // as a text box holds it
    state.named = Store.named();
    state.notes = notes;
    ready = true;
    fromAddress();
  }

  // A link means its values and start-up values for the rest, on any machine;
  // one that gives what the user has anyway is no news.
  function fromAddress() {
    const link = Store.linked();
    const bad = [];
    const theirs = link && S.whole(link, bad, bound);
    state.fromLink = Boolean(link) && S.names().some((n) => n in link) && !S.same(theirs, state.own);
    state.settings = state.fromLink ? theirs : state.own;
    state.notes = [...state.notes.filter((n) => !(n.setting in state.settings)), ...bad.map((p) => ({ ...p, given: state.settings[p.setting] }))];
    // Settings that are no news: the address is the page's again. A link's language stays for the visit.
    if (link && !state.fromLink && !bad.length && S.names().some((n) => n in link)) Store.unlink();
    savedSettings = state.own;
    savedText = state.text;
    convert();
    draw();
  }

  // --- events: each a change to the state ---------------------------------------------------

  const setting = (name, value) => ({ ...state.settings, [name]: value });

  // An edit of the stop list: with no colours list, two plain stops are the start and end.
  function editStops(list, focus = null, key = null) {
    act(key ?? 'stops', () => {
      const s = { ...state.settings };
      if (s.colours.trim() === '' && list.length === 2 && list.every((x) => x.position === null)) [s.start, s.end] = [list[0].colour, list[1].colour];
      else s.colours = velmorantStops.join(list);
      state.settings = s;
      state.stops = list.map((x, i) => ({ ...state.stops[i], ...x, at: x.position !== null && Number.isFinite(Number(x.position)) ? Number(x.position) : state.stops[i]?.at }));
    }, { coalesce: Boolean(key), focus });
  }

  // The start or end field, or its picker: with a colours list, its first or last stop.
  function end(which, value, key) {
    if (state.settings.colours.trim() === '' || !state.stops.length) {
      act(key, () => { state.settings = setting(which, value); }, { coalesce: true });
      return;
    }
    const list = state.stops.map((x) => ({ colour: x.colour, position: x.position ?? null }));
    list[which === 'start' ? 0 : list.length - 1].colour = value;
    editStops(list, null, key);
  }

  function onInput(e) {
    const el = e.target;
    if (el.id === 'text') {
      const value = el.value;
      state.offer = null;
      act(pasted ? 'paste' : 'type', () => { state.text = value; }, { coalesce: !pasted });
      return;
    }
    if (el.id === 'start-picker' || el.id === 'end-picker') return end(el.id.slice(0, -7), el.value, el.id);
    if (el.id === 'background-picker') return act(el.id, () => { state.settings = setting('background', el.value); }, { coalesce: true });
    // One switch: WCAG AA, the goal most places ask; a link may bring another.
    if (el.id === 'readable') return act('readable', () => { state.settings = setting('readable', el.checked ? 'aa' : ''); });
    if (el.id === 'dark') {
      state.dark = el.checked;
      savedSettings = null;
      store();
      return draw();
    }
    if (el.id === 'named-name') {
      state.namedName = el.value;
      return;
    }
    if (el.id === 'named-list') {
      state.namedChoice = el.value;
      state.namedName = el.value;
      $('named-name').value = el.value;
      return;
    }
    if (el.id === 'blend-space' || el.id === 'blend-hue') {
      const space = $('blend-space').value;
      const polar = S.description.blends.find((b) => b.name === space)?.polar;
      const hue = $('blend-hue').value;
      return act('blend', () => { state.settings = setting('blend', polar && hue !== 'shorter' ? `${space} ${hue} hue` : space); });
    }
    const name = el.dataset.setting;
    if (!name) return;
    if (name === 'start' || name === 'end') return end(name, el.value, name);
    if (el.type === 'checkbox') return act(name, () => { state.settings = setting(name, el.checked ? '1' : '0'); });
    // A format chosen by hand is the user's own: no place's reads it for them.
    if (name === 'format') return act(name, () => { state.settings = { ...state.settings, format: el.value, to: '', ...S.template(el.value) }; });
    if (name === 'to') {
      // A place reads one format: its template comes along, as on the command line.
      const place = S.description.destinations.find((d) => d.name === el.value);
      const format = place ? { format: place.format, ...S.template(place.format) } : {};
      return act(name, () => { state.settings = { ...state.settings, to: el.value, ...format }; });
    }
    act(`set-${name}`, () => { state.settings = setting(name, el.value); }, { coalesce: true });
  }

  // A paste goes in as one replacement and one step: Chromium's own edit of a
  // megabyte takes seconds, the replacement a fraction.
  function onPaste(e) {
    const text = e.clipboardData.getData('text/plain');
    const box = e.target;
    e.preventDefault();
    box.setRangeText(text.replace(/\r\n?/g, '\n'), box.selectionStart, box.selectionEnd, 'end');
    pasted = true;
    state.offer = null;
    act('paste', () => { state.text = box.value; });
  }

  function readBack() {
    const offer = state.offer;
    if (!offer?.ok) return;
    act('read-back', () => {
      const given = offer.settings;
      state.settings = S.withTemplate({ ...state.settings, ...given }, given);
      state.text = offer.text.replace(/\r\n?/g, '\n');
      state.offer = null;
    }, { focus: 'text' });
  }

  async function copy() {
    const r = await C.answer();
    if (!r?.ok) {
      state.status = { key: r ? 'nothingError' : 'nothingChanged', error: true };
      return draw();
    }
    try {
      await navigator.clipboard.writeText(C.code(r));
      state.status = { key: 'copied' };
    } catch {
      state.status = { key: 'copyFailed', error: true };
    }
    draw();
  }

  async function copyLink() {
    const { link, length, bound: most } = Store.linkTo(state.settings, state.lang);
    if (!link) {
      state.status = { key: 'linkTooLong', length, bound: most, error: true };
      return draw();
    }
    try {
      await navigator.clipboard.writeText(link);
      state.status = { key: 'linkCopied' };
    } catch {
      state.status = { key: 'copyFailed', error: true };
    }
    draw();
  }

  // --- named settings ------------------------------------------------------------------------------

  function named(list, choice = state.namedChoice) {
    state.named = list;
    state.namedChoice = choice;
    Store.saveNamed(list);
    draw();
  }
  function useNamed() {
    const given = state.named[state.namedChoice];
    if (given) act('named', () => { state.settings = S.whole(given, [], bound); });
  }
  function nameGiven() {
    const name = state.namedName.trim().slice(0, 80);
    return name && (name in state.named || Object.keys(state.named).length < Store.NAMED_KEPT) ? name : null;
  }
  function exportNamed() {
    const url = URL.createObjectURL(new Blob([Store.exported(state.named)], { type: 'application/json' }));
    const a = Object.assign(document.createElement('a'), { href: url, download: 'velmorant-settings.json' });
    a.click();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }
  async function importNamed(file) {
    const list = file && file.size <= 4 << 20 ? Store.imported(await file.text()) : null;
    if (!list) {
      state.notes = [...state.notes.filter((n) => n.problem !== 'bad-file'), { setting: null, problem: 'bad-file' }];
      return draw();
    }
    const taken = Object.fromEntries(Object.entries(list).filter(([k, v]) => typeof k === 'string' && v && typeof v === 'object')
      .map(([k, v]) => [k.slice(0, 80), S.diff(S.whole(v, [], bound))]));
    named({ ...state.named, ...taken });
    state.status = { key: 'imported', count: Object.keys(taken).length };
    draw();
  }

  // --- wiring -----------------------------------------------------------------------------------------

  V.words(state.lang);
  C.start({ ready: start, converted, stops: stopsRead });
  velmorantStops.wire(editStops);
  document.querySelector('main').addEventListener('input', onInput);
  $('text').addEventListener('paste', onPaste);
  // Undo and redo are the page's, for text and settings together; the boxes' own would undo half.
  document.addEventListener('beforeinput', (e) => {
    if (e.inputType === 'historyUndo' || e.inputType === 'historyRedo') {
      e.preventDefault();
      (e.inputType === 'historyUndo' ? undo : redo)();
    }
  });
  document.addEventListener('keydown', (e) => {
    if (!(e.ctrlKey || e.metaKey) || e.altKey) return;
    const key = e.key.toLowerCase();
    if (key === 'z' || key === 'y') {
      e.preventDefault();
      (key === 'y' || e.shiftKey ? redo : undo)();
    } else if (key === 'enter') {
      e.preventDefault();
      copy();
    }
  });
  // The box shows the code's head; a copy from it takes the whole code.
  $('code').addEventListener('copy', (e) => {
    const r = state.result;
    if (!r?.ok || !r.code.cut) return;
    e.preventDefault();
    e.clipboardData.setData('text/plain', C.code(r));
  });
  // The window's step box takes typed digits only; pasted text goes through.
  $('step').addEventListener('beforeinput', (e) => {
    if (e.inputType === 'insertText' && /[^0-9]/.test(e.data || '')) e.preventDefault();
  });
  $('copy').addEventListener('click', copy);
  $('copy-link').addEventListener('click', copyLink);
  $('read-back').addEventListener('click', readBack);
  $('lang').addEventListener('click', () => {
    state.lang = state.lang === 'zh' ? 'en' : 'zh';
    savedSettings = null;
    store();
    draw();
  });
  $('swap').addEventListener('click', () => {
    if (state.settings.colours.trim() === '' || !state.stops.length) {
      act('swap', () => { state.settings = { ...state.settings, start: state.settings.end, end: state.settings.start }; });
      return;
    }
    const list = state.stops.map((x) => ({ colour: x.colour, position: x.position ?? null }));
    [list[0].colour, list[list.length - 1].colour] = [list.at(-1).colour, list[0].colour];
    editStops(list);
  });
  $('palettes').addEventListener('click', (e) => {
    const p = S.description.palettes.find((x) => x.name === e.target.closest('[data-palette]')?.dataset.palette);
    if (p) act('palette', () => { state.settings = { ...state.settings, colours: p.colours, blend: p.blend }; });
  });
  $('reset').addEventListener('click', () => act('reset', () => {
    state.settings = S.startup();
    state.notes = [];
  }));
  $('clear').addEventListener('click', () => act('clear', () => { state.text = ''; }, { focus: 'text' }));
  $('keep').addEventListener('click', () => {
    act('keep', () => { state.fromLink = false; });
    Store.unlink();
  });
  $('drop').addEventListener('click', () => {
    act('drop', () => {
      state.fromLink = false;
      state.settings = state.own;
    });
    Store.unlink();
  });
  $('named-save').addEventListener('click', () => {
    const name = nameGiven();
    if (name) named({ ...state.named, [name]: S.diff(state.settings) }, name);
  });
  $('named-use').addEventListener('click', useNamed);
  $('named-rename').addEventListener('click', () => {
    const name = nameGiven();
    const old = state.namedChoice;
    if (!name || !(old in state.named) || name === old) return;
    named(Object.fromEntries(Object.entries(state.named).map(([k, v]) => [k === old ? name : k, v])), name);
  });
  $('named-delete').addEventListener('click', () => {
    const { [state.namedChoice]: gone, ...rest } = state.named;
    if (gone) named(rest, Object.keys(rest)[0] ?? '');
  });
  $('named-export').addEventListener('click', exportNamed);
  $('named-import').addEventListener('click', () => $('named-file').click());
  $('named-file').addEventListener('change', (e) => {
    importNamed(e.target.files[0]);
    e.target.value = '';
  });
  addEventListener('pagehide', storeText);
  // A link opened over the page: the page writes its address by replaceState, which says nothing here.
  addEventListener('hashchange', () => ready && fromAddress());
})();
