#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lanthor {

/// What `lanthor [FILE...]` asks of the editor. Two options are for scripts and tests and are
/// not in the usage text: `--screenshot PATH` writes a PNG of the first window once it is laid
/// out and quits; `--trigger ACTION` runs the first window's action of that object name (such
/// as "addNodeAction") once it is shown, and may be given more than once.
struct EditorArguments {
    std::vector<std::string> files;
    std::optional<std::string> screenshotPath;
    std::vector<std::string> triggers;
};

/// What to make of an option with one dash, such as Qt's "-platform offscreen".
enum class SingleDashOptions { Refuse, Skip };

/// Reads the editor's arguments (without the program name); a string says what is wrong.
/// "--" ends the options, so that a file may start with "-"; "-" alone is a file (standard
/// input). With SingleDashOptions::Skip, one-dash options are left alone and the files are not
/// known, since such an option may take the next argument as its value.
std::variant<EditorArguments, std::string>
parseEditorArguments(const std::vector<std::string>& args, SingleDashOptions singleDash);

} // namespace lanthor
