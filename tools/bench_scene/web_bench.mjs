// Frame times of the page (skyfold.html) in headless Chromium on ANGLE over Mesa's llvmpipe, the
// rasteriser the native program uses here, at the browser's own frame rate (vsync left on: with
// it off the main thread blocks on the GPU process and the figures mean nothing). A fresh
// browser per run. Prints one JSON object: the median interval between drawn frames, the median
// main-thread time of the page's animation-frame callback (the wasm and its GL calls), the minor
// page faults and the CPU time a frame of the whole browser (every process of it) and of its GPU
// process, and the time from the start of navigation to the end of the first drawn frame, with
// the steps on the way: the document read, parsed with its scripts run (the WebAssembly is inline
// text), the WebAssembly instantiated, and the first drawing frame begun. Beside the faults, the
// madvise calls a frame of every process of the browser (perf counting the system call's
// tracepoint over the measured frames; null where perf cannot): the memory its allocators give
// back to the system, which the faults then take again. With `firefox` last, the page in Firefox
// ESR instead (on the X display in DISPLAY, which its WebGL needs).
//   node web_bench.mjs <skyfold.html> <width>x<height> <notes> <currency> <warm-up> <frames>
//                      [chromium|firefox]
import { spawn } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { fileUrl, launchChromium, launchFirefox, probedPage }
    from '../../tests/web/browser_lib.mjs';

const [page, size, notes, currency, warmUp, frames, browserName = 'chromium'] =
    process.argv.slice(2);
const [width, height] = (size || '').split('x').map(Number);
if (!frames || !width || !height) {
    console.error('usage: web_bench.mjs <skyfold.html> <width>x<height> <notes> <currency> ' +
                  '<warm-up seconds> <frames> [chromium|firefox]');
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

const kMadviseIntervalMs = 10;  // perf's reports: its first one says it has begun to count

// Counts the madvise calls of the browser's processes: resolves once counting has begun to a
// function that stops it and resolves to the count since then, or to null where perf is missing
// or may not count.
function countMadvise(browserPid) {
    const pids = browserProcesses(browserPid).map(member => member.pid).join(',');
    const perf = spawn('perf', ['stat', '-x', ',', '-I', String(kMadviseIntervalMs),
                                '-e', 'syscalls:sys_enter_madvise', '-p', pids],
                       { stdio: ['ignore', 'ignore', 'pipe'] });
    let report = '';
    const ended = new Promise(resolve => {
        perf.on('error', () => resolve(null));
        perf.on('close', () => {
            // An interval cut short as perf stops may read '<not counted>': it counts none.
            const counts = report.split('\n').filter(line => line.includes('sys_enter_madvise'))
                .map(line => Number(line.split(',')[1])).filter(Number.isFinite);
            resolve(counts.length ? counts.reduce((sum, count) => sum + count, 0) : null);
        });
    });
    const stop = () => {
        perf.kill('SIGINT');
        return ended;
    };
    return new Promise(resolve => {
        perf.stderr.on('data', chunk => {
            report += chunk;
            if (report.includes('sys_enter_madvise')) resolve(stop);
        });
        ended.then(() => resolve(() => ended));
    });
}

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

const browser = browserName === 'firefox' ? await launchFirefox({ width, height })
                                          : await launchChromium([], { width, height });
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
    const stopMadviseCount = await countMadvise(browser.process().pid);
    const warmedUp = await tab.evaluate(() => window.skyfoldProbe.drawnFrames);
    const before = processCounts(browser.process().pid);
    await tab.waitForFunction(n => window.skyfoldProbe.drawnFrames > n,
                              { polling: 200, timeout: 0 }, warmedUp + measured);
    const after = processCounts(browser.process().pid);
    const madviseCalls = await stopMadviseCount();
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
        platform: 'web', browser: browserName, mode: 'scene', notes: Number(notes),
        currency: Number(currency), width,
        height, fps: 1000 / msMedian, ms_median: msMedian,
        main_ms_median: median(run.frames.map(frame => frame.ms)), first_frame_ms: run.first,
        ...run.steps,
        faults_per_frame: (after.faults - before.faults) / framesDrawn,
        gpu_faults_per_frame: (after.gpuFaults - before.gpuFaults) / framesDrawn,
        madvise_per_frame: madviseCalls === null ? null : madviseCalls / framesDrawn,
        cpu_ms_per_frame: (after.ticks - before.ticks) * 1000 / kClockTicksPerSecond / framesDrawn,
        gpu_cpu_ms_per_frame:
            (after.gpuTicks - before.gpuTicks) * 1000 / kClockTicksPerSecond / framesDrawn,
    }));
} finally {
    await browser.close();
}
