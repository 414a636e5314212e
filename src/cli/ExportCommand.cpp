#include "CanvasSetup.h"
#include "Cli.h"
#include "RenderCommands.h"
#include "TreeFileLoading.h"
#include "ViewOptions.h"
#include "model/TreeTable.h"
#include "qtgui/CanvasExport.h"
#include "qtgui/GuiSession.h"

namespace lanthor {

int runExportCommand(const std::vector<std::string>& args) {
    const auto parsed = parseRenderArguments(args, true);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        return usageError(*problem);
    }
    const RenderArguments& arguments = std::get<RenderArguments>(parsed);
    if (arguments.positional.size() != 1) {
        return usageError("export needs exactly one FILE");
    }
    if (!arguments.output) {
        return usageError("export needs -o OUT");
    }
    const std::optional<ExportFormat> format = exportFormatForPath(*arguments.output);
    if (!format) {
        return usageError("OUT must end in .jpg, .jpeg, .png, .svg or .pdf, not '" +
                          *arguments.output + "'");
    }
    auto table = std::make_shared<TreeTable>();
    if (const int status = loadTreeFile(arguments.positional[0], *table)) {
        return status;
    }

    GuiSession session;
    auto setup = std::make_unique<CanvasSetup>(std::move(table), arguments, session.textSystem());
    std::string notice;
    if (const std::optional<std::string> error =
            exportCanvas(*setup->canvas, *arguments.output, *format, &notice)) {
        printError("cannot write " + *arguments.output + ": " + *error);
        return kExitInputFailed;
    }
    if (!notice.empty()) {
        printError(*arguments.output + ": " + notice);
    }
    keepUntilExit(std::move(setup));
    return kExitSuccess;
}

} // namespace lanthor
