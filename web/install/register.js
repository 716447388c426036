
// Installs as an app where a browser lets a page do so: over https, or over
// http from this machine. Opened from a file the page stays as it always was,
// with no manifest and no service worker, so nothing reaches for a file beside it.
(() => {
  const local = location.protocol === 'http:' && ['localhost', '127.0.0.1', '[::1]'].includes(location.hostname);
  if ((location.protocol !== 'https:' && !local) || !('serviceWorker' in navigator)) return;
  // The manifest only once the worker is in: the single file hosted on its own
  // names no manifest it does not have.
  navigator.serviceWorker.register('sw.js').then(() => {
    const link = document.createElement('link');
    link.rel = 'manifest';
    link.href = 'manifest.webmanifest';
    document.head.append(link);
  }, () => {});
})();
