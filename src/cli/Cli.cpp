#include "Cli.h"

#include "CsvCommand.h"
#include "Output.h"
#include "RenderCommands.h"
#include "TreeCommands.h"
#include "csv/Log.h"
#include "qt/Editor.h"

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

/// True when the arguments name no subcommand: they are then the editor's files.
bool opensEditor(const std::vector<std::string>& args) {
    constexpr std::array<std::string_view, 7> kCommands = {"csv",    "dump",   "resave", "layout",
                                                           "export", "--help", "-h"};
    return args.empty() ||
           std::find(kCommands.begin(), kCommands.end(), args.front()) == kCommands.end();
}

int runCommand(const std::vector<std::string>& args) {
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
    return usageError("unknown command '" + command + "'");
}

} // namespace

int runCli(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = opensEditor(args) ? runEditor(argc, argv, usageError) : runCommand(args);
    flushLog();
    return status;
}

} // namespace lanthor
