// The page, skyfold.html, from file:// in a real browser.
//   node page.mjs chromium <skyfold.html>   every behaviour of the page, in one Chromium run:
//       notes drawn; the WebGL context lost and given back; the query's counts (flushed only in
//       frames of thousands of draws), its names and words in any case, the last of a name
//       counting; bad values named on the page in a few lines, the stored settings untouched;
//       the dialog driven by real clicks stores and the running page draws it, a reload shows
//       it, Cancel stores nothing; the dialog whole in a narrow view and sharp at pixel ratio 2;
//       the pointer hidden at rest in full screen; no banner in a narrow view; device pixel
//       ratio 2; no frames while hidden; Lively's and Wallpaper Engine's calls as they make
//       them; the failure notice without WebGL
//   node page.mjs firefox <skyfold.html>    Firefox ESR draws notes, and again after the WebGL
//       context was lost and given back; no flushes in a frame of 1500 notes
// Throughout, no console error or warning, no page error and no request but the page's own.
import { colouredShare, drawnFrames, fail, fileUrl, launchChromium, launchFirefox, notesDrawn,
         probedPage } from './browser_lib.mjs';

const [browserName, pagePath] = process.argv.slice(2);
if (!pagePath) fail('usage: page.mjs chromium|firefox <skyfold.html>');
const problems = [];
const kStorageKey = 'Quillmark/Skyfold';
const kDefaultNotes = 200;
const kFewestDrawsPerFlush = 100;  // fewer would cost the rasteriser a pass for every few notes

function expect(condition, message) {
    if (!condition) fail(message);
}

function expectNoProblems(stage) {
    expect(problems.length === 0, `${stage}:\n  ${problems.join('\n  ')}`);
}

function settingsText(notes, viewAngle, currency) {
    return `Number of Notes=${notes}\nView Angle=${viewAngle}\nType of Currency=${currency}\n`;
}

const stored = page => page.evaluate(key => localStorage.getItem(key), kStorageKey);

// Notes, and that the picture shows them (coloured notes, not a black or failed canvas) once
// they have fallen into the view from above it.
async function expectNotesShown(page, notes, stage) {
    expect(await notesDrawn(page) === notes, `${stage}: ${await notesDrawn(page)} notes drawn, not ${notes}`);
    const deadline = Date.now() + 30000;
    let share = 0;
    while ((share = await colouredShare(page)) <= 0.005) {
        expect(Date.now() < deadline, `${stage}: only ${(share * 100).toFixed(2)} % of the picture coloured`);
    }
}

// Waits for this many of the page's animation frames: the browser's pace, not a clock's.
function animationFrames(page, count) {
    return page.evaluate(wanted => new Promise(resolve => {
        let frames = 0;
        const next = () => (++frames >= wanted ? resolve() : requestAnimationFrame(next));
        requestAnimationFrame(next);
    }), count);
}

// The running page comes to draw this many notes (each two draws, the banner one).
async function notesBecome(page, notes, stage) {
    const drawing = wanted => Math.floor(window.skyfoldProbe.frames.at(-1).draws / 2) === wanted;
    await page.waitForFunction(drawing, { polling: 50, timeout: 10000 }, notes)
        .catch(async () => fail(`${stage}: ${await notesDrawn(page)} notes drawn, not ${notes}`));
}

// A real click in the middle of the element's box.
async function click(page, selector) {
    const box = await (await page.waitForSelector(selector, { visible: true })).boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
}

const control = id => `#settings-dialog [data-control="${id}"]`;

async function openDialogWithButton(page) {
    await page.mouse.move(300, 200);
    await page.mouse.move(310, 210);
    await page.waitForSelector('#settings-button.shown');
    await click(page, '#settings-button');
    await page.waitForSelector('#settings-dialog', { visible: true });
}

// What the open dialog shows: the thumb's count and the checked buttons' ids.
function dialogShows(page) {
    return page.evaluate(() => ({
        notes: Number(document.getElementById('note-count').getAttribute('aria-valuenow')),
        checked: [...document.querySelectorAll('#settings-dialog input:checked')]
            .map(radio => Number(radio.dataset.control)).sort(),
    }));
}

