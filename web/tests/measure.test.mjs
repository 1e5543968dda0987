// The measurement panel in Chromium: its CSV is `springlab run`'s to the
// byte, a 変更 starts its recording again, pause holds the ticks and → steps
// one, closing gives the experiment back running, both languages.
import assert from 'node:assert/strict';
import { after, describe, test } from 'node:test';
import { catchDownloads, chooseMenu, download, native, scratch } from './downloads.mjs';
import { finish, openPage } from './harness.mjs';

after(finish);

// Opens the experiment's measurement from the 計測 menu, as a teacher does.
async function measure(page, name) {
    const text = await page.evaluate((n) => {
        const app = window.springlab;
        const button = app.lab.launcher.controls.find((c) => c.name === app.lab.definition(n).launcherButton);
        return app.lab.translate(document.documentElement.lang, 'frmMain', button.text);
    }, name);
    await chooseMenu(page, 'measure', text);
    await page.waitForSelector(`.measurement[data-measurement="${name}"]`);
    await catchDownloads(page);
}

const step = (page, name, ticks) => page.evaluate((n, t) => window.springlab.panelOf(n).step(t), name, ticks);

describe('the CSV is the bytes springlab run writes', () => {
    const cases = [
        { name: 'rotation', ticks: 40 },
        { name: 'vibration', ticks: 123 },
        { name: 'two-balls', ticks: 300 },
        { name: 'rubber-cord', ticks: 25 },
    ];
    for (const c of cases) {
        test(`${c.name}, ${c.ticks} ticks`, async () => {
            const page = await openPage();
            await measure(page, c.name);
            await step(page, c.name, c.ticks);
            await page.click(`.measurement [data-action="csv"]`);
            const csv = await download(page, 0);
            assert.equal(csv.name, `${c.name}.csv`);
            const expected = native(['run', c.name, '--ticks', String(c.ticks), '--csv', `${c.name}.csv`], `${c.name}.csv`);
            assert.ok(csv.bytes.equals(expected), `${csv.bytes.length} bytes, ${expected.length} expected`);
            // The two balls come to rest before 300 ticks, and the run ends there.
            const rows = expected.toString('utf8').split('\n').filter((l) => /^\d/.test(l)).length;
            assert.match(await page.$eval('.measurement .status', (e) => e.textContent), new RegExp(`^記録: ${rows} ティック`));
            assert.deepEqual(page.errors, []);
            await page.close();
        });
    }

    test('a 変更 starts the recording again, from tick 1 with the new texts', async () => {
        const page = await openPage();
        await measure(page, 'vibration');
        await step(page, 'vibration', 30);
        const box = await page.evaluate(() => window.springlab.lab.definition('vibration').parameters.find((p) => p.key === 'mass').box);
        const selector = `.panel[data-experiment="vibration"] [data-control="${box}"]`;
        await page.click(selector, { clickCount: 3 });
        await page.type(selector, '250');
        await page.keyboard.press('Enter');
        await step(page, 'vibration', 50);
        await page.click('.measurement [data-action="csv"]');
        const csv = await download(page, 0);
        const expected = native(['run', 'vibration', '--set', 'mass=250', '--ticks', '50', '--csv', 'v250.csv'], 'v250.csv');
        assert.ok(csv.bytes.equals(expected));
        await page.close();
    });
});

