// Opens every pagesim page of the gallery, in English and in French, in
// headless Chromium, the way a merchant previews them, and checks what the
// merchant sees and what each form would send:
//   - the page loads, with the template's text before the [ORBA] tag above
//     the page's controls and the text after the tag below them;
//   - every form has the controls of its page, by name and in page order,
//     and the buttons read in the page's language;
//   - the shop form's DATA field has the length of that page's sample
//     response;
//   - pressing each form's button (or submitting a form that has none) posts
//     to the form's action, with the button and the page's fields;
//   - the footer notice is there, and gone when NO_COPYRIGHT is set;
//   - nothing the page loads fails (the template's logo and stylesheet, the
//     stylesheet's background, the stand-ins of the server's images), and
//     every image has a width;
//   - index.html links every page;
//   - with --watch, a change saved into the template shows in an index.html
//     open from file:// within a second, and Ctrl-C leaves a whole gallery
//     with no temporary file.
// A full-page screenshot of each page goes into the screenshot folder.
//
// The pages are rendered beforehand by pagesim-gallery with the bundled
// Parameters file (no PASSWORD, no subscriber field hidden with #V). The page
// types come from the gallery's index, in the order of pagesim's own table;
// the test knows the forms each one should have.
//
// Usage: node pages.test.mjs GALLERY_DIR NO_COPYRIGHT_DIR TEMPLATE SCREENSHOT_DIR GALLERY_PROGRAM WATCH_SHOP_DIR
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { createReadStream, existsSync, mkdirSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const [galleryDir, noCopyrightDir, templatePath, screenshotDir, galleryProgram, watchShop] = process.argv.slice(2);
if (!watchShop) {
  console.error('usage: node pages.test.mjs GALLERY_DIR NO_COPYRIGHT_DIR TEMPLATE SCREENSHOT_DIR GALLERY_PROGRAM WATCH_SHOP_DIR');
  process.exit(2);
}
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const FOOTER = 'Preview of an ORBA payment page';

// Where the forms post.
const SUBSCRIBE = '/cgis-payment/demo/callvalid_subscription';
const LOGIN = '/cgis-payment/demo/callvalid_login';
const UPDATE = '/cgis-payment/demo/callupdate_subscription';
const VALID_CARD = '/cgis-payment/demo/callvalid_card';
const SHOP = /^https?:\/\/[^/]+\/Subscription\/response$/;

// The three text buttons, by name and label in each language.
const SUBMIT = { name: 'VALID', en: 'SUBMIT', fr: 'VALIDER' };
const CANCEL = { name: 'PAIEMENT', en: 'CANCEL - BACK TO THE SHOP', fr: 'ANNULATION - RETOUR A LA BOUTIQUE' };
const RETURN = { name: 'RETOUR', en: 'BACK TO THE SHOP', fr: 'RETOUR A LA BOUTIQUE' };

const SUBSCRIBER_FIELDS = [
  'SUBSCRIPTION_CIVIL_STATUS', 'SUBSCRIPTION_LASTNAME', 'SUBSCRIPTION_FIRSTNAME', 'SUBSCRIPTION_ADRESSE1',
  'SUBSCRIPTION_ADRESSE2', 'SUBSCRIPTION_ZIPCODE', 'SUBSCRIPTION_CITY', 'SUBSCRIPTION_COUNTRY',
  'SUBSCRIPTION_TELEPHONE', 'SUBSCRIPTION_EMAIL',
];
// Card type choice, card number, expiry, security code and the card form's
// own hidden fields, then its submit button.
const CARD_ENTRY = [
  'CARD_TYPE', 'CARD_TYPE', 'CARD_TYPE', 'CARD_NUMBER', 'CARD_VAL_MONTH', 'CARD_VAL_YEAR', 'CVV_KEY',
  'USER', 'CARD_MODE', 'MERCHANT_ID', 'MERCHANT_COUNTRY', 'VALID',
];
// Hidden fields that open every form of a subscriber's account.
const ACCOUNT = ['OPERATION', 'SUBSCRIPTION_SUBSCRIBER', 'USER', 'MERCHANT_ID', 'MERCHANT_COUNTRY'];

const shopForm = (button, dataLength) => ({ action: SHOP, names: ['DATA', button.name], button, dataLength });
const cardForm = (action, operation) => ({
  action, names: [...ACCOUNT, ...CARD_ENTRY], button: SUBMIT, fields: { OPERATION: operation },
});
const confirmation = [shopForm(RETURN, 1318)];
const accountRefusal = [shopForm(CANCEL, 786)];

// Every page type and its forms, in page order.
const PAGES = {
  RECORD_CAPTURE: [
    { action: SUBSCRIBE, names: [...SUBSCRIBER_FIELDS, 'SUBSCRIPTION_SUBSCRIBER', ...CARD_ENTRY], button: SUBMIT },
    shopForm(CANCEL, 652),
  ],
  RECORD_ACCEPTED: [shopForm(RETURN, 872)],
  RECORD_REFUSED: [shopForm(CANCEL, 786)],
  MENU: [
    {
      action: LOGIN, names: ['SUBSCRIBER_ID', 'USER', 'MERCHANT_ID', 'MERCHANT_COUNTRY', 'OPERATION', 'VALID'],
      button: SUBMIT, fields: { OPERATION: '2' },
    },
    shopForm(CANCEL, 784),
  ],
  LOGIN_REFUSED: accountRefusal,
  VIEW_INFO: [shopForm(RETURN, 1314), { action: UPDATE, names: ACCOUNT, fields: { OPERATION: '2' } }],
  UPDATE_INFO: [
    {
      action: UPDATE, names: [...ACCOUNT, 'SUBSCRIPTION_TYPE', ...SUBSCRIBER_FIELDS, 'VALID'],
      button: SUBMIT, fields: { OPERATION: '3', SUBSCRIPTION_LASTNAME: 'TOLVEN' },
    },
    shopForm(CANCEL, 794),
  ],
  UPDATE_INFO_CONFIRM: confirmation,
  UPDATE_CARD_CAPTURE: [cardForm(UPDATE, '6'), shopForm(CANCEL, 652)],
  UPDATE_CARD_ACCEPTED: confirmation,
  UPDATE_CARD_REFUSED: accountRefusal,
  DELETE_SUBSCRIPTION: [
    { action: UPDATE, names: [...ACCOUNT, 'VALID'], button: SUBMIT, fields: { OPERATION: '4' } },
    shopForm(CANCEL, 824),
  ],
  DELETE_SUBSCRIPTION_CONFIRM: confirmation,
  UPDATE_PWD_CAPTURE_CARD: [cardForm(VALID_CARD, '6'), shopForm(CANCEL, 652)],
  UPDATE_PWD_CAPTURE_PWD: [
    {
      action: UPDATE, names: [...ACCOUNT, 'SUB_PASSWD1', 'SUB_PASSWD2', 'VALID'],
      button: SUBMIT, fields: { OPERATION: '7' },
    },
  ],
  UPDATE_PWD_CONFIRM: confirmation,
};
const LANGUAGES = ['en', 'fr'];
const fileName = (type, lang) => `${type.toLowerCase()}.${lang}.html`;

// The page types of pagesim, as its gallery lists them.
const PAGE_TYPES = Array.from(
  readFileSync(path.join(galleryDir, 'index.html'), 'utf8').matchAll(/<tr data-page-type="([A-Z_]+)">/g),
  (match) => match[1],
);

// The visible lines of the template before and after its tag.
function templateLines() {
  const text = readFileSync(templatePath, 'latin1');
  const at = text.indexOf('[ORBA]');
  assert.ok(at >= 0, `${templatePath} has no [ORBA] tag`);
  const lines = (part) => part.replace(/<[^>]*>/g, '\n').split('\n').map((l) => l.trim()).filter(Boolean);
  return { before: lines(text.slice(0, at)), after: lines(text.slice(at + 6)) };
}
const template = templateLines();

// The type a web server gives each kind of file; the pages are ISO-8859-1.
const CONTENT_TYPES = {
  '.html': 'text/html; charset=iso-8859-1', '.css': 'text/css', '.js': 'text/javascript',
  '.png': 'image/png', '.gif': 'image/gif',
};

// Serves the two page folders on the loopback interface, as a web server
// would: /gallery/... and /no_copyright/...
function serve() {
  const roots = { gallery: galleryDir, no_copyright: noCopyrightDir };
  const server = createServer((req, res) => {
    const [, root, ...rest] = decodeURIComponent(new URL(req.url, 'http://x').pathname).split('/');
    const file = roots[root] && path.join(roots[root], ...rest);
    if (req.method !== 'GET' || !file || rest.includes('..') || !existsSync(file)) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { 'Content-Type': CONTENT_TYPES[path.extname(file)] ?? 'application/octet-stream' });
    createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

let server;
let origin;
let browser;
let page;
const pageErrors = [];
// What the open page failed to load, but for the forms' posts.
let failedLoads = [];

before(async () => {
  server = await serve();
  origin = `http://127.0.0.1:${server.address().port}`;
  mkdirSync(screenshotDir, { recursive: true });
  // Playwright starts Chromium with a fresh temporary profile of its own.
  browser = await chromium.launch({
    executablePath: CHROMIUM,
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
    ],
  });
  const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
  // Nothing leaves the machine: the forms' posts are answered here, pictures
  // the server would supply are missing, and any other host is refused.
  await context.route('**/*', (route) => {
    const request = route.request();
    if (request.method() === 'POST') return route.fulfill({ contentType: 'text/html', body: '<p>posted</p>' });
    if (request.url().startsWith(origin)) return route.continue();
    return route.abort();
  });
  page = await context.newPage();
  page.on('requestfailed', (request) => failedLoads.push(`${request.url()}: ${request.failure()?.errorText}`));
  page.on('response', (response) => {
    if (response.status() >= 400) failedLoads.push(`${response.url()}: ${response.status()}`);
  });
  // The card pages call script functions that the payment server supplies.
  page.on('pageerror', (error) => pageErrors.push(error.message));
});

after(async () => {
  await browser?.close();
  server?.close();
});

async function open(url) {
  failedLoads = [];
  const response = await page.goto(url);
  assert.equal(response.status(), 200, `${url} did not load`);
  assert.equal(await page.title(), 'ORBA');
}

// The forms of the page, in page order, with their named controls.
function readForms() {
  return page.evaluate(() => Array.from(document.forms, (form) => ({
    action: form.getAttribute('action'),
    method: form.method,
    names: Array.from(form.elements, (e) => e.name).filter(Boolean),
    data: form.elements.namedItem('DATA')?.value,
  })));
}

// Top of the first and bottom of the last control a visitor can use.
function controlsSpan() {
  return page.evaluate(() => {
    const boxes = Array.from(document.querySelectorAll('input, select'))
      .filter((e) => e.type !== 'hidden')
      .map((e) => e.getBoundingClientRect());
    return { top: Math.min(...boxes.map((b) => b.top)), bottom: Math.max(...boxes.map((b) => b.bottom)) };
  });
}

async function visibleBox(text) {
  const element = page.getByText(text, { exact: true });
  assert.equal(await element.count(), 1, `"${text}" should be on the page once`);
  assert.ok(await element.isVisible(), `"${text}" should be visible`);
  return element.boundingBox();
}

// The template's text stands around the page body.
async function checkTemplateAround() {
  const span = await controlsSpan();
  for (const line of template.before) {
    const box = await visibleBox(line);
    assert.ok(box.y + box.height <= span.top, `"${line}" should stand above the page's controls`);
  }
  for (const line of template.after)
    assert.ok((await visibleBox(line)).y >= span.bottom, `"${line}" should stand below the page's controls`);
}

async function checkFooter(shown) {
  const footer = page.getByText(FOOTER);
  if (!shown) {
    assert.equal(await footer.count(), 0, 'the footer notice should be gone with NO_COPYRIGHT');
    return;
  }
  assert.ok(await footer.isVisible(), 'the footer notice should be visible');
  const last = template.after.at(-1);
  if (last) {
    const box = await visibleBox(last);
    assert.ok((await footer.boundingBox()).y >= box.y + box.height, 'the footer should follow the template');
  }
}

// Submits form `index` of the open page the way a visitor would: with its
// button, or by script when it has none. Returns the request the browser sent,
// once the answer has loaded.
async function submit(index, button) {
  const form = page.locator('form').nth(index);
  const sent = page.waitForRequest((request) => request.method() === 'POST');
  if (button) await form.locator(`input[name="${button.name}"]`).click();
  else await form.evaluate((f) => f.requestSubmit());
  const request = await sent;
  await page.waitForURL(request.url());
  return request;
}

// Everything the page loads is there: no request failed, every image has a
// width (the template's logo, the stand-ins of the server's images), and the
// template's stylesheet with its background applies.
async function checkLoads(type) {
  assert.deepEqual(failedLoads, [], 'nothing the page loads should fail');
  const images = await page.evaluate(() => Array.from(document.images, (i) => [i.getAttribute('src'), i.naturalWidth]));
  const widths = Object.fromEntries(images);
  assert.ok(widths['logo.png'] > 0, 'the logo should show');
  if (PAGES[type].some((form) => form.names.includes('CARD_NUMBER')))
    for (const image of ['VISA.gif', 'CB.gif', 'MASTERCARD.gif', 'INTERVAL.gif', 'CLEF.gif'])
      assert.ok(widths[image] > 0, `the stand-in ${image} should show`);
  for (const [src, width] of images) assert.ok(width > 0, `${src} should show`);
  const background = await page.evaluate(() => getComputedStyle(document.body).backgroundImage);
  assert.match(background, /beans\.png/, "the template's stylesheet should apply");
}

async function checkForm(url, index, form, expected, lang) {
  const where = `form ${index + 1}`;
  assert.equal(form.method, 'post', `${where} should post`);
  if (expected.action instanceof RegExp) assert.match(form.action, expected.action, `${where} action`);
  else assert.equal(form.action, expected.action, `${where} action`);
  assert.deepEqual(form.names, expected.names, `${where} controls`);
  if (expected.dataLength) assert.match(form.data, new RegExp(`^[0-9a-f]{${expected.dataLength}}$`), `${where} DATA`);
  else assert.equal(form.data, undefined, `${where} should carry no DATA`);

  await open(url);
  if (expected.button) {
    const button = page.locator('form').nth(index).locator(`input[name="${expected.button.name}"]`);
    assert.ok(await button.isVisible(), `${where}: the ${expected.button.name} button should be visible`);
    assert.equal(await button.getAttribute('value'), expected.button[lang], `${where}: button label`);
  }

  const request = await submit(index, expected.button);
  assert.equal(new URL(request.url()).href, new URL(form.action, url).href, `${where} should post to its action`);
  const posted = new URLSearchParams(request.postData() ?? '');
  if (expected.button) assert.equal(posted.get(expected.button.name), expected.button[lang], `${where}: posted button`);
  if (expected.dataLength) assert.equal(posted.get('DATA'), form.data, `${where}: posted DATA`);
  for (const [name, value] of Object.entries(expected.fields ?? {}))
    assert.equal(posted.get(name), value, `${where}: posted ${name}`);
}

test('the gallery lists every page type this test knows, and no other', () => {
  assert.equal(PAGE_TYPES.length, 16);
  assert.deepEqual([...PAGE_TYPES].sort(), Object.keys(PAGES).sort());
});

for (const type of PAGE_TYPES) {
  const forms = PAGES[type] ?? [];
  for (const lang of LANGUAGES) {
    test(`${type} in ${lang === 'en' ? 'English' : 'French'}`, async () => {
      assert.ok(PAGES[type], `no expectations for ${type}`);
      const url = `${origin}/gallery/${fileName(type, lang)}`;
      await open(url);
      await page.screenshot({ path: path.join(screenshotDir, `${type.toLowerCase()}.${lang}.png`), fullPage: true });
      await checkLoads(type);
      await checkTemplateAround();
      await checkFooter(true);
      const found = await readForms();
      assert.equal(found.length, forms.length, 'number of forms');
      for (const [index, expected] of forms.entries()) await checkForm(url, index, found[index], expected, lang);
    });
  }
}

test('NO_COPYRIGHT drops the footer notice from every page', async () => {
  for (const type of PAGE_TYPES) {
    for (const lang of LANGUAGES) {
      await open(`${origin}/no_copyright/${fileName(type, lang)}`);
      await checkTemplateAround();
      await checkFooter(false);
    }
  }
});

test('index.html links every page in both languages', async () => {
  await page.goto(`${origin}/gallery/index.html`);
  const links = await page.locator('tr[data-page-type] a').evaluateAll((as) => as.map((a) => a.getAttribute('href')));
  const expected = PAGE_TYPES.flatMap((type) => LANGUAGES.map((lang) => fileName(type, lang)));
  assert.deepEqual(links, expected);
  assert.equal(await page.locator('.ok').count(), 32, 'every page of the bundled shop is complete');
});

test('only the server-supplied card scripts are missing', () => {
  const unexpected = pageErrors.filter((message) => !/\b(InitOption|SetOption|InfoCvv) is not defined/.test(message));
  assert.deepEqual(unexpected, []);
});

// Whether `check` comes true within `ms` milliseconds, asked every 20 ms.
async function comesTrue(check, ms) {
  const end = Date.now() + ms;
  for (;;) {
    try {
      if (await check()) return true;
    } catch {
      // A frame that reloads meanwhile answers nothing.
    }
    if (Date.now() > end) return false;
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

test('a watching gallery shows a saved template in the open index within a second and ends whole on Ctrl-C', async () => {
  const out = path.join(watchShop, 'gallery');
  const watch = spawn(galleryProgram, ['--watch', 'template.html', 'gallery'], { cwd: watchShop, stdio: ['ignore', 'pipe', 'inherit'] });
  let lines = '';
  watch.stdout.on('data', (data) => { lines += data; });
  try {
    assert.ok(await comesTrue(() => lines.includes('\n'), 10000), 'the gallery should be written');
    const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
    const index = await context.newPage();
    await index.goto(pathToFileURL(path.join(out, 'index.html')).href);
    const preview = () => index.frames().find((frame) => frame.url().endsWith('/record_capture.en.html'));
    const shows = (text) => async () => (await preview()?.evaluate(() => document.body.innerText))?.includes(text);
    assert.ok(await comesTrue(shows('Example Coffee Shop'), 5000), 'the index should show the page');

    const template = readFileSync(path.join(watchShop, 'template.html'), 'latin1');
    writeFileSync(path.join(watchShop, 'template.html'), template.replace('<h2>Example Coffee Shop', '<h2>Example Coffee Roasters'), 'latin1');
    const saved = Date.now();
    const shown = await comesTrue(shows('Example Coffee Roasters'), 1000);
    const waited = Date.now() - saved;
    console.log(`# the index showed the change ${waited} ms after the save`);
    assert.ok(shown && waited <= 1000, `the index should show the change within a second, not ${waited} ms`);
    await context.close();
  } finally {
    watch.kill('SIGINT');
  }
  const [, signal] = await once(watch, 'exit');
  assert.equal(signal, 'SIGINT');
  const left = readdirSync(out);
  assert.deepEqual(left.filter((name) => name.endsWith('.tmp')), [], 'no temporary file should be left');
  assert.equal(left.filter((name) => name.endsWith('.html')).length, 33, 'the 32 pages and the index should be there');
});
