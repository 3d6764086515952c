#!/usr/bin/env python3
"""Renders the manual page as it is installed and fails on any groff warning, an
unfilled placeholder or a path that is not the installed one. Exits with 77
(skipped) when groff is missing.

usage: manual_page_test.py PAGE DEMO_DIR GUIDE
"""
import shutil
import subprocess
import sys


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    page, demo, guide = sys.argv[1:]
    with open(page) as file:
        source = file.read()
    problems = []
    if "@" in source:
        problems.append("an unfilled placeholder is left")
    for path in (demo, guide):
        if path not in source and path.replace("-", "\\-") not in source:
            problems.append(f"{path} is not named")
    if "docs/" in source:
        problems.append("a path into the source tree is named")
    if shutil.which("groff") is None:
        print("groff not found: rendering skipped")
    else:
        result = subprocess.run(["groff", "-ww", "-man", "-Tutf8", page], capture_output=True, text=True)
        if result.returncode != 0 or result.stderr:
            problems.append(f"groff: {result.stderr.strip()} (status {result.returncode})")
    for problem in problems:
        print(f"{page}: {problem}", file=sys.stderr)
    if problems:
        sys.exit(1)
    if shutil.which("groff") is None:
        sys.exit(77)
    print(f"{page}: renders clean")


if __name__ == "__main__":
    main()
