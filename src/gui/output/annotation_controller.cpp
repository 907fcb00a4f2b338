#include "gui/output/annotation_controller.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/diagram_output.h"
#include "app/file_dialogs.h"
#include "gui/output/annotation_boxes.h"
#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "output/messages.h"
#include "platform/file_system.h"

namespace qorvale::gui {

namespace {

// The image names of a page are cut from its name without ".html", so the name must end in it.
QString WithHtmlEnding(const QString& path) {
    return path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)
               ? path
               : path + QStringLiteral(".html");
}

}  // namespace

AnnotationController::AnnotationController(ShellContext& context) : Controller(context) {}

AnnotationController::~AnnotationController() = default;

void AnnotationController::Run(app::AnnotationCommand command) {
    using Stage = app::AnnotationSession::Stage;
    switch (command) {
        case app::AnnotationCommand::Title: {
            AnnotationTitleBox box(page_.Title(), window().DialogParent());
            if (box.exec() == QDialog::Accepted) StartPage(box.Title());
            return;
        }
        case app::AnnotationCommand::Mark:
            Report(page_.Mark(session().Navigation().currentPly));
            return;
        case app::AnnotationCommand::Generate: {
            app::AnnotationSession::Generated generated = page_.GenerateMoves(
                session().Chess(), session().Lines(), session().Navigation().currentPly, Context());
            if (!generated.comment_text.empty() && comment_box_ != nullptr) {
                comment_box_->Insert(ToQString(generated.comment_text));
            }
            Report(generated.message);
            return;
        }
        case app::AnnotationCommand::Comment:
            Comment();
            return;
        case app::AnnotationCommand::EndComment:
            EndComment();
            return;
        case app::AnnotationCommand::Diagram:
            Diagram();
            return;
        case app::AnnotationCommand::Save: {
            if (page_.CurrentStage() == Stage::None) {
                Report(output::EnterTitleFirst);
                return;
            }
            const QString path =
                page_.NeedsFileName() ? AskHtmlFile(true) : ToQPath(page_.FileName());
            if (!path.isEmpty()) SavePage(path);
            return;
        }
        case app::AnnotationCommand::Open: {
            const QString path = AskHtmlFile(false);
            if (!path.isEmpty()) OpenPage(path);
            return;
        }
    }
}

void AnnotationController::StartPage(const output::AnnotationTitle& title) {
    page_.Start(title);
    if (comment_box_ != nullptr) comment_box_->hide();
}

void AnnotationController::Comment() {
    if (page_.CurrentStage() == app::AnnotationSession::Stage::EnteringComment &&
        comment_box_ != nullptr) {
        comment_box_->show();
        comment_box_->raise();
        return;
    }
    if (std::string_view refused = page_.BeginComment(GameOnBoard()); !refused.empty()) {
        Report(refused);
        return;
    }
    comment_file_ = session().File().CurrentPath();
    comment_game_ = session().GameNumber();
    if (comment_box_ == nullptr) {
        comment_box_ = new CommentBox(window().DialogParent());
        connect(comment_box_, &CommentBox::endRequested, this, &AnnotationController::EndComment);
    }
    comment_box_->Clear();
    comment_box_->show();
    comment_box_->raise();
}

void AnnotationController::EndComment() {
    const std::string text = comment_box_ != nullptr ? comment_box_->Text().toStdString() : "";
    app::AnnotationSession::CommentEnd end = page_.EndComment(text);
    if (end.restore) {
        if (comment_box_ != nullptr) comment_box_->hide();
        Restore(*end.restore);
    }
    Report(end.message);
}

void AnnotationController::Restore(const output::AnnotationGame& game) {
    // The comment may have been written while looking at other moves or another game of the
    // file; the page goes on from where the comment started.
    if (session().File().CurrentPath() == comment_file_ && comment_game_ > 0 &&
        session().GameNumber() != comment_game_ && !window().ShowGame(comment_game_)) {
        return;
    }
    window().GoToPly(static_cast<std::int32_t>(game.half_moves));
}

