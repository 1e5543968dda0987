// The bounce knock, the same sound file as the desktop's, through Web Audio.
// Browsers let a page make sound only after the user has touched it, so the
// audio starts on the first press or key and stays silent before.
let context: AudioContext | null = null;
let knock: AudioBuffer | null = null;
let loading: Promise<void> | null = null;

// Two knocks asked for in one tick sound this far apart, as on the desktop.
const KNOCK_GAP_SECONDS = 0.04;

function start(): void {
    if (context) {
        if (context.state === 'suspended')
            void context.resume();
        return;
    }
    const Context = window.AudioContext;
    if (!Context)
        return;
    context = new Context();
    const audio = context;
    loading = fetch(new URL('bounce.wav', document.baseURI))
        .then((response) => response.arrayBuffer())
        .then((bytes) => audio.decodeAudioData(bytes))
        .then((buffer) => {
            knock = buffer;
        })
        .catch(() => {
            // No sound file (a damaged copy of the site): the page stays silent.
        });
}

export function enableSoundOnFirstTouch(): void {
    for (const type of ['pointerdown', 'keydown'] as const)
        window.addEventListener(type, start, { capture: true, passive: true });
}

// How many knocks were asked for since the page last played: the count
// stands for tests, which have no ears.
export let knocksAsked = 0;

export function playKnocks(count: number): void {
    if (count <= 0)
        return;
    knocksAsked += count;
    if (!context || !knock || context.state !== 'running')
        return;
    const now = context.currentTime;
    for (let i = 0; i < count; ++i) {
        const source = context.createBufferSource();
        source.buffer = knock;
        source.connect(context.destination);
        source.start(now + i * KNOCK_GAP_SECONDS);
    }
}

export function soundReady(): Promise<void> {
    return loading ?? Promise.resolve();
}
