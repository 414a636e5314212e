#include "TreeFileLoading.h"

#include "Cli.h"
#include "model/TreeTable.h"

namespace lanthor {

int loadTreeFile(const std::string& file, TreeTable& table) {
    if (const std::optional<TreeLoadError> error = table.loadTableFromURL(file)) {
        printError(error->describe());
        return kExitInputFailed;
    }
    for (const std::string& warning : table.loadWarnings()) {
        printError("warning: " + TreeLoadError{file, warning}.describe());
    }
    return kExitSuccess;
}

} // namespace lanthor
