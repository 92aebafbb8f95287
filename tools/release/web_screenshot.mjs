// A picture of the page (skyfold.html) in headless Chromium, taken once the notes, which start
// above the view, have fallen into it: the web zip's preview for the wallpaper hosts, and the
// README's screenshot.
//   node web_screenshot.mjs <skyfold.html> <out.png> <width>x<height> [query, e.g. ?count=500]
import { colouredShare, fileUrl, launchChromium, notesDrawn, probedPage } from
    '../../tests/web/browser_lib.mjs';

const [page, out, size, query = ''] = process.argv.slice(2);
const [width, height] = (size || '').split('x').map(Number);
if (!out || !width || !height) {
    console.error('usage: web_screenshot.mjs <skyfold.html> <out.png> <width>x<height> [query]');
    process.exit(2);
}
const kWantedShare = 0.04;  // of the pixels coloured: a sky well filled with notes
const kLongestSeconds = 20;

const browser = await launchChromium([], { width, height });
try {
    const problems = [];
    const tab = await probedPage(browser, problems);
    await tab.goto(fileUrl(page, query));
    await notesDrawn(tab);
    const deadline = Date.now() + kLongestSeconds * 1000;
    while (await colouredShare(tab) < kWantedShare && Date.now() < deadline) { /* falling in */ }
    await tab.screenshot({ path: out });
    if (problems.length) throw new Error(problems.join('\n'));
} finally {
    await browser.close();
}
