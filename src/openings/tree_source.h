#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/ui.h"
#include "openings/eco_table.h"
#include "openings/move_stream.h"
#include "openings/next_moves.h"
#include "openings/tree_file.h"

namespace qorvale::openings {

// What a tree is built from.
enum class TreeSourceKind {
    PgnFile,    // its fast file's move stream when it has one, else its text
    MergeFile,  // a tree merge file (.trm): move streams of several fast files one after another
    Database,   // a database's moves file (name.DBM beside name.DBG), a fast move file's format
    EcoTable,   // the ECO table's lines, each taken as a game
};

// What the window or the tool hands over to open a tree. Copied, so a scan touches nothing of
// the window's.
struct TreeSourceRequest {
    TreeSourceKind kind = TreeSourceKind::PgnFile;
    // The PGN file, the merge file, the database's .dbg file, or (ECO table) the program folder.
    std::string path;
    std::vector<std::uint32_t> offsets;   // PGN file: its game index, for reading its text
    std::int32_t game_count = 0;          // PGN file: GameCount
    const EcoTable* eco_table = nullptr;  // ECO table: the loaded table; must outlive the source
    bool use_fast_file = true;            // PGN file: false reads the text even with a fast file
};

// The ECO table's tree files in the program folder.
inline constexpr std::string_view EcoTreeFileName = "ecotree.tre";
inline constexpr std::string_view EcoExactTreeFileName = "ecotree.trx";

// The tree file of a PGN file, merge file or database: its path with the last three characters
// replaced by "TRE", or "TRX" for the exact-variations tree.
std::string TreeFilePathOf(std::string_view source_path, bool exact);
// Deletes both kinds of tree of a source path (and their counts and history files): the
// source has changed and its trees are stale.
void DeleteTreesOf(std::string_view source_path,
                   platform::FileSystem& files = platform::SystemFileSystem());
// The same for the ECO table's trees in the program folder.
void DeleteEcoTrees(std::string_view program_folder,
                    platform::FileSystem& files = platform::SystemFileSystem());

// A tree's source: its files, and the scans over its games. The move data is loaded on the
// first scan (a tree whose nodes are all on disk never loads it); a stream stays in memory when
// it is held whole and is read again through its window otherwise.
class TreeSource {
  public:
    // Checks that the source exists: "Error opening tree merge file.", "Error opening
    // database.", "Error opening file." (a PGN file whose text is read), or for the ECO table
    // "ECO table corruption." without a table.
    static Result<std::unique_ptr<TreeSource>> Open(TreeSourceRequest request);
    ~TreeSource();

    TreeSourceKind Kind() const { return request_.kind; }
    const TreeSourceRequest& Request() const { return request_; }
    // A PGN file read through its text (no fast file, or not to be used).
    bool ReadsText() const { return reads_text_; }
    // Whether its games come as move codes that the nodes keep (a move stream).
    bool KeepsMoveCodes() const {
        return !reads_text_ && request_.kind != TreeSourceKind::EcoTable;
    }
    std::string TreeFilePath(bool exact) const;
    // What the tree is built from, compared with the stamp stored beside a tree.
    SourceStamp Stamp() const;
    // The games the source says it holds (the PGN file's GameCount, the database's, the table's
    // entries); for a merge file the number of records, which needs a walk of the stream.
    std::int32_t GameCount();

    // ScanNextMoves (PGN text, from the 0-based game `first_game` on) and ScanNextMovesStream:
    // offers the source's games in order to `scan` until it is full. A stream whose game count
    // differs from the PGN file's, or that ends early, is reported once per source with
    // "Warning: You need to run 'Make Fast File' again."; what was read still counts. Fails with
    // "Not enough memory." or the source's open failure, having offered nothing.
    Error Scan(NextMoveScan& scan, std::int32_t first_game, Ui& ui);
    // A scan of the PGN text met a game with a FEN tag: no tree can be kept for the file.
    bool FenSeen() const { return fen_seen_; }

    // Asked once per game in a scan of the text; true stops the scan.
    void SetCancel(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }

  private:
    // Only Open makes a source.
    struct Key {
        explicit Key() = default;
    };

  public:
    TreeSource(Key, TreeSourceRequest request);

  private:
    Error LoadStream();
    Error ScanStream(NextMoveScan& scan, Ui& ui);
    Error ScanText(NextMoveScan& scan, std::int32_t first_game);
    std::string StreamPath() const;

    TreeSourceRequest request_;
    bool reads_text_ = false;
    std::optional<MoveStream> stream_;
    std::int32_t stream_games_ = -1;  // records of the stream once walked to its end
    bool warned_ = false;
    bool fen_seen_ = false;
    std::function<bool()> cancelled_;
};

// The ECO table's lines as move records: every entry's moves played from the start (up to its
// first move that cannot be played), closed by the result word of "other", then the end mark.
std::vector<std::uint8_t> EcoTableRecords(const EcoTable& table);

}  // namespace qorvale::openings
