#!/usr/bin/env python3
"""Answers the database search tests' queries over the same games, independently of the program.

    python3 tests/data/database/make_expected.py

The test database holds, in this order: tests/data/search/players.pgn (made), harden/fischer.pgn
(added) and chess/games.pgn (added); record index = position in that order. Tag values are read
from the PGN text; positions and half-move counts come from pgn-extract -Wepd. The search rules
are written here from their description, not from the program. Writes expected.tsv beside this
script: per query its name, criteria columns, the records whose positions cannot be known (games
that start from a FEN tag, which the database replays from the standard start; left out of
position and move-count answers on both sides) and the expected record indexes, ascending.
"""
import os
import re
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)
FILES = ["search/players.pgn", "harden/fischer.pgn", "chess/games.pgn"]
TAGS = ["White", "Black", "Result", "Date", "ECO", "Site", "Event"]


def split_games(text):
    games, current, in_moves = [], [], False
    for line in text.splitlines():
        stripped = line.strip()
        if stripped.startswith("[") and re.match(r"^\[[A-Z]", stripped) and in_moves:
            games.append(current)
            current, in_moves = [], False
        if stripped and not stripped.startswith("["):
            in_moves = True
        current.append(stripped)
    if current:
        games.append(current)
    return games


def tag_value(line):
    start = line.find('"')
    if start < 0:
        return ""
    rest = line[start + 1:].lstrip(" ")
    end = rest.find('"')
    return rest if end < 0 else rest[:end]


def read_games(path):
    text = open(path, encoding="latin-1").read()
    games = []
    for lines in split_games(text):
        tags = {name: "" for name in TAGS}
        fen = False
        for line in lines:
            if not line.startswith("["):
                continue
            name = line[1:].split(" ", 1)[0]
            if name == "FEN":
                fen = True
            # White and Black keep their first occurrence, the others their last.
            if name in tags and (name not in ("White", "Black") or tags[name] == ""):
                tags[name] = tag_value(line)
        games.append({"tags": tags, "fen": fen})
    epd = subprocess.run(["/usr/games/pgn-extract", "-s", "-Wepd", path], capture_output=True,
                         text=True, encoding="latin-1").stdout
    boards = [block.split("\n") for block in epd.strip("\n").split("\n\n")]
    assert len(boards) == len(games), (path, len(boards), len(games))
    for game, block in zip(games, boards):
        game["positions"] = [expand(line.split(" ")[0]) for line in block if line]
    return games


def expand(placement):
    """A FEN placement as 64 piece letters ('.' empty) in a1, a2, ..., h8 order."""
    rows = []
    for row in placement.split("/"):
        cells = ""
        for c in row:
            cells += "." * int(c) if c.isdigit() else c
        rows.append(cells)
    board = []
    for file in range(8):
        for rank in range(8):
            board.append(rows[7 - rank][file])
    return "".join(board)


def name_key(name, search):
    name = name.strip(" ")
    if search and name.startswith("?"):
        return "qqqq", 0
    form = 0
    mark = min([i for i in (name.find(","), name.find("(")) if i >= 0], default=-1)
    if mark >= 0 and name[mark] == "(":
        name = name[:mark].rstrip(" ")
        mark = -1
    if mark < 0:
        space = name.rfind(" ")
        cut = name if space < 0 else name[:space + 2]
    else:
        rest = name[mark + 1:].lstrip(" ")
        cut = name[:mark]
        if rest == "":
            form = 2
        else:
            cut += rest[0]
            form = 1 if len(rest) == 1 else 3
    text = "".join(c.lower() for c in cut if c.isascii() and c.isalpha())[:15]
    if (not search or text == "" or form != 0) and len(text) < 4:
        text += "q" * (4 - len(text))
    return text, form


def key_matches(criterion, record_text):
    text, form, exact = criterion
    if exact or form in (1, 3):
        return record_text == text
    if not record_text.startswith(text):
        return False
    return form == 0 or len(record_text) <= len(text) + 1


