// Drives the previews that keyvane-check --html wrote into KEYVANE_PREVIEW_DIR in a headless
// Chromium. The page sequences are the ones the engine's tests walk
// (tests/fixtures/page_sequences.json): the preview must end every step on the same page.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const ROOT = path.resolve(import.meta.dirname, '..', '..');
const PREVIEWS = process.env.KEYVANE_PREVIEW_DIR;
const SEQUENCES = JSON.parse(fs.readFileSync(path.join(ROOT, 'tests/fixtures/page_sequences.json'), 'utf8')).sequences;
const HOLD_MS = 800; // well past the keyboard's 500 ms
const SHORT_HOLD_MS = 300;

assert.ok(PREVIEWS, 'KEYVANE_PREVIEW_DIR must name the folder with the generated previews');

let context;
let profile;

before(async () => {
  profile = fs.mkdtempSync(path.join(os.tmpdir(), 'keyvane-preview-profile-'));
  context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.KEYVANE_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1000, height: 1000 },
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--disable-quic',
    ],
  });
});

after(async () => {
  await context?.close();
  fs.rmSync(profile, { recursive: true, force: true });
});

// The preview of a button file of the repository, as the test script named it.
const previewOf = (file) => path.join(PREVIEWS, `${path.basename(file, path.extname(file))}.html`);

