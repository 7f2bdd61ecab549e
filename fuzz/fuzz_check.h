#pragma once
// What a fuzz target checks beyond the sanitizers: a property that must hold
// for every input. A broken one aborts, which the fuzzer reports as a crash
// and keeps the input that caused it.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace lvfuzz {

[[noreturn]] inline void broken(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.c_str());
  std::abort();
}

inline void require(bool condition, const char* what, const std::string& detail = {}) {
  if (!condition) broken(what, detail);
}

// Text made printable for a failure report: bytes outside ASCII as \xNN.
inline std::string shown(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace lvfuzz
