#!/usr/bin/env python3
"""Runs vesk-kit check, map and xref over every game directory under the tests
(transcript cases and hostile cases alike), each under a memory limit and a
time limit of ten times the engine's own start-up on that game. None may hang,
abort, exit with a status other than 0, 1 or 2, or take longer.

usage: every_game_test.py [--sanitized] VESK VESK_KIT TESTS_DIR

--sanitized leaves the memory limit out: the sanitizers reserve terabytes of
address space for their shadow memory before the program starts.
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

MEMORY = 1 << 30       # bytes of address space for each run
FLOOR = 0.5            # seconds: process start-up and the machine's noise
TIMES_ENGINE = 10


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY, MEMORY))


LIMITED = True


def timed(command, cwd=None, stdin=b"", timeout=60):
    start = time.monotonic()
    result = subprocess.run(command, cwd=cwd, input=stdin, capture_output=True, timeout=timeout,
                            preexec_fn=limit_memory if LIMITED else None)
    return result, time.monotonic() - start


def games(tests):
    for root, directories, _ in os.walk(tests):
        for name in sorted(directories):
            if name == "game":
                yield os.path.join(root, name)
        directories.sort()


def main():
    global LIMITED
    arguments = sys.argv[1:]
    if arguments[:1] == ["--sanitized"]:
        LIMITED = False
        arguments = arguments[1:]
    if len(arguments) != 3:
        sys.exit(__doc__)
    vesk, kit, tests = (os.path.abspath(argument) for argument in arguments)
    failures = []
    count = 0
    for game in games(tests):
        count += 1
        # The engine's start-up: load the game and quit at the first prompt,
        # in a copy, since a script may save before the prompt.
        with tempfile.TemporaryDirectory(prefix="vesk-every-") as copy:
            work = os.path.join(copy, "game")
            shutil.copytree(game, work, symlinks=True)
            try:
                _, engine = timed([vesk], cwd=work, stdin=b"quit\n\n\n", timeout=20)
            except subprocess.TimeoutExpired:
                engine = 2.0
        allowed = max(FLOOR, TIMES_ENGINE * engine)
        for command in (["check", game], ["map", game], ["xref", game]):
            try:
                result, took = timed([kit] + command, timeout=max(60, allowed * 2))
            except subprocess.TimeoutExpired:
                failures.append(f"{' '.join(command)}: still running after {max(60, allowed * 2):.1f} s")
                continue
            if result.returncode not in (0, 1, 2):
                failures.append(f"{' '.join(command)}: exit status {result.returncode}\n"
                                f"{result.stderr.decode(errors='replace')[-500:]}")
            elif took > allowed:
                failures.append(f"{' '.join(command)}: {took:.2f} s, more than {allowed:.2f} s "
                                f"(the engine starts in {engine:.3f} s)")
    if count == 0:
        failures.append(f"no game directories under {tests}")
    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{count} games, {len(failures)} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