// Opens a preview; every request other than the page itself and every script error fail the test.
async function open(file) {
  const page = await context.newPage();
  const problems = [];
  const url = `file://${previewOf(file)}`;
  page.on('pageerror', (error) => problems.push(`script error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  page.on('request', (request) => {
    if (request.url() !== url) problems.push(`request for ${request.url()}`);
  });
  await page.goto(url);
  await page.waitForSelector('.kv-btn[data-slot="13"]');
  page.problems = problems;
  return page;
}

async function close(page) {
  assert.deepEqual(page.problems, [], 'the page fetched something or failed');
  await page.close();
}

async function screenshot(page, name) {
  await page.screenshot({ path: path.join(PREVIEWS, `${name}.png`), fullPage: true });
}

const slotOf = (button) => (button[0] === 'L' ? 0 : 7) + Number(button.slice(1)) - 1;

async function centreOf(page, slot) {
  const box = await page.locator(`.kv-btn[data-slot="${slot}"]`).boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

// A point of a panel in panel pixels (as the keyboard counts them), in page coordinates.
async function panelPoint(page, side, x, y) {
  const box = await page.locator(side === 'left' ? '.kv-left' : '.kv-right').boundingBox();
  const scale = box.width / 57;
  return { x: Math.round(box.x) + Math.floor((x + 0.5) * scale), y: Math.round(box.y) + Math.floor((y + 0.5) * scale) };
}

async function act(page, action, slot, holdMs = HOLD_MS) {
  const at = await centreOf(page, slot);
  await page.mouse.move(at.x, at.y);
  if (action === 'click') {
    await page.mouse.click(at.x, at.y);
  } else if (action === 'right-click') {
    await page.mouse.click(at.x, at.y, { button: 'right' });
  } else if (action === 'hold') {
    await page.mouse.down({ button: 'right' });
    await page.waitForTimeout(holdMs);
    await page.mouse.up({ button: 'right' });
  } else {
    throw new Error(`unknown action ${action}`);
  }
}

// What the page shows now: the page names, the input method, the captions, the chord log.
function readState(page) {
  return page.evaluate(() => {
    const captions = (from) => Array.from({ length: 7 }, (_, row) =>
      document.querySelector(`.kv-btn[data-slot="${from + row}"]`).dataset.caption);
    return {
      page: document.getElementById('kv-now').dataset.name,
      default: document.getElementById('kv-default').dataset.name,
      ime: document.getElementById('kv-ime').dataset.ime,
      captions: { left: captions(0), right: captions(7) },
      log: Array.from(document.querySelectorAll('#kv-log li'), (entry) => entry.dataset.chord),
    };
  });
}

const eventsOf = (chords) => chords.flatMap((chord) => (chord === '(no keys)' ? [] : chord.split(', ')));

function checkState(state, expect, keysSent, where) {
  assert.equal(state.page, expect.page, `${where}: page shown`);
  assert.equal(state.default, expect.default, `${where}: default page`);
  if ('ime' in expect) assert.equal(state.ime, expect.ime, `${where}: input method`);
  if ('keys' in expect) assert.deepEqual(keysSent, expect.keys, `${where}: keys sent`);
  if ('captions' in expect) assert.deepEqual(state.captions, expect.captions, `${where}: captions`);
}

describe('page sequences shared with the engine', () => {
  for (const sequence of SEQUENCES) {
    test(`${sequence.name}: every step ends where the engine ends`, async () => {
      const page = await open(sequence.file);
      let state = await readState(page);
      checkState(state, sequence.start, [], 'start');
      for (const [index, step] of sequence.steps.entries()) {
        const logged = state.log.length;
        await act(page, step.do, slotOf(step.button));
        state = await readState(page);
        const where = `step ${index + 1} (${step.do} ${step.button}: ${step.note})`;
        checkState(state, step.expect, eventsOf(state.log.slice(logged)), where);
      }
      await screenshot(page, `${sequence.name}-walked`);
      await close(page);
    });
  }
});

describe('the example preview', () => {
  test('panels and buttons stand where the keyboard puts them, at true size', async () => {
    const page = await open('examples/dovaD.BTN');
    await screenshot(page, 'example');
    const geometry = await page.evaluate(() => {
      const screen = document.getElementById('kv-screen').getBoundingClientRect();
      const box = (element) => {
        const r = element.getBoundingClientRect();
        return [r.left - screen.left, r.top - screen.top, r.width, r.height];
      };
      const caption = getComputedStyle(document.querySelector('.kv-caption'));
      return {
        panels: Array.from(document.querySelectorAll('.kv-panel'), box),
        left: Array.from(document.querySelectorAll('.kv-left .kv-btn'), box),
        right: Array.from(document.querySelectorAll('.kv-right .kv-btn'), box),
        colour: caption.color,
        size: caption.fontSize,
      };
    });
    assert.deepEqual(geometry.panels, [[0, 41, 57, 387], [725, 41, 57, 387]]);
    const rows = [0, 40, 80, 120, 160, 200, 240].map((top, row) => [0, 41 + top, 57, row === 6 ? 49 : 41]);
    assert.deepEqual(geometry.left, rows);
    assert.deepEqual(geometry.right, rows.map(([x, y, w, h]) => [x + 725, y, w, h]));
    assert.equal(geometry.colour, 'rgb(0, 0, 128)');
    assert.equal(geometry.size, '12px');
    await close(page);
  });

  test('both edges of a button count and the upper button wins where two meet', async () => {
    const page = await open('examples/dovaD.BTN');
    await page.addStyleTag({ content: 'body { margin-top: 16.3px; }' }); // the panels off the pixel grid
    // ESC KEY ESC spans panel rows 0 to 41 in the hit test, ↑ KEY UP starts at row 40.
    for (const [y, chord] of [[40, 'Esc down, Esc up'], [41, 'Esc down, Esc up'], [42, 'Up down, Up up']]) {
      const at = await panelPoint(page, 'left', 10, y);
      await page.mouse.click(at.x, at.y);
      const { log } = await readState(page);
      assert.equal(log.at(-1), chord, `panel row ${y}`);
    }
    // Below the seventh button the panel is see-through: nothing happens.
    const below = await panelPoint(page, 'left', 10, 300);
    await page.mouse.click(below.x, below.y);
    assert.equal((await readState(page)).log.length, 3);
    await close(page);
  });

  test('each button says on hover what it does, and marks what comes from the first map', async () => {
    const page = await open('examples/dovaD.BTN');
    const title = (slot) => page.locator(`.kv-btn[data-slot="${slot}"]`).getAttribute('title');
    assert.equal(await title(8), 'KEY Ctrl+C');
    assert.equal(await title(5), 'BASE J_KANA');
    assert.equal(await title(11), 'REKEY');
    await act(page, 'click', 5); // BASE J_KANA
    assert.equal(await title(12), 'JP NUM');
    assert.equal(await title(6), 'KEY BS (from the first map, MAIN)');
    const filled = await page.$$eval('.kv-btn.kv-filled', (buttons) => buttons.map((b) => Number(b.dataset.slot)));
    assert.deepEqual(filled, [6, 13]);
    assert.equal(await page.locator('#kv-ime').getAttribute('data-ime'), 'open');
    assert.match(await page.locator('#kv-pages li:has(button[data-map="J_KANA"])').textContent(), /input method/);
    await close(page);
  });

  test('a right hold shorter than half a second is a right click', async () => {
    const page = await open('examples/dovaD.BTN');
    await act(page, 'hold', 0, SHORT_HOLD_MS);
    const state = await readState(page);
    assert.equal(state.page, 'J_KANA');
    assert.deepEqual(state.log, []);
    await close(page);
  });

  test('the list of pages jumps to any page and leaves the default alone', async () => {
    const page = await open('examples/dovaD.BTN');
    await page.locator('#kv-pages button[data-map="SYM"]').click();
    let state = await readState(page);
    assert.equal(state.page, 'SYM');
    assert.equal(state.default, 'MAIN');
    assert.equal(await page.locator('#kv-pages button[aria-current="true"]').textContent(), 'SYM');
    await act(page, 'click', 0); // . KEY .
    state = await readState(page);
    assert.equal(state.page, 'MAIN');
    assert.deepEqual(state.log, ['. down, . up']);
    await close(page);
  });

  test('2x zoom doubles the panels and the buttons still hit', async () => {
    const page = await open('examples/dovaD.BTN');
    await page.locator('#kv-zoom').check();
    const box = await page.locator('.kv-right').boundingBox();
    assert.deepEqual([box.width, box.height], [114, 774]);
    await act(page, 'click', 5); // BASE J_KANA
    assert.equal((await readState(page)).page, 'J_KANA');
    const edge = await panelPoint(page, 'left', 10, 41); // still the upper button
    await page.mouse.click(edge.x, edge.y);
    assert.deepEqual((await readState(page)).log, ['Conv down, Conv up']);
    await screenshot(page, 'example-zoom2');
    await close(page);
  });
});

describe('captions', () => {
  test('ampersands underline the next character, && shows one, a line break starts a new line', async () => {
    const page = await open('tests/fixtures/page_cycle.BTN');
    const caption = (slot) =>
      page.$eval(`.kv-btn[data-slot="${slot}"] .kv-caption`, (node) => ({
        html: node.innerHTML,
        text: node.innerText,
        height: node.getBoundingClientRect().height,
      }));
    const menu = await caption(8); // ME&NU
    assert.equal(menu.html, 'ME<u>N</u>U');
    const twoLines = await caption(9); // UP, a line break, DN
    assert.equal(twoLines.text, 'UP\nDN');
    const oneLine = await caption(0);
    assert.ok(twoLines.height >= 2 * oneLine.height - 1, 'two lines are twice as high as one');
    await act(page, 'click', 8); // JP MENU
    const literal = await caption(0); // &&X
    assert.equal(literal.html, '&amp;X');
    await close(page);
  });

  test('a KEYTOG button is drawn held until pressed again, and an EXEC shows in the log', async () => {
    const page = await open('tests/fixtures/preview_words.BTN');
    const held = () => page.$$eval('.kv-btn.kv-held', (buttons) => buttons.map((b) => Number(b.dataset.slot)));
    await act(page, 'click', 0); // SH KEYTOG SHIFT
    assert.deepEqual(await held(), [0]);
    await act(page, 'click', 7); // N EXEC, as written
    await act(page, 'click', 0);
    assert.deepEqual(await held(), []);
    assert.deepEqual((await readState(page)).log, ['Shift down', 'starts notepad.exe "My Notes.txt"', 'Shift up']);
    await close(page);
  });

  test('MINIMAM leaves a tab in the place of its button, and a click on it brings the panels back as they were', async () => {
    const page = await open('tests/fixtures/preview_words.BTN');
    const held = () => page.$$eval('.kv-btn.kv-held', (buttons) => buttons.map((b) => Number(b.dataset.slot)));
    const tab = page.locator('#kv-tab');
    const place = await page.locator('.kv-btn[data-slot="8"]').boundingBox();
    await act(page, 'click', 0); // SH KEYTOG SHIFT
    await act(page, 'click', 8); // MINIMAM
    assert.ok(await tab.isVisible());
    assert.deepEqual(await tab.boundingBox(), place);
    assert.equal(await page.locator('.kv-panel').first().isVisible(), false);
    assert.equal(await page.locator('.kv-panel').last().isVisible(), false);
    await tab.click();
    assert.equal(await tab.isVisible(), false);
    assert.ok(await page.locator('.kv-panel').first().isVisible());
    assert.match(await page.locator('#kv-last').textContent(), /the panels are back/);
    assert.deepEqual(await held(), [0]); // Shift stayed down
    assert.deepEqual((await readState(page)).log, ['Shift down']);
    await close(page);
  });

  test('a repeating button is marked, sends its key as it goes down and again while held', async () => {
    const page = await open('tests/fixtures/preview_repeat.BTN');
    const marked = await page.$$eval('.kv-btn.kv-repeats', (buttons) => buttons.map((b) => Number(b.dataset.slot)));
    assert.deepEqual(marked, [0]); // BS, not A
    const at = await centreOf(page, 0);
    await page.mouse.move(at.x, at.y);
    await page.mouse.down();
    assert.deepEqual((await readState(page)).log, ['BS down']);
    await page.waitForTimeout(HOLD_MS); // past the 200 ms delay, 10 a second
    await page.mouse.up();
    const events = eventsOf((await readState(page)).log);
    assert.ok(events.filter((e) => e === 'BS down').length >= 3, `repeats: ${events}`);
    assert.deepEqual(events.slice(-1), ['BS up']);
    await close(page);
  });

  test('captions, page names and diagnostics that look like markup stay text', async () => {
    const page = await open('tests/fixtures/preview_markup.BTN');
    const found = await page.evaluate(() => ({
      scripts: document.scripts.length,
      markup: document.querySelectorAll('#kv-app b, #kv-app i, #kv-diagnostics b, #kv-diagnostics i').length,
      caption: document.querySelector('.kv-btn[data-slot="0"] .kv-caption').textContent,
      diagnostic: document.querySelector('#kv-diagnostics li').textContent,
    }));
    assert.equal(found.scripts, 2, 'only the data and the page script');
    assert.equal(found.markup, 0);
    assert.equal(found.caption, '</SCRIPT><SCRIPT>X=1</SCRIPT>');
    assert.match(found.diagnostic, /"<I>NOPE<\/I>" names no map/);
    await act(page, 'click', 7); // JP <I>NOPE</I>
    assert.equal((await readState(page)).page, '<I>NOPE</I>');
    await close(page);
  });
});

describe('pages that are not maps of the file', () => {
  const filledSlots = (page) => page.$$eval('.kv-btn.kv-filled', (buttons) => buttons.map((b) => Number(b.dataset.slot)));

  test('only buttons that come from the first map are marked, and the page says why', async () => {
    const page = await open('tests/fixtures/page_cycle.BTN');
    assert.deepEqual(await filledSlots(page), []);
    await act(page, 'click', 8); // JP MENU: MENU has two buttons of its own
    assert.deepEqual(await filledSlots(page), [1, 2, 8, 9]);
    assert.equal(await page.locator('#kv-note').textContent(), '');
    await act(page, 'right-click', 0); // MENU KEY A: a line without target leads to the empty name
    assert.deepEqual(await filledSlots(page), [0, 1, 2, 7, 8, 9]);
    assert.match(await page.locator('#kv-note').textContent(), /No map is named \(empty name\)/);
    await act(page, 'right-click', 0); // the cycle runs out: the alias is its own default
    assert.equal((await readState(page)).page, '***DefaultMap***');
    assert.deepEqual(await filledSlots(page), []); // the alias shows the first map as itself
    assert.match(await page.locator('#kv-note').textContent(), /stands for itself/);
    await close(page);
  });
});

describe('a file full of mistakes', () => {
  test('the diagnostics stand above the panels with their line numbers', async () => {
    const page = await open('tests/fixtures/checker_mistakes.BTN');
    await screenshot(page, 'checker_mistakes');
    const golden = JSON.parse(fs.readFileSync(path.join(ROOT, 'tests/fixtures/checker_mistakes.json'), 'utf8'));
    const shown = await page.$$eval('#kv-diagnostics li', (items) => items.map((item) => item.textContent));
    assert.deepEqual(shown, golden.diagnostics.map((d) => `line ${d.line}: ${d.message}`));
    assert.equal(await page.locator('#kv-diagnostics h2').textContent(), `${golden.diagnostics.length} problems`);
    const above = await page.evaluate(
      () => document.getElementById('kv-diagnostics').getBoundingClientRect().bottom <=
        document.querySelector('.kv-panel').getBoundingClientRect().top,
    );
    assert.ok(above);
    await close(page);
  });

  test('a page that no map has says so and shows the first map', async () => {
    const page = await open('tests/fixtures/checker_mistakes.BTN');
    await act(page, 'click', 9); // KANA JP KANAMAP
    assert.match(await page.locator('#kv-note').textContent(), /No map is named KANAMAP/);
    const filled = await page.$$eval('.kv-btn.kv-filled', (buttons) => buttons.length);
    assert.equal(filled, 14);
    await close(page);
  });
});

describe('a large file', () => {
  test('the engine takes a file of megabytes and its buttons work', async () => {
    const page = await open('large.BTN'); // written by scripts/preview-test
    await act(page, 'click', 0);
    assert.deepEqual((await readState(page)).log, ['A down, A up']);
    await close(page);
  });
});

describe('pages that follow the program in front', () => {
  test('a program brings its page, one without a line the default from before, a JP page stays', async () => {
    const page = await open('tests/fixtures/program_pages.BTN');
    const front = async (value) => page.locator('#kv-program').selectOption(value);
    const shown = async () => {
      const state = await readState(page);
      return [state.page, state.default];
    };
    await front('1'); // notepad.exe BASE EDIT
    assert.deepEqual(await shown(), ['EDIT', 'EDIT']);
    await front('0'); // firefox.exe BASE WEB
    assert.deepEqual(await shown(), ['WEB', 'WEB']);
    await front('-1');
    assert.deepEqual(await shown(), ['MAIN', 'MAIN']);
    await act(page, 'click', 7); // J JP J_KANA
    await front('1');
    assert.deepEqual(await shown(), ['J_KANA', 'MAIN']);
    assert.match(await page.locator('#kv-last').textContent(), /stays/);
    await screenshot(page, 'program_pages');
    await close(page);

    const example = await open('examples/dovaD.BTN');
    assert.equal(await example.locator('#kv-program').count(), 0);
    await close(example);
  });
});
