#!/usr/bin/env python3
"""Times the vesk program against its yardsticks, in CPU time (user + system)
of the child processes, and prints the three ratios as medians of several runs.

    perf.py [--vesk build/vesk] [--runs 7] [--work DIR]

- loop: a game whose action counts v1 to a million in a script loop and then
  quits, against Lua counting a table field to a million (lua5.4 must be
  installed: apt-get install lua5.4).
- load: start-up of a generated 10,000-area world (genworld.py) with the input
  "quit", against floor.c reading every file of that world twice.
- crowd: twenty passes in an area with 10x enemies and items against the same
  with 1x.

The goals: loop/lua at most 1.0, load/floor at most 1.5, crowd 10x/1x at most 12.
"""
import argparse
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
ROUNDS = 1000000
CROWD_1X = 300
CROWD_PASSES = 20

LUA_LOOP = f"""local t = {{}}
t.v1 = 0
repeat
  t.v1 = t.v1 + 1
until not (t.v1 < {ROUNDS})
"""


def cpu_seconds(argv, cwd=None, stdin_text=""):
    """Runs argv to its end and returns the user + system time it took."""
    with tempfile.TemporaryFile() as stdin:
        stdin.write(stdin_text.encode())
        stdin.seek(0)
        proc = subprocess.Popen(argv, cwd=cwd, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        raise SystemExit(f"{argv[0]} failed with {proc.returncode}")
    return usage.ru_utime + usage.ru_stime


def write_loop_game(directory: pathlib.Path) -> None:
    directory.mkdir(parents=True, exist_ok=True)
    (directory / "area1.txt").write_text(
        "The counting room.\n\nThe counting room.\n\nnone\n\ncount\n\n"
        "action 1 dp 0 s v1 0\n"
        "action 1 dp 0 repetition top\n"
        "action 1 dp 0 a v1 1\n"
        f"action 1 dp 1 - v1 {ROUNDS} repeat top\n"
        "action 1 dp 0 msg counted +v1\n"
    )


def write_crowd_game(directory: pathlib.Path, size: int) -> None:
    """An area whose turn script places `size` enemies at the first pass and
    that holds `size` items; the enemies attack every pass and always miss."""
    directory.mkdir(parents=True, exist_ok=True)
    (directory / "item1.txt").write_text("copper coin\n")
    (directory / "item2.txt").write_text("rusty key\n")
    (directory / "enemy1.txt").write_text("harmless rat\n5\n-\nbites you 1 2 0\n\nnone\n\n")
    (directory / "enemy2.txt").write_text("cave bat\n5\n-\nflutters at you 1 2 0\n\nnone\n\n")
    lines = ["The great hall.", "", "The hall.", "", "none", "", "wait", ""]
    lines += [f"item {'copper coin' if k % 3 else 'rusty key'}" for k in range(size)]
    lines += [
        "s 0 repetition place",
        "s 1 = v1 0 , harmless rat",
        "s 1 = v1 0 , cave bat",
        "s 1 = v1 0 a v2 2",
        f"s 2 = v1 0 - v2 {size} repeat place",
        "s 0 s v1 1",
        "action 1 dp 0 msg You wait.",
    ]
    (directory / "area1.txt").write_text("\n".join(lines) + "\n")


def median_of(runs, argv, **kwargs):
    return statistics.median(cpu_seconds(argv, **kwargs) for _ in range(runs))


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--vesk", default=str(HERE.parent / "build" / "vesk"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--work", help="directory for the generated games (default: a temporary one)")
    args = parser.parse_args()
    vesk = str(pathlib.Path(args.vesk).resolve())
    lua = shutil.which("lua5.4") or shutil.which("lua")
    if not lua:
        raise SystemExit("lua5.4 not found: apt-get install lua5.4")

    work = pathlib.Path(args.work) if args.work else pathlib.Path(tempfile.mkdtemp(prefix="vesk_perf_"))
    work.mkdir(parents=True, exist_ok=True)
    floor = work / "floor"
    subprocess.run(["cc", "-O2", "-o", str(floor), str(HERE / "floor.c")], check=True)
    (work / "loop.lua").write_text(LUA_LOOP)
    write_loop_game(work / "loop")
    world = work / "world"
    if not (world / "area10000.txt").exists():
        subprocess.run([sys.executable, str(HERE / "genworld.py"), str(world), "10000"], check=True)
    write_crowd_game(work / "crowd1", CROWD_1X)
    write_crowd_game(work / "crowd10", 10 * CROWD_1X)
    crowd_input = "action 1\n" * CROWD_PASSES + "quit\n"

    # One run of each outside the timing: warms the file cache.
    cpu_seconds([str(floor), str(world)])
    cpu_seconds([vesk], cwd=world, stdin_text="quit\n")

    figures = {
        "loop": median_of(args.runs, [vesk], cwd=work / "loop", stdin_text="action 1\nquit\n"),
        "lua": median_of(args.runs, [lua, str(work / "loop.lua")]),
        "load": median_of(args.runs, [vesk], cwd=world, stdin_text="quit\n"),
        "floor": median_of(args.runs, [str(floor), str(world)]),
        "crowd 1x": median_of(args.runs, [vesk], cwd=work / "crowd1", stdin_text=crowd_input),
        "crowd 10x": median_of(args.runs, [vesk], cwd=work / "crowd10", stdin_text=crowd_input),
    }
    for name, seconds in figures.items():
        print(f"{name:10} {seconds * 1000:9.1f} ms CPU (median of {args.runs})")
    ratios = [
        ("loop/lua", figures["loop"] / figures["lua"], 1.0),
        ("load/floor", figures["load"] / figures["floor"], 1.5),
        ("crowd 10x/1x", figures["crowd 10x"] / figures["crowd 1x"], 12.0),
    ]
    for name, ratio, goal in ratios:
        print(f"{name:13} {ratio:6.2f}  (goal at most {goal}: {'met' if ratio <= goal else 'NOT met'})")
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
