#include "cli/command.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_folder.h"
#include "app/file_opener.h"
#include "chess/notation.h"
#include "openings/eco_table.h"
#include "pgn/game_index.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::cli {

// Declared here, defined each in its own file.
int RunHelp(const CommandArgs& args);
int RunGamesCommand(const CommandArgs& args);
int RunOffsetsCommand(const CommandArgs& args);
int RunShowCommand(const CommandArgs& args);
int RunCheckLoadCommand(const CommandArgs& args);
int RunPositionsCommand(const CommandArgs& args);
int RunEcoCommand(const CommandArgs& args);
int RunEcoExportCommand(const CommandArgs& args);
int RunEcoBuildCommand(const CommandArgs& args);
int RunFastfileCommand(const CommandArgs& args);
int RunSearchCommand(const CommandArgs& args);
int RunListCommand(const CommandArgs& args);
int RunCheckCommand(const CommandArgs& args);
int RunDuplicatesCommand(const CommandArgs& args);
int RunSplitCommand(const CommandArgs& args);
int RunAdjustCommand(const CommandArgs& args);
int RunFixDatesCommand(const CommandArgs& args);
int RunFixNamesCommand(const CommandArgs& args);
int RunDiagramCommand(const CommandArgs& args);
int RunHtmlDiagramCommand(const CommandArgs& args);
int RunBmp2GifCommand(const CommandArgs& args);
int RunAnalyseCommand(const CommandArgs& args);
int RunPlayCommand(const CommandArgs& args);
int RunUciOptionsCommand(const CommandArgs& args);
int RunCraftySetboardCommand(const CommandArgs& args);
int RunCan2pgnCommand(const CommandArgs& args);
int RunDirsearchCommand(const CommandArgs& args);
int RunDirresultsCommand(const CommandArgs& args);
int RunDbCommand(const CommandArgs& args);
int RunScoresCommand(const CommandArgs& args);
int RunCrosstableCommand(const CommandArgs& args);
int RunYahooCommand(const CommandArgs& args);
int RunOpeningsCommand(const CommandArgs& args);
int RunPrintCommand(const CommandArgs& args);
int RunPlayerCommand(const CommandArgs& args);

const std::vector<std::string_view>& SearchValueFlags() {
    static const std::vector<std::string_view> flags = {
        "--event",  "--site",     "--date",        "--round",     "--white",     "--black",
        "--result", "--eco",      "--moves",       "--white-elo", "--black-elo", "--specific-move",
        "--line",   "--position", "--move-number", "--ser"};
    return flags;
}

namespace {

std::vector<std::string_view> WithSearchFlags(std::initializer_list<std::string_view> more) {
    std::vector<std::string_view> flags = SearchValueFlags();
    flags.insert(flags.end(), more.begin(), more.end());
    return flags;
}

}  // namespace
int RunEditCommand(const CommandArgs& args);
int RunCopyGamesCommand(const CommandArgs& args);
int RunFetchCommand(const CommandArgs& args);
int RunExtractVariationsCommand(const CommandArgs& args);
int RunWriteMovesCommand(const CommandArgs& args);
int RunTreeCommand(const CommandArgs& args);
int RunNextMovesCommand(const CommandArgs& args);
int RunTreeMergeCommand(const CommandArgs& args);
int RunEcoEditCommand(const CommandArgs& args);

