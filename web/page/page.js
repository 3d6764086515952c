// The page of a published vesk game: runs the engine (vesk.js and its wasm),
// shows what it prints as a transcript, hands it the lines typed in the input
// line, and keeps its saved games and the bookmarks of the comforts around the
// game (undo, restart, bookmark NAME, resume NAME) in the browser's IndexedDB.
'use strict';

(function () {
  const game = JSON.parse(document.getElementById('vesk-game').textContent);
  const $ = (id) => document.getElementById(id);
  const output = $('output');
  const prompt = $('prompt');
  const input = $('input');

  function fromBase64(text) {
    const binary = atob(text);
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  // The seed of the game's dice: ?seed=N fixes it (and a restart keeps it),
  // else the clock in seconds, as the console program takes it.
  function seed() {
    const fixed = new URLSearchParams(location.search).get('seed');
    if (fixed !== null && /^\d+$/.test(fixed)) return {value: Number(fixed) >>> 0, given: true};
    return {value: Math.floor(Date.now() / 1000) >>> 0, given: false};
  }

  // Saved games and bookmarks, kept per game (by its title) in IndexedDB,
  // each as one record of file names and bytes: the saves in the store
  // "games", the bookmarks beside them in "bookmarks". Where IndexedDB cannot
  // be had (some private windows) they last as long as the page.
  function shelf(storeName, onStored) {
    return {
      files: new Map(),
      database: null,
      async open(database) {
        this.database = database;
        if (!database) return;
        const record = await this.request('readonly', (store) => store.get(game.title));
        if (record) for (const [name, bytes] of Object.entries(record)) this.files.set(name, bytes);
      },
      request(mode, action) {
        return new Promise((resolve, reject) => {
          const transaction = this.database.transaction(storeName, mode);
          const request = action(transaction.objectStore(storeName));
          transaction.oncomplete = () => resolve(request.result);
          transaction.onerror = () => reject(transaction.error);
        });
      },
      async store() {
        if (this.database) {
          await this.request('readwrite', (store) => store.put(Object.fromEntries(this.files), game.title));
        }
        onStored();
      },
    };
  }
  const saves = shelf('games', () => showSaves());
  const bookmarks = shelf('bookmarks', () => {});

  async function openShelves() {
    let database = null;
    try {
      database = await new Promise((resolve, reject) => {
        const request = indexedDB.open('vesk-saves', 2);
        request.onupgradeneeded = () => {
          for (const name of ['games', 'bookmarks']) {
            if (!request.result.objectStoreNames.contains(name)) request.result.createObjectStore(name);
          }
        };
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
      await saves.open(database);
      await bookmarks.open(database);
    } catch (error) {
      saves.database = bookmarks.database = null;
      $('saves-note').textContent = 'This browser keeps no saved games here: download them to keep them.';
    }
  }

  // One game being played: its engine instance, the lines typed ahead of the
  // game's reads, and the read the game is waiting at.
  let session = null;
  const history = [];
  let historyAt = 0;

  // The state shows in the body's data-state (loading, busy, waiting or
  // ended) for the style and for tests; each wait for a line and each line
  // entered is marked on the page's performance timeline, for the benchmark.
  function setState(state) {
    document.body.dataset.state = state;
    if (state === 'waiting') performance.mark('vesk-waiting');
  }

  // The game's output: whole lines go to the transcript, and the line that
  // is still open (the prompt the game waits at) stands before the input.
  function write(bytes) {
    const text = prompt.textContent + session.decoder.decode(bytes, {stream: true});
    const end = text.lastIndexOf('\n') + 1;
    if (end > 0) output.append(text.slice(0, end));
    prompt.textContent = text.slice(end);
    input.scrollIntoView({block: 'nearest'});
  }

  // The saved games that the game wrote since its last read, into IndexedDB.
  async function keepNewSaves(instance) {
    let changed = false;
    for (const name of instance.FS.readdir('/saves')) {
      if (name === '.' || name === '..' || saves.files.has(name)) continue;
      saves.files.set(name, instance.FS.readFile(`/saves/${name}`));
      changed = true;
    }
    if (changed) await saves.store();
  }

  // The bookmarks that the game kept since its last read, new or replaced.
  async function keepBookmarks(instance) {
    let changed = false;
    for (const name of instance.FS.readdir('/bookmarks')) {
      if (!name.endsWith('.bookmark')) continue;
      const bytes = instance.FS.readFile(`/bookmarks/${name}`);
      const kept = bookmarks.files.get(name);
      if (kept && kept.length === bytes.length && kept.every((byte, i) => byte === bytes[i])) continue;
      bookmarks.files.set(name, bytes);
      changed = true;
    }
    if (changed) await bookmarks.store();
  }

  function readLine() {
    const current = session;
    return keepNewSaves(current.instance).then(() => keepBookmarks(current.instance)).then(() => {
      if (current.typed.length > 0) return current.typed.shift();
      setState('waiting');
      return new Promise((resolve) => { current.waiting = resolve; });
    });
  }

  function enter(line) {
    const typed = document.createElement('span');
    typed.className = 'typed';
    typed.textContent = line;
    output.append(prompt.textContent, typed, '\n');
    prompt.textContent = '';
    performance.mark('vesk-line');
    const bytes = new TextEncoder().encode(line + '\n');
    if (session.waiting) {
      const resolve = session.waiting;
      session.waiting = null;
      setState('busy');
      resolve(bytes);
    } else {
      session.typed.push(bytes);
    }
  }

  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      event.preventDefault();
      const line = input.value;
      input.value = '';
      if (line !== '' && history[history.length - 1] !== line) history.push(line);
      historyAt = history.length;
      if (session && !session.ended) enter(line);
    } else if (event.key === 'ArrowUp' && historyAt > 0) {
      event.preventDefault();
      input.value = history[--historyAt];
    } else if (event.key === 'ArrowDown' && historyAt < history.length) {
      event.preventDefault();
      ++historyAt;
      input.value = historyAt < history.length ? history[historyAt] : '';
    }
  });

  // A click in the transcript puts the cursor back in the input line, unless
  // the player is selecting text to copy.
  $('transcript').addEventListener('click', () => {
    if (String(window.getSelection()) === '') input.focus();
  });

  function engineOptions() {
    const options = {vesk: {readLine, write}};
    // In a page of one file the engine's wasm is inside it; beside the page
    // the engine fetches vesk.wasm itself.
    const inlined = document.getElementById('vesk-wasm');
    if (inlined) options.wasmBinary = fromBase64(inlined.textContent.trim());
    return options;
  }

  async function play() {
    output.textContent = '';
    prompt.textContent = '';
    $('ended').hidden = true;
    setState('loading');
    const current = {instance: null, typed: [], waiting: null, ended: false, decoder: new TextDecoder()};
    session = current;
    const instance = await createVesk(engineOptions());
    current.instance = instance;
    instance.FS.mkdir('/game');
    instance.FS.mkdir('/saves');
    instance.FS.mkdir('/bookmarks');
    for (const [name, text] of Object.entries(game.files)) instance.FS.writeFile(`/game/${name}`, fromBase64(text));
    for (const [name, bytes] of saves.files) instance.FS.writeFile(`/saves/${name}`, bytes);
    for (const [name, bytes] of bookmarks.files) instance.FS.writeFile(`/bookmarks/${name}`, bytes);
    setState('busy');
    input.focus();
    const dice = seed();
    // The engine ends every game itself, out of memory too; should its
    // runtime stop it all the same, the page keeps what it printed and saved
    // and says so.
    let status = 2;
    try {
      status = await instance.ccall('vesk_web_play_comforts', 'number',
                                    ['number', 'number', 'string', 'string', 'string'],
                                    [dice.value, dice.given ? 1 : 0, '/game', '/saves', '/bookmarks'],
                                    {async: true});
    } catch (error) {
      console.error(error);
    }
    write(new Uint8Array(0));
    const rest = current.decoder.decode();
    if (rest) output.append(rest);
    await keepNewSaves(instance);
    await keepBookmarks(instance);
    current.ended = true;
    const endings = {0: 'The game has ended.', 1: 'This page holds no game to play.'};
    $('ended-message').textContent = endings[status] || 'The game stopped: the page ran out of memory or hit a fault.';
    $('ended').hidden = false;
    setState('ended');
    $('again').focus();
  }

  $('again').addEventListener('click', () => { play(); });

  // The panel of saved games: each can be downloaded, or deleted; an upload
  // is a saved game that "ld" then finds under its name.
  function showSaves() {
    const list = $('saves-list');
    list.textContent = '';
    if (saves.files.size === 0) {
      const none = document.createElement('li');
      none.textContent = 'No saved games yet.';
      list.append(none);
    }
    for (const name of [...saves.files.keys()].sort()) {
      const item = document.createElement('li');
      const label = document.createElement('span');
      label.className = 'name';
      label.textContent = name;
      const download = document.createElement('a');
      download.textContent = 'Download';
      download.download = name;
      download.href = URL.createObjectURL(new Blob([saves.files.get(name)], {type: 'text/plain'}));
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.textContent = 'Delete';
      remove.addEventListener('click', async () => {
        saves.files.delete(name);
        if (session && session.instance && !session.ended) {
          try { session.instance.FS.unlink(`/saves/${name}`); } catch (error) { /* already gone */ }
        }
        await saves.store();
      });
      item.append(label, download, remove);
      list.append(item);
    }
  }

  $('saves-upload').addEventListener('change', async (event) => {
    const message = $('saves-message');
    const taken = [];
    for (const file of event.target.files) {
      if (saves.files.has(file.name) || file.name.includes('/')) {
        taken.push(file.name);
        continue;
      }
      const bytes = new Uint8Array(await file.arrayBuffer());
      saves.files.set(file.name, bytes);
      if (session && session.instance && !session.ended) session.instance.FS.writeFile(`/saves/${file.name}`, bytes);
    }
    event.target.value = '';
    message.textContent = taken.length > 0 ? `Not uploaded, a saved game of that name is here: ${taken.join(', ')}` : '';
    await saves.store();
  });

  // Everything shown and typed so far, as a text file.
  $('transcript-button').addEventListener('click', () => {
    const text = output.textContent + prompt.textContent;
    const link = document.createElement('a');
    link.download = `${game.title} transcript.txt`;
    link.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
  });

  $('saves-button').addEventListener('click', () => {
    const panel = $('saves');
    panel.hidden = !panel.hidden;
    $('saves-button').setAttribute('aria-expanded', String(!panel.hidden));
  });

  openShelves().then(() => {
    showSaves();
    return play();
  });
})();
