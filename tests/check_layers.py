#!/usr/bin/env python3
"""Checks that the engine's folders include only the layers below them.

Each folder of src/ is a layer; a folder may include its own headers and those
of the folders listed for it here. A new folder must be given its place.
"""
import pathlib
import re
import sys

ALLOWED = {
    "base": set(),
    "content": {"base"},
    "state": {"base", "content"},
    "script": {"base", "content", "state"},
    "combat": {"base", "content", "state"},
    "inventory": {"base", "content", "state", "script"},
    "core": {"base", "content", "state", "script", "combat", "inventory"},
    "front": {"base", "content", "state", "script", "combat", "inventory", "core"},
    "kit": {"base", "content", "state", "script", "combat", "inventory", "core", "front"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^/"]+)/[^"]+"', re.MULTILINE)


def main(src: pathlib.Path) -> int:
    faults = []
    for path in sorted(src.rglob("*.[ch]pp")):
        folder = path.relative_to(src).parts[0]
        if folder not in ALLOWED:
            faults.append(f"{path}: folder '{folder}' has no place among the layers")
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if included != folder and included not in ALLOWED[folder]:
                faults.append(f"{path}: {folder} includes {included}, which is not below it")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
