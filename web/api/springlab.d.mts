// The types of springlab.mjs (built as springlab-api.mjs, with this file
// beside it as springlab-api.d.mts) for the page's TypeScript. Every value
// comes from the module; these only say what shape it has.

// Numbers per drawing operation in Experiment.displayList().
export declare const OP_FIELDS: 9;
// The kinds of drawing operation, by their number in the display list.
export declare const DRAW_KINDS: readonly ['line', 'box', 'filledBox', 'circle'];
export type DrawKind = (typeof DRAW_KINDS)[number];

export type ControlKind = 'label' | 'textBox' | 'commandButton';

// A control as the designer laid it out, in twips.
export interface Control {
    kind: ControlKind;
    name: string;  // "Text4", "Command1"
    // Caption of a label or button (Japanese source text: translate() it in
    // the form's context), default text of a box (shown as it stands).
    text: string;
    left: number;
    top: number;
    width: number;
    height: number;
    tabIndex: number;
    // 0xBBGGRR, or null for the control's default background.
    backColor: number | null;
}

// A window as the designer laid it out: the launcher's and each experiment's.
export interface FormDesign {
    formName: string;  // "frmMain", "frm2Bolls": also the context of its texts
    caption: string;   // Japanese source text
    clientWidth: number;   // twips
    clientHeight: number;  // twips
    controls: Control[];
}

// The launcher: a button per experiment (Definition.launcherButton), and
// the texts of its menus and about box (Japanese sources in its form's
// context; "&" marks the desktop's keyboard mnemonic).
export interface Launcher extends FormDesign {
    menus: {
        view: string; zoom: string; language: string; measure: string; record: string;
        replay: string; help: string; about: string; aboutTitle: string;
    };
    aboutLines: string[];
}

// The page's own texts by name (Japanese sources in the context "web"), and
// the window's error box (context "rt::Form": %1 the error number, %2 its
// message, %3 the window's caption).
export interface PageTexts {
    close: string;
    fitToScreen: string;
    errorBox: string;
}

// Texts by name (Japanese source) with the context they are translated in.
export interface NamedTexts { context: string; [name: string]: string; }
export interface MeasureTexts {
    measurement: NamedTexts;  // the measurement window's (measure/measure_texts.cpp)
    recording: NamedTexts;    // the 記録 menu's messages
    maxRecordingBytes: number;  // the largest recording the reader takes
    tooLarge: string;           // what is said of a larger file, after its name
}

export interface Parameter {
    key: string;          // "mass": for scripts and setText()
    box: string;          // the text box in the controls: "Text4"
    label: string;        // its label's caption, Japanese source text
    defaultText: string;  // the box's text in the design
}

export interface Quantity {
    key: string;
    name: string;    // Japanese
    nameEn: string;  // English
    unit: string;
}

export type ExperimentName = 'rotation' | 'vibration' | 'two-balls' | 'rubber-cord';
export type Icon = 'program' | 'rotation' | 'rubber-cord';

// An experiment: its window's design, parameters and quantities.
export interface Definition extends FormDesign {
    name: ExperimentName;
    icon: Icon;
    launcherButton: string;  // the launcher's control that opens it: "Command2"
    parameters: Parameter[];  // top to bottom as the window shows the boxes
    quantities: Quantity[];
}

// The run-time error a call met, as the window's message box tells it.
export interface ExperimentError {
    number: number;
    message: string;    // Japanese
    messageEn: string;  // English
    tick: number;
}

export interface Language {
    code: string;  // "ja", "en"
    name: string;  // named in itself: "日本語", "English"
}

// One run of an experiment. init, step, press and move return false when
// the experiment raised its error (kept in `error`); nothing throws but
// misuse (an unknown key, a freed run, a point or size that is no number).
export declare class Experiment {
    private constructor();
    readonly definition: Definition;
    error: ExperimentError | null;

    // A parameter's box text, by key or Japanese label; the next init reads it.
    setText(key: string, text: string): void;
    init(): boolean;
    // `byHand`: a tick run while the timer is held (a single step), which
    // the recording keeps as the desktop's does.
    step(byHand?: boolean): boolean;
    // The pointer in twips.
    press(x: number, y: number): boolean;
    move(x: number, y: number): boolean;

    readonly tick: number;
    // True once the window would have stopped its own timer.
    readonly stopped: boolean;
    // The timer's period in milliseconds (0: no ticks).
    readonly interval: number;
    // The last tick of the recording this run replays; null if none says.
    readonly scriptTicks: number | null;
    // The knocks the latest init, step, press or move asked for.
    readonly beeps: number;

    // The picture as width x height RGBA pixels at `scale` device pixels per
    // twip (1/15 at 100 %): a view of module memory, valid until the next
    // raster() of any run.
    raster(width: number, height: number, scale: number): Uint8ClampedArray<ArrayBuffer>;
    // OP_FIELDS numbers per drawing operation: kind (DRAW_KINDS), x1, y1,
    // x2, y2 (twips; a circle's centre and radius), colour, fill colour,
    // filled (0 or 1), pen width in pixels. Colours are 0xBBGGRR.
    displayList(): Float64Array;
    // The picture as SVG in twips, as `springlab run --picture` writes it.
    pictureSvg(): string;
    // The quantities now, in the definition's order.
    sample(): Float64Array;

    // The ticks recorded so far, as `springlab run ... --csv` writes them.
    csv(): Uint8Array<ArrayBuffer>;
    // The CSV starts again after this tick, counted from 1.
    clearRecorded(): void;
    // The boxes' texts as the run last read (or a replay gave) them.
    boxTexts(): string[];
    // The recording starts again at the next init, with what the experiment
    // carries across it; recordingWaits until then.
    startRecording(): void;
    readonly recordingWaits: boolean;
    readonly recordedTicks: number;
    readonly recorderFull: boolean;
    // Everything done so far as a recording (JSON Lines text).
    recording(): string;
    free(): void;
}

export declare class SpringLab {
    private constructor();
    // In the launcher's order.
    readonly experiments: Definition[];
    readonly launcher: Launcher;
    // Japanese first.
    readonly languages: Language[];
    // The zoom steps in percent, twips per CSS pixel at 100 %, the version.
    readonly zoomLevels: readonly number[];
    readonly twipsPerPixel: number;
    readonly version: string;
    readonly texts: PageTexts;
    readonly measureTexts: MeasureTexts;

    definition(name: string): Definition | undefined;
    // A run with the default texts, before its InitSimulation.
    make(name: ExperimentName): Experiment;
    // A run driven by a recording; a text the reader refuses throws.
    openRecording(recording: string | Uint8Array): Experiment;
    // `source` in `context` in `language`; the source itself in Japanese or
    // where there is no translation.
    translate(language: string, context: string, source: string): string;
}

// What emscripten's module factory takes (the .wasm's bytes or where to
// find it, among others).
export interface ModuleOptions {
    wasmBinary?: ArrayBuffer | Uint8Array;
    locateFile?: (path: string, prefix: string) => string;
    [option: string]: unknown;
}

export declare function loadSpringLab(options?: ModuleOptions): Promise<SpringLab>;
