#include "ConvertCommand.h"

#include "Cli.h"
#include "TreeFileLoading.h"
#include "base/AtomicFile.h"
#include "model/TreeFormats.h"
#include "model/TreeText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

namespace lanthor {

namespace {

struct ConvertArguments {
    std::optional<TreeFormat> from;
    std::optional<TreeFormat> to;
    bool standalone = false;
    std::vector<std::string> files;
};

std::optional<std::string> parseArguments(const std::vector<std::string>& args,
                                          ConvertArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--from" || arg == "--to") {
            if (i + 1 == args.size()) {
                return arg + " needs a format";
            }
            const std::optional<TreeFormat> format = treeFormatNamed(args[++i]);
            if (!format) {
                return "unknown format '" + args[i] + "' (csv, brackets, ptb, forest or qtree)";
            }
            (arg == "--from" ? parsed.from : parsed.to) = format;
        } else if (arg == "--standalone") {
            parsed.standalone = true;
        } else if (arg.size() > 1 && arg.starts_with('-')) {
            return "unknown option '" + arg + "'";
        } else {
            parsed.files.push_back(arg);
        }
    }
    if (parsed.files.size() != 2) {
        return "convert needs IN and OUT";
    }
    for (const bool input : {true, false}) {
        std::optional<TreeFormat>& format = input ? parsed.from : parsed.to;
        const std::string& file = parsed.files[input ? 0 : 1];
        if (!format) {
            format = treeFormatOfPath(file);
        }
        if (!format) {
            return "cannot tell the format of '" + file + "': give " + (input ? "--from" : "--to");
        }
    }
    if (*parsed.from == TreeFormat::Forest || *parsed.from == TreeFormat::Qtree) {
        return "LaTeX is written, not read: IN must be csv, brackets or ptb";
    }
    return std::nullopt;
}

/// The whole input, or none with the reason printed.
std::optional<std::string> readBytes(const std::string& file) {
    if (file == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes;
    if (in) {
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    if (!in.is_open() || in.bad()) {
        printError(file + ": cannot be read (" + std::strerror(errno) + ")");
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::shared_ptr<TreeTable>> readTree(const std::string& file, TreeFormat format) {
    if (format == TreeFormat::Csv) {
        auto table = std::make_shared<TreeTable>();
        if (loadTreeFile(file, *table) != kExitSuccess) {
            return std::nullopt;
        }
        return table;
    }
    const std::optional<std::string> bytes = readBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    std::variant<std::u16string, std::string> text = decodeTreeText(*bytes);
    if (const auto* problem = std::get_if<std::string>(&text)) {
        printError(displayName(file) + ": " + *problem);
        return std::nullopt;
    }
    auto read =
        readTreeText(std::get<std::u16string>(text),
                     format == TreeFormat::Penn ? TreeTextFormat::Penn : TreeTextFormat::Brackets);
    if (const auto* error = std::get_if<TreeTextError>(&read)) {
        printError(displayName(file) + ": line " + std::to_string(error->line) + ", column " +
                   std::to_string(error->column) + ": " + error->message);
        return std::nullopt;
    }
    return std::get<std::shared_ptr<TreeTable>>(std::move(read));
}

} // namespace

int runConvertCommand(const std::vector<std::string>& args) {
    ConvertArguments arguments;
    if (const std::optional<std::string> problem = parseArguments(args, arguments)) {
        return usageError(*problem);
    }
    const std::optional<std::shared_ptr<TreeTable>> table =
        readTree(arguments.files[0], *arguments.from);
    if (!table) {
        return kExitInputFailed;
    }
    const std::string bytes = treeFormatBytes(**table, *arguments.to, arguments.standalone);
    const std::string& out = arguments.files[1];
    if (out == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0) {
            printError("cannot write standard output");
            return kExitInputFailed;
        }
        return kExitSuccess;
    }
    if (const std::optional<std::string> error = writeFileAtomically(out, bytes)) {
        printError(*error);
        return kExitInputFailed;
    }
    return kExitSuccess;
}

} // namespace lanthor
