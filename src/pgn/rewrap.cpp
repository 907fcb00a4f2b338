#include "pgn/rewrap.h"

#include <vector>

#include "pgn/display_stem.h"
#include "pgn/messages.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::pgn {

namespace {

// The copy rules, byte by byte, carried across buffer refills. A break never changes what the
// text means: tag lines and "%" escape lines are copied whole (a tag's quoted value verbatim), a
// ";" comment is not broken, and no break puts a "[" or "%" at the start of a line, where it
// would read as a tag line or an escape line.
class RewrapCopier {
  public:
    // Appends the rewrapped form of `in` to `out`.
    void Copy(const char* in, std::size_t size, std::vector<char>& out) {
        for (std::size_t at = 0; at < size; ++at) {
            char byte = in[at];
            if (line_ == Line::Start && byte != ' ') {
                line_ = in_brace_     ? Line::Movetext
                        : byte == '[' ? Line::Tag
                        : byte == '%' ? Line::Escape
                                      : Line::Movetext;
            }
            if (pending_break_) {
                if (byte == ' ') continue;
                pending_break_ = false;
                if (byte == '[' || byte == '%') {
                    Put(' ', out);
                } else if (byte != '\r' && byte != '\n') {
                    Put('\r', out);
                    Put('\n', out);
                }
            }
            if (byte == ' ') {
                if (column_ == 0) continue;
                if (line_ == Line::Tag && in_quotes_) {
                    Put(byte, out);
                    continue;
                }
                if (last_ == ' ' || line_ == Line::Escape) {
                    if (line_ == Line::Escape) Put(byte, out);
                    continue;
                }
                if (column_ >= RewrapBreakColumn && line_ == Line::Movetext && !in_line_comment_) {
                    pending_break_ = true;
                    continue;
                }
            } else if (last_ == '}' && line_ == Line::Movetext) {
                Put(' ', out);
            }
            Track(byte);
            Put(byte, out);
        }
    }

    // A space held back for a break at the very end of the file is written as it was.
    void Finish(std::vector<char>& out) {
        if (pending_break_) Put(' ', out);
        pending_break_ = false;
    }

  private:
    enum class Line { Start, Tag, Escape, Movetext };

    void Track(char byte) {
        if (byte == '\n') {
            line_ = Line::Start;
            in_quotes_ = false;
            in_line_comment_ = false;
            return;
        }
        if (line_ == Line::Tag) {
            if (byte == '"') in_quotes_ = !in_quotes_;
        } else if (line_ == Line::Movetext && !in_line_comment_) {
            if (byte == '{') in_brace_ = true;
            if (byte == '}') in_brace_ = false;
            if (byte == ';' && !in_brace_) in_line_comment_ = true;
        }
    }

    void Put(char byte, std::vector<char>& out) {
        out.push_back(byte);
        last_ = byte;
        column_ = byte == '\n' ? 0 : column_ + 1;
    }

    int column_ = 0;
    char last_ = '\0';
    Line line_ = Line::Start;
    bool in_quotes_ = false;
    bool in_brace_ = false;
    bool in_line_comment_ = false;
    bool pending_break_ = false;
};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The name a re-wrapped file takes: its display stem with ".pgn" when that only changes the
// letter case ("games.pgn" -> "Games.pgn"); otherwise its own name, so that nothing the user
// named it by is lost ("my.games.pgn", "games.txt").
std::string RewrappedName(const std::string& name) {
    std::size_t dot = name.find('.');
    if (dot == std::string::npos || name.find('.', dot + 1) != std::string::npos ||
        !EqualNoCase(std::string_view(name).substr(dot + 1), "pgn")) {
        return name;
    }
    return DisplayStem(name) + ".pgn";
}

}  // namespace

Result<std::string> RewrapLongRecords(const std::string& pgn_path,
                                      platform::FileSystem& file_system) {
    const Error failure{std::string(ErrorCreatingTempFile)};
    std::string folder = platform::FolderOf(pgn_path);
    std::string temp_path = platform::JoinPath(folder, RewriteTempName);
    std::string new_path = platform::JoinPath(folder, RewrappedName(platform::NameOf(pgn_path)));
    // If another file already has the new name, replacing it would lose that file's games, so
    // the re-wrapped text keeps its own name instead.
    if (new_path != pgn_path && platform::FileExists(new_path) &&
        !platform::SameFile(pgn_path, new_path)) {
        new_path = pgn_path;
    }

    platform::File source = platform::File::Open(pgn_path, platform::File::Mode::Read);
    if (!source.IsOpen()) return Error(std::string(ErrorOpeningFile));
    platform::File temp = file_system.Create(temp_path);
    if (!temp.IsOpen()) return failure;

    auto abandon = [&]() -> Result<std::string> {
        temp.Close();
        file_system.Delete(temp_path);
        return failure;
    };
    std::vector<char> in(RewrapBufferSize);
    std::vector<char> out;
    out.reserve(RewrapBufferSize * 2);
    RewrapCopier copier;
    for (;;) {
        std::int64_t got = source.Read(in.data(), static_cast<std::int64_t>(in.size()));
        if (got < 0) return abandon();
        out.clear();
        if (got == 0) {
            copier.Finish(out);
        } else {
            copier.Copy(in.data(), static_cast<std::size_t>(got), out);
        }
        if (!out.empty() &&
            !file_system.Write(temp, out.data(), static_cast<std::int64_t>(out.size()))) {
            return abandon();
        }
        if (got == 0) break;
    }
    source.Close();
    // The new content must be on disk before it replaces the user's file.
    if (!file_system.Flush(temp)) return abandon();
    temp.Close();
    if (!file_system.Rename(temp_path, new_path)) {
        file_system.Delete(temp_path);
        return failure;
    }
    // games.pgn became Games.pgn: the old name goes too, unless the file system ignores case
    // and both names are the one file now.
    if (new_path != pgn_path && !platform::SameFile(pgn_path, new_path)) {
        file_system.Delete(pgn_path);
    }
    return new_path;
}

}  // namespace qorvale::pgn
