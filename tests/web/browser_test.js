// The sample game, published by vesk-kit, in headless Chromium: opened from a
// file and from a web server on 127.0.0.1, its walkthrough typed into the input line with
// its seed must give the walkthrough's transcript; the game's save must be in
// the saves panel, still there after a reload, and load back as the engine
// loads it. The comforts around the game: undo at the ending plays the last
// step again alike, a bookmark outlasts a reload and resumes, restart shows the
// first view, and the transcript downloads as shown.
//
// usage: node browser_test.js --kit VESK_KIT --game GAME_DIR --web WEB_FILES --out DIR
//
// It publishes GAME_DIR into DIR (demo.html and the site demo/), plays
// GAME_DIR/walkthrough.walk and leaves a screenshot of the ending in
// DIR/demo.png. Skipped (77) without playwright-core (npm ci in tests/web),
// Chromium or the web build, except under CI or with REQUIRE_WEB=1.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const {loadEngine, play} = require('./engine');

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

function option(name) {
  const i = process.argv.indexOf(name);
  return i >= 0 ? process.argv[i + 1] : null;
}

function required() {
  const flag = (value) => value !== undefined && value !== '' && value !== '0' && value !== 'false';
  return flag(process.env.CI) || flag(process.env.REQUIRE_WEB);
}

function skip(reason) {
  console.log(`skipped: ${reason}`);
  process.exit(required() ? 1 : 77);
}

// A .walk file: its seed, the typed lines and the transcript after the header.
function readWalk(file) {
  const text = fs.readFileSync(file, 'utf8');
  const end = text.indexOf('\n\n');
  const header = text.slice(0, end).split('\n');
  const seed = Number(header.find((l) => l.startsWith('seed ')).slice(5));
  const typed = header.filter((l) => l.startsWith('typed ')).map((l) => l.slice(6));
  return {seed, typed, transcript: text.slice(end + 2)};
}

