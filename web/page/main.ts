// The page's start: load the module, make the page from its definitions,
// and keep a copy of the site for offline use.
import { loadSpringLab } from 'springlab-api';
import { App } from './app';
import { Measurements } from './measurement';
import { Recordings } from './recordings';
import { enableSoundOnFirstTouch } from './sound';

declare global {
    interface Window {
        springlab?: App;
        springlabTools?: { measurements: Measurements; recordings: Recordings };
    }
}

async function start(): Promise<void> {
    const root = document.getElementById('app');
    if (!root)
        return;
    try {
        const lab = await loadSpringLab();
        root.replaceChildren();
        const app = new App(lab, root);
        const measurements = new Measurements(app);
        const recordings = new Recordings(app);
        measurements.recordSwitch = recordings;
        recordings.changed.add(() => measurements.retext());
        app.retext();
        enableSoundOnFirstTouch();
        // The tests and the curious drive the page through this.
        window.springlab = app;
        window.springlabTools = { measurements, recordings };
        document.body.dataset['ready'] = 'true';
    } catch (e) {
        root.textContent = `SpringLab: ${e instanceof Error ? e.message : String(e)}`;
        document.body.dataset['ready'] = 'failed';
    }
}

void start();
