#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QSvgRenderer;

namespace qorvale::gui {

// One piece style: its twelve drawings, rendered once per square size and screen scale.
class PieceSet {
  public:
    // `pieces_folder` holds one folder per style. An unknown style falls back to style 2.
    PieceSet(const QString& pieces_folder, int style);
    ~PieceSet();

    int Style() const { return style_; }
    bool IsComplete() const { return complete_; }
    // The piece of board code `code` (1-6, 11-16) for a square of `size` logical pixels.
    QPixmap Piece(std::uint32_t code, int size, qreal device_pixel_ratio);

  private:
    int style_ = 2;
    bool complete_ = true;
    std::array<std::unique_ptr<QSvgRenderer>, 12> drawings_;
    std::array<QPixmap, 12> bitmaps_;
    QHash<quint64, QPixmap> cache_;
};

// The pieces folder of the program: the install folder's copy, else the program's data folder.
QString PiecesFolder(const QString& app_folder);

}  // namespace qorvale::gui
