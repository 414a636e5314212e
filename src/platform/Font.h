#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lanthor {

/// Font traits as a bitmask, with the values of the platform's font masks.
using FontTraits = std::uint8_t;
inline constexpr FontTraits FontTraitItalic = 1;
inline constexpr FontTraits FontTraitBold = 2;

/// A font by description: family name, size in points and traits. The text system decides which
/// installed face stands for it (a variant with the traits where the family has one).
///
/// The family name is shared between copies: every run of every node label carries a font, and
/// a tree of a million nodes should not hold a million copies of "Helvetica".
class Font {
public:
    Font(std::u16string family, double pointSize, FontTraits traits = 0)
        : family_(std::make_shared<const std::u16string>(std::move(family))), pointSize_(pointSize),
          traits_(traits) {}

    const std::u16string& family() const { return *family_; }
    double pointSize() const { return pointSize_; }
    FontTraits traits() const { return traits_; }
    bool isBold() const { return (traits_ & FontTraitBold) != 0; }
    bool isItalic() const { return (traits_ & FontTraitItalic) != 0; }

    /// The same font with `traits` added.
    Font withTraits(FontTraits traits) const {
        Font font = *this;
        font.traits_ |= traits;
        return font;
    }

    friend bool operator==(const Font& a, const Font& b) {
        return a.pointSize_ == b.pointSize_ && a.traits_ == b.traits_ &&
               (a.family_ == b.family_ || *a.family_ == *b.family_);
    }

private:
    std::shared_ptr<const std::u16string> family_;
    double pointSize_;
    FontTraits traits_;
};

} // namespace lanthor
