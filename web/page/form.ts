// A window's client area laid out from its design table, as the desktop's
// Form lays it out: every control at its twips turned into CSS pixels at
// the zoom, captions in the chosen language, boxes with their default
// texts, in the table's tab order. The picture lies beneath the controls.
import type { Control, FormDesign } from 'springlab-api';
import { tr } from './texts';

// Twips per CSS pixel at 100 %, and the window's face colour; both come
// with the module's catalogue.
export interface Scale {
    twipsPerPixel: number;
    zoom: number;  // 1 at 100 %
}

// A length in twips as whole CSS pixels, rounded as the desktop rounds it.
export function pixels(twips: number, scale: Scale): number {
    return Math.round((twips * scale.zoom) / scale.twipsPerPixel);
}

// 0xBBGGRR as CSS.
export function cssColor(color: number): string {
    return `rgb(${color & 0xff}, ${(color >> 8) & 0xff}, ${(color >> 16) & 0xff})`;
}

// The desktop's window font is 9 points (12 CSS pixels) at 100 %, and a
// caption that does not fit gets a smaller one, down to 6 points, in
// quarter-point steps.
const FONT_PIXELS = 12;
const SMALLEST_FONT_PIXELS = 8;
const FONT_STEP_PIXELS = 1 / 3;

export class FormView {
    readonly element: HTMLDivElement;
    readonly canvas: HTMLCanvasElement;
    readonly boxes = new Map<string, HTMLInputElement>();
    readonly buttons = new Map<string, HTMLButtonElement>();
    private readonly controls: { def: Control; element: HTMLElement }[] = [];

    constructor(readonly def: FormDesign, private scale: Scale) {
        this.element = document.createElement('div');
        this.element.className = 'form';
        this.element.dataset['form'] = def.formName;
        this.canvas = document.createElement('canvas');
        this.canvas.className = 'picture';
        this.element.append(this.canvas);
        // In tab order, so Tab walks the boxes as in the window.
        const byTab = [...def.controls].sort((a, b) => a.tabIndex - b.tabIndex);
        for (const control of byTab) {
            const element = this.makeControl(control);
            element.dataset['control'] = control.name;
            element.classList.add('control', control.kind);
            if (control.backColor !== null)
                element.style.background = cssColor(control.backColor);
            this.element.append(element);
            this.controls.push({ def: control, element });
        }
        this.retext();
        this.layout(scale);
    }

    private makeControl(control: Control): HTMLElement {
        switch (control.kind) {
        case 'textBox': {
            const box = document.createElement('input');
            box.type = 'text';
            box.value = control.text;
            box.spellcheck = false;
            box.autocomplete = 'off';
            // Numbers are typed half-width; a phone offers its number keys.
            box.inputMode = 'decimal';
            box.setAttribute('autocapitalize', 'off');
            this.boxes.set(control.name, box);
            return box;
        }
        case 'commandButton': {
            const button = document.createElement('button');
            button.type = 'button';
            this.buttons.set(control.name, button);
            return button;
        }
        case 'label':
            return document.createElement('div');
        }
    }

    // The captions in the chosen language (the boxes keep what was typed).
    retext(): void {
        for (const { def, element } of this.controls) {
            if (def.kind !== 'textBox')
                element.textContent = tr(this.def.formName, def.text);
        }
        this.fitCaptions();
    }

    layout(scale: Scale): void {
        this.scale = scale;
        const width = pixels(this.def.clientWidth, scale);
        const height = pixels(this.def.clientHeight, scale);
        this.element.style.width = `${width}px`;
        this.element.style.height = `${height}px`;
        this.element.style.fontSize = `${FONT_PIXELS * scale.zoom}px`;
        this.canvas.style.width = `${width}px`;
        this.canvas.style.height = `${height}px`;
        for (const { def, element } of this.controls) {
            element.style.left = `${pixels(def.left, scale)}px`;
            element.style.top = `${pixels(def.top, scale)}px`;
            element.style.width = `${pixels(def.width, scale)}px`;
            element.style.height = `${pixels(def.height, scale)}px`;
        }
        this.fitCaptions();
    }

    get cssWidth(): number {
        return pixels(this.def.clientWidth, this.scale);
    }
    get cssHeight(): number {
        return pixels(this.def.clientHeight, this.scale);
    }

    // A caption longer than its control (another language, a taller font)
    // gets a smaller font until it shows whole. Only once the form is in
    // the document can it be measured.
    fitCaptions(): void {
        if (!this.element.isConnected)
            return;
        const zoom = this.scale.zoom;
        for (const { def, element } of this.controls) {
            if (def.kind === 'textBox')
                continue;
            let size = FONT_PIXELS * zoom;
            element.style.fontSize = '';
            const overflows = () => element.scrollWidth > element.clientWidth + 0.5
                || element.scrollHeight > element.clientHeight + 0.5;
            while (overflows() && size > SMALLEST_FONT_PIXELS * zoom) {
                size -= FONT_STEP_PIXELS * zoom;
                element.style.fontSize = `${size}px`;
            }
        }
    }

    // The pointer's position in twips, as the desktop's window takes it.
    twipsAt(clientX: number, clientY: number): { x: number; y: number } {
        const r = this.element.getBoundingClientRect();
        const f = this.scale.twipsPerPixel / this.scale.zoom;
        return { x: (clientX - r.left) * f, y: (clientY - r.top) * f };
    }
}
