#include "CanvasExport.h"

#include "QtPainter.h"
#include "SvgStreamPainter.h"
#include "base/AtomicFile.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/RecordedDrawing.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <variant>

namespace lanthor {

namespace {

/// 72 dots per inch, as QImage counts them.
constexpr int kPointsPerMeter = 2835;

/// Beyond this many points on a side no device can hold the drawing.
constexpr double kLargestSide = 1 << 30;

/// The whole pixels that hold `extent`, at least one by one; none when they would not fit in
/// the devices' integer coordinates.
std::optional<QRect> pixelRect(Rect extent) {
    const double left = std::floor(extent.minX());
    const double top = std::floor(extent.minY());
    const double width = std::max(1.0, std::ceil(extent.maxX()) - left);
    const double height = std::max(1.0, std::ceil(extent.maxY()) - top);
    const auto fits = [](double value) { return std::abs(value) <= kLargestSide; };
    if (!fits(left) || !fits(top) || !fits(width) || !fits(height)) {
        return std::nullopt; // also for values that are not finite
    }
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                 static_cast<int>(height));
}

/// The largest side that each raster format's encoder takes.
double largestSide(ExportFormat format) {
    return format == ExportFormat::Jpeg ? 65'500 : 1'000'000; // libjpeg's and libpng's limits
}

std::string formatName(ExportFormat format) {
    return format == ExportFormat::Jpeg ? "JPEG" : "PNG";
}

std::string sizeText(const QRect& area) {
    return std::to_string(area.width()) + " x " + std::to_string(area.height());
}

/// Why the picture cannot be made at this size, before any of it is painted; or none.
std::optional<std::string> refuseSize(const QRect& area, ExportFormat format) {
    if (format == ExportFormat::Svg || format == ExportFormat::Pdf) {
        return std::nullopt;
    }
    const std::string drawing = "the drawing is " + sizeText(area) + " pixels, ";
    if (std::max(area.width(), area.height()) > largestSide(format)) {
        return drawing + "larger than " + formatName(format) + " allows (" +
               std::to_string(static_cast<long>(largestSide(format))) + " on a side)";
    }
    if (double(area.width()) * area.height() > kLargestPicturePixels) {
        return drawing + "more than the " +
               std::to_string(static_cast<long>(kLargestPicturePixels)) +
               " pixels a picture may have";
    }
    return std::nullopt;
}

/// The canvas's whole drawing and the pixels that hold it.
struct Recording {
    RecordedDrawing drawing;
    QRect area;
};

/// Displays the canvas into a recording; or why there is no picture to make of it.
std::variant<Recording, std::string> record(LanthorDocumentView& canvas) {
    // Record first: the drawing's extent is known only once the pass has laid the tree out.
    Recording recording;
    canvas.display(recording.drawing);
    Rect extent = canvas.drawingBounds();
    if (const std::optional<Rect>& bounds = recording.drawing.bounds()) {
        extent = unionRect(extent, *bounds); // lines reach past the views by half their width
    }
    if (canvas.subviews().empty()) {
        return "nothing to draw";
    }
    const std::optional<QRect> area = pixelRect(extent);
    if (!area) {
        return "the drawing is too large to export";
    }
    recording.area = *area;
    return recording;
}

/// Draws the recorded drawing on white, with `area`'s top-left corner at the device's origin,
/// `scale` device units to a point.
void paintOn(QPaintDevice& device, const RecordedDrawing& drawing, const QRect& area,
             double scale = 1) {
    QPainter painter(&device);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    painter.fillRect(QRect(QPoint(0, 0), area.size()), Qt::white);
    painter.translate(-area.topLeft());
    QtPainter adapter(painter);
    drawing.replay(adapter);
}

/// The drawing painted on an image of `area`'s size; or why there is none.
std::variant<QImage, std::string> paintImage(const RecordedDrawing& drawing, const QRect& area) {
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        return "the drawing is too large for an image (" + std::to_string(area.width()) + " x " +
               std::to_string(area.height()) + " pixels)";
    }
    image.setDotsPerMeterX(kPointsPerMeter);
    image.setDotsPerMeterY(kPointsPerMeter);
    paintOn(image, drawing, area);
    return image;
}

