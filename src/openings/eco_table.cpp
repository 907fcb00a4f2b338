#include "openings/eco_table.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "openings/eco_table_store.h"
#include "openings/messages.h"
#include "pgn/messages.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace qorvale::openings {

namespace {

// Whole file into `text`; false when it cannot be opened or read.
bool ReadFile(const std::string& path, std::string& text) {
    platform::File file = platform::File::Open(path, platform::File::Mode::Read);
    if (!file.IsOpen()) return false;
    std::int64_t size = file.Size();
    if (size < 0) return false;
    text.assign(static_cast<std::size_t>(size), '\0');
    std::int64_t done = 0;
    while (done < size) {
        std::int64_t got = file.Read(text.data() + done, size - done);
        if (got <= 0) return false;
        done += got;
    }
    return true;
}

// Turns the first `count` CRs of `text` into NULs, each time stepping over the LF after it.
// False when the text runs out first: the loader trusts the CR LF structure but never reads past
// the buffer.
bool TerminateLines(std::string& text, std::int32_t count) {
    std::size_t at = 0;
    for (std::int32_t line = 0; line < count; ++line) {
        std::size_t cr = text.find('\r', at);
        if (cr == std::string::npos) return false;
        text[cr] = '\0';
        at = cr + 1;
        if (at < text.size() && text[at] == '\n') ++at;
    }
    return true;
}

// The start of every entry: next = previous + length + 2 (over the NUL and the LF). A start past
// the end is held at the string's own terminator, so no length is taken beyond the buffer.
void EntryStarts(const std::string& text, std::int32_t count, std::vector<std::uint32_t>& starts) {
    starts.assign(static_cast<std::size_t>(count), 0);
    std::size_t at = 0;
    for (std::int32_t entry = 0; entry < count; ++entry) {
        if (at > text.size()) at = text.size();
        starts[static_cast<std::size_t>(entry)] = static_cast<std::uint32_t>(at);
        at += std::strlen(text.c_str() + at) + 2;
    }
}

unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = Lower(static_cast<unsigned char>(a[i]));
        unsigned char y = Lower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

chess::MoveText WithoutCheckMark(const chess::MoveText& text) {
    chess::MoveText plain = text;
    std::size_t length = plain.view().size();
    if (length > 0 && plain[length - 1] == '+') plain[length - 1] = 0;
    return plain;
}

}  // namespace

std::uint64_t MoveBit(const chess::MoveText& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text.bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return std::uint64_t{1} << (hash >> 58);
}

EcoTableFiles EcoTableFilesIn(std::string_view folder) {
    return {platform::JoinPath(folder, EcoCodesFileName),
            platform::JoinPath(folder, EcoNamesFileName),
            platform::JoinPath(folder, EcoMovesFileName)};
}

std::string_view EcoTable::Code(std::int32_t entry) const {
    return std::string_view(code_text_.c_str() + Index(entry) * EcoCodeRecordSize);
}

std::string_view EcoTable::Name(std::int32_t entry) const {
    return std::string_view(name_text_.c_str() + name_[Index(entry)]);
}

std::string_view EcoTable::Moves(std::int32_t entry) const {
    return std::string_view(move_text_.c_str() + moves_[Index(entry)]);
}

std::span<const chess::MoveText> EcoTable::WhiteMoves(std::int32_t entry) const {
    std::uint32_t first = first_white_[Index(entry)];
    return {white_.data() + first, first_white_[Index(entry) + 1] - first};
}

std::span<const chess::MoveText> EcoTable::BlackMoves(std::int32_t entry) const {
    std::uint32_t first = first_black_[Index(entry)];
    return {black_.data() + first, first_black_[Index(entry) + 1] - first};
}

std::span<const chess::MoveText> EcoTable::PlainWhiteMoves(std::int32_t entry) const {
    std::uint32_t first = first_white_[Index(entry)];
    return {plain_white_.data() + first, first_white_[Index(entry) + 1] - first};
}

