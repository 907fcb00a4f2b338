// Renders the piece cells of every piece style at the diagram cell sizes, exactly as the board
// widget draws them (SVG through QSvgRenderer, PNG scaled smoothly), and the coordinate glyphs.
// Writes RGBA PNGs into OUT; scripts/make-diagram-cells turns them into the palette sheets.
//   render_cells PIECES_FOLDER OUT
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

const char* const Folders[] = {"chessnut", "spatial", "cburnett", "sophia",
                               "fancy",    "celtic",  "rhosgfx",  "staunton3d-redvblue"};
const char* const Pieces[] = {"wP", "wN", "wB", "wR", "wQ", "wK",
                              "bP", "bN", "bB", "bR", "bQ", "bK"};
const int Sizes[] = {40, 60, 80};

bool DrawPiece(QPainter& painter, const QDir& folder, const char* piece, QRect cell) {
    QString svg = folder.filePath(QString::fromLatin1(piece) + ".svg");
    QString png = folder.filePath(QString::fromLatin1(piece) + ".png");
    if (QFileInfo::exists(svg)) {
        QSvgRenderer renderer(svg);
        if (!renderer.isValid()) return false;
        renderer.render(&painter, QRectF(cell));
        return true;
    }
    QImage image(png);
    if (image.isNull()) return false;
    painter.drawImage(cell.topLeft(),
                      image.scaled(cell.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_cells PIECES_FOLDER OUT\n");
        return 2;
    }
    QDir pieces(QString::fromLocal8Bit(argv[1]));
    QDir out(QString::fromLocal8Bit(argv[2]));
    for (const char* name : Folders) {
        QDir folder(pieces.filePath(QString::fromLatin1(name)));
        for (int size : Sizes) {
            QImage sheet(6 * size, 2 * size, QImage::Format_ARGB32_Premultiplied);
            sheet.fill(Qt::transparent);
            QPainter painter(&sheet);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            for (int k = 0; k < 12; ++k) {
                QRect cell((k % 6) * size, (k / 6) * size, size, size);
                if (!DrawPiece(painter, folder, Pieces[k], cell)) {
                    std::fprintf(stderr, "cannot draw %s/%s\n", name, Pieces[k]);
                    return 1;
                }
            }
            painter.end();
            // A diagram pixel is the piece's or the square's: edges more than half covered
            // keep the piece's colour at full strength, the rest show the square.
            QImage plain = sheet.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < plain.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(plain.scanLine(y));
                for (int x = 0; x < plain.width(); ++x) {
                    line[x] = qAlpha(line[x]) >= 128 ? (line[x] | 0xFF000000u) : 0u;
                }
            }
            QString file = out.filePath(QString("%1-%2.png").arg(name).arg(size));
            if (!plain.save(file)) return 1;
        }
    }
    // The coordinate letters and digits, black on white, one square box of half a cell each.
    const QString glyphs = QStringLiteral("abcdefgh12345678");
    for (int size : Sizes) {
        const int box = size / 2;
        QImage strip(16 * box, box, QImage::Format_RGB32);
        strip.fill(Qt::white);
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(size * 13 / 40);
        font.setWeight(QFont::DemiBold);
        font.setHintingPreference(QFont::PreferFullHinting);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int k = 0; k < 16; ++k) {
            painter.drawText(QRect(k * box, 0, box, box), Qt::AlignCenter, glyphs.mid(k, 1));
        }
        painter.end();
        QString file = out.filePath(QString("coordinates-%1.png").arg(size));
        if (!strip.convertToFormat(QImage::Format_Grayscale8).save(file)) return 1;
    }
    return 0;
}
