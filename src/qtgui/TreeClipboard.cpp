#include "TreeClipboard.h"

#include "CanvasExport.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "model/TreeFormats.h"
#include "model/TreeTable.h"
#include "model/TreeText.h"

#include <QMimeData>

namespace lanthor {

namespace {

QByteArray bytesOf(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

/// The trees' picture on a canvas of their own, the window's settings copied, so that the
/// window's canvas keeps its views.
std::variant<CanvasPicture, std::string> pictureOfTrees(const std::shared_ptr<TreeTable>& trees,
                                                        const LanthorConfiguration& configuration,
                                                        const TextSystem& textSystem) {
    const auto canvas = std::make_shared<LanthorDocumentView>(Rect{}, textSystem);
    canvas->setTreeTable(trees);
    canvas->setMConfiguration(std::make_shared<LanthorConfiguration>(configuration));
    canvas->setUpdated(true);
    return pictureOfCanvas(*canvas);
}

std::shared_ptr<TreeTable> loadTreeFile(const QByteArray& bytes) {
    const std::variant<std::u16string, std::string> text =
        decodeTreeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    auto table = std::make_shared<TreeTable>();
    if (!std::holds_alternative<std::u16string>(text) ||
        table->loadTable(std::get<std::u16string>(text))) {
        return nullptr;
    }
    return table;
}

} // namespace

std::unique_ptr<QMimeData> treeMimeData(std::shared_ptr<TreeTable> trees,
                                        const LanthorConfiguration& configuration,
                                        const TextSystem& textSystem, std::string& notice) {
    notice.clear();
    auto data = std::make_unique<QMimeData>();
    data->setText(QString::fromStdString(treeFormatBytes(*trees, TreeFormat::Brackets)));
    data->setData(QString::fromLatin1(kTreeFileMimeType),
                  bytesOf(treeFormatBytes(*trees, TreeFormat::Csv)));
    std::variant<CanvasPicture, std::string> drawn =
        pictureOfTrees(trees, configuration, textSystem);
    if (const auto* failure = std::get_if<std::string>(&drawn)) {
        notice = "no picture: " + *failure;
        return data;
    }
    CanvasPicture& picture = std::get<CanvasPicture>(drawn);
    data->setData(QStringLiteral("image/svg+xml"), picture.svg);
    if (picture.image.isNull()) {
        notice = "no PNG picture: " + picture.imageRefusal;
        return data;
    }
    data->setImageData(picture.image);
    data->setData(QStringLiteral("image/png"), picture.png);
    return data;
}

bool mayHoldTrees(const QMimeData& data) {
    return data.hasFormat(QString::fromLatin1(kTreeFileMimeType)) || data.hasText();
}

std::variant<std::shared_ptr<TreeTable>, std::string> treesOfMimeData(const QMimeData& data) {
    if (data.hasFormat(QString::fromLatin1(kTreeFileMimeType))) {
        if (std::shared_ptr<TreeTable> trees =
                loadTreeFile(data.data(QString::fromLatin1(kTreeFileMimeType)))) {
            return trees;
        }
    }
    const std::u16string text = data.text().toStdU16String();
    std::variant<std::shared_ptr<TreeTable>, TreeTextError> brackets =
        readTreeText(text, TreeTextFormat::Brackets);
    if (auto* trees = std::get_if<std::shared_ptr<TreeTable>>(&brackets)) {
        return std::move(*trees);
    }
    if (auto penn = readTreeText(text, TreeTextFormat::Penn);
        std::holds_alternative<std::shared_ptr<TreeTable>>(penn)) {
        return std::get<std::shared_ptr<TreeTable>>(std::move(penn));
    }
    const TreeTextError& error = std::get<TreeTextError>(brackets);
    return std::to_string(error.line) + ":" + std::to_string(error.column) + " " + error.message;
}

} // namespace lanthor
