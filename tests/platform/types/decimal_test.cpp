#include "platform/types/decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace platform {
namespace {

Decimal D(const char* text) {
  auto d = Decimal::parse(text);
  if (!d) throw std::invalid_argument(text);
  return *d;
}

// Stores into DECIMAL(digits, places) bytes and reads the field back.
Decimal stored(const Decimal& v, int digits, int places) {
  std::array<std::uint8_t, 18> bytes{};
  EXPECT_EQ(storePacked(v, bytes.data(), digits, places), StoreStatus::Ok) << v.toString();
  return loadPacked(bytes.data(), digits, places);
}

TEST(Decimal, ParsesPlainTextAndPrintsItsScale) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"-5.005", "-5.005"}, {"12", "12"},   {".5", "0.5"},      {"5.", "5"},
      {"-0", "0"},          {"007.50", "7.5"}, {"+3.25", "3.25"}, {"-0.001", "-0.001"},
      {"123456789012345678901234567890.123456", "123456789012345678901234567890.123456"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(D(c.in).toString(), c.out);
  }
  for (const char* bad : {"", "-", ".", "1.2.3", "12a", " 1", "1 ", "1,000", "$5", "--1", "1e5",
                          "1234567890123456789012345678901234567"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Decimal::parse(bad).has_value());
  }
  EXPECT_EQ(Decimal::fromParts(-5010, 3).toString(), "-5.010");
  EXPECT_EQ(D("2.5").toString(3), "2.500");
  EXPECT_EQ(D("-2.345").toString(2), "-2.35");
}

TEST(Decimal, StoresRoundHalfAwayFromZero) {
  // The products are formed exactly; only the store rounds. A double-based
  // product gets every one of these wrong or right only by luck.
  struct Case {
    const char* a;
    const char* b;
    int digits, places;
    const char* expected;
  } cases[] = {
      {"0.3", "33.35", 17, 2, "10.01"},    // 10.005
      {"0.5", "10.05", 17, 2, "5.03"},     // 5.025: a tie goes away from zero, not to even
      {"0.5", "20.09", 17, 2, "10.05"},    // 10.045, which is 10.0449999... as a double
      {"-0.5", "10.01", 17, 2, "-5.01"},   // -5.005
      {"0.445", "1", 7, 2, "0.45"},        // mileage rate x miles
      {"0.485", "37", 7, 2, "17.95"},      // 17.945
      {"0.487", "37", 7, 2, "18.02"},      // 18.019
      {"1.005", "1", 7, 2, "1.01"},        // 1.00499999... as a double
      {"1.5", "8", 7, 1, "12.0"},          // exact: no rounding at all
      {"0", "12.5", 17, 2, "0"},           // an hourly rate of 0
      {"-5.005", "1", 7, 2, "-5.01"},
      {"-0.004", "1", 7, 2, "0"},          // rounds to zero, stored without a sign
      {"99999.994", "1", 7, 2, "99999.99"},
      {"2.675", "1", 7, 2, "2.68"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " x " + c.b);
    const Decimal product = D(c.a) * D(c.b);
    const Decimal s = stored(product, c.digits, c.places);
    EXPECT_EQ(s, D(c.expected)) << s.toString();
    EXPECT_EQ(s.scale(), c.places);
  }
}

TEST(Decimal, SumsAndComparisonsAreExactAcrossScales) {
  EXPECT_EQ(D("1.5") + D("0.25"), D("1.75"));
  EXPECT_EQ((D("1.5") + D("0.25")).scale(), 2);
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ(D("1") - D("1.001"), D("-0.001"));
  EXPECT_EQ(-D("2.5"), D("-2.5"));
  EXPECT_EQ(D("1.50"), D("1.5"));
  EXPECT_LT(D("-1.5"), D("-1.2"));
  EXPECT_LT(D("-2"), D("-1.5"));
  EXPECT_GT(D("0.0001"), D("0"));
  EXPECT_GT(D("100000000000000000000000000000"), D("99999999999999999999999999999.99999"));
  EXPECT_LT(D("0.000000000000000000000000000001"), D("0.00000000000000000000000000001"));
  EXPECT_EQ(D("12.345").integerDigits(), 2);
  EXPECT_EQ(D("-0.5").integerDigits(), 0);
  EXPECT_EQ(D("100000").integerDigits(), 6);
  EXPECT_EQ(Decimal::fromInt(-7).toString(), "-7");
}

TEST(Decimal, WorkingValuesBeyond36DigitsThrow) {
  const Decimal big = Decimal::fromParts(Decimal::Int(1) * 1000000000000000000LL * 100000000000000000LL, 0);  // 10^35
  EXPECT_THROW(big * Decimal::fromInt(100), std::overflow_error);
  EXPECT_THROW(big * D("9") + big * D("9"), std::overflow_error);
  EXPECT_THROW(big + D("0.1"), std::overflow_error);  // 37 digits
  // Trailing zeros of the fraction give way before a product is refused.
  const Decimal one = Decimal::fromParts(Decimal::Int(1000000000000000000LL), 18);  // 1.000...0
  EXPECT_EQ(one * one * one, D("1"));
  EXPECT_THROW(Decimal::fromParts(1, 37), std::invalid_argument);
}

