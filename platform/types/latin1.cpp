#include "platform/types/latin1.h"

#include <cstdint>

namespace platform {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at s[i]. Returns its length, or 0 when the bytes
// are malformed (bad lead byte, missing continuation, overlong form,
// surrogate, or beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view s, std::size_t i, std::uint32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
  std::uint8_t b0 = byte(i);
  std::size_t len = 0;
  std::uint32_t min = 0;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1Fu;
    min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0Fu;
    min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07u;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    std::uint8_t b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::string latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() + latin1.size() / 4);
  for (char c : latin1) appendUtf8(out, static_cast<std::uint8_t>(c));
  return out;
}

std::optional<std::string> utf8ToLatin1(std::string_view utf8, std::string* offending) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::uint32_t cp = 0;
    std::size_t len = decodeUtf8(utf8, i, cp);
    if (len == 0) {
      if (offending) *offending = std::string(Replacement);
      return std::nullopt;
    }
    if (cp > 0xFF) {
      if (offending) *offending = std::string(utf8.substr(i, len));
      return std::nullopt;
    }
    out += static_cast<char>(cp);
    i += len;
  }
  return out;
}

std::string notLatin1Message(std::string_view offending) {
  if (offending.empty() || offending == Replacement)
    return "The text holds bytes that are not valid characters and cannot be stored. "
           "Type it again.";
  return "The character \"" + std::string(offending) +
         "\" cannot be stored. Only Western European (Latin-1) characters can be typed here.";
}

char latin1Upper(char c) {
  auto b = static_cast<std::uint8_t>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 0x20);
  return c;
}

std::string latin1Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = latin1Upper(c);
  return out;
}

std::string_view rtrim(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

}  // namespace platform