std::span<const chess::MoveText> EcoTable::PlainBlackMoves(std::int32_t entry) const {
    std::uint32_t first = first_black_[Index(entry)];
    return {plain_black_.data() + first, first_black_[Index(entry) + 1] - first};
}

Error EcoTable::LoadFromText(std::string codes, std::string names, std::string moves) {
    const auto count = static_cast<std::int32_t>(codes.size() / EcoCodeRecordSize);
    if (!TerminateLines(codes, count) || !TerminateLines(names, count) ||
        !TerminateLines(moves, count)) {
        return Error(std::string(messages::EcoTableCorruption));
    }
    count_ = count;
    code_text_ = std::move(codes);
    name_text_ = std::move(names);
    move_text_ = std::move(moves);
    EntryStarts(name_text_, count_, name_);
    EntryStarts(move_text_, count_, moves_);
    SplitMoves();
    SortOrders();
    SizeListRowMap();
    return Error::Ok();
}

void EcoTable::SplitMoves() {
    const auto count = Index(count_);
    ply_count_.assign(count, 0);
    white_.clear();
    black_.clear();
    first_white_.assign(count + 1, 0);
    first_black_.assign(count + 1, 0);
    for (std::size_t entry = 0; entry < count; ++entry) {
        std::string_view text = Moves(static_cast<std::int32_t>(entry));
        ply_count_[entry] = static_cast<int>(std::count(text.begin(), text.end(), ' ')) + 1;
        first_white_[entry] = static_cast<std::uint32_t>(white_.size());
        first_black_[entry] = static_cast<std::uint32_t>(black_.size());
        std::size_t dot = text.find('.');
        while (dot != std::string_view::npos) {
            std::size_t start = dot + 1;
            std::size_t end = text.find(' ', start);
            if (end == std::string_view::npos) end = text.size();
            white_.emplace_back(text.substr(start, end - start));
            std::size_t next_dot = text.find('.', end);
            if (end < text.size()) {
                std::size_t black_start = end + 1;
                std::size_t black_end = text.find(' ', black_start);
                if (black_end == std::string_view::npos) black_end = text.size();
                std::string_view token = text.substr(black_start, black_end - black_start);
                // A token with a '.' is the next move number: White's move had no answer.
                if (!token.empty() && token.find('.') == std::string_view::npos) {
                    black_.emplace_back(token);
                }
            }
            dot = next_dot;
        }
    }
    first_white_[count] = static_cast<std::uint32_t>(white_.size());
    first_black_[count] = static_cast<std::uint32_t>(black_.size());
    plain_white_.resize(white_.size());
    plain_black_.resize(black_.size());
    std::transform(white_.begin(), white_.end(), plain_white_.begin(), WithoutCheckMark);
    std::transform(black_.begin(), black_.end(), plain_black_.begin(), WithoutCheckMark);
    auto prefix_bits = [count](const std::vector<chess::MoveText>& moves,
                               const std::vector<std::uint32_t>& first,
                               std::vector<std::uint64_t>& bits) {
        bits.assign(moves.size(), 0);
        for (std::size_t entry = 0; entry < count; ++entry) {
            std::uint64_t set = 0;
            for (std::uint32_t i = first[entry]; i < first[entry + 1]; ++i) {
                set |= MoveBit(moves[i]);
                bits[i] = set;
            }
        }
    };
    prefix_bits(plain_white_, first_white_, white_bits_);
    prefix_bits(plain_black_, first_black_, black_bits_);
}

