#pragma once

#include "platform/Alerts.h"

class QWidget;

namespace lanthor {

/// The input alert as a Qt dialog: the prompt as its text, a one-line field 400 x 48 points
/// holding the offered text, "OK" (the default button, also on Return) and "Cancel". It is
/// modal over the active window.
class QtInputAlert final : public InputAlert {
public:
    std::optional<std::u16string> run(std::u16string_view prompt,
                                      std::u16string_view fieldText) override;
};

/// Installs a QtInputAlert as the process's alert for as long as it exists.
class QtInputAlertInstallation {
public:
    QtInputAlertInstallation() : previous_(setInputAlert(&alert_)) {}
    ~QtInputAlertInstallation() { setInputAlert(previous_); }
    QtInputAlertInstallation(const QtInputAlertInstallation&) = delete;
    QtInputAlertInstallation& operator=(const QtInputAlertInstallation&) = delete;

private:
    QtInputAlert alert_;
    InputAlert* previous_;
};

} // namespace lanthor
