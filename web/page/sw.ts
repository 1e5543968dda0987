// The page's service worker: once the page has been opened, it opens again
// without a network (a classroom's Wi-Fi down, a tablet taken home). On
// install it copies every file of the site into a cache named after the
// build's content hash, and answers from that cache first. A new build is a
// new cache: the browser notices the changed worker, installs it beside the
// old one, and the next visit runs the new files; the old cache is deleted
// once the new worker takes over.
//
// Bundled by web/tools/offline.mjs, which fills in the two constants.
declare const PRECACHE: readonly string[];
declare const VERSION: string;

// The few worker types used here; the page's type set is the window's.
interface ExtendableEvent extends Event {
    waitUntil(work: Promise<unknown>): void;
}
interface FetchEvent extends ExtendableEvent {
    readonly request: Request;
    respondWith(response: Response | Promise<Response>): void;
}
interface WorkerScope {
    readonly registration: { readonly scope: string };
    readonly clients: { claim(): Promise<void> };
    skipWaiting(): Promise<void>;
    addEventListener(type: 'install' | 'activate', listener: (e: ExtendableEvent) => void): void;
    addEventListener(type: 'fetch', listener: (e: FetchEvent) => void): void;
}

const worker = self as unknown as WorkerScope;
const scope = worker.registration.scope;
// Caches belong to the whole origin: a school server may carry two copies of
// the page in two folders, and each keeps to its own caches.
const PREFIX = `springlab ${scope} `;
const CACHE = PREFIX + VERSION;

worker.addEventListener('install', (e) => {
    // `reload`: past the browser's HTTP cache, so a new cache never keeps an
    // old copy of a file under the new build's name.
    const requests = PRECACHE.map((file) => new Request(new URL(file, scope).href, { cache: 'reload' }));
    e.waitUntil(caches.open(CACHE)
        .then((cache) => cache.addAll(requests))
        .then(() => worker.skipWaiting()));
});

worker.addEventListener('activate', (e) => {
    e.waitUntil(caches.keys()
        .then((names) => Promise.all(names
            .filter((name) => name.startsWith(PREFIX) && name !== CACHE)
            .map((name) => caches.delete(name))))
        .then(() => worker.clients.claim()));
});

worker.addEventListener('fetch', (e) => {
    const request = e.request;
    if (request.method !== 'GET' || !request.url.startsWith(scope))
        return;
    // The page's own address (with or without index.html, with any query)
    // is the page; files are matched without their query.
    const page = request.mode === 'navigate' && /^(index\.html)?$/.test(new URL(request.url).pathname.slice(new URL(scope).pathname.length));
    e.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(page ? new URL('index.html', scope).href : request, { ignoreSearch: true }))
        .then((hit) => hit ?? fetch(request)));
});
