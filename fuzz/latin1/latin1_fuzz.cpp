// Latin-1 conversion of any bytes: stored text read from a record file
// (Latin-1) and typed or pasted text (UTF-8, perhaps malformed).
//
// Every Latin-1 string survives the trip to UTF-8 and back unchanged, and a
// UTF-8 string is taken only when it is exactly the UTF-8 of Latin-1 text
// (no overlong forms, no surrogates, nothing above U+00FF); otherwise the
// character named as the offending one is a single character.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/types/latin1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using lvfuzz::require;
  using lvfuzz::shown;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // The bytes as Latin-1.
  const std::string utf8 = platform::latin1ToUtf8(bytes);
  require(utf8.size() >= bytes.size() && utf8.size() <= 2 * bytes.size(), "UTF-8 of Latin-1 has 1 or 2 bytes a character",
          shown(bytes));
  const auto back = platform::utf8ToLatin1(utf8);
  require(back && *back == bytes, "Latin-1 survives the trip through UTF-8", shown(bytes));
  const std::string upper = platform::latin1Upper(bytes);
  require(upper.size() == bytes.size(), "upper case keeps the length", shown(bytes));
  require(platform::latin1Upper(upper) == upper, "upper case of upper case changes nothing", shown(bytes));
  const std::string_view trimmed = platform::rtrim(bytes);
  require(trimmed.size() <= bytes.size() && (trimmed.empty() || trimmed.back() != ' '), "rtrim leaves no trailing blank",
          shown(bytes));

  // The bytes as UTF-8.
  std::string offending;
  if (const auto latin1 = platform::utf8ToLatin1(bytes, &offending)) {
    require(platform::latin1ToUtf8(*latin1) == bytes, "only the exact UTF-8 of Latin-1 text is taken", shown(bytes));
  } else {
    require(!offending.empty() && offending.size() <= 4, "a refused text names one character",
            shown(bytes) + " named " + shown(offending));
    const std::string message = platform::notLatin1Message(offending);
    require(!message.empty(), "a refused text has a message", shown(bytes));
  }
  return 0;
}
