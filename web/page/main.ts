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
        keepForOffline();
    } catch (e) {
        root.textContent = `SpringLab: ${e instanceof Error ? e.message : String(e)}`;
        document.body.dataset['ready'] = 'failed';
    }
}

// Hands the site to the service worker (sw.js), which keeps a copy for the
// next visit without a network. Only over http(s): a page opened from a file
// has no worker, and some platforms' embeds refuse it or throw on asking;
// the page runs the same without it, only not offline.
function keepForOffline(): void {
    if (!/^https?:$/.test(location.protocol))
        return;
    try {
        navigator.serviceWorker?.register('sw.js').catch(() => undefined);
    } catch {
        // No worker here: the page keeps working online.
    }
}

void start();
