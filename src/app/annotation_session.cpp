#include "app/annotation_session.h"

#include <algorithm>

#include "app/diagram_output.h"
#include "output/diagram_file.h"
#include "output/html_diagram.h"
#include "output/messages.h"

namespace qorvale::app {

namespace {

chess::Board StartOf(const chess::ChessState& chess) {
    if (chess.StartsFromFen()) return chess.FenStartBoard();
    if (chess.SetupActive()) return chess.SetupBoard();
    return chess::StartBoard();
}

output::DiagramStyle StyleFor(const AnnotationContext& context,
                              output::AnnotationDiagramType type) {
    const bool colours =
        type == output::AnnotationDiagramType::Html || output::DiagramTypeUsesBoardColours(type);
    return DiagramStyleFor(context.options, colours, context.flipped);
}

Result<output::DiagramArt> ArtFor(const AnnotationContext& context) {
    const int style = context.options.PieceStyle;
    return output::LoadDiagramArt(
        DiagramArtFoldersFor(context.app_folder, style, output::StandardCellSize), style,
        output::StandardCellSize);
}

}  // namespace

output::AnnotationGame CaptureAnnotationGame(const chess::ChessState& chess,
                                             const pgn::GameLines& lines, int ply) {
    output::AnnotationGame game;
    game.half_moves = static_cast<std::uint32_t>(std::max(ply, 0));
    game.moves = lines.Moves();
    game.full_moves = lines.FullMoves();
    game.start = StartOf(chess);
    game.starts_from_setup = chess.StartsFromFen() || chess.SetupActive();
    game.start_move_number = chess.StartMoveNumber();
    game.movetext = std::string(lines.MovetextBuffer());
    std::replace(game.movetext.begin(), game.movetext.end(), '\0', '\n');
    return game;
}

std::string_view AnnotationSession::NeedsTitle() const {
    return stage_ == Stage::None ? output::EnterTitleFirst : std::string_view();
}

void AnnotationSession::Start(const output::AnnotationTitle& title) {
    page_ = output::StartAnnotationText(title);
    title_ = title;
    stage_ = Stage::EnteringMoves;
    mark_ = 0;
    file_name_.clear();
    diagram_type_.reset();
    saved_game_.reset();
}

std::string_view AnnotationSession::Mark(int ply) {
    if (std::string_view refused = NeedsTitle(); !refused.empty()) return refused;
    mark_ = ply;
    return output::OkToEnterMove;
}

AnnotationSession::Generated AnnotationSession::GenerateMoves(const chess::ChessState& chess,
                                                              const pgn::GameLines& lines, int ply,
                                                              const AnnotationContext& context) {
    if (std::string_view refused = NeedsTitle(); !refused.empty()) return {refused, {}};
    std::vector<output::MoveCaption> moves;
    for (int played = mark_ + 1; played <= ply; ++played) {
        output::MoveCaption caption = CaptionOf(chess, lines, played);
        if (caption.present()) moves.push_back(std::move(caption));
    }
    if (moves.empty()) return {output::NoMoveGenerated, {}};
    std::string letters;
    const std::string text = output::MoveRunText(moves, HtmlNotationFor(context.options, letters));
    // A comment is plain text, escaped when it is added to the page.
    if (stage_ == Stage::EnteringComment) return {{}, output::HtmlUnescape(text)};
    output::AppendMoves(page_, text);
    return {output::MoveGenerated, {}};
}

std::string_view AnnotationSession::BeginComment(const output::AnnotationGame& game) {
    if (std::string_view refused = NeedsTitle(); !refused.empty()) return refused;
    saved_game_ = game;
    stage_ = Stage::EnteringComment;
    return {};
}

AnnotationSession::CommentEnd AnnotationSession::EndComment(std::string_view text) {
    if (stage_ != Stage::EnteringComment) {
        return {stage_ == Stage::None ? output::EnterTitleFirst : output::EnterCommentFirst, {}};
    }
    stage_ = Stage::EnteringMoves;
    CommentEnd end{output::CommentNotSaved, std::exchange(saved_game_, std::nullopt)};
    if (text.empty()) return end;
    output::AppendComment(page_, text);
    end.message = output::CommentGenerated;
    return end;
}

bool AnnotationSession::DiagramNeedsFileName() const {
    return diagram_type_ && output::DiagramTypeKind(*diagram_type_) && file_name_.empty();
}

std::string AnnotationSession::AppendDiagram(const output::DiagramPosition& position,
                                             const AnnotationContext& context) {
    if (std::string_view refused = NeedsTitle(); !refused.empty()) return std::string(refused);
    if (stage_ == Stage::EnteringComment) return std::string(output::EndCommentFirst);
    const output::AnnotationDiagramType type =
        diagram_type_.value_or(output::AnnotationDiagramType::Html);
    std::string image;
    if (const std::optional<output::DiagramKind> kind = output::DiagramTypeKind(type)) {
        Result<output::DiagramArt> art = ArtFor(context);
        if (!art.ok()) return art.error().message();
        const std::string path =
            output::PerMoveName(output::AnnotationImageBase(file_name_), position.caption,
                                output::DiagramExtension(*kind));
        if (Error failed = output::MakeDiagram(*kind, position, StyleFor(context, type), *art, path,
                                               context.files)) {
            return failed.message();
        }
        image = path.substr(output::FolderOf(path).size());
    }
    std::string letters;
    (void)output::AppendDiagram(page_,
                                output::HtmlDiagramText(position, context.flipped, image,
                                                        HtmlNotationFor(context.options, letters)));
    return std::string(output::DiagramGenerated);
}

std::string_view AnnotationSession::Save(const output::AnnotationGame& game,
                                         const AnnotationContext& context) {
    if (std::string_view refused = NeedsTitle(); !refused.empty()) return refused;
    std::vector<platform::FileContent> images;
    const std::vector<std::string> squares = output::SquareImagesIn(page_);
    if (!squares.empty()) {
        Result<output::DiagramArt> art = ArtFor(context);
        if (!art.ok() ||
            output::AddSquareImages(squares, output::FolderOf(file_name_),
                                    StyleFor(context, output::AnnotationDiagramType::Html), *art,
                                    images)) {
            return output::ErrorCreatingHtmlFile;
        }
    }
    if (output::SaveAnnotationFile(file_name_, page_, game, context.files, std::move(images))) {
        return output::ErrorCreatingHtmlFile;
    }
    return output::HtmlFileSaved;
}

Result<output::AnnotationGame> AnnotationSession::Open(const std::string& path) {
    Result<output::OpenedAnnotation> opened = output::OpenAnnotationFile(path);
    if (!opened.ok()) return opened.error();
    page_ = std::move(opened->page);
    file_name_ = path;
    stage_ = Stage::EnteringMoves;
    mark_ = static_cast<int>(opened->game.half_moves);
    saved_game_.reset();
    return opened->game;
}

}  // namespace qorvale::app
