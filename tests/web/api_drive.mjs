// Drives one run through the browser's JavaScript API as `springlab run`
// would make it, for the agreement test to compare with the desktop's run:
//   node api_drive.mjs WEB_DIR EXPERIMENT TICKS [--set KEY=TEXT] [--press T:X,Y] [--move T:X,Y]...
// Writes api.csv (the recorded ticks), api.jsonl (the run as a recording)
// and replayed.csv (that recording opened and run again) into the current
// folder, and prints the error and a summary of the last picture.
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [webDir, name, ticksText, ...options] = process.argv.slice(2);
const { loadSpringLab, OP_FIELDS, DRAW_KINDS } = await import(pathToFileURL(join(webDir, 'springlab-api.mjs')));
const lab = await loadSpringLab({ wasmBinary: readFileSync(join(webDir, 'springlab-api-module.wasm')) });

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
// tick followed by the mouse after it, until the last tick or the timer stops.
function drive(run, mouse) {
    const at = (tick) => mouse.filter((e) => e[0] === tick).every(([, kind, x, y]) => run[kind](x, y));
    if (!at(0)) return;
    while (run.tick < ticks && !run.stopped)
        if (!run.step() || !at(run.tick)) return;
}

const run = lab.make(name);
for (const [key, text] of sets) run.setText(key, text);
if (run.init()) drive(run, events);
writeFileSync('api.csv', run.csv());
writeFileSync('api.jsonl', run.recording());
const error = run.error;
console.log(error ? `error ${error.number} ${error.tick} ${error.messageEn}` : 'error none');

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
