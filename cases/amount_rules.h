#pragma once
// The amount rules: every hour total and amount the system shows, stores or
// prints comes from these nine rules, applied in this order:
//
//   in-court hours        = the 8 in-court categories, summed       DECIMAL(7,1)
//   in-court amount       = in-court hours x hourly rate            DECIMAL(17,2)
//   out-of-court hours    = the 5 out-of-court categories, summed   DECIMAL(7,1)
//   out-of-court amount   = out-of-court hours x hourly rate        DECIMAL(17,2)
//   mileage amount        = mileage rate x miles                    DECIMAL(7,2)
//   travel                = parking + meals + lodging + mileage amount
//   other                 = copying + postage + toll calls + telegrams + other
//   expense total         = travel + other                          DECIMAL(17,2)
//   grand total           = expense total + in-court + out-of-court amount
//                                                                    DECIMAL(13,2)
//
// Sums and products are exact; only the store into a target field rounds,
// half away from zero, to the field's places. Each rule stores its result
// before the next one reads it, and reads the stored (rounded) value: an
// amount reads the stored hours, travel the stored mileage amount, the
// expense total the stored travel and other, the grand total the stored
// section values. A result is read from its target field whether the rule
// ran in the same call or not.
//
// The operands come as values, so a caller can put the column totals in
// place of an entry's fields. Travel reads the operand mileageAmount when
// the mileage-amount rule is not among the rules applied (the column total
// of the mileage amounts stands in its place).
//
// A result whose integer digits do not fit its target is never stored
// wrapped: the target keeps what it held and the rule is overflowed, and so
// is every rule that reads that result, which stores nothing either.

#include <array>
#include <cstdint>

#include "platform/types/decimal.h"
#include "platform/types/field.h"

namespace cases {

enum class AmountRule : std::uint8_t {
  InCourtHours,
  InCourtAmount,
  OutCourtHours,
  OutCourtAmount,
  MileageAmount,
  Travel,
  Other,
  ExpenseTotal,
  GrandTotal,
};
inline constexpr int AmountRuleCount = 9;

// A set of rules.
using AmountRules = std::uint16_t;
constexpr AmountRules rule(AmountRule r) { return static_cast<AmountRules>(1u << static_cast<unsigned>(r)); }
inline constexpr AmountRules InCourtRules = rule(AmountRule::InCourtHours) | rule(AmountRule::InCourtAmount);
inline constexpr AmountRules OutCourtRules = rule(AmountRule::OutCourtHours) | rule(AmountRule::OutCourtAmount);
inline constexpr AmountRules ExpenseRules = rule(AmountRule::MileageAmount) | rule(AmountRule::Travel) |
                                            rule(AmountRule::Other) | rule(AmountRule::ExpenseTotal);
inline constexpr AmountRules AllAmountRules = InCourtRules | OutCourtRules | ExpenseRules | rule(AmountRule::GrandTotal);

struct AmountOperands {
  // ARRAIGNMENTPLEA, MOTIONSREQUESTS, BAILHEARINGS, SENTENCEHEARINGS, TRIAL,
  // REVOCATIONHEARINGS, APPEALSCOURT, OTHERIN
  std::array<platform::Decimal, 8> inCourt;
  // INTERVIEWSCONFERENCES, REVIEWRECORDS, LEGALRESEARCH, TRAVELTIME,
  // INVESTIGATION
  std::array<platform::Decimal, 5> outCourt;
  platform::Decimal hourlyRate;
  platform::Decimal mileageRate;
  platform::Decimal miles;
  platform::Decimal mileageAmount;  // read only when the mileage-amount rule is not applied
  platform::Decimal parking, meals, lodging;
  platform::Decimal copying, postage, tollCalls, telegrams, other;
};

// The fields the nine results go to (DECIMAL fields; their digits and
// places are the stores' limits). Only the targets of the rules applied and
// of the results they read are used.
struct AmountTargets {
  platform::FieldRef inCourtHours, inCourtAmount, outCourtHours, outCourtAmount;
  platform::FieldRef mileageAmount, travel, other, expenseTotal, grandTotal;
};

struct AmountResult {
  AmountRules applied = 0;
  AmountRules overflowed = 0;  // not stored: too large, or read an overflowed result
  bool ok() const { return overflowed == 0; }
  bool overflow(AmountRule r) const { return (overflowed & rule(r)) != 0; }
};

// Applies the given rules, in the order above.
AmountResult ApplyAmountRules(const AmountOperands& operands, const AmountTargets& targets, AmountRules rules);

// An entry's own operands with an hourly rate, and the entry's own fields
// as the targets: of an HOURLY record, or of the thread's HOURLY record
// buffer.
AmountOperands EntryOperands(const platform::Decimal& hourlyRate, std::uint8_t* record);
AmountTargets EntryTargets(std::uint8_t* record);
AmountOperands EntryOperands(const platform::Decimal& hourlyRate);
AmountTargets EntryTargets();

}  // namespace cases
