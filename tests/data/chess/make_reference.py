#!/usr/bin/env python3
"""Builds the chess core's reference data from real games with independent tools.

    python3 tests/data/chess/make_reference.py [GAMES_FOLDER]

GAMES_FOLDER defaults to /work/shared/data/games. Needs /usr/games/pgn-extract and
/usr/games/stockfish. Writes, beside this script:
  games.pgn       every STEP-th game of the chosen sources, cleaned by pgn-extract (games it
                  finds illegal and variant games are left out)
  placements.tsv  per game: game number, plies, FNV-1a 64 hash of the placements after each
                  half-move (each followed by a newline), from pgn-extract -Wepd; games are cut
                  at 400 plies like the program's main line
  legal.tsv       per sampled position: game number, ply, the legal moves stockfish lists for
                  it ("go perft 1"), in UCI notation, sorted
To see the full placements of one game: pgn-extract -s -Wepd with the game cut out of games.pgn.
"""
import lzma
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = [  # (file, every n-th game, at most)
    ("annotated-world-matches.pgn.xz", 4, 145),
    ("pgnmentor-players-1.pgn.xz", 90, 380),
    ("pgnmentor-players-2.pgn.xz", 85, 380),
    ("pgnmentor-players-3.pgn.xz", 90, 380),
    ("misc-collections.pgn.xz", 18, 300),
    ("gnubook-2.pgn.xz", 400, 120),
]
LEGAL_GAMES = 120           # games sampled for the legality reference
LEGAL_PLIES = (7, 18, 31, 46, 63)


def split_games(text):
    games, current = [], []
    for line in text.splitlines():
        if line.startswith("[Event ") and any(not l.startswith("[") for l in current if l.strip()):
            games.append("\n".join(current))
            current = []
        current.append(line)
    if current:
        games.append("\n".join(current))
    return games


def fnv64(data):
    h = 0xcbf29ce484222325
    for b in data:
        h ^= b
        h = (h * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return h


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/work/shared/data/games"
    chosen = []
    for name, step, most in SOURCES:
        text = lzma.open(os.path.join(folder, name), "rt", encoding="latin-1").read()
        picked = [g for g in split_games(text)[::step] if "[Variant " not in g][:most]
        chosen += picked
    raw = os.path.join(HERE, "selected.tmp")
    with open(raw, "w", encoding="latin-1") as out:
        out.write("\n\n".join(chosen) + "\n")
    games_path = os.path.join(HERE, "games.pgn")
    subprocess.run(["/usr/games/pgn-extract", "-s", "-o", games_path, raw], check=True)
    os.remove(raw)

    epd = subprocess.run(["/usr/games/pgn-extract", "-s", "-Wepd", games_path],
                         check=True, capture_output=True).stdout.decode("latin-1")
    blocks = [b for b in epd.split("\n\n") if b.strip()]
    with open(os.path.join(HERE, "placements.tsv"), "w") as out:
        out.write("# game\tplies\tfnv1a64 of the placements\n")
        for number, block in enumerate(blocks, 1):
            placements = [line.split(" ")[0] for line in block.splitlines() if line.strip()][1:]
            placements = placements[:400]
            data = "".join(p + "\n" for p in placements).encode()
            out.write(f"{number}\t{len(placements)}\t{fnv64(data):016x}\n")

    uci = subprocess.run(["/usr/games/pgn-extract", "-s", "-Wuci", "-w", "100000", games_path],
                         check=True, capture_output=True).stdout.decode("latin-1")
    games = []
    for block in split_games(uci):
        lines = block.splitlines()
        has_fen = any(l.startswith("[FEN ") for l in lines)
        moves = " ".join(l for l in lines if l and not l.startswith("[")).split()
        games.append((has_fen, [m for m in moves if m not in ("1-0", "0-1", "1/2-1/2", "*")]))
    queries = []
    for number, (has_fen, moves) in enumerate(games, 1):
        if has_fen:
            continue
        for ply in LEGAL_PLIES:
            if ply <= len(moves):
                queries.append((number, ply, moves[:ply]))
        if len({q[0] for q in queries}) >= LEGAL_GAMES:
            break
    engine = subprocess.Popen(["/usr/games/stockfish"], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, text=True)
    with open(os.path.join(HERE, "legal.tsv"), "w") as out:
        out.write("# game\tply\tlegal moves after the ply (stockfish go perft 1)\n")
        for number, ply, moves in queries:
            engine.stdin.write(f"position startpos moves {' '.join(moves)}\ngo perft 1\n")
            engine.stdin.flush()
            legal = []
            while True:
                line = engine.stdout.readline().strip()
                if line.startswith("Nodes searched"):
                    break
                if ": " in line:
                    legal.append(line.split(":")[0])
            out.write(f"{number}\t{ply}\t{' '.join(sorted(legal))}\n")
    engine.stdin.write("quit\n")
    engine.stdin.flush()
    engine.wait()


if __name__ == "__main__":
    main()
