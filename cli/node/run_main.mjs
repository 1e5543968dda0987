// Runs main with node's arguments; the .wasm is read from beside this file.
await Module({
    arguments: process.argv.slice(2),
    locateFile: (file) => fileURLToPath(new URL(file, import.meta.url)),
});
