// Times the web build: the engine's files gzipped, the published sample game's
// first prompt in headless Chromium (cold: a new browser; warm: the page
// loaded again in it) and its commands, with the console program beside.
//
// usage: node bench/web_bench.js [--build build] [--web build-web/web-files] [--runs 5]
// (after make web-demo; it takes playwright-core from tests/web/node_modules)
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const root = path.resolve(__dirname, '..');
const option = (name, fallback) => {
  const i = process.argv.indexOf(name);
  return i >= 0 ? process.argv[i + 1] : fallback;
};
const build = path.resolve(option('--build', 'build'));
const web = path.resolve(option('--web', 'build-web/web-files'));
const runs = Number(option('--runs', '5'));
const playwright = require(path.join(root, 'tests/web/node_modules/playwright-core'));

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

function walkthrough() {
  const text = fs.readFileSync(path.join(root, 'games/demo/walkthrough.walk'), 'utf8');
  const header = text.slice(0, text.indexOf('\n\n')).split('\n');
  return {
    seed: Number(header.find((l) => l.startsWith('seed ')).slice(5)),
    typed: header.filter((l) => l.startsWith('typed ')).map((l) => l.slice(6)),
  };
}

// The console program on the sample game in a fresh copy, fed `input`; the
// wall time of the whole run in milliseconds.
function nativeRun(input) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vesk-web-bench-'));
  for (const name of fs.readdirSync(path.join(root, 'games/demo'))) {
    fs.copyFileSync(path.join(root, 'games/demo', name), path.join(work, name));
  }
  const start = process.hrtime.bigint();
  childProcess.spawnSync(path.join(build, 'vesk'), [], {cwd: work, input});
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  fs.rmSync(work, {recursive: true, force: true});
  return ms;
}

async function browserFigures(walk) {
  const page = `file://${path.join(build, 'web/demo.html')}?seed=${walk.seed}`;
  const cold = [];
  const warm = [];
  const commands = [];
  for (let run = 0; run < runs; ++run) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vesk-web-bench-profile-'));
    const context = await playwright.chromium.launchPersistentContext(profile, {
      executablePath: '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
             '--disable-component-update', '--disable-sync'],
    });
    const tab = await context.newPage();
    const firstPrompt = async () => {
      await tab.waitForFunction(() => document.body.dataset.state === 'waiting');
      return tab.evaluate(() => performance.getEntriesByName('vesk-waiting')[0].startTime);
    };
    await tab.goto(page);
    cold.push(await firstPrompt());
    await tab.reload();
    warm.push(await firstPrompt());
    for (const line of walk.typed) {
      await tab.fill('#input', line);
      await tab.press('#input', 'Enter');
      await tab.waitForFunction(() => ['waiting', 'ended'].includes(document.body.dataset.state));
    }
    // From each line entered to the game's next wait for a line.
    const marks = await tab.evaluate(() => performance.getEntriesByType('mark').map((m) => [m.name, m.startTime]));
    for (let i = 0; i + 1 < marks.length; ++i) {
      if (marks[i][0] === 'vesk-line' && marks[i + 1][0] === 'vesk-waiting') commands.push(marks[i + 1][1] - marks[i][1]);
    }
    await context.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  return {cold: median(cold), warm: median(warm), command: commands.reduce((a, b) => a + b, 0) / commands.length};
}

async function main() {
  const walk = walkthrough();
  for (const name of ['vesk.wasm', 'vesk.js']) {
    const bytes = fs.readFileSync(path.join(web, name));
    console.log(`${name}: ${kb(bytes.length)}, gzipped ${kb(zlib.gzipSync(bytes, {level: 9}).length)}`);
  }
  const page = fs.readFileSync(path.join(build, 'web/demo.html'));
  console.log(`demo.html: ${kb(page.length)}, gzipped ${kb(zlib.gzipSync(page, {level: 9}).length)}`);
  const figures = await browserFigures(walk);
  console.log(`first prompt in Chromium: cold ${figures.cold.toFixed(1)} ms, warm ${figures.warm.toFixed(1)} ms`);
  console.log(`per command in Chromium: ${figures.command.toFixed(2)} ms (mean over the walkthrough's ${walk.typed.length})`);
  const quit = [];
  const whole = [];
  for (let run = 0; run < runs; ++run) {
    quit.push(nativeRun('quit\n\n'));
    whole.push(nativeRun(walk.typed.map((l) => l + '\n').join('')));
  }
  const q = median(quit);
  console.log(`console program: start to quit ${q.toFixed(1)} ms; per command ` +
              `${((median(whole) - q) / walk.typed.length).toFixed(3)} ms`);
}

main().then(() => process.exit(0), (error) => {
  console.error(error);
  process.exit(1);
});
