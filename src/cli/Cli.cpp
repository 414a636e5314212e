#include "Cli.h"

#include "CsvCommand.h"
#include "Output.h"
#include "RenderCommands.h"
#include "TreeCommands.h"
#include "csv/Log.h"

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

int runCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        return usageError("the editor is not part of this build; use a subcommand");
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "csv") {
        return runCsvCommand(rest);
    }
    if (command == "dump") {
        return runDumpCommand(rest);
    }
    if (command == "resave") {
        return runResaveCommand(rest);
    }
    if (command == "layout") {
        return runLayoutCommand(rest);
    }
    if (command == "export") {
        return runExportCommand(rest);
    }
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return kExitSuccess;
    }
    return usageError("the editor is not part of this build; use a subcommand");
}

} // namespace

int runCli(int argc, char** argv) {
    const int status = runCommand(std::vector<std::string>(argv + 1, argv + argc));
    flushLog();
    return status;
}

} // namespace lanthor
