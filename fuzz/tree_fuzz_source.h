#pragma once

#include <memory>
#include <string>

#include "openings/tree_source.h"
#include "scratch_file.h"

// The small merge file the tree targets grow their trees on: a few real openings as move codes.
class TreeFuzzSource {
  public:
    static const TreeFuzzSource& Get() {
        static const TreeFuzzSource source;
        return source;
    }

    std::unique_ptr<qorvale::openings::TreeSource> Open() const {
        auto opened = qorvale::openings::TreeSource::Open(request_);
        return opened ? std::move(opened).value() : nullptr;
    }
    qorvale::openings::SourceStamp Stamp() const { return Open()->Stamp(); }

  private:
    TreeFuzzSource() {
        // 1.e4 e5 2.Nf3 Nc6 1-0; 1.e4 c5 0-1; 1.d4 d5 2.c4 draw; 1.e4 e5 2.Nf3 Nf6 1-0.
        const std::uint16_t words[] = {0x2321, 0x2426, 0x2A30, 0x150F, 0x8002, 0x2321,
                                       0x1416, 0x8000, 0x1B19, 0x1C1E, 0x1311, 0x8001,
                                       0x2321, 0x2426, 0x2A30, 0x2D37, 0x8002, 0x0000};
        std::string bytes;
        for (std::uint16_t word : words) {
            bytes += static_cast<char>(word & 0xFF);
            bytes += static_cast<char>(word >> 8);
        }
        request_.kind = qorvale::openings::TreeSourceKind::MergeFile;
        request_.path = Scratch().Write(
            "games.trm", reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }

    qorvale::openings::TreeSourceRequest request_;
};
