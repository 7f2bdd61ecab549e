#include "platform/report/report_text.h"

#include "platform/types/latin1.h"

namespace platform::report {

namespace {

bool isControl(unsigned char c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The stored bytes of a text field: a CSTRING up to its zero byte, a
// STRING or a group whole.
std::string_view storedBytes(const FieldRef& f) {
  const auto* data = reinterpret_cast<const char*>(f.data());
  std::string_view all(data, f.size());
  if (f.type() == FieldType::CString) {
    const std::size_t end = all.find('\0');
    return all.substr(0, end == std::string_view::npos ? all.size() : end);
  }
  return all;
}

}  // namespace

std::string PrintableLatin1(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out)
    if (isControl(static_cast<unsigned char>(c))) c = ' ';
  return out;
}

Decimal LeadingNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  std::string number;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) number += s[i++];
  const std::size_t digitsFrom = i;
  while (i < s.size() && isDigit(s[i])) number += s[i++];
  bool any = i > digitsFrom;
  if (i + 1 < s.size() && s[i] == '.' && isDigit(s[i + 1])) {
    number += s[i++];
    while (i < s.size() && isDigit(s[i])) number += s[i++];
    any = true;
  }
  if (!any) return Decimal();
  // More digits than a working value holds: the text is no number we print.
  return Decimal::parse(number).value_or(Decimal());
}

std::string OverflowMark(const Picture& picture) {
  const int width = picture.kind == PictureKind::Page ? picture.pageWidth : picture.width;
  return std::string(static_cast<std::size_t>(width > 0 ? width : 1), '#');
}

std::string PrintedText(const FieldRef& value, const Picture* picture) {
  if (!value.valid()) return {};
  const bool text = value.isText() || value.type() == FieldType::Group;
  if (text) {
    std::string bytes = PrintableLatin1(storedBytes(value));
    bytes.resize(rtrim(bytes).size());
    if (picture && picture->kind == PictureKind::Number) return formatDecimal(LeadingNumber(bytes), *picture);
    if (picture && picture->kind == PictureKind::String && bytes.size() > static_cast<std::size_t>(picture->width))
      bytes.resize(static_cast<std::size_t>(picture->width));
    if (picture && picture->kind != PictureKind::String) return formatDecimal(LeadingNumber(bytes), *picture);
    return latin1ToUtf8(bytes);
  }
  if (!picture) return value.type() == FieldType::Date ? std::to_string(value.day()) : value.decimal().toString();
  return format(value, *picture);
}

}  // namespace platform::report
