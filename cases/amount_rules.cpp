#include "cases/amount_rules.h"

#include "dictionary/dictionary.h"

namespace cases {

namespace {

using platform::Decimal;
using platform::FieldRef;

template <std::size_t N>
Decimal sum(const std::array<Decimal, N>& values) {
  Decimal total;
  for (const Decimal& v : values) total = total + v;
  return total;
}

class Run {
 public:
  Run(const AmountTargets& targets, AmountRules rules) : targets_(targets), rules_(rules) {}

  bool applies(AmountRule r) const { return (rules_ & rule(r)) != 0; }

  // Stores a rule's result, unless one of the results it read overflowed.
  void store(AmountRule r, const Decimal& value, bool readOverflow) {
    result_.applied |= rule(r);
    FieldRef field = target(r);
    if (readOverflow || field.setDecimal(value) == platform::StoreStatus::Overflow) result_.overflowed |= rule(r);
  }
  // The stored result of a rule, and whether it overflowed in this run.
  Decimal stored(AmountRule r) const { return target(r).decimal(); }
  bool overflowed(AmountRule r) const { return result_.overflow(r); }

  const AmountResult& result() const { return result_; }

 private:
  const FieldRef& target(AmountRule r) const {
    switch (r) {
      case AmountRule::InCourtHours: return targets_.inCourtHours;
      case AmountRule::InCourtAmount: return targets_.inCourtAmount;
      case AmountRule::OutCourtHours: return targets_.outCourtHours;
      case AmountRule::OutCourtAmount: return targets_.outCourtAmount;
      case AmountRule::MileageAmount: return targets_.mileageAmount;
      case AmountRule::Travel: return targets_.travel;
      case AmountRule::Other: return targets_.other;
      case AmountRule::ExpenseTotal: return targets_.expenseTotal;
      case AmountRule::GrandTotal: return targets_.grandTotal;
    }
    return targets_.grandTotal;
  }

  const AmountTargets& targets_;
  AmountRules rules_;
  AmountResult result_;
};

}  // namespace

AmountResult ApplyAmountRules(const AmountOperands& o, const AmountTargets& targets, AmountRules rules) {
  using R = AmountRule;
  Run run(targets, rules);
  if (run.applies(R::InCourtHours)) run.store(R::InCourtHours, sum(o.inCourt), false);
  if (run.applies(R::InCourtAmount))
    run.store(R::InCourtAmount, run.stored(R::InCourtHours) * o.hourlyRate, run.overflowed(R::InCourtHours));
  if (run.applies(R::OutCourtHours)) run.store(R::OutCourtHours, sum(o.outCourt), false);
  if (run.applies(R::OutCourtAmount))
    run.store(R::OutCourtAmount, run.stored(R::OutCourtHours) * o.hourlyRate, run.overflowed(R::OutCourtHours));
  if (run.applies(R::MileageAmount)) run.store(R::MileageAmount, o.mileageRate * o.miles, false);
  if (run.applies(R::Travel)) {
    const bool priced = run.applies(R::MileageAmount);
    const Decimal mileage = priced ? run.stored(R::MileageAmount) : o.mileageAmount;
    run.store(R::Travel, o.parking + o.meals + o.lodging + mileage, priced && run.overflowed(R::MileageAmount));
  }
  if (run.applies(R::Other)) run.store(R::Other, o.copying + o.postage + o.tollCalls + o.telegrams + o.other, false);
  if (run.applies(R::ExpenseTotal))
    run.store(R::ExpenseTotal, run.stored(R::Travel) + run.stored(R::Other),
              run.overflowed(R::Travel) || run.overflowed(R::Other));
  if (run.applies(R::GrandTotal))
    run.store(R::GrandTotal,
              run.stored(R::ExpenseTotal) + run.stored(R::InCourtAmount) + run.stored(R::OutCourtAmount),
              run.overflowed(R::ExpenseTotal) || run.overflowed(R::InCourtAmount) ||
                  run.overflowed(R::OutCourtAmount));
  return run.result();
}

AmountOperands EntryOperands(const Decimal& hourlyRate, std::uint8_t* record) {
  using namespace dictionary;
  const platform::RecordLayout& layout = HOURLYLayout();
  auto v = [&](HOURLYField f) { return FieldRef::of(layout.field(f), record).decimal(); };
  AmountOperands o;
  o.inCourt = {v(HOU_ARRAIGNMENTPLEA), v(HOU_MOTIONSREQUESTS), v(HOU_BAILHEARINGS), v(HOU_SENTENCEHEARINGS),
               v(HOU_TRIAL),           v(HOU_REVOCATIONHEARINGS), v(HOU_APPEALSCOURT), v(HOU_OTHERIN)};
  o.outCourt = {v(HOU_INTERVIEWSCONFERENCES), v(HOU_REVIEWRECORDS), v(HOU_LEGALRESEARCH), v(HOU_TRAVELTIME),
                v(HOU_INVESTIGATION)};
  o.hourlyRate = hourlyRate;
  o.mileageRate = v(HOU_MILAGERATE);
  o.miles = v(HOU_MILEAGE);
  o.mileageAmount = v(HOU_TOTALMILAGE);
  o.parking = v(HOU_PARKING);
  o.meals = v(HOU_MEALS);
  o.lodging = v(HOU_LODGING);
  o.copying = v(HOU_COPYING);
  o.postage = v(HOU_POSTAGE);
  o.tollCalls = v(HOU_TOLLCALLS);
  o.telegrams = v(HOU_TELEGRAMS);
  o.other = v(HOU_OTHER);
  return o;
}

AmountTargets EntryTargets(std::uint8_t* record) {
  using namespace dictionary;
  const platform::RecordLayout& layout = HOURLYLayout();
  auto f = [&](HOURLYField field) { return FieldRef::of(layout.field(field), record); };
  return {f(HOU_IN_TOTALHOURS),     f(HOU_TOTALSECTION_INCOURT), f(HOU_OUT_TOTALHOURS),
          f(HOU_TOTALSECTION_OUTCOURT), f(HOU_TOTALMILAGE),      f(HOU_TOTALSECTIONTRAVEL),
          f(HOU_TOTALSECTIONOTHER), f(HOU_TOTALSECTION),         f(HOU_GRANDTOTAL)};
}

AmountOperands EntryOperands(const Decimal& hourlyRate) {
  return EntryOperands(hourlyRate, dictionary::HOURLY().record());
}

AmountTargets EntryTargets() { return EntryTargets(dictionary::HOURLY().record()); }

}  // namespace cases
