#pragma once

#include "platform/TextSystem.h"

#include <algorithm>

namespace lanthor::test {

/// A text system with round numbers: every code unit is `unitWidth` wide, every line
/// `lineHeight` high, and the "HTML" is read as plain text. Counts its reads, so that tests can
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
        if (string.empty()) {
            return {};
        }
        std::size_t widest = 0, width = 0, lines = 1;
        for (const char16_t c : string) {
            width = c == u'\n' ? 0 : width + 1;
            lines += c == u'\n' ? 1 : 0;
            widest = std::max(widest, width);
        }
        return {static_cast<double>(widest) * unitWidth_, static_cast<double>(lines) * lineHeight_};
    }

    mutable int reads = 0;

private:
    double unitWidth_;
    double lineHeight_;
};

} // namespace lanthor::test
