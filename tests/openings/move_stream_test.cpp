#include "openings/move_stream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/fast_file_reader.h"
#include "support/temp_dir.h"

namespace qorvale::openings {
namespace {

// Records of random lengths (up to the longest a fast file holds) until the file passes `bytes`,
// then the end mark.
std::string RandomMoveFile(std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::string file;
    file.reserve(bytes + 1024);
    auto put = [&file](std::uint16_t word) {
        file += static_cast<char>(word & 0xFF);
        file += static_cast<char>(word >> 8);
    };
    while (file.size() < bytes) {
        const int codes = static_cast<int>(random() % (search::MaxRecordCodes + 1));
        for (int i = 0; i < codes; ++i) put(static_cast<std::uint16_t>(1 + random() % 0x7FFE));
        put(search::MakeResultWord(static_cast<int>(random() % 3)));
    }
    put(search::EndMark);
    return file;
}

// Whole and through the window, the stream hands out the records the fast file's own reader
// reads, also where a record crosses from one fill of the window into the next.
TEST(MoveStream, ReadsWhatTheFastFileReaderReads) {
    for (std::size_t size : {std::size_t{200000}, std::size_t{16400000}}) {
        SCOPED_TRACE(size);
        test::TempDir dir;
        const std::string path = dir.Write("games.TRF", RandomMoveFile(size, 17));
        Result<MoveStream> stream = MoveStream::OpenFile(path);
        Result<search::FastFileReader> reader = search::FastFileReader::Open(path);
        ASSERT_TRUE(stream.ok() && reader.ok());
        EXPECT_EQ(stream->Whole(), size < search::WholeFileLimit);
        // The second walk starts again from a rewind.
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_TRUE(stream->Rewind() && reader->Rewind());
            RecordView view;
            search::GameRecord record;
            int records = 0;
            MoveStream::Step step;
            while ((step = stream->Next(view)) == MoveStream::Step::Record) {
                ASSERT_EQ(reader->Next(record), search::FastFileReader::Step::Record) << records;
                ASSERT_EQ(view.count, record.codes.size()) << records;
                for (std::size_t i = 0; i < view.count; ++i)
                    ASSERT_EQ(view.Code(i), record.codes[i]);
                ASSERT_EQ(view.result, record.result);
                ++records;
            }
            EXPECT_EQ(step, MoveStream::Step::End);
            EXPECT_EQ(reader->Next(record), search::FastFileReader::Step::End);
            EXPECT_GT(records, 100);
        }
    }
}

}  // namespace
}  // namespace qorvale::openings