void AnnotationController::Diagram() {
    using Stage = app::AnnotationSession::Stage;
    if (page_.CurrentStage() != Stage::EnteringMoves) {
        Report(page_.CurrentStage() == Stage::None ? output::EnterTitleFirst
                                                   : output::EndCommentFirst);
        return;
    }
    if (page_.NeedsDiagramType()) {
        DiagramTypeBox box(window().DialogParent());
        if (box.exec() != QDialog::Accepted) return;
        page_.SetDiagramType(box.Type());
    }
    if (page_.DiagramNeedsFileName()) {
        const QString path = AskHtmlFile(true);
        if (path.isEmpty()) return;
        page_.SetFileName(FromQPath(WithHtmlEnding(path)));
    }
    AddDiagram();
}

void AnnotationController::AddDiagram() {
    const output::DiagramPosition position =
        app::DiagramPositionAt(session().Chess(), session().Lines(),
                               session().Navigation().currentPly, app::MarksLastMove(options()));
    Report(page_.AppendDiagram(position, Context()));
}

bool AnnotationController::SavePage(const QString& path) {
    page_.SetFileName(FromQPath(WithHtmlEnding(path)));
    const std::string_view message = page_.Save(GameOnBoard(), Context());
    Report(message);
    return message == output::HtmlFileSaved;
}

bool AnnotationController::OpenPage(const QString& path) {
    Result<output::AnnotationGame> game = page_.Open(FromQPath(path));
    if (!game.ok()) {
        ui().explain(Error(game.error().message(), FromQPath(path)));
        return false;
    }
    if (comment_box_ != nullptr) comment_box_->hide();
    // The page goes on from the game it was made from, which must be the one on the board.
    output::AnnotationGame shown = GameOnBoard();
    shown.half_moves = game->half_moves;
    if (output::EncodeSideFile(shown) != output::EncodeSideFile(*game)) {
        Report(AnnotationGameNotShown);
        return true;
    }
    window().GoToPly(static_cast<std::int32_t>(game->half_moves));
    return true;
}

app::AnnotationContext AnnotationController::Context() {
    return {options(), app_folder(), session().View().flipped, platform::SystemFileSystem()};
}

output::AnnotationGame AnnotationController::GameOnBoard() const {
    return app::CaptureAnnotationGame(session().Chess(), session().Lines(),
                                      session().Navigation().currentPly);
}

QString AnnotationController::AskHtmlFile(bool save) {
    const app::FileDialogText& text = app::DialogText(app::FileDialogId::Html);
    QString folder = ToQPath(app::GetText(app::DialogFolder(options(), app::FileDialogId::Html)));
    if (folder.isEmpty()) folder = ToQPath(app::GetText(options().CurrentFolder));
    const QString start =
        folder + QLatin1Char('/') +
        ToQPath(app::GetText(app::DialogFileName(options(), app::FileDialogId::Html)));
    const QString filter = tr("Web pages (%1)").arg(ToQString(text.filter));
    const QString chosen = save
                               ? QFileDialog::getSaveFileName(window().DialogParent(),
                                                              ToQString(text.title), start, filter)
                               : QFileDialog::getOpenFileName(window().DialogParent(),
                                                              ToQString(text.title), start, filter);
    if (chosen.isEmpty()) return chosen;
    const QFileInfo info(chosen);
    app::SetText(app::DialogFolder(options(), app::FileDialogId::Html),
                 FromQPath(info.absolutePath()));
    app::SetText(app::DialogFileName(options(), app::FileDialogId::Html),
                 FromQPath(info.fileName()));
    SaveOptions();
    return chosen;
}

void AnnotationController::Report(std::string_view message) {
    if (!message.empty()) ui().report(message);
}

}  // namespace qorvale::gui
