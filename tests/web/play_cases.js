// Plays every transcript case below tests/ and every shared conformance case
// through the web build under node, one line per read, and compares the
// output, the exit status and the saved files byte for byte.
//
// usage: node play_cases.js --web WEB_FILES --tests TESTS_DIR
//            [--conformance DIR --list FILE] [--native VESK] [-k SUBSTRING]
//
// Without the web build it exits 77 (skipped), except under CI or with
// REQUIRE_WEB=1. With --native, the cases that save are also played by the
// console program with the conformance suite's clock shim, and every file it
// leaves must be the web build's byte for byte.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {loadEngine, play} = require('./engine');

function option(args, name) {
  const i = args.indexOf(name);
  return i >= 0 && i + 1 < args.length ? args[i + 1] : null;
}

function readOr(file, fallback) { return fs.existsSync(file) ? fs.readFileSync(file) : fallback; }

function gameFiles(dir) {
  const files = {};
  if (!fs.existsSync(dir)) return files;
  for (const name of fs.readdirSync(dir)) {
    const file = path.join(dir, name);
    if (fs.statSync(file).isFile()) files[name] = fs.readFileSync(file);
  }
  return files;
}

function seedOf(dir) {
  const text = readOr(path.join(dir, 'seed'), Buffer.from('0')).toString().trim();
  return text === '' ? 0 : Number(text);
}

// The first lines where two outputs part, with line ends shown as "$".
function difference(want, got) {
  const a = want.toString('latin1').split('\n');
  const b = got.toString('latin1').split('\n');
  let i = 0;
  while (i < a.length && i < b.length && a[i] === b[i]) ++i;
  const show = (lines) => lines.slice(Math.max(0, i - 2), i + 3).map((l) => '    ' + l + '$').join('\n');
  return `output differs at line ${i + 1}:\n  expected:\n${show(a)}\n  actual:\n${show(b)}`;
}

function findTranscripts(root) {
  const cases = [];
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, {withFileTypes: true})) {
      if (!entry.isDirectory()) continue;
      const sub = path.join(dir, entry.name);
      if (fs.existsSync(path.join(sub, 'input')) && fs.existsSync(path.join(sub, 'expected'))) cases.push(sub);
      walk(sub);
    }
  };
  walk(root);
  return cases.sort();
}

// The console program run on a case in a fresh directory, its clock fixed at
// `seed` by the shim: the files it leaves there.
function playNatively(native, shim, files, input, seed) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vesk-web-native-'));
  try {
    for (const [name, bytes] of Object.entries(files)) fs.writeFileSync(path.join(work, name), bytes);
    childProcess.spawnSync(native, [], {cwd: work, input, timeout: 10000,
                                        env: {...process.env, FAKE_TIME: String(seed), LD_PRELOAD: shim}});
    const left = {};
    for (const name of fs.readdirSync(work)) left[name] = fs.readFileSync(path.join(work, name));
    return left;
  } finally {
    fs.rmSync(work, {recursive: true, force: true});
  }
}

function compareFiles(want, got, problems) {
  for (const [name, bytes] of Object.entries(want)) {
    if (!(name in got)) {
      problems.push(`file ${name} was not written`);
    } else if (!got[name].equals(bytes)) {
      problems.push(`file ${name} differs: got ${JSON.stringify(got[name].toString('latin1').slice(0, 200))}`);
    }
  }
}

async function checkTranscript(engine, dir, native) {
  const files = gameFiles(path.join(dir, 'game'));
  const input = fs.readFileSync(path.join(dir, 'input'));
  const seed = seedOf(dir);
  const result = await play(engine, {files, input, seed});
  const problems = [];
  const expected = fs.readFileSync(path.join(dir, 'expected'));
  if (!result.output.equals(expected)) problems.push(difference(expected, result.output));
  const ending = readOr(path.join(dir, 'ending'), Buffer.from('')).toString().trim();
  const status = ending === 'no-game' ? 1 : 0;
  if (ending && result.status !== status) problems.push(`exit status ${result.status}, expected ${status}`);
  if (native && Object.keys(result.files).length > Object.keys(files).length) {
    ++native.compared;
    compareFiles(playNatively(native.program, native.shim, files, input, seed), result.files, problems);
  }
  return problems;
}

