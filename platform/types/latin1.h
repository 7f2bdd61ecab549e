#pragma once
// Text in record files is stored one byte per character in ISO-8859-1
// (Latin-1). Every byte value maps to exactly one character (U+0000..U+00FF),
// so stored text always reads back as the characters that were typed.
// Text on screen is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Latin-1 bytes to UTF-8. Never fails.
std::string latin1ToUtf8(std::string_view latin1);

// UTF-8 to Latin-1. Returns nullopt when the text holds a character outside
// Latin-1 or is not valid UTF-8; `offending`, when given, then receives the
// first such character (as UTF-8, or "\xEF\xBF\xBD" for malformed bytes) so the
// caller can name it in its message.
std::optional<std::string> utf8ToLatin1(std::string_view utf8, std::string* offending = nullptr);

// The message shown when typed text holds a character that cannot be stored.
std::string notLatin1Message(std::string_view offending);

// Case folding used by keys and locators: Latin-1 letters to upper case
// (a-z, à-þ except ÷; ß and ÿ stay as they are).
char latin1Upper(char c);
std::string latin1Upper(std::string_view s);

// Removes trailing blanks (spaces only).
std::string_view rtrim(std::string_view s);

}  // namespace platform