// Names and words in any case, the last of a name counting and the others never told; each bad
// value told once, in at most four lines, and its setting the stored one. On the way, the GL
// layer's flushes in Chromium: none in a frame of few draws (75 notes), some in a frame of
// thousands (1500 notes), but never one a draw or near it.
async function checkQueries(page, url) {
    const before = settingsText(300, 1, 2);
    await page.evaluate((key, text) => localStorage.setItem(key, text), kStorageKey, before);
    for (const [query, notes] of [['count=75', 75],
                                  ['COUNT=abc&Count=1500&currency=Euro&VIEW-ANGLE=TOP-DOWN', 1500]]) {
        await page.goto(`${url}?${query}`);
        expect(await notesDrawn(page) === notes, `?${query} drew ${await notesDrawn(page)} notes`);
        const { draws, flushes } = await page.evaluate(() => window.skyfoldProbe.frames.at(-1));
        const flushedRight = notes < 1500 ? flushes === 0
                                          : flushes > 0 && flushes * kFewestDrawsPerFlush <= draws;
        expect(flushedRight,
               `a frame of ${notes} notes flushed ${flushes} times in ${draws} draws`);
        expect(await page.$eval('#query-message', element => element.hidden),
               `?${query} shows a message`);
        expect(await stored(page) === before, `?${query} changed the stored settings`);
    }
    await page.goto(`${url}?${'cont=1&'.repeat(20000)}count=lots&curency=x&viewangle=y&max-fps=-1`);
    const message = await page.waitForSelector('#query-message', { visible: true });
    const lines = (await message.evaluate(element => element.textContent)).split('\n');
    expect(lines.length === 4 && lines[0] === 'cont: no such setting; did you mean count?' &&
           /^count: 'lots'/.test(lines[1]) && lines[3] === 'and 2 more',
           `the bad query's message says: ${lines.join(' / ')}`);
    expect(await notesDrawn(page) === 300, 'a bad count did not fall back to the stored one');
    expect(await stored(page) === before, 'a bad query changed the stored settings');
    await page.goto(url);
    expect(await page.$eval('#query-message', element => element.hidden || !element.offsetParent),
           'the query message shows without a query');
    expectNoProblems('queries');
}

// OK stores what the dialog shows and the running page goes on with it, the address no longer
// naming what the query gave, so a reload shows it too; Cancel stores nothing.
async function checkDialog(page, url) {
    await page.goto(`${url}?count=300`);
    await notesDrawn(page);
    await openDialogWithButton(page);
    const opened = await dialogShows(page);
    expect(opened.notes === 300 && opened.checked.join() === '1002,1004',
           `the dialog opened with ${JSON.stringify(opened)}, not the stored settings`);
    await click(page, control(1001));  // American
    await click(page, control(1005));  // top down
    await click(page, '#note-count .arrow.right');
    const chosen = await dialogShows(page);
    expect(chosen.notes > 300, `a click on the slider's right arrow left ${chosen.notes} notes`);
    await page.evaluate(() => { window.notReloaded = true; });
    await click(page, control(1));
    expect(await stored(page) === settingsText(chosen.notes, 2, 1),
           `OK stored ${JSON.stringify(await stored(page))}`);
    await notesBecome(page, chosen.notes, 'after OK');
    expect(await page.evaluate(() => window.notReloaded), 'OK reloaded the page');

    await page.reload();
    await notesDrawn(page);
    await page.keyboard.press('s');
    await page.waitForSelector('#settings-dialog', { visible: true });
    const reopened = await dialogShows(page);
    expect(reopened.notes === chosen.notes && reopened.checked.join() === '1001,1005',
           `after a reload the dialog shows ${JSON.stringify(reopened)}`);
    const kept = await stored(page);
    await click(page, control(1000));
    await click(page, control(1003));
    await click(page, '#note-count .arrow.left');
    await click(page, control(2));
    await page.waitForSelector('#settings-dialog', { hidden: true });
    expect(await stored(page) === kept, 'Cancel changed the stored settings');
    expectNoProblems('dialog');
}

