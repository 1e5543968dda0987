// The files the page hands the user, caught as the page makes them: the
// Blob behind each download link and the name the link proposes.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export const scratch = mkdtempSync(path.join(os.tmpdir(), 'springlab-files-'));
const cli = process.env.SPRINGLAB_NATIVE_CLI;  // the desktop's springlab

// The desktop's command line; returns the named output file's bytes.
export function native(args, output) {
    execFileSync(cli, args, { stdio: 'pipe', cwd: scratch });
    return readFileSync(path.join(scratch, output));
}

export function inScratch(name, bytes) {
    const file = path.join(scratch, name);
    writeFileSync(file, bytes);
    return file;
}

export async function catchDownloads(page) {
    await page.evaluate(() => {
        const blobs = new Map();
        window.saved = [];
        const make = URL.createObjectURL.bind(URL);
        URL.createObjectURL = (blob) => {
            const url = make(blob);
            blobs.set(url, blob);
            return url;
        };
        HTMLAnchorElement.prototype.click = function click() {
            if (this.download)
                window.saved.push({ name: this.download, blob: blobs.get(this.href) });
        };
    });
}

// The count-th download (0 the first), once the page has made it.
export async function download(page, count) {
    await page.waitForFunction((n) => window.saved.length > n, {}, count);
    const { name, type, base64 } = await page.evaluate(async (n) => {
        const { name: fileName, blob } = window.saved[n];
        const bytes = new Uint8Array(await blob.arrayBuffer());
        let text = '';
        for (const b of bytes)
            text += String.fromCharCode(b);
        return { name: fileName, type: blob.type, base64: btoa(text) };
    }, count);
    return { name, type, bytes: Buffer.from(base64, 'base64') };
}

// Opens a launcher menu and chooses the item with this text.
export async function chooseMenu(page, menu, text) {
    await page.click(`.launcher .menu[data-menu="${menu}"] .menu-title`);
    const items = await page.$$(`.launcher .menu[data-menu="${menu}"] .menu-items button`);
    for (const item of items) {
        if (await item.evaluate((b) => b.textContent) === text) {
            await item.click();
            return;
        }
    }
    throw new Error(`no ${text} in the ${menu} menu`);
}
