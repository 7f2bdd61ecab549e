#pragma once
// Exact signed decimal numbers: a 128-bit integer mantissa with a decimal
// scale (number of places). Sums and products are exact; only a store into a
// DECIMAL(d,p) field rounds, half away from zero.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class Decimal {
 public:
  // __extension__ keeps -Wpedantic quiet about the compiler's 128-bit type.
  __extension__ typedef __int128 Int;
  static constexpr int MaxDigits = 36;  // total digits a working value may hold

  constexpr Decimal() = default;
  static Decimal fromInt(std::int64_t v);
  // mantissa * 10^-scale, 0 <= scale <= MaxDigits (std::invalid_argument
  // otherwise); |mantissa| < 10^MaxDigits (std::overflow_error otherwise).
  static Decimal fromParts(Int mantissa, int scale);
  // Plain decimal text: optional sign, digits, optional point and digits
  // ("-5.005", "12", ".5"). No grouping, no currency sign, no blanks.
  // nullopt for anything else, or for more than MaxDigits significant digits.
  static std::optional<Decimal> parse(std::string_view text);
  // The real conversion of the column totals: the double is rounded to 15
  // significant digits (the 16th digit rounds the 15th, half away from zero).
  // Non-finite values, and values with more than MaxDigits integer digits,
  // give nullopt.
  static std::optional<Decimal> fromDouble15(double v);

  Int mantissa() const { return mantissa_; }
  int scale() const { return scale_; }
  // The nearest double (correctly rounded).
  double toDouble() const;

  bool isZero() const { return mantissa_ == 0; }
  int sign() const { return mantissa_ < 0 ? -1 : (mantissa_ > 0 ? 1 : 0); }

  // Exact arithmetic. Throws std::overflow_error when a result needs more
  // than MaxDigits digits (far beyond any field of the system).
  Decimal operator+(const Decimal& o) const;
  Decimal operator-(const Decimal& o) const;
  Decimal operator*(const Decimal& o) const;
  Decimal operator-() const;

  // Rounded to `places` places, half away from zero (places >= scale leaves
  // the value unchanged).
  Decimal rounded(int places) const;
  // Digits left of the decimal point (0 for |v| < 1).
  int integerDigits() const;

  // Numeric comparison, independent of scale (1.50 == 1.5).
  int compare(const Decimal& o) const;
  friend bool operator==(const Decimal& a, const Decimal& b) { return a.compare(b) == 0; }
  friend auto operator<=>(const Decimal& a, const Decimal& b) { return a.compare(b) <=> 0; }

  // Plain text with exactly scale() places: "-5.010" for (-5010, 3).
  std::string toString() const;
  // Plain text with the given number of places after rounding.
  std::string toString(int places) const;

 private:
  constexpr Decimal(Int mantissa, int scale) : mantissa_(mantissa), scale_(scale) {}
  // Checks the working-value limits, dropping trailing fraction zeros when
  // that is what it takes to fit; throws std::overflow_error otherwise.
  static Decimal make(Int mantissa, int scale);

  Int mantissa_ = 0;
  int scale_ = 0;
};

enum class StoreStatus {
  Ok,
  // The value's integer digits do not fit the field; the field is unchanged.
  Overflow,
};

// DECIMAL(d,p) is stored packed in (d+1)/2 bytes: the first nibble is the
// sign (0 positive, 0xF negative), then d BCD digits, most significant first.
// Only odd d is used by the system, so sign and digits fill the bytes exactly
// (for an even d the bytes hold one digit fewer, and values are checked
// against that). 1 <= d <= 35 and 0 <= p <= d, std::invalid_argument
// otherwise. Zero is always stored with the positive sign.
constexpr std::uint32_t packedSize(int digits) { return static_cast<std::uint32_t>((digits + 1) / 2); }

// Reads a packed decimal; a digit nibble above 9 reads as 0, and a sign
// nibble other than 0xF reads as positive.
Decimal loadPacked(const std::uint8_t* bytes, int digits, int places);
// Rounds to `places` (half away from zero) and stores; on Overflow the bytes
// are left as they were.
StoreStatus storePacked(const Decimal& value, std::uint8_t* bytes, int digits, int places);
// Whether the value, rounded to `places`, fits DECIMAL(digits, places).
bool fits(const Decimal& value, int digits, int places);

// The message shown when a computed or typed value does not fit its field.
std::string overflowMessage(std::string_view fieldDescription, int digits, int places);

}  // namespace platform
