// The experiments for the browser page, over the WebAssembly module built
// from the same C++ as the desktop program. Everything the page shows (names,
// captions, design tables, default texts, quantities, pictures, CSV,
// recordings) comes from the module; this file only carries values across.
//
//   import { loadSpringLab } from './springlab-api.mjs';
//   const lab = await loadSpringLab();
//   const run = lab.make('vibration');
//   run.setText('mass', '250'); run.init(); run.step();
//   run.displayList();  // Float64Array, OP_FIELDS numbers per drawing operation
//
// A call that meets the experiment's run-time error returns false and leaves
// it in run.error ({ number, message, messageEn, tick }); nothing throws but
// misuse (an unknown experiment, key or a freed run).
import createModule from './springlab-api-module.mjs';

// Per drawing operation in displayList(): kind (see DRAW_KINDS), x1, y1, x2,
// y2 (twips; a circle's centre and radius), colour, fill colour, filled (0
// or 1), pen width in pixels. Colours are 0xBBGGRR.
export const OP_FIELDS = 9;
export const DRAW_KINDS = ['line', 'box', 'filledBox', 'circle'];

const decoder = new TextDecoder();
const encoder = new TextEncoder();

class Api {
    constructor(m) {
        this.m = m;
    }
    bytes() {
        const start = this.m._sl_bytes();
        return this.m.HEAPU8.slice(start, start + this.m._sl_bytes_length());
    }
    text() {
        return decoder.decode(this.bytes());
    }
    numbers() {
        const start = this.m._sl_numbers() / 8;
        return this.m.HEAPF64.slice(start, start + this.m._sl_numbers_length());
    }
    // Calls `f` with the texts as C strings, freed afterwards.
    withStrings(texts, f) {
        const pointers = texts.map((t) => {
            const b = encoder.encode(String(t));
            const p = this.m._malloc(b.length + 1);
            this.m.HEAPU8.set(b, p);
            this.m.HEAPU8[p + b.length] = 0;
            return [p, b.length];
        });
        try {
            return f(...pointers);
        } finally {
            for (const [p] of pointers) this.m._free(p);
        }
    }
}

export class Experiment {
    constructor(api, id, definition) {
        this.api = api;
        this.id = id;
        this.definition = definition;
        this.error = null;
    }
    // Keeps the experiment's error, if the call raised one.
    done(status) {
        if (status < 0) throw new Error('this experiment has been freed');
        const m = this.api.m;
        if (status === 0) {
            this.error = null;
            return true;
        }
        this.error = {
            number: m._sl_error_number(this.id),
            message: this.errorMessage('ja'),
            messageEn: this.errorMessage('en'),
            tick: m._sl_error_tick(this.id),
        };
        return false;
    }
    errorMessage(language) {
        this.api.withStrings([language], ([p]) => this.api.m._sl_error_message(this.id, p));
        return this.api.text();
    }
    // A parameter's box text, by key or Japanese label; the next init reads it.
    setText(key, text) {
        const status = this.api.withStrings([key, text], ([k], [t]) => this.api.m._sl_set_text(this.id, k, t));
        if (status !== 0) throw new Error(`${this.definition.name} has no parameter ${key}`);
    }
    init() { return this.done(this.api.m._sl_init(this.id)); }
    // One tick; `byHand` for a tick run while the timer is held (a single
    // step), which the recording keeps as the desktop's does.
    step(byHand = false) { return this.done(this.api.m._sl_step(this.id, byHand ? 1 : 0)); }
    // The pointer in twips; a coordinate that is no finite number throws.
    press(x, y) { return this.done(this.pointed(this.api.m._sl_press(this.id, x, y), x, y)); }
    move(x, y) { return this.done(this.pointed(this.api.m._sl_move(this.id, x, y), x, y)); }
    pointed(status, x, y) {
        if (status === 2) throw new RangeError(`(${x}, ${y}) is no point of the window`);
        return status;
    }
    get tick() { return this.api.m._sl_tick(this.id); }
    // True once the window would have stopped its own timer.
    get stopped() { return this.api.m._sl_stopped(this.id) === 1; }
    // The timer's period in milliseconds (0: no ticks).
    get interval() { return this.api.m._sl_interval(this.id); }
    // The last tick of the recording this run replays; null if none says.
    get scriptTicks() {
        const t = this.api.m._sl_script_ticks(this.id);
        return t < 0 ? null : t;
    }
    // How many knocks (a ball hitting the floor) the latest init, step,
    // press or move asked for; the desktop plays two 40 ms apart.
    get beeps() { return this.api.m._sl_beeps(this.id); }
    // The picture now as width x height RGBA pixels at `scale` device pixels
    // per twip (1/15 at 100 % and pixel ratio 1), on the window's face, drawn
    // as the desktop draws it: a view of module memory (put it in an
    // ImageData), valid until the next raster() of any run.
    raster(width, height, scale) {
        const m = this.api.m;
        if (!(Number.isInteger(width) && Number.isInteger(height) && width > 0 && height > 0))
            throw new RangeError(`${width} x ${height} is no picture size`);
        const p = m._sl_raster(this.id, width, height, scale);
        if (p === 0) {
            if (m._sl_tick(this.id) < 0) throw new Error('this experiment has been freed');
            throw new RangeError(`no picture of ${width} x ${height} at scale ${scale}`);
        }
        return new Uint8ClampedArray(m.HEAPU8.buffer, p, width * height * 4);
    }
    displayList() {
        this.api.m._sl_display_list(this.id);
        return this.api.numbers();
    }
    // The picture as SVG in twips, as `springlab run --picture` writes it.
    pictureSvg() {
        this.api.m._sl_picture_svg(this.id);
        return this.api.text();
    }
    // The quantities now, in the definition's order.
    sample() {
        this.api.m._sl_sample(this.id);
        return this.api.numbers();
    }
    // The ticks recorded since the run began (or clearRecorded), as the bytes
    // `springlab run ... --csv` writes.
    csv() {
        this.api.m._sl_csv(this.id);
        return this.api.bytes();
    }
    clearRecorded() { this.api.m._sl_clear_recorded(this.id); }
    // The boxes' texts as the run last read (or a replay gave) them, in the
    // parameters' order.
    boxTexts() {
        this.api.m._sl_box_texts(this.id);
        return JSON.parse(this.api.text());
    }
    // How many ticks the CSV holds, and whether the recorder is full (a
    // million ticks: later ones are run but not recorded).
    get recordedTicks() { return this.api.m._sl_recorded_rows(this.id); }
    get recorderFull() { return this.api.m._sl_recorder_full(this.id) === 1; }
    // Everything done so far as a recording (JSON Lines text). A run no
    // recording can hold throws with the reason.
    // The recording starts again at the next init (変更), with what the
    // experiment carries across it; recordingWaits until then.
    startRecording() { this.api.m._sl_start_recording(this.id); }
    get recordingWaits() { return this.api.m._sl_recording_waits(this.id) === 1; }
    recording() {
        const status = this.api.m._sl_recording(this.id);
        if (status < 0) throw new Error('this experiment has been freed');
        if (status !== 0) throw new Error(this.api.text());
        return this.api.text();
    }
    free() { this.api.m._sl_free(this.id); }
}

