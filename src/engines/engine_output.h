#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_channel.h"

namespace qorvale::engines {

// One read takes at most this many bytes of an engine's output; the rest waits in the pipe for
// the next read, so a flooding engine costs each read the same.
inline constexpr std::size_t EngineOutputSize = 100000;

// How a read waits for the engine's first bytes.
enum class WaitMode : int {
    Block = 0,  // until the engine writes (at most the reader's block limit)
    Sleep = 1,  // up to half a second; nothing then is an empty read
    Check = 2,  // not at all
};

// The engine's output as it is read: `EngineOutput()` holds the bytes of the last read and
// `Lines()` the lines they complete. A line ends at CR or LF, CR LF being one end; the start of
// a line that the read cut off is kept and completed by the next read. A line longer than
// EngineOutputSize bytes is taken in pieces of at most that size, cut at character boundaries.
class EngineOutputReader {
  public:
    // The pauses of a read: after the first bytes the reader looks again after `settle` and
    // goes on while more keeps arriving (0 reads only what is there now, as a poll does).
    struct Pauses {
        std::chrono::milliseconds sleep{500};
        std::chrono::milliseconds settle{500};
        std::chrono::milliseconds block_limit{10000};
    };

    // ReadEngineOutput: reads what the engine has written, up to EngineOutputSize bytes.
    // Returns Data when bytes were read, Nothing when there were none, Ended once the engine's
    // output has ended and nothing more was read.
    ReadStatus Read(EngineChannel& channel, WaitMode wait, const Pauses& pauses);
    ReadStatus Read(EngineChannel& channel, WaitMode wait) { return Read(channel, wait, Pauses{}); }

    // The next read keeps its bytes only up to their last 's' and ends its last line there:
    // Crafty's help pager leaves a prompt behind its text.
    void CutNextReadAfterLastS();

    const std::string& EngineOutput() const { return output_; }
    // The lines the last read completed, without their line ends. Valid until the next read.
    const std::vector<std::string_view>& Lines() const { return lines_; }
    bool Ended() const { return ended_; }

  private:
    void SplitLines(bool flush);
    void AddLine(std::string_view line);

    std::string output_;
    std::string text_;   // carried start of a line + this read; lines_ point into it
    std::string carry_;  // start of a line that the last read did not end
    bool skip_line_feed_ = false;
    bool ended_ = false;
    bool cut_after_s_ = false;
    std::vector<std::string_view> lines_;
};

// The next word of `text` from `at` (blanks and tabs separate words); `at` moves past it.
// Empty at the end.
std::string_view NextWord(std::string_view text, std::size_t& at);

// Engine output as UTF-8 for the screen: unchanged when it is valid UTF-8, else read as Latin-1.
std::string DisplayText(std::string_view bytes);

// The length of the longest start of `text` of at most `max` bytes that does not end inside a
// UTF-8 character (`max` itself where the bytes are no UTF-8).
std::size_t CharacterBoundary(std::string_view text, std::size_t max);

}  // namespace qorvale::engines
