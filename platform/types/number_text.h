#pragma once
// Internal helpers shared by the decimal and picture code: digit strings of
// 128-bit magnitudes and US thousands grouping.

#include <string>
#include <string_view>

#include "platform/types/decimal.h"

namespace platform::detail {

__extension__ typedef unsigned __int128 UInt128;

// 10^n for 0 <= n <= 38.
Decimal::Int pow10(int n);

// Decimal digits of a magnitude ("0" for 0).
std::string digitsOf(UInt128 v);

// |v| of a mantissa that is known not to be the most negative value.
inline UInt128 magnitude(Decimal::Int v) { return v < 0 ? static_cast<UInt128>(-v) : static_cast<UInt128>(v); }

// "1234567" -> "1,234,567".
std::string groupThousands(std::string_view digits);

// The largest magnitude of DECIMAL(digits, places), grouped: "99,999.99".
std::string maxOfField(int digits, int places);

}  // namespace platform::detail