const std::vector<CommandEntry>& Commands() {
    static const std::vector<CommandEntry> commands = {
        {"help", "help", "list the commands", RunHelp},
        {"games", "games FILE", "scan FILE as the program opens it and print its game count",
         RunGamesCommand},
        {"offsets", "offsets FILE", "print the byte offset of each game's first tag line",
         RunOffsetsCommand},
        {"show", "show FILE N", "print game N as the window shows it: header, moves, annotations",
         RunShowCommand},
        {"check-load", "check-load FILE",
         "load every game and print games, half-moves, annotated, cut and unplayable counts",
         RunCheckLoadCommand},
        {"positions",
         "positions FILE [--game N] [--last]",
         "replay main lines: game, ply, move and placement per half-move; --last: per game, "
         "the half-moves played, last move and final placement",
         RunPositionsCommand,
         {"--game"}},
        {"eco",
         "eco FILE|--line L [--game N] [--mode M] [--table DIR] [--summary]",
         "name each game's opening: GAME, CODE, NAME; mode closest (default, Find Opening - "
         "Closest Match at the last half-move), moves or exact; --line names a line as Find "
         "Opening does in Variation Edit: CODE, NAME, MOVES",
         RunEcoCommand,
         {"--game", "--mode", "--table", "--line"}},
        {"eco-export",
         "eco-export [--table DIR]",
         "write the openings files and Ecocodes.pgn's fast file into the install folder",
         RunEcoExportCommand,
         {"--table"}},
        {"eco-build", "eco-build TSV... OUT_DIR",
         "make qorvale.eco, .ecn and .ecm from opening lists, replaying every line",
         RunEcoBuildCommand},
        {"fastfile",
         "fastfile make|check|delete|dump FILE [--game N]",
         "make, check or delete FILE's fast file, or print its records as squares and results",
         RunFastfileCommand,
         {"--game"}},
        {"search",
         "search FILE [--event T] [--site T] [--date T] [--round T] [--white T] [--black T] "
         "[--result T] [--eco T] [--moves T] [--white-elo T] [--black-elo T] "
         "[--specific-move T] [--line L] [--exact] [--force] [--position P] "
         "[--move-number T] [--ser F] [--save-ser F] [--no-fast-file] [--eco-lines F]",
         "search FILE by header, move sequence and position; print game numbers", RunSearchCommand,
         WithSearchFlags({"--save-ser", "--eco-lines"})},
        {"list",
         "list FILE [--layout 0-3]",
         "print the game list lines as the Select Game list shows them",
         RunListCommand,
         {"--layout"}},
        {"check",
         "check FILE [--delete-bad | --delete-fen | --delete-listed LIST] [--all]",
         "check every game for errors and print the error list (ten entries, every one with "
         "--all); or rewrite FILE without its bad games, its FEN games or the games numbered in "
         "LIST (a file of game numbers, or numbers with commas)",
         RunCheckCommand,
         {"--delete-listed"}},
        {"duplicates",
         "duplicates FILE [--max-move-difference N] [--look-ahead N | --entire-file] "
         "[--check-names] [--text] [--game N] [--delete]",
         "find the games that repeat, or begin, another game (through the fast file when it is "
         "current, else or with --text through the moves' text) and print the pairs; --game N: "
         "the duplicates of game N in the whole file; --delete deletes the duplicates",
         RunDuplicatesCommand,
         {"--max-move-difference", "--look-ahead", "--game"}},
        {"split", "split FILE [--maximum-size]",
         "cut FILE into files of 32750 games each (200000 with --maximum-size), named FILE1.pgn, "
         "FILE2.pgn, ... (FILEa.pgn, ... after a digit); FILE itself stays",
         RunSplitCommand},
        {"adjust",
         "adjust FILE [--trim N]",
         "rewrite every game in the normal layout (short lines, main line only), or cut every "
         "game after N half-moves",
         RunAdjustCommand,
         {"--trim"}},
        {"fix-dates", "fix-dates FILE OLD NEW",
         "change the Date tags that read OLD (yyyy.mm.dd) to NEW", RunFixDatesCommand},
        {"fix-names", "fix-names FILE OLD NEW",
         "rename the player OLD (matched by the name's letters, \"Doe\" finds \"Doe, J.\") to NEW",
         RunFixNamesCommand},
        {"diagram",
         "diagram FILE N [--ply K] | --fen FEN, --format gif|bmp|png|jpg [--set NAME] "
         "[--size 40|60|80] [--flip] [--default-colours] [--series] -o OUT",
         "write the diagram of game N after K half-moves (default: its end) or of a FEN "
         "placement, drawn with the board options; --series: one file per move from K on",
         RunDiagramCommand,
         {"--ply", "--fen", "--format", "--set", "--size", "-o"}},
        {"html-diagram",
         "html-diagram FILE N [--ply K] [--series] [--image gif|bmp|png|jpg] [--set NAME] "
         "[--size 40|60|80] [--flip] [--default-colours] -o OUT.html",
         "write the HTML diagram of game N after K half-moves: a board of square images written "
         "beside it, or one image; --series: one page per move from K on",
         RunHtmlDiagramCommand,
         {"--ply", "--image", "--set", "--size", "-o"}},
        {"bmp2gif", "bmp2gif IN.bmp OUT.gif", "save a 4- or 8-bit BMP picture as a GIF file",
         RunBmp2GifCommand},
        {"analyse",
         "analyse --engine PATH (--fen FEN | --file FILE --game N (--ply K | --whole-game)) "
         "[--depth D | --movetime MS] [--multipv N]",
         "analyse a position with a UCI engine; print the engine window's lines and the best "
         "move (default --depth 12); --whole-game: every position of the game, then the "
         "evaluation profile",
         RunAnalyseCommand,
         {"--engine", "--fen", "--file", "--game", "--ply", "--depth", "--movetime", "--multipv"}},
        {"play",
         "play --engine PATH --moves \"e2e4 e7e5 ...\" [--depth D | --movetime MS]",
         "play the moves as the game so far against a UCI engine; print its reply as "
         "coordinates and SAN (default --movetime 1000)",
         RunPlayCommand,
         {"--engine", "--moves", "--depth", "--movetime"}},
        {"crafty-setboard",
         "crafty-setboard --fen FEN",
         "print the setboard command Crafty gets for a FEN position",
         RunCraftySetboardCommand,
         {"--fen"}},
        {"uci-options",
         "uci-options --engine PATH",
         "start a UCI engine and print the options it offers, one per line",
         RunUciOptionsCommand,
         {"--engine"}},
        {"can2pgn", "can2pgn FILE.can",
         "convert a Crafty game log to PGN beside it (.can added when missing); print its path",
         RunCan2pgnCommand},
        {"dirsearch", "dirsearch FOLDER [the criteria of search] [--save X.dir] [--results F]",
         "search every PGN file of FOLDER; print STEM, GAME (and PLY when a position took part) "
         "per found game in the order of the results file, kept as F (default: searchqq.xyz of "
         "the install folder)",
         RunDirsearchCommand, WithSearchFlags({"--save", "--results"})},
        {"dirresults", "dirresults X.dir",
         "list a saved directory search: folder, search, and one STEM:COUNT line per file",
         RunDirresultsCommand},
        {"db",
         "db make|add|remake DB.dbg [FILE.pgn] | db search DB.dbg [--white N] [--black N] "
         "[--either] [--year T] [--eco T] [--result T] [--moves T] [--site T] [--event T] "
         "[--position P --exact|--partial] [--sort-year [--descending]] | db show DB.dbg N | "
         "db copy DB.dbg --to FILE.pgn [--append] | db check DB.dbg",
         "build, search, show, copy and check a game database; search prints INDEX, White, "
         "Black, Year, Result per found game",
         RunDbCommand,
         {"--white", "--black", "--year", "--eco", "--result", "--moves", "--site", "--event",
          "--position", "--to"}},
        {"scores",
         "scores FILE [--sort score|rating|name] [--exact-players] [--no-fast-file] "
         "[search flags]",
         "print the Player Scores lines of FILE, or of the games the search flags find; a "
         "knockout file is scored by matches with --yes",
         RunScoresCommand, WithSearchFlags({"--sort"})},
        {"crosstable",
         "crosstable FILE [--large-board] [--exact-players] [--no-fast-file] [search flags]",
         "print the Cross Table of FILE, or of the games the search flags find",
         RunCrosstableCommand, WithSearchFlags({})},
        {"player", "player FILE NAME [--exact-players] [--no-fast-file]",
         "print the card of player NAME from the games of FILE: the names as written, the score "
         "by colour, the rating range, the events and the score by opening family",
         RunPlayerCommand},
        {"print",
         "print FILE [--games LIST] [--text] [--lines N] -o OUT.pdf",
         "add the listed games of FILE (\"1,4-6\"; game 1 when none) to the print list as their "
         "moves with a summary, or with --text as their text, and print the list into a PDF",
         RunPrintCommand,
         {"--games", "--lines", "-o"}},
        {"openings", "openings FILE [--sort name] [search flags]",
         "print the Openings lines of FILE, or of the games the search flags find: the games per "
         "opening family and how they ended",
         RunOpeningsCommand, WithSearchFlags({"--sort"})},
        {"yahoo", "yahoo IN.txt OUT.pgn",
         "convert the games saved from Yahoo chess in IN and append them to OUT (made when "
         "missing) in the normal layout",
         RunYahooCommand},
        {"edit",
         "edit FILE append|insert N|overwrite-last|new|delete N|replace N [--from GAME.pgn]",
         "add a typed game (from --from or standard input) to FILE, or delete or replace game "
         "N; questions need --yes",
         RunEditCommand,
         {"--from"}},
        {"copy-games",
         "copy-games FILE --games 3,7,10-12 --to TARGET [--append]",
         "copy games of FILE, in list order, to a new TARGET or onto its end",
         RunCopyGamesCommand,
         {"--games", "--to"}},
        {"write-moves", "write-moves FILE N",
         "print game N as a rewrite of it writes it back (header, moves, annotations)",
         RunWriteMovesCommand},
        {"tree",
         "tree FILE [--line \"1.e4 c5 2.Nf3\"] [--source file|eco|merge|db] [--exact] "
         "[--sort frequency|score|move]",
         "the opening tree after a line: the tree list's rows, then MOVE, GAMES, POINTS, "
         "WHITE_WINS, OTHER, BLACK_WINS, FIRST_GAME per move",
         RunTreeCommand,
         {"--line", "--source", "--sort"}},
        {"next-moves",
         "next-moves FILE [--line \"1.e4 c5\"] [--maneuvers] [--look-ahead N]",
         "Show Next Moves (or Show Maneuvers) after a line over FILE's games: the list's rows, "
         "then the machine rows of tree",
         RunNextMovesCommand,
         {"--line", "--look-ahead"}},
        {"tree-merge", "tree-merge make|merge MERGE.trm FILE.pgn",
         "make a tree merge file from FILE's games, or append them to one", RunTreeMergeCommand},
        {"eco-edit",
         "eco-edit add|modify|rename|delete|restore|check [ENTRY] [--line L] [--name NAME] "
         "[--table DIR]",
         "edit the ECO table: add a line, change an entry's moves or name, delete it, restore "
         "the previous version or check the table",
         RunEcoEditCommand,
         {"--line", "--name", "--table"}},
        {"fetch",
         "fetch URL -o FILE.pgn [--limit-mb N] [--yes]",
         "download a PGN file over HTTP(S), unpacking zip, gzip and bzip2, as Open from Web "
         "Address does; prints the files written",
         RunFetchCommand,
         {"-o", "--limit-mb"}},
        {"extract-variations",
         "extract-variations FILE [--game N] -o OUT.pgn [--append]",
         "write every variation of game N (or of every game) as a game of its own to OUT",
         RunExtractVariationsCommand,
         {"--game", "-o"}},
    };
    return commands;
}

