// The page in Debian's Chromium: the launcher opens every experiment, the
// runs are the desktop's to the byte, the pointer lands on the right twips,
// errors stop one panel only, both languages.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, describe, test } from 'node:test';
import { finish, openPage } from './harness.mjs';

after(finish);

const cli = process.env.SPRINGLAB_NATIVE_CLI;  // the desktop's springlab
const scratch = mkdtempSync(path.join(os.tmpdir(), 'springlab-page-'));

// What `springlab run` writes for a run of the defaults.
function native(name, ticks, option, file) {
    const out = path.join(scratch, `${name}-${ticks}-${file}`);
    execFileSync(cli, ['run', name, '--ticks', String(ticks), option, out], { stdio: 'pipe' });
    return readFileSync(out, 'utf8');
}

const experiments = ['rotation', 'vibration', 'two-balls', 'rubber-cord'];

describe('the launcher opens each experiment, which animates as the desktop runs it', () => {
    for (const name of experiments) {
        test(name, async (t) => {
            const page = await openPage(t);
            // Opened by its launcher button, as a pupil opens it.
            const button = await page.evaluate((n) => {
                const app = window.springlab;
                return app.lab.definition(n).launcherButton;
            }, name);
            await page.click(`.launcher [data-control="${button}"]`);
            const panel = await page.$(`.panel[data-experiment="${name}"]`);
            assert.ok(panel, 'a panel opens');
            const caption = await page.$eval(`.panel[data-experiment="${name}"] .caption`, (e) => e.textContent);
            const expected = await page.evaluate((n) => {
                const d = window.springlab.lab.definition(n);
                return window.springlab.lab.translate('ja', d.formName, d.caption);
            }, name);
            assert.equal(caption, expected);

            const before = await page.evaluate((n) => window.springlab.panelOf(n).run.pictureSvg(), name);
            const ticks = 57;
            const svg = await page.evaluate((n, t) => {
                const p = window.springlab.panelOf(n);
                p.step(t);
                return { svg: p.run.pictureSvg(), tick: p.run.tick };
            }, name, ticks);
            assert.equal(svg.tick, ticks);
            assert.notEqual(svg.svg, before, 'the picture moves');
            assert.equal(svg.svg, native(name, ticks, '--picture', 'picture.svg'));

            // The canvas shows the module's pixels, whole.
            const shown = await page.evaluate((n) => {
                const p = window.springlab.panelOf(n);
                const c = p.form.canvas;
                const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
                const s = window.springlab.scale();
                const wanted = p.run.raster(c.width, c.height, (s.zoom * window.devicePixelRatio) / s.twipsPerPixel);
                let differ = 0;
                for (let i = 0; i < data.length; ++i)
                    if (data[i] !== wanted[i]) ++differ;
                return { differ, width: c.width };
            }, name);
            assert.equal(shown.differ, 0);
            assert.deepEqual(page.errors, []);
        });
    }
});

describe('a press lands on the twips under the pointer', () => {
    const cases = [
        { name: '100 %', zoom: 100, ratio: 1 },
        { name: '200 %', zoom: 200, ratio: 1 },
        { name: '100 % at pixel ratio 2', zoom: 100, ratio: 2 },
        { name: '150 % at pixel ratio 2', zoom: 150, ratio: 2 },
    ];
    for (const c of cases) {
        test(c.name, async (t) => {
            const page = await openPage(t, { ratio: c.ratio, width: 1800, height: 1200 });
            await page.evaluate((z) => window.springlab.setZoom(z), c.zoom);
            await page.evaluate(() => { window.springlab.open('two-balls'); });
            const form = await page.$('.panel[data-experiment="two-balls"] .form');
            const box = await form.boundingBox();
            // The two balls take a press as where to drop the ball from: it
            // shows in the recording as the twips the page handed over.
            const at = { x: 3000, y: 1500 };
            const px = { x: (at.x * c.zoom) / 100 / 15, y: (at.y * c.zoom) / 100 / 15 };
            await page.mouse.click(box.x + px.x, box.y + px.y);
            const recording = await page.evaluate(() => window.springlab.panelOf('two-balls').run.recording());
            const press = recording.split('\n').map((l) => l && JSON.parse(l)).find((e) => e && e.press);
            assert.ok(press, recording);
            assert.ok(Math.abs(press.press[0] - at.x) <= 15 / 2, `${press.press} for ${at.x}`);
            assert.ok(Math.abs(press.press[1] - at.y) <= 15 / 2, `${press.press} for ${at.y}`);
        });
    }

    test('a finger drags the rotation\'s mass', async (t) => {
        const page = await openPage(t);
        await page.evaluate(() => {
            window.springlab.setZoom(100);
            window.springlab.open('rotation');
        });
        const form = await page.$('.panel[data-experiment="rotation"] .form');
        const box = await form.boundingBox();
        const cdp = await page.createCDPSession();
        const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent', {
            type, touchPoints: type === 'touchEnd' ? [] : [{ x: box.x + x, y: box.y + y }],
        });
        await touch('touchStart', 100, 100);
        await touch('touchMove', 160, 130);
        await touch('touchEnd');
        const recording = await page.evaluate(() => window.springlab.panelOf('rotation').run.recording());
        const moves = recording.split('\n').filter((l) => l.includes('"move"')).map((l) => JSON.parse(l).move);
        assert.ok(moves.some(([x, y]) => Math.abs(x - 2400) <= 15 && Math.abs(y - 1950) <= 15), recording);
    });
});

