// The page, skyfold.html, from file:// in a real browser.
//   node page.mjs chromium <skyfold.html>   every behaviour of the page, in one Chromium run:
//       notes drawn; the query's counts; a bad query value named on the page, the stored settings
//       untouched; the dialog driven by real clicks stores, a reload shows it, Cancel stores
//       nothing; no banner in a narrow view; device pixel ratio 2; no frames while hidden; the
//       failure notice without WebGL
//   node page.mjs firefox <skyfold.html>    Firefox ESR loads the page and draws notes
// Throughout, no console error or warning, no page error and no request but the page's own.
import { colouredShare, drawnFrames, fail, fileUrl, launchChromium, launchFirefox, notesDrawn,
         probedPage } from './browser_lib.mjs';

const [browserName, pagePath] = process.argv.slice(2);
if (!pagePath) fail('usage: page.mjs chromium|firefox <skyfold.html>');
const problems = [];
const kStorageKey = 'Quillmark/Skyfold';
const kDefaultNotes = 200;

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

// The running page comes to draw this many notes (each two draws, the banner one).
async function notesBecome(page, notes, stage) {
    await page.waitForFunction(wanted => Math.floor(window.skyfoldProbe.frames.at(-1).draws / 2) === wanted,
                               { polling: 50, timeout: 10000 }, notes)
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

async function checkQueries(page, url) {
    const before = settingsText(300, 1, 2);
    await page.evaluate((key, text) => localStorage.setItem(key, text), kStorageKey, before);
    for (const notes of [75, 1500]) {
        await page.goto(`${url}?count=${notes}`);
        expect(await notesDrawn(page) === notes, `?count=${notes} drew ${await notesDrawn(page)} notes`);
        expect(await stored(page) === before, `?count=${notes} changed the stored settings`);
    }
    await page.goto(`${url}?count=lots&currency=euro`);
    const message = await page.waitForSelector('#query-message', { visible: true });
    const text = await message.evaluate(element => element.textContent);
    expect(/\bcount\b/.test(text) && !/currency/.test(text), `the bad query's message says: ${text}`);
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
    await other.evaluate(() => new Promise(resolve => {
        let frames = 0;
        const next = () => (++frames >= 30 ? resolve() : requestAnimationFrame(next));
        requestAnimationFrame(next);
    }));
    expect(await drawnFrames(page) === framesHidden, 'the hidden page went on drawing');
    await other.close();
    await page.bringToFront();
    await notesDrawn(page, { after: framesHidden });
    expectNoProblems('hidden page');
}

async function checkNoWebGl(url) {
    const browser = await launchChromium(['--disable-webgl']);
    try {
        const page = await probedPage(browser, problems);
        await page.goto(url);
        await page.waitForSelector('#failure', { visible: true });
        const caption = await page.$eval('#failure-caption', element => element.textContent);
        expect(caption === 'Error Creating Window', `the failure caption is "${caption}"`);
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
        await checkQueries(page, url);
        await checkDialog(page, url);
        await checkViewSizes(page);
        await checkHidden(browser, page);
    });
    await checkNoWebGl(url);
}

async function checkFirefox(url) {
    await inBrowser(launchFirefox, url, async (browser, page) => {
        await expectNotesShown(page, kDefaultNotes, 'Firefox');
        expectNoProblems('Firefox');
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
