#include "TreeFormats.h"

#include "LatexText.h"
#include "TreeTable.h"
#include "TreeText.h"
#include "base/Utf.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>

namespace lanthor {

namespace {

struct FormatName {
    std::string_view name;
    TreeFormat format;
};

constexpr FormatName kFormatNames[] = {{"csv", TreeFormat::Csv},
                                       {"brackets", TreeFormat::Brackets},
                                       {"ptb", TreeFormat::Penn},
                                       {"forest", TreeFormat::Forest},
                                       {"qtree", TreeFormat::Qtree}};

constexpr FormatName kExtensions[] = {
    {"csv", TreeFormat::Csv},          {"brackets", TreeFormat::Brackets},
    {"bracket", TreeFormat::Brackets}, {"ptb", TreeFormat::Penn},
    {"mrg", TreeFormat::Penn},         {"penn", TreeFormat::Penn},
    {"tex", TreeFormat::Forest},       {"forest", TreeFormat::Forest},
    {"qtree", TreeFormat::Qtree}};

} // namespace

std::optional<TreeFormat> treeFormatNamed(std::string_view name) {
    for (const FormatName& entry : kFormatNames) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::optional<TreeFormat> treeFormatOfPath(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const FormatName& entry : kExtensions) {
        if (entry.name == extension) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::string treeFormatBytes(const TreeTable& table, TreeFormat format, bool standalone) {
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

std::variant<std::u16string, std::string> decodeTreeText(std::string_view bytes) {
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
        return "the bytes from offset " + std::to_string(start + result.bytesUsed) +
               " are not valid UTF-8";
    }
    return text;
}

} // namespace lanthor