bool CommandArgs::HasFlag(std::string_view name) const {
    for (const std::string& flag : flags) {
        if (flag == name ||
            (flag.starts_with(name) && flag.size() > name.size() && flag[name.size()] == '=')) {
            return true;
        }
    }
    return false;
}

std::string CommandArgs::FlagValue(std::string_view name, std::string_view fallback) const {
    for (const std::string& flag : flags) {
        if (flag.starts_with(name) && flag.size() > name.size() && flag[name.size()] == '=') {
            return flag.substr(name.size() + 1);
        }
    }
    return std::string(fallback);
}

bool PlayLine(std::string_view moves, app::BoardLine& line, Ui& ui) {
    for (std::string_view move : chess::SplitLineMoves(moves)) {
        if (!line.PlayText(move, ui)) {
            std::fprintf(stderr, "qorvale-tool: %.*s cannot be played after '%s'\n",
                         static_cast<int>(move.size()), move.data(), line.MovesText().c_str());
            return false;
        }
    }
    return true;
}

bool OpenForCommand(pgn::PgnFile& file, const std::string& path, Ui& ui) {
    app::OpenRequest request;
    request.path = path;
    if (Error error = app::OpenGameFile(file, request, ui); !error.ok()) {
        ui.explain(error);
        return false;
    }
    return true;
}

