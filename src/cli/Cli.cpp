#include "Cli.h"

#include "ConvertCommand.h"
#include "CsvCommand.h"
#include "RenderCommands.h"
#include "TreeCommands.h"
#include "base/Log.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace lanthor {

namespace {

constexpr const char* kUsage =
    "usage: lanthor [FILE...]\n"
    "       lanthor csv [--options N] [--delimiter C] [--events] FILE\n"
    "       lanthor dump FILE\n"
    "       lanthor resave IN OUT\n"
    "       lanthor layout FILE [--font FAMILY] [--size POINTS] [--height N] [--numbers]\n"
    "       lanthor export FILE -o OUT [--font FAMILY] [--size POINTS] [--height N] [--numbers]\n"
    "       lanthor convert [--from F] [--to F] [--standalone] IN OUT\n"
    "FILE and IN may be - for standard input, and the OUT of resave and convert - for standard\n"
    "output. Formats: csv, brackets, ptb, forest, qtree (LaTeX, written only).\n"
    "layout and export also take --align-leaves (every leaf on the bottom row) and --tuck-leaves\n"
    "(a leaf that is an only child right under its parent, without an edge).\n";

} // namespace

std::string displayName(const std::string& file) {
    return file == "-" ? "standard input" : file;
}

void printError(const std::string& message) {
    flushLog();
    std::fprintf(stderr, "lanthor: %s\n", message.c_str());
    std::fflush(stderr);
}

int usageError(const std::string& problem) {
    printError(problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

namespace {

int printUsage(const std::vector<std::string>&) {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
}

struct Subcommand {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args);
};

constexpr std::array<Subcommand, 8> kSubcommands = {{
    {"csv", runCsvCommand},
    {"dump", runDumpCommand},
    {"resave", runResaveCommand},
    {"layout", runLayoutCommand},
    {"export", runExportCommand},
    {"convert", runConvertCommand},
    {"--help", printUsage},
    {"-h", printUsage},
}};

const Subcommand* findSubcommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        return nullptr;
    }
    const auto found = std::find_if(kSubcommands.begin(), kSubcommands.end(),
                                    [&](const Subcommand& s) { return s.name == args.front(); });
    return found == kSubcommands.end() ? nullptr : &*found;
}

} // namespace

bool namesSubcommand(const std::vector<std::string>& args) {
    return findSubcommand(args) != nullptr;
}

int runSubcommand(const std::vector<std::string>& args) {
    const int status = findSubcommand(args)->run({args.begin() + 1, args.end()});
    flushLog();
    return status;
}

} // namespace lanthor
