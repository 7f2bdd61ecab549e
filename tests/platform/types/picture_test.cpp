#include "platform/types/picture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/types/clock.h"
#include "platform/types/daynum.h"
#include "platform/types/latin1.h"

namespace platform {
namespace {

Decimal D(const char* text) { return *Decimal::parse(text); }

// Every test here runs with the US default formats unless it sets others.
class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { setSystemDateTimeFormat(DateTimeFormat{}); }
  void TearDown() override { setSystemDateTimeFormat(DateTimeFormat{}); }
};

TEST_F(PictureTest, EveryPictureOfTheWindowsParses) {
  struct Case {
    const char* text;
    PictureKind kind;
    int width, places;
    bool currency, minus, blank;
  } cases[] = {
      {"s3", PictureKind::String, 3, 0, false, false, false},
      {"s100", PictureKind::String, 100, 0, false, false, false},
      {"N-7.1B", PictureKind::Number, 7, 1, false, true, true},
      {"N$-10.2B", PictureKind::Number, 10, 2, true, true, true},
      {"N$-17.2B", PictureKind::Number, 17, 2, true, true, true},
      {"n-10.1B", PictureKind::Number, 10, 1, false, true, true},
      {"n-10.2", PictureKind::Number, 10, 2, false, true, false},
      {"n-10.3", PictureKind::Number, 10, 3, false, true, false},
      {"n-10.3B", PictureKind::Number, 10, 3, false, true, true},
      {"n-7.3", PictureKind::Number, 7, 3, false, true, false},
      {"n6.3", PictureKind::Number, 6, 3, false, false, false},
      {"n3", PictureKind::Number, 3, 0, false, false, false},
      {"n10", PictureKind::Number, 10, 0, false, false, false},
      {"N-10.B", PictureKind::Number, 10, 0, false, true, true},
      {"N-7.B", PictureKind::Number, 7, 0, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto p = Picture::parse(c.text);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->kind, c.kind);
    EXPECT_EQ(p->width, c.width);
    EXPECT_EQ(p->places, c.places);
    EXPECT_EQ(p->currency, c.currency);
    EXPECT_EQ(p->allowMinus, c.minus);
    EXPECT_EQ(p->blankZero, c.blank);
  }
  for (const char* text : {"s4", "s5", "s7", "s10", "s16", "s20", "s50"})
    EXPECT_EQ(Picture::of(text).kind, PictureKind::String) << text;
  for (const char* text : {"D17", "D17B", "D02B", "d02b", "d02B", "D2B", "d06b"})
    EXPECT_EQ(Picture::of(text).kind, PictureKind::Date) << text;
  EXPECT_TRUE(Picture::of("D02B").leadingZeros);
  EXPECT_FALSE(Picture::of("D2B").leadingZeros);
  for (const char* text : {"T7", "T07"}) EXPECT_EQ(Picture::of(text).kind, PictureKind::Time) << text;
  const Picture page = Picture::of("pPage <<#p");
  EXPECT_EQ(page.kind, PictureKind::Page);
  EXPECT_EQ(page.pageBefore, "Page ");
  EXPECT_EQ(page.pageAfter, "");
  EXPECT_EQ(page.pageWidth, 3);

  for (const char* bad : {"", "x5", "s", "s0", "s1a", "n", "N$$5", "n5.2.1", "n-", "D9", "D", "T8", "pPage p", "pPage #<p"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Picture::parse(bad).has_value());
  }
  EXPECT_THROW(Picture::of("x"), std::invalid_argument);
}

TEST_F(PictureTest, NumbersAreGroupedRoundedThenShownWithoutCommasThenMarkedWhenTooWide) {
  struct Case {
    const char* picture;
    const char* value;
    const char* shown;
  } cases[] = {
      {"N-7.1B", "12.5", "12.5"},
      {"N-7.1B", "0", ""},
      {"N-7.1B", "-3.25", "-3.3"},  // half away from zero
      {"N-7.1B", "9999.9", "9,999.9"},
      {"N-7.1B", "10000", "10000.0"},  // too wide with its comma: shown without
      {"N-7.1B", "100000", "#######"},
      {"N-7.1B", "-999.9", "-999.9"},
      {"N-7.1B", "-1000", "-1000.0"},
      {"N-7.1B", "-10000", "#######"},
      {"N$-10.2B", "1234.5", "$1,234.50"},
      {"N$-10.2B", "-1234.5", "-$1,234.50"},
      {"N$-10.2B", "99999.99", "$99,999.99"},
      {"N$-10.2B", "100000", "$100000.00"},
      {"N$-10.2B", "1000000", "##########"},
      {"N$-10.2B", "0.004", ""},  // shows as zero, so blank
      {"N$-17.2B", "1234567.891", "$1,234,567.89"},
      {"N$-17.2B", "9999999999.99", "$9,999,999,999.99"},
      {"N$-17.2B", "-9999999999.99", "-$9999999999.99"},
      {"N$-17.2B", "9999999999999.99", "$9999999999999.99"},
      {"N$-17.2B", "10000000000000", "#################"},
      {"n-10.1B", "7", "7.0"},
      {"n-10.2", "0", "0.00"},  // no B: zero is shown
      {"n-10.2", "17.945", "17.95"},
      {"n-10.2", "-0.004", "0.00"},
      {"n-10.3", "0.445", "0.445"},
      {"n-10.3B", "0", ""},
      {"n-7.3", "12.5", "12.500"},
      {"n6.3", "0.445", "0.445"},
      {"n6.3", "99.999", "99.999"},
      {"n6.3", "100", "######"},
      {"n6.3", "-0.5", "######"},  // no '-' in the picture: too wide for it
      {"n3", "0", "0"},
      {"n3", "999", "999"},
      {"n3", "1000", "###"},
      {"n3", "-1", "###"},
      {"n10", "1234567", "1,234,567"},
      {"n10", "12345678", "12,345,678"},
      {"n10", "123456789", "123456789"},
      {"n10", "12345678901", "##########"},
      {"N-10.B", "37.5", "38"},
      {"N-10.B", "-37.5", "-38"},
      {"N-10.B", "0.4", ""},
      {"N-7.B", "1234", "1,234"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " " + c.value);
    EXPECT_EQ(formatDecimal(D(c.value), Picture::of(c.picture)), c.shown);
    EXPECT_EQ(fitsPicture(D(c.value), Picture::of(c.picture)), std::string(c.shown).find('#') == std::string::npos);
  }
}

TEST_F(PictureTest, DatesFollowTheirPicturesOrder) {
  const std::int32_t day = dayNumber(2007, 3, 5);
  struct Case {
    const char* picture;
    std::int32_t day;
    const char* shown;
  } cases[] = {
      {"D17", day, "3/5/2007"},   {"D17B", day, "3/5/2007"},   {"D02B", day, "03/05/2007"},
      {"d02b", day, "03/05/2007"}, {"d02B", day, "03/05/2007"}, {"D2B", day, "3/5/2007"},
      {"d06b", day, "05/03/2007"}, {"D17B", NoDate, ""},        {"D02B", NoDate, ""},
      {"d06b", NoDate, ""},        {"D2B", NoDate, ""},
      {"D17", NoDate, "12/28/1800"},  // only B blanks the zero day
      {"D2B", dayNumber(999, 1, 2), "1/2/0999"},
      {"D2B", dayNumber(1776, 7, 4), "7/4/1776"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(formatDay(c.day, Picture::of(c.picture)), c.shown);
  }
  DateTimeFormat german;
  german.order = DateTimeFormat::Order::DMY;
  german.separator = '.';
  german.leadingZeros = true;
  setSystemDateTimeFormat(german);
  EXPECT_EQ(formatDay(day, Picture::of("D17")), "05.03.2007");
  EXPECT_EQ(formatDay(day, Picture::of("D02B")), "03/05/2007");  // fixed pictures ignore the locale
  DateTimeFormat iso;
  iso.order = DateTimeFormat::Order::YMD;
  iso.separator = '-';
  iso.leadingZeros = true;
  setSystemDateTimeFormat(iso);
  EXPECT_EQ(formatDay(day, Picture::of("D17B")), "2007-03-05");
}

TEST_F(PictureTest, TimesFollowTheSystemFormat) {
  const Picture t7 = Picture::of("T7"), t07 = Picture::of("T07");
  EXPECT_EQ(formatTime(timeValue(14, 5, 9), t7), "2:05:09 PM");
  EXPECT_EQ(formatTime(timeValue(14, 5, 9), t07), "2:05:09 PM");
  EXPECT_EQ(formatTime(timeValue(0, 0, 0), t7), "12:00:00 AM");
  EXPECT_EQ(formatTime(timeValue(12, 0, 0), t7), "12:00:00 PM");
  EXPECT_EQ(formatTime(timeValue(23, 59, 59, 99), t7), "11:59:59 PM");
  DateTimeFormat f;
  f.hour24 = true;
  f.hourLeadingZero = true;
  setSystemDateTimeFormat(f);
  EXPECT_EQ(formatTime(timeValue(9, 5, 9), t7), "09:05:09");
  EXPECT_EQ(formatTime(timeValue(14, 5, 9), t7), "14:05:09");
}

TEST_F(PictureTest, PageNumbersSitInTheirText) {
  const Picture page = Picture::of("pPage <<#p"), upper = Picture::of("pPAGE <<#p");
  EXPECT_EQ(formatPage(1, page), "Page 1");
  EXPECT_EQ(formatPage(12, page), "Page 12");
  EXPECT_EQ(formatPage(123, page), "Page 123");
  EXPECT_EQ(formatPage(1000, page), "Page ###");
  EXPECT_EQ(formatPage(7, upper), "PAGE 7");
  EXPECT_EQ(formatPage(3, Picture::of("p<##p")), "03");
}

TEST_F(PictureTest, VariablesFormatByTheirPicture) {
  std::vector<std::uint8_t> text(100);
  FieldRef name(FieldType::String, text.data(), 100);
  name.setText("Jos\xE9 " + std::string(30, 'x'));
  EXPECT_EQ(format(name, Picture::of("s7")), "Jos\xC3\xA9 xx");  // 7 characters, shown as UTF-8

  std::array<std::uint8_t, 4> date{};
  FieldRef d(FieldType::Date, date.data(), 4);
  d.setDay(dayNumber(2007, 3, 15));
  EXPECT_EQ(format(d, Picture::of("d06b")), "15/03/2007");
  std::array<std::uint8_t, 4> lng{};
  FieldRef asLong(FieldType::Long, lng.data(), 4);
  asLong.setInteger(75317);
  EXPECT_EQ(format(asLong, Picture::of("D17")), "3/15/2007");

  std::array<std::uint8_t, 1> b{1};
  EXPECT_EQ(format(FieldRef(FieldType::Byte, b.data(), 1), Picture::of("n3")), "1");
  // Text under a number picture reads as its number, or 0.
  std::vector<std::uint8_t> t(20);
  FieldRef discovery(FieldType::String, t.data(), 20);
  discovery.setText("Under 100 Pages");
  EXPECT_EQ(format(discovery, Picture::of("n10")), "0");
  discovery.setText("1234");
  EXPECT_EQ(format(discovery, Picture::of("n10")), "1,234");
}

// --- reading typed text back --------------------------------------------------

struct Accepted {
  const char* picture;
  const char* typed;
  const char* value;    // the stored value, or nullptr when refused
  const char* message;  // a part of the message when refused
};

void checkDecimalInputs(const std::vector<Accepted>& cases, int digits, int places) {
  for (const Accepted& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " \"" + c.typed + "\"");
    std::array<std::uint8_t, 9> bytes{};
    FieldRef var(FieldType::Decimal, bytes.data(), packedSize(digits), digits, places);
    ASSERT_EQ(var.setDecimal(D("42")), StoreStatus::Ok);
    const auto before = bytes;
    const AcceptResult r = accept(var, c.typed, Picture::of(c.picture));
    if (c.value) {
      EXPECT_TRUE(r.ok) << r.message;
      EXPECT_EQ(var.decimal(), D(c.value)) << var.decimal().toString();
    } else {
      EXPECT_FALSE(r.ok);
      EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
      EXPECT_EQ(bytes, before);  // the value is unchanged
    }
  }
}

TEST_F(PictureTest, TypedNumbersAreReadByThePicture) {
  checkDecimalInputs(
      {
          {"N$-10.2B", "$1,234.50", "1234.5", nullptr},
          {"N$-10.2B", "  1234.5 ", "1234.5", nullptr},
          {"N$-10.2B", "", "0", nullptr},
          {"N$-10.2B", "   ", "0", nullptr},
          {"N$-10.2B", "-5", "-5", nullptr},
          {"N$-10.2B", "-$5.25", "-5.25", nullptr},
          {"N$-10.2B", "$-5.25", "-5.25", nullptr},
          {"N$-10.2B", ".5", "0.5", nullptr},
          {"N$-10.2B", "1.230", "1.23", nullptr},  // a trailing zero is no extra place
          {"N$-10.2B", "99999.99", "99999.99", nullptr},
          {"N$-10.2B", "12a", nullptr, "not a number"},
          {"N$-10.2B", "1.2.3", nullptr, "not a number"},
          {"N$-10.2B", "--5", nullptr, "not a number"},
          {"N$-10.2B", "5-", nullptr, "not a number"},
          {"N$-10.2B", "$", nullptr, "not a number"},
          {"N$-10.2B", "1.234", nullptr, "2 digits after the decimal point"},
          {"N$-10.2B", "12,34", nullptr, "groups of three"},
          {"N$-10.2B", "1234,567", nullptr, "groups of three"},
          {"N$-10.2B", "100,000", nullptr, "too large for this field"},  // shown, not held
          {"N$-10.2B", "1,000,000", nullptr, "largest it shows is 999,999.99"},
          {"N$-10.2B", "-10000", "-10000", nullptr},  // shown as -$10000.00
          {"N$-10.2B", "-100000", nullptr, "smallest it shows is -99,999.99"},
          {"n-10.2", "123456", nullptr, "99,999.99"},  // fits the picture, not the field
          {"n-10.2", "-99999.99", "-99999.99", nullptr},
          {"N-10.B", "37", "37", nullptr},
          {"N-10.B", "37.0", "37", nullptr},
          {"N-10.B", "37.5", nullptr, "whole number"},
          {"N-7.1B", "-1000", "-1000", nullptr},
          {"N-7.1B", "-10000", nullptr, "smallest it shows is -9,999.9"},
      },
      7, 2);
  checkDecimalInputs(
      {
          {"n6.3", "0.445", "0.445", nullptr},
          {"n6.3", "-0.5", nullptr, "negative"},
          {"n6.3", "-0", "0", nullptr},
          {"n6.3", "100", nullptr, "largest it shows is 99.999"},
          {"n-10.3B", "1,000.5", "1000.5", nullptr},
      },
      7, 3);
  checkDecimalInputs({{"N-7.1B", "2.25", nullptr, "1 digit after"}}, 7, 1);
}

TEST_F(PictureTest, TypedNumbersMustFitByteAndLongVariables) {
  std::array<std::uint8_t, 1> b{9};
  FieldRef byte(FieldType::Byte, b.data(), 1);
  EXPECT_TRUE(accept(byte, "255", Picture::of("n3")).ok);
  EXPECT_EQ(byte.integer(), 255);
  const AcceptResult big = accept(byte, "256", Picture::of("n-10.2"));
  EXPECT_FALSE(big.ok);
  EXPECT_NE(big.message.find("0 to 255"), std::string::npos) << big.message;
  EXPECT_FALSE(accept(byte, "-1", Picture::of("n3")).ok);
  EXPECT_FALSE(accept(byte, "1.5", Picture::of("n-10.2")).ok);
  EXPECT_EQ(byte.integer(), 255);

  std::array<std::uint8_t, 4> l{};
  FieldRef lng(FieldType::Long, l.data(), 4);
  EXPECT_TRUE(accept(lng, "-2,147,483,648", Picture::of("N-17.B")).ok);
  EXPECT_EQ(lng.integer(), -2147483648LL);
  EXPECT_FALSE(accept(lng, "2,147,483,648", Picture::of("N-17.B")).ok);
  EXPECT_EQ(lng.integer(), -2147483648LL);
}

TEST_F(PictureTest, TypedDatesAreReadInThePicturesOrder) {
  struct Case {
    const char* picture;
    const char* typed;
    std::optional<Ymd> date;  // nullopt: refused; {0,0,0}: no date
    const char* message;
  } cases[] = {
      {"D02B", "3/15/2007", Ymd{2007, 3, 15}, ""},
      {"D02B", "03/15/2007", Ymd{2007, 3, 15}, ""},
      {"d02b", " 3-15-2007 ", Ymd{2007, 3, 15}, ""},
      {"D2B", "12/27/1800", Ymd{1800, 12, 27}, ""},
      {"d06b", "15/03/2007", Ymd{2007, 3, 15}, ""},
      {"d06b", "29/02/2000", Ymd{2000, 2, 29}, ""},
      {"D17B", "3/15/2007", Ymd{2007, 3, 15}, ""},
      {"D02B", "", Ymd{}, ""},
      {"D02B", "15/03/2007", std::nullopt, "no month 15"},
      {"d06b", "31/02/2007", std::nullopt, "February 2007 has 28 days"},
      {"d06b", "29/02/1900", std::nullopt, "February 1900 has 28 days"},
      {"d06b", "0/02/1900", std::nullopt, "no day 0"},
      {"D02B", "3/15/07", std::nullopt, "four digits"},
      {"D02B", "3/15", std::nullopt, "mm/dd/yyyy"},
      {"d06b", "a/b/c", std::nullopt, "dd/mm/yyyy"},
      {"D02B", "3/15/2007/1", std::nullopt, "not a date"},
      {"D02B", "3//2007", std::nullopt, "not a date"},
      {"D02B", "123/1/2007", std::nullopt, "not a date"},
      {"D02B", "1/1/0000", std::nullopt, "no year 0"},
      {"D02B", "12/28/1800", std::nullopt, "no date"},  // the day that means no date
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " \"" + c.typed + "\"");
    std::array<std::uint8_t, 4> bytes{};
    FieldRef var(FieldType::Date, bytes.data(), 4);
    var.setDay(dayNumber(2001, 1, 1));
    const auto before = bytes;
    const AcceptResult r = accept(var, c.typed, Picture::of(c.picture));
    if (c.date) {
      EXPECT_TRUE(r.ok) << r.message;
      EXPECT_EQ(var.day(), c.date->year == 0 ? NoDate : dayNumber(*c.date));
    } else {
      EXPECT_FALSE(r.ok);
      EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
      EXPECT_EQ(bytes, before);
    }
  }
  DateTimeFormat german;
  german.order = DateTimeFormat::Order::DMY;
  german.separator = '.';
  setSystemDateTimeFormat(german);
  EXPECT_EQ(parseDay("15.3.2007", Picture::of("D17")), dayNumber(2007, 3, 15));
  std::string message;
  EXPECT_FALSE(parseDay("3/15/2007", Picture::of("D17B"), &message).has_value());
  EXPECT_NE(message.find("dd.mm.yyyy"), std::string::npos) << message;
}

