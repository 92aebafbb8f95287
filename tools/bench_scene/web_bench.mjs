// Frame times of the page (skyfold.html) in headless Chromium on ANGLE over Mesa's llvmpipe, the
// rasteriser the native program uses here, at the browser's own frame rate (vsync left on: with
// it off the main thread blocks on the GPU process and the figures mean nothing). A fresh
// browser per run. Prints one JSON object: the median interval between drawn frames, the median
// main-thread time of the page's animation-frame callback (the wasm and its GL calls), and the
// time from the start of navigation to the end of the first drawn frame.
//   node web_bench.mjs <skyfold.html> <width>x<height> <notes> <currency> <warm-up> <frames>
import { fileUrl, launchChromium, probedPage } from '../../tests/web/browser_lib.mjs';

const [page, size, notes, currency, warmUp, frames] = process.argv.slice(2);
const [width, height] = (size || '').split('x').map(Number);
if (!frames || !width || !height) {
    console.error('usage: web_bench.mjs <skyfold.html> <width>x<height> <notes> <currency> ' +
                  '<warm-up seconds> <frames>');
    process.exit(2);
}
const kCurrencyNames = ['australian', 'american', 'euro'];

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

const browser = await launchChromium([], { width, height });
try {
    const problems = [];
    const tab = await probedPage(browser, problems);
    await tab.goto(fileUrl(page, `?count=${notes}&view-angle=front-on` +
                                 `&currency=${kCurrencyNames[Number(currency)]}`));
    await tab.waitForFunction(seconds => {
        const probe = window.skyfoldProbe;
        return probe.drawnFrames > 0 && performance.now() - probe.firstFrameEnd >= seconds * 1000;
    }, { polling: 200, timeout: 0 }, parseFloat(warmUp));
    const measured = Number(frames);
    const warmedUp = await tab.evaluate(() => window.skyfoldProbe.drawnFrames);
    await tab.waitForFunction(n => window.skyfoldProbe.drawnFrames > n,
                              { polling: 200, timeout: 0 }, warmedUp + measured);
    // The first frame's end is counted from the start of navigation (performance.now's origin).
    const run = await tab.evaluate(n => ({ frames: window.skyfoldProbe.frames.slice(-n),
                                           first: window.skyfoldProbe.firstFrameEnd }),
                                   measured + 1);
    const intervals = run.frames.slice(1).map((frame, i) => frame.at - run.frames[i].at);
    const msMedian = median(intervals);
    if (problems.length) throw new Error(problems.join('\n'));
    console.log(JSON.stringify({
        platform: 'web', mode: 'scene', notes: Number(notes), currency: Number(currency), width,
        height, fps: 1000 / msMedian, ms_median: msMedian,
        main_ms_median: median(run.frames.map(frame => frame.ms)), first_frame_ms: run.first,
    }));
} finally {
    await browser.close();
}
