'use strict';
// The settings as the core describes them: names, kinds, start-up values and
// captions all come from the description; the page adds none of its own. A
// setting's value is text, as the CLI's --name=value takes it.
const velmorantSettings = (() => {
  let description = null;
  let rows = [];
  // Settings that fill others rather than last: a palette fills colours and
  // blend. The page offers them as buttons.
  const fills = (row) => row.list === 'palettes';

  function start(d) {
    description = d;
    rows = d.settings;
  }

  // A flag's other spellings, as the CLI reads them.
  const flag = (v) => (v === '1' || v === 'true' ? '1' : v === '0' || v === 'false' ? '0' : null);
  const kept = () => rows.filter((r) => !fills(r));
  const names = () => kept().map((r) => r.name);
  const row = (name) => rows.find((r) => r.name === name);
  const startup = () => Object.fromEntries(kept().map((r) => [r.name, r.kind === 'flag' ? flag(String(r.startup)) ?? '0' : r.startup]));
  const isFlag = (name) => row(name)?.kind === 'flag';
  const format = (name) => description.formats.find((f) => f.name === name);
  // A format's template: the settings a format's row gives a value of.
  const templateParts = () => names().filter((name) => name in description.formats[0]);
  const template = (name) => Object.fromEntries(templateParts().map((part) => [part, format(name)[part]]));
  const ofKind = (kind) => kept().filter((r) => r.kind === kind).map((r) => r.name);
  // The gradient's two ends: every colour setting but the background, which is no stop.
  const ends = () => ofKind('colour').filter((name) => name !== 'background');

  // A format given without its template brings its own, as on the command line.
  function withTemplate(s, given) {
    if (given.format && !templateParts().some((part) => part in given)) Object.assign(s, template(given.format));
    return s;
  }


  // Settings in full from some given ones: start-up values for the rest; a
  // format given without its template brings its own. What cannot be used goes
  // into `bad` as problems; `bound` caps a value's length.
  function whole(given, bad = [], bound = Infinity) {
    const s = startup();
    if (!given || typeof given !== 'object' || Array.isArray(given)) return s;
    const taken = {};
    for (const name of names()) {
      if (!Object.hasOwn(given, name)) continue;
      const raw = given[name];
      const value = isFlag(name) ? flag(String(raw)) : typeof raw === 'string' ? raw : null;
      if (value === null) bad.push({ setting: name, problem: 'from-link', value: String(raw).slice(0, 40) });
      else if (value.length > bound) bad.push({ setting: name, problem: 'too-long', bound });
      else if (row(name).list === 'formats' && !format(value)) bad.push({ setting: name, problem: 'not-format', value: value.slice(0, 40) });
      else taken[name] = value;
    }
    withTemplate(s, taken);
    // The end colours alone mean the gradient between them, as on the command line.
    const [stops] = ofKind('stops');
    if (ends().some((name) => name in taken) && !(stops in taken)) s[stops] = '';
    return Object.assign(s, taken);
  }

  // What differs from start-up: enough to give the same settings anywhere. Another
  // format's own template goes unsaid, since the format brings it.
  function diff(s) {
    const base = startup();
    const own = s.format !== base.format ? template(s.format) : null;
    const out = {};
    for (const name of names()) {
      if (s[name] === base[name]) continue;
      if (own && name in own && s[name] === own[name]) continue;
      out[name] = s[name];
    }
    if (own) for (const part in own) if (s[part] === base[part] && s[part] !== own[part]) out[part] = s[part];
    return out;
  }

  // What the core is asked for: what differs from start-up, as the CLI would be given it.
  // With a colours list, start and end are its ends and go unsaid; without one, they are the gradient.
  function request(s) {
    const out = diff(s);
    const [stops] = ofKind('stops');
    for (const name of s[stops].trim() ? ends() : [stops]) delete out[name];
    return out;
  }

  const same = (a, b) => names().every((name) => a[name] === b[name]);

  // A caption or help line in the page's language; the core's words first.
  function caption(name, lang, fallback) {
    return row(name)?.caption?.[lang] ?? fallback?.[lang]?.[name] ?? name; // the text is no setting
  }
  const help = (name, lang) => row(name)?.help?.[lang] ?? '';
  // A format's, blend's or palette's words: the description's in either language,
  // else its name and English summary.
  const itemCaption = (item, lang) => item.caption?.[lang] ?? item.name;
  const itemHelp = (item, lang) => item.help?.[lang] ?? item.summary ?? '';

  return {
    start, names, startup, isFlag, whole, diff, request, same, withTemplate, template, caption, help, itemCaption, itemHelp,
    get description() { return description; },
  };
})();
