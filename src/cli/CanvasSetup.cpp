#include "CanvasSetup.h"

#include "ViewOptions.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "model/TreeTable.h"

#include <vector>

namespace lanthor {

CanvasSetup::CanvasSetup(std::shared_ptr<TreeTable> loaded, const RenderArguments& arguments,
                         const TextSystem& textSystem)
    : table(std::move(loaded)), configuration(std::make_shared<LanthorConfiguration>()),
      canvas(std::make_shared<LanthorDocumentView>(Rect{}, textSystem)) {
    arguments.applyTo(*configuration);
    canvas->setTreeTable(table);
    canvas->setMConfiguration(configuration);
    canvas->setUpdated(true);
}

CanvasSetup::~CanvasSetup() = default;

void keepUntilExit(std::unique_ptr<CanvasSetup> setup) {
    static auto* const kept = new std::vector<std::unique_ptr<CanvasSetup>>();
    kept->push_back(std::move(setup));
}

} // namespace lanthor
