// One experiment on the page, as its window on the desktop: the form from
// its design table, its run in the module, its timer, the pointer and the
// error box. The panel computes nothing: the module's experiment does.
import type { Definition, Experiment, SpringLab } from 'springlab-api';
import type { Clock, Ticking } from './clock';
import { FormView, type Scale } from './form';
import { Picture } from './picture';
import { playKnocks } from './sound';
import { fill, tr } from './texts';

export interface PanelHost {
    readonly lab: SpringLab;
    readonly clock: Clock;
    scale(): Scale;
    ratio(): number;
    close(panel: ExperimentPanel): void;
    focus(panel: ExperimentPanel): void;
}

export type PanelEvent = 'change' | 'tick' | 'pointer';

export class ExperimentPanel implements Ticking {
    readonly element: HTMLElement;
    readonly form: FormView;
    run: Experiment;
    private readonly picture: Picture;
    private readonly title: HTMLSpanElement;
    private readonly closeButton: HTMLButtonElement;
    private errorBox: HTMLElement | null = null;
    private running = false;
    private dirty = true;
    // Extra buttons in the title bar (measurement, recording), added around
    // the window's own client area.
    readonly tools: HTMLSpanElement;
    // Called after every tick and after every event the run took (for the
    // measurement panel and the recorder), with what it was: the boxes read
    // (load, 変更), a tick, or the pointer.
    readonly listeners = new Set<(panel: ExperimentPanel, event: PanelEvent) => void>();
    // Called once as the panel closes, before its run is freed.
    readonly closing = new Set<(panel: ExperimentPanel) => void>();

    constructor(readonly definition: Definition, private readonly host: PanelHost, run?: Experiment) {
        this.element = document.createElement('section');
        this.element.className = 'panel';
        this.element.dataset['experiment'] = definition.name;

        const bar = document.createElement('header');
        bar.className = 'titlebar';
        const icon = document.createElement('img');
        icon.className = 'icon';
        icon.alt = '';
        icon.src = `icons/${definition.icon}.svg`;
        this.title = document.createElement('span');
        this.title.className = 'caption';
        this.tools = document.createElement('span');
        this.tools.className = 'tools';
        this.closeButton = document.createElement('button');
        this.closeButton.type = 'button';
        this.closeButton.className = 'close';
        this.closeButton.textContent = '×';
        this.closeButton.addEventListener('click', () => this.host.close(this));
        bar.append(icon, this.title, this.tools, this.closeButton);
        bar.addEventListener('pointerdown', () => this.host.focus(this));

        this.form = new FormView(definition, host.scale());
        this.picture = new Picture(this.form.canvas);
        this.element.append(bar, this.form.element);
        this.retext();
        this.wireForm();

        // Opened as the window opens: its load runs InitSimulation with the
        // default texts and starts the timer; a replay starts from its
        // recording's first events instead.
        this.run = run ?? host.lab.make(definition.name);
        if (run) {
            this.showTexts();
            this.started(run.error === null);
        } else {
            this.started(this.run.init());
        }
        host.clock.add(this);
    }

    get caption(): string {
        return tr(this.definition.formName, this.definition.caption);
    }

    retext(): void {
        this.title.textContent = this.caption;
        this.closeButton.title = tr('web', this.host.lab.texts.close);
        this.closeButton.setAttribute('aria-label', tr('web', this.host.lab.texts.close));
        this.form.retext();
    }

    relayout(): void {
        this.form.layout(this.host.scale());
        this.dirty = true;
    }

    private wireForm(): void {
        // The window's one command button reads the boxes again ("変更"),
        // and Enter in a box presses it.
        for (const button of this.form.buttons.values())
            button.addEventListener('click', () => this.apply());
        for (const box of this.form.boxes.values()) {
            box.addEventListener('keydown', (e) => {
                if (e.key === 'Enter' && !e.isComposing) {
                    e.preventDefault();
                    this.apply();
                }
            });
        }
        // Pointer events: one path for the mouse, a finger and a pen. Over
        // a control they belong to the control, as on the desktop.
        const surface = this.form.element;
        surface.addEventListener('pointerdown', (e) => {
            this.host.focus(this);
            if (e.target !== this.form.canvas)
                return;
            e.preventDefault();
            surface.setPointerCapture(e.pointerId);
            const at = this.form.twipsAt(e.clientX, e.clientY);
            this.took(this.run.press(at.x, at.y));
        });
        surface.addEventListener('pointermove', (e) => {
            if (e.target !== this.form.canvas && !surface.hasPointerCapture(e.pointerId))
                return;
            for (const event of e.getCoalescedEvents?.() ?? [e]) {
                const at = this.form.twipsAt(event.clientX, event.clientY);
                if (!this.took(this.run.move(at.x, at.y)))
                    break;
            }
        });
    }

