// The experiment's picture: the module rasterizes its display list straight
// into pixels at the device's resolution (the cord's tens of thousands of
// lines cost what their pixels cost), and the canvas shows them 1:1.
import type { Experiment } from 'springlab-api';
import type { Scale } from './form';

export class Picture {
    private readonly context: CanvasRenderingContext2D;

    constructor(private readonly canvas: HTMLCanvasElement) {
        const context = canvas.getContext('2d', { alpha: false });
        if (!context)
            throw new Error('this browser cannot draw on a canvas');
        this.context = context;
    }

    // Draws `run`'s picture into a canvas of the form's CSS size at the
    // device pixel ratio.
    draw(run: Experiment, cssWidth: number, cssHeight: number, scale: Scale, ratio: number): void {
        const width = Math.max(1, Math.round(cssWidth * ratio));
        const height = Math.max(1, Math.round(cssHeight * ratio));
        if (this.canvas.width !== width || this.canvas.height !== height) {
            this.canvas.width = width;
            this.canvas.height = height;
        }
        const pixels = run.raster(width, height, (scale.zoom * ratio) / scale.twipsPerPixel);
        this.context.putImageData(new ImageData(pixels, width, height), 0, 0);
    }
}
