'use strict';
// The page's thread: controls, settings, preview and copy. The conversion itself
// runs in the worker; whatever the user typed reaches the page only as text.
(() => {
  const $ = (id) => document.getElementById(id);

  const CAPTIONS = {
    zh: {
      edition: '增强版', text: '输入待转换文本', options: '效果选项', start: '起始颜色', end: '结束颜色',
      startPicker: '选择起始颜色', endPicker: '选择结束颜色', colours: '多个颜色', blend: '混合', dialect: '用途',
      format: '格式', open: '颜色前', middle: '颜色后',
      close: '结尾', step: '字步长(间距)', fit: '限长', fitOff: '不限', size: '大小', font: '字体', bold: '粗体 B',
      italic: '斜体 I', underline: '下划线 U', strike: '删除线 ABC', merge: '合并同色', preview: '效果预览',
      code: '效果代码', copy: '复制上面代码', length: '长度', lang: 'English',
      maxTags: '限标签数', forum: '论坛', noForum: '自定', tags: '颜色标签', readBack: '读回文本和颜色',
      coloursHint: '填了多个颜色，就不用起始和结束颜色',
      blendHint: '中间的颜色怎么调：srgb 直接混合，和多数论坛工具一样；oklab、oklch 按眼睛的感觉均匀过渡，中间不发灰；oklch 绕远路就是彩虹',
      swap: '交换起止', stepByFit: '由限长选定，不能改', reset: '恢复初始设置', dark: '深色背景', fromLink: '这些设置来自链接，只用于这一次，不会保存',
      keep: '保留为我的设置', drop: '放弃，用我的设置', pasteReplaced: '长文本已粘贴；按 Ctrl+Z 或“撤销粘贴”可恢复粘贴前的文本。', unpaste: '撤销粘贴',
    },
    en: {
      edition: 'enhanced', text: 'Text to convert', options: 'Effect options', start: 'Start colour',
      end: 'End colour', startPicker: 'Pick the start colour', endPicker: 'Pick the end colour',
      colours: 'Colours', blend: 'Blend', dialect: 'Use', format: 'Format', open: 'Before the colour', middle: 'After the colour',
      close: 'After the characters', step: 'Characters per colour', fit: 'Length limit', fitOff: 'off',
      size: 'Size', font: 'Font', bold: 'Bold B', italic: 'Italic I', underline: 'Underline U',
      strike: 'Strike-through ABC', merge: 'Merge equal colours', preview: 'Preview', code: 'Code',
      copy: 'Copy the code', length: 'Length', lang: '中文',
      maxTags: 'Tag limit', forum: 'Forum', noForum: 'my own', tags: 'Colour tags', readBack: 'Read back text and colours',
      coloursHint: 'When given, these replace the start and end colours',
      blendHint: 'How the colours in between are mixed: srgb mixes them straight, as most forum tools do; oklab and oklch step evenly as the eye sees it, with no greyish middle; oklch the long way round is a rainbow',
      swap: 'Swap', stepByFit: 'Chosen by the length limit, not editable', reset: 'Reset to start-up settings', dark: 'Dark background',
      fromLink: 'These settings came from a link: they apply to this visit only and are not saved',
      keep: 'Keep as my settings', drop: 'Drop them, use mine', pasteReplaced: 'A long text was pasted; Ctrl+Z or "Undo the paste" brings back the text as it was before.',
      unpaste: 'Undo the paste',
    },
  };

  for (const l of ['zh', 'en']) Object.assign(CAPTIONS[l], velmorantColours.CAPTIONS[l]);

  const MESSAGES = {
    zh: {
      notColour: (d) => `“${d.notColour}”不是颜色（RRGGBB、#RRGGBB、#RGB 或 CSS 颜色名）`,
      twoColours: () => '多个颜色至少要两个，用逗号分开',
      notBlend: (d) => `“${d.notBlend}”不是混合方式`,
      tooLong: () => '文本太长，无法转换',
      notNumber: (d) => `限长“${d.notNumber}”不是字数`,
      noFit: (d) => (d.maxTags === undefined ? `没有字步长能放进 ${d.noFit} 个字：最短的代码有 ${d.shortest} 个字，字步长 ${d.atStep}`
        : `没有字步长能放进 ${d.noFit} 个字和 ${d.maxTags} 个标签：最短的代码有 ${d.shortest} 个字、${d.tags} 个标签，字步长 ${d.atStep}`),
      overTags: (d) => `代码有 ${d.tags} 个颜色标签，超过 ${d.maxTags} 个：论坛会把多出的显示成文字；填上限长可选出合适的字步长`,
      missing: (d) => `“${d.format}”没有这些样式，代码里不会有：${d.names.join('、')}`,
      decodable: (d) => `粘贴的像是“${d.format}”代码：${d.colours} 个颜色。`,
      fault: () => '转换器又出错了：这些设置需要的内存超过网页能用的；文本没有丢失',
      recovered: () => '转换器出错（内存不足？），已重新载入并重新转换；文本没有丢失',
      shown: (d) => `框里显示前 ${d.shown} 个字，共 ${d.total} 个；复制会复制全部代码`,
      copied: () => '代码已复制',
      copyFailed: () => '无法写入剪贴板',
      nothingChanged: () => '没有复制：代码算好之前设置又改了，请再点一次',
      nothingError: () => '没有复制：请先改正设置',
      notKept: () => '超过 10,000 个字：这次可用，但不会保存',
      badLink: (d) => `链接里的“${d.value}”在这里不能用，已忽略`,
    },
    en: {
      notColour: (d) => `'${d.notColour}' is not a colour (RRGGBB, #RRGGBB, #RGB or a CSS name)`,
      twoColours: () => 'Colours needs at least two, separated by commas',
      notBlend: (d) => `'${d.notBlend}' is not a blend`,
      tooLong: () => 'The text is too long to convert',
      notNumber: (d) => `Length limit '${d.notNumber}' is not a number of characters`,
      noFit: (d) => (d.maxTags === undefined ? `No step fits in ${d.noFit} characters: the shortest code is ${d.shortest} characters, at step ${d.atStep}`
        : `No step fits in ${d.noFit} characters and ${d.maxTags} tags: the shortest code is ${d.shortest} characters with ${d.tags} tags, at step ${d.atStep}`),
      overTags: (d) => `The code has ${d.tags} colour tags, more than ${d.maxTags}: the forum shows the rest as text; a length limit picks a step that fits`,
      missing: (d) => `'${d.format}' has no ${d.names.join(', ')}: the code leaves them out`,
      decodable: (d) => `The pasted text looks like a '${d.format}' code with ${d.colours} colours.`,
      fault: () => 'The converter stopped again: these settings need more memory than the page has; your text is kept',
      recovered: () => 'The converter stopped (out of memory?), was loaded again and converted again; your text is kept',
      shown: (d) => `The box shows the first ${d.shown} of ${d.total} characters; Copy takes the whole code`,
      copied: () => 'The code is copied',
      copyFailed: () => 'The clipboard refused the code',
      nothingChanged: () => 'Nothing copied: the settings changed before the code was ready; click again',
      nothingError: () => 'Nothing copied: fix the settings first',
      notKept: () => 'Over 10,000 characters: used now, not kept for the next visit',
      badLink: (d) => `The link's '${d.value}' is not a choice here and was left out`,
    },
  };

  const FIELDS = ['start', 'end', 'colours', 'blend', 'dialect', 'open', 'middle', 'close', 'step', 'fit', 'max-tags', 'size', 'font'];
  const CHECKS = ['bold', 'italic', 'underline', 'strike', 'merge'];
  const PREVIEW_CHARACTERS = 5000;
  // A longer code is shown cut, since the box lays out all it holds after every
  // change: a code of one long line stalled typing at 100,000. Copy takes it whole.
  const CODE_SHOWN = 10000;
  const STORE = 'velmorant.settings';
  const KEPT = 10000; // longer settings are used but not stored: the storage is small and shared

  const code = $('code');
  const message = $('message');
  let lang = 'zh';
  let defaults = null; // the start-up settings, once the worker has told them
  // The module's one description of formats, blends, palettes, forums, start-up
  // values, sizes and fonts; the page's lists come from it alone.
  let description = null;
  let pasted = false; // the text changed by a paste: read it back as a code if it is one
  let decodable = null; // what the pasted code reads back as, while the offer stands
  let stepText = ''; // the step the user wrote, while a length limit shows the chosen one
  let lastId = 0;
  let textChanged = true;
  let current = null; // the newest result, when it answers the newest request
  let waiting = []; // copies waiting for the result of the request current at their click
  let notes = {}; // message parts: error, shown, copy, recovered
  let fieldNotes = {}; // notes beside the fields: from a link, not kept
  let previewText = '';
  let retryId = 0; // the request sent again by itself after a fault
  let mine = null; // the user's own settings, whole
  let fromLink = false; // the settings on screen came from a link and are not the user's
  let dark = false;
  let beforePaste = null; // the text a long paste replaced, and the text after it

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
    $('lang').lang = lang === 'zh' ? 'en' : 'zh-CN';
    velmorantColours.language(lang);
    showNotes();
  }

  // One note per row of the options, made once, named by the controls of its row.
  const noteOf = new Map();
  function noteFor(id) {
    const row = $(id).closest('.grid > *, .checks');
    if (!noteOf.has(row)) {
      const note = document.createElement('p');
      note.className = 'note';
      note.id = `${id}-note`;
      row.after(note);
      noteOf.set(row, note);
    }
    const note = noteOf.get(row);
    const named = $(id).getAttribute('aria-describedby') || '';
    if (!named.includes(note.id)) $(id).setAttribute('aria-describedby', `${named} ${note.id}`.trim());
    return note;
  }

  function showNotes() {
    const m = MESSAGES[lang];
    const parts = [];
    if (notes.error) parts.push(m[notes.error.kind](notes.error));
    if (notes.shown) parts.push(m.shown(notes.shown));
    if (notes.copy) parts.push(m[notes.copy]());
    if (notes.recovered) parts.push(m.recovered());
    message.textContent = parts.join(' · ');
    message.classList.toggle('error', Boolean(notes.error) || (notes.copy && notes.copy !== 'copied'));
    // Beside the fields: what a link or the storage could not take, and the conversion's error.
    const beside = new Map([...noteOf.values()].map((note) => [note, []]));
    const add = (id, text) => beside.get(noteFor(id)).push(text);
    for (const [id, note] of Object.entries(fieldNotes)) add(id, m[note.kind](note));
    if (defaults) {
      for (const id of FIELDS) if ($(id).value.length > KEPT) add(id, m.notKept());
    }
    if (notes.error?.field && notes.error.field !== 'text') add(notes.error.field, m[notes.error.kind](notes.error));
    if (notes.missing) add('bold', m.missing(notes.missing));
    if (notes.overTags) add('max-tags', m.overTags(notes.overTags));
    $('decode-text').textContent = decodable ? m.decodable({ format: decodable.format, colours: decodable.colours.length }) : '';
    for (const [note, texts] of beside) note.textContent = texts.join(' · ');
  }

  // --- settings --------------------------------------------------------------

  function read() {
    const s = {};
    for (const id of FIELDS) s[id] = $(id).value;
    for (const id of CHECKS) s[id] = $(id).checked;
    if (s.fit !== '') s.step = stepText;
    return s;
  }

  // Only known fields, only as plain values, only choices the selects offer; what
  // cannot be used goes into `bad`. Whatever is stored, the page must start.
  function clean(source, bad = {}) {
    const s = {};
    if (!source || typeof source !== 'object' || Array.isArray(source)) return s;
    for (const id of FIELDS) {
      if (!Object.hasOwn(source, id)) continue;
      const v = source[id];
      const el = $(id);
      if (typeof v === 'string' && (el.tagName !== 'SELECT' || [...el.options].some((o) => o.value === v))) s[id] = v;
      else bad[id] = { kind: 'badLink', value: String(v).slice(0, 40) };
    }
    for (const id of CHECKS) {
      if (!Object.hasOwn(source, id)) continue;
      const v = String(source[id]);
      if (v === '1' || v === 'true') s[id] = true;
      else if (v === '0' || v === 'false') s[id] = false;
      else bad[id] = { kind: 'badLink', value: v.slice(0, 40) };
    }
    if (source.lang === 'zh' || source.lang === 'en') s.lang = source.lang;
    return s;
  }

  // Settings in full: the given ones, start-up values for the rest; a dialect
  // without a template brings its own.
  function whole(given) {
    const s = { ...defaults, ...given };
    if (given.dialect && !['open', 'middle', 'close'].some((id) => id in given)) [s.open, s.middle, s.close] = template(given.dialect);
    delete s.lang;
    return s;
  }

  function write(s) {
    for (const id of FIELDS) $(id).value = s[id];
    for (const id of CHECKS) $(id).checked = s[id];
    stepText = s.step;
    velmorantColours.show(s);
    showFit();
    showForum();
  }

  const formatOf = (name) => description.formats.find((f) => f.name === name);
  const template = (name) => ['open', 'middle', 'close'].map((part) => formatOf(name)[part]);

  // The forum whose limits the fields hold, if any.
  function showForum() {
    const forum = description.forums.find((f) => String(f.length) === $('fit').value && String(f.tags ?? '') === $('max-tags').value);
    $('forum').value = forum ? forum.name : '';
  }

  // What differs from start-up, as link text: start-up values fill the rest anywhere.
  function linkOf(s) {
    const out = {};
    // With another dialect the template goes along whole: a link may name the dialect alone.
    const template = s.dialect !== defaults.dialect ? ['open', 'middle', 'close'] : [];
    for (const id of [...FIELDS, ...CHECKS]) {
      if (s[id] !== defaults[id] || template.includes(id)) out[id] = CHECKS.includes(id) ? (s[id] ? '1' : '0') : s[id];
    }
    return out;
  }

  const same = (a, b) => [...FIELDS, ...CHECKS].every((id) => a[id] === b[id]);

  // Settings from a link stay for the visit; only the user's own are stored.
  function save() {
    if (!defaults) return;
    const s = read();
    if (!fromLink) mine = s;
    const own = Object.fromEntries(Object.entries(linkOf(mine)).filter(([, v]) => v.length <= KEPT));
    if (lang !== browserLang()) own.lang = lang;
    if (dark) own.dark = '1';
    try {
      localStorage.setItem(STORE, JSON.stringify(own));
    } catch { /* storage off: the link still carries the settings */ }
    const out = linkOf(s);
    if (lang !== browserLang()) out.lang = lang;
    const fragment = new URLSearchParams(out).toString();
    history.replaceState(null, '', fragment ? `#${fragment}` : location.pathname + location.search);
    $('from-link').hidden = !fromLink;
  }

  function stored() {
    try {
      return JSON.parse(localStorage.getItem(STORE) || '{}') || {};
    } catch {
      return {}; // nothing usable stored
    }
  }

  const linked = () => Object.fromEntries(new URLSearchParams(location.hash.slice(1)));

  function browserLang() {
    return /^zh\b/i.test(navigator.language || '') ? 'zh' : 'en';
  }

  // --- conversion -------------------------------------------------------------

  function request(extra = {}) {
    if (!defaults) return;
    // Copies clicked for the settings this request replaces get no code of theirs.
    if (!extra.retry) {
      for (const resolve of waiting) resolve(null);
      waiting = [];
    }
    const settings = { ...read(), previewCharacters: PREVIEW_CHARACTERS, codeShown: CODE_SHOWN };
    const message = { id: ++lastId, settings, ...extra };
    if (pasted) message.detect = true;
    pasted = false;
    if (textChanged) {
      message.text = $('text').value;
      previewText = message.text; // the preview's slices come from the text the newest request carries
      textChanged = false;
    }
    current = null;
    code.dataset.state = 'pending';
    worker.postMessage(message);
    return message.id;
  }

  // A change by the user, or by Reset, Swap, Keep and Drop.
  function edited() {
    notes.copy = null;
    notes.recovered = false;
    request();
    save();
    showNotes();
  }

  function onChange(event) {
    if (event.target.id === 'dark') {
      showDark();
      save();
      return;
    }
    if (event.target.id === 'text') {
      textChanged = true;
      showDecodable(null);
      if (beforePaste && $('text').value !== beforePaste.after) showPasted(null);
    }
    delete fieldNotes[event.target.id];
    if (event.target.id === 'dialect') [$('open').value, $('middle').value, $('close').value] = template(event.target.value);
    if (event.target.id === 'forum') {
      const forum = description.forums.find((f) => f.name === event.target.value);
      if (forum) [$('fit').value, $('max-tags').value] = [String(forum.length), String(forum.tags ?? '')];
      delete fieldNotes.fit;
      delete fieldNotes['max-tags'];
      showFit();
    }
    if (event.target.id === 'fit' || event.target.id === 'max-tags') showForum();
    if (event.target.id === 'step') stepText = event.target.value;
    if (event.target.id === 'fit') showFit();
    if (event.target.type === 'color') $(event.target.id.replace('-picker', '')).value = event.target.value.slice(1).toUpperCase();
    edited();
  }

  function showFit() {
    const fit = $('fit').value !== '';
    $('step').readOnly = fit;
    const named = ($('step').getAttribute('aria-describedby') || '').replace('step-hint', '').trim();
    $('step').setAttribute('aria-describedby', fit ? `${named} step-hint`.trim() : named);
    if (!fit) $('step').value = stepText;
  }

  function render(r) {
    // After a fault the worker has a fresh instance: convert again, once, by
    // itself; what was said before the fault no longer holds.
    if (r.error?.fault && r.id !== retryId) {
      notes = { recovered: true };
      retryId = request({ retry: true });
      showNotes();
      return;
    }
    current = r;
    notes.error = r.error ? { kind: errorKind(r.error), ...r.error } : null;
    notes.shown = null;
    notes.missing = r.missing?.length ? { format: read().dialect, names: r.missing.map((n) => CAPTIONS[lang][n] ?? n) } : null;
    notes.overTags = r.maxTags >= 0 && r.tags > r.maxTags ? { tags: r.tags, maxTags: r.maxTags } : null;
    if (r.decoded && r.decoded.text !== $('text').value) showDecodable(r.decoded);
    const picks = r.pickers || [];
    ['start-picker', 'end-picker'].forEach((id, i) => {
      if (picks[i] >= 0) $(id).value = `#${picks[i].toString(16).padStart(6, '0')}`;
    });
    if (r.error) {
      code.value = '';
      $('length').textContent = '';
      $('tags').textContent = '';
      $('preview').replaceChildren();
    } else {
      code.value = r.shown;
      if (r.cut) notes.shown = { shown: r.shown.length, total: r.length };
      $('length').textContent = String(r.length);
      $('tags').textContent = String(r.tags);
      if ($('fit').value !== '') $('step').value = String(r.step);
      renderPreview(r);
    }
    velmorantColours.strip(r.strip);
    for (const el of ['start', 'end', 'colours', 'blend-space', 'fit', 'max-tags']) $(el).toggleAttribute('aria-invalid', r.error?.field === el.replace('-space', ''));
    $('max-tags').toggleAttribute('aria-invalid', r.error?.field === 'max-tags' || Boolean(notes.overTags));
    code.dataset.state = r.error ? 'error' : 'current';
    if (r.error?.fault) notes.recovered = false;
    showNotes();
    for (const resolve of waiting) resolve(r);
    waiting = [];
  }

  function errorKind(e) {
    return ['notColour', 'twoColours', 'notBlend', 'tooLong', 'notNumber', 'noFit', 'fault'].find((k) => k in e);
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
    if (!r || r.error) {
      notes.copy = r ? 'nothingError' : 'nothingChanged';
      showNotes();
      return;
    }
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
    velmorantColours.start(ready);
    description = ready;
    const options = (list, make) => list.map((item) => Object.assign(document.createElement('option'), make(item)));
    $('dialect').replaceChildren(...options(description.formats, (f) => ({ value: f.name, textContent: `${f.name}: ${f.summary}` })));
    $('forum').append(...options(description.forums, (f) => ({ value: f.name, textContent: f.name })));
    $('sizes').replaceChildren(...options(description.sizes, (v) => ({ value: v })));
    $('fonts').replaceChildren(...options(description.fonts, (v) => ({ value: v })));
    const u = description.startup;
    // The window's text at start-up, with the line break a browser gives; the
    // user may have typed before the module was ready.
    if ($('text').value === '') $('text').value = u.text.replace(/\r\n/g, '\n');
    const [open, middle, close] = template(u.format);
    defaults = {
      start: u.colours[0], end: u.colours.at(-1), colours: '', blend: u.blend, dialect: u.format, open, middle, close,
      step: u.step, fit: '', 'max-tags': '', size: u.size, font: u.font,
    };
    for (const id of CHECKS) defaults[id] = false;
    defaults.merge = u.merge;
    mine = whole(clean(stored()));
    fromAddress();
  }

  function fromAddress() {
    // A link means its values and start-up values for the rest, on any machine;
    // one that gives what the user has anyway is no news.
    const link = linked();
    fieldNotes = {};
    const theirs = whole(clean(link, fieldNotes));
    fromLink = [...FIELDS, ...CHECKS].some((id) => id in link) && !same(theirs, mine);
    write(fromLink ? theirs : mine);
    lang = clean(link).lang || lang;
    applyCaptions();
    request();
    $('from-link').hidden = !fromLink;
  }

  function showDark() {
    $('preview').classList.toggle('dark', dark = $('dark').checked);
  }

  function showPasted(before, settings = null) {
    beforePaste = before === null ? null : { before, after: $('text').value, settings };
    $('paste-note').hidden = !before; // a paste into an empty box needs no word
  }

  function unpaste() {
    const box = $('text');
    const { before, settings } = beforePaste;
    box.setRangeText(before, 0, box.value.length, 'end');
    showPasted(null);
    if (settings) write(settings); // reading a code back set these too
    box.dispatchEvent(new Event('input', { bubbles: true }));
    box.focus();
  }

  function showDecodable(read) {
    decodable = read;
    $('decode-note').hidden = !read;
    showNotes();
  }

  // The pasted code becomes its text, its colours as --colours takes them, and its
  // format; undone as a long paste is.
  function readBack() {
    const box = $('text');
    const before = box.value;
    const settings = read();
    const { text, colours, format } = decodable;
    const hex = colours.map((c) => c.toString(16).padStart(6, '0').toUpperCase());
    $('colours').value = (hex.length === 1 ? [hex[0], hex[0]] : hex).join(',');
    $('dialect').value = format;
    [$('open').value, $('middle').value, $('close').value] = template(format);
    velmorantColours.show(read());
    box.setRangeText(text.replace(/\r\n/g, '\n'), 0, box.value.length, 'end'); // as a paste would put it
    showDecodable(null);
    box.dispatchEvent(new Event('input', { bubbles: true }));
    showPasted(before, settings);
    box.focus();
  }

  // A link opened over the page: the page writes its address by replaceState,
  // which says nothing here.
  addEventListener('hashchange', () => defaults && fromAddress());

  lang = clean(linked()).lang || clean(stored()).lang || browserLang();
  $('dark').checked = stored().dark === '1';
  showDark();
  for (const id of [...FIELDS, ...CHECKS]) noteFor(id);
  applyCaptions();
  document.querySelector('main').addEventListener('input', onChange);
  // A long paste at the caret goes in as one replacement rather than as an edit:
  // Chromium's edit of a megabyte takes seconds, the replacement a fraction. The
  // replacement is outside the box's undo, so the page keeps what it replaced, for
  // its own button and Ctrl+Z; a paste over a selection stays an edit.
  $('text').addEventListener('paste', (e) => {
    pasted = true;
    const text = e.clipboardData.getData('text/plain');
    const box = e.target;
    if (text.length < 100000 || box.selectionStart !== box.selectionEnd) return;
    e.preventDefault();
    const before = box.value;
    box.setRangeText(text, box.selectionStart, box.selectionEnd, 'end');
    box.dispatchEvent(new Event('input', { bubbles: true }));
    showPasted(before);
  });
  $('text').addEventListener('keydown', (e) => {
    if (beforePaste && (e.ctrlKey || e.metaKey) && !e.shiftKey && e.key.toLowerCase() === 'z') {
      e.preventDefault();
      unpaste();
    }
  });
  $('unpaste').addEventListener('click', unpaste);
  $('read-back').addEventListener('click', readBack);
  // The window's step box takes typed digits only; pasted text goes through.
  $('step').addEventListener('beforeinput', (e) => {
    if (e.inputType === 'insertText' && /[^0-9]/.test(e.data || '')) e.preventDefault();
  });
  $('lang').addEventListener('click', () => {
    lang = lang === 'zh' ? 'en' : 'zh';
    applyCaptions();
    save();
  });
  $('swap').addEventListener('click', () => {
    [$('start').value, $('end').value] = [$('end').value, $('start').value];
    edited();
  });
  $('reset').addEventListener('click', () => {
    fieldNotes = {};
    write(defaults);
    edited();
  });
  $('keep').addEventListener('click', () => {
    fromLink = false;
    fieldNotes = {};
    save();
    showNotes();
  });
  $('drop').addEventListener('click', () => {
    fromLink = false;
    fieldNotes = {};
    write(mine);
    edited();
  });
})();
