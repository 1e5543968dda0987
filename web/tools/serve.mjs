// Serves a folder as a plain static web server would (a school's server, a
// learning platform): files with their types, nothing computed.
//   node web/tools/serve.mjs FOLDER [PORT]
// PORT 0 takes a free port. The address goes to stdout on the first line.
import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import { createServer } from 'node:http';
import path from 'node:path';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.json': 'application/json',
    '.webmanifest': 'application/manifest+json',
    '.wasm': 'application/wasm',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
    '.wav': 'audio/wav',
    '.jsonl': 'application/x-ndjson',
};

export function serve(folder, port = 0, host = '127.0.0.1') {
    const root = path.resolve(folder);
    const server = createServer(async (request, response) => {
        try {
            const url = new URL(request.url ?? '/', 'http://localhost');
            let file = path.join(root, decodeURIComponent(url.pathname));
            if (!file.startsWith(root + path.sep) && file !== root)
                throw new Error('outside');
            if ((await stat(file)).isDirectory())
                file = path.join(file, 'index.html');
            const info = await stat(file);
            response.writeHead(200, {
                'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
                'Content-Length': info.size,
                'Cache-Control': 'no-cache',
            });
            createReadStream(file).pipe(response);
        } catch {
            response.writeHead(404, { 'Content-Type': 'text/plain' });
            response.end('not found\n');
        }
    });
    return new Promise((resolve) => {
        server.listen(port, host, () => resolve(server));
    });
}

if (process.argv[1] && path.resolve(process.argv[1]) === path.resolve(new URL(import.meta.url).pathname)) {
    const folder = process.argv[2] ?? 'build/web/site';
    const server = await serve(folder, Number(process.argv[3] ?? 8080));
    const { port } = server.address();
    console.log(`SpringLab in a browser: http://localhost:${port}/  (Ctrl+C stops)`);
}
