#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "search/fast_file.h"

namespace qorvale::search {

// The games of a PGN file as the fast-file generator reads them: tags by the header reader, the
// main line by the movetext parser, replayed from the standard start whatever the FEN tag says,
// and each half-move encoded as it is played, from the squares it wrote (EncodeMoveChange: the
// code comparing the boards before and after it would give).
//
// It opens its own handle on the file and keeps its own chess state and game lines, so it can
// run on the worker thread while the window keeps the open file. The game offsets are a copy of
// the window's game index, taken before the worker starts.
class PgnGameSource final : public FastFileGameSource {
  public:
    PgnGameSource(std::string pgn_path, std::vector<std::uint32_t> offsets);
    ~PgnGameSource() override;

    // "Error opening file." when the file cannot be opened.
    Error Open();
    // The user's piece letters, read besides the English and German ones; call after Open.
    void SetDisplayLetters(std::string_view letters);
    bool ReadGame(std::int32_t index, bool merge, FastFileGame& game) override;

  private:
    struct Parts;
    bool Resynchronise(std::int32_t index);

    std::string pgn_path_;
    std::vector<std::uint32_t> offsets_;
    std::unique_ptr<Parts> parts_;
};

}  // namespace qorvale::search
