// Typed text read back through every display picture the windows use, each
// on a variable of the type it is bound to; and the input itself read as a
// picture.
//
// For every picture:
// - text that is taken shows again as text that is taken and gives the same
//   value (what the user sees can be typed back), except the zero value of
//   a date or time picture without B;
// - text that is refused leaves the variable as it was and says why.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/types/decimal.h"
#include "platform/types/field.h"
#include "platform/types/picture.h"

namespace {

using namespace platform;
using lvfuzz::require;
using lvfuzz::shown;

struct Binding {
  const char* picture;
  FieldDesc field;
};

// The pictures of the windows, on the kind of variable each is bound to.
const std::vector<Binding>& bindings() {
  static const std::vector<Binding> list = [] {
    std::vector<Binding> b;
    for (const char* s : {"s4", "s5", "s7", "s10", "s16", "s20", "s50", "s100"}) {
      const std::uint32_t width = static_cast<std::uint32_t>(std::stoi(s + 1));
      b.push_back({s, STRING("S", width, 0)});
    }
    for (const char* d : {"D17", "D17B", "D02", "D02B", "d02b", "D2B", "D06", "D06B", "d06b"}) {
      b.push_back({d, DATE("D", 0)});
      b.push_back({d, LONG("L", 0)});
    }
    for (const char* t : {"T7", "T07"}) b.push_back({t, LONG("T", 0)});
    b.push_back({"N-7.1B", DECIMAL("N", 7, 1, 0)});
    b.push_back({"N$-10.2B", DECIMAL("N", 11, 2, 0)});
    b.push_back({"N$-17.2B", DECIMAL("N", 15, 2, 0)});
    b.push_back({"n-10.1B", DECIMAL("N", 9, 1, 0)});
    b.push_back({"n-10.2", DECIMAL("N", 9, 2, 0)});
    b.push_back({"n-10.3", DECIMAL("N", 9, 3, 0)});
    b.push_back({"n-10.3B", DECIMAL("N", 9, 3, 0)});
    b.push_back({"n-7.3", DECIMAL("N", 7, 3, 0)});
    b.push_back({"n6.3", DECIMAL("N", 5, 3, 0)});
    b.push_back({"n3", BYTE("B", 0)});
    b.push_back({"n10", LONG("L", 0)});
    b.push_back({"N-10.B", DECIMAL("N", 9, 0, 0)});
    b.push_back({"N-7.B", DECIMAL("N", 7, 0, 0)});
    return b;
  }();
  return list;
}

constexpr std::size_t MaxBytes = 128;

struct Variable {
  std::array<std::uint8_t, MaxBytes> bytes{};
  FieldRef ref;
  explicit Variable(const FieldDesc& f) : ref(FieldRef::of(f, bytes.data())) { ref.clear(); }
};

void readBack(const Binding& b, const std::string& typed) {
  const Picture picture = Picture::of(b.picture);
  Variable var(b.field);
  const auto before = var.bytes;
  const std::string where = std::string(b.picture) + " on " + fieldTypeName(b.field.type) + ", typed \"" + shown(typed) + "\"";
  const AcceptResult result = accept(var.ref, typed, picture);
  if (!result) {
    require(var.bytes == before, "refused text leaves the variable as it was", where);
    require(!result.message.empty(), "refused text says why", where);
    return;
  }
  // Without a trailing B the zero value (no date, no time) shows as what it
  // is, midnight or 12/28/1800: such pictures are for values that exist.
  if (var.ref.isEmpty() && !picture.blankZero && picture.kind != PictureKind::Number &&
      picture.kind != PictureKind::String)
    return;
  const std::string shownText = format(var.ref, picture);
  Variable again(b.field);
  const AcceptResult second = accept(again.ref, shownText, picture);
  require(static_cast<bool>(second), "what is shown can be typed back",
          where + ", shown \"" + shown(shownText) + "\": " + second.message);
  require(again.ref.sameValue(var.ref), "what is shown reads back as the same value",
          where + ", shown \"" + shown(shownText) + "\"");
  require(format(again.ref, picture) == shownText, "the value shows the same again", where);
}

// The input read as a picture: formatting a few values through it must not
// fail, and a number picture reads its own text back.
void asPicture(const std::string& text) {
  const auto picture = Picture::parse(text);
  if (!picture) return;
  if (picture->width > 4096 || picture->pageWidth > 4096) return;  // no window shows that much
  for (const char* value : {"0", "1", "-1", "1234.5", "-0.004", "99999999999.99"}) {
    const Decimal v = *Decimal::parse(value);
    const std::string shownText = formatDecimal(v, *picture);
    if (picture->kind != PictureKind::Number || shownText.find('#') != std::string::npos) continue;
    std::string message;
    const auto back = parseNumber(shownText, *picture, &message);
    require(back && *back == v.rounded(picture->places), "a number picture reads its own text back",
            "picture \"" + shown(text) + "\", value " + value + ", shown \"" + shown(shownText) + "\": " + message);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setSystemDateTimeFormat(DateTimeFormat{});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  for (const Binding& b : bindings()) readBack(b, typed);
  asPicture(typed);
  return 0;
}
