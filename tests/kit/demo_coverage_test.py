#!/usr/bin/env python3
"""Checks that the sample game's coverage figure quoted in the docs is current.

Runs `vesk-kit replay --coverage` on the sample game's walkthroughs and
expects the summary's "Lines run" line word for word in each document given.
"""
import pathlib
import re
import subprocess
import sys


def main(kit: str, game: str, documents: list[str]) -> int:
    walks = sorted(str(p) for p in pathlib.Path(game).glob("*.walk"))
    run = subprocess.run([kit, "replay", game, "--coverage", *walks], capture_output=True, text=True)
    if run.returncode != 0:
        print(run.stdout + run.stderr)
        return 1
    figure = re.search(r"^Lines run: .*$", run.stdout, re.MULTILINE)
    if not figure:
        print("no \"Lines run\" line in:\n" + run.stdout)
        return 1
    faults = 0
    for document in documents:
        if figure.group(0) not in pathlib.Path(document).read_text(encoding="utf-8"):
            print(f"{document}: does not quote the sample game's coverage \"{figure.group(0)}\"")
            faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
