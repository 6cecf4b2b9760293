// Works one page in the system's chromium for the tests of the tablet
// page. One command a line on standard input, each answered with a line
// that starts with "= ":
//   open URL WIDTH HEIGHT | size WIDTH HEIGHT | reload | eval EXPRESSION | click SELECTOR |
//   tap SELECTOR FRACTION | screenshot FILE | quit
// eval answers with the expression's value as JSON.
'use strict';

const puppeteer = require('puppeteer-core');
const readline = require('readline');

async function main() {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--autoplay-policy=no-user-gesture-required'],
  });
  const page = await browser.newPage();
  page.on('console', (message) => process.stdout.write('console ' + message.text().replace(/\n/g, ' ') + '\n'));
  page.on('pageerror', (error) => process.stdout.write('pageerror ' + String(error).replace(/\n/g, ' ') + '\n'));
  const answer = (text) => process.stdout.write('= ' + text.replace(/\n/g, ' ') + '\n');
  const commands = {
    async open(rest) {
      const [url, width, height] = rest.split(' ');
      await page.setViewport({ width: Number(width), height: Number(height) });
      await page.goto(url, { waitUntil: 'load' });
      return 'opened';
    },
    async size(rest) {
      const [width, height] = rest.split(' ');
      await page.setViewport({ width: Number(width), height: Number(height) });
      return 'sized';
    },
    async reload() {
      await page.reload({ waitUntil: 'load' });
      return 'reloaded';
    },
    async eval(rest) {
      return JSON.stringify(await page.evaluate(rest));
    },
    async click(rest) {
      await page.click(rest);
      return 'clicked';
    },
    // A tap at a fraction of the element's width, half way down.
    async tap(rest) {
      const [selector, fraction] = rest.split(' ');
      const box = await (await page.$(selector)).boundingBox();
      await page.touchscreen.tap(box.x + box.width * Number(fraction), box.y + box.height / 2);
      return 'tapped';
    },
    async screenshot(rest) {
      await page.screenshot({ path: rest });
      return 'saved';
    },
  };
  process.stdout.write('ready\n');
  for await (const line of readline.createInterface({ input: process.stdin })) {
    const space = line.indexOf(' ');
    const name = space < 0 ? line : line.slice(0, space);
    const rest = space < 0 ? '' : line.slice(space + 1);
    if (name === 'quit') break;
    try {
      answer(commands[name] ? await commands[name](rest) : 'unknown command ' + name);
    } catch (error) {
      answer('failed ' + String(error.message || error));
    }
  }
  await browser.close();
}

main().catch((error) => {
  process.stderr.write(String(error.stack || error) + '\n');
  process.exit(1);
});
