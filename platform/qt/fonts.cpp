#include "platform/qt/fonts.h"

#include <algorithm>
#include <cctype>

namespace platform::qt {
namespace {

// Liberation Sans and Mono share Arial's and Courier's metrics; DejaVu Sans
// keeps the wide letters of Verdana; the old bitmap sans face of the
// descriptions is closest to Arial.
constexpr FontSubstitute table[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Verdana", "DejaVu Sans"},
    {"Courier", "Liberation Mono"},
};

bool sameFace(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::span<const FontSubstitute> fontSubstitutes() { return table; }

std::string installedFamily(std::string_view face) {
  for (const FontSubstitute& s : table)
    if (sameFace(face, s.face)) return s.family;
  return std::string(face);
}

}  // namespace platform::qt