TEST_F(PictureTest, TypedTextIsCutAndMustBeLatin1) {
  std::vector<std::uint8_t> buf(100, ' ');
  FieldRef name(FieldType::String, buf.data(), 100);
  EXPECT_TRUE(accept(name, "Jos\xC3\xA9 M\xC3\xBCller", Picture::of("s20")).ok);
  EXPECT_EQ(name.text(), "Jos\xE9 M\xFCller");
  // Characters count, not UTF-8 bytes: twenty é are 40 bytes on screen, 20 stored.
  std::string accents;
  for (int i = 0; i < 22; ++i) accents += "\xC3\xA9";
  EXPECT_TRUE(accept(name, accents, Picture::of("s20")).ok);
  EXPECT_EQ(name.text(), std::string(20, '\xE9'));
  EXPECT_TRUE(accept(name, std::string(25, 'a'), Picture::of("s20")).ok);
  EXPECT_EQ(name.text(), std::string(20, 'a'));
  const AcceptResult euro = accept(name, "5 \xE2\x82\xAC", Picture::of("s20"));
  EXPECT_FALSE(euro.ok);
  EXPECT_NE(euro.message.find("\xE2\x82\xAC"), std::string::npos) << euro.message;
  EXPECT_EQ(name.text(), std::string(20, 'a'));
  EXPECT_FALSE(accept(name, std::string("a\0b", 3), Picture::of("s20")).ok);

  std::vector<std::uint8_t> cbuf(10);
  FieldRef shortText(FieldType::CString, cbuf.data(), 10);
  EXPECT_TRUE(accept(shortText, "abcdefghijkl", Picture::of("s100")).ok);
  EXPECT_EQ(shortText.text(), "abcdefghi");  // the field's capacity, 9
}

