#pragma once

#include <memory>

namespace lanthor {

class LanthorConfiguration;
class LanthorDocumentView;
class TextSystem;
class TreeTable;
struct RenderArguments;

/// A table on a canvas, wired as a document window wires them: table, then a configuration
/// (the defaults with the view options applied), then `updated` set, so that the next drawing
/// pass lays the tree out and draws it.
struct CanvasSetup {
    CanvasSetup(std::shared_ptr<TreeTable> table, const RenderArguments& arguments,
                const TextSystem& textSystem);
    ~CanvasSetup();

    std::shared_ptr<TreeTable> table;
    std::shared_ptr<LanthorConfiguration> configuration;
    std::shared_ptr<LanthorDocumentView> canvas;
};

} // namespace lanthor
