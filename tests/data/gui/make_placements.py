#!/usr/bin/env python3
"""Writes placements.tsv: file, game, ply and the board placement after that half-move, as
pgn-extract replays the main line (pgn-extract --fencomments). The window's tests compare the
board they show against these."""
import re
import subprocess
import sys

FILES = {"annotated-matches.pgn": [1, 2, 3, 12], "study-chapters.pgn": [2]}


def games(text):
    parts = re.split(r"(?m)^(?=\[Event )", text)
    return [p for p in parts if p.startswith("[Event ")]


def main():
    out = ["file\tgame\tply\tplacement"]
    for name, numbers in FILES.items():
        text = subprocess.run(["/usr/games/pgn-extract", "--fencomments", "-C", "-N", "-V", "-s", name],
                              capture_output=True, text=True, check=True).stdout
        found = games(text)
        for number in numbers:
            movetext = " ".join(found[number - 1].split("\n\n", 1)[1].split())
            for ply, fen in enumerate(re.findall(r"\{ ([^}]*) \}", movetext), start=1):
                out.append(f"{name}\t{number}\t{ply}\t{fen.split()[0]}")
    sys.stdout.write("\n".join(out) + "\n")


main()
