#include "search/fast_file_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using qorvale::test::TempDir;

// Records of lengths that make them straddle every block and window boundary.
std::vector<GameRecord> MakeRecords(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<GameRecord> records(count);
    for (GameRecord& record : records) {
        std::size_t length = 1 + random() % MaxRecordCodes;
        for (std::size_t n = 0; n < length; ++n) {
            record.codes.push_back(static_cast<MoveCode>(1 + random() % 0x7FFE));
        }
        record.result = MakeResultWord(static_cast<int>(random() % 3));
    }
    return records;
}

std::string WriteMoveFile(const TempDir& dir, const std::vector<GameRecord>& records) {
    std::vector<std::uint8_t> bytes;
    for (const GameRecord& record : records) {
        for (MoveCode code : record.codes) AppendU16(bytes, code);
        AppendU16(bytes, record.result);
    }
    AppendU16(bytes, EndMark);
    return dir.Write("m.TRF",
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TEST(FastFileReader, EveryModeReadsTheSameRecords) {
    struct Row {
        const char* name;
        std::size_t records;
        FastFileReader::Mode mode;
        bool whole;
    };
    const Row rows[] = {
        {"small file whole", 50, FastFileReader::Mode::WholeOrWindow, true},
        {"streamed in 500000-byte blocks", 6000, FastFileReader::Mode::Stream, false},
        {"large file through a window", 45000, FastFileReader::Mode::WholeOrWindow, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        unsigned seed = static_cast<unsigned>(row.records);
        std::vector<GameRecord> expected = MakeRecords(row.records, seed);
        std::string path = WriteMoveFile(dir, expected);
        Result<FastFileReader> reader = FastFileReader::Open(path, row.mode);
        ASSERT_TRUE(reader.ok());
        EXPECT_EQ(reader->Whole(), row.whole);
        std::size_t file_size = static_cast<std::size_t>(reader->FileSize());
        if (row.whole) {
            EXPECT_EQ(reader->BufferSize(), file_size + 4);
        } else {
            EXPECT_LT(reader->BufferSize(), file_size);
        }
        for (int pass = 0; pass < 2; ++pass) {
            SCOPED_TRACE(pass == 0 ? "first pass" : "after rewind");
            GameRecord record;
            std::int64_t offset = 0;
            for (std::size_t n = 0; n < expected.size(); ++n) {
                ASSERT_EQ(reader->Next(record), FastFileReader::Step::Record) << "record " << n;
                ASSERT_EQ(record.codes, expected[n].codes) << "record " << n << " seed " << seed;
                ASSERT_EQ(record.result, expected[n].result);
                ASSERT_EQ(record.offset, offset);
                offset += 2 * static_cast<std::int64_t>(record.codes.size() + 1);
            }
            EXPECT_EQ(reader->Next(record), FastFileReader::Step::End);
            ASSERT_TRUE(reader->Rewind());
        }
    }
}

}  // namespace
}  // namespace qorvale::search