describe('a bad value stops only its own panel, and 変更 starts it again', () => {
    test('vibration with no mass', async (t) => {
        const page = await openPage(t);
        await page.evaluate(() => {
            window.springlab.open('vibration');
            window.springlab.open('two-balls');
        });
        const massBox = await page.evaluate(() => {
            const d = window.springlab.lab.definition('vibration');
            return d.parameters.find((p) => p.key === 'mass').box;
        });
        const box = `.panel[data-experiment="vibration"] [data-control="${massBox}"]`;
        await page.click(box, { clickCount: 3 });
        await page.type(box, '0');
        await page.keyboard.press('Enter');
        const state = await page.evaluate(() => {
            const app = window.springlab;
            const v = app.panelOf('vibration');
            // The first tick divides by the mass.
            app.clock.frame(0);
            app.clock.frame(1000);
            return { text: v.errorText, running: v.isRunning, other: app.panelOf('two-balls').isRunning };
        });
        assert.match(state.text, /^実行時エラー '\d+':/);
        assert.match(state.text, /「バネの振動」のタイマーを止めました。/);
        assert.equal(state.running, false);
        assert.equal(state.other, true);
        await page.click(box, { clickCount: 3 });
        await page.type(box, '5');
        await page.keyboard.press('Enter');
        assert.deepEqual(await page.evaluate(() => {
            const v = window.springlab.panelOf('vibration');
            return [v.errorText, v.isRunning];
        }), [null, true]);
    });
});

describe('both languages, remembered', () => {
    test('English, then Japanese after a reload', async (t) => {
        const page = await openPage(t, { language: 'en' });
        const caption = await page.$eval('.launcher .caption', (e) => e.textContent);
        assert.equal(caption, await page.evaluate(() => window.springlab.lab.translate('en', 'frmMain', 'バネ関係')));
        assert.notEqual(caption, 'バネ関係');
        await page.evaluate(() => window.springlab.setLanguage('ja'));
        await page.reload();
        await page.waitForSelector('body[data-ready]');
        assert.equal(await page.$eval('.launcher .caption', (e) => e.textContent), 'バネ関係');
    });
});

describe('the timer box paces the ticks, one per interval', () => {
    // Frames at 60 a second for two seconds, then a gap (the tab hidden for
    // a minute), then two more frames.
    const frames = [...Array.from({ length: 121 }, (_, i) => (i * 1000) / 60), 62000, 62000 + 1000 / 60];
    const cases = [
        { name: '10 ms: 200 ticks in two seconds, one after the gap', timer: '10', ticks: [200, 201, 202] },
        { name: '50 ms', timer: '50', ticks: [40, 41, 41] },
        { name: '16 ms beats the frames', timer: '16', ticks: [125, 126, 127] },
        { name: '0 stops it', timer: '0', ticks: [0, 0, 0] },
    ];
    for (const c of cases) {
        test(c.name, async (t) => {
            const page = await openPage(t);
            const ticks = await page.evaluate((timer, times) => {
                const app = window.springlab;
                const panel = app.open('vibration');
                const box = panel.definition.parameters.find((p) => p.key === 'timer').box;
                panel.form.boxes.get(box).value = timer;
                panel.apply();
                const seen = [];
                times.forEach((t, i) => {
                    app.clock.frame(t);
                    if (i >= times.length - 3)
                        seen.push(panel.run.tick);
                });
                return seen;
            }, c.timer, frames);
            assert.deepEqual(ticks, c.ticks);
        });
    }
});

describe('Tab walks the boxes in the window\'s order', () => {
    for (const name of experiments) {
        test(name, async (t) => {
            const page = await openPage(t);
            const order = await page.evaluate((n) => {
                const panel = window.springlab.open(n);
                return panel.definition.controls.filter((c) => c.kind !== 'label')
                    .sort((a, b) => a.tabIndex - b.tabIndex).map((c) => c.name);
            }, name);
            await page.focus(`.panel[data-experiment="${name}"] [data-control="${order[0]}"]`);
            const walked = [order[0]];
            for (let i = 1; i < order.length; ++i) {
                await page.keyboard.press('Tab');
                walked.push(await page.evaluate(() => document.activeElement.dataset.control));
            }
            assert.deepEqual(walked, order);
        });
    }
});

describe('a narrow screen shows one experiment at a time', () => {
    test('a phone held upright', async (t) => {
        const page = await openPage(t, { width: 390, height: 844, ratio: 3 });
        const shown = await page.evaluate(() => {
            const app = window.springlab;
            app.open('vibration');
            app.open('two-balls');
            return app.panels.map((p) => [p.definition.name, p.form.element.offsetWidth > 0,
                                           p.element.getBoundingClientRect().right <= window.innerWidth + 0.5]);
        });
        assert.deepEqual(shown, [['vibration', false, true], ['two-balls', true, true]]);
    });
});
