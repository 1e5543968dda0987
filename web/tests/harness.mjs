// What every browser test stands on: the built site served as a school's
// static server would serve it, and Debian's Chromium, headless, driven by
// puppeteer-core. Each test file runs on its own (node FILE); without a
// built site it exits 77, which CTest reports as skipped.
import { existsSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serve } from '../tools/serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const site = path.resolve(process.env.SPRINGLAB_SITE ?? path.join(here, '..', '..', 'build', 'web', 'site'));
if (!existsSync(path.join(site, 'index.html'))) {
    console.log(`no built page in ${site} (make web-site)`);
    process.exit(77);
}

// Debian's wrapper script only adds flags for a desktop session.
const chromium = ['/usr/lib/chromium/chromium', '/usr/bin/chromium'].find((p) => existsSync(p));

let server = null;
let browser = null;

export async function address() {
    server ??= await serve(site, 0);
    return `http://127.0.0.1:${server.address().port}/`;
}

export async function launch() {
    browser ??= await puppeteer.launch({
        executablePath: chromium,
        headless: true,
        args: ['--no-sandbox', '--disable-dev-shm-usage', '--autoplay-policy=no-user-gesture-required',
               '--font-render-hinting=none', '--lang=ja'],
    });
    return browser;
}

// A new page on the site, ready: `clock=manual` unless said otherwise, so
// the test fires every tick it counts. `base`: another server's address.
// `t`, the test, closes the page when it ends; without one the page stays
// open until the browser closes.
export async function openPage(t, options) {
    if (typeof t?.after !== 'function')
        return openPageWith(null, t ?? {});
    return openPageWith(t, options ?? {});
}

async function openPageWith(t, { width = 1280, height = 900, ratio = 1, query = 'clock=manual', language = 'ja', context = null, base = null }) {
    const b = await launch();
    const ctx = context ?? await b.createBrowserContext();
    const page = await ctx.newPage();
    t?.after(() => (context ? page.close() : ctx.close()));
    await page.setViewport({ width, height, deviceScaleFactor: ratio });
    await page.evaluateOnNewDocument((code) => {
        if (code && !localStorage.getItem('springlab.language'))
            localStorage.setItem('springlab.language', code);
    }, language);
    const errors = [];
    page.on('pageerror', (e) => errors.push(e));
    page.errors = errors;
    await page.goto(`${base ?? await address()}${query ? `?${query}` : ''}`);
    await page.waitForSelector('body[data-ready]');
    const ready = await page.$eval('body', (b) => b.dataset.ready);
    if (ready !== 'true')
        throw new Error(`the page did not start: ${await page.$eval('#app', (a) => a.textContent)}`);
    return page;
}

export async function finish() {
    await browser?.close();
    browser = null;
    await new Promise((resolve) => (server ? server.close(resolve) : resolve()));
    server = null;
}
