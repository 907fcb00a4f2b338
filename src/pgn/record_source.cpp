#include "pgn/record_source.h"

#include "pgn/record_reader.h"
#include "platform/file.h"

namespace qorvale::pgn {

int MemoryRecordSource::ReadNext(std::string& record) {
    record.clear();
    if (position_ == 0 && text_.starts_with("\xEF\xBB\xBF")) position_ = 3;
    while (position_ < text_.size() && text_[position_] == ' ') ++position_;
    if (position_ >= text_.size()) return 0;
    std::size_t start = position_;
    std::size_t end = text_.find('\n', start);
    std::size_t line_end = end == std::string_view::npos ? text_.size() : end;
    std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
    if (line_end - start > MaxLineLength) {
        // As the file reader splits a line too long to return whole: at its last space, else at
        // MaxLineLength; nothing is dropped.
        std::size_t cut = text_.rfind(' ', start + MaxLineLength - 1);
        if (cut == std::string_view::npos || cut <= start) {
            line_end = start + MaxLineLength;
            next = line_end;
        } else {
            line_end = cut;
            next = cut + 1;
        }
    }
    std::size_t kept_end = line_end;
    while (kept_end > start && static_cast<unsigned char>(text_[kept_end - 1]) <= 13) --kept_end;
    record.assign(text_.substr(start, kept_end - start));
    position_ = next;
    return static_cast<int>(next - start);
}

int HandleRecordSource::ReadNext(std::string& record) {
    std::string_view text;
    int length = reader_.ReadRecord(file_, text);
    record.assign(text);
    return length;
}

}  // namespace qorvale::pgn
