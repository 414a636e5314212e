#include "TreeFileLoading.h"

#include "Cli.h"
#include "model/TreeTable.h"

namespace lanthor {

int loadTreeFile(const std::string& file, TreeTable& table) {
    if (const std::optional<TreeLoadError> error = table.loadTableFromURL(file)) {
        printError(error->describe());
        return kExitInputFailed;
    }
    return kExitSuccess;
}

} // namespace lanthor
