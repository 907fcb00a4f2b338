#include "output/annotation_file.h"

#include <algorithm>

#include "base/bytes.h"
#include "output/messages.h"
#include "platform/whole_file.h"

namespace qorvale::output {

namespace {

constexpr std::size_t LineLimit = 81;
constexpr std::uint32_t SideFileVersion = 1;
constexpr std::size_t MoveTextBytes = 8;
constexpr std::size_t HintBytes = 3;
constexpr std::size_t StateOffset = 4 + 2 * 1600;
constexpr std::size_t MovetextOffset = 1284;
constexpr std::size_t MaxSideMovetext = GameLineStateBytes - MovetextOffset;
constexpr auto FullMoveSlots = static_cast<std::size_t>(chess::MaxFullMoves);

Error OpenError() { return Error(std::string(ErrorOpeningHtmlFile)); }

bool ValidCode(std::uint8_t code) { return code <= 6 || (code >= 11 && code <= 16); }

}  // namespace

std::optional<DiagramKind> DiagramTypeKind(AnnotationDiagramType type) {
    switch (type) {
        case AnnotationDiagramType::Html:
            return std::nullopt;
        case AnnotationDiagramType::Bitmap:
        case AnnotationDiagramType::BitmapWithColor:
            return DiagramKind::Bmp;
        case AnnotationDiagramType::Gif:
        case AnnotationDiagramType::GifWithColor:
            return DiagramKind::Gif;
        case AnnotationDiagramType::Png:
        case AnnotationDiagramType::PngWithColor:
            return DiagramKind::Png;
        case AnnotationDiagramType::Jpeg:
        case AnnotationDiagramType::JpegWithColor:
            return DiagramKind::Jpeg;
    }
    return std::nullopt;
}

bool DiagramTypeUsesBoardColours(AnnotationDiagramType type) {
    return type != AnnotationDiagramType::Html && static_cast<int>(type) % 2 == 0;
}

std::string StartAnnotationText(const AnnotationTitle& title) {
    std::string page = "<html>\r\n";
    if (!title.title.empty()) {
        page += "<head>\r\n<title>" + HtmlEscape(title.title) + "</title>\r\n</head>\r\n";
    }
    page += "<body bgcolor=\"#ffffff\">\r\n<font face=\"Arial\">\r\n";
    if (!title.heading.empty()) page += "<h2>" + HtmlEscape(title.heading) + "</h2>\r\n";
    if (!title.subheading.empty()) page += "<h3>" + HtmlEscape(title.subheading) + "</h3>\r\n";
    page += "<hr>\r\n";
    return page;
}

std::string MoveRunText(std::span<const MoveCaption> moves, const HtmlNotation& notation) {
    std::string text;
    std::string line;
    auto add = [&](const std::string& item) {
        if (!line.empty() && line.size() + item.size() >= LineLimit) {
            text += line + "\r\n";
            line.clear();
        }
        line += item;
    };
    std::size_t at = 0;
    if (!moves.empty() && moves[0].black) {
        add(std::to_string(moves[0].number) + "..." + HtmlMoveText(moves[0].move, notation) + " ");
        at = 1;
    }
    for (; at < moves.size(); ++at) {
        std::string item =
            std::to_string(moves[at].number) + "." + HtmlMoveText(moves[at].move, notation);
        if (at + 1 < moves.size() && moves[at + 1].black) {
            item += " " + HtmlMoveText(moves[++at].move, notation) + " ";
        }
        add(item);
    }
    text += line;
    while (text.ends_with("\r\n")) text.resize(text.size() - 2);
    return text;
}

void AppendMoves(std::string& page, std::string_view moves) {
    page += "<p><b>";
    page += moves;
    page += "</b></p>\r\n";
}

void AppendComment(std::string& page, std::string_view comment) {
    page += "<blockquote><p>\r\n";
    std::string_view rest = comment;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        page += HtmlEscape(line);
        page += "\r\n";
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    page += "</p></blockquote>\r\n";
}

bool AppendDiagram(std::string& page, std::string_view diagram_html) {
    while (!diagram_html.empty()) {
        const std::size_t end = diagram_html.find("\r\n");
        const std::size_t length = end == std::string_view::npos ? diagram_html.size() : end + 2;
        if (page.size() + length >= MaxAnnotationText) return false;
        page += diagram_html.substr(0, length);
        diagram_html.remove_prefix(length);
    }
    return true;
}

std::string AnnotationImageBase(std::string_view annotation_file) {
    std::string base(annotation_file);
    if (base.size() >= 5) {
        std::string ending = base.substr(base.size() - 5);
        std::transform(ending.begin(), ending.end(), ending.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
        if (ending == ".html") base.resize(base.size() - 5);
    }
    return base;
}

std::string SideFileName(std::string_view annotation_file) {
    std::string name(annotation_file);
    if (!name.empty()) name.back() = 'x';
    return name;
}

std::vector<std::uint8_t> EncodeSideFile(const AnnotationGame& game) {
    std::vector<std::uint8_t> bytes(SideFileBytes, 0);
    std::uint8_t* p = bytes.data();
    PutU32(p, game.half_moves);
    for (std::size_t k = 0; k < FullMoveSlots; ++k) {
        std::copy_n(game.moves.WhiteMoves[k].bytes.begin(), MoveTextBytes, p + 4 + k * 8);
        std::copy_n(game.moves.BlackMoves[k].bytes.begin(), MoveTextBytes, p + 1604 + k * 8);
    }
    std::uint8_t* state = p + StateOffset;
    PutU32(state, SideFileVersion);
    PutI32(state + 4, game.full_moves);
    PutU32(state + 8, game.start_move_number);
    PutU32(state + 12, game.starts_from_setup ? 1u : 0u);
    const chess::Board64 start = chess::ToBoard64(game.start);
    std::copy(start.begin(), start.end(), state + 16);
    for (std::size_t k = 0; k < FullMoveSlots; ++k) {
        std::copy_n(game.moves.WhiteHints[k].bytes.begin(), HintBytes, state + 80 + k * 3);
        std::copy_n(game.moves.BlackHints[k].bytes.begin(), HintBytes, state + 680 + k * 3);
    }
    const std::size_t length = std::min(game.movetext.size(), MaxSideMovetext);
    PutU32(state + 1280, static_cast<std::uint32_t>(length));
    std::copy_n(game.movetext.begin(), length, state + MovetextOffset);
    return bytes;
}

Result<AnnotationGame> DecodeSideFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != SideFileBytes) return OpenError();
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* state = p + StateOffset;
    AnnotationGame game;
    game.half_moves = GetU32(p);
    game.full_moves = GetI32(state + 4);
    game.start_move_number = GetU32(state + 8);
    const std::uint32_t flags = GetU32(state + 12);
    const std::uint32_t length = GetU32(state + 1280);
    if (GetU32(state) != SideFileVersion || game.full_moves < 0 ||
        game.full_moves > chess::MaxFullMoves ||
        game.half_moves > static_cast<std::uint32_t>(2 * game.full_moves) || flags > 1 ||
        length > MaxSideMovetext) {
        return OpenError();
    }
    game.starts_from_setup = flags == 1;
    chess::Board64 start{};
    std::copy_n(state + 16, start.size(), start.begin());
    if (!std::all_of(start.begin(), start.end(), ValidCode)) return OpenError();
    game.start = chess::FromBoard64(start);
    for (std::size_t k = 0; k < FullMoveSlots; ++k) {
        for (auto [text, source] : {std::pair{&game.moves.WhiteMoves[k], p + 4 + k * 8},
                                    std::pair{&game.moves.BlackMoves[k], p + 1604 + k * 8}}) {
            // A text keeps its terminating zero.
            if (source[MoveTextBytes - 1] != 0) return OpenError();
            std::copy_n(source, MoveTextBytes, text->bytes.begin());
        }
        std::copy_n(state + 80 + k * 3, HintBytes, game.moves.WhiteHints[k].bytes.begin());
        std::copy_n(state + 680 + k * 3, HintBytes, game.moves.BlackHints[k].bytes.begin());
    }
    game.movetext.assign(reinterpret_cast<const char*>(state + MovetextOffset), length);
    return game;
}

