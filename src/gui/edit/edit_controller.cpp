#include "gui/edit/edit_controller.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>

#include "app/app_folder.h"
#include "app/edit_messages.h"
#include "gui/edit/annotate_box.h"
#include "gui/edit/header_box.h"
#include "gui/edit/save_game_box.h"
#include "gui/edit/setup_box.h"
#include "gui/panels/piece_set.h"
#include "gui/shell/qt_text.h"
#include "pgn/game_text_writer.h"
#include "platform/file.h"

namespace qorvale::gui {

namespace {

constexpr WindowPart EntryParts =
    WindowPart::Board | WindowPart::Text | WindowPart::MoveLines | WindowPart::Commands;

bool SameFile(const QString& a, const std::string& b) {
    return !b.empty() &&
           QFileInfo(a).absoluteFilePath() == QFileInfo(ToQPath(b)).absoluteFilePath();
}

}  // namespace

EditController::EditController(ShellContext& context)
    : Controller(context), input_(context.window.DialogParent(), context.ui) {}

void EditController::Run(app::EditCommand command) {
    switch (command) {
        case app::EditCommand::AddGame:
            Start(app::Mode::AddGame);
            return;
        case app::EditCommand::AddFromPosition: {
            SetupBox box(window().DialogParent(), PiecesFolder(ToQPath(app_folder())), options(),
                         setup_, ui());
            if (box.exec() != QDialog::Accepted) return;
            setup_ = box.Position();
            StartFromSetup(setup_);
            return;
        }
        case app::EditCommand::ModifyGame:
            Start(app::Mode::ModifyGame);
            return;
        case app::EditCommand::TakeBack:
            if (entry_ && entry_->TakeBack()) {
                input_.Reset();
                Redraw();
            }
            return;
        case app::EditCommand::EditHeader:
            EditHeader();
            return;
        case app::EditCommand::SaveGame: {
            if (!entry_) return;
            if (auto target = ChooseSaveTarget(tr("Save Game"), entry_->LastSaveMode())) {
                SaveEntered(target->first, target->second);
            }
            return;
        }
        case app::EditCommand::SaveChanges:
            SaveChanges();
            return;
        case app::EditCommand::LeaveEntry:
            Leave();
            return;
        case app::EditCommand::Annotate:
            Annotate();
            return;
        case app::EditCommand::DeleteGame:
            DeleteGame();
            return;
        case app::EditCommand::CopyGame:
            if (const std::string target = ChooseCopyTarget(); !target.empty()) {
                // An existing file gets the game at its end; a new name makes a new file.
                CopyGame(ToQPath(target), platform::FileExists(target));
            }
            return;
        case app::EditCommand::CopyListedGames:
            if (!session().Games().FromSearch()) {
                // The refusal comes before the file dialog, not after it.
                (void)CopyListedGames(QString(), false);
                return;
            }
            if (const std::string target = ChooseCopyTarget(); !target.empty()) {
                CopyListedGames(ToQPath(target), platform::FileExists(target));
            }
            return;
        case app::EditCommand::MoveToBuffer: {
            pgn::GameFileEditor editor(session().MutableFile(), ui());
            session().MutableFile().SetCurrentGameNumber(session().GameNumber());
            if (Error moved = editor.MoveGameToBuffer(BufferPath()); !moved.ok()) {
                ui().explain(moved);
            }
            return;
        }
        case app::EditCommand::SaveBuffer: {
            if (!pgn::CheckGameBuffer(BufferPath(), ui())) return;
            if (auto target = ChooseSaveTarget(tr("Save Game Buffer"), buffer_mode_)) {
                SaveBuffer(target->first, target->second);
            }
            return;
        }
        case app::EditCommand::CopyGameText:
            CopyText();
            return;
        case app::EditCommand::PasteGame:
            PasteText();
            return;
    }
}

// ---- Entering a game ----------------------------------------------------------------------

void EditController::Start(app::Mode mode) {
    app::GameEntry entry;
    if (mode == app::Mode::ModifyGame) {
        if (Error started = entry.StartModify(session().MutableFile(), session().GameNumber());
            !started.ok()) {
            ui().explain(started);
            return;
        }
        entry.ShowHalfMove(session().Navigation().currentPly);
    } else {
        entry.StartNewGame();
    }
    Enter(mode, std::move(entry));
}

bool EditController::StartFromSetup(const app::SetupPosition& setup) {
    app::GameEntry entry;
    if (!entry.StartFromSetup(setup, ui())) return false;
    Enter(app::Mode::AddGame, std::move(entry));
    return entry_.has_value();
}

bool EditController::EnterGame(app::GameEntry entry) {
    Enter(app::Mode::AddGame, std::move(entry));
    return entry_.has_value();
}

void EditController::Enter(app::Mode mode, app::GameEntry entry) {
    if (!session().Modes().Enter(mode)) return;
    entry_ = std::move(entry);
    input_.Reset();
    window().Redraw(WindowPart::All);
}

bool EditController::Leave() {
    if (!entry_) return true;
    if (entry_->Changed() && !ui().ask(app::LeaveEnteredGameQuestion)) return false;
    entry_.reset();
    input_.Reset();
    session().Modes().Leave();
    window().Redraw(WindowPart::All);
    return true;
}

void EditController::Redraw() { window().Redraw(EntryParts); }

void EditController::BoardClicked(int file, int rank) {
    if (entry_ && input_.Click(*entry_, file, rank)) Redraw();
}

void EditController::PieceDropped(int file, int rank) {
    if (entry_ && input_.Drop(*entry_, file, rank)) Redraw();
}

bool EditController::Navigate(app::GameCommand command) {
    if (!entry_) return false;
    const int shown = entry_->ShownHalfMove();
    const int last = entry_->HalfMoves();
    int target = shown;
    switch (command) {
        case app::GameCommand::StartOfGame:
            target = 0;
            break;
        case app::GameCommand::Back5:
            target = shown - 5;
            break;
        case app::GameCommand::PreviousMove:
            target = shown - 1;
            break;
        case app::GameCommand::NextMove:
            target = shown + 1;
            break;
        case app::GameCommand::Forward5:
            target = shown + 5;
            break;
        case app::GameCommand::EndOfGame:
            target = last;
            break;
        case app::GameCommand::MiddleOfGame:
            target = last / 2;
            break;
        case app::GameCommand::SetNewStart:
        case app::GameCommand::AutoPlay:
        case app::GameCommand::StudyMode:
        case app::GameCommand::SelectGame:
        case app::GameCommand::NextGame:
        case app::GameCommand::PreviousGame:
        case app::GameCommand::PreviousShownGame:
        case app::GameCommand::GoToGame:
        case app::GameCommand::FlipBoard:
        case app::GameCommand::ActualText:
            return false;
    }
    ShowHalfMove(target);
    return true;
}

void EditController::ShowHalfMove(int half_move) {
    if (!entry_) return;
    entry_->ShowHalfMove(half_move);
    input_.Reset();
    Redraw();
}

void EditController::EditHeader() {
    if (!entry_) return;
    HeaderBox box(window().DialogParent(), entry_->Header(), ui());
    if (box.exec() == QDialog::Accepted) SetHeader(box.Fields());
}

void EditController::SetHeader(const pgn::HeaderEditFields& fields) {
    if (!entry_) return;
    for (const pgn::WrittenTag& tag : pgn::WrittenHeaderOrder) {
        if (fields.Get(tag.field) != entry_->Header().Get(tag.field)) {
            entry_->SetHeaderField(tag.field, fields.Get(tag.field));
        }
    }
    Redraw();
}

// ---- Saving -------------------------------------------------------------------------------

bool EditController::OpenTarget(pgn::SaveMode mode, const QString& path) {
    if (mode == pgn::SaveMode::NewFile || SameFile(path, session().File().CurrentPath())) {
        return true;
    }
    return OpenOther(FromQPath(path));
}

bool EditController::OpenOther(const std::string& path) {
    // As File/Open does: the file is remembered for the next start and in the recent files.
    return window().OpenFile(path);
}

// ---- Annotating ---------------------------------------------------------------------------

bool EditController::Annotate() {
    app::AnnotationEditor editor(RecoveryPath());
    if (Error opened = editor.Open(session().MutableFile(), session().GameNumber()); !opened.ok()) {
        ui().explain(opened);
        return false;
    }
    return RunAnnotation(editor);
}

bool EditController::AddVariation(int half_move, const std::function<void(app::GameEntry&)>& play) {
    app::AnnotationEditor editor(RecoveryPath());
    Error done = editor.Open(session().MutableFile(), session().GameNumber());
    if (done.ok()) done = editor.BeginVariation(half_move);
    if (!done.ok()) {
        ui().explain(done);
        editor.Close();
        return false;
    }
    play(editor.Variation());
    editor.EndVariation();
    session().MutableFile().SetCurrentGameNumber(editor.GameNumber());
    return Changed(editor.Save(session().MutableFile(), ui()), false);
}

void EditController::OfferRecovery() {
    const std::string path = RecoveryPath();
    const std::optional<app::PendingAnnotation> pending = app::FindPendingAnnotation(path);
    if (!pending) return;
    if (!ui().ask(app::RestoreAnnotationQuestion)) {
        app::DiscardRecoveryCopy(path);
        return;
    }
    if (!SameFile(ToQPath(pending->pgn_path), session().File().CurrentPath()) &&
        !OpenOther(pending->pgn_path)) {
        return;
    }
    app::AnnotationEditor editor(path);
    if (Error restored = editor.Restore(session().MutableFile(), *pending); !restored.ok()) {
        ui().explain(restored);
        return;
    }
    window().ShowOpenedFile(editor.GameNumber(), 0);
    if (session().GameNumber() != editor.GameNumber()) window().ShowGame(editor.GameNumber());
    RunAnnotation(editor);
}

bool EditController::RunAnnotation(app::AnnotationEditor& editor) {
    // The board beside the moves shows the main line as the file's game has it.
    auto position_at = [chess = session().Chess()](int half_move) mutable {
        chess.RestorePosition(half_move);
        return chess.CurrentBoard();
    };
    AnnotateBox box(window().DialogParent(), PiecesFolder(ToQPath(app_folder())), options(), editor,
                    position_at, ui());
    if (app::SpellChecker* checker = SpellChecker()) {
        // The players of the game are no spelling mistakes in its comments.
        const pgn::HeaderValues& header = session().Header().CurrentHeader();
        checker->AcceptForSession(header.Get(pgn::HeaderField::White));
        checker->AcceptForSession(header.Get(pgn::HeaderField::Black));
        box.SetSpellChecker(checker);
    }
    for (;;) {
        if (box.exec() == QDialog::Accepted) {
            session().MutableFile().SetCurrentGameNumber(editor.GameNumber());
            return Changed(editor.Save(session().MutableFile(), ui()), false);
        }
        if (!editor.Changed() || ui().ask(app::LeaveAnnotationQuestion)) {
            editor.Close();
            return false;
        }
    }
}

app::SpellChecker* EditController::SpellChecker() {
    if (!spell_tried_) {
        spell_tried_ = true;
        Result<app::SpellChecker> opened =
            app::OpenCommentSpellChecker(app_folder(), session().Eco());
        // Without a dictionary the editor works as before, with the reason said once.
        if (opened.ok()) {
            spell_.emplace(std::move(opened).value());
        } else {
            ui().explain(opened.error());
        }
    }
    return spell_ ? &*spell_ : nullptr;
}

Result<pgn::EditDone> EditController::SaveInto(pgn::SaveMode mode, const QString& path,
                                               const Saver& save) {
    // A target that cannot be opened has been reported by the opener.
    if (!OpenTarget(mode, path)) return pgn::EditDone{true};
    // An insert goes before the game on display in that file.
    session().MutableFile().SetCurrentGameNumber(session().GameNumber());
    return save(session().MutableFile(),
                mode == pgn::SaveMode::NewFile ? FromQPath(path) : std::string());
}

bool EditController::SaveEntered(pgn::SaveMode mode, const QString& path) {
    if (!entry_) return false;
    const Result<pgn::EditDone> done =
        SaveInto(mode, path, [this, mode](pgn::PgnFile& file, const std::string& new_path) {
            return entry_->Save(file, mode, new_path, ui());
        });
    if (done.ok() && !done.value().cancelled) {
        entry_.reset();
        session().Modes().Leave();
    }
    return Changed(done, mode == pgn::SaveMode::NewFile);
}

bool EditController::SaveChanges() {
    if (!entry_ || !entry_->Modifying()) return false;
    session().MutableFile().SetCurrentGameNumber(entry_->GameNumber());
    const Result<pgn::EditDone> done = entry_->SaveChanges(session().MutableFile(), ui());
    if (done.ok() && !done.value().cancelled) {
        entry_.reset();
        session().Modes().Leave();
    }
    return Changed(done, false);
}

bool EditController::Changed(const Result<pgn::EditDone>& done, bool new_file) {
    if (!done.ok()) {
        ui().explain(done.error());
        // A failed change leaves the file as it was, but it may have been reopened.
        window().Redraw(WindowPart::All);
        return false;
    }
    if (done.value().cancelled) return false;
    session().FileChanged();
    // A new file is opened as File/Open opens one, so that it is remembered like any other.
    if (new_file && session().File().IsOpen()) OpenOther(session().File().CurrentPath());
    window().ShowOpenedFile(done.value().game_to_show, 0);
    const std::int32_t game = done.value().game_to_show;
    if (game > 0 && session().GameNumber() != game) window().ShowGame(game);
    window().Redraw(WindowPart::All);
    return true;
}

// ---- The games of the open file -------------------------------------------------------------

bool EditController::DeleteGame() {
    session().MutableFile().SetCurrentGameNumber(session().GameNumber());
    pgn::GameFileEditor editor(session().MutableFile(), ui());
    return Changed(editor.DeleteCurrentGame(), false);
}

bool EditController::CopyGame(const QString& target, bool append) {
    session().MutableFile().SetCurrentGameNumber(session().GameNumber());
    pgn::GameFileEditor editor(session().MutableFile(), ui());
    const Result<pgn::EditDone> done = editor.CopyCurrentGame(FromQPath(target), append);
    if (!done.ok()) ui().explain(done.error());
    return done.ok() && !done.value().cancelled;
}

bool EditController::CopyListedGames(const QString& target, bool append) {
    std::vector<std::int32_t> games;
    if (session().Games().FromSearch()) games = session().Search().FoundGames();
    pgn::GameFileEditor editor(session().MutableFile(), ui());
    const Result<pgn::EditDone> done = editor.CopyNavigationGames(games, FromQPath(target), append);
    if (!done.ok()) ui().explain(done.error());
    return done.ok() && !done.value().cancelled;
}

bool EditController::SaveBuffer(pgn::SaveMode mode, const QString& path) {
    buffer_mode_ = mode;
    return Changed(
        SaveInto(
            mode, path,
            [this, mode](pgn::PgnFile& file, const std::string& new_path) {
                return pgn::GameFileEditor(file, ui()).SaveGameBuffer(BufferPath(), mode, new_path);
            }),
        mode == pgn::SaveMode::NewFile);
}

bool EditController::SaveText(const std::string& text, pgn::SaveMode mode, const QString& path) {
    Result<std::string> checked = pgn::CheckTypedGameText(text);
    if (!checked.ok()) {
        ui().explain(checked.error());
        return false;
    }
    return Changed(
        SaveInto(mode, path,
                 [this, mode, &checked](pgn::PgnFile& file, const std::string& new_path) {
                     return pgn::GameFileEditor(file, ui())
                         .SaveGameText(checked.value(), mode, new_path);
                 }),
        mode == pgn::SaveMode::NewFile);
}

std::optional<std::string> EditController::GameText() {
    if (!session().HasGame()) return std::nullopt;
    pgn::GameFileEditor editor(session().MutableFile(), ui());
    Result<std::string> records = editor.GameRecords(session().GameNumber());
    if (!records.ok()) {
        ui().explain(records.error());
        return std::nullopt;
    }
    return records.value();
}

void EditController::CopyText() {
    if (std::optional<std::string> text = GameText()) {
        QGuiApplication::clipboard()->setText(ToQString(*text));
    }
}

void EditController::PasteText() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        ui().report(app::NoGameTextOnClipboard);
        return;
    }
    if (auto target = ChooseSaveTarget(tr("Paste Game"), buffer_mode_)) {
        SaveText(text.toStdString(), target->first, target->second);
    }
}

std::string EditController::RecoveryPath() const {
    return app::AppPath(app_folder(), app::RecoveryFileName);
}

std::string EditController::BufferPath() const {
    return app::AppPath(app_folder(), app::GameBufferFileName);
}

std::optional<std::pair<pgn::SaveMode, QString>> EditController::ChooseSaveTarget(
    const QString& title, pgn::SaveMode mode) {
    SaveGameBox box(window().DialogParent(), title, mode, ToQPath(session().File().CurrentPath()));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return std::pair{box.Mode(), box.Path()};
}

}  // namespace qorvale::gui
