// Builds the page into one folder that any static web server can serve:
//   node web/tools/build-site.mjs BUILD_WEB_DIR
// takes the WebAssembly module that `make web` built in BUILD_WEB_DIR and
// writes BUILD_WEB_DIR/site: index.html, app.js (the page, bundled), the
// module, the icons, the knock and the offline files.
import { build } from 'esbuild';
import { copyFile, mkdir, readFile, rm } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const web = path.resolve(here, '..');
const root = path.resolve(web, '..');
const apiDir = path.resolve(process.argv[2] ?? path.join(root, 'build', 'web'));
const site = path.join(apiDir, 'site');

// The program's own drawings, under the names the definitions give them.
const icons = { program: 'springlab.svg', rotation: 'rotation.svg', 'rubber-cord': 'rubber_cord.svg' };

await rm(site, { recursive: true, force: true });
await mkdir(path.join(site, 'icons'), { recursive: true });

await build({
    entryPoints: [path.join(web, 'page', 'main.ts')],
    outfile: path.join(site, 'app.js'),
    bundle: true,
    format: 'esm',
    target: ['es2020'],
    minify: true,
    legalComments: 'none',
    alias: { 'springlab-api': path.join(apiDir, 'springlab-api.mjs') },
    logLevel: 'warning',
});

const copies = [
    [path.join(apiDir, 'springlab-api-module.wasm'), 'springlab-api-module.wasm'],
    [path.join(web, 'page', 'index.html'), 'index.html'],
    [path.join(web, 'page', 'style.css'), 'style.css'],
    [path.join(web, 'node_modules', 'uplot', 'dist', 'uPlot.min.css'), 'uplot.css'],
    [path.join(root, 'resources', 'sounds', 'bounce.wav'), 'bounce.wav'],
    ...Object.entries(icons).map(([name, file]) => [path.join(root, 'resources', 'icons', file), `icons/${name}.svg`]),
];
for (const [from, to] of copies)
    await copyFile(from, path.join(site, to));

const bytes = (await Promise.all(copies.map(([, to]) => readFile(path.join(site, to)))))
    .reduce((n, b) => n + b.length, (await readFile(path.join(site, 'app.js'))).length);
console.log(`The page: ${path.relative(process.cwd(), site)}/ (${Math.round(bytes / 1024)} KiB)`);
