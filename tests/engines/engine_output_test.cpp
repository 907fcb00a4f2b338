#include "engines/engine_output.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/fake_engines.h"

namespace qorvale::engines {
namespace {

using test::ScriptedChannel;
using test::ScriptedEngine;

std::vector<std::string> ReadAll(const std::vector<std::string>& chunks) {
    auto engine = std::make_shared<ScriptedEngine>();
    ScriptedChannel channel(engine);
    EngineOutputReader reader;
    std::vector<std::string> lines;
    for (const std::string& chunk : chunks) {
        engine->output.push_back(chunk);
        while (reader.Read(channel, WaitMode::Check, {.settle = std::chrono::milliseconds(0)}) ==
               ReadStatus::Data) {
            for (std::string_view line : reader.Lines()) lines.emplace_back(line);
        }
    }
    return lines;
}

TEST(EngineOutputReader, SplitsLinesAcrossReads) {
    struct Row {
        const char* name;
        std::vector<std::string> chunks;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"LF", {"uciok\nreadyok\n"}, {"uciok", "readyok"}},
        {"CR LF is one end", {"uciok\r\nreadyok\r\n"}, {"uciok", "readyok"}},
        {"CR alone ends a line", {"a\rb\r"}, {"a", "b"}},
        {"CR LF split between reads", {"uciok\r", "\nreadyok\n"}, {"uciok", "readyok"}},
        {"empty line kept", {"a\n\nb\n"}, {"a", "", "b"}},
        {"a cut line waits for its end",
         {"info dep", "th 3\n", "bestmo", "ve e2e4\n"},
         {"info depth 3", "bestmove e2e4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadAll(row.chunks), row.lines);
    }
}

TEST(EngineOutputReader, LongLinesComeInPiecesCutAtCharacterBoundaries) {
    // 'é' is two bytes, and the first piece's edge falls between them.
    const std::string x(EngineOutputSize - 1, 'x');
    struct Row {
        const char* name;
        std::vector<std::string> chunks;
        std::vector<std::size_t> sizes;
    };
    const std::vector<Row> rows = {
        {"longer than a read", {x + "\xc3\xa9tail\n"}, {EngineOutputSize - 1, 6}},
        {"ended in a later read",
         {x.substr(0, 60000), x.substr(60000) + "\xc3\xa9" + x + "\n"},
         {EngineOutputSize - 1, EngineOutputSize, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::size_t> sizes;
        for (const std::string& line : ReadAll(row.chunks)) sizes.push_back(line.size());
        EXPECT_EQ(sizes, row.sizes);
    }
}

TEST(EngineOutputReader, HelpReadIsCutAfterItsLastS) {
    auto engine = std::make_shared<ScriptedEngine>();
    ScriptedChannel channel(engine);
    EngineOutputReader reader;
    engine->output.push_back("help text\nmore commands\nWhite(1): ");
    reader.CutNextReadAfterLastS();
    reader.Read(channel, WaitMode::Check);
    EXPECT_EQ(reader.EngineOutput(), "help text\nmore commands");
    EXPECT_EQ(std::vector<std::string_view>(reader.Lines()),
              (std::vector<std::string_view>{"help text", "more commands"}));
}

TEST(EngineOutputReader, EndOfOutputFlushesTheLastLine) {
    auto engine = std::make_shared<ScriptedEngine>();
    ScriptedChannel channel(engine);
    EngineOutputReader reader;
    engine->output.push_back("last words");
    engine->ended = true;
    EXPECT_EQ(reader.Read(channel, WaitMode::Check), ReadStatus::Data);
    EXPECT_EQ(std::vector<std::string_view>(reader.Lines()),
              std::vector<std::string_view>{"last words"});
    EXPECT_EQ(reader.Read(channel, WaitMode::Check), ReadStatus::Ended);
}

TEST(EngineOutputReader, WaitModesOnlyDifferBeforeTheFirstBytes) {
    for (WaitMode wait : {WaitMode::Block, WaitMode::Sleep, WaitMode::Check}) {
        SCOPED_TRACE(static_cast<int>(wait));
        auto engine = std::make_shared<ScriptedEngine>();
        ScriptedChannel channel(engine);
        EngineOutputReader reader;
        EXPECT_EQ(reader.Read(channel, wait), ReadStatus::Nothing);
        engine->output = {"uciok\n", "readyok\n"};
        EXPECT_EQ(reader.Read(channel, wait), ReadStatus::Data);
        EXPECT_EQ(reader.EngineOutput(), "uciok\nreadyok\n");
    }
}

TEST(DisplayText, KeepsUtf8AndReadsOtherBytesAsLatin1) {
    struct Row {
        const char* name;
        std::string bytes;
        std::string shown;
    };
    const std::vector<Row> rows = {
        {"ASCII", "readyok", "readyok"},
        {"UTF-8", "caf\xc3\xa9", "caf\xc3\xa9"},
        {"Latin-1", "caf\xe9", "caf\xc3\xa9"},
        {"cut UTF-8 sequence", "ab\xc3", "ab\xc3\x83"},
        {"overlong form", "\xc0\xaf", "\xc3\x80\xc2\xaf"},
        {"surrogate", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DisplayText(row.bytes), row.shown);
    }
}

}  // namespace
}  // namespace qorvale::engines
