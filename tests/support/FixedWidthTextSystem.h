#pragma once

#include "platform/TextSystem.h"

#include <algorithm>

namespace lanthor::test {

/// A text system with round numbers: every code unit is `unitWidth` wide, every line
/// `lineHeight` high, and the "HTML" is read as plain text. Counts its calls, so that tests can
/// see what the layout asks of it.
class FixedWidthTextSystem final : public TextSystem {
public:
    explicit FixedWidthTextSystem(double unitWidth = 10, double lineHeight = 18)
        : unitWidth_(unitWidth), lineHeight_(lineHeight) {}

    AttributedString readHtml(std::u16string_view html) const override {
        ++reads;
        return AttributedString(std::u16string(html), TextAttributes{Font(u"Reader", 12)});
    }

    Size measure(const AttributedString& text) const override {
        return measure(text.string(), Font(u"Any", 1));
    }

    Size measure(std::u16string_view string, const Font&) const override {
        ++measures;
        if (string.empty()) {
            return {};
        }
        std::size_t widest = 0;
        std::size_t lines = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = string.find(u'\n', start);
            const std::size_t stop = end == std::u16string_view::npos ? string.size() : end;
            widest = std::max(widest, stop - start);
            ++lines;
            if (end == std::u16string_view::npos) {
                break;
            }
            start = end + 1;
        }
        return {static_cast<double>(widest) * unitWidth_, static_cast<double>(lines) * lineHeight_};
    }

    mutable int reads = 0;
    mutable int measures = 0;

private:
    double unitWidth_;
    double lineHeight_;
};

} // namespace lanthor::test
