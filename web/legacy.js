'use strict';
// TEMPORARY: speaks the worker's old messages until the named protocol lands;
// goes with the merge of the module's new boundary.
const velmorantLegacy = (() => {
  const FLAGS = ['bold', 'italic', 'underline', 'strike', 'merge'];
  const hex = (c) => (c >= 0 ? `#${c.toString(16).padStart(6, '0')}` : null);
  function request(m) {
    if (m.type === 'module') return { module: m.module };
    if (m.type !== 'convert') return null;
    const settings = { ...m.settings, dialect: m.settings.format, ...m.view };
    for (const f of FLAGS) settings[f] = m.settings[f] === '1';
    return { id: m.id, settings, ...(m.text !== undefined && { text: m.text }), ...(m.readBack && { detect: true }) };
  }
  const KINDS = { notColour: 'not-colour', twoColours: 'one-colour', notBlend: 'not-blend', tooLong: 'text-too-long', notNumber: 'not-number', noFit: 'no-fit', fault: 'fault' };
  function answer(d) {
    if (d.ready) return { type: 'ready', description: d.ready };
    const problems = [];
    if (d.error) {
      const kind = Object.keys(KINDS).find((k) => k in d.error);
      problems.push({ setting: d.error.field ?? null, problem: KINDS[kind], value: String(d.error[kind]),
        fit: d.error.noFit, length: d.error.shortest, shortestStep: d.error.atStep, tags: d.error.tags, maxTags: d.error.maxTags });
    }
    if (!d.error && d.maxTags >= 0 && d.tags > d.maxTags) problems.push({ setting: 'max-tags', problem: 'over-tags', tags: d.tags, maxTags: d.maxTags });
    const decoded = d.decoded && {
      ok: true, text: d.decoded.text, format: d.decoded.format, stops: d.decoded.colours,
      settings: { format: d.decoded.format, colours: d.decoded.colours.map((c) => hex(c).slice(1).toUpperCase()).join(',') },
    };
    return {
      type: 'converted', id: d.id, ok: !d.error, problems, step: d.step || null,
      code: d.error ? null : { bytes: d.bytes, shown: d.shown, cut: d.cut, length: d.length, tags: d.tags },
      missingStyles: d.missing ?? [], preview: d.units ? { units: d.units, points: d.points } : null, strip: d.strip,
      colours: { start: hex(d.pickers?.[0] ?? -1), end: hex(d.pickers?.[1] ?? -1) }, readBack: decoded,
    };
  }
  // The stop list split where no parenthesis is open, and CSS's positions.
  function stops({ id, colours, start, end }) {
    const parts = [];
    let depth = 0;
    let from = 0;
    for (let i = 0; i < colours.length; i++) {
      if (colours[i] === '(') depth++;
      else if (colours[i] === ')') depth = Math.max(0, depth - 1);
      else if (colours[i] === ',' && depth === 0) {
        parts.push(colours.slice(from, i));
        from = i + 1;
      }
    }
    parts.push(colours.slice(from));
    const list = colours.trim() ? parts.map((p) => p.trim()).map((p) => {
      const m = /^(.*\S)\s+(-?(?:\d+\.?\d*|\.\d+))%$/.exec(p);
      return m ? { colour: m[1], position: Number(m[2]) } : { colour: p, position: null };
    }) : [{ colour: start, position: null }, { colour: end, position: null }];
    const at = list.map((s) => s.position);
    if (at[0] === null) at[0] = 0;
    if (at.at(-1) === null) at[at.length - 1] = 100;
    let high = at[0];
    for (let j = 0; j < at.length; j++) if (at[j] !== null) high = at[j] = Math.max(at[j], high);
    for (let j = 0; j < at.length;) {
      let next = j + 1;
      while (at[next] === null) next++;
      for (let u = j + 1; u < next; u++) at[u] = at[j] + ((at[next] - at[j]) * (u - j)) / (next - j);
      j = next;
    }
    const ctx = document.createElement('canvas').getContext('2d');
    const rgb = (css) => { ctx.fillStyle = '#000'; ctx.fillStyle = /^[0-9a-f]{6}$/i.test(css) ? `#${css}` : css; return ctx.fillStyle.startsWith('#') ? ctx.fillStyle : null; };
    return { type: 'stops', id, stops: list.map((s, i) => ({ ...s, text: s.colour, at: at[i], rgb: rgb(s.colour) })), problems: [] };
  }
  return { request, answer, stops };
})();