def name_criterion(raw):
    raw = raw.strip(" ")
    exact = raw.endswith("#")
    if exact:
        raw = raw[:-1]
    text, form = name_key(raw, True)
    return (text, form, exact)


def year_of(date):
    if date == "" or date.startswith("?"):
        return 0
    digits = re.match(r"\d*", date[:4]).group(0)
    return int(digits) if digits else 0


def compare(value, criterion):
    for op in ("<=", ">=", "<", ">", "="):
        if criterion.startswith(op):
            number = int(criterion[len(op):])
            return {"<=": value <= number, ">=": value >= number, "<": value < number,
                    ">": value > number, "=": value == number}[op]
    if "-" in criterion:
        low, high = criterion.split("-")
        return int(low) <= value <= int(high)
    return value == int(criterion)


def result_bits(result):
    if result.startswith("1-0"):
        return 3
    if result.startswith("0-1"):
        return 1
    if len(result) >= 2 and result[1] == "/":
        return 2
    return 0


def eco_passes(criterion, eco):
    has = eco != "" and "A" <= eco[0] <= "E"
    if criterion == "?":
        return not has
    if not has:
        return False
    digits = [eco[i] if i < len(eco) and eco[i].isdigit() else "0" for i in (1, 2)]
    code = eco[0] + "".join(digits)
    return code.startswith(criterion.upper())


def position_matches(game, wanted, partial):
    for board in game["positions"][1:]:
        if partial:
            if all(w == "." or w == b for w, b in zip(wanted, board)):
                return True
        elif board == wanted:
            return True
    return False


