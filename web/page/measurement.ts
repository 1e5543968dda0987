// The measurement panel of one experiment, as the desktop's measurement
// window: live graphs of its quantities against the tick, which of them
// show, pause and single step, and the recorded ticks as CSV (the bytes
// `springlab run` writes), the graph as PNG, or the graph's data on the
// clipboard. It follows the experiment's panel from outside: after every
// tick it samples the run; the graph is redrawn at most once a frame from a
// sliding window of the last ticks (uPlot's stream pattern: setData).
import type { NamedTexts, Quantity } from 'springlab-api';
import uPlot from 'uplot';
import type { App } from './app';
import { saveFile, showMessage } from './files';
import type { ExperimentPanel, PanelEvent } from './panel';
import { fill, language, menuText, tr } from './texts';

// The graph keeps the last ten thousand ticks, as the desktop's does.
export const SHOWN_TICKS = 10_000;
// The graph's size at 100 %, in CSS pixels.
const GRAPH_WIDTH = 560;
const GRAPH_HEIGHT = 360;
const COLOURS = ['#1f5fbf', '#d9480f', '#2b8a3e', '#862e9c', '#c2255c', '#0b7285', '#5c940d', '#495057'];
const MARK_COLOUR = '#c80000';

// A quantity that counts events (a bounce) rather than measuring a state:
// marks along the foot of the graph at the ticks where it is not zero.
const isEventCount = (q: Quantity) => q.unit === 'count';

// What the panel keeps of the run's recording: the ticks on the graph.
class Shown {
    ticks: number[] = [];
    columns: number[][];
    constructor(count: number) {
        this.columns = Array.from({ length: count }, () => []);
    }
    push(tick: number, row: Float64Array): void {
        this.ticks.push(tick);
        this.columns.forEach((c, i) => c.push(row[i] ?? NaN));
        // Trimmed in batches, so that a tick never moves ten thousand numbers.
        if (this.ticks.length >= 2 * SHOWN_TICKS) {
            this.ticks.splice(0, SHOWN_TICKS);
            for (const c of this.columns)
                c.splice(0, SHOWN_TICKS);
        }
    }
    clear(): void {
        this.ticks = [];
        this.columns = this.columns.map(() => []);
    }
    shown<T>(values: T[]): T[] {
        return values.slice(-SHOWN_TICKS);
    }
}

export class MeasurementPanel {
    readonly element: HTMLElement;
    private readonly title: HTMLSpanElement;
    private readonly banner: HTMLElement;
    private readonly status: HTMLElement;
    private readonly legendTitle: HTMLElement;
    private readonly boxes: HTMLInputElement[] = [];
    private readonly labels: HTMLSpanElement[] = [];
    private readonly buttons: Record<'pause' | 'step' | 'csv' | 'graph' | 'copy' | 'record', HTMLButtonElement>;
    private plot: uPlot;
    private readonly window: Shown;
    private readonly listener = (_: ExperimentPanel, event: PanelEvent) => this.took(event);
    private readonly onClosing = () => this.close();
    private base = 0;        // the run's tick the recording counts from
    private scheduled = false;
    private low = 0;         // the value axis, as last drawn
    private high = 1;

