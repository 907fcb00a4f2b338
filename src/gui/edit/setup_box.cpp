#include "gui/edit/setup_box.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/panels/board_widget.h"
#include "gui/panels/piece_set.h"
#include "gui/shell/qt_text.h"

namespace qorvale::gui {

namespace {

// The palette in board order, white row then black row; a figurine stands in for a piece whose
// image is missing.
struct PaletteEntry {
    std::uint32_t code;
    const char* figurine;
};
constexpr std::array<PaletteEntry, 13> Palette = {{
    {chess::King, "\u2654"},
    {chess::Queen, "\u2655"},
    {chess::Rook, "\u2656"},
    {chess::Bishop, "\u2657"},
    {chess::Knight, "\u2658"},
    {chess::Pawn, "\u2659"},
    {chess::King + chess::BlackOffset, "\u265A"},
    {chess::Queen + chess::BlackOffset, "\u265B"},
    {chess::Rook + chess::BlackOffset, "\u265C"},
    {chess::Bishop + chess::BlackOffset, "\u265D"},
    {chess::Knight + chess::BlackOffset, "\u265E"},
    {chess::Pawn + chess::BlackOffset, "\u265F"},
    {chess::Empty, "\u2715"},
}};

}  // namespace

SetupBox::SetupBox(QWidget* parent, const QString& pieces_folder, const app::OptionsRecord& options,
                   const app::SetupPosition& start, Ui& ui)
    : QDialog(parent), setup_(start), ui_(ui) {
    setObjectName(QStringLiteral("SetupBox"));
    setWindowTitle(tr("Set Up Position"));

    board_ = new BoardWidget(pieces_folder, this);
    app::OptionsRecord shown = options;
    shown.BoardSize = 0;
    board_->ApplyOptions(shown);
    connect(board_, &BoardWidget::squareClicked, this, &SetupBox::SquareClicked);

    palette_ = new QButtonGroup(this);
    palette_->setExclusive(true);
    auto* palette = new QGridLayout;
    // The palette draws the pieces of the board's own set.
    PieceSet pieces(pieces_folder, options.PieceStyle);
    QFont cross = font();
    cross.setPixelSize(24);
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        auto* button = new QToolButton(this);
        const QPixmap image = Palette[i].code == chess::Empty
                                  ? QPixmap()
                                  : pieces.Piece(Palette[i].code, 40, devicePixelRatioF());
        if (image.isNull()) {
            button->setText(QString::fromUtf8(Palette[i].figurine));
            button->setFont(cross);
        } else {
            button->setIcon(QIcon(image));
            button->setIconSize(QSize(40, 40));
        }
        button->setCheckable(true);
        button->setMinimumSize(44, 44);
        button->setToolTip(Palette[i].code == chess::Empty ? tr("Take pieces off") : QString());
        palette_->addButton(button, static_cast<int>(Palette[i].code));
        palette->addWidget(button,
                           i < 6    ? 0
                           : i < 12 ? 1
                                    : 0,
                           i < 12 ? static_cast<int>(i % 6) : 6);
    }
    palette_->button(static_cast<int>(chess::Pawn))->setChecked(true);

    side_[0] = new QRadioButton(tr("&White"), this);
    side_[1] = new QRadioButton(tr("&Black"), this);
    auto* side_row = new QHBoxLayout;
    side_row->addWidget(side_[0]);
    side_row->addWidget(side_[1]);
    const std::array<const char*, 4> castling_names = {"White O-O", "White O-O-O", "Black O-O",
                                                       "Black O-O-O"};
    auto* castling_grid = new QGridLayout;
    for (std::size_t i = 0; i < castling_.size(); ++i) {
        castling_[i] = new QCheckBox(tr(castling_names[i]), this);
        castling_grid->addWidget(castling_[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    en_passant_ = new QComboBox(this);
    en_passant_->addItem(tr("none"));
    for (int file = 1; file <= 8; ++file)
        en_passant_->addItem(QString(QChar(chess::FileLetter(file))));
    move_number_ = new QSpinBox(this);
    move_number_->setRange(1, 999);

    auto* fields = new QFormLayout;
    fields->addRow(tr("To move:"), side_row);
    fields->addRow(tr("Castling:"), castling_grid);
    fields->addRow(tr("En passant file:"), en_passant_);
    fields->addRow(tr("Move number:"), move_number_);

    auto* clear = new QPushButton(tr("&Clear"), this);
    auto* initial = new QPushButton(tr("&Initial"), this);
    auto* copy = new QPushButton(tr("Cop&y FEN"), this);
    auto* paste = new QPushButton(tr("&Paste FEN"), this);
    connect(clear, &QPushButton::clicked, this, [this] {
        ReadFields();
        setup_.Clear();
        Show();
    });
    connect(initial, &QPushButton::clicked, this, [this] {
        setup_.Initial();
        Show();
    });
    connect(copy, &QPushButton::clicked, this, [this] {
        ReadFields();
        QGuiApplication::clipboard()->setText(ToQString(setup_.Fen()));
    });
    connect(paste, &QPushButton::clicked, this, &SetupBox::PasteFen);
    auto* tools = new QHBoxLayout;
    for (QPushButton* button : {clear, initial, copy, paste}) tools->addWidget(button);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        ReadFields();
        if (setup_.Validate(ui_)) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addLayout(palette);
    right->addLayout(fields);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(board_, 0, Qt::AlignTop);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(tools);
    layout->addWidget(buttons);
    Show();
}

void SetupBox::ChoosePiece(std::uint32_t code) {
    if (QAbstractButton* button = palette_->button(static_cast<int>(code)))
        button->setChecked(true);
}

void SetupBox::SquareClicked(int file, int rank) {
    ReadFields();
    const auto code = static_cast<std::uint32_t>(palette_->checkedId());
    // The same piece clicked again comes off: one palette choice both places and corrects.
    setup_.Place(file, rank, setup_.PieceAt(file, rank) == code ? chess::Empty : code);
    Show();
}

void SetupBox::PasteFen() {
    ReadFields();
    if (Error read =
            setup_.SetFromFen(QGuiApplication::clipboard()->text().trimmed().toStdString());
        !read.ok()) {
        ui_.explain(read);
        return;
    }
    Show();
}

void SetupBox::Show() {
    board_->SetPosition(setup_.Board(), {});
    side_[setup_.SideToMove() == chess::Side::White ? 0 : 1]->setChecked(true);
    const app::CastlingRights& rights = setup_.Castling();
    const std::array<bool, 4> on = {rights.white_king, rights.white_queen, rights.black_king,
                                    rights.black_queen};
    for (std::size_t i = 0; i < castling_.size(); ++i) {
        const QSignalBlocker blocker(castling_[i]);
        castling_[i]->setChecked(on[i]);
    }
    en_passant_->setCurrentIndex(setup_.EnPassantFile());
    move_number_->setValue(setup_.MoveNumber());
}

void SetupBox::ReadFields() {
    setup_.SetSideToMove(side_[1]->isChecked() ? chess::Side::Black : chess::Side::White);
    setup_.SetCastling({castling_[0]->isChecked(), castling_[1]->isChecked(),
                        castling_[2]->isChecked(), castling_[3]->isChecked()});
    setup_.SetEnPassantFile(en_passant_->currentIndex());
    setup_.SetMoveNumber(move_number_->value());
}

}  // namespace qorvale::gui
