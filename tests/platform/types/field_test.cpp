#include "platform/types/field.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

#include "platform/types/daynum.h"

namespace platform {
namespace {

Decimal D(const char* text) { return *Decimal::parse(text); }

std::string bytesOf(const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); }

TEST(StringFields, ArePaddedWithBlanksAndCutToTheirSize) {
  std::vector<std::uint8_t> buf(5, 'x');
  FieldRef f(FieldType::String, buf.data(), 5);
  EXPECT_EQ(f.capacity(), 5u);
  f.setText("ab");
  EXPECT_EQ(bytesOf(buf), "ab   ");
  EXPECT_EQ(f.text(), "ab");
  f.setText("abcdefg");
  EXPECT_EQ(bytesOf(buf), "abcde");
  f.setText("");
  EXPECT_EQ(bytesOf(buf), "     ");
  EXPECT_TRUE(f.isEmpty());
  f.setText("  a");
  EXPECT_EQ(f.text(), "  a");  // leading blanks belong to the text
}

TEST(StringFields, ACString250KeepsAtMost249Characters) {
  std::vector<std::uint8_t> buf(250, 'x');
  FieldRef f(FieldType::CString, buf.data(), 250);
  EXPECT_EQ(f.capacity(), 249u);
  f.setText(std::string(300, 'c'));
  EXPECT_EQ(f.text(), std::string(249, 'c'));
  EXPECT_EQ(buf[249], 0);
  f.setText("abc");
  EXPECT_EQ(f.text(), "abc");
  EXPECT_EQ(buf[3], 0);
  EXPECT_EQ(buf[249], 0);
  f.setText("abc   ");
  EXPECT_EQ(f.text(), "abc   ");  // a CSTRING keeps its blanks
  // A damaged field without its zero byte reads no further than it holds.
  std::memset(buf.data(), 'd', buf.size());
  EXPECT_EQ(f.text(), std::string(249, 'd'));
}

TEST(StringFields, KeepEveryLatin1ByteAsItIs) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::vector<std::uint8_t> buf(255);
  FieldRef s(FieldType::String, buf.data(), 255);
  s.setText(all);
  EXPECT_EQ(s.text(), all);
  std::vector<std::uint8_t> cbuf(256);
  FieldRef c(FieldType::CString, cbuf.data(), 256);
  c.setText(all);
  EXPECT_EQ(c.text(), all);
}