def piece_list(board):
    """The board as the tool's --position text: W:Kg1,... B:Kg8,..."""
    lists = {"W": [], "B": []}
    for square, piece in enumerate(board):
        if piece == ".":
            continue
        name = "abcdefgh"[square // 8] + str(square % 8 + 1)
        letter = piece.upper()
        entry = name if letter == "P" else letter + name
        lists["W" if piece.isupper() else "B"].append(entry)
    return "W:" + ",".join(lists["W"]) + " B:" + ",".join(lists["B"])


QUERY_FIELDS = ["white", "black", "either", "year", "eco", "result", "moves", "site", "event",
                "position", "partial", "sort"]


def answer(games, query):
    white = name_criterion(query["white"]) if query.get("white") else None
    black_raw = query.get("black", "")
    either = query.get("either", False)
    if black_raw.startswith("*"):
        either, black_raw = True, black_raw[1:]
    black = name_criterion(black_raw) if black_raw.strip() else None
    wanted = expand_list(query["position"]) if query.get("position") else None
    found = []
    for index, game in enumerate(games):
        tags = game["tags"]
        white_text = name_key(tags["White"], False)[0]
        black_text = name_key(tags["Black"], False)[0]
        if white and black:
            ok = (key_matches(white, white_text) and key_matches(black, black_text)) or (
                either and key_matches(white, black_text) and key_matches(black, white_text))
        elif white or black:
            one = white or black
            mine, other = (white_text, black_text) if white else (black_text, white_text)
            ok = key_matches(one, mine) or (either and key_matches(one, other))
        else:
            ok = True
        year = year_of(tags["Date"])
        if query.get("year") and (year == 0 or not compare(year, query["year"])):
            ok = False
        if query.get("eco") and not eco_passes(query["eco"], tags["ECO"]):
            ok = False
        if query.get("result") and result_bits(tags["Result"]) != result_bits(query["result"]):
            ok = False
        half_moves = len(game["positions"]) - 1
        codes = half_moves if half_moves > 0 else 1
        if query.get("moves") and not compare((codes + 1) // 2, query["moves"]):
            ok = False
        if query.get("site") and not tags["Site"].lower().startswith(query["site"].lower()):
            ok = False
        event = query.get("event", "")
        if event:
            if event.endswith("#"):
                ok = ok and tags["Event"] == event[:-1]
            else:
                ok = ok and tags["Event"].lower().startswith(event.lower())
        if wanted and not position_matches(game, wanted, query.get("partial", False)):
            ok = False
        if ok:
            found.append(index)
    return found


def expand_list(text):
    board = ["."] * 64
    for word in text.split(" "):
        colour, entries = word.split(":")
        for entry in entries.split(","):
            letter = "P" if entry[0].islower() else entry[0]
            square = entry[-2:]
            index = (ord(square[0]) - ord("a")) * 8 + int(square[1]) - 1
            board[index] = letter if colour == "W" else letter.lower()
    return "".join(board)


def main():
    games = []
    for name in FILES:
        games += read_games(os.path.join(DATA, name))
    fen_games = [i for i, g in enumerate(games) if g["fen"]]
    # A middlegame position of a real game (the 331st record's after half-move 40), exactly.
    middlegame = piece_list(games[330]["positions"][40])
    queries = [
        ("surname", {"white": "Stein"}),
        ("surname and given name", {"white": "Stein, Leonid"}),
        ("surname and initial", {"white": "Stein, L"}),
        ("surname and comma", {"white": "Petrosian,"}),
        ("either colour", {"white": "Fischer", "either": True}),
        ("both players", {"white": "Fischer, R", "black": "Petrosian"}),
        ("both players either colour", {"white": "Petrosian", "black": "*Fischer"}),
        ("black only", {"black": "Tal"}),
        ("two letters", {"white": "St"}),
        ("one letter", {"white": "K", "year": ">1970"}),
        ("exact key", {"white": "Rabinovich#", "either": True}),
        ("no comma with initial", {"white": "Kasparov G"}),
        ("year", {"year": "1962"}),
        ("year and result", {"year": ">1965", "result": "1-0"}),
        ("year range", {"year": "1960-1965"}),
        ("year at most", {"year": "<=1900"}),
        ("eco letter", {"eco": "B"}),
        ("eco letter and digit", {"eco": "B9"}),
        ("eco code", {"eco": "E81"}),
        ("no eco", {"eco": "?"}),
        ("draws", {"result": "1/2-1/2"}),
        ("black wins with eco", {"result": "0-1", "eco": "C"}),
        ("long games", {"moves": ">60"}),
        ("move range", {"moves": "20-25"}),
        ("site", {"site": "Moscow", "year": ">1950"}),
        ("event whole", {"white": "Stein", "event": "URS-ch32#"}),
        ("event begins", {"event": "urs", "result": "1-0"}),
        ("exact middlegame", {"position": middlegame}),
        ("castled kings", {"position": "W:Kg1,Rf1 B:Kg8,Rf8", "partial": True}),
        ("sicilian", {"position": "W:Ra1,Nb1,Bc1,Qd1,Ke1,Bf1,Rh1,a2,b2,c2,d2,f2,g2,h2,e4,Nf3 "
                                  "B:Ra8,Nb8,Bc8,Qd8,Ke8,Bf8,Ng8,Rh8,a7,b7,d7,e7,f7,g7,h7,c5"}),
        ("sorted descending", {"white": "Stein", "result": "0-1", "sort": 2}),
        ("sorted", {"year": "1957-1958", "sort": 1}),
        ("player year and position", {"white": "Stein", "either": True, "year": "<1965",
                                      "position": "W:Kg1 B:Kg8", "partial": True}),
    ]
    with open(os.path.join(HERE, "expected.tsv"), "w") as out:
        out.write("# " + "\t".join(["name"] + QUERY_FIELDS + ["unknown", "expected"]) + "\n")
        for name, query in queries:
            positional = "position" in query or "moves" in query
            found = answer(games, query)
            unknown = fen_games if positional else []
            found = [i for i in found if i not in unknown]
            cells = [name]
            for field in QUERY_FIELDS:
                value = query.get(field, "")
                cells.append(str(int(value)) if isinstance(value, bool) else str(value))
            cells.append(",".join(map(str, unknown)))
            cells.append(",".join(map(str, found)))
            out.write("\t".join(cells) + "\n")


if __name__ == "__main__":
    main()
