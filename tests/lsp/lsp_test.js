// vesk-kit lsp spoken to as an editor speaks to it: the server runs as a
// child process and the editors' own client library frames the messages.
// The sample game is opened as it is, and a copy of it with faults planted on
// the disk and in unsaved edits; every answer is checked with its positions.
//
// usage: node lsp_test.js --kit VESK_KIT --game GAME_DIR
//
// Skipped (77) without vscode-languageserver-protocol (npm ci in tests/lsp),
// except under CI or with REQUIRE_LSP=1.
'use strict';

const assert = require('assert/strict');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const test = require('node:test');
const {pathToFileURL} = require('url');

function option(name) {
  const i = process.argv.indexOf(name);
  return i >= 0 ? process.argv[i + 1] : null;
}

function required() {
  const flag = (value) => value !== undefined && value !== '' && value !== '0' && value !== 'false';
  return flag(process.env.CI) || flag(process.env.REQUIRE_LSP);
}

let protocol;
try {
  protocol = require('vscode-languageserver-protocol/node');
} catch (error) {
  console.log('skipped: vscode-languageserver-protocol is missing (npm ci in tests/lsp)');
  process.exit(required() ? 1 : 77);
}

const kit = option('--kit');
const game = path.resolve(option('--game'));

// A server on its own process and a connection to it.
async function start() {
  const child = childProcess.spawn(kit, ['lsp', '--debounce', '20'], {stdio: ['pipe', 'pipe', 'inherit']});
  const connection = protocol.createProtocolConnection(
      new protocol.StreamMessageReader(child.stdout), new protocol.StreamMessageWriter(child.stdin));
  const diagnostics = new Map();
  const waiting = [];
  connection.onNotification(protocol.PublishDiagnosticsNotification.type, (params) => {
    diagnostics.set(params.uri, params.diagnostics);
    for (const wait of waiting.splice(0)) wait();
  });
  connection.listen();
  const init = await connection.sendRequest(protocol.InitializeRequest.type,
      {processId: process.pid, rootUri: null, capabilities: {}, workspaceFolders: null});
  await connection.sendNotification(protocol.InitializedNotification.type, {});
  // The diagnostics of `uri` once `ready` says they are the ones wanted.
  const published = (uri, ready) => new Promise((resolve) => {
    const check = () => {
      if (diagnostics.has(uri) && ready(diagnostics.get(uri))) {
        resolve(diagnostics.get(uri));
      } else {
        waiting.push(check);
      }
    };
    check();
  });
  const stop = async () => {
    await connection.sendRequest(protocol.ShutdownRequest.type);
    await connection.sendNotification(protocol.ExitNotification.type);
    const status = await new Promise((resolve) => child.on('exit', resolve));
    connection.dispose();
    return status;
  };
  // A failed assertion leaves the server running: end it, so that the run ends.
  const kill = () => {
    if (child.exitCode === null) child.kill();
  };
  return {connection, init, published, stop, kill};
}

const uriOf = (directory, file) => pathToFileURL(path.join(directory, file)).href;
const range = (line, from, endLine, to) => ({start: {line, character: from}, end: {line: endLine, character: to}});

function open(connection, directory, file, text) {
  const body = text === undefined ? fs.readFileSync(path.join(directory, file), 'utf8') : text;
  return connection.sendNotification(protocol.DidOpenTextDocumentNotification.type,
      {textDocument: {uri: uriOf(directory, file), languageId: 'vesk', version: 1, text: body}});
}

// Semantic tokens as [line, character, length, type name], from the relative form.
function decodeTokens(data, legend) {
  const tokens = [];
  let line = 0;
  let character = 0;
  for (let i = 0; i < data.length; i += 5) {
    line += data[i];
    character = data[i] === 0 ? character + data[i + 1] : data[i + 1];
    tokens.push([line, character, data[i + 2], legend.tokenTypes[data[i + 3]]]);
  }
  return tokens;
}

// A copy of the sample game with an item name misspelt on the disk.
function faultyCopy() {
  const directory = fs.mkdtempSync(path.join(os.tmpdir(), 'vesk-lsp-'));
  for (const file of fs.readdirSync(game)) fs.copyFileSync(path.join(game, file), path.join(directory, file));
  const area = path.join(directory, 'area1.txt');
  fs.writeFileSync(area, fs.readFileSync(area, 'utf8').replace('item boat hook\n', 'item boat hoook\n'));
  return directory;
}

