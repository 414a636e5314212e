#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

/// A modal question: message `prompt`, buttons "OK" (default) and "Cancel", and a text field
/// 400 x 48 points holding `fieldText`. It blocks until the user answers.
class InputAlert {
public:
    virtual ~InputAlert() = default;
    /// Returns the field's text when OK is pressed (after committing the pending edit), none on
    /// Cancel.
    virtual std::optional<std::u16string> run(std::u16string_view prompt,
                                              std::u16string_view fieldText) = 0;
};

/// Installs the process's alert (like the log sink): the GUI installs its dialog, tests a
/// scripted one. Null restores the default, which answers every question with Cancel. Returns
/// the previous alert, or null when the default was in place.
InputAlert* setInputAlert(InputAlert* alert);
/// The alert in place.
InputAlert& inputAlert();

} // namespace lanthor
