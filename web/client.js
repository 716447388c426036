'use strict';
// The page's side of the worker, where the core runs: it sends the state's
// text and settings by name and hands each answer back by name. Only the
// newest request is answered; a copy waits for the answer to the state it saw.
const velmorantClient = (() => {
  const $ = (id) => document.getElementById(id);
  const PREVIEW_CHARACTERS = 5000;
  // A longer code is shown cut, since the box lays out all it holds after every
  // change: a code of one long line stalled typing at 100,000. Copy takes it whole.
  const CODE_SHOWN = 10000;
  // The strip's colours, stretched to its width.
  const STRIP = 256;

  const handlers = {};
  let worker = null;
  let lastId = 0;
  let sentText = null;
  let latest = null; // the answer to the newest request, once it came
  let waiting = []; // copies waiting for the answer to the newest request
  let retried = 0; // the request sent again by itself after a fault

  function start({ ready, converted, stops }) {
    Object.assign(handlers, { ready, converted, stops });
    // The module is embedded, as a page opened from a file can fetch nothing; it
    // compiles here while the worker starts.
    worker = new Worker(URL.createObjectURL(new Blob([$('worker-source').textContent], { type: 'text/javascript' })));
    worker.onmessage = ({ data }) => receive(data);
    const encoded = atob($('module').textContent);
    const bytes = new Uint8Array(encoded.length);
    for (let i = 0; i < encoded.length; i++) bytes[i] = encoded.charCodeAt(i);
    WebAssembly.compile(bytes).then((module) => worker.postMessage({ type: 'module', module }));
  }

  let last = null; // the newest request, to send again after a fault
  function convert(text, settings, readBack = false) {
    for (const resolve of waiting) resolve(null); // copies clicked for older settings get no code
    waiting = [];
    latest = null;
    const message = { type: 'convert', id: ++lastId, settings, view: { previewCharacters: PREVIEW_CHARACTERS, codeShown: CODE_SHOWN, stripColours: STRIP } };
    if (text !== sentText) message.text = sentText = text;
    if (readBack) message.readBack = true;
    last = { text, settings, readBack };
    worker.postMessage(message);
    return message.id;
  }

  let stopsId = 0;
  function stops(colours, start, end) {
    worker.postMessage({ type: 'stops', id: ++stopsId, colours, start, end });
  }

  function receive(data) {
    if (data.type === 'ready') {
      handlers.ready(data.description);
    } else if (data.type === 'stops') {
      if (data.id === stopsId) handlers.stops(data);
    } else if (data.type === 'converted' && data.id === lastId) {
      // After a fault the worker has a fresh instance without the text: send
      // the newest request again, once.
      if (data.problems?.some((p) => p.problem === 'fault') && retried !== lastId) {
        sentText = null;
        convert(last.text, last.settings, last.readBack);
        retried = lastId;
        handlers.converted(null, true);
        return;
      }
      data.forText = last.text; // the preview's units are offsets into it
      latest = data;
      handlers.converted(data, false);
      for (const resolve of waiting) resolve(data);
      waiting = [];
    }
  }

  // The newest answer, or a promise of it; null when newer settings replace it first.
  const answer = () => latest ?? new Promise((resolve) => waiting.push(resolve));

  // The whole code of an answer, decoded once.
  function code(r) {
    if (!r?.code) return null;
    r.code.text ??= new TextDecoder().decode(r.code.bytes);
    return r.code.text;
  }

  return { start, convert, stops, answer, code, get pending() { return latest === null; } };
})();
