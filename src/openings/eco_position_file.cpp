#include "openings/eco_position_file.h"

#include <vector>

#include "openings/eco_table.h"
#include "openings/messages.h"
#include "openings/opening_files.h"
#include "platform/file.h"
#include "platform/folder.h"
#include "search/move_code.h"

namespace qorvale::openings {

Error BuildEcoPositionFile(std::span<const search::GameRecord> records, const std::string& ecd_path,
                           Ui& ui) {
    auto fail = [&ui]() {
        ui.report(messages::InitializationError);
        return Error(std::string(messages::InitializationError));
    };
    platform::File file = platform::File::Create(ecd_path);
    if (!file.IsOpen()) return fail();
    std::vector<chess::Board64> positions;
    std::vector<std::uint8_t> entry_bytes;
    for (const search::GameRecord& record : records) {
        // The castling, promotion and en-passant rules of the position file are those of the
        // fast file's replay, so the boards come from it.
        search::ReplayMoveCodes(record.codes, positions);
        entry_bytes.clear();
        for (std::size_t half_move = 1; half_move < positions.size(); ++half_move) {
            entry_bytes.insert(entry_bytes.end(), positions[half_move].begin(),
                               positions[half_move].end());
        }
        if (!file.Write(entry_bytes.data(), static_cast<std::int64_t>(entry_bytes.size()))) {
            return fail();
        }
    }
    return Error::Ok();
}

Error BuildEcoPositionFile(const std::string& trf_path, const std::string& ecd_path, Ui& ui) {
    Result<search::FastFileReader> reader = search::FastFileReader::Open(trf_path);
    if (!reader.ok()) {
        ui.report(reader.error().message());
        return reader.error();
    }
    std::vector<search::GameRecord> records;
    search::GameRecord record;
    while (reader->Next(record) == search::FastFileReader::Step::Record) records.push_back(record);
    return BuildEcoPositionFile(records, ecd_path, ui);
}

std::string EcoPositionFilePathFor(std::string_view trf_path) {
    std::string folder = platform::FolderOf(std::string(trf_path));
    if (platform::NameOf(folder) == OpeningsFolderName) folder = platform::FolderOf(folder);
    return platform::JoinPath(folder, EcoPositionFileName);
}

}  // namespace qorvale::openings