    constructor(private readonly app: App, readonly panel: ExperimentPanel,
                private readonly recordSwitch: RecordSwitch | null, private readonly closed: () => void) {
        const quantities = this.quantities;
        this.window = new Shown(quantities.length);
        this.element = document.createElement('section');
        this.element.className = 'panel measurement';
        this.element.dataset['measurement'] = panel.definition.name;
        this.element.tabIndex = -1;

        const bar = document.createElement('header');
        bar.className = 'titlebar';
        this.title = document.createElement('span');
        this.title.className = 'caption';
        const close = document.createElement('button');
        close.type = 'button';
        close.className = 'close';
        close.textContent = '×';
        close.addEventListener('click', () => this.close());
        bar.append(this.title, close);

        this.banner = document.createElement('div');
        this.banner.className = 'paused-banner';
        this.banner.hidden = true;

        const graph = document.createElement('div');
        graph.className = 'graph';
        const side = document.createElement('div');
        side.className = 'side';
        const choose = document.createElement('fieldset');
        choose.className = 'quantities';
        this.legendTitle = document.createElement('legend');
        choose.append(this.legendTitle);
        // At first the curves of the first quantity's unit, so that they share
        // a scale that suits them all, and the marks.
        const firstUnit = quantities[0]?.unit;
        quantities.forEach((q, i) => {
            const label = document.createElement('label');
            const box = document.createElement('input');
            box.type = 'checkbox';
            box.dataset['quantity'] = q.key;
            box.checked = isEventCount(q) || q.unit === firstUnit;
            box.addEventListener('change', () => this.showCurve(i, box.checked));
            const swatch = document.createElement('span');
            swatch.className = 'swatch';
            swatch.style.background = this.colour(i);
            const text = document.createElement('span');
            label.append(box, swatch, text);
            choose.append(label);
            this.boxes.push(box);
            this.labels.push(text);
        });
        const button = (name: string, action: () => void) => {
            const b = document.createElement('button');
            b.type = 'button';
            b.dataset['action'] = name;
            b.addEventListener('click', action);
            side.append(b);
            return b;
        };
        side.append(choose);
        this.buttons = {
            pause: button('pause', () => this.setPaused(!this.paused)),
            step: button('step', () => this.step()),
            csv: button('csv', () => this.saveCsv()),
            graph: button('graph', () => void this.saveGraph()),
            copy: button('copy', () => void this.copy()),
            record: button('record', () => {
                this.recordSwitch?.toggle(this.panel.definition.name);
                this.retext();
            }),
        };
        this.buttons.record.hidden = recordSwitch === null;
        const middle = document.createElement('div');
        middle.className = 'middle';
        middle.append(graph, side);
        this.status = document.createElement('div');
        this.status.className = 'status';
        this.element.append(bar, this.banner, middle, this.status);
        this.wireKeys();

        this.plot = new uPlot(this.plotOptions(), this.data(), graph);
        this.retext();
        // Attached to a run already going: the recording counts from here.
        this.newRecording();
        panel.listeners.add(this.listener);
        panel.closing.add(this.onClosing);
    }

    private text(name: string): string {
        return named(this.app.lab.measureTexts.measurement, name);
    }

    get quantities(): Quantity[] {
        return this.panel.definition.quantities;
    }

    private colour(i: number): string {
        return isEventCount(this.quantities[i] as Quantity) ? MARK_COLOUR : COLOURS[i % COLOURS.length] as string;
    }

    private quantityName(q: Quantity): string {
        return language() === 'ja' ? q.name : q.nameEn;
    }

    quantityTitle(q: Quantity): string {
        return `${this.quantityName(q)} [${q.unit}]`;
    }

    private plotOptions(): uPlot.Options {
        const zoom = this.app.zoom();
        const font = `${Math.round(12 * zoom)}px sans-serif`;
        return {
            width: Math.round(GRAPH_WIDTH * zoom),
            height: Math.round(GRAPH_HEIGHT * zoom),
            legend: { show: false },
            cursor: { show: false },
            scales: {
                x: { time: false, range: (_u, min, max) => [min, Math.max(max, min + 1)] },
                y: { range: () => [this.low, this.high] },
            },
            axes: [
                { label: this.text('tickAxis'), font, labelFont: `bold ${font}`, size: 40 * zoom },
                // 0.25 rather than 0 for a quarter, as the desktop's axis.
                { font, size: 64 * zoom, values: (_u, splits) => splits.map((v) => String(+v.toPrecision(6))) },
            ],
            series: [
                {},
                ...this.quantities.map((q, i): uPlot.Series => isEventCount(q)
                    ? { label: this.quantityName(q), stroke: MARK_COLOUR, paths: () => null,
                        points: { show: true, size: 7 * zoom, fill: MARK_COLOUR, stroke: MARK_COLOUR },
                        show: this.boxes[i]?.checked ?? true }
                    : { label: this.quantityTitle(q), stroke: this.colour(i), width: 1.5, points: { show: false },
                        spanGaps: false, show: this.boxes[i]?.checked ?? true }),
            ],
        };
    }

