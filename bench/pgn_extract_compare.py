#!/usr/bin/env python3
"""Compares the program's reading of PGN files with pgn-extract's, game by game.

For each file (plain or .xz), the main line of every game is replayed twice: by
`qorvale-tool positions FILE --last` (the window's load sequence) and by pgn-extract
(`--fencomments`, comments, NAGs and variations left out, broken games kept up to their first
move it cannot play). Per file it prints the game counts and every game whose half-move count or
final placement differs; the last line sums the whole run.

    bench/pgn_extract_compare.py [--tool PATH] [--show N] FILE...
    bench/pgn_extract_compare.py /work/shared/data/games/*.pgn.xz /work/shared/data/edge/*/*.pgn

The tool reads a copy in a scratch folder, so nothing is written beside the inputs. Where the
game counts differ the games are not compared one by one: their numbers no longer match.
"""
import argparse
import lzma
import os
import re
import shutil
import subprocess
import sys
import tempfile

FEN = re.compile(rb"\{ ([1-8pnbrqkPNBRQK/]+) [wb] [-A-Ha-hKQkq]+ [-a-h1-8]+ \d+ \d+ \}")


def pgn_extract_games(path):
    """(half-moves, final placement) per game as pgn-extract replays the main line."""
    out = subprocess.run(
        ["/usr/games/pgn-extract", "-C", "-N", "-V", "--keepbroken", "--allownullmoves",
         "--fencomments", "-s", path],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False).stdout
    games = []
    current = None
    for line in out.split(b"\n"):
        if line.startswith(b"[Event "):
            if current is not None:
                games.append(current)
            current = [0, b"", b""]
        elif current is not None and not line.startswith(b"["):
            current[2] += line + b" "
            found = FEN.findall(current[2])
            if found:
                current[0] += len(found)
                current[1] = found[-1]
                # Keep only the text after the last comment; a FEN may run over two lines.
                current[2] = current[2][current[2].rfind(b"}") + 1:]
    if current is not None:
        games.append(current)
    return [(plies, placement.decode() if plies else "") for plies, placement, _ in games]


def tool_games(tool, path):
    """(half-moves, final placement) per game as the program loads it."""
    run = subprocess.run([tool, "positions", path, "--last"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, check=False)
    games = []
    for line in run.stdout.decode("latin-1").splitlines():
        _game, plies, _move, placement = line.split("\t")
        plies = int(plies)
        games.append((plies, placement if plies else ""))
    return games


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", default=os.path.join(os.path.dirname(__file__), "..",
                                                       "build", "core", "qorvale-tool"))
    parser.add_argument("--show", type=int, default=5, help="differing games listed per file")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    totals = {"files": 0, "ours": 0, "theirs": 0, "compared": 0, "differ": 0, "count": 0}
    with tempfile.TemporaryDirectory() as scratch:
        for source in args.files:
            name = os.path.basename(source)
            copy = os.path.join(scratch, name[:-3] if name.endswith(".xz") else name)
            if source.endswith(".xz"):
                with lzma.open(source) as packed, open(copy, "wb") as plain:
                    shutil.copyfileobj(packed, plain)
            else:
                shutil.copyfile(source, copy)
            theirs = pgn_extract_games(copy)
            ours = tool_games(args.tool, copy)
            for leftover in os.listdir(scratch):
                os.remove(os.path.join(scratch, leftover))
            totals["files"] += 1
            totals["ours"] += len(ours)
            totals["theirs"] += len(theirs)
            if len(ours) != len(theirs):
                totals["count"] += 1
                print(f"{source}: {len(ours)} games, pgn-extract {len(theirs)}")
                continue
            differing = [(number, a, b) for number, (a, b) in enumerate(zip(ours, theirs), 1)
                         if a != b]
            totals["compared"] += len(ours)
            totals["differ"] += len(differing)
            if differing:
                print(f"{source}: {len(ours)} games, {len(differing)} differ")
                for number, a, b in differing[:args.show]:
                    print(f"  game {number}: {a[0]} half-moves {a[1]} / pgn-extract {b[0]} {b[1]}")
    print(f"{totals['files']} files, {totals['ours']} games (pgn-extract {totals['theirs']}); "
          f"{totals['count']} files with other game counts; {totals['compared']} games compared, "
          f"{totals['differ']} differ")


if __name__ == "__main__":
    sys.exit(main())
