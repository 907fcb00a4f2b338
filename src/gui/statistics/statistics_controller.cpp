#include "gui/statistics/statistics_controller.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_folder.h"
#include "base/message.h"
#include "gui/edit/header_box.h"
#include "gui/shell/qt_text.h"
#include "gui/statistics/statistics_windows.h"
#include "gui/utilities/list_window.h"
#include "output/messages.h"
#include "pgn/display_stem.h"
#include "platform/folder.h"
#include "platform/whole_file.h"
#include "utilities/messages.h"
#include "utilities/yahoo_conversion.h"

namespace qorvale::gui {

namespace {

QString Lines(const std::string& text) {
    QString lines = ToQString(text);
    lines.remove(QLatin1Char('\r'));
    return lines;
}

}  // namespace

StatisticsController::StatisticsController(ShellContext& context)
    : Controller(context), print_list_(platform::JoinPath(app_folder(), app::PrintListFileName)) {
    scores_window_ = new PlayerScoresWindow(window().DialogParent());
    cross_window_ = new CrossTableWindow(window().DialogParent());
    openings_window_ = new ListWindow(QStringLiteral("Openings"), window().DialogParent());
    QPushButton* order =
        openings_window_->AddButton(tr("Sort by Name"), QDialogButtonBox::ActionRole);
    openings_window_->AddButton(tr("Close"), QDialogButtonBox::RejectRole);

    auto exact_changed = [this](bool exact) {
        match_ = exact ? output::PlayerMatch::Exact : output::PlayerMatch::Key;
        for (QCheckBox* box : {scores_window_->exact(), cross_window_->exact()}) {
            const QSignalBlocker blocker(box);
            box->setChecked(exact);
        }
        if (scores_window_->isVisible()) ShowPlayerScores();
        if (cross_window_->isVisible()) ShowCrossTable();
    };
    connect(scores_window_, &PlayerScoresWindow::exactChanged, this, exact_changed);
    connect(cross_window_, &CrossTableWindow::exactChanged, this, exact_changed);
    connect(scores_window_, &PlayerScoresWindow::playerChosen, this, [this](int player) {
        ShowGames(output::GamesOfPlayer(Request(false), scores_window_->RawName(player), ui()));
    });
    connect(cross_window_, &CrossTableWindow::saveAsPage, this,
            &StatisticsController::SaveCrossTablePage);
    connect(order, &QPushButton::clicked, this, [this, order] {
        openings_by_name_ = !openings_by_name_;
        order->setText(openings_by_name_ ? tr("Sort by Games") : tr("Sort by Name"));
        ShowOpeningsList();
    });
    connect(openings_window_, &ListWindow::rowChosen, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(openings_.size())) {
            ShowGames(openings_[static_cast<std::size_t>(row)].games);
        }
    });
}

StatisticsController::~StatisticsController() = default;

void StatisticsController::Run(app::StatisticsCommand command) {
    switch (command) {
        case app::StatisticsCommand::PlayerScores:
            ShowPlayerScores();
            return;
        case app::StatisticsCommand::CrossTable:
            ShowCrossTable();
            return;
        case app::StatisticsCommand::OpeningsList:
            openings_.clear();
            ShowOpeningsList();
            return;
        case app::StatisticsCommand::AddMovesToPrintList:
            AddToPrintList(false);
            return;
        case app::StatisticsCommand::AddTextToPrintList:
            AddToPrintList(true);
            return;
        case app::StatisticsCommand::PrintList:
            Print(false);
            return;
        case app::StatisticsCommand::PrintPreview:
            Print(true);
            return;
        case app::StatisticsCommand::ConvertYahoo:
            ConvertYahooDialog();
            return;
    }
}

void StatisticsController::FileOpened() {
    // What the windows show belongs to the file that was open.
    for (QWidget* shown :
         std::initializer_list<QWidget*>{scores_window_, cross_window_, openings_window_}) {
        shown->hide();
    }
    openings_.clear();
}

output::PlayerTableRequest StatisticsController::Request(bool cross_table) const {
    const pgn::PgnFile& file = session().File();
    output::PlayerTableRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets = file.Index().Offsets();
    request.game_count = file.GameCount();
    request.games = listed_;
    request.match = match_;
    request.cross_table = cross_table;
    return request;
}