describe('pause, single step and close', () => {
    test('Space holds the ticks, → runs one, closing lets it run', async () => {
        const page = await openPage();
        // Opened from the button in the experiment's title bar this time.
        await page.evaluate(() => { window.springlab.open('two-balls'); });
        await page.click('.panel[data-experiment="two-balls"] .tools .measure');
        await page.waitForSelector('.measurement[data-measurement="two-balls"]');
        await step(page, 'two-balls', 10);
        const state = () => page.evaluate(() => {
            const p = window.springlab.panelOf('two-balls');
            const m = window.springlabTools.measurements.of('two-balls');
            return {
                tick: p.run.tick, ticking: p.interval() > 0, paused: p.paused,
                banner: m ? !m.element.querySelector('.paused-banner').hidden : null,
                bannerText: m?.element.querySelector('.paused-banner').textContent,
                button: m?.element.querySelector('[data-action="pause"]').textContent,
            };
        });
        await page.focus('.measurement');
        await page.keyboard.press('Space');
        assert.deepEqual(await state(), { tick: 10, ticking: false, paused: true, banner: true, bannerText: '一時停止中', button: '再開' });
        await page.keyboard.press('ArrowRight');
        await page.keyboard.press('ArrowRight');
        assert.deepEqual(await state(), { tick: 12, ticking: false, paused: true, banner: true, bannerText: '一時停止中', button: '再開' });
        await page.keyboard.press('Space');
        assert.deepEqual(await state(), { tick: 12, ticking: true, paused: false, banner: false, bannerText: '一時停止中', button: '一時停止' });
        await step(page, 'two-balls', 3);
        // → on a running experiment pauses it first, as the desktop's.
        await page.click('.measurement [data-action="step"]');
        assert.deepEqual(await state(), { tick: 16, ticking: false, paused: true, banner: true, bannerText: '一時停止中', button: '再開' });
        // The recording keeps the pauses and the steps as the desktop's does.
        const events = (await page.evaluate(() => window.springlab.panelOf('two-balls').run.recording()))
            .trim().split('\n').slice(1).map((l) => JSON.parse(l)).filter((e) => !e.change);
        assert.deepEqual(events, [
            { tick: 10, pause: true }, { tick: 11, step: true }, { tick: 12, step: true },
            { tick: 12, resume: true }, { tick: 15, pause: true }, { tick: 16, step: true }, { tick: 16, end: true },
        ]);
        await page.click('.measurement .close');
        assert.deepEqual(await state(), { tick: 16, ticking: true, paused: false, banner: null });
        await page.close();
    });
});

describe('what the graph shows goes to the clipboard and into a picture', () => {
    test('the shown columns, tab-separated, numbers as in the CSV', async () => {
        const page = await openPage();
        await page.browserContext().overridePermissions(new URL(page.url()).origin, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
        await measure(page, 'vibration');
        await step(page, 'vibration', 5);
        // Only the first two quantities.
        await page.evaluate(() => {
            const m = window.springlabTools.measurements.of('vibration');
            m.quantities.forEach((_, i) => m.showCurve(i, i < 2));
        });
        await page.click('.measurement [data-action="copy"]');
        const text = await page.evaluate(() => navigator.clipboard.readText());
        const csv = (await page.evaluate(() => new TextDecoder('utf-8', { ignoreBOM: true }).decode(window.springlab.panelOf('vibration').run.csv())))
            .split('\n').filter((l) => /^\d/.test(l));
        const q = await page.evaluate(() => window.springlab.lab.definition('vibration').quantities.slice(0, 2));
        assert.equal(text, [`時刻 [tick]\t${q[0].name} [${q[0].unit}]\t${q[1].name} [${q[1].unit}]`,
                             ...csv.map((l) => l.split(',').slice(0, 3).join('\t')), ''].join('\n'));
        await page.click('.measurement [data-action="graph"]');
        const png = await download(page, 0);
        assert.equal(png.name, 'vibration.png');
        assert.equal(png.type, 'image/png');
        assert.ok(png.bytes.subarray(0, 8).equals(Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a])));
        await page.close();
    });
});

describe('both languages', () => {
    const cases = [
        { language: 'ja', title: (caption) => `${caption}の計測`, pause: '一時停止', first: (q) => q.name },
        { language: 'en', title: (caption) => `${caption} — Measurement`, pause: 'Pause', first: (q) => q.nameEn },
    ];
    for (const c of cases) {
        test(c.language, async () => {
            const page = await openPage({ language: c.language, width: 1700 });
            await page.evaluate(() => window.springlab.setZoom(100));
            await measure(page, 'two-balls');
            await step(page, 'two-balls', 400);
            const shown = await page.evaluate(() => {
                const app = window.springlab;
                const d = app.lab.definition('two-balls');
                const m = window.springlabTools.measurements.of('two-balls');
                m.refresh();
                return {
                    caption: app.panelOf('two-balls').caption,
                    title: m.element.querySelector('.caption').textContent,
                    pause: m.element.querySelector('[data-action="pause"]').textContent,
                    label: m.element.querySelector('.quantities label').textContent,
                    quantity: d.quantities[0],
                };
            });
            assert.equal(shown.title, c.title(shown.caption));
            assert.equal(shown.pause, c.pause);
            assert.equal(shown.label, `${c.first(shown.quantity)} [${shown.quantity.unit}]`);
            await page.focus('.measurement');
            await page.keyboard.press('Space');
            await (await page.$('.measurement')).screenshot({ path: `${scratch}/measurement-${c.language}.png` });
            console.log(`screenshot: ${scratch}/measurement-${c.language}.png`);
            await page.close();
        });
    }
});