    // The boxes' texts into the run, then its InitSimulation: the timer runs
    // again from now, whether it had stopped on an error or not.
    apply(): void {
        for (const p of this.definition.parameters) {
            const box = this.form.boxes.get(p.box);
            if (box)
                this.run.setText(p.key, box.value);
        }
        this.closeError();
        this.started(this.run.init());
        this.host.clock.restart(this);
    }

    // A replay puts the recording's texts into the boxes as it applies them.
    showTexts(): void {
        const texts = this.run.boxTexts();
        this.definition.parameters.forEach((p, i) => {
            const box = this.form.boxes.get(p.box);
            const text = texts[i];
            if (box && text !== undefined && box.value !== text)
                box.value = text;
        });
    }

    private started(ok: boolean): void {
        this.running = ok && !this.run.stopped;
        this.dirty = true;
        playKnocks(this.run.beeps);
        this.notify('change');
        if (!ok)
            this.showError();
    }

    // An event outside the timer (a press, a move): the picture may change,
    // and an error stops the timer as a tick's would.
    private took(ok: boolean): boolean {
        this.dirty = true;
        playKnocks(this.run.beeps);
        this.notify('pointer');
        if (!ok) {
            this.running = false;
            this.showError();
        }
        return ok;
    }

    // --- the timer (Ticking)

    interval(): number {
        return this.running && !this.paused ? this.run.interval : 0;
    }

    // Held by the measurement panel's pause; the run's own timer is untouched.
    paused = false;

    tick(): boolean {
        // While held, only a single step ticks: a tick run by hand.
        const ok = this.run.step(this.paused);
        this.dirty = true;
        playKnocks(this.run.beeps);
        this.notify('tick');
        if (!ok) {
            this.running = false;
            this.showError();
            return false;
        }
        if (this.run.stopped) {
            this.running = false;
            return false;
        }
        return true;
    }

    // One tick by hand (the measurement panel's single step, tests).
    step(count = 1): void {
        for (let i = 0; i < count && this.run.error === null; ++i)
            if (!this.tick())
                break;
        this.frame(true);
    }

    get isRunning(): boolean {
        return this.running;
    }

    frame(ticked: boolean): void {
        if (!ticked && !this.dirty)
            return;
        this.dirty = false;
        this.picture.draw(this.run, this.form.cssWidth, this.form.cssHeight, this.host.scale(), this.host.ratio());
    }

    private notify(event: PanelEvent): void {
        for (const listener of this.listeners)
            listener(this, event);
    }

    // --- the error box: the window's own, over this panel only

    private showError(): void {
        const error = this.run.error;
        if (!error)
            return;
        this.closeError();
        const box = document.createElement('div');
        box.className = 'error-box';
        box.setAttribute('role', 'alertdialog');
        const title = document.createElement('div');
        title.className = 'error-title';
        title.textContent = this.caption;
        const text = document.createElement('p');
        text.className = 'error-text';
        text.textContent = fill(
            tr('rt::Form', this.host.lab.texts.errorBox),
            error.number, tr('RuntimeError', error.message), this.caption);
        const ok = document.createElement('button');
        ok.type = 'button';
        ok.textContent = 'OK';
        ok.addEventListener('click', () => this.closeError());
        box.append(title, text, ok);
        this.element.append(box);
        this.errorBox = box;
        ok.focus();
    }

    closeError(): void {
        this.errorBox?.remove();
        this.errorBox = null;
    }

    get errorText(): string | null {
        return this.errorBox?.querySelector('.error-text')?.textContent ?? null;
    }

    dispose(): void {
        for (const closing of this.closing)
            closing(this);
        this.closing.clear();
        this.host.clock.remove(this);
        this.listeners.clear();
        this.run.free();
        this.element.remove();
    }
}