TEST_F(PictureTest, TypedTimesAreRead) {
  const Picture t = Picture::of("T7");
  EXPECT_EQ(parseTime("2:05:09 PM", t), timeValue(14, 5, 9));
  EXPECT_EQ(parseTime("12:00 am", t), timeValue(0, 0, 0));
  EXPECT_EQ(parseTime("14:05", t), timeValue(14, 5, 0));
  EXPECT_EQ(parseTime("", t), NoTime);
  for (const char* bad : {"25:00", "13:00 PM", "2:60", "abc", "2:05:09 XM", "2:05:09:01"}) {
    std::string message;
    EXPECT_FALSE(parseTime(bad, t, &message).has_value()) << bad;
    EXPECT_FALSE(message.empty()) << bad;
  }
}

// Every picture the windows use, on the kind of variable it shows: what it
// shows reads back as the same bytes, a trailing B's blank reads back as
// zero, and one bad input of each is refused with a message and changes
// nothing.
TEST_F(PictureTest, EveryWindowPictureReadsBackWhatItShows) {
  struct Case {
    std::string picture;
    FieldType type;
    int digits, places;
    std::function<void(FieldRef&)> set;
    std::string shown;
    std::string bad;
  };
  auto number = [](const char* v) { return [v](FieldRef& f) { ASSERT_EQ(f.setDecimal(D(v)), StoreStatus::Ok); }; };
  auto date = [](int y, int m, int d) { return [=](FieldRef& f) { f.setDay(dayNumber(y, m, d)); }; };
  auto time = [](int h, int m, int s) { return [=](FieldRef& f) { f.setInteger(timeValue(h, m, s)); }; };
  const auto Dec = FieldType::Decimal;
  std::vector<Case> cases = {
      {"N-7.1B", Dec, 7, 1, number("-999.9"), "-999.9", "12a"},
      {"N$-10.2B", Dec, 11, 2, number("1234.5"), "$1,234.50", "1.2.3"},
      {"N$-17.2B", Dec, 17, 2, number("-1234567.89"), "-$1,234,567.89", "1.234"},
      {"n-10.1B", Dec, 7, 1, number("12345.6"), "12,345.6", "1,23"},
      {"n-10.2", Dec, 7, 2, number("-17.95"), "-17.95", "123456"},  // fits the picture, not the field
      {"n-10.3", Dec, 7, 3, number("0.445"), "0.445", "0.4455"},
      {"n-10.3B", Dec, 7, 3, number("1000.5"), "1,000.500", "$"},
      {"n-7.3", Dec, 7, 3, number("-12.5"), "-12.500", "1000"},  // too wide for the picture
      {"n6.3", Dec, 7, 3, number("0.485"), "0.485", "-0.5"},
      {"n3", FieldType::Byte, 0, 0, number("255"), "255", "256"},
      {"n10", FieldType::Long, 0, 0, number("1234567"), "1,234,567", "1.5"},
      {"N-10.B", Dec, 7, 0, number("-38"), "-38", "37.5"},
      {"N-7.B", Dec, 7, 0, number("1234"), "1,234", "12345678"},
      {"D17", FieldType::Date, 0, 0, date(2007, 3, 15), "3/15/2007", "31/02/2007"},
      {"D17B", FieldType::Date, 0, 0, date(2007, 3, 15), "3/15/2007", "15/03/2007"},
      {"D02B", FieldType::Date, 0, 0, date(2007, 3, 5), "03/05/2007", "3/5/07"},
      {"d02b", FieldType::Date, 0, 0, date(2000, 2, 29), "02/29/2000", "02/29/1900"},
      {"d02B", FieldType::Date, 0, 0, date(1999, 12, 31), "12/31/1999", "12-31"},
      {"D2B", FieldType::Date, 0, 0, date(2007, 3, 5), "3/5/2007", "3/5/2007x"},
      {"d06b", FieldType::Date, 0, 0, date(2007, 3, 15), "15/03/2007", "31/02/2007"},
      {"T7", FieldType::Long, 0, 0, time(14, 5, 9), "2:05:09 PM", "25:00"},
      {"T07", FieldType::Long, 0, 0, time(0, 30, 0), "12:30:00 AM", "13:00 PM"},
  };
  // Strings: the first n characters of a text with Latin-1 letters, shown
  // as UTF-8.
  const std::string latin1 = "Jos\xE9 M\xFCller v. United States, Case No. 07-CR-0001, \xC9tat de New York, "
                             "\xE0 la Cour f\xE9" "d\xE9rale du district";
  for (int n : {3, 4, 5, 7, 10, 16, 20, 50, 100}) {
    const std::string value(rtrim((latin1 + std::string(100, 'x')).substr(0, static_cast<std::size_t>(n))));
    cases.push_back({"s" + std::to_string(n), FieldType::String, 0, 0, [value](FieldRef& f) { f.setText(value); },
                     latin1ToUtf8(value), "5 \xE2\x82\xAC"});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    const Picture p = Picture::of(c.picture);
    std::vector<std::uint8_t> bytes(100);
    const std::uint32_t size = c.type == FieldType::String ? 100u
                               : c.type == FieldType::Byte ? 1u
                               : c.type == FieldType::Decimal ? packedSize(c.digits)
                                                              : 4u;
    FieldRef var(c.type, bytes.data(), size, c.digits, c.places);
    c.set(var);
    const std::vector<std::uint8_t> value = bytes;
    EXPECT_EQ(format(var, p), c.shown);

    var.clear();
    AcceptResult r = accept(var, c.shown, p);
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(bytes, value) << "what the picture shows reads back as the value";

    r = accept(var, c.bad, p);
    EXPECT_FALSE(r.ok) << "\"" << c.bad << "\" was taken";
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(bytes, value) << "a refused input changes nothing";

    if (p.blankZero) {
      var.clear();
      EXPECT_EQ(format(var, p), "");
      c.set(var);
      r = accept(var, "", p);
      EXPECT_TRUE(r.ok) << r.message;
      EXPECT_TRUE(var.isEmpty()) << "a blank reads back as zero";
    }
  }
}

