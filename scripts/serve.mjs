// A small static server for trying the installable page: on 127.0.0.1 only,
// GET and HEAD only, files under ROOT only, no listings. http://localhost
// counts as a secure origin, so the manifest and the service worker work here
// as they do over https.
// Usage: node serve.mjs ROOT [PORT]     (make serve; Ctrl-C stops it)
import { createReadStream, realpathSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
};

// Resolves with the listening server; port 0 picks a free one.
export function serve(root, port = 0) {
  const base = realpathSync(root);
  const server = createServer((request, response) => {
    const reply = (status, type = 'text/plain; charset=utf-8', length) => {
      response.writeHead(status, { 'Content-Type': type, ...(length === undefined ? {} : { 'Content-Length': length }),
        'Cache-Control': 'no-cache', 'X-Content-Type-Options': 'nosniff' });
    };
    if (request.method !== 'GET' && request.method !== 'HEAD') return reply(405), response.end();
    let file;
    try {
      const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
      file = realpathSync(join(base, path.endsWith('/') ? `${path}index.html` : path));
    } catch {
      return reply(404), response.end();
    }
    const type = TYPES[extname(file)];
    if (!file.startsWith(base + sep) || !type || !statSync(file).isFile()) return reply(404), response.end();
    reply(200, type, statSync(file).size);
    if (request.method === 'HEAD') return response.end();
    createReadStream(file).pipe(response);
  });
  // A stopped server must not wait on a browser's kept-alive connections.
  server.keepAliveTimeout = 1000;
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [root, port = '8000'] = process.argv.slice(2);
  const server = await serve(root, Number(port));
  console.log(`Serving ${root} on http://localhost:${server.address().port}/ (Ctrl-C stops it)`);
}
