#include "ViewOptions.h"

#include "base/Log.h"
#include "canvas/LanthorConfiguration.h"

#include <charconv>
#include <cmath>

namespace lanthor {

namespace {

template <typename Number> std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

/// The view option without a value that `arg` names, or null.
bool* switchNamed(RenderArguments& arguments, const std::string& arg) {
    return arg == "--numbers"        ? &arguments.numbers
           : arg == "--align-leaves" ? &arguments.alignLeaves
           : arg == "--tuck-leaves"  ? &arguments.tuckLeaves
                                     : nullptr;
}

} // namespace

void RenderArguments::applyTo(LanthorConfiguration& configuration) const {
    if (family || size) {
        const Font& current = configuration.font();
        configuration.setFont(
            Font(family ? toUtf16(*family) : current.family(), size ? *size : current.pointSize()));
    }
    if (height) {
        configuration.setHeight(*height);
    }
    configuration.setShowNodeNumber(numbers);
    configuration.setAlignLeaves(alignLeaves);
    configuration.setTuckLeaves(tuckLeaves);
}

std::variant<RenderArguments, std::string>
parseRenderArguments(const std::vector<std::string>& args, bool allowOutput) {
    RenderArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (bool* const flag = switchNamed(parsed, arg)) {
            *flag = true;
            continue;
        }
        const bool takesValue =
            arg == "--font" || arg == "--size" || arg == "--height" || (allowOutput && arg == "-o");
        if (!takesValue) {
            if (arg.size() > 1 && arg[0] == '-') {
                return "unknown option '" + arg + "'";
            }
            parsed.positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            return arg + " needs a value";
        }
        const std::string& value = args[++i];
        if (arg == "--font") {
            if (value.empty()) {
                return "--font needs a family name";
            }
            parsed.family = value;
        } else if (arg == "--size") {
            const std::optional<double> size = parseNumber<double>(value);
            if (!size || !std::isfinite(*size) || *size <= 0) {
                return "--size needs a positive number of points, not '" + value + "'";
            }
            parsed.size = size;
        } else if (arg == "--height") {
            const std::optional<std::int64_t> height = parseNumber<std::int64_t>(value);
            if (!height) {
                return "--height needs an integer, not '" + value + "'";
            }
            parsed.height = height;
        } else {
            parsed.output = value;
        }
    }
    return parsed;
}

} // namespace lanthor
