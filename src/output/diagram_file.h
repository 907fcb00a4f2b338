#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "output/diagram.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"

namespace qorvale::output {

// The image files a diagram is written as, numbered as the program numbers them.
enum class DiagramKind : int { Bmp = 1, Gif = 2, Jpeg = 3, Png = 4 };

// "bmp", "gif", "jpg", "png".
std::string_view DiagramExtension(DiagramKind kind);

// The file name a diagram is saved under, from the name chosen in the save dialog: the kind's
// extension (".bmp", ".gif", ".jpg", ".png") is added unless the name already ends in it, in any
// letter case.
std::string ChooseDiagramFile(std::string_view chosen, DiagramKind kind);

// The per-move name of a position: base + "-start", "-whitemove<n>" or "-blackmove<n>", then
// "." + `extension` ("html" for the pages of a series).
std::string PerMoveName(std::string_view base, const MoveCaption& caption,
                        std::string_view extension);

// The bytes of the diagram file: GIF87a of 8 bits with screen background index 6, an 8-bit
// BMP, an 8-bit palette PNG, or a JPEG of the same pixels.
Result<std::vector<std::uint8_t>> EncodeDiagram(const DiagramRaster& raster, DiagramKind kind);

// Writes the diagram beside `path` and renames it into place. Fails with the encoder's message,
// or when the file cannot be written with "Error creating file." (BMP, GIF), "Error creating PNG
// file." or "Error creating JPEG file."; a failure leaves `path` as it was.
Error WriteDiagramFile(const DiagramRaster& raster, DiagramKind kind, const std::string& path,
                       platform::FileSystem& files);

// Draws and writes the diagram of `position` (MakeDiagram of the program).
Error MakeDiagram(DiagramKind kind, const DiagramPosition& position, const DiagramStyle& style,
                  const DiagramArt& art, const std::string& path, platform::FileSystem& files);

// What the user is told when a single diagram file is complete: "Bitmap file complete.", "PNG
// file complete.", "JPEG file complete."; "" for GIF. Not shown during a series.
std::string_view DiagramCompleteMessage(DiagramKind kind);

// Asked between two files of a series; true stops it (a click in the window).
using SeriesStopRequest = std::function<bool()>;

// Files of a series are written in batches of this many, with one flush each.
inline constexpr std::size_t SeriesBatchFiles = 64;

// Adds the files of one position of a series to `batch`.
using SeriesStep = std::function<Error(const DiagramPosition& position,
                                       std::vector<platform::FileContent>& batch)>;

// Runs a series: the files of each position in turn, written in batches (WriteWholeFiles), `stop`
// asked before each position. Returns "All diagrams complete.", "The diagrams have been
// aborted." (what was made so far is written), a step's failure, or `write_failure` when a batch
// cannot be written.
Result<std::string_view> RunSeries(std::span<const DiagramPosition> positions,
                                   const SeriesStopRequest& stop, platform::FileSystem& files,
                                   std::string_view write_failure, const SeriesStep& step);

// One diagram per position, each under its per-move name (PerMoveName of `base`). Stops at the
// first failure with its message; otherwise returns "All diagrams complete.", or "The diagrams
// have been aborted." when `stop` asks to stop; the files written so far stay.
Result<std::string_view> MakeDiagramSeries(DiagramKind kind,
                                           std::span<const DiagramPosition> positions,
                                           const DiagramStyle& style, const DiagramArt& art,
                                           std::string_view base, platform::FileSystem& files,
                                           const SeriesStopRequest& stop = {});

}  // namespace qorvale::output
