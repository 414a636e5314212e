#include "base/HugePageHeap.h"
#include "base/Log.h"
#include "cli/Cli.h"
#include "editor/Editor.h"

#include <string>
#include <vector>

// A subcommand when the first argument names one; otherwise the arguments are the editor's.
int main(int argc, char** argv) {
    lanthor::useHugePageHeap();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = lanthor::namesSubcommand(args)
                           ? lanthor::runSubcommand(args)
                           : lanthor::runEditor(argc, argv, lanthor::usageError);
    lanthor::flushLog();
    return status;
}