    // --- the recording

    private newRecording(): void {
        this.panel.run.clearRecorded();
        this.base = this.panel.run.tick;
        this.window.clear();
        this.scheduleRefresh();
    }

    private took(event: PanelEvent): void {
        if (event === 'change') {
            this.newRecording();
        } else if (event === 'tick') {
            this.window.push(this.panel.run.tick - this.base, this.panel.run.sample());
            this.scheduleRefresh();
        }
    }

    private scheduleRefresh(): void {
        if (this.scheduled)
            return;
        this.scheduled = true;
        requestAnimationFrame(() => this.refresh());
    }

    curveShown(i: number): boolean {
        return this.boxes[i]?.checked ?? false;
    }

    showCurve(i: number, shown: boolean): void {
        const box = this.boxes[i];
        if (box)
            box.checked = shown;
        this.plot.setSeries(i + 1, { show: shown });
        this.scheduleRefresh();
    }

    // The graph's data now: the shown ticks, each curve with its gaps where
    // a value is no finite number (a failed tick may leave one: it stays
    // in the CSV, but a graph has no place for it), the marks at the foot.
    private data(): uPlot.AlignedData {
        const ticks = this.window.shown(this.window.ticks);
        let low = Infinity;
        let high = -Infinity;
        const curves = this.quantities.map((q, i) => {
            const values = this.window.shown(this.window.columns[i] ?? []);
            if (isEventCount(q) || !this.curveShown(i))
                return values;
            return values.map((v) => {
                if (!Number.isFinite(v))
                    return null;
                low = Math.min(low, v);
                high = Math.max(high, v);
                return v;
            });
        });
        if (!(low <= high)) {
            low = 0;
            high = 1;
        }
        // A margin of 5 % either side, worked out in halves so that values
        // near the largest double make no infinite range.
        const halfSpan = high / 2 - low / 2;
        const pad = halfSpan > 0 ? halfSpan / 10 : Math.max(1, Math.abs(high) / 20);
        this.low = Math.max(low - pad, -Number.MAX_VALUE);
        this.high = Math.min(high + pad, Number.MAX_VALUE);
        const foot = this.low + pad / 2;
        const series = curves.map((values, i) => isEventCount(this.quantities[i] as Quantity)
            ? (values as number[]).map((v) => (v !== 0 ? foot : null))
            : values);
        return [ticks, ...series] as uPlot.AlignedData;
    }

    // Brings the graph up to date now (once a frame otherwise).
    refresh(): void {
        this.scheduled = false;
        this.plot.setData(this.data());
        this.updateStatus();
    }

    // --- pause and step

    get paused(): boolean {
        return this.panel.paused;
    }

    setPaused(paused: boolean): void {
        this.panel.paused = paused;
        // The timer's next tick is one period after the resume.
        if (!paused)
            this.app.clock.restart(this.panel);
        this.banner.hidden = !paused;
        this.retext();
    }

    // Pauses, then runs one tick as the timer would; nothing when the
    // experiment has stopped its timer itself (at rest, frozen, an error).
    step(): void {
        this.setPaused(true);
        if (this.panel.isRunning && this.panel.run.interval > 0)
            this.panel.step(1);
        this.refresh();
    }

    private wireKeys(): void {
        this.element.addEventListener('pointerdown', () => this.element.focus({ preventScroll: true }), true);
        this.element.addEventListener('keydown', (e) => {
            const control = e.ctrlKey || e.metaKey;
            if (e.key === ' ' && !control) {
                this.setPaused(!this.paused);
            } else if (e.key === 'ArrowRight' && !control) {
                this.step();
            } else if (control && e.key.toLowerCase() === 's') {
                if (e.shiftKey)
                    void this.saveGraph();
                else
                    this.saveCsv();
            } else if (control && e.key.toLowerCase() === 'c' && !document.getSelection()?.toString()) {
                void this.copy();
            } else {
                return;
            }
            e.preventDefault();
        });
    }

    // --- what leaves the panel

