#include "engines/engine_output.h"

namespace qorvale::engines {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
int SequenceLength(unsigned char byte) {
    if (byte < 0x80) return 1;
    if (byte >= 0xC2 && byte <= 0xDF) return 2;
    if (byte >= 0xE0 && byte <= 0xEF) return 3;
    if (byte >= 0xF0 && byte <= 0xF4) return 4;
    return 0;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int length = SequenceLength(lead);
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            if (!IsContinuation(
                    static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]))) {
                return false;
            }
        }
        if (length >= 3) {
            auto second = static_cast<unsigned char>(text[i + 1]);
            // Overlong forms, UTF-16 surrogates and code points beyond U+10FFFF.
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
                return false;
            }
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

}  // namespace

ReadStatus EngineOutputReader::Read(EngineChannel& channel, WaitMode wait, const Pauses& pauses) {
    output_.clear();
    lines_.clear();
    if (ended_) return ReadStatus::Ended;
    if (wait == WaitMode::Block && !channel.WaitForOutput(pauses.block_limit)) {
        return ReadStatus::Nothing;
    }
    if (wait == WaitMode::Sleep && !channel.WaitForOutput(pauses.sleep)) return ReadStatus::Nothing;
    bool ended = false;
    while (output_.size() < EngineOutputSize) {
        ReadStatus got = channel.Read(output_, EngineOutputSize - output_.size());
        if (got == ReadStatus::Ended) {
            ended = true;
            break;
        }
        if (got == ReadStatus::Nothing && (output_.empty() || pauses.settle.count() == 0 ||
                                           !channel.WaitForOutput(pauses.settle))) {
            break;
        }
    }
    bool flush = ended;
    if (cut_after_s_) {
        cut_after_s_ = false;
        std::size_t last_s = output_.rfind('s');
        output_.resize(last_s == std::string::npos ? 0 : last_s + 1);
        flush = true;
    }
    ended_ = ended;
    SplitLines(flush);
    if (!output_.empty()) return ReadStatus::Data;
    return ended ? ReadStatus::Ended : ReadStatus::Nothing;
}

void EngineOutputReader::CutNextReadAfterLastS() { cut_after_s_ = true; }

void EngineOutputReader::AddLine(std::string_view line) {
    // However long a line, the list gets it in pieces of one buffer at most.
    while (line.size() > EngineOutputSize) {
        std::size_t cut = CharacterBoundary(line, EngineOutputSize);
        if (cut == 0) cut = EngineOutputSize;
        lines_.push_back(line.substr(0, cut));
        line.remove_prefix(cut);
    }
    lines_.push_back(line);
}

void EngineOutputReader::SplitLines(bool flush) {
    text_.assign(carry_);
    text_ += output_;
    carry_.clear();
    std::size_t start = 0;
    if (skip_line_feed_ && !text_.empty()) {
        if (text_[0] == '\n') start = 1;
        skip_line_feed_ = false;
    }
    const std::string_view text(text_);
    while (true) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) break;
        AddLine(text.substr(start, end - start));
        if (text[end] == '\r') {
            if (end + 1 == text.size()) {
                skip_line_feed_ = true;
            } else if (text[end + 1] == '\n') {
                ++end;
            }
        }
        start = end + 1;
    }
    std::string_view rest = text.substr(start);
    if (rest.empty()) return;
    if (flush) {
        AddLine(rest);
    } else if (rest.size() >= EngineOutputSize) {
        std::size_t cut = CharacterBoundary(rest, EngineOutputSize);
        if (cut == 0) cut = EngineOutputSize;
        AddLine(rest.substr(0, cut));
        carry_.assign(rest.substr(cut));
    } else {
        carry_.assign(rest);
    }
}

std::string_view NextWord(std::string_view text, std::size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    std::size_t start = at;
    while (at < text.size() && text[at] != ' ' && text[at] != '\t') ++at;
    return text.substr(start, at - start);
}

std::string DisplayText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::size_t CharacterBoundary(std::string_view text, std::size_t max) {
    if (max > text.size()) max = text.size();
    for (std::size_t back = 1; back <= 4 && back <= max; ++back) {
        auto byte = static_cast<unsigned char>(text[max - back]);
        if (!IsContinuation(byte)) {
            // A lead byte whose sequence would run past `max` starts the part cut off.
            return static_cast<std::size_t>(SequenceLength(byte)) > back ? max - back : max;
        }
    }
    return max;
}

}  // namespace qorvale::engines