// Squares of device pixels in the screenshot that are not of one colour, where each should be one
// pixel of the picture: the least over the four ways the squares can lie on the pixels.
async function mixedSquares(page, clip, side) {
    const png = await page.screenshot({ clip, encoding: 'base64' });
    return page.evaluate(async (base64, side) => {
        const bytes = Uint8Array.from(atob(base64), c => c.charCodeAt(0));
        const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
        const canvas = new OffscreenCanvas(image.width, image.height);
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0);
        const pixels = new Uint32Array(context.getImageData(0, 0, image.width, image.height).data.buffer);
        let least = Infinity;
        for (let offset = 0; offset < side * side; ++offset) {
            const ox = offset % side, oy = Math.floor(offset / side);
            let mixed = 0;
            for (let y = oy; y + side <= image.height; y += side) {
                for (let x = ox; x + side <= image.width; x += side) {
                    const colour = pixels[y * image.width + x];
                    let same = true;
                    for (let k = 1; k < side * side; ++k) {
                        const at = (y + Math.floor(k / side)) * image.width + x + k % side;
                        same &&= pixels[at] === colour;
                    }
                    mixed += same ? 0 : 1;
                }
            }
            least = Math.min(least, mixed);
        }
        return least;
    }, png, side);
}

// In a view narrower than the dialog it shows whole, OK and Cancel on screen; at pixel ratio 2
// each pixel of its face is a square of two by two device pixels of one colour (no smoothing).
async function checkDialogOnScreens(page) {
    await page.setViewport({ width: 400, height: 700 });
    await page.keyboard.press('s');
    await page.waitForSelector('#settings-dialog', { visible: true });
    for (const id of [1, 2]) {
        const box = await (await page.$(control(id))).boundingBox();
        expect(box.x >= 0 && box.y >= 0 && box.x + box.width <= 400 && box.y + box.height <= 700,
               `in a view 400 pixels wide button ${id} lies at ${JSON.stringify(box)}`);
    }
    await page.keyboard.press('Escape');
    await page.setViewport({ width: 800, height: 450, deviceScaleFactor: 2 });
    await page.keyboard.press('s');
    const face = await page.waitForSelector('#settings-dialog .face', { visible: true });
    const { x, y } = await face.boundingBox();
    const mixed = await mixedSquares(page, { x: x + 100, y: y + 40, width: 60, height: 40 }, 2);
    expect(mixed === 0, `at pixel ratio 2, ${mixed} of the dialog face's pixels are smoothed`);
    await page.keyboard.press('Escape');
    await page.setViewport({ width: 800, height: 450 });
    expectNoProblems('the dialog on other screens');
}

// In full screen the pointer hides once it rests, and shows again when it moves.
async function checkPointerInFullScreen(page) {
    const cursor = () => page.$eval('#canvas', canvas => getComputedStyle(canvas).cursor);
    await page.keyboard.press('f');
    await page.waitForFunction(() => document.fullscreenElement);
    await page.mouse.move(100, 100);
    await page.waitForFunction(() => getComputedStyle(document.getElementById('canvas')).cursor === 'none',
                               { timeout: 10000 })
        .catch(() => fail('the pointer shows at rest in full screen'));
    await page.mouse.move(120, 110);
    expect(await cursor() !== 'none', 'the pointer stays hidden when it moves');
    await page.keyboard.press('f');
    await page.waitForFunction(() => !document.fullscreenElement);
    expectNoProblems('full screen');
}