async function checkConformance(engine, dir) {
  const files = gameFiles(path.join(dir, 'game'));
  const result = await play(engine, {files, input: readOr(path.join(dir, 'input'), Buffer.alloc(0)), seed: seedOf(dir)});
  const problems = [];
  const rc = Number(readOr(path.join(dir, 'rc'), Buffer.from('0')).toString().trim() || '0');
  if (result.status !== rc) problems.push(`exit status ${result.status}, expected ${rc}`);
  let want = readOr(path.join(dir, 'expected'), Buffer.alloc(0));
  let got = result.output;
  const banner = Buffer.from('@BANNER@\n');
  if (want.subarray(0, banner.length).equals(banner)) {
    const end = got.indexOf(0x0a);
    const first = got.subarray(0, end < 0 ? got.length : end).toString('latin1');
    if (!first.includes('vesk') || !first.includes('1.0 alpha')) problems.push(`banner line ${first} does not name vesk 1.0 alpha`);
    got = got.subarray(end < 0 ? got.length : end + 1);
    want = want.subarray(banner.length);
  }
  if (!got.equals(want)) problems.push(difference(want, got));
  const stderr = readOr(path.join(dir, 'stderr'), null);
  if (stderr !== null && !result.stderr.includes(stderr.toString().trim())) {
    problems.push(`stderr lacks ${JSON.stringify(stderr.toString().trim())}: ${JSON.stringify(result.stderr)}`);
  }
  const filesDir = path.join(dir, 'files');
  if (fs.existsSync(filesDir)) compareFiles(gameFiles(filesDir), result.files, problems);
  return problems;
}

function required() {
  const flag = (value) => value !== undefined && value !== '' && value !== '0' && value !== 'false';
  return flag(process.env.CI) || flag(process.env.REQUIRE_WEB);
}

// The conformance suite's clock shim, built once into the temporary directory
// as its own runner builds it; null when it cannot be.
function buildShim(conformance) {
  const source = path.join(conformance, 'tools', 'faketime.c');
  if (!fs.existsSync(source)) return null;
  const so = path.join(os.tmpdir(), `vesk-web-faketime-${process.pid}.so`);
  const built = childProcess.spawnSync('gcc', ['-shared', '-fPIC', '-O2', '-o', so, source]);
  return built.status === 0 ? so : null;
}

async function main() {
  const args = process.argv.slice(2);
  const webDir = option(args, '--web');
  const testsDir = option(args, '--tests');
  const conformance = option(args, '--conformance');
  const list = option(args, '--list');
  const nativeProgram = option(args, '--native');
  const key = option(args, '-k');
  if (!webDir || !testsDir) {
    console.error('usage: node play_cases.js --web WEB_FILES --tests TESTS_DIR [--conformance DIR --list FILE] [--native VESK]');
    return 2;
  }
  const engine = loadEngine(webDir);
  if (!engine) {
    console.log(`the web build is not in ${webDir} (make web builds it; it needs emscripten)`);
    return required() ? 1 : 77;
  }
  const cases = findTranscripts(testsDir).map((dir) => ({name: path.relative(testsDir, dir), dir, kind: 'transcript'}));
  if (conformance && fs.existsSync(path.join(conformance, 'cases'))) {
    let names = fs.readdirSync(path.join(conformance, 'cases')).filter((n) => !n.startsWith('_')).sort();
    if (list) {
      const listed = new Set(fs.readFileSync(list, 'utf8').split('\n').map((l) => l.split('#')[0].trim()).filter(Boolean));
      names = names.filter((n) => listed.has(n));
    }
    for (const n of names) cases.push({name: `conformance/${n}`, dir: path.join(conformance, 'cases', n), kind: 'conformance'});
  } else if (conformance) {
    console.log(`conformance cases not found at ${conformance}`);
    if (required()) return 1;
  }
  const shim = nativeProgram && conformance ? buildShim(conformance) : null;
  const native = shim ? {program: nativeProgram, shim, compared: 0} : null;

  let failed = 0;
  let run = 0;
  for (const c of cases) {
    if (key && !c.name.includes(key)) continue;
    ++run;
    let problems;
    try {
      problems = c.kind === 'transcript' ? await checkTranscript(engine, c.dir, native) : await checkConformance(engine, c.dir);
    } catch (error) {
      problems = [`the engine failed: ${error && error.stack ? error.stack : error}`];
    }
    if (problems.length > 0) {
      ++failed;
      console.log(`FAIL ${c.name}`);
      for (const p of problems) console.log('   ' + p.replace(/\n/g, '\n   '));
    }
  }
  if (shim) fs.rmSync(shim, {force: true});
  if (native) console.log(`saved files compared with the console program's in ${native.compared} cases`);
  console.log(`${run - failed} passed, ${failed} failed`);
  return failed > 0 || run === 0 ? 1 : 0;
}

main().then((status) => process.exit(status), (error) => {
  console.error(error);
  process.exit(1);
});