namespace {

// The games the navigation list walks: the search list after a search, else none (the file).
std::vector<std::int32_t> ListedGames(const app::Session& session) {
    std::vector<std::int32_t> games;
    const app::NavigationList& list = session.Games();
    if (!list.FromSearch()) return games;
    const std::int32_t count = list.Count(session.GameCount());
    for (std::int32_t k = 0; k < count; ++k)
        games.push_back(list.GameAt(static_cast<std::size_t>(k)));
    return games;
}

}  // namespace

void StatisticsController::ShowPlayerScores() {
    listed_ = ListedGames(session());
    output::PlayerTable table;
    if (!output::BuildPlayerTable(Request(false), table, ui())) return;
    scores_window_->Show(ToQString(output::StatisticsTitle(output::PlayerScoresTitle, match_)),
                         table);
}

void StatisticsController::ShowCrossTable() {
    listed_ = ListedGames(session());
    if (!output::BuildPlayerTable(Request(true), cross_table_, ui())) return;
    const bool large = options().BoardSize == 2;
    const std::string text = output::BuildCrossTable(cross_table_, large, ui());
    if (text.empty()) {
        cross_window_->hide();
        return;
    }
    cross_window_->Show(ToQString(output::StatisticsTitle(output::CrossTableTitle, match_)),
                        Lines(text));
}

void StatisticsController::SaveCrossTablePage() {
    const QString stem =
        ToQString(pgn::DisplayStem(platform::NameOf(session().File().CurrentPath())));
    const QString chosen = QFileDialog::getSaveFileName(cross_window_, tr("Save Cross Table"),
                                                        stem + QStringLiteral("-crosstable.html"),
                                                        tr("Web pages (*.html *.htm)"));
    if (chosen.isEmpty()) return;
    const std::string page = output::CrossTableHtml(cross_table_, stem.toStdString(), ui());
    if (page.empty()) return;
    if (!platform::WriteWholeFile(platform::SystemFileSystem(), FromQPath(chosen), page)) {
        ui().report(output::ErrorCreatingFile);
    }
}

void StatisticsController::ShowOpeningsList() {
    if (openings_.empty()) {
        listed_ = ListedGames(session());
        output::OpeningsListRequest request;
        request.pgn_path = session().File().CurrentPath();
        request.offsets = session().File().Index().Offsets();
        request.game_count = session().GameCount();
        request.games = listed_;
        openings_ = output::BuildOpeningsList(request, session().Eco(), ui());
    }
    output::SortOpenings(openings_, openings_by_name_);
    QStringList lines;
    for (const output::OpeningRow& row : openings_) {
        lines << ToQString(output::FormatOpeningLine(row));
    }
    openings_window_->ShowLines(tr("Openings"), lines);
    openings_window_->list()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void StatisticsController::ShowGames(std::vector<std::int32_t> games) {
    if (games.empty()) return;
    search::SearchList list;
    for (std::int32_t game : games) list.Add(game, 0);
    list.Recount();
    session().Search().TakeList(std::move(list));
    session().UseSearchResults();
    if (std::optional<app::SearchLanding> landing = session().Search().Landing()) {
        window().ShowGame(landing->game_number);
    }
    window().Redraw(WindowPart::Status | WindowPart::Commands);
}

void StatisticsController::AddToPrintList(bool as_text) {
    if (as_text) {
        print_list_.Add(output::TextEntryOf(session().ActualGameText()), ui());
        return;
    }
    const std::string stem = pgn::DisplayStem(platform::NameOf(session().File().CurrentPath()));
    if (std::optional<output::PrintMovesEntry> entry = output::MovesEntryOf(
            stem, session().GameNumber(), session().Header(), session().Lines(), ui())) {
        print_list_.Add(*entry, ui());
    }
}

bool StatisticsController::PrintOn(QPrinter& printer) {
    std::optional<std::vector<output::PrintEntry>> entries = print_list_.Entries(ui());
    if (!entries) return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui().report(output::ErrorStartingDoc);
        return false;
    }
    output::PrintPage page;
    page.width = painter.device()->width();
    page.height = painter.device()->height();
    page.max_print_lines = options().MaxPrintLines;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, output::PrintFontHeight(page.height, page.max_print_lines)));
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    page.line_advance = metrics.height() + metrics.leading();
    page.text_width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(ToQString(text));
    };
    const std::vector<output::PrintedPage> pages = output::LayOutPrintList(*entries, page);
    bool whole = true;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (k > 0 && !printer.newPage()) {
            ui().report(output::ErrorStartingNextPage);
            whole = false;
            break;
        }
        for (const output::PrintedLine& line : pages[k]) {
            painter.drawText(page.Margin(), line.y + metrics.ascent(), ToQString(line.text));
        }
    }
    painter.end();
    return whole;
}

