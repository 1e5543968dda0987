// Recordings in Chromium: a desktop recording replays on the page to
// `springlab replay`'s CSV, a page recording (pauses, steps and a carry
// included) replays on the desktop to the page's CSV, and a damaged one is
// refused with the reader's message.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, describe, test } from 'node:test';
import { catchDownloads, chooseMenu, download, inScratch, native, scratch } from './downloads.mjs';
import { finish, openPage } from './harness.mjs';

after(finish);

const launcherText = (page, name) => page.evaluate((n) => {
    const app = window.springlab;
    const button = app.lab.launcher.controls.find((c) => c.name === app.lab.definition(n).launcherButton);
    return app.lab.translate('ja', 'frmMain', button.text);
}, name);

describe('a desktop recording replays on the page as springlab replay runs it', () => {
    const cases = [
        { name: 'two-balls', args: ['--set', 'mass2=300', '--press', '100:1500,2250', '--ticks', '400'], box: ['mass2', '300'] },
        { name: 'rotation', args: ['--move', '0:3000,1500', '--move', '30:2000,2500', '--ticks', '80'] },
        { name: 'vibration', args: ['--set', 'mass=250', '--set', 'viscosity=0.01', '--ticks', '150'], box: ['mass', '250'] },
        { name: 'rubber-cord', args: ['--press', '20:1500,1500', '--ticks', '60'] },
    ];
    for (const c of cases) {
        test(c.name, async () => {
            const recording = `${c.name}-desktop.jsonl`;
            native(['run', c.name, ...c.args, '--record', recording], recording);
            const expected = native(['replay', recording, '--csv', `${c.name}-replayed.csv`], `${c.name}-replayed.csv`);
            const page = await openPage();
            const [chooser] = await Promise.all([page.waitForFileChooser(), chooseMenu(page, 'record', '再生...')]);
            await chooser.accept([path.join(scratch, recording)]);
            await page.waitForSelector(`.panel[data-experiment="${c.name}"]`);
            const replayed = await page.evaluate((n, key) => {
                const p = window.springlab.panelOf(n);
                p.step(p.run.scriptTicks);
                const box = key && p.form.boxes.get(p.definition.parameters.find((q) => q.key === key).box).value;
                return { csv: new TextDecoder('utf-8', { ignoreBOM: true }).decode(p.run.csv()), box };
            }, c.name, c.box?.[0]);
            assert.equal(replayed.csv, expected.toString('utf8'));
            if (c.box)
                assert.equal(replayed.box, c.box[1], 'the box shows the text the recording applied');
            assert.deepEqual(page.errors, []);
            await page.close();
        });
    }
});

describe('a page recording replays on the desktop to the page\'s CSV', () => {
    test('started with the experiment closed: from its opening', async () => {
        const page = await openPage();
        await catchDownloads(page);
        await chooseMenu(page, 'record', await launcherText(page, 'two-balls'));
        await page.waitForSelector('.panel[data-experiment="two-balls"]');
        await page.evaluate(() => {
            const p = window.springlab.panelOf('two-balls');
            p.step(40);
            p.run.press(1500, 2250);
            p.step(60);
        });
        await chooseMenu(page, 'record', await launcherText(page, 'two-balls'));
        const file = await download(page, 0);
        assert.match(file.name, /^two-balls-\d{4}-\d{2}-\d{2}\.jsonl$/);
        inScratch('page-open.jsonl', file.bytes);
        const csv = await page.evaluate(() => new TextDecoder('utf-8', { ignoreBOM: true }).decode(window.springlab.panelOf('two-balls').run.csv()));
        assert.equal(native(['replay', 'page-open.jsonl', '--csv', 'page-open.csv'], 'page-open.csv').toString('utf8'), csv);
        await page.close();
    });

    test('started from the measurement panel: from the next 変更, with its carry, pauses and steps', async () => {
        const page = await openPage({ width: 1800, height: 1000 });
        await page.evaluate(() => window.springlab.setZoom(100));
        await chooseMenu(page, 'measure', await launcherText(page, 'two-balls'));
        await page.waitForSelector('.measurement');
        await catchDownloads(page);
        await page.evaluate(() => window.springlab.panelOf('two-balls').step(35));
        await page.click('.measurement [data-action="record"]');
        assert.equal(await page.$eval('.measurement [data-action="record"]', (b) => b.textContent), '記録終了…');
        // The balls are falling: their velocities are carried across 変更.
        const button = await page.evaluate(() => [...window.springlab.panelOf('two-balls').form.buttons.keys()][0]);
        await page.click(`.panel[data-experiment="two-balls"] [data-control="${button}"]`);
        await page.evaluate(() => window.springlab.panelOf('two-balls').step(20));
        await page.focus('.measurement');
        await page.keyboard.press('Space');
        await page.keyboard.press('ArrowRight');
        await page.keyboard.press('ArrowRight');
        await page.keyboard.press('Space');
        await page.evaluate(() => window.springlab.panelOf('two-balls').step(30));
        await page.click('.measurement [data-action="record"]');
        const file = await download(page, 0);
        const text = file.bytes.toString('utf8');
        assert.match(text.split('\n')[0], /"carry":\[/);
        assert.match(text, /\{"tick":20,"pause":true\}\n\{"tick":21,"step":true\}\n\{"tick":22,"step":true\}\n\{"tick":22,"resume":true\}\n/);
        inScratch('page-measured.jsonl', file.bytes);
        await page.click('.measurement [data-action="csv"]');
        const csv = await download(page, 1);
        assert.ok(native(['replay', 'page-measured.jsonl', '--csv', 'page-measured.csv'], 'page-measured.csv').equals(csv.bytes));
        await page.close();
    });

    test('stopped before any 変更: nothing recorded, and said so', async () => {
        const page = await openPage();
        await page.evaluate(() => { window.springlab.open('vibration'); });
        await catchDownloads(page);
        await chooseMenu(page, 'record', await launcherText(page, 'vibration'));
        await chooseMenu(page, 'record', await launcherText(page, 'vibration'));
        assert.match(await page.$eval('.message-box .message-text', (e) => e.textContent), /^記録はありません。/);
        assert.equal(await page.evaluate(() => window.saved.length), 0);
        await page.close();
    });
});

describe('a recording the reader refuses is shown with its message, and nothing opens', () => {
    const cases = [
        { name: 'another format', text: '{"format":"something-else","version":2,"experiment":"vibration"}\n', line: 1 },
        { name: 'ticks going back', text: '{"format":"springlab-recording","version":2,"experiment":"vibration"}\n{"tick":0,"change":{}}\n{"tick":5,"press":[1,2]}\n{"tick":3,"press":[1,2]}\n', line: 4 },
        { name: 'empty', text: '', line: null },
    ];
    for (const c of cases) {
        test(c.name, async () => {
            const page = await openPage();
            // Dropped on the page, as a file from the desktop.
            await page.evaluate((text) => {
                const data = new DataTransfer();
                data.items.add(new File([text], 'bad.jsonl'));
                document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
            }, c.text);
            await page.waitForSelector('.message-box');
            const message = await page.$eval('.message-box .message-text', (e) => e.textContent);
            assert.match(message, c.line ? new RegExp(`^bad\\.jsonl: line ${c.line}: `) : /^bad\.jsonl: \S/);
            assert.equal(await page.$$eval('.panel[data-experiment]', (p) => p.length), 0);
            await page.close();
        });
    }
});
