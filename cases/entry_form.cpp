#include "cases/entry_form.h"

#include <algorithm>

#include "cases/select_date.h"
#include "dictionary/dictionary.h"
#include "platform/types/daynum.h"
#include "platform/types/decimal.h"
#include "platform/ui/control.h"
#include "platform/ui/message_port.h"

namespace cases {

namespace {

std::string withoutColon(std::string prompt) {
  while (!prompt.empty() && (prompt.back() == ':' || prompt.back() == ' ')) prompt.pop_back();
  return prompt;
}

platform::FieldRef targetOf(const AmountTargets& t, AmountRule r) {
  switch (r) {
    case AmountRule::InCourtHours: return t.inCourtHours;
    case AmountRule::InCourtAmount: return t.inCourtAmount;
    case AmountRule::OutCourtHours: return t.outCourtHours;
    case AmountRule::OutCourtAmount: return t.outCourtAmount;
    case AmountRule::MileageAmount: return t.mileageAmount;
    case AmountRule::Travel: return t.travel;
    case AmountRule::Other: return t.other;
    case AmountRule::ExpenseTotal: return t.expenseTotal;
    case AmountRule::GrandTotal: return t.grandTotal;
  }
  return t.grandTotal;
}

}  // namespace

EntryForm::EntryForm(platform::Window& window, const EntrySection& section)
    : FormWindow(window, section.procedureName, dictionary::Access_HOURLY(), dictionary::Relate_HOURLY()),
      section_(section),
      cases_(dictionary::Relate_CaseCloseSummary()),
      rates_(dictionary::Relate_RateMilage()) {
  hourlyRate().clear();
}

platform::FieldRef EntryForm::hourlyRate() {
  return platform::FieldRef(platform::FieldType::Decimal, rate_.data(), static_cast<std::uint32_t>(rate_.size()), 11,
                            2);
}

int EntryForm::SetupMembers() {
  if (int level = OpenFiles(cases_); level != platform::LevelContinue) return level;
  if (int level = OpenFiles(rates_); level != platform::LevelContinue) return level;
  if (int level = FormWindow::SetupMembers(); level != platform::LevelContinue) return level;
  platform::FieldRef rate = hourlyRate();
  dictionary::EntryAccess().LookUpEntryCase(
      [&rate] { rate.setDecimal(dictionary::CCS(dictionary::CCS_HOURLYRATE).decimal()); });
  return platform::LevelContinue;
}

int EntryForm::OnAccepted() {
  if (int level = FormWindow::OnAccepted(); level != platform::LevelContinue) return level;
  if (event().control == section_.calendarButton) {
    platform::FieldRef date = dictionary::HOU(section_.date);
    if (const std::int32_t chosen = SelectDate(date.day()); chosen != platform::NoDate) date.setDay(chosen);
    window().display();
    CalendarDone();
  }
  return platform::LevelContinue;
}

int EntryForm::AfterControlEvent() {
  EntryTotals();
  return FormWindow::AfterControlEvent();
}

void EntryForm::EntryTotals() {
  totals_ = ApplyAmountRules(EntryOperands(hourlyRate().decimal()), EntryTargets(), section_.rules);
  // A result that was not stored shows '#'; a display that showed '#' shows
  // its field again once its result is stored, whether or not the stored
  // bytes changed.
  for (const EntryResult& r : section_.results) {
    platform::Control* shown = window().find(r.control);
    if (!shown) continue;
    const auto was = std::find(hashed_.begin(), hashed_.end(), r.control);
    if (totals_.overflow(r.rule)) {
      const platform::Picture* picture = shown->picture();
      shown->setText(std::string(static_cast<std::size_t>(picture ? picture->width : 1), '#'));
      if (was == hashed_.end()) hashed_.push_back(r.control);
    } else if (was != hashed_.end()) {
      hashed_.erase(was);
      window().display(r.control);
    }
  }
}

bool EntryForm::ReadyToSave() {
  const AmountTargets targets = EntryTargets();
  for (const EntryResult& r : section_.results) {
    if (!totals_.overflow(r.rule)) continue;
    const platform::FieldRef field = targetOf(targets, r.rule);
    platform::message(platform::overflowMessage(withoutColon(r.prompt), field.digits(), field.places()),
                      "Invalid Entry", platform::MsgIcon::Exclamation, platform::BtnOk);
    return false;
  }
  return true;
}

}  // namespace cases
