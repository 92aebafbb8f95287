// Frame times of the page (skyfold.html) in headless Chromium on ANGLE over Mesa's llvmpipe, the
// rasteriser the native program uses here, at the browser's own frame rate (vsync left on: with
// it off the main thread blocks on the GPU process and the figures mean nothing). A fresh
// browser per run. Prints one JSON object: the median interval between drawn frames, the median
// main-thread time of the page's animation-frame callback (the wasm and its GL calls), the minor
// page faults and the CPU time a frame of the whole browser (every process of it) and of its GPU
// process, and the time from the start of navigation to the end of the first drawn frame, with
// the steps on the way: the document read, parsed with its scripts run (the WebAssembly is inline
// text), the WebAssembly instantiated, and the first drawing frame begun.
//   node web_bench.mjs <skyfold.html> <width>x<height> <notes> <currency> <warm-up> <frames>
import { readdirSync, readFileSync } from 'node:fs';
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

// Every process of the browser (the one started and its descendants) as pid -> {parent, minor
// faults, CPU clock ticks, GPU process or not}, from /proc; a process that ends meanwhile is
// simply left out.
function browserProcesses(browserPid) {
    const all = new Map();
    for (const entry of readdirSync('/proc')) {
        if (!/^\d+$/.test(entry)) continue;
        try {
            const stat = readFileSync(`/proc/${entry}/stat`, 'latin1');
            const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');  // from field 3 on
            const commandLine = readFileSync(`/proc/${entry}/cmdline`, 'latin1');
            all.set(Number(entry), { parent: Number(fields[1]), minorFaults: Number(fields[7]),
                                     ticks: Number(fields[11]) + Number(fields[12]),
                                     gpu: commandLine.includes('--type=gpu-process') });
        } catch {
            continue;
        }
    }
    const ours = new Set([browserPid]);
    for (let grown = true; grown;) {
        grown = false;
        for (const [pid, member] of all) {
            if (!ours.has(pid) && ours.has(member.parent)) {
                ours.add(pid);
                grown = true;
            }
        }
    }
    return [...ours].filter(pid => all.has(pid)).map(pid => ({ pid, ...all.get(pid) }));
}

// Minor page faults and CPU clock ticks so far: the browser's in all, and its GPU process's.
function processCounts(browserPid) {
    const processes = browserProcesses(browserPid);
    const sum = (list, count) => list.reduce((total, member) => total + member[count], 0);
    const gpu = processes.filter(member => member.gpu);
    return { faults: sum(processes, 'minorFaults'), gpuFaults: sum(gpu, 'minorFaults'),
             ticks: sum(processes, 'ticks'), gpuTicks: sum(gpu, 'ticks') };
}
const kClockTicksPerSecond = 100;  // USER_HZ, what /proc counts CPU time in on Linux

// Runs in the page before its own script: when its WebAssembly is instantiated.
function markInstantiation() {
    const instantiate = WebAssembly.instantiate;
    WebAssembly.instantiate = function (...args) {
        return instantiate.apply(this, args).then(result => {
            window.skyfoldWasmReady = window.skyfoldWasmReady || performance.now();
            return result;
        });
    };
}

const browser = await launchChromium([], { width, height });
try {
    const problems = [];
    const tab = await probedPage(browser, problems);
    await tab.evaluateOnNewDocument(markInstantiation);
    await tab.goto(fileUrl(page, `?count=${notes}&view-angle=front-on` +
                                 `&currency=${kCurrencyNames[Number(currency)]}`));
    await tab.waitForFunction(seconds => {
        const probe = window.skyfoldProbe;
        return probe.drawnFrames > 0 && performance.now() - probe.firstFrameEnd >= seconds * 1000;
    }, { polling: 200, timeout: 0 }, parseFloat(warmUp));
    const measured = Number(frames);
    const warmedUp = await tab.evaluate(() => window.skyfoldProbe.drawnFrames);
    const before = processCounts(browser.process().pid);
    await tab.waitForFunction(n => window.skyfoldProbe.drawnFrames > n,
                              { polling: 200, timeout: 0 }, warmedUp + measured);
    const after = processCounts(browser.process().pid);
    const framesDrawn = await tab.evaluate(() => window.skyfoldProbe.drawnFrames) - warmedUp;
    // The first frame's end is counted from the start of navigation (performance.now's origin).
    const run = await tab.evaluate(n => {
        const navigation = performance.getEntriesByType('navigation')[0];
        return { frames: window.skyfoldProbe.frames.slice(-n),
                 first: window.skyfoldProbe.firstFrameEnd,
                 steps: { document_ms: navigation.responseEnd, parsed_ms: navigation.domInteractive,
                          wasm_ms: window.skyfoldWasmReady,
                          first_frame_start_ms: window.skyfoldProbe.firstFrameStart } };
    }, measured + 1);
    const intervals = run.frames.slice(1).map((frame, i) => frame.at - run.frames[i].at);
    const msMedian = median(intervals);
    if (problems.length) throw new Error(problems.join('\n'));
    console.log(JSON.stringify({
        platform: 'web', mode: 'scene', notes: Number(notes), currency: Number(currency), width,
        height, fps: 1000 / msMedian, ms_median: msMedian,
        main_ms_median: median(run.frames.map(frame => frame.ms)), first_frame_ms: run.first,
        ...run.steps,
        faults_per_frame: (after.faults - before.faults) / framesDrawn,
        gpu_faults_per_frame: (after.gpuFaults - before.gpuFaults) / framesDrawn,
        cpu_ms_per_frame: (after.ticks - before.ticks) * 1000 / kClockTicksPerSecond / framesDrawn,
        gpu_cpu_ms_per_frame:
            (after.gpuTicks - before.gpuTicks) * 1000 / kClockTicksPerSecond / framesDrawn,
    }));
} finally {
    await browser.close();
}
