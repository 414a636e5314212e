#pragma once

#include "base/Log.h"
#include "platform/Alerts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace lanthor::test {

/// Answers the input alert's questions from a queue while it exists: text for OK, none for
/// Cancel. Records every question asked, as "prompt | field text" in UTF-8; a question beyond
/// the queue is answered with Cancel.
class ScriptedAlert final : public InputAlert {
public:
    ScriptedAlert() : previous_(setInputAlert(this)) {}
    ~ScriptedAlert() override { setInputAlert(previous_); }
    ScriptedAlert(const ScriptedAlert&) = delete;
    ScriptedAlert& operator=(const ScriptedAlert&) = delete;

    void ok(std::u16string text) { answers_.emplace_back(std::move(text)); }
    void cancel() { answers_.emplace_back(std::nullopt); }

    std::optional<std::u16string> run(std::u16string_view prompt,
                                      std::u16string_view fieldText) override {
        asked.push_back(toUtf8(prompt) + " | " + toUtf8(fieldText));
        if (answers_.empty()) {
            return std::nullopt;
        }
        std::optional<std::u16string> answer = std::move(answers_.front());
        answers_.pop_front();
        return answer;
    }

    std::vector<std::string> asked;

private:
    std::deque<std::optional<std::u16string>> answers_;
    InputAlert* previous_;
};

} // namespace lanthor::test