test('the sample game: hover, definition, references, rename, symbols, tokens, completion', async () => {
  const server = await start();
  try {
    await sampleGame(server);
  } finally {
    server.kill();
  }
});

async function sampleGame({connection, init, published, stop}) {
  const caps = init.capabilities;
  assert.equal(caps.textDocumentSync.change, protocol.TextDocumentSyncKind.Full);
  assert.ok(caps.hoverProvider && caps.definitionProvider && caps.referencesProvider && caps.renameProvider);
  const area1 = uriOf(game, 'area1.txt');
  await open(connection, game, 'area1.txt');
  assert.deepEqual(await published(area1, () => true), [], 'the sample game passes the checker');
  const doc = {uri: area1};
  const at = (line, character) => ({textDocument: doc, position: {line, character}});

  // Path 1's target: the line's meaning and the area it names.
  const hover = await connection.sendRequest(protocol.HoverRequest.type, at(9, 42));
  assert.equal(hover.contents.kind, 'markdown');
  assert.equal(hover.contents.value,
      '**area1.txt**, paths section: path 1, "up the cliff stair to the lighthouse door", leads to area 2 ' +
      '(area2.txt) in 120 seconds; `path 1` takes it\n\n---\narea `2`\n\n- written at nowhere\n' +
      '- read at area1.txt:10, area3.txt:10');
  const condition = await connection.sendRequest(protocol.HoverRequest.type, at(22, 12));
  assert.match(condition.contents.value, /`path 3` "into the cleft at the foot of the cliff", list cv: a condition for listing it/);
  assert.match(condition.contents.value, /`= v4 1`: holds when v4 equals 1/);
  assert.match(condition.contents.value, /variable `v4`\n\n- written at area1\.txt:30\n- read at area1\.txt:23/);

  // "path 1 cd iron key held": the item's file.
  assert.deepEqual(await connection.sendRequest(protocol.DefinitionRequest.type, at(19, 14)),
      {uri: uriOf(game, 'item7.txt'), range: range(0, 0, 0, 8)});
  // "repeat line" jumps to the label two lines up.
  assert.deepEqual(await connection.sendRequest(protocol.DefinitionRequest.type, at(28, 30)),
      {uri: area1, range: range(25, 25, 25, 29)});
  // Path 1 leads to area 2.
  assert.deepEqual(await connection.sendRequest(protocol.DefinitionRequest.type, at(9, 42)),
      {uri: uriOf(game, 'area2.txt'), range: range(0, 0, 0, 22)});
  assert.equal(await connection.sendRequest(protocol.DefinitionRequest.type, at(13, 3)), null,
      'an action label names nothing');

  // v9, set, shown, counted and tested by the second action's loop.
  const references = await connection.sendRequest(protocol.ReferencesRequest.type,
      {...at(26, 20), context: {includeDeclaration: true}});
  // The first write counts as the definition and comes first; then the
  // writes and the reads, each place once.
  assert.deepEqual(references.map((r) => [r.uri, r.range.start.line, r.range.start.character, r.range.end.character]),
      [[area1, 24, 16, 18], [area1, 27, 16, 18], [area1, 26, 20, 22], [area1, 28, 16, 18]]);

  const rename = await connection.sendRequest(protocol.RenameRequest.type, {...at(25, 26), newName: 'again'});
  assert.deepEqual(rename, {changes: {[area1]: [
    {range: range(25, 25, 25, 29), newText: 'again'},
    {range: range(28, 28, 28, 32), newText: 'again'},
  ]}});
  assert.equal(await connection.sendRequest(protocol.RenameRequest.type, {...at(26, 20), newName: 'v8'}), null,
      'only labels are renamed');

  const symbols = await connection.sendRequest(protocol.DocumentSymbolRequest.type, {textDocument: doc});
  assert.deepEqual(symbols.map((s) => [s.name, s.range.start.line, s.range.end.line, s.children.length]), [
    ['long description', 0, 5, 0],
    ['short description', 7, 7, 0],
    ['paths', 9, 11, 3],
    ['actions', 13, 14, 2],
    ['keyword lines', 16, 29, 14],
  ]);
  assert.equal(symbols[2].children[0].name, 'path 1: up the cliff stair to the lighthouse door 2 120');

  const tokens = decodeTokens((await connection.sendRequest(protocol.SemanticTokensRequest.type,
      {textDocument: doc})).data, caps.semanticTokensProvider.legend);
  assert.deepEqual(tokens.filter(([line]) => line === 0 || line === 9 || line === 22 || line === 28), [
    [0, 0, 15, 'string'],
    [9, 0, 2, 'string'], [9, 3, 3, 'string'], [9, 7, 5, 'string'], [9, 13, 5, 'string'], [9, 19, 2, 'string'],
    [9, 22, 3, 'string'], [9, 26, 10, 'string'], [9, 37, 4, 'string'], [9, 42, 1, 'number'], [9, 44, 3, 'number'],
    [22, 0, 4, 'keyword'], [22, 5, 1, 'number'], [22, 7, 2, 'enumMember'], [22, 12, 2, 'variable'], [22, 15, 1, 'number'],
    [28, 0, 6, 'keyword'], [28, 7, 1, 'number'], [28, 9, 2, 'enumMember'], [28, 12, 1, 'number'], [28, 16, 2, 'variable'],
    [28, 19, 1, 'number'], [28, 28, 4, 'label'],
  ]);

  const labels = async (line, character) =>
    (await connection.sendRequest(protocol.CompletionRequest.type, at(line, character))).map((i) => i.label);
  assert.deepEqual(await labels(18, 0),
      ['m2', 'swim', 'wtr', 'dark', 'ammo', 'item', 'enemy', 'pcd', 'drop', 'action', 'path', 's']);
  assert.deepEqual(await labels(22, 7), ['cv', 'cd', 'dp', 'dn']);
  const names = await labels(18, 5);
  for (const expected of ['boat hook', 'iron key', 'crossbow', 'shore crab', 'msf', 'ca']) {
    assert.ok(names.includes(expected), `${expected} among ${names}`);
  }
  assert.equal(await stop(), 0);
}

