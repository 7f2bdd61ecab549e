// The one conversion of record values to printed text.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/report/report_text.h"

namespace {

using platform::FieldRef;
using platform::FieldType;
using platform::Picture;
using platform::report::PrintedText;

TEST(ReportText, ValuesPrintThroughOneConversion) {
  struct Case {
    const char* what;
    FieldType type;
    std::string bytes;
    const char* picture;  // "" for none
    const char* printed;
  };
  const Case cases[] = {
      {"a text as stored, trailing blanks gone", FieldType::String, "CR-1      ", "s20", "CR-1"},
      {"control bytes print as blanks", FieldType::String, std::string("A\0B\x01" "C\x1f" "D\x7f" "E\x9f", 10) + "F ",
       "", "A B C D E F"},
      {"a line break is a control byte too", FieldType::String, "one\r\ntwo", "", "one  two"},
      {"a string picture cuts", FieldType::String, "ABCDEFGH", "s3", "ABC"},
      {"Latin-1 prints as UTF-8", FieldType::String, "Mu\xF1oz", "", "Mu\xC3\xB1oz"},
      {"a group's check-box bytes", FieldType::Group, std::string("\x01\x00\x01", 3) + "  7", "s20", "     7"},
      {"text under a number picture: its leading number", FieldType::String, "12 pages  ", "n10", "12"},
      {"a leading sign and fraction", FieldType::String, " -2.5kg", "n-10.1", "-2.5"},
      {"text that starts with no number prints 0", FieldType::String, "Over 10.000 Pages", "n10", "0"},
      {"check-box bytes under n3", FieldType::Group, std::string("\x01\x00\x00\x01", 4), "n3", "0"},
      {"a CSTRING up to its zero byte", FieldType::CString, std::string("abc\0zz", 6), "", "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> storage(c.bytes.begin(), c.bytes.end());
    FieldRef f(c.type, storage.data(), static_cast<std::uint32_t>(storage.size()));
    std::optional<Picture> p;
    if (*c.picture) p = Picture::of(c.picture);
    EXPECT_EQ(PrintedText(f, p ? &*p : nullptr), c.printed);
  }
}

TEST(ReportText, NumbersAndDatesGoThroughTheirPictures) {
  std::array<std::uint8_t, 6> amount{};
  FieldRef a(FieldType::Decimal, amount.data(), 6, 11, 2);
  const Picture money = Picture::of("N$-17.2B"), miles = Picture::of("n-10.2"), date = Picture::of("D02B");
  a.setDecimal(*platform::Decimal::parse("-1234.5"));
  EXPECT_EQ(PrintedText(a, &money), "-$1,234.50");
  a.setDecimal(platform::Decimal());
  EXPECT_EQ(PrintedText(a, &money), "");
  EXPECT_EQ(PrintedText(a, &miles), "0.00");
  std::array<std::uint8_t, 4> day{};
  FieldRef d(FieldType::Date, day.data(), 4);
  EXPECT_EQ(PrintedText(d, &date), "");
  EXPECT_EQ(platform::report::OverflowMark(Picture::of("N$-17.2B")), std::string(17, '#'));
}

}  // namespace
