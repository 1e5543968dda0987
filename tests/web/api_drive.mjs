// Drives one run through the browser's JavaScript API as `springlab run`
// would make it, for the agreement test to compare with the desktop's run:
//   node api_drive.mjs WEB_DIR EXPERIMENT TICKS [--set KEY=TEXT] [--press T:X,Y] [--move T:X,Y]...
// Writes api.csv (the recorded ticks), api.jsonl (the run as a recording)
// and replayed.csv (that recording opened and run again) into the current
// folder, and prints the error, the knocks, a summary of the last picture
// and a hash of its pixels. Or prints what the page takes from the lab as a
// whole: the launcher, the languages and the texts asked for:
//   node api_drive.mjs WEB_DIR --lab [LANGUAGE/CONTEXT/SOURCE]...
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [webDir, name, ticksText, ...options] = process.argv.slice(2);
const { loadSpringLab, OP_FIELDS, DRAW_KINDS } = await import(pathToFileURL(join(webDir, 'springlab-api.mjs')));
const lab = await loadSpringLab({ wasmBinary: readFileSync(join(webDir, 'springlab-api-module.wasm')) });

if (name === '--lab') {
    const form = lab.launcher;
    console.log(`form ${form.formName} ${form.caption} ${form.clientWidth} ${form.clientHeight}`);
    for (const c of form.controls)
        console.log(`control ${c.kind} ${c.name} ${c.text} ${c.left} ${c.top} ${c.width} ${c.height} ${c.tabIndex} ${c.backColor}`);
    for (const e of lab.experiments) console.log(`opens ${e.launcherButton} ${e.name} ${e.icon}`);
    for (const l of lab.languages) console.log(`language ${l.code} ${l.name}`);
    for (const text of process.argv.slice(4)) {
        const [language, context, source] = text.split('/');
        console.log(`text ${lab.translate(language, context, source)}`);
    }
    process.exit(0);
}

const ticks = Number(ticksText);
const sets = [];
const events = [];  // [tick, 'press' | 'move', x, y]
for (let i = 0; i < options.length; i += 2) {
    const value = options[i + 1];
    if (options[i] === '--set') {
        const eq = value.indexOf('=');
        sets.push([value.slice(0, eq), value.slice(eq + 1)]);
    } else {
        const [tick, xy] = value.split(':');
        const [x, y] = xy.split(',').map(Number);
        events.push([Number(tick), options[i].slice(2), x, y]);
    }
}

// The command line's order: InitSimulation, the mouse at tick 0, then each
// tick followed by the mouse after it, until the last tick or the timer
// stops. Every call that knocked is noted as tick:knocks.
const knocks = [];
function knocked(ok) {
    if (run.beeps) knocks.push(`${run.tick}:${run.beeps}`);
    return ok;
}
function drive(run, mouse) {
    const at = (tick) => mouse.filter((e) => e[0] === tick).every(([, kind, x, y]) => knocked(run[kind](x, y)));
    if (!at(0)) return;
    while (run.tick < ticks && !run.stopped)
        if (!knocked(run.step()) || !at(run.tick)) return;
}

const run = lab.make(name);
for (const [key, text] of sets) run.setText(key, text);
if (knocked(run.init())) drive(run, events);
writeFileSync('api.csv', run.csv());
writeFileSync('api.jsonl', run.recording());
const error = run.error;
console.log(error ? `error ${error.number} ${error.tick} ${error.messageEn}` : 'error none');
console.log(`knocks ${knocks.join(' ')}`);

const replay = lab.openRecording(readFileSync('api.jsonl'));
if (!replay.error) {
    while (replay.tick < replay.scriptTicks && !replay.stopped)
        if (!replay.step()) break;
}
writeFileSync('replayed.csv', replay.csv());

// The CSV's header as the catalogue names the quantities, and whether the
// quantities now are the last row recorded.
const quantities = run.definition.quantities.map((q) => `${q.name} ${q.nameEn} [${q.unit}]`);
console.log(`header ${quantities.join(',')}`);
const rows = new TextDecoder().decode(run.csv()).trimEnd().split('\n');
const last = rows[rows.length - 1].split(',').slice(1).map(Number);
const now = Array.from(run.sample());
console.log(`sample ${now.every((v, i) => Object.is(v, last[i])) && now.length === last.length ? 'same' : 'differs'}`);

// What no window gives and no recording holds is refused, not run.
const other = lab.make(name);
try {
    other.press(NaN, 0);
    console.log('NaN pressed');
} catch (e) {
    console.log(`NaN refused: ${e instanceof RangeError && other.tick === 0}`);
}
other.setText(run.definition.parameters[0].key, '1'.repeat(70000));
other.init();
try {
    other.recording();
    console.log('long text recorded');
} catch (e) {
    console.log(`long text refused: ${e.message.startsWith('line 2: ')}`);
}
other.free();

// Element counts by kind, then the first line and the first circle.
const list = run.displayList();
const counts = DRAW_KINDS.map(() => 0);
const first = {};
for (let i = 0; i < list.length; i += OP_FIELDS) {
    const kind = DRAW_KINDS[list[i]];
    ++counts[list[i]];
    first[kind] ??= Array.from(list.subarray(i + 1, i + 5));
}
console.log(`counts ${counts[0]} ${counts[1] + counts[2]} ${counts[3]}`);
console.log(`line ${(first.line ?? []).join(' ')}`);
console.log(`circle ${(first.circle ?? []).slice(0, 3).join(' ')}`);

// The last picture's pixels at 100 % and 200 %, window-sized, as FNV-1a.
for (const zoom of [1, 2]) {
    const scale = zoom / 15;
    const { clientWidth, clientHeight } = run.definition;
    const width = Math.round(clientWidth * scale), height = Math.round(clientHeight * scale);
    let hash = 0x811c9dc5;
    for (const byte of run.raster(width, height, scale)) hash = Math.imul(hash ^ byte, 0x01000193) >>> 0;
    console.log(`raster ${zoom} ${width}x${height} ${hash.toString(16)}`);
}