    // Every recorded tick, the bytes `springlab run ... --csv` writes, under
    // the name the desktop proposes.
    saveCsv(): void {
        saveFile(`${this.panel.definition.name}.csv`, this.panel.run.csv(), 'text/csv');
    }

    // The graph as the desktop saves it: the curves, the axes, and the
    // names of the curves shown beneath them.
    async saveGraph(): Promise<void> {
        this.refresh();
        const blob = await this.graphPng();
        if (blob)
            saveFile(`${this.panel.definition.name}.png`, blob, 'image/png');
        else
            showMessage(this.caption, fill(this.text('graphFailed'),
                                           `${this.panel.definition.name}.png`));
    }

    graphPng(): Promise<Blob | null> {
        const chart = this.plot.ctx.canvas;
        const ratio = this.app.ratio();
        const zoom = this.app.zoom();
        const shown = this.quantities.map((q, i) => [q, i] as const).filter(([, i]) => this.curveShown(i));
        const line = Math.round(20 * zoom * ratio);
        const picture = document.createElement('canvas');
        picture.width = chart.width;
        picture.height = chart.height + line * (shown.length + 1);
        const g = picture.getContext('2d');
        if (!g)
            return Promise.resolve(null);
        g.fillStyle = '#fff';
        g.fillRect(0, 0, picture.width, picture.height);
        g.drawImage(chart, 0, 0);
        g.font = `${Math.round(12 * zoom * ratio)}px sans-serif`;
        g.textBaseline = 'middle';
        shown.forEach(([q, i], n) => {
            const y = chart.height + line * (n + 1);
            g.fillStyle = this.colour(i);
            g.fillRect(line, y - line / 4, line, line / 2);
            g.fillStyle = '#000';
            g.fillText(isEventCount(q) ? this.quantityName(q) : this.quantityTitle(q), line * 2.5, y);
        });
        return new Promise((resolve) => picture.toBlob(resolve, 'image/png'));
    }

    // The ticks on the graph and the shown columns, tab-separated with a
    // header row, each number as the CSV writes it.
    visibleText(): string {
        const shown = this.quantities.map((_, i) => i).filter((i) => this.curveShown(i));
        const header = [this.text('tickAxis'), ...shown.map((i) => this.quantityTitle(this.quantities[i] as Quantity))];
        const csv = new TextDecoder().decode(this.panel.run.csv()).split('\n');
        const rows = csv.slice(csv.findIndex((l) => !l.startsWith('#') && !l.startsWith('\uFEFF#')) + 1)
            .filter((l) => l !== '').slice(-SHOWN_TICKS);
        const lines = rows.map((l) => {
            const cells = l.split(',');
            return [cells[0], ...shown.map((i) => cells[i + 1])].join('\t');
        });
        return [header.join('\t'), ...lines, ''].join('\n');
    }

    async copy(): Promise<void> {
        try {
            await navigator.clipboard.writeText(this.visibleText());
        } catch (e) {
            showMessage(this.caption, e instanceof Error ? e.message : String(e));
        }
    }

    // --- texts

    get caption(): string {
        return fill(this.text('title'), this.panel.caption);
    }

    retext(): void {
        this.title.textContent = this.caption;
        this.legendTitle.textContent = this.text('quantities');
        this.quantities.forEach((q, i) => {
            (this.labels[i] as HTMLSpanElement).textContent = this.quantityTitle(q);
        });
        const b = this.buttons;
        const paused = this.paused;
        b.pause.textContent = this.text(paused ? 'resume' : 'pause');
        b.pause.title = this.text(paused ? 'resumeTip' : 'pauseTip');
        b.step.textContent = this.text('step');
        b.step.title = this.text('stepTip');
        b.csv.textContent = this.text('csv');
        b.csv.title = this.text('csvTip');
        b.graph.textContent = this.text('graph');
        b.graph.title = this.text('graphTip');
        b.copy.textContent = this.text('copy');
        b.copy.title = this.text('copyTip');
        const recording = this.recordSwitch?.recording(this.panel.definition.name) ?? false;
        b.record.textContent = this.text(recording ? 'recordStop' : 'recordStart');
        b.record.title = this.text(recording ? 'recordStopTip' : 'recordStartTip');
        this.banner.textContent = this.text('paused');
        this.updateStatus();
    }

