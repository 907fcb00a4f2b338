#include "search/ser_file.h"

#include <gtest/gtest.h>

#include "base/bytes.h"
#include "search/messages.h"
#include "support/temp_dir.h"

namespace qorvale::search {
namespace {

using test::TempDir;

SearchCriteria Sample() {
    SearchCriteria criteria;
    criteria.header.Set(HeaderCriterion::Event, "World Ch");
    criteria.header.Set(HeaderCriterion::White, "Kasparov,");
    criteria.header.Set(HeaderCriterion::Black, "*");
    criteria.header.Set(HeaderCriterion::BlackElo, std::string(79, '9'));
    criteria.header.Set(HeaderCriterion::SpecificMove, "12...Nf6");
    criteria.line.WhiteMoves[0].Assign("d4");
    criteria.line.BlackMoves[0].Assign("Nf6");
    criteria.line.WhiteMoves[1].Assign("c4");
    criteria.line.WhiteMoves[199].Assign("h3");  // the block is kept whole, beyond the end
    criteria.position.White[0].Assign("Kg1");
    criteria.position.Black[0].Assign("=8");
    criteria.position.Black[39].Assign("*");
    return criteria;
}

std::uint32_t Word(const std::string& bytes, std::size_t offset) {
    return GetU32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

// Each kind of file written: its kind and parts words, its blocks, and which loads accept it.
TEST(SerFile, WritesKindPartsAndBlocksThatOnlyTheirLoadsAccept) {
    constexpr std::size_t Header = SerHeaderBlockSize, Line = SerVariationBlockSize,
                          Position = SerPositionBlockSize;
    struct Row {
        const char* name;
        int save;  // 1 variation, 2 position, 3 header (the kind word)
        std::uint32_t parts;
        std::size_t size;
        bool variation_ok, position_ok, header_ok;
    };
    const Row rows[] = {
        {"variation", 1, 0, 8 + Line, true, false, false},
        {"position", 2, 0, 8 + Position, false, true, false},
        {"header only", 3, 0, 8 + Header, false, false, true},
        {"header and variation", 3, 1, 8 + Header + Line + Position, false, false, true},
        {"header and position", 3, 2, 8 + Header + Position, false, false, true},
        {"all three", 3, 3, 8 + Header + Line + Position, true, true, true},
    };
    EXPECT_EQ(Header, 880u);
    EXPECT_EQ(Line, 3200u);
    EXPECT_EQ(Position, 640u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        std::string path = dir.File("c.ser");
        const SearchCriteria sample = Sample();
        Error saved = row.save == 1 ? SaveVariation(path, sample)
                      : row.save == 2
                          ? SavePosition(path, sample)
                          : SaveHeader(path, sample, static_cast<Combination>(row.parts));
        ASSERT_TRUE(saved.ok());
        std::string bytes = test::ReadWholeFile(path);
        ASSERT_EQ(bytes.size(), row.size);
        EXPECT_EQ(Word(bytes, 0), static_cast<std::uint32_t>(row.save));
        EXPECT_EQ(Word(bytes, 4), row.parts);
        if (row.save == 3) {
            // Event at 8, White at 8 + 4 * 80, zero-terminated.
            EXPECT_EQ(bytes.substr(8, 9), std::string("World Ch\0", 9));
            EXPECT_EQ(bytes.substr(8 + 4 * 80, 10), std::string("Kasparov,\0", 10));
        }
        if (row.save == 1) {
            EXPECT_EQ(bytes.substr(8, 3), std::string("d4\0", 3));
            EXPECT_EQ(bytes.substr(8 + 200 * 8, 4), std::string("Nf6\0", 4));
        }
        const std::string invalid(messages::InvalidSearchFile);
        SearchCriteria target;
        EXPECT_EQ(LoadVariation(path, target).message(), row.variation_ok ? "" : invalid);
        EXPECT_EQ(LoadPosition(path, target).message(), row.position_ok ? "" : invalid);
        EXPECT_EQ(LoadHeader(path, target).message(), row.header_ok ? "" : invalid);
    }
}

TEST(SerFile, RoundTripsEveryBlock) {
    TempDir dir;
    const SearchCriteria saved = Sample();
    ASSERT_TRUE(SaveHeader(dir.File("all.ser"), saved, Combination::WithVariationAndPosition).ok());
    SearchCriteria loaded;
    loaded.header.Set(HeaderCriterion::SpecificMove, "kept");
    ASSERT_TRUE(LoadHeader(dir.File("all.ser"), loaded).ok());
    for (int field = 0; field < SavedHeaderCriteria; ++field) {
        SCOPED_TRACE(field);
        EXPECT_EQ(loaded.header.fields[static_cast<std::size_t>(field)],
                  saved.header.fields[static_cast<std::size_t>(field)]);
    }
    // The Specific Move is not part of the file.
    EXPECT_EQ(loaded.header.Get(HeaderCriterion::SpecificMove), "kept");
    EXPECT_EQ(loaded.line.WhiteMoves, saved.line.WhiteMoves);
    EXPECT_EQ(loaded.line.BlackMoves, saved.line.BlackMoves);
    EXPECT_EQ(loaded.position.White, saved.position.White);
    EXPECT_EQ(loaded.position.Black, saved.position.Black);

    SearchCriteria position_only;
    ASSERT_TRUE(SavePosition(dir.File("p.ser"), saved).ok());
    ASSERT_TRUE(LoadPosition(dir.File("p.ser"), position_only).ok());
    EXPECT_EQ(position_only.position.Black, saved.position.Black);
    EXPECT_FALSE(position_only.line.Any());
}

TEST(SerFile, RefusesDamagedFilesAndKeepsTheCriteria) {
    TempDir dir;
    std::string good = dir.File("good.ser");
    ASSERT_TRUE(SaveVariation(good, Sample()).ok());
    const std::string bytes = test::ReadWholeFile(good);
    struct Row {
        const char* name;
        std::string content;
        std::string_view message;
    };
    const Row rows[] = {
        {"one byte short", bytes.substr(0, bytes.size() - 1), messages::InvalidSearchFile},
        {"one byte long", bytes + "x", messages::InvalidSearchFile},
        {"kind word only", bytes.substr(0, 4), messages::InvalidSearchFile},
        {"empty", "", messages::InvalidSearchFile},
        {"unknown kind", std::string("\x07\0\0\0\0\0\0\0", 8) + bytes.substr(8),
         messages::InvalidSearchFile},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string path = dir.Write("bad.ser", row.content);
        SearchCriteria criteria;
        criteria.line.WhiteMoves[0].Assign("e4");
        SerKind kind = SerKind::Header;
        EXPECT_EQ(LoadVariation(path, criteria).message(), row.message);
        Combination combination = Combination::Alone;
        EXPECT_EQ(LoadAny(path, criteria, kind, combination).message(), row.message);
        EXPECT_EQ(criteria.line.WhiteMoves[0].view(), "e4");
        EXPECT_EQ(criteria.line.WhiteCount(), 1);
    }
    SearchCriteria criteria;
    EXPECT_EQ(LoadHeader(dir.File("missing.ser"), criteria).message(), messages::ErrorOpeningFile);
}

TEST(SerFile, ChosenNamesGetTheExtension) {
    struct Row {
        const char* chosen;
        const char* saved;
    };
    const Row rows[] = {
        {"kasparov", "kasparov.ser"},       {"kasparov.ser", "kasparov.ser"},
        {"Kasparov.SER", "Kasparov.SER"},   {"kasparov.", "kasparov.ser"},
        {"kasparov.txt", "kasparov.ser"},   {"kasparov.se", "kasparov.ser"},
        {"kasparov.s", "kasparov.ser"},     {"kasparov.html", "kasparov.html.ser"},
        {"dir.v2/list", "dir.v2/list.ser"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        EXPECT_EQ(WithExtension(row.chosen, ".ser"), row.saved);
    }
}

}  // namespace
}  // namespace qorvale::search
