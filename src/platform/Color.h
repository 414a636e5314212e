#pragma once

namespace lanthor {

/// An RGBA colour with components from 0 to 1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    friend bool operator==(const Color&, const Color&) = default;

    static constexpr Color black() { return {0, 0, 0, 1}; }
    static constexpr Color white() { return {1, 1, 1, 1}; }
    /// The platform's gray: half white.
    static constexpr Color gray() { return {0.5, 0.5, 0.5, 1}; }
};

} // namespace lanthor