TEST(IntegerFields, ByteAndLongAtTheirLimits) {
  std::array<std::uint8_t, 1> b{};
  FieldRef byte(FieldType::Byte, b.data(), 1);
  byte.setInteger(255);
  EXPECT_EQ(byte.integer(), 255);
  byte.setInteger(256);  // keeps the low 8 bits
  EXPECT_EQ(byte.integer(), 0);
  byte.setInteger(7);
  EXPECT_EQ(byte.setDecimal(D("256")), StoreStatus::Overflow);
  EXPECT_EQ(byte.setDecimal(D("-1")), StoreStatus::Overflow);
  EXPECT_EQ(byte.integer(), 7);
  EXPECT_EQ(byte.setDecimal(D("254.5")), StoreStatus::Ok);
  EXPECT_EQ(byte.integer(), 255);

  std::array<std::uint8_t, 4> l{};
  FieldRef lng(FieldType::Long, l.data(), 4);
  lng.setInteger(0x12345678);
  EXPECT_EQ(l, (std::array<std::uint8_t, 4>{0x78, 0x56, 0x34, 0x12}));
  lng.setInteger(-1);
  EXPECT_EQ(l, (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(lng.integer(), -1);
  for (std::int64_t v : {std::int64_t{std::numeric_limits<std::int32_t>::min()},
                         std::int64_t{std::numeric_limits<std::int32_t>::max()}, std::int64_t{0}}) {
    lng.setInteger(v);
    EXPECT_EQ(lng.integer(), v);
  }
  EXPECT_EQ(lng.setDecimal(D("2147483648")), StoreStatus::Overflow);
  EXPECT_EQ(lng.integer(), 0);
  EXPECT_EQ(lng.setDecimal(D("-2147483648")), StoreStatus::Ok);
  EXPECT_EQ(lng.integer(), std::numeric_limits<std::int32_t>::min());
}

TEST(DateFields, StoreDayMonthAndALittleEndianYear) {
  std::array<std::uint8_t, 4> b{};
  FieldRef date(FieldType::Date, b.data(), 4);
  date.setDay(dayNumber(2007, 3, 15));
  EXPECT_EQ(b, (std::array<std::uint8_t, 4>{15, 3, 0xD7, 0x07}));
  EXPECT_EQ(date.day(), 75317);
  date.setDay(dayNumber(1776, 7, 4));  // before the epoch: a negative day number
  EXPECT_LT(date.day(), 0);
  EXPECT_EQ(fromDayNumber(date.day()), (Ymd{1776, 7, 4}));
  date.setDay(NoDate);
  EXPECT_EQ(b, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(date.day(), NoDate);
  EXPECT_TRUE(date.isEmpty());
}

TEST(DateFields, InvalidBytesReadAsNoDate) {
  const std::array<std::uint8_t, 4> cases[] = {
      {15, 13, 0xD7, 0x07},  // month 13
      {32, 1, 0xD7, 0x07},   // day 32
      {0, 3, 0xD7, 0x07},    // day 0
      {29, 2, 0xD7, 0x07},   // 29 February 2007
      {1, 1, 0, 0},          // year 0
      {1, 0, 0xD7, 0x07},    // month 0
  };
  for (auto bytes : cases) {
    SCOPED_TRACE(static_cast<int>(bytes[0]) * 100 + bytes[1]);
    FieldRef date(FieldType::Date, bytes.data(), 4);
    EXPECT_EQ(date.day(), NoDate);
    EXPECT_TRUE(date.isEmpty());
  }
  std::array<std::uint8_t, 4> leap{29, 2, 0xD0, 0x07};  // 29 February 2000
  EXPECT_EQ(FieldRef(FieldType::Date, leap.data(), 4).day(), dayNumber(2000, 2, 29));
}

TEST(DecimalFields, StoreAndLoadThroughTheFieldsOwnDigitsAndPlaces) {
  std::array<std::uint8_t, 4> b{};
  FieldRef miles(FieldType::Decimal, b.data(), 4, 7, 2);
  EXPECT_EQ(miles.setDecimal(D("37.125")), StoreStatus::Ok);
  EXPECT_EQ(miles.decimal(), D("37.13"));
  EXPECT_EQ(miles.integer(), 37);
  const auto before = b;
  EXPECT_EQ(miles.setDecimal(D("2.000") * D("60000")), StoreStatus::Overflow);
  EXPECT_EQ(b, before);
  EXPECT_EQ(miles.setDecimal(D("-99999.99")), StoreStatus::Ok);
  EXPECT_EQ(miles.integer(), -99999);
  miles.clear();
  EXPECT_TRUE(miles.isEmpty());
  EXPECT_EQ(b, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST(FieldRefs, CompareValuesTheWayKeysDo) {
  std::vector<std::uint8_t> a(10), c(11);
  FieldRef s(FieldType::String, a.data(), 10), cs(FieldType::CString, c.data(), 11);
  s.setText("ab");
  cs.setText("ab  ");
  EXPECT_TRUE(s.sameValue(cs));  // trailing blanks do not count
  cs.setText("AB");
  EXPECT_FALSE(s.sameValue(cs));  // letter case does

  std::array<std::uint8_t, 4> d1{}, d2{};
  FieldRef one(FieldType::Decimal, d1.data(), 4, 7, 1), two(FieldType::Decimal, d2.data(), 4, 7, 2);
  one.setDecimal(D("1.5"));
  two.setDecimal(D("1.50"));
  EXPECT_TRUE(one.sameValue(two));
  two.setDecimal(D("1.51"));
  EXPECT_FALSE(one.sameValue(two));
}

// A small record in the shape of the case file: nested groups, every type.
std::vector<FieldDesc> soundFields() {
  return {
      GROUP("T:DATA", 31, 0),
      DATE("T:DATE", 0, "T:DATA"),
      STRING("T:NUMBER", 20, 4, "T:DATA"),
      GROUP("T:FLAGS", 2, 24, "T:DATA"),
      BYTE("T:A", 24, "T:FLAGS"),
      BYTE("T:B", 25, "T:FLAGS"),
      DECIMAL("T:RATE", 7, 3, 26, "T:DATA"),
      BYTE("T:C", 30, "T:DATA"),
      CSTRING("T:NOTE", 10, 31),
      LONG("T:FN", 41),
  };
}

TEST(RecordLayouts, ASoundLayoutPassesItsCheck) {
  RecordLayout layout("TEST", "T", "TEST", 45, soundFields());
  EXPECT_EQ(layout.check(), "");
  EXPECT_EQ(layout.fieldCount(), 10);
  EXPECT_EQ(layout.field(1).name, "T:DATA");  // groups count as entries
  EXPECT_EQ(layout.numberOf("t:rate"), 7);
  EXPECT_EQ(layout.numberOf("T:NONE"), 0);
  EXPECT_EQ(layout.byName("T:Note").size, 10u);
  EXPECT_THROW(layout.field(0), std::out_of_range);
  EXPECT_THROW(layout.field(11), std::out_of_range);
  EXPECT_THROW(layout.byName("T:NONE"), std::out_of_range);

  RecordLayout rates("RateMilage", "RTM", "RATEMILA", 8,
                     {DATE("RTM:DATEMILAGERATE", 0), DECIMAL("RTM:MILAGERATE", 7, 3, 4)});
  EXPECT_EQ(rates.check(), "");
}

TEST(RecordLayouts, EachKindOfFaultIsFoundAndNamed) {
  struct Case {
    const char* fault;
    std::function<void(std::vector<FieldDesc>&, std::uint32_t&)> spoil;
    const char* mentions;
  } cases[] = {
      {"gap", [](auto& f, auto&) { f[8].offset = 32; }, "T:NOTE"},
      {"overlap", [](auto& f, auto&) { f[2].offset = 3; }, "T:NUMBER"},
      {"group too large", [](auto& f, auto&) { f[3].size = 3; }, "T:FLAGS"},
      {"group too small", [](auto& f, auto&) { f[0].size = 30; }, "T:DATA"},
      {"record size", [](auto&, auto& size) { size = 46; }, "46"},
      {"size of a type", [](auto& f, auto&) { f[6].size = 5; }, "T:RATE"},
      {"even digits", [](auto& f, auto&) { f[6].digits = 6; }, "T:RATE"},
      {"undeclared group", [](auto& f, auto&) { f[4].group = "T:OTHER"; }, "T:OTHER"},
      {"member outside its group",
       [](auto& f, auto&) {
         // T:C named as a member of T:FLAGS after that group has ended.
         f[7].group = "T:FLAGS";
         f[3].size = 3;
       },
       "T:"},
      {"field outside every group names one", [](auto& f, auto&) { f[9].group = "T:DATA"; }, "T:"},
      {"duplicate name", [](auto& f, auto&) { f[9].name = "t:note"; }, "twice"},
      {"no name", [](auto& f, auto&) { f[5].name.clear(); }, "6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    auto fields = soundFields();
    std::uint32_t size = 45;
    c.spoil(fields, size);
    const std::string fault = RecordLayout("TEST", "T", "TEST", size, fields).check();
    EXPECT_FALSE(fault.empty());
    EXPECT_NE(fault.find(c.mentions), std::string::npos) << fault;
  }
}

TEST(RecordLayouts, ClearingARecordBlanksTextAndZeroesTheRest) {
  RecordLayout layout("TEST", "T", "TEST", 45, soundFields());
  std::vector<std::uint8_t> rec(45, 0xAB);
  clearRecord(layout, rec.data());
  std::vector<std::uint8_t> expected(45, 0);
  std::memset(expected.data() + 4, ' ', 20);  // T:NUMBER is the only STRING
  EXPECT_EQ(rec, expected);
  for (const FieldDesc& f : layout.fields()) {
    if (f.type != FieldType::Group) {
      EXPECT_TRUE(FieldRef::of(f, rec.data()).isEmpty()) << f.name;
    }
  }
  EXPECT_THROW(FieldRef::of(layout.field(1), rec.data()).clear(), std::logic_error);
}

}  // namespace
}  // namespace platform
