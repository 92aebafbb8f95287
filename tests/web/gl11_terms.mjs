// The OpenGL 1.1 layer's light and fog terms as its WebGL shaders draw them, against OpenGL 1.1's
// equations: gl11_probe.html draws its cases in Chromium and sets each centre pixel beside the
// colour the equations give; every channel must match within rounding.
//   node gl11_terms.mjs <gl11_probe.html>
import { fail, fileUrl, launchChromium, probedPage } from './browser_lib.mjs';

// Levels of 255 a channel may differ by: the framebuffer's 8-bit rounding (half a level), the
// shaders' single-precision maths in another order, and the lighting worked out at the tiny
// quad's corners and interpolated to its centre (under 0.1 of a level). A term left out, doubled
// or taken from the wrong input moves some channel by ten levels or more.
const kToleranceLevels = 2;

const [probePage] = process.argv.slice(2);
if (!probePage) fail('usage: gl11_terms.mjs <gl11_probe.html>');

async function probeResults() {
    const browser = await launchChromium();
    const problems = [];
    try {
        const page = await probedPage(browser, problems);
        await page.goto(fileUrl(probePage));
        await page.waitForFunction(() => window.gl11Probe && window.gl11Probe.done,
                                   { polling: 50, timeout: 60000 });
        return { probe: await page.evaluate(() => window.gl11Probe), problems };
    } finally {
        await browser.close();
    }
}

const { probe, problems } = await probeResults();
if (probe.error) fail(`probe page: ${probe.error}`);
if (problems.length) fail(problems.join('\n'));
if (!probe.cases.length) fail('the probe page drew no cases');

const show = levels => `(${levels.map(v => Math.round(v * 10) / 10).join(', ')})`;
const lines = probe.cases.map(({ name, got, want }) => {
    const off = Math.max(...got.map((level, k) => Math.abs(level - want[k])));
    return { off, text: `${name}: drawn ${show(got)}, equations ${show(want)}` };
});
const wrong = lines.filter(line => line.off > kToleranceLevels);
if (wrong.length) {
    fail(`the layer's light or fog terms differ from OpenGL 1.1's by more than ` +
         `${kToleranceLevels} levels:\n  ${wrong.map(line => line.text).join('\n  ')}`);
}
console.log(`${lines.length} cases within ${kToleranceLevels} levels of OpenGL 1.1's light and ` +
            `fog equations: ${lines.map(line => line.text).join('; ')}`);
