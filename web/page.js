'use strict';
// The page's thread: controls, settings, preview and copy. The conversion itself
// runs in the worker; whatever the user typed reaches the page only as text.
(() => {
  const $ = (id) => document.getElementById(id);

  const CAPTIONS = {
    zh: {
      edition: '增强版', text: '输入待转换文本', options: '效果选项', start: '起始颜色', end: '结束颜色',
      startPicker: '选择起始颜色', endPicker: '选择结束颜色', colours: '多个颜色', blend: '混合', dialect: '用途:',
      html: 'Html(网页)', ubb: 'UBB(论坛)', qq: 'QQ空间', format: '格式:', open: '颜色前', middle: '颜色后',
      close: '结尾', step: '字步长(间距)', fit: '限长', fitOff: '不限', size: '大小:', font: '字体:', bold: '粗体 B',
      italic: '斜体 I', underline: '下划线 U', strike: '删除线 ABC', merge: '合并同色', preview: '效果预览',
      code: '效果代码', copy: '复制上面代码', length: '长度:', lang: 'English', langName: '切换到英文',
    },
    en: {
      edition: 'enhanced', text: 'Text to convert', options: 'Effect options', start: 'Start colour',
      end: 'End colour', startPicker: 'Pick the start colour', endPicker: 'Pick the end colour',
      colours: 'Colours', blend: 'Blend', dialect: 'Use:', html: 'Html (web page)', ubb: 'UBB (forum)',
      qq: 'QQ Space', format: 'Format:', open: 'Before the colour', middle: 'After the colour',
      close: 'After the characters', step: 'Characters per colour', fit: 'Length limit', fitOff: 'off',
      size: 'Size:', font: 'Font:', bold: 'Bold B', italic: 'Italic I', underline: 'Underline U',
      strike: 'Strike-through ABC', merge: 'Merge equal colours', preview: 'Preview', code: 'Code',
      copy: 'Copy the code', length: 'Length:', lang: '中文', langName: 'Switch to Chinese',
    },
  };

  const MESSAGES = {
    zh: {
      notColour: (d) => `“${d.notColour}”不是颜色（RRGGBB、#RRGGBB、#RGB 或 CSS 颜色名）`,
      twoColours: () => '多个颜色至少要两个，用逗号分开',
      tooLong: () => '文本太长，无法转换',
      notNumber: (d) => `限长“${d.notNumber}”不是字数`,
      noFit: (d) => `没有字步长能放进 ${d.noFit} 个字：最短的代码有 ${d.shortest} 个字，字步长 ${d.atStep}`,
      fault: () => '转换器出错（内存不足？），已重新载入；文本没有丢失',
      shown: (d) => `框里显示前 ${d.shown} 个字，共 ${d.total} 个；复制会复制全部代码`,
      copied: () => '代码已复制',
      copyFailed: () => '无法写入剪贴板',
    },
    en: {
      notColour: (d) => `'${d.notColour}' is not a colour (RRGGBB, #RRGGBB, #RGB or a CSS name)`,
      twoColours: () => 'Colours needs at least two, separated by commas',
      tooLong: () => 'The text is too long to convert',
      notNumber: (d) => `Length limit '${d.notNumber}' is not a number of characters`,
      noFit: (d) => `No step fits in ${d.noFit} characters: the shortest code is ${d.shortest} characters, at step ${d.atStep}`,
      fault: () => 'The converter stopped (out of memory?) and was loaded again; your text is kept',
      shown: (d) => `The box shows the first ${d.shown} of ${d.total} characters; Copy takes the whole code`,
      copied: () => 'The code is copied',
      copyFailed: () => 'The clipboard refused the code',
    },
  };

  const FIELDS = ['start', 'end', 'colours', 'blend', 'dialect', 'open', 'middle', 'close', 'step', 'fit', 'size', 'font'];
  const CHECKS = ['bold', 'italic', 'underline', 'strike', 'merge'];
  const PREVIEW_CHARACTERS = 5000;
  // A longer code is shown cut, since the box lays out all it holds after every
  // change: a code of one long line stalled typing at 100,000. Copy takes it whole.
  const CODE_SHOWN = 10000;
  const STORE = 'velmorant.settings';
  // The window's input text at start-up, with the line break a browser gives.
  const START_TEXT = 'Zarimo软件-免费、精彩、共享！\n';

  const code = $('code');
  const message = $('message');
  let lang = 'zh';
  let defaults = null; // the start-up settings, once the worker has told them
  let dialects = null;
  let stepText = ''; // the step the user wrote, while a length limit shows the chosen one
  let lastId = 0;
  let textChanged = true;
  let current = null; // the newest result, when it answers the newest request
  let waiting = []; // copies waiting for the current result
  let notes = {}; // message parts: error, shown, copy
  let previewText = '';

  // The module is embedded, as a page opened from a file can fetch nothing; it
  // compiles here while the worker starts.
  const worker = new Worker(
    URL.createObjectURL(new Blob([$('worker-source').textContent], { type: 'text/javascript' })));
  const encoded = atob($('module').textContent);
  const moduleBytes = new Uint8Array(encoded.length);
  for (let i = 0; i < encoded.length; i++) moduleBytes[i] = encoded.charCodeAt(i);
  WebAssembly.compile(moduleBytes).then((module) => worker.postMessage({ module }));

  // --- captions --------------------------------------------------------------

  function applyCaptions() {
    const t = CAPTIONS[lang];
    document.documentElement.lang = lang === 'zh' ? 'zh-CN' : 'en';
    for (const el of document.querySelectorAll('[data-t]')) el.textContent = t[el.dataset.t];
    for (const el of document.querySelectorAll('[data-t-label]')) el.setAttribute('aria-label', t[el.dataset.tLabel]);
    for (const el of document.querySelectorAll('[data-t-placeholder]')) el.placeholder = t[el.dataset.tPlaceholder];
    $('lang').textContent = t.lang;
    $('lang').setAttribute('aria-label', t.langName);
    showNotes();
  }

  function showNotes() {
    const m = MESSAGES[lang];
    const parts = [];
    if (notes.error) parts.push(m[notes.error.kind](notes.error));
    if (notes.shown) parts.push(m.shown(notes.shown));
    if (notes.copy) parts.push(m[notes.copy]());
    message.textContent = parts.join(' · ');
    message.classList.toggle('error', Boolean(notes.error) || notes.copy === 'copyFailed');
  }

  // --- settings --------------------------------------------------------------

  function read() {
    const s = {};
    for (const id of FIELDS) s[id] = $(id).value;
    for (const id of CHECKS) s[id] = $(id).checked;
    if (s.fit !== '') s.step = stepText;
    return s;
  }

  // Only known fields, only as plain values, only choices the selects offer.
  function clean(source) {
    const s = {};
    for (const id of FIELDS) {
      const v = source[id];
      if (typeof v !== 'string' || v.length > 10000) continue;
      const el = $(id);
      if (el.tagName === 'SELECT' && ![...el.options].some((o) => o.value === v)) continue;
      s[id] = v;
    }
    for (const id of CHECKS) if (id in source) s[id] = source[id] === true || source[id] === '1';
    if (source.lang === 'zh' || source.lang === 'en') s.lang = source.lang;
    return s;
  }

  function write(s) {
    for (const id of FIELDS) $(id).value = s[id];
    for (const id of CHECKS) $(id).checked = s[id];
    stepText = s.step;
    showFit();
  }

  function changed() {
    const s = read();
    const out = {};
    // With another dialect the template goes along whole: a link may name the dialect alone.
    const template = s.dialect !== defaults.dialect ? ['open', 'middle', 'close'] : [];
    for (const id of [...FIELDS, ...CHECKS]) {
      if (s[id] !== defaults[id] || template.includes(id)) out[id] = CHECKS.includes(id) ? (s[id] ? '1' : '0') : s[id];
    }
    if (lang !== browserLang()) out.lang = lang;
    return out;
  }

  function save() {
    const out = changed();
    try {
      localStorage.setItem(STORE, JSON.stringify(out));
    } catch { /* storage off: the link still carries the settings */ }
    const fragment = new URLSearchParams(out).toString();
    history.replaceState(null, '', fragment ? `#${fragment}` : location.pathname + location.search);
  }

  function loaded() {
    let stored = {};
    try {
      stored = JSON.parse(localStorage.getItem(STORE) || '{}') || {};
    } catch { /* nothing usable stored */ }
    const fromLink = Object.fromEntries(new URLSearchParams(location.hash.slice(1)));
    return { ...clean(stored), ...clean(fromLink) };
  }

  function browserLang() {
    return /^zh\b/i.test(navigator.language || '') ? 'zh' : 'en';
  }

  // --- conversion -------------------------------------------------------------

  function request(extra = {}) {
    if (!defaults) return;
    const settings = { ...read(), previewCharacters: PREVIEW_CHARACTERS, codeShown: CODE_SHOWN };
    const message = { id: ++lastId, settings, ...extra };
    if (textChanged) {
      message.text = $('text').value;
      previewText = message.text; // the preview's slices come from the text the newest request carries
      textChanged = false;
    }
    current = null;
    code.dataset.state = 'pending';
    worker.postMessage(message);
  }

  function onChange(event) {
    if (event.target.id === 'text') textChanged = true;
    if (event.target.id === 'dialect') {
      const [open, middle, close] = dialects[event.target.value];
      $('open').value = open;
      $('middle').value = middle;
      $('close').value = close;
    }
    if (event.target.id === 'step') stepText = event.target.value;
    if (event.target.id === 'fit') showFit();
    if (event.target.type === 'color') $(event.target.id.replace('-picker', '')).value = event.target.value.slice(1).toUpperCase();
    notes.copy = null;
    request();
    save();
  }

  function showFit() {
    const fit = $('fit').value !== '';
    $('step').readOnly = fit;
    if (!fit) $('step').value = stepText;
  }

  function render(r) {
    current = r;
    notes.error = r.error ? { kind: errorKind(r.error), ...r.error } : null;
    notes.shown = null;
    const picks = r.pickers || [];
    ['start-picker', 'end-picker'].forEach((id, i) => {
      if (picks[i] >= 0) $(id).value = `#${picks[i].toString(16).padStart(6, '0')}`;
    });
    if (r.error) {
      code.value = '';
      $('length').textContent = '';
      $('preview').replaceChildren();
    } else {
      code.value = r.shown;
      if (r.cut) notes.shown = { shown: r.shown.length, total: r.length };
      $('length').textContent = String(r.length);
      if ($('fit').value !== '') $('step').value = String(r.step);
      renderPreview(r);
    }
    for (const el of ['start', 'end', 'colours', 'fit']) $(el).toggleAttribute('aria-invalid', r.error?.field === el);
    code.dataset.state = r.error ? 'error' : 'current';
    showNotes();
    for (const resolve of waiting) resolve(r);
    waiting = [];
  }

  function errorKind(e) {
    return ['notColour', 'twoColours', 'tooLong', 'notNumber', 'noFit', 'fault'].find((k) => k in e);
  }

  function renderPreview(r) {
    const preview = $('preview');
    const s = read();
    const fragment = document.createDocumentFragment();
    const units = r.units;
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
      span.textContent = previewText.slice(from, to);
      span.style.color = `#${colour.toString(16).padStart(6, '0')}`;
      fragment.append(span);
    }
    preview.replaceChildren(fragment);
    const style = preview.style;
    style.fontFamily = s.font ? `"${s.font.replace(/[\\"]/g, '\\$&').replace(/[\n\r\f]/g, ' ')}", serif` : '';
    style.fontSize = r.points >= 1 && r.points <= 200 ? `${r.points}pt` : '';
    style.fontWeight = s.bold ? '700' : '400';
    style.fontStyle = s.italic ? 'italic' : 'normal';
    style.textDecorationLine = [s.underline && 'underline', s.strike && 'line-through'].filter(Boolean).join(' ') || 'none';
  }

  worker.onmessage = ({ data }) => {
    if (data.ready) {
      start(data.ready);
      return;
    }
    if (data.id === lastId) render(data);
  };

  // --- copy ---------------------------------------------------------------------

  $('copy').addEventListener('click', async () => {
    const r = current || (await new Promise((resolve) => waiting.push(resolve)));
    if (r.error) return;
    try {
      r.code ??= new TextDecoder().decode(r.bytes);
      await navigator.clipboard.writeText(r.code);
      notes.copy = 'copied';
    } catch {
      notes.copy = 'copyFailed';
    }
    showNotes();
  });

  // --- start --------------------------------------------------------------------

  function start(ready) {
    dialects = ready.dialects;
    const [open, middle, close] = dialects.startup;
    defaults = { ...ready.startup, colours: '', blend: 'srgb', dialect: 'startup', open, middle, close, fit: '' };
    for (const id of CHECKS) defaults[id] = false;
    const s = loaded();
    if (s.dialect && !['open', 'middle', 'close'].some((id) => id in s)) [s.open, s.middle, s.close] = dialects[s.dialect];
    lang = s.lang || browserLang();
    delete s.lang;
    write({ ...defaults, ...s });
    applyCaptions();
    request();
  }

  $('text').value = START_TEXT;
  lang = loaded().lang || browserLang();
  applyCaptions();
  document.querySelector('main').addEventListener('input', onChange);
  // A long paste at the caret goes in as one replacement rather than as an edit:
  // Chromium's edit of a megabyte takes seconds, the replacement a fraction. The
  // replacement is outside the box's undo, so a paste over a selection stays an
  // edit: the text it replaces can always come back with Ctrl+Z.
  $('text').addEventListener('paste', (e) => {
    const pasted = e.clipboardData.getData('text/plain');
    const box = e.target;
    if (pasted.length < 100000 || box.selectionStart !== box.selectionEnd) return;
    e.preventDefault();
    box.setRangeText(pasted, box.selectionStart, box.selectionEnd, 'end');
    box.dispatchEvent(new Event('input', { bubbles: true }));
  });
  // The window's step box takes typed digits only; pasted text goes through.
  $('step').addEventListener('beforeinput', (e) => {
    if (e.inputType === 'insertText' && /[^0-9]/.test(e.data || '')) e.preventDefault();
  });
  $('lang').addEventListener('click', () => {
    lang = lang === 'zh' ? 'en' : 'zh';
    applyCaptions();
    save();
  });
})();
