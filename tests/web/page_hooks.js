'use strict';
// The tests' build only, before the page's script: a trap on demand, a count of
// finished copies on the Copy button, and the page's own work as performance
// measures (its input handler, its render of a result, the worker's time).
(() => {
  let worker = null;
  const PageWorker = window.Worker;
  window.Worker = class extends PageWorker {
    constructor(...args) {
      super(...args);
      worker = this;
    }

    set onmessage(handler) {
      super.onmessage = (event) => {
        const began = performance.now();
        if (event.data.took !== undefined) document.getElementById('code').dataset.took = event.data.took;
        handler(event);
        performance.measure('velmorant-render', { start: began });
      };
    }
  };
  // The browser's own time reading the storage, which the page's share of opening leaves out.
  const getItem = Storage.prototype.getItem;
  window.velmorantStorageTime = 0;
  Storage.prototype.getItem = function get(key) {
    const began = performance.now();
    const value = getItem.call(this, key);
    window.velmorantStorageTime += performance.now() - began;
    return value;
  };
  let inputBegan = 0;
  document.addEventListener('input', () => { inputBegan = performance.now(); }, true);
  window.addEventListener('input', () => performance.measure('velmorant-input', { start: inputBegan }));
  const clipboard = navigator.clipboard;
  const write = clipboard.writeText.bind(clipboard);
  clipboard.writeText = async (text) => {
    await write(text);
    const copy = document.getElementById('copy');
    copy.dataset.copies = String(Number(copy.dataset.copies || 0) + 1);
  };
  // The newest conversion again, trapping in the core as running out of memory would, `times` times.
  window.velmorantTrap = (times = 1) => worker.postMessage({ trap: times });
})();
