#!/usr/bin/env python3
"""Writes a large generated game into a directory, for timing start-up.

    genworld.py DIR [AREAS]

The game has AREAS areas (10,000 by default) in a ring with a few shortcuts,
each with a long and a short description, two to four paths, actions with
conditions and scripts, turn scripts, area items and enemy kinds, plus the
message, item and enemy catalogues that those name. The same arguments always
give the same files.
"""
import pathlib
import random
import sys

WORDS = (
    "old stone damp moss lantern shadow wind salt rope iron door stair vault "
    "dust cellar beam plank gull tide bell chapel crypt reed marsh fog lamp "
    "window hearth ash candle root mould drip echo draught rust hinge chain"
).split()

ITEMS = [
    ("rusty key", []),
    ("storm lantern", ["lamp"]),
    ("short bow", ["weapon 2 5 60", "a_30", "attr wood"]),
    ("iron knife", ["weapon 1 4 80", "melee", "attr iron"]),
    ("boiled leather coat", ["def", "armor"]),
    ("ship's biscuit", ["d 0 msg You eat the biscuit.", "d 0 a h 15", "d 1 + h 100 s h 100"]),
    ("sealskin air bag", ["air"]),
    ("coil of rope", ["d 0 msg The rope is strong.", "d 1 = v3 0 s v3 1"]),
    ("crossbow", ["weapon 5 16 75", "a_12", "attr bolt", "d 0 msg Select it, then fight."]),
    ("brass burner", ["def"]),
]

ENEMIES = [
    ("marsh rat", 6, ["bites you 1 5 60", "scratches you 1 3 70"], ["m 1 4 40"], []),
    ("cave bat", 4, ["flutters at you 1 2 50"], ["none"], []),
    ("wrecker", 20, ["swings a club at you 2 8 55", "kicks you 1 4 60"], ["rusty key 1 1 30"], ["attr iron 2.0"]),
    ("conger eel", 10, ["bites you 2 6 60"], ["none"], ["grapple"]),
]


def sentence(rng: random.Random, words: int) -> str:
    text = " ".join(rng.choice(WORDS) for _ in range(words))
    return text[0].upper() + text[1:] + "."


def area_text(rng: random.Random, k: int, n: int) -> str:
    lines = [f"Room {k} of the drowned manor."]
    for _ in range(rng.randint(2, 5)):
        lines.append(sentence(rng, rng.randint(8, 14)))
    lines.append("")
    lines.append(f"Room {k}. {sentence(rng, 5)}")
    lines.append("")
    targets = [k % n + 1, (k + n - 2) % n + 1]
    for _ in range(rng.randint(0, 2)):
        targets.append(rng.randint(1, n))
    for target in targets:
        lines.append(f"through the {rng.choice(WORDS)} door {target} {rng.randint(20, 200)}")
    lines.append("")
    actions = rng.randint(0, 2)
    if actions == 0:
        lines.append("none")
    for a in range(actions):
        lines.append(f"search the {rng.choice(WORDS)} {rng.choice(WORDS)}")
    lines.append("")
    if rng.random() < 0.2:
        lines.append("dark")
    for _ in range(rng.randint(0, 3)):
        lines.append(f"item {rng.choice(ITEMS)[0]}")
    if rng.random() < 0.3:
        lines.append(f"ammo short bow {rng.randint(1, 20)}")
    for _ in range(rng.randint(0, 2)):
        lines.append(f"enemy {rng.choice(ENEMIES)[0]} {rng.randint(1, 30)}")
    lines.append(f"s 1 = v{k % 50 + 1} 0 a v{k % 50 + 1} 1")
    lines.append("s 0 a game 10")
    if rng.random() < 0.3:
        lines.append(f"s 2 + h 50 - v7 3 msg {sentence(rng, 6)}")
    if rng.random() < 0.2:
        lines.append("pcd - v2 5")
    lines.append("path 1 cv = v1 0")
    lines.append("path 1 dp 0 a v2 1")
    lines.append("path 2 cd + h 10")
    lines.append(f"path 2 dn 0 msg {sentence(rng, 7)}")
    for a in range(1, actions + 1):
        lines.append(f"action {a} cv - v5 10")
        lines.append(f"action {a} dp 0 s v9 1")
        lines.append(f"action {a} dp 0 repetition look")
        lines.append(f"action {a} dp 0 msf 1 v9")
        lines.append(f"action {a} dp 0 a v9 1")
        lines.append(f"action {a} dp 1 - v9 4 repeat look")
        lines.append(f"action {a} dp 0 : {sentence(rng, 6)}")
        lines.append(f"action {a} dn 0 msg {sentence(rng, 5)}")
    return "\n".join(lines) + "\n"


def write_game(directory: pathlib.Path, areas: int) -> None:
    rng = random.Random(18)
    directory.mkdir(parents=True, exist_ok=True)
    for m in range(1, 4):
        (directory / f"msg{m}.txt").write_text("\n".join(sentence(rng, 9) for _ in range(6)) + "\n")
    for i, (name, keywords) in enumerate(ITEMS, 1):
        (directory / f"item{i}.txt").write_text("\n".join([name, *keywords]) + "\n")
    for e, (name, health, attacks, loot, extra) in enumerate(ENEMIES, 1):
        text = [name, str(health), sentence(rng, 8), *attacks, "", *loot, "", *extra]
        (directory / f"enemy{e}.txt").write_text("\n".join(text) + "\n")
    for k in range(1, areas + 1):
        (directory / f"area{k}.txt").write_text(area_text(rng, k, areas))


def main() -> int:
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    write_game(pathlib.Path(sys.argv[1]), int(sys.argv[2]) if len(sys.argv) == 3 else 10000)
    return 0


if __name__ == "__main__":
    sys.exit(main())
