#include "search/database_files.h"

#include <algorithm>

#include "base/bytes.h"
#include "platform/file.h"
#include "search/fast_file.h"
#include "search/messages.h"

namespace qorvale::search {

namespace {

constexpr std::array<std::string_view, DbFileCount> Extensions = {"DBH", "DBM", "DBP",
                                                                  "DBG", "DBR", "DBS"};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char LowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void PutKeyText(std::uint8_t* out, const std::string& text) {
    const std::size_t length = std::min(text.size(), DbKeyTextLength);
    out[0] = static_cast<std::uint8_t>(length);
    for (std::size_t i = 0; i < DbKeyTextLength; ++i) {
        out[1 + i] = i < length ? static_cast<std::uint8_t>(text[i]) : 0;
    }
}

std::string GetKeyText(const std::uint8_t* in) {
    const std::size_t length = std::min<std::size_t>(in[0], DbKeyTextLength);
    return std::string(reinterpret_cast<const char*>(in + 1), length);
}

}  // namespace

const std::string& DatabaseNames::Of(DbFile file) const {
    switch (file) {
        case DbFile::Header:
            return dbh;
        case DbFile::Moves:
            return dbm;
        case DbFile::Positions:
            return dbp;
        case DbFile::Games:
            return dbg;
        case DbFile::Root:
            return dbr;
        case DbFile::Results:
            return dbs;
    }
    return dbg;
}

DatabaseNames DatabaseNamesOf(std::string_view dbg_path) {
    DatabaseNames names;
    names.dbg = std::string(dbg_path);
    names.dbh = DerivedPath(dbg_path, "DBH");
    names.dbm = DerivedPath(dbg_path, "DBM");
    names.dbp = DerivedPath(dbg_path, "DBP");
    names.dbr = DerivedPath(dbg_path, "DBR");
    names.dbs = DerivedPath(dbg_path, "DBS");
    names.tre = DerivedPath(dbg_path, "TRE");
    names.trx = DerivedPath(dbg_path, "TRX");
    return names;
}

void DbGameRecord::Encode(std::uint8_t* out) const {
    PutU32(out + 0, white_key);
    PutU32(out + 4, black_key);
    PutU32(out + 8, next_white);
    PutU32(out + 12, next_black);
    PutU32(out + 16, header_offset);
    PutU32(out + 20, moves_offset);
    PutU16(out + 24, header_length);
    PutU16(out + 26, moves_length);
    PutU16(out + 28, year);
    PutU16(out + 30, result_eco);
    PutKeyText(out + 32, white_text);
    PutKeyText(out + 48, black_text);
}

DbGameRecord DbGameRecord::Decode(const std::uint8_t* in) {
    DbGameRecord record;
    record.white_key = GetU32(in + 0);
    record.black_key = GetU32(in + 4);
    record.next_white = GetU32(in + 8);
    record.next_black = GetU32(in + 12);
    record.header_offset = GetU32(in + 16);
    record.moves_offset = GetU32(in + 20);
    record.header_length = GetU16(in + 24);
    record.moves_length = GetU16(in + 26);
    record.year = GetU16(in + 28);
    record.result_eco = GetU16(in + 30);
    record.white_text = GetKeyText(in + 32);
    record.black_text = GetKeyText(in + 48);
    return record;
}

int DbResultBits(std::string_view result) {
    if (result.starts_with("1-0")) return 3;
    if (result.starts_with("0-1")) return 1;
    if (result.size() >= 2 && result[1] == '/') return 2;
    return 0;
}

std::uint16_t DbEcoBits(std::string_view eco) {
    if (eco.empty() || eco[0] < 'A' || eco[0] > 'E') return 0;
    auto digit = [&eco](std::size_t at) -> unsigned {
        return at < eco.size() && eco[at] >= '0' && eco[at] <= '9'
                   ? static_cast<unsigned>(eco[at] - '0')
                   : 0u;
    };
    const unsigned letter = static_cast<unsigned>(eco[0] - 'A' + 1);
    return static_cast<std::uint16_t>((letter << 8) | (digit(1) << 4) | digit(2));
}

std::uint16_t DbYear(std::string_view date) {
    if (date.empty() || date[0] == '?') return 0;
    unsigned year = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(4, date.size()); ++i) {
        if (date[i] < '0' || date[i] > '9') break;
        year = year * 10 + static_cast<unsigned>(date[i] - '0');
    }
    return static_cast<std::uint16_t>(year);
}

std::uint32_t DbKeyIndex(std::string_view text) {
    std::uint32_t index = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = i < text.size() ? text[i] : 'a';
        const std::uint32_t letter = c >= 'a' && c <= 'z' ? static_cast<std::uint32_t>(c - 'a') : 0;
        index = index * 26 + letter;
    }
    return index;
}

