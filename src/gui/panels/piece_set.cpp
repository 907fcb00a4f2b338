#include "gui/panels/piece_set.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include "app/app_folder.h"
#include "gui/shell/qt_text.h"
#include "output/diagram_art.h"

namespace qorvale::gui {

namespace {

constexpr std::array<const char*, 12> PieceFiles = {"wP", "wN", "wB", "wR", "wQ", "wK",
                                                    "bP", "bN", "bB", "bR", "bQ", "bK"};
constexpr int FallbackStyle = 2;

// The light pieces of the modern wood set are nearly the colour of the light squares: a thin dark
// rim keeps them legible there, as a separate set of pieces for the dark squares would.
constexpr std::string_view RimmedStyle = "staunton3d-modernwood";

QPixmap WithRim(const QPixmap& piece) {
    QImage source = piece.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage rim = source;
    {
        QPainter tint(&rim);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(rim.rect(), QColor(40, 24, 8, 200));
    }
    QImage out(source.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    const int width = qMax(1, source.width() / 48);
    for (int dx = -width; dx <= width; dx += width) {
        for (int dy = -width; dy <= width; dy += width) {
            if (dx != 0 || dy != 0) painter.drawImage(dx, dy, rim);
        }
    }
    painter.drawImage(0, 0, source);
    painter.end();
    return QPixmap::fromImage(out);
}

int Slot(std::uint32_t code) {
    if (code >= 1 && code <= 6) return static_cast<int>(code) - 1;
    if (code >= 11 && code <= 16) return static_cast<int>(code) - 11 + 6;
    return -1;
}

}  // namespace

PieceSet::PieceSet(const QString& pieces_folder, int style) {
    style_ = style >= 0 && style < static_cast<int>(output::PieceStyleFolders.size())
                 ? style
                 : FallbackStyle;
    QDir folder(pieces_folder + QLatin1Char('/') +
                ToQString(output::PieceStyleFolders[static_cast<std::size_t>(style_)]));
    for (std::size_t k = 0; k < PieceFiles.size(); ++k) {
        QString svg = folder.filePath(QLatin1String(PieceFiles[k]) + ".svg");
        QString png = folder.filePath(QLatin1String(PieceFiles[k]) + ".png");
        if (QFileInfo::exists(svg)) {
            drawings_[k] = std::make_unique<QSvgRenderer>(svg);
            if (!drawings_[k]->isValid()) complete_ = false;
        } else if (QFileInfo::exists(png)) {
            bitmaps_[k] = QPixmap(png);
            if (bitmaps_[k].isNull()) complete_ = false;
        } else {
            complete_ = false;
        }
    }
}

PieceSet::~PieceSet() = default;

QPixmap PieceSet::Piece(std::uint32_t code, int size, qreal device_pixel_ratio) {
    const int slot = Slot(code);
    if (slot < 0 || size <= 0) return {};
    const int pixels = qMax(1, qRound(size * device_pixel_ratio));
    const quint64 key = (static_cast<quint64>(slot) << 32) | static_cast<quint64>(pixels);
    auto found = cache_.constFind(key);
    if (found != cache_.constEnd()) return *found;

    QPixmap pixmap;
    const auto index = static_cast<std::size_t>(slot);
    if (drawings_[index]) {
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        drawings_[index]->render(&painter, QRectF(0, 0, pixels, pixels));
        painter.end();
        pixmap = QPixmap::fromImage(image);
    } else if (!bitmaps_[index].isNull()) {
        pixmap =
            bitmaps_[index].scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (slot < 6 && !pixmap.isNull() &&
        output::PieceStyleFolders[static_cast<std::size_t>(style_)] == RimmedStyle) {
        pixmap = WithRim(pixmap);
    }
    pixmap.setDevicePixelRatio(device_pixel_ratio);
    cache_.insert(key, pixmap);
    return pixmap;
}

QString PiecesFolder(const QString& app_folder) {
    QString installed = app_folder + QStringLiteral("/pieces");
    if (QFileInfo::exists(installed + QLatin1Char('/') + ToQString(output::PieceStyleFolders[0]))) {
        return installed;
    }
    return QString::fromStdString(app::ProgramDataFolder()) + QStringLiteral("/pieces");
}

}  // namespace qorvale::gui