Error SaveAnnotationFile(const std::string& path, std::string_view page, const AnnotationGame& game,
                         platform::FileSystem& files, std::vector<platform::FileContent> images) {
    std::vector<platform::FileContent> batch = std::move(images);
    platform::FileContent& whole = batch.emplace_back();
    whole.path = path;
    whole.bytes.reserve(page.size() + AnnotationClosing.size());
    whole.bytes.assign(page.begin(), page.end());
    whole.bytes.insert(whole.bytes.end(), AnnotationClosing.begin(), AnnotationClosing.end());
    batch.push_back({SideFileName(path), EncodeSideFile(game)});
    if (!platform::WriteWholeFiles(files, batch)) return Error(std::string(ErrorCreatingHtmlFile));
    return Error::Ok();
}

Result<OpenedAnnotation> OpenAnnotationFile(const std::string& path) {
    std::optional<std::vector<std::uint8_t>> page =
        platform::ReadFileStart(path, static_cast<std::int64_t>(MaxAnnotationText));
    std::optional<std::vector<std::uint8_t>> side =
        platform::ReadFileStart(SideFileName(path), static_cast<std::int64_t>(SideFileBytes) + 1);
    if (!page || !side) return OpenError();
    Result<AnnotationGame> game = DecodeSideFile(*side);
    if (!game.ok()) return game.error();
    OpenedAnnotation opened;
    opened.page.assign(page->begin(), page->end());
    // A page changed by hand may have lost its closing tags; then nothing is cut.
    if (opened.page.ends_with(AnnotationClosing)) {
        opened.page.resize(opened.page.size() - AnnotationClosing.size());
    }
    opened.game = std::move(*game);
    return opened;
}

}  // namespace qorvale::output
