#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lanthor {

class LanthorConfiguration;

/// The arguments of `lanthor layout` and `lanthor export`: the view options (--font FAMILY,
/// --size POINTS, --height N, --numbers, --align-leaves, --tuck-leaves), -o OUT where allowed,
/// and the other arguments.
struct RenderArguments {
    std::optional<std::string> family;
    std::optional<double> size;
    std::optional<std::int64_t> height;
    bool numbers = false;
    bool alignLeaves = false;
    bool tuckLeaves = false;
    std::optional<std::string> output;
    std::vector<std::string> positional;

    /// Applies the view options over the configuration's defaults.
    void applyTo(LanthorConfiguration& configuration) const;
};

/// Parses `args`; on bad usage returns the problem instead.
std::variant<RenderArguments, std::string>
parseRenderArguments(const std::vector<std::string>& args, bool allowOutput);

} // namespace lanthor
