// A small menu bar: titles that open a list of items, by pointer or by
// keyboard (Enter/Space opens, arrows walk, Escape closes).
export interface MenuItem {
    text: string;
    checked?: boolean;
    disabled?: boolean;
    action: () => void;
}

export class MenuBar {
    readonly element: HTMLElement;
    private open: HTMLElement | null = null;

    constructor() {
        this.element = document.createElement('nav');
        this.element.className = 'menubar';
        document.addEventListener('pointerdown', (e) => {
            if (this.open && !this.element.contains(e.target as Node))
                this.closeMenu();
        });
    }

    clear(): void {
        this.closeMenu();
        this.element.replaceChildren();
    }

    // A menu whose items are made when it opens (they follow the state).
    add(title: string, items: () => MenuItem[], name: string): void {
        const wrap = document.createElement('div');
        wrap.className = 'menu';
        wrap.dataset['menu'] = name;
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'menu-title';
        button.textContent = title;
        button.setAttribute('aria-haspopup', 'menu');
        const list = document.createElement('div');
        list.className = 'menu-items';
        list.setAttribute('role', 'menu');
        list.hidden = true;
        wrap.append(button, list);
        button.addEventListener('click', () => {
            if (this.open === list) {
                this.closeMenu();
                return;
            }
            this.closeMenu();
            list.replaceChildren(...items().map((item) => this.itemButton(item)));
            list.hidden = false;
            this.open = list;
            (list.querySelector('button:not([disabled])') as HTMLButtonElement | null)?.focus();
        });
        list.addEventListener('keydown', (e) => {
            const buttons = [...list.querySelectorAll<HTMLButtonElement>('button:not([disabled])')];
            const at = buttons.indexOf(document.activeElement as HTMLButtonElement);
            if (e.key === 'Escape') {
                this.closeMenu();
                button.focus();
            } else if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
                e.preventDefault();
                const step = e.key === 'ArrowDown' ? 1 : buttons.length - 1;
                buttons[(at + step) % buttons.length]?.focus();
            }
        });
        this.element.append(wrap);
    }

    private itemButton(item: MenuItem): HTMLButtonElement {
        const b = document.createElement('button');
        b.type = 'button';
        b.setAttribute('role', item.checked === undefined ? 'menuitem' : 'menuitemradio');
        if (item.checked !== undefined)
            b.setAttribute('aria-checked', String(item.checked));
        b.textContent = item.text;
        b.disabled = item.disabled ?? false;
        b.addEventListener('click', () => {
            this.closeMenu();
            item.action();
        });
        return b;
    }

    closeMenu(): void {
        if (this.open)
            this.open.hidden = true;
        this.open = null;
    }
}
