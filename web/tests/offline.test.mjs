// The page without a network: after the first visit its service worker
// holds every file, a reload with the network gone and the server stopped
// still opens the page and runs an experiment, a rebuilt site becomes a new
// cache (the old one deleted), and where a browser has no worker to give the
// page runs as before.
import assert from 'node:assert/strict';
import { appendFile, cp, mkdtemp, readFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { serve } from '../tools/serve.mjs';
import { contentHash, siteFiles, writeServiceWorker } from '../tools/offline.mjs';
import { finish, launch, openPage, site } from './harness.mjs';

after(finish);

// A copy of the built site on a server of its own, which the test stops and
// starts again on the same address (a worker belongs to its origin).
let folder;
let server;
let port = 0;
const base = () => `http://127.0.0.1:${port}/`;
async function start() {
    server = await serve(folder, port);
    port = server.address().port;
}
async function stop() {
    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
}
before(async () => {
    folder = await mkdtemp(path.join(os.tmpdir(), 'springlab-offline-'));
    await cp(site, folder, { recursive: true });
    await start();
});
after(async () => {
    if (server.listening)
        await stop();
});

// Waits in the page until its worker is active and controls it; returns the
// page's cache names.
function settled(page) {
    return page.evaluate(async () => {
        const sw = navigator.serviceWorker;
        const registration = await sw.ready;
        const active = registration.active;
        if (active.state !== 'activated')
            await new Promise((resolve) => active.addEventListener('statechange', () => active.state === 'activated' && resolve()));
        if (!sw.controller)
            await new Promise((resolve) => sw.addEventListener('controllerchange', resolve, { once: true }));
        return caches.keys();
    });
}

describe('offline', () => {
    let page;

    test('after the first visit the worker is active and holds every file of the site', async () => {
        // Not a private context: the browser installs no app from one. The
        // page lives on through the next tests, which close it.
        page = await openPage({ after() {} }, { base: base(), context: (await launch()).defaultBrowserContext() });
        const files = await siteFiles(folder);
        const names = await settled(page);
        assert.deepEqual(names, [`springlab ${base()} ${await contentHash(folder, files)}`]);
        const held = await page.evaluate(async (name) =>
            (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname.slice(1)), names[0]);
        assert.deepEqual(held.sort(), files);
        for (const needed of ['index.html', 'app.js', 'style.css', 'springlab-api-module.wasm', 'manifest.webmanifest'])
            assert.ok(files.includes(needed), needed);
    });

    test('the browser finds the page installable, under the launcher\'s caption', async () => {
        const cdp = await page.createCDPSession();
        assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
        const { manifest, errors } = await cdp.send('Page.getAppManifest');
        assert.deepEqual(errors, []);
        const caption = await page.evaluate(() => window.springlab.lab.launcher.caption);
        assert.equal(manifest.name, caption);
        assert.deepEqual(manifest.icons.map((i) => i.sizes), ['192x192', '512x512']);
        await cdp.detach();
    });

    test('with the network cut and the server stopped a reload opens the page and an experiment runs', async () => {
        await stop();
        await page.setOfflineMode(true);
        await page.reload();
        await page.waitForSelector('body[data-ready]');
        assert.equal(await page.$eval('body', (b) => b.dataset.ready), 'true');
        const run = await page.evaluate(() => {
            const panel = window.springlab.open('vibration');
            const canvas = panel.form.canvas;
            const shown = () => canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data.join();
            panel.step(1);
            const before = shown();
            panel.step(40);
            return { tick: panel.run.tick, error: panel.run.error, moved: shown() !== before };
        });
        assert.deepEqual(run, { tick: 41, error: null, moved: true });
        assert.deepEqual(page.errors, []);
    });

    test('a rebuilt site with a changed file is a new cache, and the old one goes', async () => {
        const old = await contentHash(folder, await siteFiles(folder));
        // The same files built again keep their cache.
        assert.equal((await writeServiceWorker(folder)).version, old);

        await appendFile(path.join(folder, 'style.css'), '\n/* rebuilt */\n');
        const { version } = await writeServiceWorker(folder);
        assert.notEqual(version, old);
        await start();
        await page.setOfflineMode(false);
        await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
        const names = await page.waitForFunction(async (wanted) => {
            const keys = await caches.keys();
            return keys.length === 1 && keys[0] === wanted && keys;
        }, { polling: 100 }, `springlab ${base()} ${version}`);
        assert.ok(await names.jsonValue());
        await page.reload();
        await page.waitForSelector('body[data-ready]');
        const css = await page.evaluate(async () => (await fetch('style.css')).text());
        assert.equal(css, await readFile(path.join(folder, 'style.css'), 'utf8'));
        await page.close();
    });
});

describe('where the browser gives no worker the page runs as before', () => {
    const cases = [
        { name: 'no serviceWorker at all', hide: 'absent' },
        { name: 'asking for it throws (an embed)', hide: 'throws' },
    ];
    for (const { name, hide } of cases) {
        test(name, async () => {
            const context = await (await launch()).createBrowserContext();
            const page = await context.newPage();
            await page.evaluateOnNewDocument((how) => {
                Object.defineProperty(Navigator.prototype, 'serviceWorker', {
                    configurable: true,
                    get() {
                        if (how === 'throws')
                            throw new DOMException('The document is sandboxed', 'SecurityError');
                        return undefined;
                    },
                });
            }, hide);
            const errors = [];
            page.on('pageerror', (e) => errors.push(e));
            await page.goto(`${base()}?clock=manual`);
            await page.waitForSelector('body[data-ready]');
            assert.equal(await page.$eval('body', (b) => b.dataset.ready), 'true');
            assert.deepEqual(errors, []);
            await context.close();
        });
    }
});
