#include "platform/types/decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

#include "platform/types/number_text.h"

namespace platform {

namespace detail {

Decimal::Int pow10(int n) {
  static const std::array<Decimal::Int, 39> table = [] {
    std::array<Decimal::Int, 39> t{};
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i) t[i] = t[i - 1] * 10;
    return t;
  }();
  if (n < 0 || n > 38) throw std::out_of_range("pow10");
  return table[static_cast<std::size_t>(n)];
}

std::string digitsOf(UInt128 v) {
  char buf[40];
  char* p = buf + sizeof buf;
  do {
    *--p = static_cast<char>('0' + static_cast<int>(v % 10));
    v /= 10;
  } while (v != 0);
  return std::string(p, buf + sizeof buf);
}

std::string groupThousands(std::string_view digits) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string maxOfField(int digits, int places) {
  const int intDigits = digits - places;
  std::string out = intDigits > 0 ? groupThousands(std::string(static_cast<std::size_t>(intDigits), '9')) : "0";
  if (places > 0) out += "." + std::string(static_cast<std::size_t>(places), '9');
  return out;
}

}  // namespace detail

namespace {

using Int = Decimal::Int;
using detail::pow10;

const Int Limit = pow10(Decimal::MaxDigits);

Int absInt(Int v) { return v < 0 ? -v : v; }

bool scaleUp(Int& m, int n) {
  if (n == 0) return true;
  if (n > 38) return m == 0;
  return !__builtin_mul_overflow(m, pow10(n), &m);
}

// Drops trailing zeros of the fraction.
void strip(Int& m, int& scale, int minScale = 0) {
  while (scale > minScale && m % 10 == 0) {
    m /= 10;
    --scale;
  }
}

void checkDigits(int digits, int places) {
  if (digits < 1 || digits > 35 || places < 0 || places > digits)
    throw std::invalid_argument("DECIMAL(" + std::to_string(digits) + "," + std::to_string(places) +
                                ") is not a decimal field type");
}

// Digit nibbles a packed field holds: d for odd d, one fewer for even d.
int digitNibbles(int digits) { return static_cast<int>(2 * packedSize(digits)) - 1; }

}  // namespace

Decimal Decimal::make(Int mantissa, int scale) {
  if (scale < 0) throw std::invalid_argument("negative decimal scale");
  if (scale > MaxDigits || absInt(mantissa) >= Limit) {
    strip(mantissa, scale);
    if (scale > MaxDigits || absInt(mantissa) >= Limit)
      throw std::overflow_error("decimal value needs more than 36 digits");
  }
  return Decimal(mantissa, scale);
}

Decimal Decimal::fromInt(std::int64_t v) { return Decimal(v, 0); }

Decimal Decimal::fromParts(Int mantissa, int scale) {
  if (scale < 0 || scale > MaxDigits) throw std::invalid_argument("decimal scale out of range");
  if (absInt(mantissa) >= Limit) throw std::overflow_error("decimal mantissa needs more than 36 digits");
  return Decimal(mantissa, scale);
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::string_view intPart, fracPart;
  std::size_t start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  intPart = text.substr(start, i - start);
  if (i < text.size() && text[i] == '.') {
    start = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    fracPart = text.substr(start, i - start);
  }
  if (i != text.size() || (intPart.empty() && fracPart.empty())) return std::nullopt;
  while (!intPart.empty() && intPart.front() == '0') intPart.remove_prefix(1);
  while (!fracPart.empty() && fracPart.back() == '0') fracPart.remove_suffix(1);
  if (intPart.size() + fracPart.size() > static_cast<std::size_t>(MaxDigits)) return std::nullopt;
  Int m = 0;
  for (char c : intPart) m = m * 10 + (c - '0');
  for (char c : fracPart) m = m * 10 + (c - '0');
  return Decimal(negative ? -m : m, static_cast<int>(fracPart.size()));
}

