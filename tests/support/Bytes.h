#pragma once

#include <string>
#include <string_view>

namespace lanthor::test {

// The bytes of a text in each encoding the parser reads, without any byte-order mark. Unpaired
// surrogates are kept as they are in the UTF-16 forms.
std::string utf8(std::u16string_view text);
std::string utf16le(std::u16string_view text);
std::string utf16be(std::u16string_view text);
std::string utf32le(std::u16string_view text);
std::string utf32be(std::u16string_view text);

/// `text` repeated `count` times.
std::u16string repeated(std::u16string_view text, std::size_t count);

} // namespace lanthor::test