DbNameKey MakeDbNameKey(std::string_view name, DbKeyMode mode) {
    DbNameKey key;
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    if (mode == DbKeyMode::Search && !name.empty() && name[0] == '?') {
        key.text = "qqqq";
        key.index = DbKeyIndex(key.text);
        return key;
    }
    std::string cut;
    const std::size_t mark = name.find_first_of(",(");
    if (mark != std::string_view::npos && name[mark] == '(') {
        name = name.substr(0, mark);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    }
    if (mark == std::string_view::npos || name[mark] != ',') {
        // Words: a last word after others keeps only its first letter.
        const std::size_t space = name.rfind(' ');
        cut = space == std::string_view::npos ? std::string(name)
                                              : std::string(name.substr(0, space + 2));
    } else {
        std::string_view rest = name.substr(mark + 1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        cut = std::string(name.substr(0, mark));
        if (rest.empty()) {
            key.form = 2;
        } else {
            cut += rest.front();
            key.form = rest.size() == 1 ? 1 : 3;
        }
    }
    for (char c : cut) {
        if (IsLetter(c) && key.text.size() < DbKeyTextLength) key.text += LowerLetter(c);
    }
    const bool pad = mode == DbKeyMode::Build || key.text.empty() || key.form != 0;
    if (pad && key.text.size() < 4) key.text.append(4 - key.text.size(), 'q');
    key.index = DbKeyIndex(key.text);
    return key;
}

std::uint16_t PositionHash(const chess::Board64& board) {
    std::uint32_t sum = 0;
    for (std::size_t word = 0; word < 16; ++word) sum += GetU32(board.data() + 4 * word);
    return static_cast<std::uint16_t>((sum >> 16) ^ (sum & 0xFFFF));
}

void DbRootTable::Encode(std::vector<std::uint8_t>& out) const {
    const std::size_t at = out.size();
    out.resize(at + DbRootTableBytes);
    for (std::uint32_t key = 0; key < DbKeyCount; ++key) {
        PutU32(out.data() + at + 8 * key, first[key]);
        PutU32(out.data() + at + 8 * key + 4, last[key]);
    }
}

bool DbRootTable::Decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != DbRootTableBytes) return false;
    for (std::uint32_t key = 0; key < DbKeyCount; ++key) {
        first[key] = GetU32(bytes.data() + 8 * key);
        last[key] = GetU32(bytes.data() + 8 * key + 4);
    }
    return true;
}

Error DbFileError(int kind) {
    if (kind == 1) return Error(std::string(messages::FileOpenError));
    if (kind == 2) return Error(std::string(messages::FileReadError));
    return Error(std::string(messages::FileWriteError));
}

DatabaseStage::DatabaseStage(platform::FileSystem& file_system, const DatabaseNames& names)
    : file_system_(file_system), names_(names) {}

platform::StagedFile& DatabaseStage::Stage(DbFile file) {
    auto& slot = staged_[static_cast<std::size_t>(file)];
    if (!slot) slot = std::make_unique<platform::StagedFile>(file_system_, names_.Of(file));
    return *slot;
}

std::string DatabaseCommitMarkPath(const DatabaseNames& names) { return names.dbg + ".commit"; }

Error DatabaseStage::Commit() {
    std::string covered;
    for (std::size_t file = 0; file < staged_.size(); ++file) {
        if (!staged_[file]) continue;
        if (!staged_[file]->Finish()) return DbFileError(3);
        covered += Extensions[file];
        covered += '\n';
    }
    // The mark itself is put in place by a rename, so a half-written one never counts.
    const std::string mark = DatabaseCommitMarkPath(names_);
    if (!platform::ReplaceFileContents(file_system_, mark, covered.data(),
                                       static_cast<std::int64_t>(covered.size()))) {
        return DbFileError(3);
    }
    for (std::size_t file = 0; file < staged_.size(); ++file) {
        if (!staged_[file]) continue;
        staged_[file]->Keep();
        const std::string& path = names_.Of(static_cast<DbFile>(file));
        if (!file_system_.Rename(platform::StagedFile::StagePath(path), path)) {
            // The mark stays: the next reader finishes the renames.
            return DbFileError(3);
        }
    }
    file_system_.Delete(mark);
    return Error::Ok();
}

void RecoverDatabase(const DatabaseNames& names, platform::FileSystem& file_system) {
    const std::string mark = DatabaseCommitMarkPath(names);
    std::string covered;
    const bool committed = platform::FileExists(mark);
    if (committed) {
        platform::File file = platform::File::Open(mark, platform::File::Mode::Read);
        char buffer[64] = {};
        const std::int64_t got = file.IsOpen() ? file.Read(buffer, sizeof buffer) : 0;
        if (got > 0) covered.assign(buffer, static_cast<std::size_t>(got));
    }
    for (std::size_t file = 0; file < Extensions.size(); ++file) {
        const std::string& path = names.Of(static_cast<DbFile>(file));
        const std::string stage = platform::StagedFile::StagePath(path);
        if (!platform::FileExists(stage)) continue;
        const bool in_commit = committed && covered.find(Extensions[file]) != std::string::npos;
        if (in_commit) {
            file_system.Rename(stage, path);
        } else {
            file_system.Delete(stage);
        }
    }
    if (committed) file_system.Delete(mark);
    file_system.Delete(platform::StagedFile::StagePath(mark));
}

}  // namespace qorvale::search
