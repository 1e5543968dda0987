// The panels' timers. Each panel ticks once per its interval, paced by the
// display's frames: a frame runs the ticks that fell due since the last one
// and then draws once. A frame that comes late (a busy processor, the
// browser collecting garbage) is caught up over the next frames, so a run
// keeps its ticks a second; a long backlog (the tab was hidden, the device
// slept) is dropped rather than run in a burst, as a desktop timer drops
// its missed timeouts. With `?clock=manual` in the address nothing ticks by
// itself: tests fire the ticks they count.

export interface Ticking {
    // The timer's period in milliseconds; 0 or less: not ticking.
    interval(): number;
    // One tick; false once the timer stopped (an error, or at rest).
    tick(): boolean;
    // Called once a frame after the frame's ticks.
    frame(ticked: boolean): void;
}

// Ticks due longer ago than this mean the page was not running: the timer
// goes on from now.
const LONGEST_CATCH_UP_MS = 250;
// A frame runs every panel's first due tick, and more only while its ticks
// have taken less than this, so that catching up never stalls the display:
// what is left stays due for the next frame.
const TICK_TIME_PER_FRAME_MS = 12;

interface Entry {
    next: number | null;  // when the next tick falls due (ms), null: not started
}

export const manualClock = new URLSearchParams(location.search).get('clock') === 'manual';

export class Clock {
    private readonly entries = new Map<Ticking, Entry>();
    private running = false;

    // `time`: the processor's clock in ms, to measure what ticks take.
    constructor(private readonly time: () => number = () => performance.now()) {}

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
        const deadline = this.time() + TICK_TIME_PER_FRAME_MS;
        for (const [t, entry] of this.entries)
            this.advance(t, entry, now, deadline);
    }

    private advance(t: Ticking, entry: Entry, now: number, deadline: number): void {
        const interval = t.interval();
        let ticked = false;
        if (interval <= 0) {
            entry.next = null;
        } else {
            if (entry.next === null)
                entry.next = now + interval;
            // The page was not running (a hidden tab, a sleeping device): the
            // tick due now runs, the ones missed are dropped.
            if (now - entry.next > LONGEST_CATCH_UP_MS)
                entry.next = now;
            while (entry.next <= now && (!ticked || this.time() < deadline)) {
                ticked = true;
                entry.next += interval;
                if (!t.tick()) {
                    entry.next = null;
                    break;
                }
            }
        }
        t.frame(ticked);
    }
}