// The banner (one draw) only in a view 640 CSS pixels wide or more; a buffer at the pixel ratio.
async function checkViewSizes(page) {
    await page.evaluate(key => localStorage.removeItem(key), kStorageKey);
    await page.reload();
    const drawsAt = async () => {
        const after = await drawnFrames(page);
        await notesDrawn(page, { after });
        return page.evaluate(() => window.skyfoldProbe.frames.at(-1).draws);
    };
    expect(await drawsAt() === 2 * kDefaultNotes + 1, 'no banner in an 800-pixel view');
    await page.setViewport({ width: 600, height: 400 });
    await page.waitForFunction(() => document.getElementById('canvas').width === 600);
    expect(await drawsAt() === 2 * kDefaultNotes, 'a banner in a 600-pixel view');
    await page.setViewport({ width: 800, height: 450, deviceScaleFactor: 2 });
    await page.waitForFunction(() => {
        const canvas = document.getElementById('canvas');
        return canvas.width === 1600 && canvas.height === 900 && canvas.clientWidth === 800;
    }, { timeout: 10000 }).catch(() => fail('at pixel ratio 2 the drawing buffer is not 1600x900'));
    await notesDrawn(page, { after: await drawnFrames(page) });
    await page.setViewport({ width: 800, height: 450 });
    expectNoProblems('view sizes');
}

// While another page is in front this one draws nothing; brought back, it draws again.
async function checkHidden(browser, page) {
    const other = await browser.newPage();
    await other.bringToFront();
    await page.waitForFunction(() => document.visibilityState === 'hidden');
    const framesHidden = await drawnFrames(page);
    await animationFrames(other, 30);
    expect(await drawnFrames(page) === framesHidden, 'the hidden page went on drawing');
    await other.close();
    await page.bringToFront();
    await notesDrawn(page, { after: framesHidden });
    expectNoProblems('hidden page');
}

// A lost context stops the draws; one that does not come back shows the surface failure; given
// back, the notes are drawn again as they were, and the failure goes.
async function checkContextLoss(page, stage) {
    await page.evaluate(() => {
        window.contextLoser = document.getElementById('canvas').getContext('webgl')
            .getExtension('WEBGL_lose_context');
        window.contextLoser.loseContext();
    });
    await page.waitForSelector('#failure', { visible: true, timeout: 10000 })
        .catch(() => fail(`${stage}: a context that did not come back shows no failure`));
    const draws = () => page.evaluate(() => window.skyfoldProbe.draws);
    const drawsLost = await draws();
    await animationFrames(page, 10);
    expect(await draws() === drawsLost, `${stage}: the page draws on a lost context`);
    const framesLost = await drawnFrames(page);
    await page.evaluate(() => window.contextLoser.restoreContext());
    await notesDrawn(page, { after: framesLost });
    expect(await page.$eval('#failure', element => element.hidden),
           `${stage}: the failure stays with the context back`);
    await expectNotesShown(page, kDefaultNotes, `${stage}, the context back`);
    expectNoProblems(`${stage}: context lost and back`);
}

