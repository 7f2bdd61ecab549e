// The amount rules: each rule stores its result before the next reads the
// stored value; products round half away from zero; a result too large for
// its field is never stored, nor anything that reads it.

#include "cases/amount_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace casetest {
namespace {

using cases::AmountOperands;
using cases::AmountRule;
using cases::AmountRules;
using platform::Decimal;
using platform::FieldRef;
using platform::FieldType;

Decimal D(const char* text) {
  auto d = Decimal::parse(text);
  if (!d) throw std::invalid_argument(text);
  return *d;
}

// The nine targets with the digits and places of the entry's fields. Each
// starts at 7.77 (7.7 for hours), so a target that is not stored shows it.
struct Targets {
  std::array<std::array<std::uint8_t, 9>, 9> bytes{};
  static constexpr int Digits[9] = {7, 17, 7, 17, 7, 17, 17, 17, 13};
  static constexpr int Places[9] = {1, 2, 1, 2, 2, 2, 2, 2, 2};
  FieldRef field(AmountRule r) {
    const auto i = static_cast<std::size_t>(r);
    return FieldRef(FieldType::Decimal, bytes[i].data(), platform::packedSize(Digits[i]), Digits[i], Places[i]);
  }
  Targets() {
    for (int i = 0; i < cases::AmountRuleCount; ++i) field(AmountRule(i)).setDecimal(D("7.77"));
  }
  cases::AmountTargets refs() {
    using R = AmountRule;
    return {field(R::InCourtHours),  field(R::InCourtAmount), field(R::OutCourtHours),
            field(R::OutCourtAmount), field(R::MileageAmount), field(R::Travel),
            field(R::Other),          field(R::ExpenseTotal),  field(R::GrandTotal)};
  }
};

using R = AmountRule;
constexpr AmountRules bit(R r) { return cases::rule(r); }

TEST(AmountRules, StoreEachResultRoundedBeforeTheNextReadsIt) {
  struct Case {
    const char* what;
    std::function<void(AmountOperands&)> operands;
    AmountRules rules;
    std::map<R, const char*> expected;  // the targets that change
    AmountRules overflowed = 0;
  };
  const Case table[] = {
      {"0.3 hours at 33.35: 10.005 is stored 10.01",
       [](AmountOperands& o) { o.inCourt[4] = D("0.3"), o.hourlyRate = D("33.35"); },
       cases::InCourtRules,
       {{R::InCourtHours, "0.3"}, {R::InCourtAmount, "10.01"}}},
      {"0.5 hours at 10.05: a tie goes away from zero, 5.03",
       [](AmountOperands& o) { o.outCourt[0] = D("0.5"), o.hourlyRate = D("10.05"); },
       cases::OutCourtRules,
       {{R::OutCourtHours, "0.5"}, {R::OutCourtAmount, "5.03"}}},
      {"a negative product rounds away from zero: -0.5 at 10.01 is -5.01",
       [](AmountOperands& o) { o.inCourt[0] = D("-0.5"), o.hourlyRate = D("10.01"); },
       cases::InCourtRules,
       {{R::InCourtHours, "-0.5"}, {R::InCourtAmount, "-5.01"}}},
      {"eight categories of 1.5 give 12.0, priced once",
       [](AmountOperands& o) { o.inCourt.fill(D("1.5")), o.hourlyRate = D("33.35"); },
       cases::InCourtRules,
       {{R::InCourtHours, "12.0"}, {R::InCourtAmount, "400.20"}}},
      {"0.5 x 20.09 = 10.045, which a double holds as 10.04499...",
       [](AmountOperands& o) { o.outCourt[2] = D("0.5"), o.hourlyRate = D("20.09"); },
       cases::OutCourtRules,
       {{R::OutCourtHours, "0.5"}, {R::OutCourtAmount, "10.05"}}},
      {"0.3 x 3.35 = 1.005",
       [](AmountOperands& o) { o.inCourt[1] = D("0.3"), o.hourlyRate = D("3.35"); },
       cases::InCourtRules,
       {{R::InCourtHours, "0.3"}, {R::InCourtAmount, "1.01"}}},
      {"0.7 x 1.15 = 0.805",
       [](AmountOperands& o) { o.mileageRate = D("0.7"), o.miles = D("1.15"); },
       bit(R::MileageAmount),
       {{R::MileageAmount, "0.81"}}},
      {"an hourly rate of 0 prices every hour at 0.00",
       [](AmountOperands& o) { o.inCourt[2] = D("3.0"), o.outCourt[4] = D("2.5"); },
       cases::InCourtRules | cases::OutCourtRules,
       {{R::InCourtHours, "3.0"}, {R::InCourtAmount, "0.00"}, {R::OutCourtHours, "2.5"}, {R::OutCourtAmount, "0.00"}}},
      {"0.445 x 1 mile is 0.45",
       [](AmountOperands& o) { o.mileageRate = D("0.445"), o.miles = D("1"); },
       cases::ExpenseRules,
       {{R::MileageAmount, "0.45"}, {R::Travel, "0.45"}, {R::Other, "0.00"}, {R::ExpenseTotal, "0.45"}}},
      {"0.485 x 37 = 17.945, stored 17.95, which travel adds to parking 5.00",
       [](AmountOperands& o) { o.mileageRate = D("0.485"), o.miles = D("37"), o.parking = D("5.00"); },
       cases::ExpenseRules,
       {{R::MileageAmount, "17.95"}, {R::Travel, "22.95"}, {R::Other, "0.00"}, {R::ExpenseTotal, "22.95"}}},
      {"0.487 x 37 = 18.019",
       [](AmountOperands& o) { o.mileageRate = D("0.487"), o.miles = D("37"); },
       bit(R::MileageAmount),
       {{R::MileageAmount, "18.02"}}},
      {"a rate of 0: travel is parking, meals and lodging",
       [](AmountOperands& o) {
         o.miles = D("120"), o.parking = D("1.10"), o.meals = D("2.20"), o.lodging = D("3.30");
         o.copying = D("0.25"), o.telegrams = D("4.00");
       },
       cases::ExpenseRules,
       {{R::MileageAmount, "0.00"}, {R::Travel, "6.60"}, {R::Other, "4.25"}, {R::ExpenseTotal, "10.85"}}},
      {"miles of 0",
       [](AmountOperands& o) { o.mileageRate = D("0.485"), o.meals = D("12.00"); },
       cases::ExpenseRules,
       {{R::MileageAmount, "0.00"}, {R::Travel, "12.00"}, {R::Other, "0.00"}, {R::ExpenseTotal, "12.00"}}},
      {"all nine: the grand total adds the stored section values",
       [](AmountOperands& o) {
         o.inCourt[4] = D("0.3"), o.outCourt[0] = D("0.5"), o.hourlyRate = D("33.35");
         o.mileageRate = D("0.485"), o.miles = D("37"), o.parking = D("5.00"), o.postage = D("0.37");
       },
       cases::AllAmountRules,
       {{R::InCourtHours, "0.3"}, {R::InCourtAmount, "10.01"}, {R::OutCourtHours, "0.5"},
        {R::OutCourtAmount, "16.68"},  // 16.675
        {R::MileageAmount, "17.95"}, {R::Travel, "22.95"}, {R::Other, "0.37"}, {R::ExpenseTotal, "23.32"},
        {R::GrandTotal, "50.01"}}},
      {"column totals: travel reads the given mileage amount, not a product",
       [](AmountOperands& o) {
         o.mileageRate = D("9.999"), o.miles = D("999"), o.mileageAmount = D("35.90"), o.lodging = D("80.00");
       },
       cases::AllAmountRules & ~bit(R::MileageAmount),
       {{R::InCourtHours, "0.0"}, {R::InCourtAmount, "0.00"}, {R::OutCourtHours, "0.0"}, {R::OutCourtAmount, "0.00"},
        {R::Travel, "115.90"}, {R::Other, "0.00"}, {R::ExpenseTotal, "115.90"}, {R::GrandTotal, "115.90"}}},
      {"2.000 x 60000 miles overflows the mileage amount and all that reads it",
       [](AmountOperands& o) {
         o.mileageRate = D("2.000"), o.miles = D("60000"), o.parking = D("5.00"), o.copying = D("1.50");
       },
       cases::AllAmountRules,
       {{R::InCourtHours, "0.0"}, {R::InCourtAmount, "0.00"}, {R::OutCourtHours, "0.0"}, {R::OutCourtAmount, "0.00"},
        {R::Other, "1.50"}},
       bit(R::MileageAmount) | bit(R::Travel) | bit(R::ExpenseTotal) | bit(R::GrandTotal)},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(c.what);
    AmountOperands o;
    c.operands(o);
    Targets t;
    const cases::AmountResult result = cases::ApplyAmountRules(o, t.refs(), c.rules);
    EXPECT_EQ(result.applied, c.rules);
    EXPECT_EQ(result.overflowed, c.overflowed);
    for (int i = 0; i < cases::AmountRuleCount; ++i) {
      const auto it = c.expected.find(AmountRule(i));
      const std::string untouched = Targets::Places[i] == 1 ? "7.8" : "7.77";  // 7.77 stored with one place
      EXPECT_EQ(t.field(AmountRule(i)).decimal().toString(), it == c.expected.end() ? untouched : it->second)
          << "rule " << i;
    }
  }
}

}  // namespace
}  // namespace casetest
