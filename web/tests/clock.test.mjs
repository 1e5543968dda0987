// The panels' clock on made-up display frames and made-up tick costs: a run
// keeps 100 ticks a second at interval 10 through late frames, catching up
// never makes one frame long, and a long absence is dropped, not replayed.
import assert from 'node:assert/strict';
import { after, describe, test } from 'node:test';
import { finish, openPage } from './harness.mjs';

after(finish);

// frames: the display's frame times (ms); cost: what one tick takes (ms).
// The page's own Clock (the manual one, so nothing else drives it) runs one
// timer of interval 10 over them, on a processor clock that only the ticks
// move. A frame cannot start before the previous one's ticks are done.
function drive(page, { frames, cost, slowUntil = Infinity }) {
    return page.evaluate(({ frames, cost, slowUntil }) => {
        let time = 0;
        const Clock = window.springlab.clock.constructor;
        const clock = new Clock(() => time);
        const ticks = [];
        let perFrame = 0;
        let mostPerFrame = 0;
        clock.add({
            interval: () => 10,
            tick: () => { ticks.push(time); time += time < slowUntil ? cost : 0; ++perFrame; return true; },
            frame: () => { mostPerFrame = Math.max(mostPerFrame, perFrame); perFrame = 0; },
        });
        for (const at of frames) {
            time = Math.max(time, at);
            clock.frame(time);
        }
        return { ticks, mostPerFrame };
    }, { frames, cost, slowUntil: slowUntil === Infinity ? 1e300 : slowUntil });
}

const every = (from, to, step) => Array.from({ length: Math.floor((to - from) / step) + 1 }, (_, i) => from + i * step);
const within = (ticks, from, to) => ticks.filter((t) => t >= from && t < to).length;

describe('the clock keeps its ticks a second', () => {
    const cases = [
        { name: '60 frames a second', frames: every(0, 2000, 1000 / 60), cost: 0, ticks: 100, most: 2 },
        { name: 'a frame 120 ms late', frames: [...every(0, 1000, 1000 / 60), ...every(1120, 2000, 1000 / 60)], cost: 0, ticks: 100 },
        { name: '20 frames a second', frames: every(0, 2000, 50), cost: 0, ticks: 100, most: 5 },
        { name: 'ticks of 3.5 ms (the longest cord) at 60 frames a second', frames: every(0, 2000, 1000 / 60), cost: 3.5, ticks: 100, most: 3 },
    ];
    for (const c of cases) {
        test(c.name, async (t) => {
            const page = await openPage(t);
            const r = await drive(page, c);
            // The second second: the first frames start the timer.
            assert.ok(Math.abs(within(r.ticks, 1000, 2000) - c.ticks) <= 1, `${within(r.ticks, 1000, 2000)} ticks`);
            if (c.most)
                assert.ok(r.mostPerFrame <= c.most, `${r.mostPerFrame} ticks in one frame`);
        });
    }
});

describe('the clock never stalls the display and drops what it cannot do', () => {
    test('catching up a stall runs no more ticks a frame than the frame has time for', async (t) => {
        const page = await openPage(t);
        const frames = [...every(0, 500, 1000 / 60), ...every(700, 2000, 1000 / 60)];
        const r = await drive(page, { frames, cost: 3 });
        // 12 ms a frame: four ticks of 3 ms, never the 20 the stall left.
        assert.equal(r.mostPerFrame, 4);
        assert.ok(within(r.ticks, 1000, 2000) >= 99);
    });
    test('a hidden tab\'s seconds are dropped, not run in a burst', async (t) => {
        const page = await openPage(t);
        const frames = [...every(0, 1000, 1000 / 60), ...every(6000, 7000, 1000 / 60)];
        const r = await drive(page, { frames, cost: 0 });
        assert.ok(within(r.ticks, 1000, 6000) === 0);
        assert.ok(within(r.ticks, 6000, 7001) <= 101, `${within(r.ticks, 6000, 7001)} ticks after the return`);
    });
    test('ticks slower than the interval run one a frame and leave no pile to burst later', async (t) => {
        const page = await openPage(t);
        // Two seconds of 12 ms ticks (a slow device), then cheap ones.
        const r = await drive(page, { frames: every(0, 4000, 1000 / 60), cost: 12, slowUntil: 2000 });
        assert.ok(within(r.ticks, 1000, 2000) <= 61, `${within(r.ticks, 1000, 2000)} slow ticks`);
        // At most the longest catch-up (25 ticks) more than the second's 100.
        assert.ok(within(r.ticks, 2000, 3000) <= 126, `${within(r.ticks, 2000, 3000)} ticks after`);
        assert.ok(Math.abs(within(r.ticks, 3000, 4000) - 100) <= 1);
    });
});
