#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "search/search_criteria.h"

namespace qorvale::search {

// The search criteria file (`.ser`), little-endian:
//   u32  kind: 1 variation, 2 position, 3 header
//   u32  parts (kind 3 only, else 0): 0 header only, 1 or 3 header + variation + position,
//        2 header + position
//   then the blocks, in this order, as present:
//   header     11 x 80 bytes: Event .. Black ELO, zero-terminated (Specific Move is not kept)
//   variation  200 x 8 bytes White's moves, then 200 x 8 bytes Black's
//   position   40 x 8 bytes White's entries, then 40 x 8 bytes Black's
enum class SerKind : std::uint32_t { Variation = 1, Position = 2, Header = 3 };

inline constexpr std::size_t SerHeaderBlockSize = SavedHeaderCriteria * CriteriaFieldSize;
inline constexpr std::size_t SerVariationBlockSize = 2 * MaxLineMoves * 8;
inline constexpr std::size_t SerPositionBlockSize = 2 * MaxPositionEntries * 8;

// Writers; "Error opening file." when the file cannot be created or written.
Error SaveVariation(const std::string& path, const SearchCriteria& criteria);
Error SavePosition(const std::string& path, const SearchCriteria& criteria);
// The parts word is the combination in use.
Error SaveHeader(const std::string& path, const SearchCriteria& criteria, Combination combination);

// Readers. "Error opening file." when the file cannot be opened, "Invalid search file." for a
// kind or parts the load does not accept, or a file too short for its blocks; `criteria` is left
// as it was after either failure.
// Kind 1 (parts 0), or kind 3 with parts 3 (then header and position as well).
Error LoadVariation(const std::string& path, SearchCriteria& criteria);
// Kind 2, or kind 3 with parts 3.
Error LoadPosition(const std::string& path, SearchCriteria& criteria);
// Kind 3 with any parts; loads the blocks the parts name.
Error LoadHeader(const std::string& path, SearchCriteria& criteria);
// Whatever the file holds, by its kind. Sets `kind` and, for a header file, the combination its
// parts word names (Alone for the other kinds) on success.
Error LoadAny(const std::string& path, SearchCriteria& criteria, SerKind& kind,
              Combination& combination);

// The name a file chosen in the search's file dialog is saved under: `extension` (".ser", ".dir"
// or ".add") added unless the name already ends in it, compared without regard to case; an
// extension of one to three characters, or a bare final ".", is cut off first.
std::string WithExtension(std::string_view name, std::string_view extension);

// The blocks alone, as the directory results file carries them too.
void AppendHeaderBlock(std::vector<std::uint8_t>& out, const HeaderCriteria& header);
void AppendVariationBlock(std::vector<std::uint8_t>& out, const VariationCriteria& line);
void AppendPositionBlock(std::vector<std::uint8_t>& out, const PositionCriteria& position);
// Each reads exactly its block size from `in`; the header block holds `fields` fields (a results
// file written without its format flags keeps only the first nine).
void ReadHeaderBlock(const std::uint8_t* in, HeaderCriteria& header,
                     int fields = SavedHeaderCriteria);
void ReadVariationBlock(const std::uint8_t* in, VariationCriteria& line);
void ReadPositionBlock(const std::uint8_t* in, PositionCriteria& position);

}  // namespace qorvale::search
