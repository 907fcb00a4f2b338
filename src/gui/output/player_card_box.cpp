#include "gui/output/player_card_box.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/shell/qt_text.h"
#include "search/database_search.h"

namespace qorvale::gui {

namespace {

QString ScoreText(const output::CardScore& score) {
    return QStringLiteral("+%1 =%2 -%3").arg(score.wins).arg(score.draws).arg(score.losses);
}

void FillGroups(QTableWidget* table, const std::vector<output::CardGroup>& groups) {
    table->setRowCount(static_cast<int>(groups.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const output::CardGroup& group = groups[static_cast<std::size_t>(row)];
        const output::CardScore& score = group.score;
        const QStringList cells = {ToQString(group.name.empty() ? std::string("?") : group.name),
                                   QString::number(score.Games()),
                                   QString::number(score.Points(), 'f', 1), ScoreText(score)};
        for (int column = 0; column < cells.size(); ++column) {
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    table->resizeColumnsToContents();
}

QTableWidget* GroupTable(QWidget* parent, const QString& first, const QString& name) {
    auto* table = new QTableWidget(0, 4, parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(
        {first, QObject::tr("Games"), QObject::tr("Points"), QObject::tr("Score")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace

RatingChart::RatingChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RatingChart"));
    setMinimumSize(240, 110);
}

void RatingChart::SetRatings(std::vector<output::CardRating> ratings) {
    ratings_ = std::move(ratings);
    update();
}

void RatingChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().color(QPalette::Text));
    if (ratings_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("No rated games"));
        return;
    }
    const auto [low, high] =
        std::minmax_element(ratings_.begin(), ratings_.end(),
                            [](const output::CardRating& a, const output::CardRating& b) {
                                return a.rating < b.rating;
                            });
    // A flat record sits in the middle of a band of 100 points.
    const int lowest = high->rating == low->rating ? low->rating - 50 : low->rating;
    const int span = std::max(100, high->rating - lowest);
    const QFontMetrics metrics(font());
    const int left = metrics.horizontalAdvance(QStringLiteral("00000")) + 6;
    const QRect plot = rect().adjusted(left, metrics.height() / 2 + 4, -8, -metrics.height() - 6);
    painter.drawText(QRect(0, plot.top() - metrics.height() / 2, left - 4, metrics.height()),
                     Qt::AlignRight, QString::number(lowest + span));
    painter.drawText(QRect(0, plot.bottom() - metrics.height() / 2, left - 4, metrics.height()),
                     Qt::AlignRight, QString::number(lowest));
    painter.drawText(QRect(plot.left(), plot.bottom() + 4, plot.width(), metrics.height()),
                     Qt::AlignLeft, ToQString(ratings_.front().date));
    painter.drawText(QRect(plot.left(), plot.bottom() + 4, plot.width(), metrics.height()),
                     Qt::AlignRight, ToQString(ratings_.back().date));
    painter.drawRect(plot);
    const int last = static_cast<int>(ratings_.size()) - 1;
    QPolygonF line;
    for (int k = 0; k <= last; ++k) {
        const double x = plot.left() + (last == 0 ? plot.width() / 2.0
                                                  : plot.width() * static_cast<double>(k) / last);
        const double y =
            plot.bottom() - plot.height() * static_cast<double>(ratings_[k].rating - lowest) / span;
        line << QPointF(x, y);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 160), 2));
    painter.drawPolyline(line);
    painter.setBrush(QColor(0, 0, 160));
    for (const QPointF& point : line) painter.drawEllipse(point, 2.5, 2.5);
}

PlayerCardBox::PlayerCardBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PlayerCardBox"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("PlayerSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chart_ = new RatingChart(this);
    events_ = GroupTable(this, tr("Event"), QStringLiteral("PlayerEvents"));
    openings_ = GroupTable(this, tr("Openings"), QStringLiteral("PlayerOpenings"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(chart_);
    layout->addWidget(events_, 1);
    layout->addWidget(openings_, 1);
    layout->addWidget(buttons);
    resize(480, 620);
}

void PlayerCardBox::Show(const output::PlayerCard& card) {
    card_ = card;
    setWindowTitle(tr("Player Information: %1").arg(ToQString(card.name)));
    QStringList names;
    for (const std::string& name : card.names) names << ToQString(name);
    output::CardScore all = card.white;
    all.wins += card.black.wins;
    all.draws += card.black.draws;
    all.losses += card.black.losses;
    QString text = tr("<b>%1</b><br>Names as written: %2<br>Games: %3, %4 points (%5)")
                       .arg(ToQString(card.name).toHtmlEscaped(),
                            names.join(QStringLiteral("; ")).toHtmlEscaped())
                       .arg(card.Games())
                       .arg(all.Points(), 0, 'f', 1)
                       .arg(ScoreText(all));
    if (card.database_games > 0) {
        text += tr("<br>%1 in the file, %2 in the database")
                    .arg(card.games.size())
                    .arg(card.database_games);
    }
    text += tr("<br>With White: %1 &nbsp; With Black: %2")
                .arg(ScoreText(card.white), ScoreText(card.black));
    if (!card.ratings.empty()) {
        text += tr("<br>Rating: %1 - %2").arg(card.LowestRating()).arg(card.HighestRating());
    }
    summary_->setText(text);
    chart_->SetRatings(card.ratings);
    FillGroups(events_, card.events);
    FillGroups(openings_, card.openings);
}

PlayerCardController::PlayerCardController(ShellContext& context) : Controller(context) {}

PlayerCardController::~PlayerCardController() = default;

void PlayerCardController::ShowPlayerCard(const std::string& name, output::PlayerMatch match) {
    const pgn::PgnFile& file = session().File();
    if (name.empty() || !file.IsOpen()) return;
    output::PlayerTableRequest request;
    request.pgn_path = file.CurrentPath();
    request.offsets = file.Index().Offsets();
    request.game_count = file.GameCount();
    request.match = match;
    output::PlayerCard card = output::BuildPlayerCard(request, name, ui());
    if (database_) {
        if (const search::Database* database = database_(); database != nullptr) {
            if (Error error = output::AddDatabaseGames(card, *database); !error.ok()) {
                ui().explain(error);
            }
        }
    }
    if (card.Games() == 0) return;
    if (!box_) box_ = std::make_unique<PlayerCardBox>(window().DialogParent());
    box_->Show(card);
    box_->show();
    box_->raise();
    box_->activateWindow();
}

}  // namespace qorvale::gui