std::optional<Decimal> Decimal::fromDouble15(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  if (v == 0.0) return Decimal();
  // The exact decimal expansion: a double has at most 767 significant
  // digits, so 800 digits after the first are never rounded.
  char buf[900];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 800);
  if (res.ec != std::errc()) return std::nullopt;
  const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  // text: [-]d.ddd...e(+|-)xx
  const bool negative = text.front() == '-';
  const std::size_t ePos = text.find('e');
  std::string digits;
  for (std::size_t k = negative ? 1 : 0; k < ePos && digits.size() < 16; ++k)
    if (text[k] != '.') digits += text[k];
  int exponent = 0;
  std::from_chars(text.data() + ePos + (text[ePos + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);

  // Keep 15 significant digits; the 16th rounds the 15th, half away from zero.
  Int m = 0;
  for (std::size_t k = 0; k < 15; ++k) m = m * 10 + (digits[k] - '0');
  if (digits[15] >= '5') ++m;
  // m * 10^(exponent - 14)
  int shift = exponent - 14;
  if (shift >= 0) {
    if (shift > 38 || !scaleUp(m, shift) || m >= Limit) return std::nullopt;
    return Decimal(negative ? -m : m, 0);
  }
  int scale = -shift;
  strip(m, scale);
  if (scale > MaxDigits) {
    // Far below any place a field keeps: round at the last place a working
    // value can hold.
    const int drop = scale - MaxDigits;
    if (drop > 38) {
      m = 0;
    } else {
      const Int d = pow10(drop);
      const Int q = m / d;
      m = q + (2 * (m % d) >= d ? 1 : 0);
    }
    scale = MaxDigits;
  }
  return Decimal(negative ? -m : m, scale);
}

double Decimal::toDouble() const {
  // A mantissa and a power of ten that are both exact doubles give the
  // correctly rounded quotient at once; anything larger goes through text.
  static constexpr double Exact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr Int ExactLimit = Int{1} << 53;
  if (mantissa_ < ExactLimit && mantissa_ > -ExactLimit && scale_ <= 22)
    return static_cast<double>(static_cast<std::int64_t>(mantissa_)) / Exact[scale_];
  const std::string s = toString();
  double out = 0;
  std::from_chars(s.data(), s.data() + s.size(), out);
  return out;
}

Decimal Decimal::operator+(const Decimal& o) const {
  const int scale = scale_ > o.scale_ ? scale_ : o.scale_;
  Int a = mantissa_, b = o.mantissa_, sum = 0;
  if (scaleUp(a, scale - scale_) && scaleUp(b, scale - o.scale_) && !__builtin_add_overflow(a, b, &sum))
    return make(sum, scale);
  // Retry without the operands' trailing zeros before giving up.
  Int ma = mantissa_, mb = o.mantissa_;
  int sa = scale_, sb = o.scale_;
  strip(ma, sa);
  strip(mb, sb);
  const int s2 = sa > sb ? sa : sb;
  if (scaleUp(ma, s2 - sa) && scaleUp(mb, s2 - sb) && !__builtin_add_overflow(ma, mb, &sum)) return make(sum, s2);
  throw std::overflow_error("decimal sum needs more than 36 digits");
}

Decimal Decimal::operator-(const Decimal& o) const { return *this + (-o); }

Decimal Decimal::operator*(const Decimal& o) const {
  Int p = 0;
  if (!__builtin_mul_overflow(mantissa_, o.mantissa_, &p)) return make(p, scale_ + o.scale_);
  Int ma = mantissa_, mb = o.mantissa_;
  int sa = scale_, sb = o.scale_;
  strip(ma, sa);
  strip(mb, sb);
  if (!__builtin_mul_overflow(ma, mb, &p)) return make(p, sa + sb);
  throw std::overflow_error("decimal product needs more than 36 digits");
}

Decimal Decimal::operator-() const { return Decimal(-mantissa_, scale_); }

Decimal Decimal::rounded(int places) const {
  if (places < 0) places = 0;
  if (places >= scale_) return *this;
  const int drop = scale_ - places;
  const Int d = pow10(drop);
  Int q = mantissa_ / d;
  const Int r = absInt(mantissa_ % d);
  if (2 * r >= d) q += mantissa_ < 0 ? -1 : 1;
  return Decimal(q, places);
}

int Decimal::integerDigits() const {
  Int ip = absInt(mantissa_) / pow10(scale_);
  int n = 0;
  while (ip != 0) {
    ip /= 10;
    ++n;
  }
  return n;
}

int Decimal::compare(const Decimal& o) const {
  if (sign() != o.sign()) return sign() < o.sign() ? -1 : 1;
  const Int da = pow10(scale_), db = pow10(o.scale_);
  const Int ia = mantissa_ / da, ib = o.mantissa_ / db;
  if (ia != ib) return ia < ib ? -1 : 1;
  const int scale = scale_ > o.scale_ ? scale_ : o.scale_;
  const Int fa = (mantissa_ % da) * pow10(scale - scale_);
  const Int fb = (o.mantissa_ % db) * pow10(scale - o.scale_);
  return fa < fb ? -1 : (fa > fb ? 1 : 0);
}

std::string Decimal::toString() const {
  std::string digits = detail::digitsOf(detail::magnitude(mantissa_));
  const auto scale = static_cast<std::size_t>(scale_);
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale > 0) digits.insert(digits.size() - scale, 1, '.');
  return mantissa_ < 0 ? "-" + digits : digits;
}