    private updateStatus(): void {
        const run = this.panel.run;
        let text = fill(this.text('status'), run.recordedTicks, SHOWN_TICKS);
        if (run.recorderFull)
            text += this.text('full');
        this.status.textContent = text;
    }

    // A new language or zoom: the graph is made again at its new size with
    // its axes' new names.
    relayout(): void {
        const graph = this.plot.root.parentElement;
        this.plot.destroy();
        this.plot = new uPlot(this.plotOptions(), this.data(), graph as HTMLElement);
        this.retext();
    }

    // Closing gives the experiment back running: a pause shows only here.
    close(): void {
        if (this.paused)
            this.setPaused(false);
        this.panel.listeners.delete(this.listener);
        this.panel.closing.delete(this.onClosing);
        this.plot.destroy();
        this.element.remove();
        this.closed();
    }
}

// The 記録 switch, as the measurement window shows it.
export interface RecordSwitch {
    recording(name: string): boolean;
    toggle(name: string): void;
}

// The 計測 menu (one item per experiment, named as on the launcher's
// buttons), the title-bar button of every experiment's panel, and the one
// measurement panel each experiment has.
export class Measurements {
    private readonly open = new Map<string, MeasurementPanel>();
    recordSwitch: RecordSwitch | null = null;

    constructor(private readonly app: App) {
        app.menuMakers.push(() => this.addMenu());
        app.panelOpened.add((panel) => this.addButton(panel));
        app.restyled.add(() => {
            for (const m of this.open.values())
                m.relayout();
        });
    }

    private addMenu(): void {
        const ctx = this.app.lab.launcher.formName;
        this.app.menus.add(menuText(ctx, this.app.lab.launcher.menus.measure), () => this.app.lab.experiments.map((d) => ({
            text: launcherText(this.app, d.launcherButton),
            action: () => this.show(d.name),
        })), 'measure');
    }

    private addButton(panel: ExperimentPanel): void {
        const b = document.createElement('button');
        b.type = 'button';
        b.className = 'measure';
        b.innerHTML = GRAPH_ICON;
        const ctx = this.app.lab.launcher.formName;
        const name = menuText(ctx, this.app.lab.launcher.menus.measure);
        b.title = name;
        b.setAttribute('aria-label', name);
        b.addEventListener('click', () => this.show(panel.definition.name));
        panel.tools.append(b);
    }

    // Opens the experiment if it is closed, and its measurement beside it.
    show(name: string): MeasurementPanel {
        const panel = this.app.open(name);
        let m = this.open.get(name);
        if (!m) {
            m = new MeasurementPanel(this.app, panel, this.recordSwitch, () => this.open.delete(name));
            this.open.set(name, m);
            panel.element.after(m.element);
        }
        m.element.focus({ preventScroll: true });
        return m;
    }

    of(name: string): MeasurementPanel | undefined {
        return this.open.get(name);
    }

    retext(): void {
        for (const m of this.open.values())
            m.retext();
    }
}

// A launcher button's text, in the program's language: the menus name the
// experiments as the buttons do.
export function launcherText(app: App, button: string): string {
    const control = app.lab.launcher.controls.find((c) => c.name === button);
    return tr(app.lab.launcher.formName, control?.text ?? button);
}

// A small graph: two axes and a curve.
const GRAPH_ICON = '<svg viewBox="0 0 16 16" width="16" height="16" aria-hidden="true">'
    + '<path d="M2 2v12h12" fill="none" stroke="currentColor" stroke-width="1.5"/>'
    + '<path d="M4 11l3-5 3 3 4-6" fill="none" stroke="#1f5fbf" stroke-width="1.5"/></svg>';

// A text of one of the module's tables, by name, in the page's language.
export function named(table: NamedTexts, name: string): string {
    const source = table[name];
    if (source === undefined)
        throw new Error(`no text named ${name}`);
    return tr(table.context, source);
}
