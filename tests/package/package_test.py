#!/usr/bin/env python3
"""Builds the Debian package of this build with CPack, unpacks it into a
temporary root and plays the installed sample game with the installed program.
Exits with 77 (skipped) when dpkg-deb is missing.

usage: package_test.py CPACK CPACK_CONFIG PREFIX BINDIR MANDIR DATADIR DOCDIR
(the last four relative to PREFIX, as the build installs them)
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def build_package(cpack, config, directory):
    result = subprocess.run([cpack, "-G", "DEB", "--config", config, "-B", directory], capture_output=True, text=True)
    check(result.returncode == 0, f"cpack failed:\n{result.stdout}{result.stderr}")
    packages = glob.glob(os.path.join(directory, "*.deb"))
    check(len(packages) == 1, f"expected one package, found {packages}")
    return packages[0]


def field(package, name):
    return subprocess.run(["dpkg-deb", "-f", package, name], capture_output=True, text=True, check=True).stdout.strip()


def check_contents(root, prefix, bindir, mandir, datadir, docdir):
    def installed(*parts):
        return os.path.join(root, prefix.lstrip("/"), *parts)

    vesk = installed(bindir, "vesk")
    check(os.access(vesk, os.X_OK), f"no program at {vesk}")
    with open(installed(mandir, "man6", "vesk.6")) as file:
        page = file.read()
    demo = os.path.join(prefix, datadir, "vesk", "demo")
    guide = os.path.join(prefix, docdir, "authoring.md")
    check(demo in page or demo.replace("-", "\\-") in page, f"the manual page does not name the installed sample game {demo}")
    check(guide in page or guide.replace("-", "\\-") in page, f"the manual page does not name the installed guide {guide}")
    check("@" not in page, "the manual page holds an unfilled placeholder")
    with open(installed(docdir, "authoring.md")) as file:
        check(file.read().startswith("# Writing a game for vesk"), "the guide is not installed")
    for name in ("area1.txt", "item1.txt", "enemy1.txt", "msg1.txt"):
        check(os.path.isfile(installed(datadir, "vesk", "demo", name)), f"the sample game lacks {name}")
    return vesk, installed(datadir, "vesk", "demo")


def play(vesk, demo, directory):
    game = os.path.join(directory, "salt-coast")
    shutil.copytree(demo, game)
    result = subprocess.run([vesk], cwd=game, input=b"path 2\npickup crossbow\ninv\nquit\n", capture_output=True,
                            timeout=20)
    out = result.stdout.decode(errors="replace")
    check(result.returncode == 0, f"the installed program exited with {result.returncode}")
    check(out.startswith("vesk 1.0 alpha\nPlease wait...\n"), f"no banner:\n{out}")
    check("\nThe Keeper's Cottage.\n" in out, f"the path to the cottage was not taken:\n{out}")
    check("Picked up crossbow.\n\n> crossbow " in out, f"the crossbow was not picked up:\n{out}")
    check(result.stderr == b"", f"standard error: {result.stderr.decode(errors='replace')}")


def main():
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    cpack, config, prefix, bindir, mandir, datadir, docdir = sys.argv[1:]
    if shutil.which("dpkg-deb") is None:
        print("dpkg-deb not found: package test skipped")
        sys.exit(SKIPPED)
    with tempfile.TemporaryDirectory(prefix="vesk-package-") as directory:
        try:
            package = build_package(cpack, config, os.path.join(directory, "out"))
            check(field(package, "Package") == "vesk", "wrong package name")
            check(field(package, "Version") == "1.0~alpha", f"version {field(package, 'Version')}")
            root = os.path.join(directory, "root")
            subprocess.run(["dpkg-deb", "-x", package, root], check=True)
            vesk, demo = check_contents(root, prefix, bindir, mandir, datadir, docdir)
            play(vesk, demo, directory)
        except Failure as failure:
            print(f"package: {failure}", file=sys.stderr)
            sys.exit(1)
    print(f"package: {os.path.basename(package)} installs and plays")


if __name__ == "__main__":
    main()
