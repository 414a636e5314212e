#include "Alerts.h"

namespace lanthor {

namespace {

/// Without a display nobody can answer, and Cancel is the answer that changes nothing.
class CancellingAlert final : public InputAlert {
public:
    std::optional<std::u16string> run(std::u16string_view, std::u16string_view) override {
        return std::nullopt;
    }
};

CancellingAlert cancellingAlert;
InputAlert* currentAlert = &cancellingAlert;

} // namespace

InputAlert* setInputAlert(InputAlert* alert) {
    InputAlert* previous = currentAlert;
    currentAlert = alert ? alert : &cancellingAlert;
    return previous == &cancellingAlert ? nullptr : previous;
}

InputAlert& inputAlert() {
    return *currentAlert;
}

} // namespace lanthor
