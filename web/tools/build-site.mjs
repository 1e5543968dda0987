// Builds the page into one folder that any static web server can serve:
//   node web/tools/build-site.mjs BUILD_WEB_DIR
// takes the WebAssembly module that `make web` built in BUILD_WEB_DIR and
// writes BUILD_WEB_DIR/site: index.html, app.js (the page, bundled), the
// module, the icons, the knock and the offline files.
import { build } from 'esbuild';
import { copyFile, mkdir, readFile, rm, writeFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { writeServiceWorker } from './offline.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const web = path.resolve(here, '..');
const root = path.resolve(web, '..');
const apiDir = path.resolve(process.argv[2] ?? path.join(root, 'build', 'web'));
const site = path.join(apiDir, 'site');

// The program's own drawings, under the names the definitions give them.
const icons = { program: 'springlab.svg', rotation: 'rotation.svg', 'rubber-cord': 'rubber_cord.svg' };
// The program's icon as an installed app: the shelf's and the home screen's
// sizes (render-icons.sh draws them), and the iPad's opaque one, which
// index.html names.
const appIcons = [
    { file: 'springlab-192.png', src: 'icons/program-192.png', sizes: '192x192' },
    { file: 'springlab-512.png', src: 'icons/program-512.png', sizes: '512x512' },
];
const touchIcon = ['springlab-touch-180.png', 'icons/program-touch-180.png'];

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
    [path.join(root, 'resources', 'icons', 'png', touchIcon[0]), touchIcon[1]],
    ...Object.entries(icons).map(([name, file]) => [path.join(root, 'resources', 'icons', file), `icons/${name}.svg`]),
    ...appIcons.map((icon) => [path.join(root, 'resources', 'icons', 'png', icon.file), icon.src]),
];
for (const [from, to] of copies)
    await copyFile(from, path.join(site, to));

// What a device needs to install the page as an app. The name is the
// launcher's caption, as the module has it.
const { loadSpringLab } = await import(pathToFileURL(path.join(apiDir, 'springlab-api.mjs')).href);
const lab = await loadSpringLab({ wasmBinary: await readFile(path.join(apiDir, 'springlab-api-module.wasm')) });
const manifest = {
    name: lab.launcher.caption,
    short_name: lab.launcher.caption,
    description: 'SpringLab: four mass-spring experiments for the classroom',
    lang: 'ja',
    start_url: './',
    scope: './',
    display: 'standalone',
    // The title bars' and the desk's colours (style.css).
    theme_color: '#e1e6f0',
    background_color: '#c8ccd2',
    icons: appIcons.map(({ src, sizes }) => ({ src, sizes, type: 'image/png', purpose: 'any' })),
};
await writeFile(path.join(site, 'manifest.webmanifest'), `${JSON.stringify(manifest, null, 2)}\n`);

// Last: the worker lists every file above.
const { files } = await writeServiceWorker(site);
const bytes = (await Promise.all([...files, 'sw.js'].map((f) => readFile(path.join(site, f)))))
    .reduce((n, b) => n + b.length, 0);
console.log(`The page: ${path.relative(process.cwd(), site)}/ (${Math.round(bytes / 1024)} KiB)`);
