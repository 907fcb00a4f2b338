#include "output/html_diagram.h"

#include <algorithm>
#include <cstdio>

#include "output/messages.h"
#include "platform/whole_file.h"

namespace qorvale::output {

namespace {

constexpr std::string_view PieceLetters = "pnbrqk";
constexpr std::string_view EnglishLetters = "KQRBN";
// The white chess symbols, king to knight, in the order of EnglishLetters.
constexpr std::string_view Figurines[] = {"&#9812;", "&#9813;", "&#9814;", "&#9815;", "&#9816;"};

// The code point of the UTF-8 sequence at `at` (advanced past it), or -1 when it is no valid
// sequence.
long DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    int length = lead < 0x80                   ? 1
                 : lead >= 0xC2 && lead < 0xE0 ? 2
                 : lead >= 0xE0 && lead < 0xF0 ? 3
                 : lead >= 0xF0 && lead < 0xF5 ? 4
                                               : 0;
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) return -1;
    long code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) return -1;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr long Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return -1;
    }
    at += static_cast<std::size_t>(length);
    return code;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (DecodeUtf8(text, at) < 0) return false;
    }
    return true;
}

void AppendEscaped(std::string& out, long code) {
    switch (code) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '"':
            out += "&quot;";
            return;
        default:
            break;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else {
        out += "&#" + std::to_string(code) + ";";
    }
}

