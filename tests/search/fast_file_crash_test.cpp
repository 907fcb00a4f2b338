// Fast-file generation and repair killed at any point: the PGN file is never touched, the fast
// file left behind is either whole or seen as needing 'Make Fast File' again (never taken as
// current while it is not), its readers stay safe on it, and a new generation makes it whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/ui.h"
#include "pgn/pgn_file.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/fast_file.h"
#include "search/fast_file_reader.h"
#include "search/header_file.h"
#include "search/pgn_game_source.h"
#include "support/kill_points.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::TestDataPath;

// Records a reader gets from a move file before its end mark or damage.
int ReadableRecords(const std::string& path) {
    Result<FastFileReader> reader = FastFileReader::Open(path);
    if (!reader) return -1;
    GameRecord record;
    int records = 0;
    while (reader->Next(record) == FastFileReader::Step::Record) ++records;
    return records;
}

enum class Operation { Make, Fix };

struct Row {
    const char* name;
    Operation operation;
    bool fast_file_before;  // a current fast file lies beside the PGN file
};

TEST(FastFileCrash, KillAtAnyPointLeavesAWholeOrAStaleFastFile) {
    // Two games deleted from the index by the repair; any two will do.
    const std::vector<std::int32_t> deleted = {2, 7};
    const Row rows[] = {
        {"first generation", Operation::Make, false},
        {"generation over a current fast file", Operation::Make, true},
        {"repair after deleted games", Operation::Fix, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string original = ReadWholeFile(TestDataPath("harden/fischer.pgn"));
        const std::string pgn = dir.Write("games.pgn", original);
        const FastFileNames names = FastFileNamesOf(pgn);

        SilentUi ui;
        pgn::PgnFile file;
        ASSERT_TRUE(file.Open(pgn).ok());
        const std::int32_t count = file.ScanGameFile(false, ui);
        ASSERT_GT(count, 7);
        const std::vector<std::uint32_t> offsets(file.Index().Offsets().begin(),
                                                 file.Index().Offsets().end());
        file.Close();
        auto make = [&](platform::FileSystem& file_system) {
            PgnGameSource source(pgn, offsets);
            if (source.Open()) return MakeResult{MakeOutcome::CreateFailed, 0};
            return MakeFastFile(pgn, count, source, {}, file_system);
        };

        // The files a generation that runs to its end makes.
        ASSERT_EQ(make(platform::SystemFileSystem()).outcome, MakeOutcome::Complete);
        const std::string made_trf = ReadWholeFile(names.trf);
        const std::string made_trh = ReadWholeFile(names.trh);
        ASSERT_EQ(ReadableRecords(names.trf), count);
        std::int32_t count_after = count;
        if (row.operation == Operation::Fix) {
            ASSERT_TRUE(FixFastFile(pgn, deleted, ui).ok());
            count_after = count - static_cast<std::int32_t>(deleted.size());
        }
        const std::string whole_trf = ReadWholeFile(names.trf);
        const std::string whole_trh = ReadWholeFile(names.trh);
        ASSERT_EQ(FastFileStateOf(pgn, count_after), FastFileState::Current);

        auto prepare = [&] {
            for (const std::string& name : platform::ListFolder(dir.path(), "*")) {
                if (dir.File(name) != pgn) platform::DeleteFile(dir.File(name));
            }
            if (row.fast_file_before) {
                dir.Write("games.TRF", made_trf);
                dir.Write("games.TRH", made_trh);
            }
        };
        auto operation = [&](platform::FileSystem& file_system) {
            if (row.operation == Operation::Make) {
                (void)make(file_system);
            } else {
                SilentUi quiet;
                (void)FixFastFile(pgn, deleted, quiet, file_system);
            }
        };
        auto check = [&](int point) {
            EXPECT_EQ(ReadWholeFile(pgn), original);
            FastFileState state = FastFileStateOf(pgn, count_after);
            if (point == 0) {
                EXPECT_EQ(state, FastFileState::Current);
            }
            if (state == FastFileState::Current) {
                EXPECT_EQ(ReadWholeFile(names.trf), whole_trf);
                EXPECT_EQ(ReadWholeFile(names.trh), whole_trh);
            }
            // The repair replaces the move file by a complete new one or not at all.
            if (row.operation == Operation::Fix) {
                std::string trf = ReadWholeFile(names.trf);
                EXPECT_TRUE(trf == made_trf || trf == whole_trf);
            }
            // The readers and the check command take whatever is there.
            int records = ReadableRecords(names.trf);
            EXPECT_LE(records, count);
            Result<HeaderFile> header = HeaderFile::Load(names.trh);
            if (header) (void)header->RecordOffsets();
            // The check command passes over a missing header file (the header readers then go
            // to the PGN text); whatever it calls good must be the whole move file.
            test::RecordingUi check_ui;
            if (CheckFastFile(pgn, count_after, check_ui) == FastFileState::Current) {
                EXPECT_EQ(ReadWholeFile(names.trf), whole_trf);
                if (platform::FileExists(names.trh)) {
                    EXPECT_EQ(ReadWholeFile(names.trh), whole_trh);
                }
            }
            EXPECT_EQ(check_ui.reports.size(), 1u);
            // Making the fast file again after the crash gives the whole one.
            if (row.operation == Operation::Make) {
                EXPECT_EQ(make(platform::SystemFileSystem()).outcome, MakeOutcome::Complete);
                EXPECT_EQ(ReadWholeFile(names.trf), whole_trf);
                EXPECT_EQ(ReadWholeFile(names.trh), whole_trh);
            }
        };
        int points = test::KillAtEveryPoint(prepare, operation, check);
        EXPECT_GE(points, 10);
    }
}

}  // namespace
}  // namespace qorvale::search
