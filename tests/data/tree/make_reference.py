#!/usr/bin/env python3
"""Counts, with pgn-extract and plain Python, what the opening tree must show for real games.

    python3 tests/data/tree/make_reference.py

Reads tests/data/chess/games.pgn without its games that start from a FEN position (a tree is
built from the initial position; the test leaves out the same games, by the same rule: a game
is the text from one "[Event " line to the next). pgn-extract (/usr/games/pgn-extract) reads the
games twice, once writing SAN and once UCI squares, so that moves are told apart by their squares
and shown in SAN (mate marked '+', as the program marks it). For each line the script lists the
games whose main line begins with it, grouped by their next move, with their results.

Lines: in exact mode the root and the most played continuation followed to 10 half-moves, with
the second most played move at some depths; in transposing mode (the moves of each colour in any
order among as many moves of that colour; a move the line repeats counts only when the game
repeats it as often from two moves later) the most played continuation to 8 half-moves and a
transposed queen's gambit line.

Writes reference.tsv beside this script:
    MODE  LINE  MOVE  GAMES  POINTS  WHITE_WINS  OTHER  BLACK_WINS  FIRST_GAME
MODE is "exact" or "transposing"; LINE is "" for the root, else SAN moves without numbers.
"""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "..", "chess", "games.pgn")
PGN_EXTRACT = "/usr/games/pgn-extract"


def games_without_fen(text):
    parts = text.split("\n[Event ")
    games = [parts[0]] + ["[Event " + p for p in parts[1:]]
    return [g for g in games if "\n[FEN " not in g and not g.startswith("[FEN ")]


def extract(path, form):
    out = subprocess.run([PGN_EXTRACT, "-s", "-C", "-N", "-V", "-w100000", "--nomovenumbers",
                          "--noresults", "--plylimit", "400", "-W" + form, path],
                         capture_output=True, check=True).stdout.decode("latin-1")
    games = []
    for line in out.splitlines():
        if line.startswith("[Event "):
            games.append(["*", []])
        elif line.startswith("[Result "):
            games[-1][0] = line.split('"')[1]
        elif not line.startswith("[") and line.strip() and games and not games[-1][1]:
            games[-1][1] = line.split()
    return [tuple(g) for g in games]


def points_of(result):
    return 2 if result == "1-0" else 0 if result == "0-1" else 1


def side_matches(game, line, parity):
    wanted = line[parity::2]
    n = len(wanted)
    have = game[parity::2][:n]
    for k, move in enumerate(wanted):
        if move not in have:
            return False
        repeats = sum(1 for m in wanted[k + 2:] if m == move)
        if repeats and sum(1 for m in have[k + 2:n] if m == move) != repeats:
            return False
    return True


def next_moves(games, line, exact):
    k = len(line)
    rows = {}
    for number, (result, san, uci) in enumerate(games, start=1):
        if len(uci) <= k:
            continue
        if exact:
            if uci[:k] != line:
                continue
        elif uci[:k] != line and not (side_matches(uci, line, 0) and side_matches(uci, line, 1)):
            continue
        move = uci[k]
        row = rows.get(move)
        if row is None:
            row = rows[move] = {"san": san[k].replace("#", "+"), "games": 0, "points": 0,
                                "white": 0, "other": 0, "black": 0, "first": number}
        row["games"] += 1
        row["points"] += points_of(result)
        key = {"1-0": "white", "0-1": "black"}.get(result, "other")
        row[key] += 1
    return rows


def main():
    text = open(SOURCE, encoding="latin-1").read()
    kept = games_without_fen(text)
    with tempfile.NamedTemporaryFile("w", suffix=".pgn", delete=False, encoding="latin-1") as f:
        f.write("".join(g if g.endswith("\n") else g + "\n" for g in kept))
        path = f.name
    try:
        san = extract(path, "san")
        uci = extract(path, "uci")
    finally:
        os.unlink(path)
    assert len(san) == len(uci) == len(kept), (len(san), len(uci), len(kept))
    games = [(s[0], s[1], u[1]) for s, u in zip(san, uci)]
    assert all(len(g[1]) == len(g[2]) for g in games)

    def follow(exact, depth, second_at=()):
        lines, line, san_line = [], [], []
        for ply in range(depth + 1):
            rows = next_moves(games, line, exact)
            lines.append((list(line), list(san_line), rows))
            if not rows:
                break
            ranked = sorted(rows.items(), key=lambda item: (-item[1]["games"], item[1]["first"]))
            if ply in second_at and len(ranked) > 1:
                second = ranked[1]
                alt = next_moves(games, line + [second[0]], exact)
                lines.append((line + [second[0]], san_line + [second[1]["san"]], alt))
            line.append(ranked[0][0])
            san_line.append(ranked[0][1]["san"])
        return lines

    out = []
    sections = [("exact", follow(True, 10, second_at=(1, 3, 5))),
                ("transposing", follow(False, 8))]
    # A queen's gambit reached by either move order.
    qgd = ["d2d4", "g8f6", "c2c4", "e7e6"]
    sections.append(("transposing", [(qgd, ["d4", "Nf6", "c4", "e6"], next_moves(games, qgd, False))]))
    sections.append(("exact", [(qgd, ["d4", "Nf6", "c4", "e6"], next_moves(games, qgd, True))]))
    for mode, lines in sections:
        for _, san_line, rows in lines:
            for row in rows.values():
                out.append("\t".join([mode, " ".join(san_line), row["san"], str(row["games"]),
                                      str(row["points"]), str(row["white"]), str(row["other"]),
                                      str(row["black"]), str(row["first"])]))
    with open(os.path.join(HERE, "reference.tsv"), "w") as f:
        f.write("\n".join(out) + "\n")
    print(len(games), "games,", len(out), "rows")


if __name__ == "__main__":
    main()