void AppendUtf8(std::string& out, long code) {
    const auto byte = [&out](long value) { out += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

bool IsSquareImageName(std::string_view name) {
    if (name.ends_with('h')) name.remove_suffix(1);
    if (name == "w" || name == "b") return true;
    return name.size() == 3 && (name[0] == 'w' || name[0] == 'b') &&
           PieceLetters.find(name[1]) != std::string_view::npos &&
           (name[2] == 'w' || name[2] == 'b');
}

bool IsMarked(const DiagramPosition& position, int file, int rank) {
    return std::any_of(position.marked.begin(), position.marked.end(),
                       [&](const BoardSquare& s) { return s.file == file && s.rank == rank; });
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const bool utf8 = IsUtf8(text);
    for (std::size_t at = 0; at < text.size();) {
        AppendEscaped(out, utf8 ? DecodeUtf8(text, at) : static_cast<unsigned char>(text[at++]));
    }
    return out;
}

std::string HtmlUnescape(std::string_view text) {
    static constexpr std::pair<std::string_view, char> Named[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view rest = text.substr(at);
        const auto named =
            std::find_if(std::begin(Named), std::end(Named),
                         [rest](const auto& ref) { return rest.starts_with(ref.first); });
        if (named != std::end(Named)) {
            out += named->second;
            at += named->first.size();
            continue;
        }
        const std::size_t end = rest.find(';');
        long code = -1;
        if (rest.starts_with("&#") && end != std::string_view::npos && end > 2 && end < 10 &&
            std::all_of(rest.begin() + 2, rest.begin() + static_cast<std::ptrdiff_t>(end),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            code = std::stol(std::string(rest.substr(2, end - 2)));
        }
        if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out += text[at++];
            continue;
        }
        AppendUtf8(out, code);
        at += end + 1;
    }
    return out;
}

std::string HtmlMoveText(std::string_view move, const HtmlNotation& notation) {
    std::string out;
    for (char c : move) {
        const std::size_t piece = EnglishLetters.find(c);
        if (piece == std::string_view::npos) {
            AppendEscaped(out, static_cast<unsigned char>(c));
        } else if (notation.figurines) {
            out += Figurines[piece];
        } else if (notation.piece_letters.size() == EnglishLetters.size()) {
            AppendEscaped(out, static_cast<unsigned char>(notation.piece_letters[piece]));
        } else {
            out += c;
        }
    }
    return out;
}

std::string SquareImageName(std::uint32_t code, int file, int rank, bool marked) {
    const char square = chess::SquareColour(file, rank) == 0 ? 'b' : 'w';
    std::string name;
    if (code != chess::Empty) {
        name += chess::IsBlackCode(code) ? 'b' : 'w';
        name += PieceLetters[chess::KindOf(code) - 1];
    }
    name += square;
    if (marked) name += 'h';
    return name;
}

std::string HtmlDiagramText(const DiagramPosition& position, bool flipped, std::string_view image,
                            const HtmlNotation& notation) {
    std::string html = "<div align=\"center\">\r\n<table border=\"1\">\r\n<tr><td>\r\n";
    if (!image.empty()) {
        html += "<img src=\"" + HtmlEscape(image) + "\">\r\n";
    } else {
        for (int row = 0; row < 8; ++row) {
            const int rank = flipped ? row + 1 : 8 - row;
            for (int column = 0; column < 8; ++column) {
                const int file = flipped ? 8 - column : column + 1;
                const std::uint32_t code =
                    position.board[static_cast<std::size_t>(file)][static_cast<std::size_t>(rank)];
                html += "<img src=\"" +
                        SquareImageName(code, file, rank, IsMarked(position, file, rank)) +
                        ".gif\" />";
            }
            html += "<br />\r\n";
        }
    }
    html += "</td></tr>\r\n";
    if (position.caption.present()) {
        html += "<caption align=\"bottom\">\r\n<span style=\"font-style: italic\">Position after ";
        html += std::to_string(position.caption.number);
        html += position.caption.black ? "... " : ". ";
        html += HtmlMoveText(position.caption.move, notation);
        html += "\r\n</span>\r\n</caption>\r\n";
    }
    html += "</table>\r\n</div>\r\n";
    return html;
}

std::vector<std::string> SquareImagesIn(std::string_view page) {
    std::vector<std::string> names;
    constexpr std::string_view Opening = "<img src=\"";
    for (std::size_t at = page.find(Opening); at != std::string_view::npos;
         at = page.find(Opening, at + 1)) {
        const std::size_t start = at + Opening.size();
        const std::size_t end = page.find(".gif\"", start);
        if (end == std::string_view::npos || end - start > 4) continue;
        std::string name(page.substr(start, end - start));
        if (IsSquareImageName(name) && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

Error AddSquareImages(std::span<const std::string> names, const std::string& folder,
                      const DiagramStyle& style, const DiagramArt& art,
                      std::vector<platform::FileContent>& batch) {
    for (const std::string& name : names) {
        std::string_view rest = name;
        const bool marked = rest.ends_with('h');
        if (marked) rest.remove_suffix(1);
        std::uint32_t code = chess::Empty;
        if (rest.size() == 3) {
            code = static_cast<std::uint32_t>(PieceLetters.find(rest[1]) + 1);
            if (rest[0] == 'b') code += chess::BlackOffset;
        }
        Result<std::vector<std::uint8_t>> bytes = EncodeDiagram(
            DrawSquareImage(code, rest.back() == 'b', marked, style, art), DiagramKind::Gif);
        if (!bytes.ok()) return bytes.error();
        batch.push_back({folder + name + ".gif", std::move(*bytes)});
    }
    return Error::Ok();
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

Error WriteHtmlDiagram(const DiagramPosition& position, const DiagramStyle& style,
                       const DiagramArt& art, const HtmlNotation& notation,
                       const std::string& page_path, platform::FileSystem& files,
                       std::string_view image) {
    const std::string page = HtmlDiagramText(position, style.flipped, image, notation);
    std::vector<platform::FileContent> batch;
    if (image.empty()) {
        const std::vector<std::string> names = SquareImagesIn(page);
        if (Error error = AddSquareImages(names, FolderOf(page_path), style, art, batch)) {
            return error;
        }
    }
    // The page goes last, so that it never shows before its images.
    batch.push_back({page_path, {page.begin(), page.end()}});
    if (!platform::WriteWholeFiles(files, batch)) return Error(std::string(ErrorCreatingFile));
    return Error::Ok();
}

Result<std::string_view> WriteHtmlDiagramSeries(std::span<const DiagramPosition> positions,
                                                const DiagramStyle& style, const DiagramArt& art,
                                                const HtmlNotation& notation, std::string_view base,
                                                platform::FileSystem& files,
                                                const SeriesStopRequest& stop) {
    const std::string folder = FolderOf(base);
    std::vector<std::string> images;  // written once for the whole series
    return RunSeries(
        positions, stop, files, ErrorCreatingFile,
        [&](const DiagramPosition& position, std::vector<platform::FileContent>& batch) -> Error {
            const std::string page = HtmlDiagramText(position, style.flipped, {}, notation);
            std::vector<std::string> missing;
            for (std::string& name : SquareImagesIn(page)) {
                if (std::find(images.begin(), images.end(), name) == images.end()) {
                    images.push_back(name);
                    missing.push_back(std::move(name));
                }
            }
            if (Error error = AddSquareImages(missing, folder, style, art, batch)) return error;
            batch.push_back(
                {PerMoveName(base, position.caption, "html"), {page.begin(), page.end()}});
            return Error::Ok();
        });
}

}  // namespace qorvale::output
