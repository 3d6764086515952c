// The web build of the engine under node: plays a game from files in memory,
// handing it its input one line per read, as the page does.
'use strict';

const fs = require('fs');
const path = require('path');

// The engine's module factory and its compiled wasm from the web build's
// files, or null when they have not been built.
function loadEngine(webDir) {
  const script = path.join(webDir, 'vesk.js');
  const wasm = path.join(webDir, 'vesk.wasm');
  if (!fs.existsSync(script) || !fs.existsSync(wasm)) return null;
  // The module is handed its wasm: the loader's own fetch of it fails under
  // node 18 and later ("Failed to parse URL").
  return {createVesk: require(path.resolve(script)), module: new WebAssembly.Module(fs.readFileSync(wasm))};
}

// The input's lines, each with its line end, and a last piece without one.
function splitLines(input) {
  const lines = [];
  let start = 0;
  for (let i = 0; i < input.length; ++i) {
    if (input[i] === 0x0a) {
      lines.push(input.subarray(start, i + 1));
      start = i + 1;
    }
  }
  if (start < input.length) lines.push(input.subarray(start));
  return lines;
}

// Plays a game: `files` maps the content files' names to their bytes, `input`
// is every byte the player types. The game runs in /game, saving there too
// as the console program does, unless `saveDir` is given, which then starts
// with the files of `saves`. With `echo` each line read is written to the
// output after the prompt that read it, as a terminal shows it. Resolves to the
// output, the exit status, standard error and the files of the save
// directory afterwards, each a Buffer.
async function play(engine, {files, input, seed, saveDir = '/game', saves = {}, echo = false}) {
  const lines = splitLines(input);
  let next = 0;
  const output = [];
  const errors = [];
  const instance = await engine.createVesk({
    vesk: {
      readLine: async () => {
        if (next >= lines.length) return null;
        if (echo) output.push(Buffer.from(lines[next]));
        return lines[next++];
      },
      write: (bytes) => output.push(Buffer.from(bytes)),
    },
    instantiateWasm: (imports, done) => {
      WebAssembly.instantiate(engine.module, imports).then((wasm) => done(wasm, engine.module));
      return {};
    },
    print: (text) => errors.push(text),
    printErr: (text) => errors.push(text),
  });
  instance.FS.mkdir('/game');
  if (saveDir !== '/game') instance.FS.mkdir(saveDir);
  for (const [name, bytes] of Object.entries(files)) instance.FS.writeFile(`/game/${name}`, bytes);
  for (const [name, bytes] of Object.entries(saves)) instance.FS.writeFile(`${saveDir}/${name}`, bytes);
  const status = await instance.ccall('vesk_web_play', 'number', ['number', 'string', 'string'],
                                      [seed >>> 0, '/game', saveDir], {async: true});
  const saved = {};
  for (const name of instance.FS.readdir(saveDir)) {
    if (name === '.' || name === '..') continue;
    saved[name] = Buffer.from(instance.FS.readFile(`${saveDir}/${name}`));
  }
  return {output: Buffer.concat(output), status, stderr: errors.join('\n'), files: saved, linesRead: next};
}

module.exports = {loadEngine, play, splitLines};
