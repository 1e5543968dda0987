// The page's way of using the API, compiled by `tsc --strict --noEmit`
// against web/api/springlab.d.mts: a member the page relies on that the
// types lose or mistype fails the build of this file.
import { DRAW_KINDS, loadSpringLab, OP_FIELDS } from '../../web/api/springlab.mjs';
import type { Control, Definition, DrawKind, Experiment, ExperimentError, Launcher, SpringLab }
    from '../../web/api/springlab.mjs';

function captions(lab: SpringLab, language: string, form: Launcher | Definition): string[] {
    return form.controls.map((c: Control) => lab.translate(language, form.formName, c.text));
}

function frame(run: Experiment, image: { data: Uint8ClampedArray }, width: number, height: number): number {
    image.data.set(run.raster(width, height, 1 / 15));
    const list: Float64Array = run.displayList();
    const kinds: DrawKind[] = [];
    for (let i = 0; i < list.length; i += OP_FIELDS) kinds.push(DRAW_KINDS[list[i]] ?? 'line');
    return run.beeps + kinds.length;
}

export async function page(wasm: Uint8Array): Promise<string> {
    const lab: SpringLab = await loadSpringLab({ wasmBinary: wasm });
    const names = lab.languages.map((l) => `${l.code}:${l.name}`);
    const opener = lab.experiments.find((e) => e.launcherButton === lab.launcher.controls[0].name);
    const run = lab.make(opener?.name ?? 'vibration');
    run.setText(run.definition.parameters[0].key, run.definition.parameters[0].defaultText);
    const failed: ExperimentError | null = run.init() ? null : run.error;
    const beeps = frame(run, { data: new Uint8ClampedArray(4) }, 1, 1);
    const csv: Uint8Array = run.csv();
    const replay = lab.openRecording(run.recording());
    const ticks: number | null = replay.scriptTicks;
    const units = run.definition.quantities.map((q) => `${q.name}/${q.nameEn} [${q.unit}]`);
    run.free();
    return [...names, ...captions(lab, 'en', lab.launcher), opener?.icon, failed?.messageEn, beeps, csv.length,
            ticks, run.tick, run.stopped, run.interval, run.recordedTicks, run.recorderFull, ...units].join();
}
