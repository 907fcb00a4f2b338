#include "pgn/rewrap.h"

#include <vector>

#include "pgn/display_stem.h"
#include "pgn/messages.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::pgn {

namespace {

// The copy rules, byte by byte, carried across buffer refills.
class RewrapCopier {
  public:
    // Appends the rewrapped form of `in` to `out`.
    void Copy(const char* in, std::size_t size, std::vector<char>& out) {
        for (std::size_t at = 0; at < size; ++at) {
            char byte = in[at];
            if (byte == ' ') {
                if (column_ == 0 || last_ == ' ') continue;
                if (column_ >= RewrapBreakColumn) {
                    Put('\r', out);
                    Put('\n', out);
                    continue;
                }
            } else if (last_ == '}') {
                Put(' ', out);
            }
            Put(byte, out);
        }
    }

  private:
    void Put(char byte, std::vector<char>& out) {
        out.push_back(byte);
        last_ = byte;
        column_ = byte == '\n' ? 0 : column_ + 1;
    }

    int column_ = 0;
    char last_ = '\0';
};

}  // namespace

Result<std::string> RewrapLongRecords(const std::string& pgn_path,
                                      platform::FileSystem& file_system) {
    const Error failure{std::string(ErrorCreatingTempFile)};
    std::string folder = platform::FolderOf(pgn_path);
    std::string temp_path = platform::JoinPath(folder, RewriteTempName);
    std::string new_path =
        platform::JoinPath(folder, DisplayStem(platform::NameOf(pgn_path)) + ".pgn");
    // my.games.pgn would become My.pgn; if another file already has that name, replacing it
    // would lose that file's games, so the re-wrapped text keeps its own name instead.
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
        if (got == 0) break;
        out.clear();
        copier.Copy(in.data(), static_cast<std::size_t>(got), out);
        if (!file_system.Write(temp, out.data(), static_cast<std::int64_t>(out.size()))) {
            return abandon();
        }
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
