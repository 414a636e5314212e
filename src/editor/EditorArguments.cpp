#include "EditorArguments.h"

namespace lanthor {

std::variant<EditorArguments, std::string>
parseEditorArguments(const std::vector<std::string>& args, SingleDashOptions singleDash) {
    EditorArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            parsed.files.push_back(arg);
        } else if (arg[1] != '-' && singleDash == SingleDashOptions::Skip) {
            continue;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--screenshot" || arg == "--trigger") {
            if (i + 1 == args.size()) {
                return arg + " needs a value";
            }
            const std::string& value = args[++i];
            if (arg == "--screenshot") {
                parsed.screenshotPath = value;
            } else {
                parsed.triggers.push_back(value);
            }
        } else {
            return "unknown option '" + arg + "'";
        }
    }
    return parsed;
}

} // namespace lanthor
