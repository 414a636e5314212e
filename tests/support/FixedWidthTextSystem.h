#pragma once

#include "platform/TextSystem.h"

namespace lanthor::test {

/// A text system with round numbers: every code unit is `unitWidth` wide, text is one line
/// `lineHeight` high, and the "HTML" is read as plain text.
class FixedWidthTextSystem final : public TextSystem {
public:
    explicit FixedWidthTextSystem(double unitWidth = 10, double lineHeight = 18)
        : unitWidth_(unitWidth), lineHeight_(lineHeight) {}

    AttributedString readHtml(std::u16string_view html) const override {
        return AttributedString(std::u16string(html), TextAttributes{Font(u"Reader", 12)});
    }

    Size measure(const AttributedString& text) const override {
        return measure(text.string(), Font(u"Any", 1));
    }

    Size measure(std::u16string_view string, const Font&) const override {
        return {static_cast<double>(string.size()) * unitWidth_, string.empty() ? 0 : lineHeight_};
    }

private:
    double unitWidth_;
    double lineHeight_;
};

} // namespace lanthor::test
