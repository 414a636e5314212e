#pragma once

#include <optional>
#include <string>

namespace lanthor {

class LanthorDocumentView;

enum class ExportFormat { Jpeg, Png, Svg, Pdf };

/// The format that a file name's extension names (.jpg or .jpeg, .png, .svg, .pdf, in any
/// letter case), or none.
std::optional<ExportFormat> exportFormatForPath(const std::string& path);

/// Displays the canvas (its drawing pass, then every node view over it) and writes the whole
/// drawing to `path` in `format`, one point to a pixel: everything drawn is captured, also what
/// lies left of or above the canvas's origin, on white. The file is replaced whole or not at
/// all. Returns why it could not be written, or none. Needs a GuiSession.
std::optional<std::string> exportCanvas(LanthorDocumentView& canvas, const std::string& path,
                                        ExportFormat format);

} // namespace lanthor
