#pragma once
// The entry forms' family: the time-entry forms UpdateiNCOURT and
// UpdateOUTofCOURT (update_time_entry.h) and the expense form UpdateOTHER
// (update_other.h). Each edits one entry of HOURLY on the thread's record
// buffer, with the form shape of form_manager.h, and keeps the totals of
// its section up to date while the user types. What the family shares:
//
//   - The price. An entry is priced at the hourly rate of the case its own
//     HOU:CASENUMBER names, looked up when the form opens as the entry's
//     field check looks it up; the thread's case buffer and position stay
//     as they were. With no such case the rate is 0, and the field check
//     refuses the save ("Field contents error"). "Hourly Rate:" shows this
//     rate.
//   - EntryTotals. After every event of one of the form's controls whose
//     own handling went on (a focus, an accepted entry, a field Ctrl+H
//     restored, a new selection ...), the section's amount rules run on the
//     entry; events of the window itself (opening, resizing, closing) do
//     not run them. So an entry opened for change is repriced from its
//     first control event on (the focus entering the first control), OK
//     saves the repriced amounts, and Cancel asks "Changes will be lost!"
//     when repricing changed them. The rules read no file.
//   - Results too large for their field. Such a result is not stored; its
//     display, and every display computed from it, shows its picture's row
//     of '#'. OK refuses the entry after the required-entry check, with the
//     notice "Invalid Entry" naming the first such field by its prompt and
//     its range; the form stays open with everything typed.
//   - The calendar button: SelectDate on the entry's date, which takes a
//     chosen date (a cancelled calendar leaves it); the window is
//     redisplayed either way.
//   - History (Ctrl+H) on every data control and display; a display never
//     takes the focus, so Ctrl+H reaches only what the user can type.
//   - View mode: the member's entries read-only, the calendar button
//     disabled; the totals are recomputed on screen and nothing is saved.
//   - The entry's case number is shown, never entered; HOU:CASENAME is not
//     set.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cases/amount_rules.h"
#include "cases/browse_manager.h"
#include "cases/form_manager.h"
#include "dictionary/fields.h"
#include "platform/types/field.h"
#include "platform/ui/window.h"

namespace cases {

// A result of the section's rules and the display that shows it; `prompt`
// is the display's prompt, which names the field in the overflow notice
// (without its colon).
struct EntryResult {
  AmountRule rule;
  int control;
  const char* prompt;
};

// What one member of the family is.
struct EntrySection {
  const char* procedureName;
  AmountRules rules;
  dictionary::HOURLYField date;  // the calendar button's date
  int calendarButton;
  std::vector<EntryResult> results;  // in rule order
};

class EntryForm : public FormWindow {
 public:
  EntryForm(platform::Window& window, const EntrySection& section);

  // The hourly rate the entry is priced at, DECIMAL(11,2): the variable of
  // "Hourly Rate:".
  platform::FieldRef hourlyRate();
  // What the last EntryTotals gave.
  const AmountResult& totals() const { return totals_; }

  int OnAccepted() override;
  int AfterControlEvent() override;

 protected:
  int SetupMembers() override;
  bool ReadyToSave() override;
  // After the calendar button's redisplay.
  virtual void CalendarDone() {}

 private:
  void EntryTotals();

  const EntrySection& section_;
  RelationOpener cases_, rates_;
  std::array<std::uint8_t, 6> rate_{};  // DECIMAL(11,2)
  AmountResult totals_;
  std::vector<int> hashed_;  // the displays that show '#'
};

}  // namespace cases
