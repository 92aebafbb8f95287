// The same frame drawn by the X11 program (Mesa's llvmpipe through GLX) and in Chromium (WebGL
// through ANGLE on the same llvmpipe): the same pool, seed, settings and clock readings
// (frame_probe_steps), the same 800x450 size. The two pictures must agree within rounding; both
// and their difference are written to the output folder.
//   node same_frame.mjs <frame_probe.html> <x11_frame_probe> <output folder>
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import { fail, fileUrl, launchChromium, probedPage, writePng } from './browser_lib.mjs';

const [probePage, nativeProbe, outDir] = process.argv.slice(2);
if (!outDir) fail('usage: same_frame.mjs <frame_probe.html> <x11_frame_probe> <output folder>');
mkdirSync(outDir, { recursive: true });

// The two draw the same geometry, pictures and light, but not bit for bit: the native frame is
// lit and fogged by Mesa's fixed-function pipeline (the fog distance taken per vertex; GL_CLAMP,
// which blends in the texture's border colour at a note's edge), the browser's by the layer's
// shaders (fog per fragment; CLAMP_TO_EDGE, as WebGL 1 has no GL_CLAMP), with single-precision
// maths in other orders; the depth buffers differ (16 bits natively, 24 in the browser), and the
// sine of a note's swing comes from another libm. That changes single pixels along note edges
// and where two notes cross, and far notes' shades by a level or two: measured with the probe's
// 1500 notes, a mean of 0.15 levels and 0.11 % of the pixels more than 48 levels off (with 200
// notes 0.02 and 0.02 %). Another scene (another seed) moves whole notes: a mean of 46 to 48
// levels and 40 to 42 % of the pixels far off. The limits sit two to three times above the first
// and far below the second.
const kMaxMeanLevels = 0.5;          // mean absolute difference per channel, levels of 255
const kFarOffLevels = 48;            // a pixel this far off in any channel shows something else
const kMaxFarOffShare = 0.0025;      // ... and at most this share of the pixels may

// The native probe's binary PPM (P6, 8 bits), top row first.
function nativeFrame() {
    const path = `${outDir}/native.ppm`;
    execFileSync(nativeProbe, [path], { stdio: ['ignore', 'inherit', 'inherit'] });
    const bytes = readFileSync(path);
    const header = bytes.toString('latin1', 0, 20).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
    if (!header) fail('the native probe wrote no PPM');
    return { width: +header[1], height: +header[2], rgb: bytes.subarray(header[0].length) };
}

// The probe page's RGBA rows, bottom row first as WebGL reads them, as top-down RGB.
async function browserFrame() {
    const browser = await launchChromium();
    const problems = [];
    try {
        const page = await probedPage(browser, problems);
        await page.goto(fileUrl(probePage));
        await page.waitForFunction(() => window.probeFrame, { polling: 50, timeout: 60000 });
        const frame = await page.evaluate(() => window.probeFrame);
        if (frame.error) fail(`probe page: ${frame.error}`);
        if (problems.length) fail(problems.join('\n'));
        const rgba = Buffer.from(frame.rgba, 'base64');
        const rgb = Buffer.alloc(frame.width * frame.height * 3);
        for (let y = 0; y < frame.height; y++) {
            const from = (frame.height - 1 - y) * frame.width * 4;
            for (let x = 0; x < frame.width; x++) {
                rgba.copy(rgb, (y * frame.width + x) * 3, from + x * 4, from + x * 4 + 3);
            }
        }
        return { width: frame.width, height: frame.height, rgb };
    } finally {
        await browser.close();
    }
}

const native = nativeFrame();
const web = await browserFrame();
if (native.width !== web.width || native.height !== web.height) {
    fail(`sizes differ: native ${native.width}x${native.height}, browser ${web.width}x${web.height}`);
}
const pixels = native.width * native.height;
const difference = Buffer.alloc(pixels * 3);
let sum = 0, farOff = 0;
for (let p = 0; p < pixels; p++) {
    let worst = 0;
    for (let c = 0; c < 3; c++) {
        const d = Math.abs(native.rgb[p * 3 + c] - web.rgb[p * 3 + c]);
        sum += d;
        worst = Math.max(worst, d);
        difference[p * 3 + c] = Math.min(255, d * 4);  // four times, to be seen
    }
    if (worst > kFarOffLevels) farOff++;
}
const mean = sum / (pixels * 3), farOffShare = farOff / pixels;
for (const [name, frame] of [['native', native], ['browser', web]]) {
    writePng(`${outDir}/${name}.png`, frame.width, frame.height, frame.rgb);
}
writePng(`${outDir}/difference.png`, native.width, native.height, difference);
console.log(`mean difference ${mean.toFixed(3)} levels per channel; ` +
            `${(farOffShare * 100).toFixed(3)} % of pixels more than ${kFarOffLevels} levels off ` +
            `(pictures in ${outDir})`);
if (mean > kMaxMeanLevels || farOffShare > kMaxFarOffShare) {
    fail(`the browser's frame is not the native one (limits: mean ${kMaxMeanLevels}, ` +
         `${kMaxFarOffShare * 100} % beyond ${kFarOffLevels} levels)`);
}