std::string Decimal::toString(int places) const {
  if (places < 0) places = 0;
  Decimal r = rounded(places);
  if (r.scale_ < places) {
    Int m = r.mantissa_;
    if (!scaleUp(m, places - r.scale_) || absInt(m) >= Limit) throw std::overflow_error("too many places");
    r = Decimal(m, places);
  }
  return r.toString();
}

StoreStatus storePacked(const Decimal& value, std::uint8_t* bytes, int digits, int places) {
  checkDigits(digits, places);
  if (!fits(value, digits, places)) return StoreStatus::Overflow;
  const Decimal r = value.rounded(places);
  // Fits, so the mantissa at `places` places has at most `digits` digits.
  detail::UInt128 m = detail::magnitude(r.mantissa());
  m *= static_cast<detail::UInt128>(pow10(places - r.scale()));
  const int nibbles = digitNibbles(digits) + 1;
  const std::uint32_t size = packedSize(digits);
  for (std::uint32_t i = 0; i < size; ++i) bytes[i] = 0;
  for (int k = nibbles - 1; k >= 1; --k) {
    const auto digit = static_cast<std::uint8_t>(m % 10);
    m /= 10;
    auto& b = bytes[k / 2];
    b = static_cast<std::uint8_t>(k % 2 == 0 ? b | (digit << 4) : b | digit);
  }
  if (r.sign() < 0) bytes[0] = static_cast<std::uint8_t>(bytes[0] | 0xF0);
  return StoreStatus::Ok;
}

Decimal loadPacked(const std::uint8_t* bytes, int digits, int places) {
  checkDigits(digits, places);
  const int nibbles = digitNibbles(digits) + 1;
  Decimal::Int m = 0;
  for (int k = 1; k < nibbles; ++k) {
    const std::uint8_t b = bytes[k / 2];
    const int digit = k % 2 == 0 ? b >> 4 : b & 0x0F;
    m = m * 10 + (digit > 9 ? 0 : digit);
  }
  if ((bytes[0] >> 4) == 0xF) m = -m;
  return Decimal::fromParts(m, places);
}

bool fits(const Decimal& value, int digits, int places) {
  checkDigits(digits, places);
  const int room = digitNibbles(digits) < digits ? digitNibbles(digits) : digits;
  return value.rounded(places).integerDigits() <= room - places;
}

std::string overflowMessage(std::string_view fieldDescription, int digits, int places) {
  const std::string max = detail::maxOfField(digits, places);
  std::string out = fieldDescription.empty() ? std::string("The value is too large for its field")
                                             : "The value of " + std::string(fieldDescription) + " is too large for its field";
  out += ", which holds numbers from -" + max + " to " + max + ". The value was not stored.";
  return out;
}

}  // namespace platform
