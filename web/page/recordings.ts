// Recordings on the page, as the desktop's 記録 menu makes and replays them:
// an experiment's run written down as JSON Lines and handed over as a file
// named after the experiment and the day, and a recording (by the file
// picker or dropped on the page) replayed in its experiment's panel, its
// boxes showing the texts it applies. The module writes and reads them:
// what the page records, `springlab replay` repeats to the bit, and the
// other way round.
import type { App } from './app';
import { isoDate, saveFile, showMessage } from './files';
import { launcherText, named, type RecordSwitch } from './measurement';
import type { ExperimentPanel } from './panel';
import { fill, menuText, tr } from './texts';

// A recording without an end runs until the experiment stops or this tick.
const REPLAY_TICKS_WITHOUT_END = 10_000;

interface Recording {
    panel: ExperimentPanel | null;
    // Taken as the panel closed: its run is gone, what it did stays.
    kept: string | null;
}

export class Recordings implements RecordSwitch {
    private readonly active = new Map<string, Recording>();
    private readonly picker: HTMLInputElement;
    // The menu's check and the measurement panels' buttons follow this.
    readonly changed = new Set<() => void>();

    constructor(private readonly app: App) {
        app.menuMakers.push(() => this.addMenu());
        this.picker = document.createElement('input');
        this.picker.type = 'file';
        this.picker.hidden = true;
        this.picker.addEventListener('change', () => {
            const file = this.picker.files?.[0];
            this.picker.value = '';
            if (file)
                void this.replayFile(file);
        });
        document.body.append(this.picker);
        // A recording dropped anywhere on the page is replayed.
        document.addEventListener('dragover', (e) => {
            if (e.dataTransfer?.types.includes('Files')) {
                e.preventDefault();
                e.dataTransfer.dropEffect = 'copy';
            }
        });
        document.addEventListener('drop', (e) => {
            const file = e.dataTransfer?.files[0];
            if (!file)
                return;
            e.preventDefault();
            void this.replayFile(file);
        });
    }

    private addMenu(): void {
        const { menus, formName } = this.app.lab.launcher;
        this.app.menus.add(menuText(formName, menus.record), () => [
            ...this.app.lab.experiments.map((d) => ({
                text: launcherText(this.app, d.launcherButton),
                checked: this.recording(d.name),
                action: () => this.toggle(d.name),
            })),
            { text: menuText(formName, menus.replay), action: () => this.picker.click() },
        ], 'record');
    }

    private text(name: string): string {
        return named(this.app.lab.measureTexts.recording, name);
    }

    recording(name: string): boolean {
        return this.active.has(name);
    }

    toggle(name: string): void {
        if (this.recording(name))
            this.stop(name);
        else
            this.start(name);
        for (const changed of this.changed)
            changed();
    }

    // From the experiment's next reading of its boxes: at once if it is
    // closed (its panel opens, reading them), else at the next 変更.
    start(name: string): void {
        const open = this.app.panelOf(name);
        const panel = open ?? this.app.open(name);
        if (open)
            panel.run.startRecording();
        const recording: Recording = { panel, kept: null };
        const closing = () => {
            if (panel.run.recordingWaits) {
                recording.panel = null;
                return;
            }
            try {
                recording.kept = panel.run.recording();
            } catch (e) {
                recording.kept = null;
                showMessage(this.text('record'), e instanceof Error ? e.message : String(e));
            }
            recording.panel = null;
        };
        panel.closing.add(closing);
        this.active.set(name, recording);
    }

    // Hands the recording over as a file, named as the desktop proposes.
    stop(name: string): void {
        const recording = this.active.get(name);
        this.active.delete(name);
        if (!recording)
            return;
        const title = this.text('record');
        let text = recording.kept;
        const run = recording.panel?.run;
        if (text === null && run && !run.recordingWaits) {
            try {
                text = run.recording();
            } catch (e) {
                showMessage(title, e instanceof Error ? e.message : String(e));
                return;
            }
        }
        if (text === null) {
            showMessage(title, this.text('nothing'));
            return;
        }
        saveFile(`${name}-${isoDate()}.jsonl`, text, 'application/jsonl');
    }

    // A recording read from a file: refused with the reader's message, or
    // replayed in its experiment's panel.
    async replayFile(file: File): Promise<ExperimentPanel | null> {
        // A recording is small: a larger file is not one, and is not read.
        const texts = this.app.lab.measureTexts;
        if (file.size > texts.maxRecordingBytes) {
            showMessage(this.text('replay'), fill(tr('measure', texts.tooLarge), file.name));
            return null;
        }
        return this.replay(new Uint8Array(await file.arrayBuffer()), file.name);
    }

    replay(bytes: Uint8Array, fileName: string): ExperimentPanel | null {
        let run;
        try {
            run = this.app.lab.openRecording(bytes);
        } catch (e) {
            showMessage(this.text('replay'), `${fileName}: ${e instanceof Error ? e.message : String(e)}`);
            return null;
        }
        const panel = this.app.open(run.definition.name, run);
        // The boxes show the texts as each 変更 of the recording applies them.
        panel.listeners.add((p, event) => {
            if (event === 'tick' && p.run.tick <= (p.run.scriptTicks ?? REPLAY_TICKS_WITHOUT_END))
                p.showTexts();
        });
        return panel;
    }
}