export class SpringLab {
    #texts;  // { language: { context: { source: translation } } }
    constructor(m) {
        this.api = new Api(m);
        m._sl_catalogue();
        // [{ name, icon, launcherButton, formName, caption, clientWidth,
        //    clientHeight, controls,
        //    parameters: [{ key, box, label, defaultText }],
        //    quantities: [{ key, name, nameEn, unit }] }], launcher's order.
        this.experiments = JSON.parse(this.api.text());
        // The launcher's window: { formName, caption, clientWidth,
        // clientHeight, controls }, as an experiment's. Each experiment's
        // launcherButton names its button there.
        m._sl_launcher();
        this.launcher = JSON.parse(this.api.text());
        // [{ code, name }]: Japanese first, each named in itself.
        m._sl_texts();
        const texts = JSON.parse(this.api.text());
        this.languages = texts.languages;
        // The zoom steps in percent, twips per pixel at 100 %, the version,
        // and the page's own texts by name (Japanese sources).
        m._sl_page();
        const page = JSON.parse(this.api.text());
        this.zoomLevels = page.zoomLevels;
        this.twipsPerPixel = page.twipsPerPixel;
        this.version = page.version;
        this.texts = page.texts;
        this.#texts = texts.texts;
        // The measurement panel's and the recordings' texts by name, each
        // table with the context it is translated in, and the largest
        // recording the reader takes (bytes) with what is said of a larger.
        m._sl_measure_texts();
        this.measureTexts = JSON.parse(this.api.text());
    }
    // `source` (a Japanese text of the program) in `context` (a form's name,
    // a quantity context) translated into `language`; the source itself in
    // Japanese or where there is no translation.
    translate(language, context, source) {
        const own = (o, key) => (o !== undefined && Object.hasOwn(o, key) ? o[key] : undefined);
        const translation = own(own(own(this.#texts, String(language)), String(context)), String(source));
        return typeof translation === 'string' ? translation : source;
    }
    definition(name) {
        return this.experiments.find((e) => e.name === name);
    }
    // A run with the default texts, before its InitSimulation.
    make(name) {
        const id = this.api.withStrings([name], ([p]) => this.api.m._sl_make(p));
        if (id === 0) throw new Error(`no experiment ${name}`);
        return new Experiment(this.api, id, this.definition(name));
    }
    // A run driven by a recording (text or bytes): its tick-0 events are
    // applied now, the rest after their ticks as step() goes. A text the
    // reader refuses throws with its message ("line 3: ...").
    openRecording(recording) {
        const bytes = typeof recording === 'string' ? encoder.encode(recording) : recording;
        const m = this.api.m;
        const p = m._malloc(bytes.length + 1);
        m.HEAPU8.set(bytes, p);
        let id;
        try {
            id = m._sl_open_recording(p, bytes.length);
        } finally {
            m._free(p);
        }
        if (id === 0) throw new Error(this.api.text());
        m._sl_experiment_name(id);
        const run = new Experiment(this.api, id, this.definition(this.api.text()));
        run.done(m._sl_error_number(id) === 0 ? 0 : 1);
        return run;
    }
}

// Loads the module; `options` go to emscripten's module factory (e.g.
// wasmBinary where the page or node reads the .wasm itself).
export async function loadSpringLab(options = {}) {
    return new SpringLab(await createModule(options));
}