TEST(DateTimeFormats, ComeFromTheLocalesPatterns) {
  struct Case {
    const char* date;
    const char* time;
    DateTimeFormat::Order order;
    char separator;
    bool leadingZeros, hour24, hourZero, seconds;
  } cases[] = {
      {"%m/%d/%Y", "%I:%M:%S %p", DateTimeFormat::Order::MDY, '/', true, false, true, true},
      {"%d.%m.%Y", "%H:%M:%S", DateTimeFormat::Order::DMY, '.', true, true, true, true},
      {"%Y-%m-%d", "%T", DateTimeFormat::Order::YMD, '-', true, true, true, true},
      {"%F", "%R", DateTimeFormat::Order::YMD, '-', true, true, true, false},
      {"%D", "%r", DateTimeFormat::Order::MDY, '/', true, false, true, true},
      {"%e/%m/%y", "%l:%M %p", DateTimeFormat::Order::DMY, '/', false, false, false, false},
      {"%-d/%-m/%Y", "%k.%M.%S", DateTimeFormat::Order::DMY, '/', false, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.date) + " " + c.time);
    const DateTimeFormat f = dateTimeFormatFromPatterns(c.date, c.time, "AM", "PM");
    EXPECT_EQ(f.order, c.order);
    EXPECT_EQ(f.separator, c.separator);
    EXPECT_EQ(f.leadingZeros, c.leadingZeros);
    EXPECT_EQ(f.hour24, c.hour24);
    EXPECT_EQ(f.hourLeadingZero, c.hourZero);
    EXPECT_EQ(f.seconds, c.seconds);
  }
  EXPECT_EQ(dateTimeFormatFromPatterns("%k.%M.%S", "%k.%M.%S", "", "").timeSeparator, '.');
  const DateTimeFormat noAmPm = dateTimeFormatFromPatterns("%m/%d/%Y", "%I:%M:%S %p", "", "");
  EXPECT_EQ(noAmPm.am, "AM");
  EXPECT_EQ(noAmPm.pm, "PM");
}

TEST(DateTimeFormats, TheCLocaleGivesTheUsDefault) {
  const char* saved = std::getenv("LC_ALL");
  const std::string keep = saved ? saved : "";
  setenv("LC_ALL", "C", 1);
  const DateTimeFormat f = dateTimeFormatFromLocale();
  if (saved)
    setenv("LC_ALL", keep.c_str(), 1);
  else
    unsetenv("LC_ALL");
  const DateTimeFormat us;
  EXPECT_EQ(f.order, us.order);
  EXPECT_EQ(f.separator, '/');
  EXPECT_FALSE(f.leadingZeros);
  EXPECT_FALSE(f.hour24);
  EXPECT_TRUE(f.seconds);
  EXPECT_EQ(f.am, "AM");
}

}  // namespace
}  // namespace platform
