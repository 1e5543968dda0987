// The page's texts in the chosen language, from the same translation files
// as the desktop program. The Japanese text is the key, as in the windows.
import type { SpringLab } from 'springlab-api';

let lab: SpringLab | null = null;
let current = 'ja';

export function useTexts(springLab: SpringLab, language: string): void {
    lab = springLab;
    current = language;
    document.documentElement.lang = language;
}

export function language(): string {
    return current;
}

export function tr(context: string, source: string): string {
    return lab ? lab.translate(current, context, source) : source;
}

// A desktop menu text without its keyboard mnemonic: "倍率(&Z)" -> "倍率",
// "&Zoom" -> "Zoom", "再生(&P)..." -> "再生...".
export function menuText(context: string, source: string): string {
    return tr(context, source).replace(/\(&.\)/, '').replace(/&(.)/, '$1');
}

// Qt's "%1".."%9" placeholders, as the desktop fills them.
export function fill(text: string, ...values: (string | number)[]): string {
    return text.replace(/%([1-9])/g, (whole, n: string) => {
        const value = values[Number(n) - 1];
        return value === undefined ? whole : String(value);
    });
}
