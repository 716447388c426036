'use strict';
// Draws the page from the state, and only from it: no control is read here.
// Values are written only where they differ, so the caret of the field the user
// is typing in stays where it is.
const velmorantView = (() => {
  const $ = (id) => document.getElementById(id);
  const S = velmorantSettings;
  const W = velmorantWords;
  const set = (el, prop, value) => { if (el[prop] !== value) el[prop] = value; };
  const option = (value, text) => Object.assign(document.createElement('option'), { value, textContent: text });
  const hex = (c) => `#${c.toString(16).padStart(6, '0')}`;
  let drawnLang = null;
  let drawnResult = null;
  let drawnNamed = null;
  let drawnText = null;

  // The lists from the description, once; their words follow the language.
  function start(d) {
    $('format').replaceChildren(...d.formats.map((f) => option(f.name, f.name)));
    $('to').replaceChildren(option('', ''), ...d.destinations.map((p) => option(p.name, p.name)));
    $('blend-space').replaceChildren(...d.blends.map((b) => option(b.name, b.name)));
    $('blend-hue').replaceChildren(...d.hueMethods.map((h) => option(h.name, h.name)));
    $('sizes').replaceChildren(...d.sizes.map((v) => option(v, v)));
    $('fonts').replaceChildren(...d.fonts.map((v) => option(v, v)));
    $('palettes').replaceChildren(...d.palettes.map((p) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = `palette-${p.name}`;
      button.dataset.palette = p.name;
      const sample = document.createElement('span');
      sample.className = 'sample';
      sample.setAttribute('aria-hidden', 'true');
      sample.style.background = `linear-gradient(to right in ${p.blend}, ${p.colours})`;
      button.append(sample, document.createElement('span'));
      return button;
    }));
    for (const el of document.querySelectorAll('[data-setting]')) noteFor(el.dataset.setting);
  }

  // The page's own words: drawn before the core has described itself, too.
  function words(lang) {
    const t = W[lang];
    document.documentElement.lang = lang === 'zh' ? 'zh-CN' : 'en';
    for (const el of document.querySelectorAll('[data-t]')) el.textContent = t[el.dataset.t];
    for (const el of document.querySelectorAll('[data-t-label]')) el.setAttribute('aria-label', t[el.dataset.tLabel]);
    for (const el of document.querySelectorAll('[data-t-placeholder]')) el.placeholder = t[el.dataset.tPlaceholder];
    $('lang').textContent = t.lang;
    $('lang').lang = lang === 'zh' ? 'en' : 'zh-CN';
  }

  function captions(state) {
    const { lang } = state;
    const t = W[lang];
    const d = S.description;
    words(lang);
    for (const el of document.querySelectorAll('[data-caption]:not([data-index])')) el.textContent = S.caption(el.dataset.caption, lang, W);
    for (const el of document.querySelectorAll('[data-help]')) el.textContent = S.help(el.dataset.help, lang);
    // Options carry captions alone, short enough for a phone; the chosen one's help stands below.
    const named = (list, select) => [...select.options].forEach((o, i) => {
      const item = list[i - (select.options.length - list.length)];
      if (item) o.textContent = S.itemCaption(item, lang);
    });
    named(d.formats, $('format'));
    named(d.destinations, $('to'));
    named(d.blends, $('blend-space'));
    named(d.hueMethods, $('blend-hue'));
    $('to').options[0].textContent = t.noPlace;
    for (const p of d.palettes) {
      const button = $(`palette-${p.name}`);
      button.lastChild.textContent = S.itemCaption(p, lang);
      button.title = S.itemHelp(p, lang);
    }
  }

  // The step is the fit's when a length limit is given or the place has one.
  const fitted = (s) => s.fit !== '' || S.description.destinations.find((p) => p.name === s.to)?.length != null;

  // What a field shows: start and end show the ends of the stops in use.
  function shown(state, name) {
    const s = state.settings;
    if ((name === 'start' || name === 'end') && s.colours.trim() !== '' && state.stops.length) {
      return (name === 'start' ? state.stops[0] : state.stops.at(-1)).colour;
    }
    // A limit, given or the place's, chooses the step: the one chosen is shown.
    if (name === 'step' && state.result?.ok && state.result.fit) return String(state.result.step);
    return s[name];
  }

  function controls(state) {
    const s = state.settings;
    for (const el of document.querySelectorAll('[data-setting]')) {
      const name = el.dataset.setting;
      if (name === 'readable') set(el, 'checked', s[name] !== '');
      else if (el.type === 'checkbox') set(el, 'checked', s[name] === '1');
      else if (el.tagName === 'SPAN') continue;
      else set(el, 'value', shown(state, name));
    }
    const [space, method] = s.blend.trim().split(/\s+/);
    const row = S.description.blends.find((b) => b.name === space);
    if (row) set($('blend-space'), 'value', space);
    set($('blend-hue'), 'hidden', !row?.polar);
    set($('blend-hue'), 'disabled', !row?.polar);
    set($('blend-hue'), 'value', row?.polar && method ? method : 'shorter');
    const d = S.description;
    const format = d.formats.find((f) => f.name === s.format);
    set($('format-hint'), 'textContent', format ? S.itemHelp(format, state.lang) : '');
    const hue = row?.polar && d.hueMethods.find((h) => h.name === (method ?? 'shorter'));
    set($('blend-hint'), 'textContent', [row && S.itemHelp(row, state.lang), hue && S.itemHelp(hue, state.lang)].filter(Boolean).join(' · '));
    set($('step'), 'readOnly', fitted(s));
    set($('dark'), 'checked', state.dark);
    // The background the figures are for paints the preview too: the one chosen, else the place's.
    const background = state.result?.ok ? state.result.contrast?.background : null;
    if (background) set($('background-picker'), 'value', background);
    place(state, d.destinations.find((p) => p.name === s.to), background);
    $('from-link').hidden = !state.fromLink;
    const picks = state.result?.colours;
    if (picks?.start) set($('start-picker'), 'value', picks.start);
    if (picks?.end) set($('end-picker'), 'value', picks.end);
    if (state.settings.colours.trim() !== '' && state.stops.length) {
      set($('start-picker'), 'value', state.stops[0].rgb ?? '#000000');
      set($('end-picker'), 'value', state.stops.at(-1).rgb ?? '#000000');
    }
  }

  // The place posted to: its words beside the choice and the length, and its
  // background behind the preview and the strip, as the code will be seen there.
  function place(state, p, background) {
    const t = W[state.lang];
    set($('to-hint'), 'textContent', p ? S.itemHelp(p, state.lang) : t.noPlaceHint);
    const count = p && (W.counts[state.lang][p.count] ?? p.count);
    set($('length-rule'), 'textContent', !p ? '' : p.length == null ? t.noLengthLimit({ count }) : t.lengthLimit({ length: p.length, count }));
    const paint = background ?? p?.background;
    const box = $('preview');
    box.style.backgroundColor = paint ?? '';
    box.style.color = paint ? readableOn(paint) : '';
    box.classList.toggle('dark', !paint && state.dark);
    $('dark').closest('label').hidden = Boolean(p);
    $('stops-editor').querySelector('.strip').style.boxShadow = paint ? `0 0 0 0.3rem ${paint}` : '';
  }

  // Black or white, whichever reads better on the colour: for text left uncoloured.
  function readableOn(background) {
    const c = parseInt(background.slice(1), 16);
    const linear = (v) => { v /= 255; return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4; };
    const y = 0.2126 * linear(c >> 16) + 0.7152 * linear((c >> 8) & 255) + 0.0722 * linear(c & 255);
    return (y + 0.05) / 0.05 >= 1.05 / (y + 0.05) ? '#000000' : '#ffffff';
  }

  function result(state) {
    const r = state.result;
    const code = $('code');
    code.dataset.state = state.pending ? 'pending' : r?.ok ? 'current' : 'error';
    if (r === drawnResult) return;
    drawnResult = r;
    if (!r?.ok) {
      code.value = '';
      $('length').textContent = '';
      $('tags').textContent = '';
      $('preview').replaceChildren();
    } else {
      code.value = r.code.shown;
      $('length').textContent = String(r.code.length);
      $('tags').textContent = String(r.code.tags);
      preview(r, state.settings);
    }
    velmorantStops.strip(r?.strip);
  }

  function preview(r, s) {
    const units = r.preview?.units ?? [];
    const text = r.forText;
    const fragment = document.createDocumentFragment();
    // Neighbouring units of one colour share a span: each character still shows its unit's colour.
    for (let i = 0; i < units.length;) {
      const from = units[i];
      const colour = units[i + 2];
      let to = from + units[i + 1];
      i += 3;
      while (i < units.length && units[i] === to && units[i + 2] === colour) {
        to += units[i + 1];
        i += 3;
      }
      const span = document.createElement('span');
      span.textContent = text.slice(from, to);
      span.style.color = hex(colour);
      fragment.append(span);
    }
    const box = $('preview');
    box.replaceChildren(fragment);
    const points = r.preview?.points;
    box.style.fontFamily = s.font ? `"${s.font.replace(/[\\"]/g, '\\$&').replace(/[\n\r\f]/g, ' ')}", serif` : '';
    box.style.fontSize = points >= 1 && points <= 200 ? `${points}pt` : '';
    box.style.fontWeight = s.bold === '1' ? '700' : '400';
    box.style.fontStyle = s.italic === '1' ? 'italic' : 'normal';
    box.style.textDecorationLine = [s.underline === '1' && 'underline', s.strike === '1' && 'line-through'].filter(Boolean).join(' ') || 'none';
  }

  // One note per row of the options, made once, named by the controls of its row.
  const noteOf = new Map();
  function noteFor(name) {
    const el = name === 'blend' ? $('blend-space') : $(name);
    if (!el) return null;
    const row = name === 'text' ? $('text') : el.closest('.grid > *, .checks');
    if (name === 'text') return $('text-note');
    if (!noteOf.has(row)) {
      const note = document.createElement('p');
      note.className = 'note';
      note.id = `${name}-note`;
      row.after(note);
      noteOf.set(row, note);
    }
    const note = noteOf.get(row);
    const named = el.getAttribute('aria-describedby') || '';
    if (!named.includes(note.id)) el.setAttribute('aria-describedby', `${named} ${note.id}`.trim());
    return note;
  }

  function notes(state) {
    const { lang } = state;
    const beside = new Map([...noteOf.values(), $('text-note')].map((note) => [note, []]));
    const invalid = new Set();
    for (const p of state.problems) {
      const name = p.setting || null;
      const note = name && noteFor(name);
      const text = W.problem(lang, p, name ? S.caption(name, lang, W) : null);
      if (note) {
        if (!beside.has(note)) beside.set(note, []);
        beside.get(note).push(text);
        if (!p.note) invalid.add(name === 'blend' ? 'blend-space' : name);
      }
    }
    for (const [note, texts] of beside) set(note, 'textContent', texts.join(' · '));
    for (const el of document.querySelectorAll('[data-setting], #blend-space, #text')) el.toggleAttribute('aria-invalid', invalid.has(el.id));
    const status = [];
    const ws = W.status[lang];
    for (const p of state.problems) if (!(p.setting && noteFor(p.setting))) status.push(W.problem(lang, p, null));
    if (state.result?.ok && state.result.code.cut) status.push(ws.shown({ shown: state.result.code.shown.length, total: state.result.code.length }));
    if (state.status) status.push(ws[state.status.key](state.status));
    set($('message'), 'textContent', status.join(' · '));
    $('message').classList.toggle('error', state.problems.some((p) => !p.note && !noteFor(p.setting)) || Boolean(state.status?.error));
    const offer = state.offer;
    $('decode-note').hidden = !offer;
    set($('read-back'), 'hidden', !offer?.ok);
    set($('decode-text'), 'textContent', !offer ? '' : offer.ok ? ws.decodable({ format: offer.format, colours: offer.stops.length })
      : [W.problems[lang]['read-back-failed'](), ...offer.problems.map((p) => W.problem(lang, p, null))].join(' '));
    contrast(state);
    const palette = S.description.palettes.find((p) => p.colours === state.settings.colours && p.blend === state.settings.blend);
    set($('palette-note'), 'textContent', palette ? ws.palette({ caption: S.itemCaption(palette, lang), help: S.itemHelp(palette, lang) }) : '');
  }

  // The warning under the preview: how many units fall under the target, and the worst.
  function contrast(state) {
    const c = state.result?.ok ? state.result.contrast : null;
    const ws = W.status[state.lang];
    const box = $('contrast');
    set(box, 'hidden', !c?.units);
    box.classList.toggle('error', Boolean(c?.under));
    if (!c?.units) return set(box, 'textContent', '');
    const figures = { ...c, goal: c.apca ? `Lc ${c.target}` : `${c.target}:1`, ratio: c.ratio.toFixed(2), lc: c.lc.toFixed(1),
      mean: c.meanChange.toFixed(3), largest: c.largestChange.toFixed(3) };
    const said = [c.under ? ws.contrastUnder(figures) : ws.contrastMet(figures)];
    if (state.settings.readable && c.changed) said.push(ws.readableMoved(figures));
    set(box, 'textContent', said.join(' · '));
  }

  function named(state) {
    if (drawnNamed === state.named && drawnLang === state.lang) return;
    drawnNamed = state.named;
    const names = Object.keys(state.named);
    const list = $('named-list');
    list.replaceChildren(...(names.length ? names.map((n) => option(n, n)) : [option('', W[state.lang].noNamed)]));
    if (names.includes(state.namedChoice)) list.value = state.namedChoice;
  }

  // The whole page for the state.
  function draw(state) {
    if (state.lang !== drawnLang) captions(state);
    if (state.text !== drawnText) {
      const box = $('text');
      const old = box.value;
      if (old !== state.text) {
        // The caret goes where the text changed, as an editor's undo puts it.
        let from = 0;
        while (from < old.length && old[from] === state.text[from]) from++;
        box.value = state.text;
        const at = from + Math.max(0, state.text.length - old.length);
        if (document.activeElement === box) box.setSelectionRange(at, at);
      }
      drawnText = state.text;
    }
    controls(state);
    velmorantStops.draw(state.stops, state.lang, state.focus);
    state.focus = null;
    result(state);
    notes(state);
    named(state);
    drawnLang = state.lang;
  }

  return { start, draw, words };
})();
