'use strict';
// What the page keeps between visits, and what a link carries. Every page
// opened from a file shares one storage that any local file can write, so
// whatever is read here is bounded and checked before the page uses it.
const velmorantStore = (() => {
  const SETTINGS = 'velmorant.settings';
  const TEXT = 'velmorant.text';
  const NAMED = 'velmorant.named';
  // The ~5 MB all file pages share holds 2.5 M char16s: the text takes at most a
  // fifth, so settings and other pages keep room.
  const TEXT_KEPT = 500000;
  // Named settings and an imported file: a few settings each, so a few times one setting's bound.
  const NAMED_SIZE = 1 << 20;
  // Servers and chat programs cut longer links (Apache's request line stops at 8,190 bytes).
  const LINK = 8000;
  // Named settings: enough for anyone's forums, few enough to list in a select.
  const NAMED_KEPT = 100;

  function get(key, bound, problems) {
    try {
      const raw = localStorage.getItem(key);
      if (raw === null) return null;
      if (raw.length > bound) {
        problems.push({ setting: key === TEXT ? 'text' : null, problem: 'stored-too-long', length: raw.length, bound });
        return null;
      }
      return raw;
    } catch {
      return null; // storage off
    }
  }

  function put(key, value) {
    try {
      if (value === null) localStorage.removeItem(key);
      else localStorage.setItem(key, value);
      return true;
    } catch {
      return false; // storage off or full: the page still works
    }
  }

  function parse(raw) {
    try {
      const v = JSON.parse(raw);
      return v && typeof v === 'object' && !Array.isArray(v) ? v : {};
    } catch {
      return {};
    }
  }

  // The user's own settings, language and background, as stored.
  // `bound`: the most characters stored settings can hold, each within its own bound.
  function load(problems, bound) {
    const raw = get(SETTINGS, bound, problems);
    const v = raw === null ? {} : parse(raw);
    if ('dialect' in v && !('format' in v)) v.format = v.dialect; // as stored before formats had their name
    return v;
  }

  // Gives the names of values over the bound, which are not kept.
  function save(settings, extra, bound) {
    const own = Object.entries(velmorantSettings.diff(settings));
    put(SETTINGS, JSON.stringify({ ...Object.fromEntries(own.filter(([, v]) => v.length <= bound)), ...extra }));
    return own.filter(([, v]) => v.length > bound).map(([name]) => name);
  }

  // The text, as a text editor keeps its file; too long a text is not kept, and says so.
  const loadText = (problems) => get(TEXT, TEXT_KEPT, problems);
  function saveText(text) {
    if (text.length > TEXT_KEPT) {
      put(TEXT, null);
      return false;
    }
    return put(TEXT, text);
  }

  // A link's settings: name=value pairs after the #.
  const linked = () => (location.hash.length > 1 ? Object.fromEntries(new URLSearchParams(location.hash.slice(1))) : null);
  function unlink() {
    if (location.hash) history.replaceState(null, '', location.pathname + location.search);
  }

  // A link to the settings, never the text; null over the bound, with the length.
  function linkTo(settings, lang) {
    const fragment = new URLSearchParams({ ...velmorantSettings.diff(settings), lang }).toString();
    const link = `${location.href.split('#')[0]}#${fragment}`;
    return { link: link.length <= LINK ? link : null, length: link.length, bound: LINK };
  }

  // Named settings: {name: settings that differ from start-up}.
  function named() {
    const list = parse(get(NAMED, NAMED_SIZE, []) ?? '{}');
    return Object.fromEntries(Object.entries(list).slice(0, NAMED_KEPT).filter(([, v]) => v && typeof v === 'object'));
  }
  function saveNamed(list) {
    const entries = Object.entries(list).slice(0, NAMED_KEPT);
    return put(NAMED, JSON.stringify(Object.fromEntries(entries)));
  }
  // An exported file: a small JSON object that says what it is.
  const exported = (list) => JSON.stringify({ velmorant: 'settings', named: list }, null, 1);
  function imported(text) {
    if (text.length > NAMED_SIZE) return null;
    const v = parse(text);
    return v.velmorant === 'settings' && v.named && typeof v.named === 'object' && !Array.isArray(v.named) ? v.named : null;
  }

  return { load, save, loadText, saveText, linked, unlink, linkTo, named, saveNamed, exported, imported, TEXT_KEPT, NAMED_KEPT };
})();