test('planted faults: diagnostics on open and on unsaved edits, with quick fixes', async () => {
  const directory = faultyCopy();
  const server = await start();
  try {
    const {connection, published, stop} = server;
    const area1 = uriOf(directory, 'area1.txt');
    await open(connection, directory, 'area1.txt');
    const found = await published(area1, (list) => list.length > 0);
    assert.deepEqual(found, [{
      range: range(18, 0, 18, 15),
      severity: protocol.DiagnosticSeverity.Error,
      code: 'unknown-item',
      source: 'vesk-kit',
      message: 'no item is named "boat hoook"; did you mean "boat hook"? (the line adds nothing)',
    }]);
    const actions = await connection.sendRequest(protocol.CodeActionRequest.type,
        {textDocument: {uri: area1}, range: found[0].range, context: {diagnostics: found}});
    assert.equal(actions.length, 1);
    assert.equal(actions[0].kind, 'quickfix');
    assert.deepEqual(actions[0].edit, {changes: {[area1]: [{range: range(18, 5, 18, 15), newText: 'boat hook'}]}});

    // An unsaved edit that breaks a loop and fixes the item: the checker
    // reads the editor's text, not the disk's.
    const text = fs.readFileSync(path.join(directory, 'area1.txt'), 'utf8')
        .replace('boat hoook', 'boat hook').replace('repeat line', 'repeat lien');
    await connection.sendNotification(protocol.DidChangeTextDocumentNotification.type,
        {textDocument: {uri: area1, version: 2}, contentChanges: [{text}]});
    const edited = await published(area1, (list) => list.some((d) => d.code === 'missing-label'));
    assert.deepEqual(edited.map((d) => [d.code, d.range.start.line, d.severity]),
        [['unused-label', 25, protocol.DiagnosticSeverity.Information], ['missing-label', 28, protocol.DiagnosticSeverity.Error]]);
    const hover = await connection.sendRequest(protocol.HoverRequest.type,
        {textDocument: {uri: area1}, position: {line: 18, character: 7}});
    assert.match(hover.contents.value, /item `boat hook`\n\n- defined at item1\.txt:1/, 'hover sees the edit too');

    // Closing the file unedited goes back to the disk's text.
    await connection.sendNotification(protocol.DidChangeTextDocumentNotification.type,
        {textDocument: {uri: area1, version: 3}, contentChanges: [{text: text.replace('repeat lien', 'repeat line')}]});
    assert.deepEqual(await published(area1, (list) => list.length === 0), []);
    assert.equal(await stop(), 0);
  } finally {
    server.kill();
    fs.rmSync(directory, {recursive: true, force: true});
  }
});
