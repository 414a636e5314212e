#include "Cli.h"

#include "CsvCommand.h"
#include "Output.h"

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
    "FILE may be - for standard input.\n";

} // namespace

void printError(const std::string& message) {
    std::fprintf(stderr, "lanthor: %s\n", message.c_str());
    std::fflush(stderr);
}

int usageError(const std::string& problem) {
    printError(problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int runCli(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty()) {
        const std::string command = args.front();
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (command == "csv") {
            return runCsvCommand(rest);
        }
        if (command == "--help" || command == "-h") {
            std::fputs(kUsage, stdout);
            return kExitSuccess;
        }
    }
    return usageError("the editor is not part of this build; use a subcommand");
}

} // namespace lanthor
