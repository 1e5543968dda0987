// How long run.raster() takes on the longest cord (32767 nodes, pulled) in
// node, through the browser's API, on the state bench/chain_timing's
// springlab_raster_timing draws natively; the same lines, the same hashes.
//   node bench/raster_timing.mjs WEB_DIR PICTURES
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [webDir, picturesText = '200'] = process.argv.slice(2);
const pictures = Number(picturesText);
const { loadSpringLab } = await import(pathToFileURL(join(webDir, 'springlab-api.mjs')));
const lab = await loadSpringLab({ wasmBinary: readFileSync(join(webDir, 'springlab-api-module.wasm')) });
const run = lab.make('rubber-cord');
run.setText('nodes', '32767');
run.init();
for (let tick = 1; tick <= 20; ++tick) {
    run.step();
    if (tick === 5) run.press(6000, 300);
}
for (const zoom of [1, 2]) {
    const scale = zoom / 15;
    const width = Math.round(run.definition.clientWidth * scale);
    const height = Math.round(run.definition.clientHeight * scale);
    let pixels = run.raster(width, height, scale);  // the buffer grown once, before the clock
    const start = process.hrtime.bigint();
    for (let i = 0; i < pictures; ++i) pixels = run.raster(width, height, scale);
    const us = Number(process.hrtime.bigint() - start) / 1000 / pictures;
    let hash = 0x811c9dc5;
    for (const byte of pixels) hash = Math.imul(hash ^ byte, 0x01000193) >>> 0;
    console.log(`raster, 32767-node cord at ${zoom}/15 (${width}x${height}): ${us.toFixed(0)} us per picture ` +
                `over ${pictures} pictures (pixels ${hash.toString(16).padStart(8, '0')})`);
}
