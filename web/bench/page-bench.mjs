// How fast the page is in Debian's Chromium (headless) on this machine, on
// the real clock: the longest rubber cord's ticks and frames a second, what
// each experiment costs the processor at 100 ticks a second, the first load,
// and the site's size. `make bench` runs it after the native benchmarks;
// docs/performance.md keeps the figures.
//   node web/bench/page-bench.mjs [OUT.md]      (BENCH_SECONDS: 5)
// Writes the table to stdout and to OUT.md (default build/web/page-bench.md).
import { execFileSync } from 'node:child_process';
import { readFile, stat, writeFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { gzipSync } from 'node:zlib';
import { siteFiles } from '../tools/offline.mjs';
import { address, finish, launch, openPage, site } from '../tests/harness.mjs';

const seconds = Number(process.env.BENCH_SECONDS ?? 5);
const out = process.argv[2] ?? path.join(site, '..', 'page-bench.md');
const INTERVAL = '10';  // ms: 100 ticks a second
const WARM_UP_MS = 4000;
// The harness closes a test's pages after it; here each measure closes its own.
const NO_TEST = { after() {} };
const targets = { cordTicks: 97, cordFrames: 50, cpu: 20, load: 1000, size: 1.5 * 1024 * 1024 };

// A page on the real clock at 100 % zoom and pixel ratio 1, with the
// experiment open at `texts` (parameter key -> box text), typed into its
// boxes and applied with its command button as a teacher would. The page's
// step and draw are wrapped to count and time them.
async function running(name, texts) {
    const page = await openPage(NO_TEST, { query: '', ratio: 1 });
    const error = await page.evaluate((n, t) => {
        const app = window.springlab;
        app.setZoom(100);
        const panel = app.open(n);
        for (const p of panel.definition.parameters)
            if (p.key in t)
                panel.form.boxes.get(p.box).value = t[p.key];
        panel.form.buttons.values().next().value.click();
        const costs = { steps: 0, stepMs: 0, draws: 0, drawMs: 0, late: 0 };
        // Display frames more than four intervals apart: the clock runs at
        // most four ticks a frame and drops the rest, as a desktop timer
        // drops the timeouts it missed.
        let last = performance.now();
        const watch = (now) => {
            if (now - last > 40)
                ++costs.late;
            last = now;
            requestAnimationFrame(watch);
        };
        requestAnimationFrame(watch);
        const run = panel.run;
        const step = run.step.bind(run);
        run.step = () => {
            const start = performance.now();
            try { return step(); } finally { costs.stepMs += performance.now() - start; ++costs.steps; }
        };
        const picture = panel.picture;
        const draw = picture.draw.bind(picture);
        picture.draw = (...args) => {
            const start = performance.now();
            draw(...args);
            costs.drawMs += performance.now() - start;
            ++costs.draws;
        };
        // An experiment that comes to rest by itself (two balls) is started
        // again with its 変更, as a teacher keeps it going.
        panel.listeners.add(() => {
            if (panel.run.stopped && panel.run.error === null)
                queueMicrotask(() => panel.apply());
        });
        window.benchCosts = costs;
        return run.error;
    }, name, texts);
    if (error)
        throw new Error(`${name}: ${JSON.stringify(error)}`);
    // The first seconds belong to the worker copying the site and to the
    // browser compiling the module's optimized code in the background.
    await page.evaluate(async () => {
        const active = (await navigator.serviceWorker.ready).active;
        if (active.state !== 'activated')
            await new Promise((resolve) => active.addEventListener('statechange', resolve));
    });
    return page;
}

// Runs `page` for the measuring time after a warm-up and returns
// ticks and frames a second, the main thread's busy share (CDP Performance
// metrics) and the renderer's and GPU process's whole processor time.
async function measure(page, name) {
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable', { timeDomain: 'threadTicks' });
    const browserCdp = await page.browser().target().createCDPSession();
    const metrics = async () => Object.fromEntries((await cdp.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
    // Processor seconds by process id, the browser's own process left out;
    // processes of pages closed meanwhile drop out of the difference.
    const processes = async () => {
        const { processInfo } = await browserCdp.send('SystemInfo.getProcessInfo');
        return new Map(processInfo.filter((p) => p.type !== 'browser').map((p) => [p.id, p.cpuTime]));
    };
    const spent = (a, b) => [...b].reduce((sum, [id, cpu]) => sum + cpu - (a.get(id) ?? 0), 0);
    const sample = async () => ({
        metrics: await metrics(),
        cpu: await processes(),
        page: await page.evaluate((n) => ({
            now: performance.now(), tick: window.springlab.panelOf(n).run.tick, ...window.benchCosts,
        }), name),
    });
    await new Promise((resolve) => setTimeout(resolve, WARM_UP_MS));
    const a = await sample();
    await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
    const b = await sample();
    const wall = (b.page.now - a.page.now) / 1000;
    const steps = b.page.steps - a.page.steps;
    const draws = b.page.draws - a.page.draws;
    await cdp.detach();
    await browserCdp.detach();
    return {
        ticksPerSecond: (b.page.tick - a.page.tick) / wall,
        framesPerSecond: draws / wall,
        late: (b.page.late - a.page.late) / wall,
        stepMs: steps ? (b.page.stepMs - a.page.stepMs) / steps : 0,
        drawMs: draws ? (b.page.drawMs - a.page.drawMs) / draws : 0,
        task: (b.metrics.TaskDuration - a.metrics.TaskDuration) / wall,
        script: (b.metrics.ScriptDuration - a.metrics.ScriptDuration) / wall,
        processes: spent(a.cpu, b.cpu) / wall,
    };
}

// The largest cord the node count's box takes: the count is a 16-bit
// integer in the model, so one more must be refused.
async function largestCord() {
    const page = await openPage(NO_TEST);
    const found = await page.evaluate(() => {
        const lab = window.springlab.lab;
        const nodes = lab.definition('rubber-cord').parameters.find((p) => p.key === 'nodes');
        const tries = (text) => {
            const run = lab.make('rubber-cord');
            run.setText(nodes.key, text);
            const ok = run.init();
            run.free();
            return ok;
        };
        let largest = 1;
        // Doubling, then halving the gap: the box takes every count up to
        // its largest.
        while (largest < 1 << 20 && tries(String(largest * 2))) largest *= 2;
        for (let step = largest / 2; step >= 1; step /= 2)
            if (tries(String(largest + step))) largest += step;
        return largest;
    });
    await page.close();
    return found;
}

// What one tick and one frame of the longest cord cost the page, each
// timed alone on the manual clock: the least of 60 is the work itself, the
// median what a busy machine made of it.
async function cordWork(nodes) {
    const page = await openPage(NO_TEST);
    const work = await page.evaluate((count) => {
        const app = window.springlab;
        app.setZoom(100);
        const panel = app.open('rubber-cord');
        const key = panel.definition.parameters.find((p) => p.key === 'nodes');
        panel.form.boxes.get(key.box).value = String(count);
        panel.apply();
        panel.step(5);
        const ticks = [];
        const frames = [];
        for (let i = 0; i < 60; ++i) {
            let start = performance.now();
            panel.run.step();
            ticks.push(performance.now() - start);
            start = performance.now();
            panel.frame(true);
            frames.push(performance.now() - start);
        }
        const figures = (a) => {
            a.sort((x, y) => x - y);
            return { least: a[0], median: a[a.length >> 1] };
        };
        return { tick: figures(ticks), frame: figures(frames), error: panel.run.error };
    }, nodes);
    await page.close();
    if (work.error)
        throw new Error(`rubber-cord: ${JSON.stringify(work.error)}`);
    return work;
}

// From the navigation's start to the page's data-ready, `count` times in a
// fresh browser context (nothing cached), and once more on a reload when
// the worker answers.
async function firstLoads(count) {
    const browser = await launch();
    const cold = [];
    const busy = [];  // the main thread's processor time until ready, ms
    let warm = null;
    for (let i = 0; i < count; ++i) {
        const context = await browser.createBrowserContext();
        const page = await context.newPage();
        await page.evaluateOnNewDocument(() => {
            new MutationObserver((_, observer) => {
                if (document.body?.dataset['ready']) {
                    window.readyAt = performance.now();
                    observer.disconnect();
                }
            }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
        });
        const cdp = await page.createCDPSession();
        await cdp.send('Performance.enable', { timeDomain: 'threadTicks' });
        await page.goto(`${await address()}?clock=manual`);
        await page.waitForFunction(() => window.readyAt !== undefined);
        cold.push(await page.evaluate(() => window.readyAt));
        const metrics = (await cdp.send('Performance.getMetrics')).metrics;
        busy.push(1000 * metrics.find((m) => m.name === 'TaskDuration').value);
        await cdp.detach();
        if (i === count - 1) {
            await page.evaluate(async () => { await navigator.serviceWorker.ready; });
            await page.reload();
            await page.waitForFunction(() => window.readyAt !== undefined);
            warm = await page.evaluate(() => window.readyAt);
        }
        await context.close();
    }
    const median = (a) => a.sort((x, y) => x - y)[a.length >> 1];
    return { median: median(cold), worst: Math.max(...cold), busy: median(busy), warm };
}

async function siteSize() {
    const files = [...await siteFiles(site), 'sw.js'].filter((f) => !/\.(woff2?|ttf|otf)$/i.test(f) && !f.startsWith('fonts/'));
    let bytes = 0;
    let gzipped = 0;
    for (const f of files) {
        bytes += (await stat(path.join(site, f))).size;
        gzipped += gzipSync(await readFile(path.join(site, f))).length;
    }
    return { bytes, gzipped, files: files.length };
}

const loadBefore = os.loadavg().map((x) => x.toFixed(1)).join(' ');
const processor = execFileSync('lscpu', { encoding: 'utf8' }).match(/^Model name:\s*(.*)$/m)?.[1] ?? 'unknown';
const browserVersion = await (await launch()).version();
const rows = [];
const mark = (ok) => (ok ? 'yes' : '**no**');
const f1 = (x) => x.toFixed(1);

const nodes = await largestCord();
{
    const page = await running('rubber-cord', { timer: INTERVAL, nodes: String(nodes) });
    const m = await measure(page, 'rubber-cord');
    await page.close();
    rows.push([`Rubber cord, ${nodes} nodes: ticks a second`, f1(m.ticksPerSecond), `≥ ${targets.cordTicks}`, mark(m.ticksPerSecond >= targets.cordTicks)]);
    rows.push([`Rubber cord, ${nodes} nodes: frames a second`, f1(m.framesPerSecond), `≥ ${targets.cordFrames}`, mark(m.framesPerSecond >= targets.cordFrames)]);
    rows.push(['… one tick, one frame as they ran (wall)', `${m.stepMs.toFixed(2)} ms, ${m.drawMs.toFixed(2)} ms`, '', '']);
    rows.push(['… display frames over 40 ms apart, a second', f1(m.late), '', '']);
    const work = await cordWork(nodes);
    const ms = (x) => `${x.toFixed(2)} ms`;
    rows.push(['… one tick alone: least / median of 60', `${ms(work.tick.least)} / ${ms(work.tick.median)}`, '', '']);
    rows.push(['… one frame alone (rasterize + show): least / median', `${ms(work.frame.least)} / ${ms(work.frame.median)}`, '', '']);
    const budget = 100 * work.tick.least + 60 * work.frame.least;
    rows.push(['… 100 ticks + 60 frames need of one core', `${(budget / 10).toFixed(0)} %`, '< 100 %', mark(budget < 1000)]);
    rows.push(['… main thread busy / script', `${f1(100 * m.task)} % / ${f1(100 * m.script)} %`, '', '']);
    rows.push(['… renderer, GPU processes', `${f1(100 * m.processes)} %`, '', '']);
}
for (const name of ['vibration', 'rotation', 'two-balls', 'rubber-cord']) {
    const page = await running(name, { timer: INTERVAL });
    const m = await measure(page, name);
    await page.close();
    rows.push([`${name} (defaults, interval ${INTERVAL}): main thread busy`, `${f1(100 * m.task)} %`, `< ${targets.cpu} %`, mark(100 * m.task < targets.cpu)]);
    rows.push([`… script / renderer, GPU processes`, `${f1(100 * m.script)} % / ${f1(100 * m.processes)} %`, '', '']);
    rows.push([`… ticks, frames, frames over 40 ms apart a second; one tick, one frame`,
               `${f1(m.ticksPerSecond)}, ${f1(m.framesPerSecond)}, ${f1(m.late)}; ${m.stepMs.toFixed(3)} ms, ${m.drawMs.toFixed(3)} ms`, '', '']);
}
const load = await firstLoads(5);
rows.push(['First load, localhost: navigation to data-ready (median of 5)', `${Math.round(load.median)} ms`, `< ${targets.load} ms`, mark(load.median < targets.load)]);
rows.push(['… slowest of 5 / reload from the worker\'s cache', `${Math.round(load.worst)} ms / ${Math.round(load.warm)} ms`, '', '']);
rows.push(['… the main thread\'s processor time until ready (median)', `${Math.round(load.busy)} ms`, '', '']);
const size = await siteSize();
rows.push([`Site without fonts (${size.files} files)`, `${(size.bytes / 1024).toFixed(0)} KiB`, `< ${targets.size / 1024} KiB`, mark(size.bytes < targets.size)]);
rows.push(['… compressed (gzip)', `${(size.gzipped / 1024).toFixed(0)} KiB`, '', '']);

await finish();

const table = [
    `Processor: ${processor} (${os.cpus().length} cores); ${browserVersion} headless; ${seconds} s a figure; `
        + `load average ${loadBefore} before, ${os.loadavg().map((x) => x.toFixed(1)).join(' ')} after`,
    '',
    '| Measure | Result | Target | Met |',
    '|---|---:|---:|:-:|',
    ...rows.map((r) => `| ${r.join(' | ')} |`),
    '',
].join('\n');
process.stdout.write(table);
await writeFile(out, table);
