#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>
#include <string>
#include <variant>

namespace lanthor {

class LanthorDocumentView;

enum class ExportFormat { Jpeg, Png, Svg, Pdf };

/// The format that a file name's extension names (.jpg or .jpeg, .png, .svg, .pdf, in any
/// letter case), or none.
std::optional<ExportFormat> exportFormatForPath(const std::string& path);

/// The most pixels a JPEG or PNG picture may have in all: more would take gigabytes to paint.
inline constexpr double kLargestPicturePixels = 100'000'000;
/// The longest side, in points, that PDF viewers open: a larger drawing is scaled down to it.
inline constexpr double kLargestPdfSide = 14'400;

/// Displays the canvas (its drawing pass, then every node view over it) and writes the whole
/// drawing to `path` in `format`, one point to a pixel: everything drawn is captured, also what
/// lies left of or above the canvas's origin, on white. The size is checked before anything is
/// painted: a picture larger than its format allows, or than kLargestPicturePixels, is refused
/// at once, and a PDF larger than kLargestPdfSide on a side is scaled to fit (`notice`, when
/// given, then says so; otherwise it is left empty). A tree with nothing to draw is refused.
/// The file is replaced whole or not at all. Returns why it could not be written, or none.
/// Needs a GuiSession.
std::optional<std::string> exportCanvas(LanthorDocumentView& canvas, const std::string& path,
                                        ExportFormat format, std::string* notice = nullptr);

/// A canvas's whole drawing in memory, for the clipboard.
struct CanvasPicture {
    QImage image;             ///< null when the drawing is too large for a raster picture
    QByteArray png;           ///< the image as PNG; empty with it
    std::string imageRefusal; ///< why there is no image, or empty
    QByteArray svg;
};

/// Displays the canvas and keeps its whole drawing as exportCanvas writes it: an image and its
/// PNG bytes, with the same limits (a drawing too large for them has none and says why), and
/// an SVG document, always. A tree with nothing to draw, or a drawing larger than any device,
/// gives only why. Needs a GuiSession.
std::variant<CanvasPicture, std::string> pictureOfCanvas(LanthorDocumentView& canvas);

} // namespace lanthor
