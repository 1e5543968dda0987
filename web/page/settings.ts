// What the user chose, kept in the browser: the zoom and the language. A
// browser that keeps nothing (a private window, storage turned off) still
// runs; it just forgets.
const ZOOM_KEY = 'springlab.zoom';
const LANGUAGE_KEY = 'springlab.language';

// 'fit' follows the screen; a number is a fixed zoom in percent.
export type ZoomChoice = 'fit' | number;

function read(key: string): string | null {
    try {
        return localStorage.getItem(key);
    } catch {
        return null;
    }
}

function write(key: string, value: string): void {
    try {
        localStorage.setItem(key, value);
    } catch {
        // Nothing to keep it in: the choice lasts until the page closes.
    }
}

export function savedZoom(levels: readonly number[]): ZoomChoice {
    const text = read(ZOOM_KEY);
    const percent = Number(text);
    return text !== null && levels.includes(percent) ? percent : 'fit';
}

export function saveZoom(choice: ZoomChoice): void {
    write(ZOOM_KEY, String(choice));
}

// The language kept, if the module still has it; otherwise the first of
// the browser's languages that it has, Japanese failing that.
export function savedLanguage(codes: readonly string[]): string {
    const kept = read(LANGUAGE_KEY);
    if (kept !== null && codes.includes(kept))
        return kept;
    for (const wanted of navigator.languages ?? []) {
        const code = wanted.toLowerCase().split('-')[0] ?? '';
        if (codes.includes(code))
            return code;
    }
    return codes.includes('ja') ? 'ja' : codes[0] ?? 'ja';
}

export function saveLanguage(code: string): void {
    write(LANGUAGE_KEY, code);
}
