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
//   - index.html links every page.
// A full-page screenshot of each page goes into the screenshot folder.
//
// The pages are rendered beforehand by pagesim-gallery with the bundled
// Parameters file (no PASSWORD, no subscriber field hidden with #V). The page
// types come from the gallery's index, in the order of pagesim's own table;
// the test knows the forms each one should have.
//
// Usage: node pages.test.mjs GALLERY_DIR NO_COPYRIGHT_DIR TEMPLATE SCREENSHOT_DIR
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { createReadStream, existsSync, mkdirSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [galleryDir, noCopyrightDir, templatePath, screenshotDir] = process.argv.slice(2);
if (!screenshotDir) {
  console.error('usage: node pages.test.mjs GALLERY_DIR NO_COPYRIGHT_DIR TEMPLATE SCREENSHOT_DIR');
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

// Serves the two page folders on the loopback interface, as a web server
// would: /gallery/... and /no_copyright/..., in the pages' own ISO-8859-1.
function serve() {
  const roots = { gallery: galleryDir, no_copyright: noCopyrightDir };
  const server = createServer((req, res) => {
    const [, root, ...rest] = decodeURIComponent(new URL(req.url, 'http://x').pathname).split('/');
    const file = roots[root] && path.join(roots[root], ...rest);
    if (req.method !== 'GET' || !file || rest.includes('..') || !existsSync(file)) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { 'Content-Type': 'text/html; charset=iso-8859-1' });
    createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

let server;
let origin;
let browser;
let page;
const pageErrors = [];

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
  // The card pages call script functions that the payment server supplies.
  page.on('pageerror', (error) => pageErrors.push(error.message));
});

after(async () => {
  await browser?.close();
  server?.close();
});

async function open(url) {
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
  const links = await page.locator('a').evaluateAll((as) => as.map((a) => a.getAttribute('href')));
  const expected = PAGE_TYPES.flatMap((type) => LANGUAGES.map((lang) => fileName(type, lang)));
  assert.deepEqual(links, expected);
  assert.equal(await page.locator('.ok').count(), 32, 'every page of the bundled shop is complete');
});

test('only the server-supplied card scripts are missing', () => {
  const unexpected = pageErrors.filter((message) => !/\b(InitOption|SetOption|InfoCvv) is not defined/.test(message));
  assert.deepEqual(unexpected, []);
});
