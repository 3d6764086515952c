#!/usr/bin/env python3
"""Times vesk-kit lsp answering a change with fresh diagnostics.

    lsp_bench.py [--kit build/vesk-kit] [--areas 1000] [--changes 40]

Writes a game of AREAS areas with genworld.py into a temporary directory,
starts the server with no pause before checking (--debounce 0), opens one area
file and sends CHANGES whole-text changes to it, each alternately planting and
removing a misspelt item name, and times each from the change sent to the
diagnostics of that file received with the finding there or gone, and the
server's CPU time for each (user and system, from /proc), which a busy
machine changes less than the wall-clock time. Then times
a hover after a change, which works the game out afresh for the answer. The
goal is at most 100 ms for a change on 1,000 areas.
"""
import argparse
import json
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time


def cpu_ms(pid):
    """User and system CPU time of a process so far, in milliseconds."""
    fields = pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])
    return ticks * 1000 / os.sysconf("SC_CLK_TCK")


def frame(message):
    body = json.dumps(message).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


class Server:
    def __init__(self, kit):
        self.process = subprocess.Popen([kit, "lsp", "--debounce", "0"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE)

    def send(self, message):
        self.process.stdin.write(frame(message))
        self.process.stdin.flush()

    def receive(self):
        length = None
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("the server ended")
            if line in (b"\r\n", b"\n"):
                break
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = int(value)
        return json.loads(self.process.stdout.read(length))

    def wait(self, test):
        while True:
            message = self.receive()
            if test(message):
                return message


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kit", default="build/vesk-kit")
    parser.add_argument("--areas", type=int, default=1000)
    parser.add_argument("--changes", type=int, default=40)
    args = parser.parse_args()
    here = pathlib.Path(__file__).resolve().parent
    with tempfile.TemporaryDirectory() as work:
        game = pathlib.Path(work)
        subprocess.run([sys.executable, str(here / "genworld.py"), str(game), str(args.areas)], check=True)
        area = game / f"area{args.areas // 2}.txt"
        uri = area.resolve().as_uri()
        clean = area.read_text()
        faulty = clean + "item rusty kye\n"
        server = Server(args.kit)
        server.send({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}})
        server.wait(lambda m: m.get("id") == 1)
        server.send({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                     "params": {"textDocument": {"uri": uri, "languageId": "vesk", "version": 1, "text": clean}}})

        def diagnostics_of(message):
            return message.get("method") == "textDocument/publishDiagnostics" and message["params"]["uri"] == uri

        server.wait(diagnostics_of)
        times = []
        cpu_before = cpu_ms(server.process.pid)
        for change in range(args.changes):
            planted = change % 2 == 0
            started = time.perf_counter()
            server.send({"jsonrpc": "2.0", "method": "textDocument/didChange",
                         "params": {"textDocument": {"uri": uri, "version": change + 2},
                                    "contentChanges": [{"text": faulty if planted else clean}]}})
            server.wait(lambda m: diagnostics_of(m) and bool(m["params"]["diagnostics"]) == planted)
            times.append((time.perf_counter() - started) * 1000)
        cpu = (cpu_ms(server.process.pid) - cpu_before) / args.changes
        hovers = []
        for change in range(5):
            server.send({"jsonrpc": "2.0", "method": "textDocument/didChange",
                         "params": {"textDocument": {"uri": uri, "version": 100 + change},
                                    "contentChanges": [{"text": faulty if change % 2 == 0 else clean}]}})
            started = time.perf_counter()
            server.send({"jsonrpc": "2.0", "id": 1000 + change, "method": "textDocument/hover",
                         "params": {"textDocument": {"uri": uri}, "position": {"line": 0, "character": 0}}})
            server.wait(lambda m, i=1000 + change: m.get("id") == i)
            hovers.append((time.perf_counter() - started) * 1000)
        server.send({"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
        server.wait(lambda m: m.get("id") == 2)
        server.send({"jsonrpc": "2.0", "method": "exit"})
        server.process.wait()
    times.sort()
    print(f"{args.areas} areas, {args.changes} changes: change to diagnostics median {statistics.median(times):.1f} ms, "
          f"90th percentile {times[int(len(times) * 0.9) - 1]:.1f} ms, max {times[-1]:.1f} ms; "
          f"server CPU {cpu:.1f} ms a change")
    print(f"hover after a change (the game worked out afresh): median {statistics.median(hovers):.1f} ms")


if __name__ == "__main__":
    main()