// A static server for the site's files on 127.0.0.1, on a free port.
function serve(directory) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm'};
  const server = http.createServer((request, response) => {
    const name = path.basename(new URL(request.url, 'http://127.0.0.1').pathname) || 'index.html';
    const file = path.join(directory, name);
    if (!fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const transcriptOf = (page) => page.evaluate(() =>
  document.getElementById('output').textContent + document.getElementById('prompt').textContent);
const stateOf = (page) => page.evaluate(() => document.body.dataset.state);

// Waits until the game waits for a line or has ended.
async function settle(page) {
  await page.waitForFunction(() => ['waiting', 'ended'].includes(document.body.dataset.state), null, {timeout: 20000});
}

async function type(page, lines) {
  for (const line of lines) {
    await page.fill('#input', line);
    await page.press('#input', 'Enter');
    await settle(page);
  }
}

function firstDifference(want, got) {
  let i = 0;
  while (i < want.length && want[i] === got[i]) ++i;
  return `the transcripts part at character ${i}:\n  expected ${JSON.stringify(want.slice(i, i + 120))}\n` +
         `  actual   ${JSON.stringify(got.slice(i, i + 120))}`;
}

const failures = [];
function expect(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

const OFFER = 'The game is over. Type undo, restart, resume NAME or quit.\n> ';

async function playWalkthrough(page, url, walk, where) {
  await page.goto(url);
  await settle(page);
  await type(page, walk.typed);
  const transcript = await transcriptOf(page);
  // Where vesk waits for two characters at the end, the page offers undo,
  // restart, resume or quit first.
  expect(transcript === walk.transcript + OFFER, `${where}: the walkthrough's transcript`);
  if (transcript !== walk.transcript + OFFER) console.log(firstDifference(walk.transcript + OFFER, transcript));
  // Undo takes the last step back, and the same step again ends alike.
  const last = walk.typed[walk.typed.length - 1];
  const lastStep = walk.transcript.slice(walk.transcript.lastIndexOf(`> ${last}\n`) + 2);
  await type(page, ['undo']);
  const undone = (await transcriptOf(page)).slice(transcript.length);
  expect(undone.startsWith(`undo\nUndone: "${last}".\n`) && undone.endsWith('> '), `${where}: undo at the ending`);
  await type(page, [last]);
  const again = (await transcriptOf(page)).slice(transcript.length + undone.length);
  expect(again === lastStep + OFFER, `${where}: the undone step played again`);
  // After "quit" the game waits for its two closing characters, then the page ends it.
  await type(page, ['quit', '', '']);
  expect(await stateOf(page) === 'ended' && await page.isVisible('#again'), `${where}: the ending and "Play again"`);
}

// Bookmarks in the browser beside the saves, restart and the transcript's download.
async function comforts(page, url) {
  await page.goto(url);
  await settle(page);
  const start = await transcriptOf(page);
  const firstView = start.slice(start.indexOf('Please wait...\n\n') + 'Please wait...\n\n'.length);
  await type(page, ['path 2', 'bookmark cottage']);
  const cottage = await transcriptOf(page);
  expect(cottage.endsWith('> bookmark cottage\nBookmarked as "cottage".\n\n> '), 'bookmark');
  const view = cottage.slice(start.length + 'path 2\n'.length, cottage.lastIndexOf('> bookmark cottage'));
  await page.reload();
  await settle(page);
  const before = await transcriptOf(page);
  await type(page, ['bookmarks', 'resume cottage']);
  const resumed = (await transcriptOf(page)).slice(before.length);
  const wanted = `bookmarks\nBookmarks: cottage.\n\n> resume cottage\nResumed "cottage".\n${view}> `;
  expect(resumed === wanted, 'the bookmark outlasts a reload and resumes with its view');
  if (resumed !== wanted) console.log(firstDifference(wanted, resumed));
  const beforeRestart = await transcriptOf(page);
  await type(page, ['restart']);
  const restarted = (await transcriptOf(page)).slice(beforeRestart.length);
  expect(restarted === `restart\nThe game starts again.\n${firstView}`, 'restart shows the first view again');
  // The page keeps the transcript itself; help lists the words after the game's own.
  const beforeWords = await transcriptOf(page);
  await type(page, ['transcript notes.txt', 'help']);
  const words = (await transcriptOf(page)).slice(beforeWords.length);
  expect(words.startsWith('transcript notes.txt\nThe page keeps the transcript: its "Download transcript" button') &&
         words.includes('\nselect\nuse\n\nAround the game:\nundo: ') && !words.includes('transcript FILE'),
         'transcript and help in the page');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#transcript-button')]);
  const downloaded = fs.readFileSync(await download.path(), 'utf8');
  expect(downloaded === await transcriptOf(page), 'the transcript downloads as shown and typed');
}

async function main() {
  const kit = option('--kit');
  const gameDir = option('--game');
  const webDir = option('--web');
  const outDir = option('--out');
  const walkFile = path.join(gameDir, 'walkthrough.walk');
  const pageFile = path.join(outDir, 'demo.html');
  const site = path.join(outDir, 'demo');
  const screenshot = path.join(outDir, 'demo.png');
  let playwright;
  try {
    playwright = require('playwright-core');
  } catch (error) {
    skip('playwright-core is not installed (npm ci in tests/web)');
  }
  if (!fs.existsSync(CHROMIUM)) skip(`no Chromium at ${CHROMIUM} (apt-get install chromium)`);
  const engine = loadEngine(webDir);
  if (!engine) skip(`the web build is not in ${webDir} (make web builds it; it needs emscripten)`);
  fs.mkdirSync(outDir, {recursive: true});
  for (const where of [['-o', pageFile], ['--site', site]]) {
    const published = childProcess.spawnSync(kit, ['publish', gameDir, '--title', 'The Salt Coast', '--web', webDir,
                                                   ...where], {encoding: 'utf8'});
    expect(published.status === 0, `vesk-kit publish ${where[0]}`);
    if (published.status !== 0) return 1;
  }
  const walk = readWalk(walkFile);
  const server = await serve(site);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vesk-browser-'));
  const context = await playwright.chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    acceptDownloads: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = await context.newPage();
    page.on('pageerror', (error) => expect(false, `no error in the page: ${error}`));

    // The one file, from the disk.
    const fileUrl = `file://${path.resolve(pageFile)}?seed=${walk.seed}`;
    await playWalkthrough(page, fileUrl, walk, 'file://');
    await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
    await page.screenshot({path: screenshot});

    // The site, from a web server: a fresh origin, so no saves yet.
    const httpUrl = `http://127.0.0.1:${server.address().port}/index.html?seed=${walk.seed}`;
    await playWalkthrough(page, httpUrl, walk, 'http');
    const listed = await page.$$eval('#saves-list .name', (names) => names.map((n) => n.textContent));
    expect(listed.includes('wt-logbook.txt'), 'the save of the walkthrough is in the saves panel');

    // The save, downloaded, is what the engine under node writes.
    await page.click('#saves-button');
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#saves-list a')]);
    const saved = fs.readFileSync(await download.path());
    const gameFiles = {};
    for (const name of fs.readdirSync(gameDir)) {
      if (/^(area|item|enemy|msg)\d+\.txt$/.test(name)) gameFiles[name] = fs.readFileSync(path.join(gameDir, name));
    }
    const input = Buffer.from(walk.typed.map((l) => l + '\n').join(''));
    const reference = await play(engine, {files: gameFiles, input, seed: walk.seed, saveDir: '/saves'});
    expect(reference.files['wt-logbook.txt'] && saved.equals(reference.files['wt-logbook.txt']),
           'the downloaded save is byte for byte the engine\'s');

    // After a reload the save is still there, and loads back.
    await page.reload();
    await settle(page);
    const after = await page.$$eval('#saves-list .name', (names) => names.map((n) => n.textContent));
    expect(after.includes('wt-logbook.txt'), 'the save is still there after a reload');
    const loading = ['path 2', 'action 2', 'wt-logbook', 'inv'];
    const before = await transcriptOf(page);
    await type(page, loading);
    const shown = (await transcriptOf(page)).slice(before.length);
    const expected = await playWithSave(engine, gameFiles, loading, walk.seed, saved);
    expect(shown.includes('File name?> wt-logbook\n') && !shown.includes('Error:'), 'loading the save in the page');
    expect(before + shown === expected, 'the page after loading shows what the engine does');
    if (before + shown !== expected) console.log(firstDifference(expected, before + shown));

    await comforts(page, httpUrl);
  } finally {
    await context.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  console.log(`${failures.length === 0 ? 'all' : failures.length} ${failures.length === 0 ? 'passed' : 'failed'}`);
  return failures.length === 0 ? 0 : 1;
}

// The transcript (output with the typed lines echoed) of a game under node
// whose save directory holds `save` as wt-logbook.txt.
async function playWithSave(engine, files, lines, seed, save) {
  const input = Buffer.from(lines.map((l) => l + '\n').join(''));
  const result = await play(engine, {files, input, seed, saveDir: '/saves', saves: {'wt-logbook.txt': save}, echo: true});
  return result.output.toString('utf8');
}

main().then((status) => process.exit(status), (error) => {
  console.error(error);
  process.exit(1);
});
