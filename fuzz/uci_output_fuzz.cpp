// Any bytes as a UCI engine's output: the handshake (option lines), then info and bestmove lines
// read against one of a few positions, each principal variation turned into SAN.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "engines/engine_board.h"
#include "engines/engine_channel.h"
#include "engines/uci_engine.h"
#include "engines/uci_output.h"

namespace {

using namespace qorvale::engines;

// The output handed out in pieces of a fixed size, so that lines are cut between reads.
class BytesChannel final : public EngineChannel {
  public:
    BytesChannel(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
    bool Write(std::string_view) override { return true; }
    ReadStatus Read(std::string& out, std::size_t max) override {
        if (bytes_.empty()) return ReadStatus::Ended;
        if (given_this_read_) return ReadStatus::Nothing;
        std::size_t taken = std::min({bytes_.size(), max, piece_});
        out.append(bytes_.substr(0, taken));
        bytes_.remove_prefix(taken);
        given_this_read_ = true;
        return ReadStatus::Data;
    }
    bool WaitForOutput(std::chrono::milliseconds) override { return true; }
    void CloseInput() override {}
    bool HasEnded() override { return bytes_.empty(); }
    void Kill() override {}
    void Close(std::chrono::milliseconds) override {}
    void NextRead() { given_this_read_ = false; }

  private:
    std::string_view bytes_;
    std::size_t piece_;
    bool given_this_read_ = false;
};

constexpr std::string_view Fens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 40",
    "4k3/8/8/8/8/8/8/4K3 b - - 0 1",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t piece = 1 + data[1] * 37u;
    auto channel = std::make_unique<BytesChannel>(bytes, piece);
    BytesChannel* reads = channel.get();
    UciEngine uci(std::move(channel));
    const auto start = UciEngine::Clock::now();
    uci.Start(start);
    EnginePosition position = ReadEngineFen(Fens[data[0] % 3])->position;
    uci.Analyse(position, "go");
    for (int poll = 0; poll < 10000 && uci.Running(); ++poll) {
        reads->NextRead();
        (void)uci.Poll(start);
    }
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) end = bytes.size();
        (void)ParseUciOption(bytes.substr(at, end - at));
        at = end + 1;
    }
    return 0;
}
