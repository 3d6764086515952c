#!/usr/bin/env python3
"""Clones the committed tree of SOURCE afresh, runs make install PREFIX=... in
the clone, and checks what lands under the prefix: vesk and vesk-kit, both
manual pages, the authors' guide with the notes it points at, and the sample
game, which the installed vesk plays and the installed vesk-kit checks.

usage: install_test.py SOURCE [JOBS]
"""
import os
import re
import subprocess
import sys
import tempfile


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(command, **options):
    result = subprocess.run(command, capture_output=True, text=True, **options)
    check(result.returncode == 0, f"{' '.join(command)} failed ({result.returncode}):\n{result.stdout}{result.stderr}")
    return result


def check_installed(prefix):
    def installed(*parts):
        return os.path.join(prefix, *parts)

    for program in ("vesk", "vesk-kit"):
        check(os.access(installed("bin", program), os.X_OK), f"no program bin/{program}")
    for page in ("vesk.6", "vesk-kit.6"):
        check(os.path.isfile(installed("share", "man", "man6", page)), f"no manual page {page}")
    guide = installed("share", "doc", "vesk", "authoring.md")
    check(os.path.isfile(guide), "no authors' guide")
    with open(guide) as file:
        text = file.read()
    # Every Markdown file the guide names lies beside it.
    for name in sorted(set(re.findall(r"`([\w.-]+\.md)`", text))):
        check(os.path.isfile(installed("share", "doc", "vesk", name)), f"the guide points at {name}, not installed")
    check("share/vesk/demo" in text, "the guide does not say where the sample game is installed")
    demo = installed("share", "vesk", "demo")
    for name in ("area1.txt", "item1.txt", "enemy1.txt", "msg1.txt", "walkthrough.walk"):
        check(os.path.isfile(os.path.join(demo, name)), f"the sample game lacks {name}")
    return demo


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    source = os.path.abspath(sys.argv[1])
    jobs = sys.argv[2] if len(sys.argv) == 3 else "2"
    with tempfile.TemporaryDirectory(prefix="vesk-install-") as root:
        clone = os.path.join(root, "clone")
        prefix = os.path.join(root, "prefix")
        run(["git", "clone", "--quiet", "--no-local", source, clone])
        run(["git", "-C", clone, "checkout", "--quiet", run(["git", "-C", source, "rev-parse", "HEAD"]).stdout.strip()])
        run(["make", "-C", clone, "install", f"PREFIX={prefix}", f"JOBS={jobs}"])
        try:
            demo = check_installed(prefix)
            played = subprocess.run([os.path.join(prefix, "bin", "vesk")], cwd=demo, input="quit\n\n\n",
                                    capture_output=True, text=True, timeout=20)
            check(played.returncode == 0 and played.stdout.startswith("vesk 1.0 alpha\n"),
                  f"the installed vesk does not play the sample game:\n{played.stdout}{played.stderr}")
            checked = run([os.path.join(prefix, "bin", "vesk-kit"), "check", demo])
            check(checked.stdout.endswith("0 errors, 0 warnings, 0 notes\n"), f"check of the sample game:\n{checked.stdout}")
        except Failure as failure:
            listing = run(["find", prefix]).stdout
            raise Failure(f"{failure}\ninstalled:\n{listing}")
    print("install: ok")


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"install: {failure}", file=sys.stderr)
        sys.exit(1)
