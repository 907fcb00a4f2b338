#include "engines/crafty_files.h"

#include "engines/engine_output.h"
#include "engines/messages.h"
#include "platform/file.h"

namespace qorvale::engines {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// The whole of `text` as the new content of `path`, written beside it, flushed, then renamed
// over it.
Error WriteWholeFile(const std::string& path, std::string_view text, std::string_view failure,
                     platform::FileSystem& files) {
    const std::string new_path = path + ".new";
    platform::File file = files.Create(new_path);
    if (!file.IsOpen()) return Error(std::string(failure));
    bool written =
        files.Write(file, text.data(), static_cast<std::int64_t>(text.size())) && files.Flush(file);
    file.Close();
    if (written && files.Rename(new_path, path)) return Error::Ok();
    (void)files.Delete(new_path);
    return Error(std::string(failure));
}

std::string_view NamePart(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string PositionFileName(std::string_view chosen) {
    std::string name(chosen);
    std::string_view part = NamePart(chosen);
    if (part.find('.') == std::string_view::npos) {
        name += ".pos";
    } else if (part.back() == '.') {
        name += "pos";
    }
    return name;
}

Error WritePositionFile(const std::string& path, std::string_view setboard,
                        platform::FileSystem& files) {
    std::string text(setboard);
    text += "\r\nexit\r\n";
    return WriteWholeFile(path, text, messages::ErrorCreatingPositionFile, files);
}

std::string AnalysisGameText(const std::vector<std::string>& san_moves, int half_moves) {
    if (half_moves > static_cast<int>(san_moves.size())) {
        half_moves = static_cast<int>(san_moves.size());
    }
    std::string text;
    for (int white = 0; white < half_moves; white += 2) {
        text += std::to_string(white / 2 + 1) + ". " + san_moves[static_cast<std::size_t>(white)];
        if (white + 1 < half_moves) text += " " + san_moves[static_cast<std::size_t>(white + 1)];
        text += LineEnd;
    }
    return text;
}

Error WriteAnalysisGame(const std::string& path, std::string_view text,
                        platform::FileSystem& files) {
    return WriteWholeFile(path, text, messages::ErrorCreatingAnalysisGame, files);
}

std::string ContinueGameText(const std::vector<std::string>& header_lines,
                             const std::vector<std::string>& san_moves) {
    constexpr std::size_t LineLength = 60;
    std::string text;
    for (const std::string& line : header_lines) {
        text += line;
        text += LineEnd;
    }
    text += LineEnd;
    std::string line;
    for (std::size_t white = 0; white < san_moves.size(); white += 2) {
        if (!line.empty()) line += ' ';
        line += std::to_string(white / 2 + 1) + "." + san_moves[white];
        if (white + 1 < san_moves.size()) line += " " + san_moves[white + 1];
        if (line.size() >= LineLength) {
            text += line;
            text += LineEnd;
            line.clear();
        }
    }
    text += line;
    text += "  *";
    text += LineEnd;
    return text;
}

Error WriteContinueGame(const std::string& path, std::string_view text,
                        platform::FileSystem& files) {
    return WriteWholeFile(path, text, messages::ErrorCreatingReadFile, files);
}

std::string CanFileName(std::string_view chosen) {
    std::string name(chosen);
    if (!name.ends_with(".can")) name += ".can";
    return name;
}

std::string ConvertedCanPath(std::string_view path) {
    std::string converted(path.substr(0, path.size() < 3 ? 0 : path.size() - 3));
    return converted + "pgn";
}

std::string ConvertCanText(std::string_view can) {
    std::string text;
    bool comment_seen = false;
    std::size_t start = 0;
    while (start < can.size()) {
        std::size_t end = can.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = can.size();
        std::string_view line = can.substr(start, end - start);
        start = end + 1;
        if (end < can.size() && can[end] == '\r' && start < can.size() && can[start] == '\n') {
            ++start;
        }
        if (line.size() <= 2) continue;
        if (line[0] == '[' || line[0] == '{') {
            if (line[0] == '{' && !comment_seen) text += LineEnd;
            comment_seen = comment_seen || line[0] == '{';
            text += line;
        } else if (line.size() > 3 && line[3] == '.') {
            std::size_t at = 0;
            std::string_view number = NextWord(line, at);
            std::string_view white = NextWord(line, at);
            std::string_view black = NextWord(line, at);
            text += number;
            text += white;
            if (!black.empty()) {
                text += ' ';
                text += black;
            }
        } else {
            std::size_t first = line.find_first_not_of(' ');
            if (first != std::string_view::npos) text += line.substr(first);
        }
        text += LineEnd;
    }
    return text;
}

Error ConvertCanFile(const std::string& path, platform::FileSystem& files) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return Error(std::string(messages::ErrorOpeningCanFile));
    std::string can;
    char chunk[65536];
    while (true) {
        std::int64_t got = file.Read(chunk, sizeof chunk);
        if (got < 0) return Error(std::string(messages::ErrorOpeningCanFile));
        if (got == 0) break;
        can.append(chunk, static_cast<std::size_t>(got));
    }
    file.Close();
    return WriteWholeFile(ConvertedCanPath(path), ConvertCanText(can),
                          messages::ErrorCreatingPgnFile, files);
}

}  // namespace qorvale::engines
