// The files that let the page open without a network: the service worker,
// bundled over the list of every file of the built site, and its cache's
// name, which carries a hash of those files' contents. A build that changes
// any file is a new cache; one that changes nothing keeps the old one, so
// the pupils' devices fetch nothing again.
//   import { writeServiceWorker } from './offline.mjs';
//   await writeServiceWorker(site);   // after every other file is written
import { build } from 'esbuild';
import { createHash } from 'node:crypto';
import { readdir, readFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const web = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const WORKER = 'sw.js';

// Every file under `site` as a URL path relative to it, sorted, but the
// worker itself (the browser checks it for changes on its own) and dot
// files (a stamp or an editor's leftovers would make every build new).
export async function siteFiles(site) {
    const entries = await readdir(site, { recursive: true, withFileTypes: true });
    return entries
        .filter((e) => e.isFile())
        .map((e) => path.relative(site, path.join(e.parentPath ?? e.path, e.name)).split(path.sep).join('/'))
        .filter((f) => f !== WORKER && !f.split('/').some((part) => part.startsWith('.')))
        .sort();
}

// A hash of the files' names and contents.
export async function contentHash(site, files) {
    const hash = createHash('sha256');
    for (const file of files) {
        const bytes = await readFile(path.join(site, file));
        hash.update(`${file}\0${bytes.length}\0`);
        hash.update(bytes);
    }
    return hash.digest('hex').slice(0, 16);
}

// Writes site/sw.js; returns the precached files and the content hash.
export async function writeServiceWorker(site) {
    const files = await siteFiles(site);
    const version = await contentHash(site, files);
    await build({
        entryPoints: [path.join(web, 'page', 'sw.ts')],
        outfile: path.join(site, WORKER),
        bundle: true,
        format: 'iife',
        target: ['es2020'],
        minify: true,
        legalComments: 'none',
        define: { PRECACHE: JSON.stringify(files), VERSION: JSON.stringify(version) },
        logLevel: 'warning',
    });
    return { files, version };
}
