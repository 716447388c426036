'use strict';
// The stop editor: a row per stop (picker, any CSS colour, optional position)
// and a strip with a handle per stop. It draws the stops the core read and
// placed; every edit hands a new list of {colour, position} to the page, which
// writes it into the settings. The editor keeps no colours of its own.
const velmorantStops = (() => {
  const $ = (id) => document.getElementById(id);
  let edit = () => {};
  let shown = []; // the stops last drawn
  let words = null;

  // A stop's text as --colours takes it.
  const textOf = (s) => (s.position === null || s.position === undefined || s.position === '' ? s.colour : `${s.colour} ${s.position}%`);
  const join = (list) => list.map(textOf).join(', ');
  const copy = () => shown.map((s) => ({ colour: s.colour, position: s.position ?? null }));

  // A button that cannot act says so and stays in the Tab order, where a user looks for it.
  function control(tag, props, caption, i) {
    const el = document.createElement(tag);
    Object.assign(el, props);
    el.dataset.caption = caption;
    el.dataset.index = i;
    return el;
  }

  function rows(count) {
    $('stops').replaceChildren(...Array.from({ length: count }, (_, i) => {
      const row = document.createElement('li');
      row.dataset.index = i;
      row.append(
        control('input', { type: 'color', id: `stop-${i}-picker` }, 'stopPicker', i),
        control('input', { id: `stop-${i}-colour`, autocomplete: 'off', spellcheck: false }, 'stopColour', i),
        control('input', { id: `stop-${i}-position`, inputMode: 'decimal', autocomplete: 'off' }, 'stopPosition', i),
        control('button', { type: 'button', textContent: '↑', id: `stop-${i}-up` }, 'up', i),
        control('button', { type: 'button', textContent: '↓', id: `stop-${i}-down` }, 'down', i),
        control('button', { type: 'button', textContent: '✕', id: `stop-${i}-remove` }, 'remove', i));
      return row;
    }));
    $('handles').replaceChildren(...Array.from({ length: count }, (_, i) => {
      const handle = control('div', { id: `stop-${i}-handle`, tabIndex: 0, className: 'handle' }, 'handle', i);
      handle.setAttribute('role', 'slider');
      handle.setAttribute('aria-valuemin', '0');
      handle.setAttribute('aria-valuemax', '100');
      return handle;
    }));
  }

  const set = (el, prop, value) => { if (el[prop] !== value) el[prop] = value; };

  // The stops as the core read them: rows made only when their count changes,
  // so typing in a row keeps its caret.
  function draw(stops, lang, focus = null) {
    words = velmorantWords[lang];
    const focused = document.activeElement?.closest?.('#stops-editor') ? document.activeElement.id : null;
    if (stops.length !== $('stops').children.length) rows(stops.length);
    shown = stops;
    stops.forEach((s, i) => {
      set($(`stop-${i}-colour`), 'value', s.colour);
      set($(`stop-${i}-position`), 'value', s.position === null || s.position === undefined ? '' : String(s.position));
      set($(`stop-${i}-picker`), 'value', s.rgb ?? '#000000');
      $(`stop-${i}-up`).toggleAttribute('aria-disabled', i === 0);
      $(`stop-${i}-down`).toggleAttribute('aria-disabled', i === stops.length - 1);
      $(`stop-${i}-remove`).toggleAttribute('aria-disabled', stops.length <= 2);
      const handle = $(`stop-${i}-handle`);
      const at = Math.min(100, Math.max(0, s.at ?? 0));
      handle.style.left = `${at}%`;
      handle.setAttribute('aria-valuenow', String(Math.round(at * 10) / 10));
      handle.setAttribute('aria-valuetext', s.position === null ? `${Math.round(at)}% (${words.auto})` : `${s.position}%`);
    });
    for (const el of document.querySelectorAll('#stops [data-caption], #handles [data-caption]')) {
      el.setAttribute('aria-label', words[el.dataset.caption](Number(el.dataset.index) + 1));
    }
    for (const el of document.querySelectorAll('#stops [id$=-position]')) el.placeholder = words.auto;
    const target = focus ?? focused;
    if (target && document.activeElement?.id !== target) $(target)?.focus();
  }

  // The strip: the core's colours from the first stop to the last.
  function strip(colours) {
    const canvas = $('strip');
    const context = canvas.getContext('2d');
    if (!colours?.length) {
      context.clearRect(0, 0, canvas.width, canvas.height);
      return;
    }
    canvas.width = colours.length;
    canvas.height = 1;
    const image = context.createImageData(colours.length, 1);
    colours.forEach((c, x) => image.data.set([c >> 16 & 255, c >> 8 & 255, c & 255, 255], x * 4));
    context.putImageData(image, 0, 0);
  }

  // Stop `i` moved by `by` places, the focus with it.
  function move(i, by, part) {
    const j = i + by;
    if (j < 0 || j >= shown.length) return;
    const list = copy();
    [list[i], list[j]] = [list[j], list[i]];
    edit(list, `stop-${j}-${part}`);
  }

  const round = (percent) => Math.round(Math.min(100, Math.max(0, percent)) * 10) / 10;
  function place(i, percent, key) {
    const list = copy();
    list[i].position = round(percent);
    edit(list, null, key);
  }

  function wire(onEdit) {
    edit = onEdit;
    $('stops').addEventListener('input', (e) => {
      const i = Number(e.target.dataset.index);
      const list = copy();
      if (e.target.type === 'color') list[i].colour = e.target.value;
      else if (e.target.id.endsWith('-colour')) list[i].colour = e.target.value.trim();
      else {
        const text = e.target.value.trim().replace(/%$/, '');
        list[i].position = text === '' ? null : text;
      }
      edit(list, null, e.target.id);
    });
    $('stops').addEventListener('click', (e) => {
      const button = e.target.closest('button');
      if (!button || button.hasAttribute('aria-disabled')) return;
      const i = Number(button.dataset.index);
      if (button.id.endsWith('-up')) move(i, -1, i - 1 === 0 ? 'down' : 'up');
      if (button.id.endsWith('-down')) move(i, 1, i + 1 === shown.length - 1 ? 'up' : 'down');
      if (button.id.endsWith('-remove')) {
        const list = copy();
        list.splice(i, 1);
        edit(list, `stop-${Math.min(i, list.length - 1)}-colour`);
      }
    });
    $('stops').addEventListener('keydown', (e) => {
      if (!e.altKey || (e.key !== 'ArrowUp' && e.key !== 'ArrowDown')) return;
      e.preventDefault();
      const part = e.target.id.replace(/^stop-\d+-/, '');
      move(Number(e.target.dataset.index), e.key === 'ArrowUp' ? -1 : 1, part);
    });
    $('add').addEventListener('click', () => {
      const list = copy();
      list.push({ colour: list.at(-1).colour, position: null });
      edit(list, `stop-${list.length - 1}-colour`);
    });
    $('handles').addEventListener('keydown', (e) => {
      const i = Number(e.target.dataset.index);
      const by = { ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1, PageDown: -10, PageUp: 10 }[e.key];
      if (Number.isNaN(i) || (!by && e.key !== 'Home' && e.key !== 'End')) return;
      e.preventDefault();
      place(i, e.key === 'Home' ? 0 : e.key === 'End' ? 100 : shown[i].at + by * (e.shiftKey ? 10 : 1));
    });
    let drags = 0;
    $('handles').addEventListener('pointerdown', (e) => {
      const handle = e.target.closest('.handle');
      if (!handle) return;
      e.preventDefault();
      handle.focus();
      handle.setPointerCapture(e.pointerId);
      const i = Number(handle.dataset.index);
      const key = `drag-${++drags}`; // one drag, one step
      const box = $('handles').getBoundingClientRect();
      const drag = (m) => place(i, ((m.clientX - box.left) / box.width) * 100, key);
      handle.addEventListener('pointermove', drag);
      handle.addEventListener('pointerup', () => handle.removeEventListener('pointermove', drag), { once: true });
    });
  }

  return { draw, strip, wire, join };
})();
