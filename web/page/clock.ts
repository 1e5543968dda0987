// The panels' timers. Each panel ticks once per its interval, paced by the
// display's frames: a frame runs the ticks that fell due since the last one
// and then draws once. A backlog (the tab was hidden, the device slept) is
// dropped rather than run in a burst, as a desktop timer drops its missed
// timeouts. With `?clock=manual` in the address nothing ticks by itself:
// tests fire the ticks they count.

export interface Ticking {
    // The timer's period in milliseconds; 0 or less: not ticking.
    interval(): number;
    // One tick; false once the timer stopped (an error, or at rest).
    tick(): boolean;
    // Called once a frame after the frame's ticks.
    frame(ticked: boolean): void;
}

// At most this many ticks run in one frame; more due than that means the
// page was not running, and the timer starts again from now.
const MOST_TICKS_PER_FRAME = 4;

interface Entry {
    next: number | null;  // when the next tick falls due (ms), null: not started
}

export const manualClock = new URLSearchParams(location.search).get('clock') === 'manual';

export class Clock {
    private readonly entries = new Map<Ticking, Entry>();
    private running = false;

    add(t: Ticking): void {
        this.entries.set(t, { next: null });
        this.schedule();
    }
    remove(t: Ticking): void {
        this.entries.delete(t);
    }
    // The timer was set again (変更, resume): its next tick is one period away.
    restart(t: Ticking): void {
        const entry = this.entries.get(t);
        if (entry)
            entry.next = null;
        this.schedule();
    }

    private schedule(): void {
        if (this.running || manualClock)
            return;
        this.running = true;
        requestAnimationFrame((now) => this.onFrame(now));
    }

    private onFrame(now: number): void {
        this.frame(now);
        if (this.entries.size > 0) {
            requestAnimationFrame((next) => this.onFrame(next));
        } else {
            this.running = false;
        }
    }

    // One display frame at `now` (ms): every timer's due ticks, then its
    // picture. The display calls it; with the manual clock, tests do.
    frame(now: number): void {
        for (const [t, entry] of this.entries)
            this.advance(t, entry, now);
    }

    private advance(t: Ticking, entry: Entry, now: number): void {
        const interval = t.interval();
        let ticked = false;
        if (interval <= 0) {
            entry.next = null;
        } else {
            if (entry.next === null)
                entry.next = now + interval;
            // More due than a frame may run: the page was not running (a
            // hidden tab, a sleeping device). The tick due now runs, the
            // ones missed are dropped.
            if (now - entry.next >= MOST_TICKS_PER_FRAME * interval)
                entry.next = now;
            let count = 0;
            while (entry.next <= now && count < MOST_TICKS_PER_FRAME) {
                ++count;
                ticked = true;
                entry.next += interval;
                if (!t.tick()) {
                    entry.next = null;
                    break;
                }
            }
            // A frame slower than its ticks: the timer goes on from now.
            if (entry.next !== null && entry.next <= now)
                entry.next = now + interval;
        }
        t.frame(ticked);
    }
}
