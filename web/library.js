// The page's side of the web front end's input and output (web/main.cpp).
// Whoever creates the module hands it `vesk`: { readLine(), write(bytes) }.
// readLine() resolves to the next line's bytes (its line end included, as
// typed) or to null at the end of the input; write(bytes) gets every byte of
// output as a Uint8Array.
mergeInto(LibraryManager.library, {
  // The bytes of a line longer than the engine's buffer, still to be read.
  $veskPendingInput: {bytes: null},

  // The page's file system refuses a name longer than 255 bytes, as the
  // console's file systems do, so that saving under such a name fails alike.
  $veskNameLimit__deps: ['$FS'],
  $veskNameLimit__postset: 'veskNameLimit();',
  $veskNameLimit: function() {
    var mayCreate = FS.mayCreate;
    FS.mayCreate = function(dir, name) {
      return lengthBytesUTF8(name) > 255 ? {{{ cDefine('ENAMETOOLONG') }}} : mayCreate(dir, name);
    };
  },

  vesk_web_read__deps: ['$veskPendingInput', '$veskNameLimit'],
  vesk_web_read: function(buffer, capacity) {
    return Asyncify.handleAsync(async function() {
      let bytes = veskPendingInput.bytes;
      veskPendingInput.bytes = null;
      if (bytes === null) bytes = await Module['vesk']['readLine']();
      if (bytes === null || bytes === undefined) return 0;
      if (bytes.length > capacity) {
        veskPendingInput.bytes = bytes.subarray(capacity);
        bytes = bytes.subarray(0, capacity);
      }
      HEAPU8.set(bytes, buffer);
      return bytes.length;
    });
  },

  vesk_web_write: function(bytes, length) {
    Module['vesk']['write'](HEAPU8.slice(bytes, bytes + length));
  },
});