int UsageError(std::string_view name) {
    for (const CommandEntry& entry : Commands()) {
        if (entry.name == name) {
            std::fprintf(stderr, "usage: qorvale-tool %.*s\n", static_cast<int>(entry.usage.size()),
                         entry.usage.data());
        }
    }
    return 2;
}

namespace {

// Writes `text` word-wrapped to 80 columns; a bracketed option ("[--game N]") is never split.
void PrintWrapped(std::string_view text, std::string_view first_indent, std::string_view indent) {
    constexpr std::size_t Width = 80;
    std::string line(first_indent);
    std::size_t line_start = first_indent.size();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(text[start] == '[' ? ']' : ' ', start);
        end = end == std::string_view::npos ? text.size() : text[end] == ']' ? end + 1 : end;
        std::string_view word = text.substr(start, end - start);
        if (line.size() > line_start && line.size() + 1 + word.size() > Width) {
            std::printf("%s\n", line.c_str());
            line.assign(indent);
            line_start = indent.size();
        }
        if (line.size() > line_start) line += ' ';
        line += word;
        start = end + 1;
    }
    std::printf("%s\n", line.c_str());
}

}  // namespace

int RunHelp(const CommandArgs&) {
    std::printf("usage: qorvale-tool COMMAND [ARGS] [--yes]\n\ncommands:\n");
    for (const CommandEntry& entry : Commands()) {
        PrintWrapped(entry.usage, "  ", "    ");
        PrintWrapped(entry.summary, "        ", "        ");
    }
    std::printf("\n--yes answers Yes to every question the command asks.\n");
    return 0;
}

bool ParseGameNumbers(const std::string& text, std::vector<std::int32_t>& games) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        char* end = nullptr;
        const long first = std::strtol(item.c_str(), &end, 10);
        long last = first;
        if (end != item.c_str() && *end == '-') {
            const char* second = end + 1;
            last = std::strtol(second, &end, 10);
            if (end == second) return false;
        }
        if (item.empty() || *end != '\0' || first < 1 || last < first ||
            last > pgn::MaxGamesPerFile) {
            return false;
        }
        for (long game = first; game <= last; ++game)
            games.push_back(static_cast<std::int32_t>(game));
        start = comma + 1;
    }
    return !games.empty();
}

std::string EcoTableFolder(const std::string& app_folder) {
    if (platform::FileExists(platform::JoinPath(app_folder, openings::EcoCodesFileName))) {
        return app_folder;
    }
    return app::ProgramDataFolder();
}

}  // namespace qorvale::cli
