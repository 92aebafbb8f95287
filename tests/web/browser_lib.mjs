// Shared by the browser tests and the web benchmark: launching Debian's Chromium and Firefox ESR
// through puppeteer-core, counting the page's WebGL draws per animation frame from the test side
// (the page itself carries no test hooks), judging a screenshot by its colour, and writing PNGs.
import puppeteer from 'puppeteer-core';
import { writeFileSync } from 'node:fs';
import { deflateSync } from 'node:zlib';
import { pathToFileURL } from 'node:url';

// Chromium on ANGLE over Mesa's llvmpipe, the rasteriser the native program uses here; it needs
// no X display. As root Chromium refuses to start without --no-sandbox.
export const chromiumFlags = ['--use-angle=gl-egl', '--ignore-gpu-blocklist',
                              ...(process.getuid() === 0 ? ['--no-sandbox'] : [])];

export function launchChromium(extraFlags = [], viewport = { width: 800, height: 450 }) {
    return puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
                              args: [...chromiumFlags, ...extraFlags], defaultViewport: viewport });
}

// Firefox renders WebGL headless only with an X display (the test display) to find its GL on.
export function launchFirefox(viewport = { width: 800, height: 450 }) {
    if (!process.env.DISPLAY) throw new Error('Firefox needs DISPLAY for WebGL');
    return puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
                              headless: true, defaultViewport: viewport });
}

export function fileUrl(path, query = '') {
    return pathToFileURL(path).href + query;
}

// Runs in the page before its own script: counts drawArrays and flush calls, and for every
// animation-frame callback that draws, how many draws and flushes it made and how long it took
// (main-thread milliseconds, the wasm and the GL calls), and when the first such callback began
// and ended, in window.skyfoldProbe.
function installDrawProbe() {
    const probe = window.skyfoldProbe = { draws: 0, flushes: 0, frames: [], drawnFrames: 0 };
    const context = WebGLRenderingContext.prototype;
    const drawArrays = context.drawArrays, flush = context.flush;
    context.drawArrays = function (...args) {
        probe.draws++;
        return drawArrays.apply(this, args);
    };
    context.flush = function () {
        probe.flushes++;
        return flush.apply(this);
    };
    const requestFrame = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = callback => requestFrame(time => {
        const drawsBefore = probe.draws, flushesBefore = probe.flushes;
        const start = performance.now();
        try {
            callback(time);
        } finally {
            const draws = probe.draws - drawsBefore;
            if (draws > 0) {
                if (!probe.drawnFrames) {
                    probe.firstFrameStart = start;
                    probe.firstFrameEnd = performance.now();
                }
                probe.drawnFrames++;
                probe.frames.push({ draws, flushes: probe.flushes - flushesBefore,
                                    ms: performance.now() - start, at: start });
                if (probe.frames.length > 2000) probe.frames.splice(0, 1000);
            }
        }
    });
}

const pageProblems = new WeakMap();

// A page with the draw probe whose console errors and warnings, page errors and requests are
// collected in `problems`. Allowed: the file:// document itself, and the data: URL from which
// the one-file build instantiates its own inlined WebAssembly (no network either).
export async function probedPage(browser, problems) {
    const page = await browser.newPage();
    pageProblems.set(page, problems);
    await page.evaluateOnNewDocument(installDrawProbe);
    page.on('console', message => {
        if (message.type() === 'error' || message.type() === 'warn') {
            problems.push(`console ${message.type()}: ${message.text()}`);
        }
    });
    page.on('pageerror', error => problems.push(`page error: ${error}`));
    page.on('request', request => {
        const url = new URL(request.url());
        const ownDocument = url.protocol === 'file:' && request.resourceType() === 'document';
        if (!ownDocument && url.protocol !== 'data:') {
            problems.push(`request: ${request.resourceType()} ${request.url().slice(0, 120)}`);
        }
    });
    return page;
}

// Notes in the last drawn frame once at least `frames` frames have been drawn since `after`
// (a count of drawn frames): each note is two draws, the banner one.
export async function notesDrawn(page, { frames = 3, after = 0 } = {}) {
    await page.waitForFunction((wanted) => window.skyfoldProbe.drawnFrames >= wanted,
                               { polling: 50, timeout: 30000 }, after + frames).catch(error => {
        const problems = pageProblems.get(page) || [];
        throw new Error(`no frames drawn (${error.message})\n  ${problems.join('\n  ')}`);
    });
    return page.evaluate(() => Math.floor(window.skyfoldProbe.frames.at(-1).draws / 2));
}

export function drawnFrames(page) {
    return page.evaluate(() => window.skyfoldProbe.drawnFrames);
}

// Share of the screenshot's pixels that are strongly coloured (brightest minus darkest channel
// above a fifth): the notes and the banner, not the dark background or a grey text.
export async function colouredShare(page) {
    const png = await page.screenshot({ encoding: 'base64' });
    return page.evaluate(async (base64) => {
        const bytes = Uint8Array.from(atob(base64), c => c.charCodeAt(0));
        const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
        const canvas = new OffscreenCanvas(image.width, image.height);
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const pixels = context.getImageData(0, 0, image.width, image.height).data;
        let coloured = 0;
        for (let i = 0; i < pixels.length; i += 4) {
            const r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
            if (Math.max(r, g, b) - Math.min(r, g, b) > 51) coloured++;
        }
        return coloured / (image.width * image.height);
    }, png);
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});

function crc32(bytes) {
    let c = 0xffffffff;
    for (const byte of bytes) c = crcTable[(c ^ byte) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
}

function pngChunk(type, data) {
    const chunk = Buffer.alloc(12 + data.length);
    chunk.writeUInt32BE(data.length, 0);
    chunk.write(type, 4, 'latin1');
    data.copy(chunk, 8);
    chunk.writeUInt32BE(crc32(chunk.subarray(4, 8 + data.length)), 8 + data.length);
    return chunk;
}

// Writes top-down RGB rows as an 8-bit RGB PNG.
export function writePng(path, width, height, rgb) {
    const header = Buffer.alloc(13);
    header.writeUInt32BE(width, 0);
    header.writeUInt32BE(height, 4);
    header.set([8, 2, 0, 0, 0], 8);
    const rows = Buffer.alloc((width * 3 + 1) * height);
    for (let y = 0; y < height; y++) {
        rgb.copy(rows, y * (width * 3 + 1) + 1, y * width * 3, (y + 1) * width * 3);
    }
    writeFileSync(path, Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]),
                                       pngChunk('IHDR', header), pngChunk('IDAT', deflateSync(rows)),
                                       pngChunk('IEND', Buffer.alloc(0))]));
}

export function fail(message) {
    console.error(`FAIL: ${message}`);
    process.exit(1);
}
