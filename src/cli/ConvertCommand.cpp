#include "ConvertCommand.h"

#include "Cli.h"
#include "TreeFileLoading.h"
#include "base/AtomicFile.h"
#include "base/Utf.h"
#include "model/LatexText.h"
#include "model/TreeText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>

namespace lanthor {

namespace {

enum class TreeFormat { Csv, Brackets, Penn, Forest, Qtree };

struct FormatName {
    std::string_view name;
    TreeFormat format;
};

constexpr FormatName kFormatNames[] = {{"csv", TreeFormat::Csv},
                                       {"brackets", TreeFormat::Brackets},
                                       {"ptb", TreeFormat::Penn},
                                       {"forest", TreeFormat::Forest},
                                       {"qtree", TreeFormat::Qtree}};

/// File extensions, lower case, and the formats they name.
constexpr FormatName kExtensions[] = {
    {"csv", TreeFormat::Csv},          {"brackets", TreeFormat::Brackets},
    {"bracket", TreeFormat::Brackets}, {"ptb", TreeFormat::Penn},
    {"mrg", TreeFormat::Penn},         {"penn", TreeFormat::Penn},
    {"tex", TreeFormat::Forest},       {"forest", TreeFormat::Forest},
    {"qtree", TreeFormat::Qtree}};

std::optional<TreeFormat> formatNamed(std::string_view name) {
    for (const FormatName& entry : kFormatNames) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::optional<TreeFormat> formatOfPath(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const FormatName& entry : kExtensions) {
        if (entry.name == extension) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::string displayName(const std::string& file) {
    return file == "-" ? "standard input" : file;
}

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
            const std::optional<TreeFormat> format = formatNamed(args[++i]);
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
            format = formatOfPath(file);
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

/// Tree text as UTF-8 (a byte-order mark of UTF-8 or UTF-16 is taken into account).
std::optional<std::u16string> decodeText(const std::string& file, const std::string& bytes) {
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (data.size() >= 2 &&
        ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) {
        const bool little = data[0] == 0xFF;
        std::u16string text;
        for (std::size_t i = 2; i + 1 < data.size(); i += 2) {
            text += static_cast<char16_t>(little ? data[i] | (data[i + 1] << 8)
                                                 : (data[i] << 8) | data[i + 1]);
        }
        return text;
    }
    const std::size_t start =
        data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
    std::u16string text;
    const DecodeResult result = decodeUtf8Prefix(data.subspan(start), text);
    if (result.stop != DecodeStop::None) {
        printError(displayName(file) + ": the bytes from offset " +
                   std::to_string(start + result.bytesUsed) + " are not valid UTF-8");
        return std::nullopt;
    }
    return text;
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
    const std::optional<std::u16string> text = bytes ? decodeText(file, *bytes) : std::nullopt;
    if (!text) {
        return std::nullopt;
    }
    auto read = readTreeText(*text, format == TreeFormat::Penn ? TreeTextFormat::Penn
                                                               : TreeTextFormat::Brackets);
    if (const auto* error = std::get_if<TreeTextError>(&read)) {
        printError(displayName(file) + ": line " + std::to_string(error->line) + ", column " +
                   std::to_string(error->column) + ": " + error->message);
        return std::nullopt;
    }
    return std::get<std::shared_ptr<TreeTable>>(std::move(read));
}

std::string writtenBytes(const TreeTable& table, TreeFormat format, bool standalone) {
    switch (format) {
    case TreeFormat::Csv:
        return treeFileBytes(table.saveTable());
    case TreeFormat::Brackets:
        return toUtf8(writeTreeText(table, TreeTextFormat::Brackets));
    case TreeFormat::Penn:
        return toUtf8(writeTreeText(table, TreeTextFormat::Penn));
    case TreeFormat::Forest:
        return writeLatex(table, LatexPackage::Forest, standalone);
    case TreeFormat::Qtree:
        return writeLatex(table, LatexPackage::Qtree, standalone);
    }
    return {};
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
    const std::string bytes = writtenBytes(**table, *arguments.to, arguments.standalone);
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