// The hosts' calls as each host makes them, each host in a page of its own. Lively sends every
// value of its panel again after the page has loaded; Wallpaper Engine its frame limit, then a
// changed property. A change shows in the running page, with the frame cap kept; inside a host the
// page offers no settings of its own; each host's pause stops the frames until it resumes.
async function checkHosts(page, url) {
    const expectPausedBy = async (pause, stage) => {
        await page.evaluate(pause, true);
        const frames = await drawnFrames(page);
        await animationFrames(page, 30);
        expect(await drawnFrames(page) === frames, `${stage}'s pause left the frames running`);
        await page.evaluate(pause, false);
        await notesDrawn(page, { after: frames });
    };
    const stillLoaded = () => page.evaluate(() => window.notReloaded === true);
    await page.evaluate(key => localStorage.removeItem(key), kStorageKey);

    await page.goto(url);
    await notesDrawn(page);
    await page.evaluate(() => {
        window.notReloaded = true;
        const panel = [['count', 330], ['viewangle', 2], ['currency', 1], ['maxfps', 0]];
        for (const [name, value] of panel) livelyPropertyListener(name, value);
    });
    await notesBecome(page, 330, 'Lively\'s values');
    await page.mouse.move(300, 200);
    await page.mouse.move(310, 210);
    await page.keyboard.press('s');
    expect(await page.evaluate(() => !document.getElementById('settings-button').matches('.shown') &&
                                     document.getElementById('settings-dialog').hidden),
           'inside Lively the page offers settings of its own');
    await expectPausedBy(paused => livelyWallpaperPlaybackChanged(JSON.stringify({ IsPaused: paused })),
                         'Lively');
    expect(await stillLoaded(), 'Lively\'s values reloaded the page');

    await page.goto(url);
    await notesDrawn(page);
    await page.evaluate(() => { window.notReloaded = true; });
    await expectPausedBy(paused => wallpaperPropertyListener.setPaused(paused), 'Wallpaper Engine');
    await page.evaluate(() => {
        wallpaperPropertyListener.applyGeneralProperties({ fps: 1 });
        wallpaperPropertyListener.applyUserProperties({ count: { value: 500 } });
    });
    await notesBecome(page, 500, 'Wallpaper Engine\'s property');
    const frames = await drawnFrames(page);
    await animationFrames(page, 60);
    const drawn = await drawnFrames(page) - frames;
    expect(drawn <= 15, `at Wallpaper Engine's 1 frame a second, ${drawn} of 60 animation frames drew`);
    expect(await stillLoaded(), 'Wallpaper Engine\'s property reloaded the page');
    expectNoProblems('hosts');
}

async function checkNoWebGl(url) {
    const browser = await launchChromium(['--disable-webgl']);
    try {
        const page = await probedPage(browser, problems);
        await page.goto(url);
        await page.waitForSelector('#failure', { visible: true });
        const caption = await page.$eval('#failure-caption', element => element.textContent);
        expect(caption === 'Error Creating Window', `the failure caption is "${caption}"`);
        const failure = await page.$eval('#failure', element => element.innerText);
        expect(/hardware acceleration or WebGL/.test(failure), 'the failure does not say what to turn on');
        expect(await page.$eval('#canvas', canvas => !canvas.offsetParent), 'the canvas still shows');
        expectNoProblems('no WebGL');
    } finally {
        await browser.close();
    }
}

// Opens the page in a browser just launched and runs the checks on it; the browser closes
// whatever happens.
async function inBrowser(launch, url, checks) {
    const browser = await launch();
    try {
        const page = await probedPage(browser, problems);
        await page.goto(url);
        await checks(browser, page);
    } finally {
        await browser.close();
    }
}

async function checkChromium(url) {
    await inBrowser(launchChromium, url, async (browser, page) => {
        await expectNotesShown(page, kDefaultNotes, 'Chromium');
        await checkContextLoss(page, 'Chromium');
        await checkQueries(page, url);
        await checkDialog(page, url);
        await checkDialogOnScreens(page);
        await checkPointerInFullScreen(page);
        await checkViewSizes(page);
        await checkHidden(browser, page);
        await checkHosts(page, url);
    });
    await checkNoWebGl(url);
}

// Firefox gains nothing from the GL layer's flushes and pays for each: none even in a frame of
// thousands of draws.
async function checkFirefox(url) {
    await inBrowser(launchFirefox, url, async (browser, page) => {
        await expectNotesShown(page, kDefaultNotes, 'Firefox');
        await checkContextLoss(page, 'Firefox');
        await page.goto(`${url}?count=1500`);
        expect(await notesDrawn(page) === 1500, 'Firefox: ?count=1500 drew another count');
        const { flushes } = await page.evaluate(() => window.skyfoldProbe.frames.at(-1));
        expect(flushes === 0, `Firefox: a frame of 1500 notes flushed ${flushes} times`);
    });
}

const url = fileUrl(pagePath);
if (browserName === 'chromium') {
    await checkChromium(url);
} else if (browserName === 'firefox') {
    await checkFirefox(url);
} else {
    fail(`unknown browser ${browserName}`);
}
console.log(`${browserName}: ok`);