/// Writes the drawing as an SVG document of `area`, to `sink` as it is drawn.
void writeSvg(const RecordedDrawing& drawing, const QRect& area, SvgStreamPainter::Sink sink) {
    SvgStreamPainter svg(std::move(sink), area.x(), area.y(), area.width(), area.height());
    drawing.replay(svg);
    svg.finish();
}

std::optional<std::string> encode(const RecordedDrawing& drawing, const QRect& area,
                                  ExportFormat format, QBuffer& buffer, std::string* notice) {
    switch (format) {
    case ExportFormat::Jpeg:
    case ExportFormat::Png: {
        const std::variant<QImage, std::string> image = paintImage(drawing, area);
        if (const auto* failure = std::get_if<std::string>(&image)) {
            return *failure;
        }
        if (!std::get<QImage>(image).save(&buffer, format == ExportFormat::Jpeg ? "JPEG" : "PNG")) {
            return "the image could not be encoded";
        }
        return std::nullopt;
    }
    case ExportFormat::Svg:
        break; // streamed to its file instead
    case ExportFormat::Pdf: {
        const double side = std::max(area.width(), area.height());
        const double scale = side > kLargestPdfSide ? kLargestPdfSide / side : 1;
        if (scale < 1 && notice) {
            *notice = "the drawing is " + sizeText(area) +
                      " points, larger than a PDF page may be (" +
                      std::to_string(static_cast<long>(kLargestPdfSide)) +
                      " on a side): it is scaled to fit";
        }
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(area.size()) * scale, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        paintOn(writer, drawing, area, scale);
        return std::nullopt;
    }
    }
    return "unknown export format";
}

} // namespace

std::optional<ExportFormat> exportFormatForPath(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "jpg" || extension == "jpeg") {
        return ExportFormat::Jpeg;
    }
    if (extension == "png") {
        return ExportFormat::Png;
    }
    if (extension == "svg") {
        return ExportFormat::Svg;
    }
    if (extension == "pdf") {
        return ExportFormat::Pdf;
    }
    return std::nullopt;
}

std::optional<std::string> exportCanvas(LanthorDocumentView& canvas, const std::string& path,
                                        ExportFormat format, std::string* notice) {
    if (notice) {
        notice->clear();
    }
    std::variant<Recording, std::string> recorded = record(canvas);
    if (auto* failure = std::get_if<std::string>(&recorded)) {
        return std::move(*failure);
    }
    const auto& [drawing, area] = std::get<Recording>(recorded);
    if (std::optional<std::string> refusal = refuseSize(area, format)) {
        return *refusal + ": export it as SVG or PDF instead";
    }

    if (format == ExportFormat::Svg) {
        // Written as it is drawn: a large tree's SVG is hundreds of megabytes.
        AtomicFile file(path);
        writeSvg(drawing, area, [&file](std::string_view piece) { file.write(piece); });
        return file.commit();
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (std::optional<std::string> error = encode(drawing, area, format, buffer, notice)) {
        return error;
    }
    buffer.close();
    const QByteArray& bytes = buffer.data();
    return writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::variant<CanvasPicture, std::string> pictureOfCanvas(LanthorDocumentView& canvas) {
    std::variant<Recording, std::string> recorded = record(canvas);
    if (auto* failure = std::get_if<std::string>(&recorded)) {
        return std::move(*failure);
    }
    const auto& [drawing, area] = std::get<Recording>(recorded);
    CanvasPicture picture;
    writeSvg(drawing, area, [&picture](std::string_view piece) {
        picture.svg.append(piece.data(), static_cast<qsizetype>(piece.size()));
    });
    if (std::optional<std::string> refusal = refuseSize(area, ExportFormat::Png)) {
        picture.imageRefusal = std::move(*refusal);
        return picture;
    }
    std::variant<QImage, std::string> image = paintImage(drawing, area);
    if (auto* failure = std::get_if<std::string>(&image)) {
        picture.imageRefusal = std::move(*failure);
        return picture;
    }
    picture.image = std::move(std::get<QImage>(image));
    QBuffer buffer(&picture.png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.image.save(&buffer, "PNG")) {
        picture.image = QImage();
        picture.png.clear();
        picture.imageRefusal = "the image could not be encoded";
    }
    return picture;
}

} // namespace lanthor
