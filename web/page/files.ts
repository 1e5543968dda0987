// What the page hands the user as a file (a download under the name the
// desktop would propose), and the message box for what went wrong.

export function saveFile(name: string, data: BlobPart, type: string): void {
    const url = URL.createObjectURL(new Blob([data], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    // Some browsers read the bytes a while after the click.
    setTimeout(() => URL.revokeObjectURL(url), 60_000);
}

// Today in the user's own calendar, as the desktop's file names carry it:
// 2026-12-07.
export function isoDate(now = new Date()): string {
    const two = (n: number) => String(n).padStart(2, '0');
    return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
}

// A message over the page, as the desktop's message box: a title, the text
// as it stands (line breaks kept), OK.
export function showMessage(title: string, text: string): HTMLElement {
    const box = document.createElement('div');
    box.className = 'message-box';
    box.setAttribute('role', 'alertdialog');
    const heading = document.createElement('div');
    heading.className = 'message-title';
    heading.textContent = title;
    const body = document.createElement('p');
    body.className = 'message-text';
    body.textContent = text;
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.textContent = 'OK';
    ok.addEventListener('click', () => box.remove());
    box.addEventListener('keydown', (e) => {
        if (e.key === 'Escape')
            box.remove();
    });
    box.append(heading, body, ok);
    document.body.append(box);
    ok.focus();
    return box;
}
