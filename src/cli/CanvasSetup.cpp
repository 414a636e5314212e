#include "CanvasSetup.h"

#include "ViewOptions.h"
#include "app/LanthorConfiguration.h"
#include "model/TreeTable.h"
#include "render/LanthorDocumentView.h"

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

} // namespace lanthor
