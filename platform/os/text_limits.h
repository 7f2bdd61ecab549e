#pragma once
// Length limits on UTF-8 text: cutting by characters, never inside one.

#include <cstddef>
#include <string_view>

namespace platform {

// The first `count` characters of UTF-8 text. A byte that does not start a
// valid sequence counts as one character, so text that is not UTF-8 is cut
// by bytes and nothing is ever read past the end.
std::string_view cutToCharacters(std::string_view text, std::size_t count);

// Text without leading and trailing blanks (spaces and tabs).
std::string_view trimBlanks(std::string_view text);

}  // namespace platform
