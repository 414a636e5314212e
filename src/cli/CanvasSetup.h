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

/// Leaves `setup` to the end of the process: the command is done with it, and freeing a
/// million views and nodes one by one would only delay the exit by a second or so.
void keepUntilExit(std::unique_ptr<CanvasSetup> setup);

} // namespace lanthor
