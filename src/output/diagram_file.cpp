#include "output/diagram_file.h"

#include "output/bmp.h"
#include "output/gif_encoder.h"
#include "output/jpeg_codec.h"
#include "output/messages.h"
#include "output/png_codec.h"
#include "platform/whole_file.h"

namespace qorvale::output {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithNoCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    text.remove_prefix(text.size() - ending.size());
    for (std::size_t k = 0; k < ending.size(); ++k) {
        if (Lower(text[k]) != Lower(ending[k])) return false;
    }
    return true;
}

std::string_view CreateFailure(DiagramKind kind) {
    switch (kind) {
        case DiagramKind::Png:
            return ErrorCreatingPngFile;
        case DiagramKind::Jpeg:
            return ErrorCreatingJpegFile;
        case DiagramKind::Bmp:
        case DiagramKind::Gif:
            break;
    }
    return ErrorCreatingFile;
}

}  // namespace

std::string_view DiagramExtension(DiagramKind kind) {
    switch (kind) {
        case DiagramKind::Bmp:
            return "bmp";
        case DiagramKind::Gif:
            return "gif";
        case DiagramKind::Jpeg:
            return "jpg";
        case DiagramKind::Png:
            return "png";
    }
    return "gif";
}

std::string ChooseDiagramFile(std::string_view chosen, DiagramKind kind) {
    std::string name(chosen);
    const std::string ending = "." + std::string(DiagramExtension(kind));
    if (!EndsWithNoCase(name, ending)) name += ending;
    return name;
}

std::string PerMoveName(std::string_view base, const MoveCaption& caption,
                        std::string_view extension) {
    std::string name(base);
    if (!caption.present()) {
        name += "-start";
    } else {
        name += caption.black ? "-blackmove" : "-whitemove";
        name += std::to_string(caption.number);
    }
    name += '.';
    name += extension;
    return name;
}

Result<std::vector<std::uint8_t>> EncodeDiagram(const DiagramRaster& raster, DiagramKind kind) {
    switch (kind) {
        case DiagramKind::Bmp:
            return EncodeBmp(raster.width, raster.height, raster.pixels, raster.palette);
        case DiagramKind::Gif: {
            // Larger squares make larger pictures: the pool grows with them so that every
            // diagram fits, as the standard one always does.
            LzwPool pool;
            pool.bytes = std::max(pool.bytes, raster.pixels.size() + 4096 + 256);
            return EncodeGif({raster.width, raster.height, 8, raster.pixels, raster.palette,
                              DiagramGifBackground},
                             pool);
        }
        case DiagramKind::Png:
            return EncodePalettePng(raster.width, raster.height, raster.pixels, raster.palette);
        case DiagramKind::Jpeg:
            return EncodeJpeg(raster.width, raster.height, RasterRgb(raster), DiagramJpegQuality);
    }
    return Error(std::string(ErrorCreatingFile));
}

Error WriteDiagramFile(const DiagramRaster& raster, DiagramKind kind, const std::string& path,
                       platform::FileSystem& files) {
    Result<std::vector<std::uint8_t>> bytes = EncodeDiagram(raster, kind);
    if (!bytes.ok()) return bytes.error();
    if (!platform::WriteWholeFile(files, path, *bytes)) {
        return Error(std::string(CreateFailure(kind)));
    }
    return Error::Ok();
}

Error MakeDiagram(DiagramKind kind, const DiagramPosition& position, const DiagramStyle& style,
                  const DiagramArt& art, const std::string& path, platform::FileSystem& files) {
    return WriteDiagramFile(DrawDiagram(position, style, art), kind, path, files);
}

std::string_view DiagramCompleteMessage(DiagramKind kind) {
    switch (kind) {
        case DiagramKind::Bmp:
            return BitmapFileComplete;
        case DiagramKind::Png:
            return PngFileComplete;
        case DiagramKind::Jpeg:
            return JpegFileComplete;
        case DiagramKind::Gif:
            break;
    }
    return {};
}

Result<std::string_view> RunSeries(std::span<const DiagramPosition> positions,
                                   const SeriesStopRequest& stop, platform::FileSystem& files,
                                   std::string_view write_failure, const SeriesStep& step) {
    std::vector<platform::FileContent> batch;
    std::string_view done = AllDiagramsComplete;
    for (const DiagramPosition& position : positions) {
        if (stop && stop()) {
            done = DiagramsAborted;
            break;
        }
        if (Error error = step(position, batch)) return error;
        if (batch.size() >= SeriesBatchFiles) {
            if (!platform::WriteWholeFiles(files, batch)) return Error(std::string(write_failure));
            batch.clear();
        }
    }
    if (!platform::WriteWholeFiles(files, batch)) return Error(std::string(write_failure));
    return done;
}

Result<std::string_view> MakeDiagramSeries(DiagramKind kind,
                                           std::span<const DiagramPosition> positions,
                                           const DiagramStyle& style, const DiagramArt& art,
                                           std::string_view base, platform::FileSystem& files,
                                           const SeriesStopRequest& stop) {
    return RunSeries(
        positions, stop, files, CreateFailure(kind),
        [&](const DiagramPosition& position, std::vector<platform::FileContent>& batch) -> Error {
            Result<std::vector<std::uint8_t>> bytes =
                EncodeDiagram(DrawDiagram(position, style, art), kind);
            if (!bytes.ok()) return bytes.error();
            batch.push_back(
                {PerMoveName(base, position.caption, DiagramExtension(kind)), std::move(*bytes)});
            return Error::Ok();
        });
}

}  // namespace qorvale::output