void EcoTable::SortOrders() {
    const auto count = Index(count_);
    auto identity = [count](std::vector<std::int32_t>& order) {
        order.resize(count);
        for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::int32_t>(i);
    };
    identity(code_order_);
    identity(name_order_);
    identity(moves_order_);
    std::sort(code_order_.begin(), code_order_.end(), [this](std::int32_t a, std::int32_t b) {
        if (int c = Code(a).compare(Code(b)); c != 0) return c < 0;
        if (int c = CompareIgnoringCase(Moves(a), Moves(b)); c != 0) return c < 0;
        return Moves(a) < Moves(b);
    });
    std::sort(name_order_.begin(), name_order_.end(),
              [this](std::int32_t a, std::int32_t b) { return Name(a) < Name(b); });
    std::sort(moves_order_.begin(), moves_order_.end(), [this](std::int32_t a, std::int32_t b) {
        return CompareIgnoringCase(Moves(a), Moves(b)) < 0;
    });
}

void EcoTable::SizeListRowMap() {
    std::size_t extra_rows = 0;
    for (int plies : ply_count_) {
        extra_rows += (plies > 18 ? 1 : 0) + (plies > 32 ? 1 : 0) + (plies > 46 ? 1 : 0);
    }
    list_row_map_.assign(Index(count_) + extra_rows + 8, 0);
}

Error LoadEcoTable(const EcoTableFiles& files, EcoTable& table, Ui& ui) {
    // A change of the three files that a crash interrupted is completed (or dropped) first.
    RecoverEcoTableFiles(platform::FolderOf(files.codes));
    std::string codes;
    std::string names;
    std::string moves;
    Error error;
    if (!ReadFile(files.codes, codes) || !ReadFile(files.names, names) ||
        !ReadFile(files.moves, moves)) {
        error = Error(std::string(messages::EcoTableCorruption));
    } else {
        error = table.LoadFromText(std::move(codes), std::move(names), std::move(moves));
    }
    if (!error.ok()) ui.report(error.message());
    return error;
}

bool CheckEcoTable(const EcoTableFiles& files, const EcoTable& table, Ui& ui) {
    auto fail = [&ui](std::string_view message) {
        ui.report(message);
        return false;
    };
    std::int64_t codes_size = platform::FileSize(files.codes);
    if (codes_size < 0) return fail(messages::EcoFileMissing);
    std::int64_t records = codes_size / static_cast<std::int64_t>(EcoCodeRecordSize);
    if (records != table.count()) {
        return fail(pgn::FillMessage(messages::EcoFileEntries, records));
    }
    std::int64_t names_size = platform::FileSize(files.names);
    if (names_size < 0) return fail(messages::EcoNamesFileMissing);
    if (names_size != table.NameTextSize()) return fail(messages::EcoNamesFileOutOfSync);
    std::int64_t moves_size = platform::FileSize(files.moves);
    if (moves_size < 0) return fail(messages::EcoMovesFileMissing);
    if (moves_size != table.MoveTextSize()) return fail(messages::EcoMoveFileOutOfSync);

    auto nuls = [](std::string_view text) { return std::count(text.begin(), text.end(), '\0'); };
    std::string_view codes = table.CodeText().substr(0, EcoCodeRecordSize * table.count());
    if (nuls(codes) != table.count()) return fail(messages::EcoFileOutOfSync);
    if (nuls(table.NameText()) != table.count()) return fail(messages::EcoNamesOutOfSync);
    if (nuls(table.MoveText()) != table.count()) return fail(messages::EcoMovesOutOfSync);
    ui.report(pgn::FillMessage(messages::EcoTableOk, static_cast<long long>(table.count())));
    return true;
}

std::string FuseMoveNumbers(std::string_view moves) {
    std::string fused;
    fused.reserve(moves.size());
    std::size_t at = 0;
    while (at < moves.size()) {
        while (at < moves.size() && (moves[at] == ' ' || moves[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < moves.size() && moves[end] != ' ' && moves[end] != '\t') ++end;
        if (end == at) break;
        std::string_view token = moves.substr(at, end - at);
        if (!fused.empty() && fused.back() != '.') fused += ' ';
        fused += token;
        at = end;
    }
    return fused;
}

}  // namespace qorvale::openings
