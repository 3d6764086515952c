#!/usr/bin/env python3
"""Runs the vesk program in its own process, as a player does, and checks what
it prints on each stream and the status it exits with.

usage: cli_test.py VESK DEMO_GAME CASE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

BANNER = "vesk 1.0 alpha\nPlease wait...\n"
HELP = "action\nammo\ndrop\nfight\ninv\nlook\npath\npickup\nquit\nselect\nuse\n"
SAVING_GAME = {
    "area1.txt": "The Archive.\n\nThe Archive again.\n\n\nwrite the ledger\n\naction 1 dp 0 sv\n",
}
ENDING_GAME = "The end.\n\nThe end.\n\n\n\ns 0 terminate\n"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(vesk, directory, stdin, timeout=20):
    return subprocess.run([vesk], cwd=directory, input=stdin.encode(), capture_output=True, timeout=timeout)


def text(stream):
    return stream.decode(errors="replace")


def demo_copy(demo, root):
    game = os.path.join(root, "game")
    shutil.copytree(demo, game)
    return game


def case_banner(vesk, demo, root):
    result = run(vesk, demo_copy(demo, root), "quit\n")
    out = text(result.stdout)
    check(result.returncode == 0, f"exit status {result.returncode}")
    check(out.startswith(BANNER + "\n\n01 jan 1970 (thu) 05:30 pm\nh=100 m=50\n\nThe Salt Jetty.\n"),
          f"unexpected first screen:\n{out}")
    check(out.endswith("Actions:\n (1) ring the fog bell\n (2) read the note on the bell post\n\n> "),
          f"the first screen does not end at the prompt:\n{out}")
    check(out.count("> ") == 1, "more than one prompt for one command")
    check(result.stderr == b"", f"standard error: {text(result.stderr)}")


def case_no_game(vesk, demo, root):
    result = run(vesk, root, "look\nquit\n")
    check(result.returncode == 1, f"exit status {result.returncode}, expected 1")
    check(text(result.stderr) == "No game found: area1.txt is missing.\n", f"standard error: {text(result.stderr)!r}")
    check(text(result.stdout) == BANNER, f"standard output: {text(result.stdout)!r}")


def case_quit_status(vesk, demo, root):
    result = run(vesk, demo_copy(demo, root), "look\nquit\n")
    check(result.returncode == 0, f"exit status {result.returncode}")
    check(text(result.stdout).endswith(" (2) read the note on the bell post\n\n> "), "quit printed something")
    check(result.stderr == b"", f"standard error: {text(result.stderr)}")


def case_help_and_prefixes(vesk, demo, root):
    result = run(vesk, demo_copy(demo, root), "helpme\nquit now\nquitting\nQUIT\nquit\n")
    out = text(result.stdout)
    tail = out[out.index("\n> ") + 3:]
    invalid = "Entry invalid.\n\n> "
    check(tail == HELP + "> " + invalid * 3, f"help and the words that are not quit:\n{tail}")
    check(result.returncode == 0, f"exit status {result.returncode}")


def check_waits_for_two_characters(vesk, directory, commands):
    """After the game ends the program reads two more characters, then ends with 0."""
    process = subprocess.Popen([vesk], cwd=directory, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        for keys in (commands, "a"):
            process.stdin.write(keys.encode())
            process.stdin.flush()
            time.sleep(0.5)
            check(process.poll() is None, f"the program ended ({process.poll()}) without waiting after {keys!r}")
        process.stdin.write(b"\n")
        process.stdin.flush()
        check(process.wait(timeout=20) == 0, f"exit status {process.returncode}")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def case_waits_after_quit(vesk, demo, root):
    check_waits_for_two_characters(vesk, demo_copy(demo, root), "quit\n")


def case_waits_after_the_ending(vesk, demo, root):
    with open(os.path.join(root, "area1.txt"), "w") as file:
        file.write(ENDING_GAME)
    check_waits_for_two_characters(vesk, root, "")
    result = run(vesk, root, "")
    check(text(result.stdout).endswith("The end.\n\n"), f"the ending was not shown:\n{text(result.stdout)}")


def case_input_end(vesk, demo, root):
    """At the end of the input the game ends at once, with status 0."""
    process = subprocess.Popen([vesk], cwd=demo_copy(demo, root), stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    out, err = process.communicate(b"path 2\n", timeout=20)
    check(process.returncode == 0, f"exit status {process.returncode}")
    check("\nThe Keeper's Cottage.\n" in text(out) and text(out).endswith(" (3) turn the dial on the sea chest\n\n> "),
          f"unexpected end of output:\n{text(out)[-400:]}")
    check(err == b"", f"standard error: {text(err)}")


def case_save_in_directory(vesk, demo, root):
    """A save lands in the directory that the program runs in, and never replaces a file."""
    for name, content in SAVING_GAME.items():
        with open(os.path.join(root, name), "w") as file:
            file.write(content)
    result = run(vesk, root, "action 1\nslot1\naction 1\nslot1\nquit\n")
    out = text(result.stdout)
    check(result.returncode == 0, f"exit status {result.returncode}")
    check(out.count("File name?> ") == 2, f"no file-name prompt:\n{out}")
    check(out.count("Error: file already exists\n") == 1, f"the second save was not refused:\n{out}")
    with open(os.path.join(root, "slot1.txt")) as file:
        saved = file.read().splitlines()
    check(saved[:2] == ["game 0", "ca 1"], f"saved game: {saved}")
    check(sorted(os.listdir(root)) == ["area1.txt", "slot1.txt"], f"files: {os.listdir(root)}")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    vesk, demo, case = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    with tempfile.TemporaryDirectory(prefix="vesk-cli-") as root:
        try:
            globals()["case_" + case](vesk, demo, root)
        except Failure as failure:
            print(f"{case}: {failure}", file=sys.stderr)
            sys.exit(1)
    print(f"{case}: passed")


if __name__ == "__main__":
    main()
