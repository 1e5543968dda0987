// Types of springlab.mjs for the page's type check.
export const OP_FIELDS: number;
export const DRAW_KINDS: readonly string[];

export interface ControlDef {
    kind: 'label' | 'textBox' | 'commandButton';
    name: string;
    text: string;
    left: number;
    top: number;
    width: number;
    height: number;
    tabIndex: number;
    backColor: number | null;
}
export interface FormDef {
    formName: string;
    caption: string;
    clientWidth: number;
    clientHeight: number;
    controls: ControlDef[];
}
export interface ParameterDef { key: string; box: string; label: string; defaultText: string; }
export interface QuantityDef { key: string; name: string; nameEn: string; unit: string; }
export interface LauncherDef extends FormDef {
    // The menus' texts (Japanese source, translated in formName's context).
    menus: { view: string; zoom: string; language: string; measure: string; record: string;
             replay: string; help: string; about: string; aboutTitle: string };
    // The about box's paragraphs (frmMain's context); %1 in the first is the version.
    aboutLines: string[];
}
export interface PageTexts {
    close: string;
    fitToScreen: string;
    // The desktop's run-time error box, in context "rt::Form": %1 the
    // number, %2 the message, %3 the window's caption.
    errorBox: string;
}
export interface NamedTexts { context: string; [name: string]: string; }
export interface MeasureTexts {
    measurement: NamedTexts;  // the measurement window's, by name (see measure/measure_texts.cpp)
    recording: NamedTexts;    // the 記録 menu's messages
    maxRecordingBytes: number;
    tooLarge: string;
}
export interface Definition extends FormDef {
    name: string;
    icon: string;
    launcherButton: string;
    parameters: ParameterDef[];
    quantities: QuantityDef[];
}
export interface RunError { number: number; message: string; messageEn: string; tick: number; }
export interface Language { code: string; name: string; }

export class Experiment {
    readonly definition: Definition;
    error: RunError | null;
    setText(key: string, text: string): void;
    init(): boolean;
    step(byHand?: boolean): boolean;
    press(x: number, y: number): boolean;
    move(x: number, y: number): boolean;
    readonly tick: number;
    readonly stopped: boolean;
    readonly interval: number;
    readonly scriptTicks: number | null;
    readonly beeps: number;
    displayList(): Float64Array;
    raster(width: number, height: number, scale: number): Uint8ClampedArray<ArrayBuffer>;
    sample(): Float64Array;
    csv(): Uint8Array<ArrayBuffer>;
    clearRecorded(): void;
    boxTexts(): string[];
    startRecording(): void;
    readonly recordingWaits: boolean;
    readonly recordedTicks: number;
    readonly recorderFull: boolean;
    recording(): string;
    free(): void;
}
export class SpringLab {
    readonly experiments: Definition[];
    readonly launcher: LauncherDef;
    readonly zoomLevels: readonly number[];
    readonly twipsPerPixel: number;
    // The page's own texts (Japanese source; translated in context "web"
    // unless said otherwise) by name.
    readonly texts: PageTexts;
    readonly measureTexts: MeasureTexts;
    readonly version: string;
    readonly languages: Language[];
    translate(language: string, context: string, source: string): string;
    definition(name: string): Definition | undefined;
    make(name: string): Experiment;
    openRecording(recording: string | Uint8Array): Experiment;
}
export function loadSpringLab(options?: object): Promise<SpringLab>;