void StatisticsController::Print(bool preview) {
    if (!print_list_.IsOpen()) {
        ui().report(output::NoGamesForPrinting);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (preview) {
        QPrintPreviewDialog dialog(&printer, window().DialogParent());
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* shown) { PrintOn(*shown); });
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, window().DialogParent());
    if (dialog.exec() != QDialog::Accepted) return;
    PrintOn(printer);
    print_list_.Close();
}

void StatisticsController::FlushPrintListOnExit() {
    if (!print_list_.IsOpen()) return;
    if (ui().ask(output::FlushPrintListQuestion)) {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, window().DialogParent());
        if (dialog.exec() == QDialog::Accepted) PrintOn(printer);
    }
    print_list_.Close();
}

bool StatisticsController::ConvertYahoo(const std::string& text, const QString& target) {
    utilities::YahooRequest request;
    request.target_path = FromQPath(target);
    request.open_pgn_path = session().File().IsOpen() ? session().File().CurrentPath() : "";
    const utilities::YahooResult result =
        utilities::ConvertYahooGames(text, request, ui(), [this](pgn::HeaderEditFields& fields) {
            HeaderBox box(window().DialogParent(), fields, ui());
            if (box.exec() != QDialog::Accepted) return false;
            fields = box.Fields();
            return true;
        });
    return result.converted > 0;
}

void StatisticsController::ConvertYahooDialog() {
    QDialog dialog(window().DialogParent());
    dialog.setObjectName(QStringLiteral("ConvertYahoo"));
    dialog.setWindowTitle(ToQString(utilities::messages::ConvertYahooTitle));
    auto* prompt = new QLabel(ToQString(utilities::messages::ConvertYahooPrompt), &dialog);
    auto* text = new QPlainTextEdit(&dialog);
    text->setObjectName(QStringLiteral("YahooText"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    QPushButton* convert = buttons->addButton(tr("Convert"), QDialogButtonBox::AcceptRole);
    QPushButton* from_file = buttons->addButton(tr("From File..."), QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    dialog.resize(560, 400);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // The target, from the save dialog; a name without an extension gets ".pgn".
    auto target = [&]() {
        QString chosen = QFileDialog::getSaveFileName(
            &dialog, ToQString(utilities::messages::SelectYahooPgnFile), QString(),
            tr("PGN files (*.pgn)"));
        if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) {
            chosen += QStringLiteral(".pgn");
        }
        return chosen;
    };
    connect(from_file, &QPushButton::clicked, &dialog, [&] {
        const QString source = QFileDialog::getOpenFileName(
            &dialog, ToQString(utilities::messages::SelectYahooGameFile), QString(),
            tr("Text files (*.txt);;All files (*)"));
        if (source.isEmpty()) return;
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            ui().report(utilities::messages::ErrorOpeningYahooFile);
            return;
        }
        // The file's own bytes: a Latin-1 record keeps its names as they were written.
        const QByteArray bytes = file.readAll();
        const QString chosen = target();
        if (!chosen.isEmpty() && ConvertYahoo(bytes.toStdString(), chosen)) dialog.accept();
    });
    connect(convert, &QPushButton::clicked, &dialog, [&] {
        const QString chosen = target();
        if (!chosen.isEmpty() && ConvertYahoo(text->toPlainText().toStdString(), chosen)) {
            dialog.accept();
        }
    });
    dialog.exec();
}

}  // namespace qorvale::gui
