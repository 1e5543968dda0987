// The page: the launcher with its menus, and the experiment panels it
// opens, all made from the module's definitions.
import type { Definition, Experiment, SpringLab } from 'springlab-api';
import { Clock } from './clock';
import { FormView, pixels, type Scale } from './form';
import { MenuBar, type MenuItem } from './menu';
import { ExperimentPanel, type PanelHost } from './panel';
import { saveLanguage, saveZoom, savedLanguage, savedZoom, type ZoomChoice } from './settings';
import { fill, language, menuText, tr, useTexts } from './texts';

// Room the page keeps round a panel when it fits the panels to the screen:
// the title bar and the gaps, in CSS pixels.
const PANEL_CHROME_WIDTH = 16;
const PANEL_CHROME_HEIGHT = 64;
const SMALLEST_FIT = 0.25;

export class App implements PanelHost {
    readonly clock = new Clock();
    readonly panels: ExperimentPanel[] = [];
    readonly desk: HTMLElement;
    readonly menus = new MenuBar();
    launcher: FormView;
    private zoomChoice: ZoomChoice;
    private readonly launcherPanel: HTMLElement;
    private readonly launcherTitle: HTMLElement;
    // Further menus (measurement, recordings) hang themselves here.
    readonly menuMakers: ((app: App) => void)[] = [];
    // Called with each panel as it opens.
    readonly panelOpened = new Set<(panel: ExperimentPanel) => void>();
    // Called after the language or the zoom changed.
    readonly restyled = new Set<() => void>();

    constructor(readonly lab: SpringLab, root: HTMLElement) {
        this.zoomChoice = savedZoom(lab.zoomLevels);
        useTexts(lab, savedLanguage(lab.languages.map((l) => l.code)));

        this.desk = document.createElement('main');
        this.desk.className = 'desk';
        this.launcherPanel = document.createElement('section');
        this.launcherPanel.className = 'panel launcher';
        const bar = document.createElement('header');
        bar.className = 'titlebar';
        const icon = document.createElement('img');
        icon.className = 'icon';
        icon.alt = '';
        icon.src = 'icons/program.svg';
        this.launcherTitle = document.createElement('span');
        this.launcherTitle.className = 'caption';
        bar.append(icon, this.launcherTitle);
        this.launcher = new FormView(lab.launcher, this.scale());
        this.launcherPanel.append(bar, this.menus.element, this.launcher.element);
        this.desk.append(this.launcherPanel);
        root.append(this.desk);

        // Each experiment names the launcher button that opens it.
        for (const d of lab.experiments)
            this.launcher.buttons.get(d.launcherButton)?.addEventListener('click', () => this.open(d.name));

        window.addEventListener('resize', () => this.relayout());
        matchMedia('(resolution: 1dppx)').addEventListener?.('change', () => this.relayout());
        this.retext();
        this.relayout();
    }

    // --- zoom

    scale(): Scale {
        return { twipsPerPixel: this.lab.twipsPerPixel, zoom: this.zoom() };
    }

    ratio(): number {
        return window.devicePixelRatio || 1;
    }

    zoom(): number {
        if (this.zoomChoice !== 'fit')
            return this.zoomChoice / 100;
        // The largest zoom at which the launcher and the largest experiment
        // stand side by side on the screen, the experiment whole; on a
        // screen too small for that at 100 % (a phone, a tablet upright),
        // one panel at a time as wide as the screen. Never past the
        // largest step.
        const largest = this.lab.zoomLevels[this.lab.zoomLevels.length - 1] ?? 100;
        const one: Scale = { twipsPerPixel: this.lab.twipsPerPixel, zoom: 1 };
        let width = 0;
        let height = 0;
        for (const d of this.lab.experiments) {
            width = Math.max(width, pixels(d.clientWidth, one));
            height = Math.max(height, pixels(d.clientHeight, one));
        }
        const launcher = pixels(this.lab.launcher.clientWidth, one);
        let room = Math.min((window.innerWidth - 3 * PANEL_CHROME_WIDTH) / (launcher + width),
                            (window.innerHeight - PANEL_CHROME_HEIGHT) / height);
        if (room < 1)
            room = (window.innerWidth - 2 * PANEL_CHROME_WIDTH) / width;
        return Math.max(SMALLEST_FIT, Math.min(largest / 100, Math.floor(room * 100) / 100));
    }

