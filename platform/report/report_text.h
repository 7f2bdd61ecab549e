#pragma once
// What a value prints as on a report page: the one conversion every printed
// value goes through, so that no record byte reaches a page (or a PDF) as a
// control character.
//
//   text fields   the stored bytes, every control byte (0x00-0x1F and
//                 0x7F-0x9F) a blank, trailing blanks removed; under a
//                 string picture cut to its width. A group of fields counts
//                 as the text of its bytes (check-box bytes included)
//   text under a  the number the text starts with (after blanks: a sign,
//   number picture digits, a fraction), or 0 when it starts with none
//   numbers, dates through their picture (platform/types/picture.h)
//   and times
// The result is UTF-8.

#include <string>
#include <string_view>

#include "platform/types/decimal.h"
#include "platform/types/field.h"
#include "platform/types/picture.h"

namespace platform::report {

// `picture` may be null: a text field as it is, a number as its plain value.
std::string PrintedText(const FieldRef& value, const Picture* picture);

// Latin-1 bytes with every control byte a blank (still Latin-1).
std::string PrintableLatin1(std::string_view bytes);

// The number a text starts with; 0 when it starts with none.
Decimal LeadingNumber(std::string_view latin1);

// A value that does not fit its picture, or is not known: the picture's
// row of '#'.
std::string OverflowMark(const Picture& picture);

}  // namespace platform::report
