'use strict';
// The gradient's colours: a row per stop (picker, any CSS colour, optional
// position), a strip painted from the core's colours with a handle per stop, the
// blend's space and hue method, and the palettes. All of it writes the settings'
// `colours` and `blend` fields, in the text the CLI's --colours and --blend read,
// so links and stored settings keep one meaning.
const velmorantColours = (() => {
  const $ = (id) => document.getElementById(id);

  const CAPTIONS = {
    zh: {
      stops: '渐变', add: '添加颜色', palettes: '预设', stripLabel: '渐变色带', hue: '色相方向',
      stopColour: (n) => `第 ${n} 个颜色`, stopPicker: (n) => `选择第 ${n} 个颜色`,
      stopPosition: (n) => `第 ${n} 个颜色的位置（%，可空）`, up: (n) => `第 ${n} 个颜色上移`,
      down: (n) => `第 ${n} 个颜色下移`, remove: (n) => `删除第 ${n} 个颜色`, handle: (n) => `第 ${n} 个颜色在色带上的位置`,
      auto: '自动', keys: 'Alt+↑/↓ 调整顺序；色带上的把手可拖动，或用方向键移动',
    },
    en: {
      stops: 'Gradient', add: 'Add a colour', palettes: 'Presets', stripLabel: 'Gradient strip', hue: 'Hue direction',
      stopColour: (n) => `Colour ${n}`, stopPicker: (n) => `Pick colour ${n}`,
      stopPosition: (n) => `Position of colour ${n} (%, may be empty)`, up: (n) => `Move colour ${n} up`,
      down: (n) => `Move colour ${n} down`, remove: (n) => `Remove colour ${n}`, handle: (n) => `Position of colour ${n} on the strip`,
      auto: 'auto', keys: 'Alt+↑/↓ reorders; drag the handles on the strip, or move them with the arrow keys',
    },
  };

  // The description's summaries in Chinese, by name; English comes from the description itself.
  const SUMMARIES_ZH = {
    srgb: '每个通道各自混合，和窗口版一样：两种鲜艳颜色的中间可能发灰', 'srgb-linear': '按光的叠加混合：中间比 srgb 亮',
    'display-p3': '同 srgb，用广色域屏幕的颜色', 'a98-rgb': '同 srgb，用 Adobe RGB 的颜色', 'prophoto-rgb': '同 srgb，用相机的超广色域',
    rec2020: '同 srgb，用超高清电视的颜色', lab: '按看起来的明暗、红绿、黄蓝混合（CIE Lab）',
    oklab: '按看起来的明暗和色相均匀混合：中间不发灰', xyz: '按光的叠加，用人眼的度量', 'xyz-d50': '按光的叠加，用纸面的度量（D50）',
    'xyz-d65': '按光的叠加，用屏幕的度量（D65）', hsl: '沿色轮，按色相、饱和度、亮度', hwb: '沿色轮，按色相、白度、黑度',
    lch: '沿色轮，亮度均匀（CIE LCH）', oklch: '沿色轮，亮度最均匀：像彩虹',
    shorter: '沿色轮走近路', longer: '像彩虹：沿色轮走远路', increasing: '色相一直向上（红、黄、绿、蓝）',
    decreasing: '色相一直向下（红、紫、蓝、绿）',
    rainbow: '每种色相一次，从红回到红，亮度均匀', spectrum: '从红经黄、绿、蓝到紫，不回头',
    pastel: '每种色相一次，柔和明亮：适合深色背景', fire: '从余烬到火焰，适合警告和公告', ocean: '从深海到浅水，平静易读',
  };
  const summary = (item) => (lang === 'zh' && SUMMARIES_ZH[item.name]) || item.summary;
  let palettes = [];
  let lang = 'zh';
  let stops = []; // { colour: CSS text, position: percent text or '' }
  let blends = []; // the description's spaces, and hue methods for the polar ones
  let hueMethods = [];

  // --- the stop text, as the CLI writes it ------------------------------------

  // Commas inside rgb(…) and the like do not end a stop.
  function split(text) {
    const parts = [];
    let depth = 0, from = 0;
    for (let i = 0; i < text.length; i++) {
      if (text[i] === '(') depth++;
      else if (text[i] === ')') depth = Math.max(0, depth - 1);
      else if (text[i] === ',' && depth === 0) {
        parts.push(text.slice(from, i));
        from = i + 1;
      }
    }
    return [...parts, text.slice(from)].map((p) => p.trim());
  }

  function parse(text) {
    return split(text).map((part) => {
      const m = /^(.*\S)\s+(-?(?:\d+\.?\d*|\.\d+))%$/.exec(part);
      return m ? { colour: m[1], position: m[2] } : { colour: part, position: '' };
    });
  }

  const serialize = (list) => list.map((s) => (s.position === '' ? s.colour : `${s.colour} ${s.position}%`)).join(', ');

  // CSS's positions: the ends at 0 and 100 %, one smaller than an earlier one raised
  // to it, the rest spread evenly between their neighbours.
  function placed(list) {
    const at = list.map((s) => (s.position === '' || !Number.isFinite(Number(s.position)) ? null : Number(s.position)));
    if (at[0] === null) at[0] = 0;
    if (at[at.length - 1] === null) at[at.length - 1] = 100;
    let highest = at[0];
    for (let j = 0; j < at.length; j++) if (at[j] !== null) highest = at[j] = Math.max(at[j], highest);
    for (let j = 0; j < at.length;) {
      let next = j + 1;
      while (at[next] === null) next++;
      for (let u = j + 1; u < next; u++) at[u] = at[j] + ((at[next] - at[j]) * (u - j)) / (next - j);
      j = next;
    }
    return at;
  }

  // The picker's #rrggbb for any CSS colour, as the browser paints it; the code's
  // colours come from the core, this only sets the swatch.
  const swatch = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
  function hexOf(css) {
    swatch.clearRect(0, 0, 1, 1);
    swatch.fillStyle = '#000';
    swatch.fillStyle = /^[0-9a-f]{3}([0-9a-f]{3})?$/i.test(css) ? `#${css}` : css; // the window's hex without #
    swatch.fillRect(0, 0, 1, 1);
    return `#${[...swatch.getImageData(0, 0, 1, 1).data.slice(0, 3)].map((v) => v.toString(16).padStart(2, '0')).join('')}`;
  }

  // --- writing the settings ----------------------------------------------------------

  // The editor's stops become the colours setting, which the page converts.
  function commit() {
    $('colours').value = serialize(stops);
    $('colours').dispatchEvent(new Event('input', { bubbles: true }));
  }

  function setBlend(text) {
    $('blend').value = text;
    showBlend(text);
  }

  function blendChosen() {
    const space = $('blend-space').value;
    const polar = blends.find((b) => b.name === space)?.polar;
    const hue = $('blend-hue').value;
    $('blend').value = polar && hue !== 'shorter' ? `${space} ${hue} hue` : space;
    showBlend($('blend').value);
  }

  function showBlend(text) {
    const [space, hue] = text.trim().split(/\s+/);
    if (blends.some((b) => b.name === space)) $('blend-space').value = space;
    const polar = blends.find((b) => b.name === $('blend-space').value)?.polar;
    $('blend-hue').disabled = !polar;
    $('blend-hue').hidden = !polar;
    $('blend-hue').value = polar && hueMethods.some((h) => h.name === hue) ? hue : 'shorter';
  }

  // --- the editor ----------------------------------------------------------------

  // A button that cannot act says so and stays in the Tab order, where a user looks for it.
  function control(tag, { off, ...props }, label) {
    const el = document.createElement(tag);
    Object.assign(el, props);
    if (off) el.setAttribute('aria-disabled', 'true');
    el.dataset.caption = label;
    return el;
  }

  // Rows and handles made afresh; the focus goes back to the same part of the same stop.
  function build(focus = null) {
    const list = $('stops');
    list.replaceChildren(...stops.map((stop, i) => {
      const row = document.createElement('li');
      row.dataset.index = i;
      row.append(
        control('input', { type: 'color', value: hexOf(stop.colour), id: `stop-${i}-picker` }, 'stopPicker'),
        control('input', { value: stop.colour, id: `stop-${i}-colour`, autocomplete: 'off', spellcheck: false }, 'stopColour'),
        control('input', { value: stop.position, id: `stop-${i}-position`, inputMode: 'decimal', autocomplete: 'off' }, 'stopPosition'),
        control('button', { type: 'button', textContent: '↑', id: `stop-${i}-up`, off: i === 0 }, 'up'),
        control('button', { type: 'button', textContent: '↓', id: `stop-${i}-down`, off: i === stops.length - 1 }, 'down'),
        control('button', { type: 'button', textContent: '✕', id: `stop-${i}-remove`, off: stops.length <= 2 }, 'remove'));
      return row;
    }));
    $('handles').replaceChildren(...stops.map((_, i) => {
      const handle = control('div', { id: `stop-${i}-handle`, tabIndex: 0, className: 'handle' }, 'handle');
      handle.setAttribute('role', 'slider');
      handle.setAttribute('aria-valuemin', '0');
      handle.setAttribute('aria-valuemax', '100');
      handle.dataset.index = i;
      return handle;
    }));
    place();
    name();
    if (focus) $(focus)?.focus();
  }

  function place() {
    const at = placed(stops);
    for (const handle of $('handles').children) {
      const i = Number(handle.dataset.index);
      const p = Math.min(100, Math.max(0, at[i]));
      handle.style.left = `${p}%`;
      handle.setAttribute('aria-valuenow', String(Math.round(p * 10) / 10));
      handle.setAttribute('aria-valuetext', stops[i].position === '' ? `${Math.round(p)}% (${CAPTIONS[lang].auto})` : `${stops[i].position}%`);
    }
  }

  function name() {
    const t = CAPTIONS[lang];
    for (const el of document.querySelectorAll('#stops [data-caption], #handles [data-caption]')) {
      el.setAttribute('aria-label', t[el.dataset.caption](Number(el.closest('[data-index]').dataset.index) + 1));
    }
    for (const el of document.querySelectorAll('#stops [id$=-position]')) el.placeholder = t.auto;
  }

  // Stop `i` moved by `by` places, the focus with it.
  function move(i, by, part) {
    const j = i + by;
    if (j < 0 || j >= stops.length) return;
    [stops[i], stops[j]] = [stops[j], stops[i]];
    build(`stop-${j}-${part}`);
    commit();
  }

  function setPosition(i, percent) {
    stops[i].position = String(Math.round(Math.min(100, Math.max(0, percent)) * 10) / 10);
    const field = $(`stop-${i}-position`);
    if (field) field.value = stops[i].position;
    place();
    commit();
  }

  // What the editor shows: the colours, or without them the start and end colours.
  function show(s) {
    const text = s.colours.trim();
    stops = text ? parse(text) : [{ colour: s.start, position: '' }, { colour: s.end, position: '' }];
    if (stops.length < 2) stops.push({ colour: stops[0].colour, position: '' });
    const focused = document.activeElement?.closest?.('#stops-editor') ? document.activeElement.id : null;
    build(focused);
    setBlend(s.blend);
  }

  const current = () => ({ colours: $('colours').value, start: $('start').value, end: $('end').value, blend: $('blend').value });

  // --- the strip ---------------------------------------------------------------------

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

  function percentAt(event) {
    const box = $('handles').getBoundingClientRect();
    return ((event.clientX - box.left) / box.width) * 100;
  }

  // --- events --------------------------------------------------------------------------

  function wire() {
    $('stops').addEventListener('input', (e) => {
      e.stopPropagation(); // the colours field's own input event carries the change to the page
      const i = Number(e.target.closest('li').dataset.index);
      if (e.target.type === 'color') {
        stops[i].colour = e.target.value;
        $(`stop-${i}-colour`).value = e.target.value;
      } else if (e.target.id.endsWith('-colour')) {
        stops[i].colour = e.target.value.trim();
        $(`stop-${i}-picker`).value = hexOf(stops[i].colour);
      } else {
        stops[i].position = e.target.value.trim().replace(/%$/, '');
        place();
      }
      commit();
    });
    $('stops').addEventListener('click', (e) => {
      const button = e.target.closest('button');
      if (!button || button.getAttribute('aria-disabled')) return;
      const i = Number(button.closest('li').dataset.index);
      if (button.id.endsWith('-up')) move(i, -1, i - 1 === 0 ? 'down' : 'up');
      if (button.id.endsWith('-down')) move(i, 1, i + 1 === stops.length - 1 ? 'up' : 'down');
      if (button.id.endsWith('-remove')) {
        stops.splice(i, 1);
        build(`stop-${Math.min(i, stops.length - 1)}-colour`);
        commit();
      }
    });
    $('stops').addEventListener('keydown', (e) => {
      if (!e.altKey || (e.key !== 'ArrowUp' && e.key !== 'ArrowDown')) return;
      e.preventDefault();
      const part = e.target.id.replace(/^stop-\d+-/, '');
      move(Number(e.target.closest('li').dataset.index), e.key === 'ArrowUp' ? -1 : 1, part);
    });
    $('add').addEventListener('click', () => {
      stops.push({ colour: stops[stops.length - 1].colour, position: '' });
      build(`stop-${stops.length - 1}-colour`);
      commit();
    });
    $('handles').addEventListener('keydown', (e) => {
      const i = Number(e.target.dataset.index);
      const by = { ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1, PageDown: -10, PageUp: 10 }[e.key];
      if (Number.isNaN(i) || (!by && e.key !== 'Home' && e.key !== 'End')) return;
      e.preventDefault();
      const now = placed(stops)[i];
      setPosition(i, e.key === 'Home' ? 0 : e.key === 'End' ? 100 : now + by * (e.shiftKey ? 10 : 1));
    });
    $('handles').addEventListener('pointerdown', (e) => {
      const handle = e.target.closest('.handle');
      if (!handle) return;
      e.preventDefault();
      handle.focus();
      handle.setPointerCapture(e.pointerId);
      const i = Number(handle.dataset.index);
      const drag = (m) => setPosition(i, percentAt(m));
      handle.addEventListener('pointermove', drag);
      handle.addEventListener('pointerup', () => handle.removeEventListener('pointermove', drag), { once: true });
    });
    // Typed colours or start and end colours: the editor follows them.
    for (const id of ['colours', 'start', 'end']) {
      $(id).addEventListener('input', () => {
        if (id !== 'colours' || $('colours').value !== serialize(stops)) show(current());
      });
    }
    for (const id of ['blend-space', 'blend-hue']) $(id).addEventListener('input', blendChosen);
  }

  // --- start ---------------------------------------------------------------------------

  // The description's blends, hue methods and palettes become the selects and buttons.
  function start(description) {
    blends = description.blends;
    hueMethods = description.hueMethods;
    palettes = description.palettes;
    const option = (value) => Object.assign(document.createElement('option'), { value });
    $('blend-space').replaceChildren(...blends.map((b) => option(b.name)));
    $('blend-hue').replaceChildren(...hueMethods.map((h) => option(h.name)));
    $('palettes').replaceChildren(...palettes.map((p) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = `palette-${p.name}`;
      const sample = document.createElement('span');
      sample.className = 'sample';
      sample.setAttribute('aria-hidden', 'true');
      sample.style.background = `linear-gradient(to right in ${p.blend}, ${p.colours})`;
      button.append(sample, p.name);
      button.addEventListener('click', () => {
        stops = parse(p.colours);
        setBlend(p.blend);
        build();
        commit();
      });
      return button;
    }));
    wire();
    show(current());
    language(lang);
  }

  // Every name the user reads or hears, in the page's language.
  function language(l) {
    lang = l;
    name();
    place();
    [...$('blend-space').options].forEach((o, i) => { o.textContent = `${o.value}: ${summary(blends[i])}`; });
    [...$('blend-hue').options].forEach((o, i) => { o.textContent = `${o.value}: ${summary(hueMethods[i])}`; });
    for (const p of palettes) $(`palette-${p.name}`).title = summary(p);
  }

  return { CAPTIONS, start, show, strip, language };
})();