    setZoom(choice: ZoomChoice): void {
        this.zoomChoice = choice;
        saveZoom(choice);
        this.relayout();
    }

    relayout(): void {
        this.launcher.layout(this.scale());
        this.desk.style.setProperty('--zoom', String(this.zoom()));
        for (const p of this.panels)
            p.relayout();
        this.layoutForScreen();
        for (const restyle of this.restyled)
            restyle();
    }

    // On a narrow screen (a phone, a tablet held upright) one experiment at
    // a time: the others fold to their title bars.
    private layoutForScreen(): void {
        const widest = Math.max(0, ...this.panels.map((p) => p.form.cssWidth));
        const narrow = this.launcher.cssWidth + widest + 3 * PANEL_CHROME_WIDTH > window.innerWidth;
        this.desk.classList.toggle('narrow', narrow);
    }

    // --- language

    setLanguage(code: string): void {
        useTexts(this.lab, code);
        saveLanguage(code);
        this.retext();
    }

    retext(): void {
        this.launcherTitle.textContent = tr(this.lab.launcher.formName, this.lab.launcher.caption);
        document.title = this.launcherTitle.textContent;
        this.launcher.retext();
        for (const p of this.panels)
            p.retext();
        this.buildMenus();
        for (const restyle of this.restyled)
            restyle();
    }

    private buildMenus(): void {
        const m = this.lab.launcher.menus;
        const ctx = this.lab.launcher.formName;
        this.menus.clear();
        this.menus.add(menuText(ctx, m.view), () => this.zoomItems(), 'view');
        // The language menu is named in both languages: whoever cannot read
        // the one still finds it.
        this.menus.add(menuText(ctx, m.language), () => this.lab.languages.map((l) => ({
            text: l.name,
            checked: l.code === language(),
            action: () => this.setLanguage(l.code),
        })), 'language');
        for (const make of this.menuMakers)
            make(this);
        this.menus.add(menuText(ctx, m.help), () => [{
            text: menuText(ctx, m.about),
            action: () => this.about(),
        }], 'help');
    }

    private zoomItems(): MenuItem[] {
        const ctx = this.lab.launcher.formName;
        const items: MenuItem[] = [{
            text: `${menuText(ctx, this.lab.launcher.menus.zoom)}: ${tr('web', this.lab.texts.fitToScreen)}`,
            checked: this.zoomChoice === 'fit',
            action: () => this.setZoom('fit'),
        }];
        for (const level of this.lab.zoomLevels)
            items.push({ text: `${level} %`, checked: this.zoomChoice === level, action: () => this.setZoom(level) });
        return items;
    }

    private about(): void {
        const ctx = this.lab.launcher.formName;
        const lines = this.lab.launcher.aboutLines.map((l) => fill(tr(ctx, l), this.lab.version));
        alert(`${tr(ctx, this.lab.launcher.menus.aboutTitle)}\n\n${lines.join('\n\n')}`);
    }

    // --- panels

    panelOf(name: string): ExperimentPanel | undefined {
        return this.panels.find((p) => p.definition.name === name);
    }

    // Opens the experiment, or brings its panel forward if it is open; a
    // run (a replay) replaces what the panel runs.
    open(name: string, run?: Experiment): ExperimentPanel {
        const existing = this.panelOf(name);
        if (existing && !run) {
            this.focus(existing);
            return existing;
        }
        if (existing)
            this.close(existing);
        const definition = this.lab.definition(name) as Definition;
        const panel = new ExperimentPanel(definition, this, run);
        this.panels.push(panel);
        this.desk.append(panel.element);
        panel.form.fitCaptions();
        this.layoutForScreen();
        this.focus(panel);
        for (const opened of this.panelOpened)
            opened(panel);
        return panel;
    }

    close(panel: ExperimentPanel): void {
        const i = this.panels.indexOf(panel);
        if (i >= 0)
            this.panels.splice(i, 1);
        panel.dispose();
        const last = this.panels[this.panels.length - 1];
        if (last)
            this.focus(last);
        this.layoutForScreen();
    }

    focus(panel: ExperimentPanel): void {
        for (const p of this.panels)
            p.element.classList.toggle('active', p === panel);
        if (this.desk.classList.contains('narrow'))
            panel.element.scrollIntoView({ block: 'nearest' });
    }
}