TEST(Decimal, PackedBytesCarryTheSignNibbleThenTheDigits) {
  std::array<std::uint8_t, 4> bytes{};
  ASSERT_EQ(storePacked(D("12.34"), bytes.data(), 7, 2), StoreStatus::Ok);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0x00, 0x00, 0x12, 0x34}));
  ASSERT_EQ(storePacked(D("-12.34"), bytes.data(), 7, 2), StoreStatus::Ok);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0xF0, 0x00, 0x12, 0x34}));
  ASSERT_EQ(storePacked(D("-0.001"), bytes.data(), 7, 2), StoreStatus::Ok);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));  // no negative zero

  // A negative zero written by someone else still reads as zero.
  const std::uint8_t negZero[4] = {0xF0, 0, 0, 0};
  EXPECT_TRUE(loadPacked(negZero, 7, 2).isZero());
  // A digit nibble above 9 reads as 0.
  const std::uint8_t damaged[4] = {0x00, 0x0A, 0x12, 0x34};
  EXPECT_EQ(loadPacked(damaged, 7, 2), D("12.34"));

  EXPECT_EQ(packedSize(7), 4u);
  EXPECT_EQ(packedSize(11), 6u);
  EXPECT_EQ(packedSize(13), 7u);
  EXPECT_EQ(packedSize(17), 9u);
}

TEST(Decimal, EveryFieldTypeRoundTripsItsLimits) {
  struct Case {
    int digits, places;
    const char* value;
  } cases[] = {
      {7, 1, "999999.9"},  {7, 1, "-999999.9"}, {7, 2, "99999.99"},   {7, 2, "-99999.99"},
      {7, 3, "9999.999"},  {7, 3, "0.001"},     {7, 0, "9999999"},    {11, 2, "999999999.99"},
      {13, 2, "-99999999999.99"}, {17, 2, "999999999999999.99"}, {17, 2, "-0.01"}, {35, 0, "-99999999999999999999999999999999999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(stored(D(c.value), c.digits, c.places), D(c.value));
  }
}

TEST(Decimal, AStoreThatDoesNotFitLeavesTheFieldAsItWas) {
  // 2.000 per mile x 60000 miles: 120000.00 needs 6 integer digits, the
  // mileage amount holds 5.
  const Decimal amount = D("2.000") * D("60000.00");
  std::array<std::uint8_t, 4> bytes{};
  ASSERT_EQ(storePacked(D("12.34"), bytes.data(), 7, 2), StoreStatus::Ok);
  const auto before = bytes;
  EXPECT_EQ(storePacked(amount, bytes.data(), 7, 2), StoreStatus::Overflow);
  EXPECT_EQ(bytes, before);
  EXPECT_FALSE(fits(amount, 7, 2));
  // Rounding can push a value over the edge.
  EXPECT_FALSE(fits(D("99999.995"), 7, 2));
  EXPECT_TRUE(fits(D("99999.994"), 7, 2));
  EXPECT_TRUE(fits(D("-99999.99"), 7, 2));
  EXPECT_FALSE(fits(D("-100000"), 7, 2));

  const std::string message = overflowMessage("Total Mileage", 7, 2);
  EXPECT_NE(message.find("Total Mileage"), std::string::npos) << message;
  EXPECT_NE(message.find("99,999.99"), std::string::npos) << message;
  EXPECT_NE(message.find("not stored"), std::string::npos) << message;
  EXPECT_THROW(storePacked(amount, bytes.data(), 37, 2), std::invalid_argument);
  EXPECT_THROW(storePacked(amount, bytes.data(), 7, 8), std::invalid_argument);
}

TEST(Decimal, RealsAreCutTo15SignificantDigitsBeforeTheStore) {
  // Ten entries of 0.1 hours, summed as reals, lie a hair below 1.
  double sum = 0;
  for (int i = 0; i < 10; ++i) sum += D("0.1").toDouble();
  ASSERT_NE(sum, 1.0);
  EXPECT_EQ(stored(*Decimal::fromDouble15(sum), 7, 1), D("1.0"));

  struct Case {
    double v;
    const char* expected;  // the 15-digit value
  } cases[] = {
      {0.1 + 0.2, "0.3"},
      {2.675, "2.675"},                            // 2.67499999999999982236... as a double
      {1000000000000005.0, "1000000000000010"},    // an exact tie at the 16th digit goes up
      {-1000000000000005.0, "-1000000000000010"},  // and away from zero below it
      {1000000000000004.0, "1000000000000000"},
      {123456789012345.6, "123456789012346"},
      {0.000123456789012345678, "0.000123456789012346"},
      {-0.0, "0"},
      {0.0, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const auto d = Decimal::fromDouble15(c.v);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(*d, D(c.expected)) << d->toString();
  }
  EXPECT_EQ(stored(*Decimal::fromDouble15(2.675), 7, 2), D("2.68"));
  EXPECT_TRUE(Decimal::fromDouble15(1e-300)->isZero());
  EXPECT_TRUE(stored(*Decimal::fromDouble15(1e-300), 7, 2).isZero());
  EXPECT_FALSE(Decimal::fromDouble15(std::numeric_limits<double>::quiet_NaN()).has_value());
  EXPECT_FALSE(Decimal::fromDouble15(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(Decimal::fromDouble15(1e300).has_value());
  EXPECT_EQ(D("-5.005").toDouble(), -5.005);
}

}  // namespace
}  // namespace platform
