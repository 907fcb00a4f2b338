#include "app/file_dialogs.h"

#include <gtest/gtest.h>

namespace qorvale::app {
namespace {

TEST(FileDialogs, EachDialogRemembersItsPlaceInTheRecord) {
    struct Row {
        FileDialogId dialog;
        std::string_view title;
        std::size_t folder_offset;
        std::size_t name_offset;
        std::size_t name_size;
    };
    constexpr Row rows[] = {
        {FileDialogId::OpenPgn, "Select PGN File", 0x88C, 0x954, 56},
        {FileDialogId::SearchCriteria, "Select Search Criteria File", 0x98C, 0xA54, 56},
        {FileDialogId::Html, "Select Html File", 0xAFC, 0xBC4, 56},
        {FileDialogId::SecondPgn, "Select PGN File", 0xBFC, 0xCC4, 56},
        {FileDialogId::Bitmap, "Select Bitmap File", 0xCFC, 0xDC4, 56},
        {FileDialogId::PreviousFile, "", 0xDFC, 0xEC4, 56},
        {FileDialogId::Jpeg, "Select JPEG File", 0xEFC, 0xFC4, 56},
        {FileDialogId::TreeMerge, "Select Tree Merge File", 0xFFC, 0x10C4, 56},
        {FileDialogId::SplitPgn, "Select PGN File to Split", 0x10FC, 0x11C4, 56},
        {FileDialogId::CraftyPosition, "Select Crafty Position File", 0x11FC, 0x12C4, 56},
        {FileDialogId::CraftyGame, "Select Crafty Game File", 0x12FC, 0x13C4, 56},
        {FileDialogId::CraftyAnnotation, "Select Crafty Annotation File", 0x13FC, 0x14C4, 56},
        {FileDialogId::CraftyExecutable, "Select Crafty Executable", 0x14FC, 0x15C4, 56},
        {FileDialogId::Database, "Select Database", 0x15FC, 0x16C4, 56},
        {FileDialogId::YahooGame, "Select Yahoo Game File", 0x16FC, 0x17C4, 56},
        {FileDialogId::YahooPgn, "Select Yahoo PGN File", 0x17FC, 0x18C4,
         51},  // stops short of the ribbon byte
        {FileDialogId::Gif, "Select GIF File", 0x1944, 0x1A0C, 56},
        {FileDialogId::Png, "Select PNG File", 0x1A44, 0x1B0C, 56},
        {FileDialogId::ExtractedVariations, "Select PGN File for Extracted Variations", 0x1B48,
         0x1C10, 56},
        {FileDialogId::UciEngine, "Select UCI Chess Engine", 0x1C74, 0x1D3C, 56},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.dialog));
        EXPECT_EQ(DialogText(row.dialog).title, row.title);
        OptionsRecord record;
        EXPECT_EQ(DialogFolder(record, row.dialog).size(), 200u);
        EXPECT_EQ(DialogFileName(record, row.dialog).size(), row.name_size);
        SetText(DialogFolder(record, row.dialog), "/home/u/chess");
        SetText(DialogFileName(record, row.dialog), std::string(80, 'n'));
        OptionsBytes bytes = EncodeOptions(record);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + row.folder_offset)),
                  "/home/u/chess");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + row.name_offset)),
                  std::string(row.name_size - 1, 'n'));
    }
}

}  // namespace
}  // namespace qorvale::app
