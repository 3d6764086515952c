// The editor's side of vesk-kit lsp: starts the server for the content files
// of a game (areaN.txt, itemN.txt, enemyN.txt, msgN.txt) and hands it every
// such file the editor opens. The server does the rest: diagnostics, hovers,
// definitions, references, renames, outlines, colours and completions.
'use strict';

const vscode = require('vscode');
const {LanguageClient, TransportKind} = require('vscode-languageclient/node');

let client;

function activate(context) {
  const settings = vscode.workspace.getConfiguration('vesk');
  const command = settings.get('kitPath', 'vesk-kit');
  const debounce = String(settings.get('debounce', 200));
  const server = {command, args: ['lsp', '--debounce', debounce], transport: TransportKind.stdio};
  client = new LanguageClient('vesk', 'vesk game files', {run: server, debug: server}, {
    documentSelector: [{scheme: 'file', language: 'vesk'}],
  });
  context.subscriptions.push({dispose: () => client && client.stop()});
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = {activate, deactivate};
