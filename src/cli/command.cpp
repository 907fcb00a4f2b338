#include "cli/command.h"

#include <cstdio>

#include "app/file_opener.h"

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
int RunTreeCommand(const CommandArgs& args);
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
        {"positions", "positions FILE [--game N]",
         "replay main lines: game, ply, move and placement per half-move", RunPositionsCommand,
         {"--game"}},
        {"eco", "eco FILE [--game N] [--mode M] [--table DIR] [--summary]",
         "name each game's opening: GAME, CODE, NAME; mode closest (default, Find Opening - "
         "Closest Match at the last half-move), moves or exact",
         RunEcoCommand,
         {"--game", "--mode", "--table"}},
        {"eco-export", "eco-export [--table DIR]",
         "write the openings files and Ecocodes.pgn's fast file into the install folder",
         RunEcoExportCommand,
         {"--table"}},
        {"eco-build", "eco-build TSV... OUT_DIR",
         "make qorvale.eco, .ecn and .ecm from opening lists, replaying every line",
         RunEcoBuildCommand},
        {"fastfile", "fastfile make|check|delete|dump FILE [--game N]",
         "make, check or delete FILE's fast file, or print its records as squares and results",
         RunFastfileCommand,
         {"--game"}},
        {"search",
         "search FILE [--event T] [--site T] [--date T] [--round T] [--white T] [--black T] "
         "[--result T] [--eco T] [--moves T] [--white-elo T] [--black-elo T] "
         "[--specific-move T] [--line L] [--exact] [--force] [--position P] "
         "[--move-number T] [--ser F] [--save-ser F] [--no-fast-file] [--eco-lines F]",
         "search FILE by header, move sequence and position; print game numbers", RunSearchCommand,
         {"--event", "--site", "--date", "--round", "--white", "--black", "--result", "--eco",
          "--moves", "--white-elo", "--black-elo", "--specific-move", "--line", "--position",
          "--move-number", "--ser", "--save-ser", "--eco-lines"}},
        {"list", "list FILE [--layout 0-3]",
         "print the game list lines as the Select Game list shows them", RunListCommand,
         {"--layout"}},
        {"tree",
         "tree FILE [--line \"1.e4 c5 2.Nf3\"] [--source file|eco|merge|db] [--exact] "
         "[--sort frequency|score|move]",
         "the opening tree after a line: the tree list's rows, then MOVE, GAMES, POINTS, "
         "WHITE_WINS, OTHER, BLACK_WINS, FIRST_GAME per move",
         RunTreeCommand,
         {"--line", "--source", "--sort"}},
        {"tree-merge", "tree-merge make|merge MERGE.trm FILE.pgn",
         "make a tree merge file from FILE's games, or append them to one", RunTreeMergeCommand},
        {"eco-edit",
         "eco-edit add|modify|rename|delete|restore [ENTRY] [--line L] [--name NAME] "
         "[--table DIR]",
         "edit the ECO table: add a line, change an entry's moves or name, delete it, or restore "
         "the previous version",
         RunEcoEditCommand,
         {"--line", "--name", "--table"}},
    };
    return commands;
}

bool CommandArgs::HasFlag(std::string_view name) const {
    for (const std::string& flag : flags) {
        if (flag == name || (flag.starts_with(name) && flag.size() > name.size() &&
                             flag[name.size()] == '=')) {
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

bool OpenForCommand(pgn::PgnFile& file, const std::string& path, Ui& ui) {
    app::OpenRequest request;
    request.path = path;
    if (Error error = app::OpenGameFile(file, request, ui); !error.ok()) {
        ui.report(error.message());
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
void PrintWrapped(std::string_view text, std::string_view first_indent,
                  std::string_view indent) {
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

}  // namespace qorvale::cli
