#include "cases/update_other.h"

#include <vector>

#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/entry_form.h"
#include "cases/select_rate_milage.h"
#include "dictionary/dictionary.h"
#include "platform/lib/messages.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace other_expenses;
using namespace platform::describe;
using dictionary::HOU;
using dictionary::HOURLYField;
using platform::ControlKind;
using platform::Font;

constexpr platform::Color LightBand = platform::rgb(0xE3, 0xE3, 0xE3);
constexpr platform::Color DarkBand = platform::rgb(0xD0, 0xD0, 0xD0);
constexpr int Width = 440;

const EntrySection& section() {
  static const EntrySection s{"UpdateOTHER",
                              ExpenseRules,
                              dictionary::HOU_DATE3,
                              BUTTON3,
                              {{AmountRule::MileageAmount, HOU_TOTALMILAGE, "Total Mileage:"},
                               {AmountRule::Travel, HOU_TOTALSECTIONTRAVEL, "Total Section Travel:"},
                               {AmountRule::Other, HOU_TOTALSECTIONOTHER, "Total Section Other:"},
                               {AmountRule::ExpenseTotal, HOU_TOTALSECTION, "Total Amount Billed:"}}};
  return s;
}

// Every data control and display with the record field it shows: the
// history entries of the form.
struct Shown {
  int control;
  HOURLYField field;
};
constexpr Shown ShownFields[] = {
    {HOU_DATE3, dictionary::HOU_DATE3},
    {HOU_BRIEFDESCRIPTIONSERVICES3, dictionary::HOU_BRIEFDESCRIPTIONSERVICES3},
    {HOU_MILAGERATE, dictionary::HOU_MILAGERATE},
    {HOU_MILEAGE, dictionary::HOU_MILEAGE},
    {HOU_PARKING, dictionary::HOU_PARKING},
    {HOU_MEALS, dictionary::HOU_MEALS},
    {HOU_LODGING, dictionary::HOU_LODGING},
    {HOU_COPYING, dictionary::HOU_COPYING},
    {HOU_POSTAGE, dictionary::HOU_POSTAGE},
    {HOU_OTHER, dictionary::HOU_OTHER},
    {HOU_TOLLCALLS, dictionary::HOU_TOLLCALLS},
    {HOU_TELEGRAMS, dictionary::HOU_TELEGRAMS},
    {HOU_TOTALMILAGE, dictionary::HOU_TOTALMILAGE},
    {HOU_TOTALSECTIONTRAVEL, dictionary::HOU_TOTALSECTIONTRAVEL},
    {HOU_TOTALSECTIONOTHER, dictionary::HOU_TOTALSECTIONOTHER},
    {HOU_TOTALSECTION, dictionary::HOU_TOTALSECTION},
    {HOU_CASENUMBER, dictionary::HOU_CASENUMBER},
};
static_assert(std::size(ShownFields) == 17);

// View mode (the form's callers never ask for it): every entry read-only.
const std::vector<int> ViewReadOnly = {HOU_BRIEFDESCRIPTIONSERVICES3, HOU_MILAGERATE, HOU_MILEAGE, HOU_PARKING,
                                       HOU_MEALS,  HOU_LODGING,      HOU_COPYING,  HOU_POSTAGE,
                                       HOU_OTHER,  HOU_TOLLCALLS,    HOU_TELEGRAMS};

// The window "OTHER EXPENSES" in Tab order; the prompts and bands are
// numbered from 100 on.
void describe(platform::Window& w, platform::FieldRef hourlyRate) {
  Description d(w, 100);
  // An amount with its prompt; the entry `indent` to the right of the prompt.
  auto money = [&](int control, HOURLYField field, const char* caption, int x, int y, int indent = 46) {
    d.add(prompt({x, y + 2, indent - 2, 10}, caption));
    d.add(entry(control, {x + indent, y, 56, 12}, HOU(field), "N$-10.2B").justify(platform::Justify::Right));
  };

  d.add(prompt({8, 22, 24, 10}, "&Date:"));
  d.add(bound(HOU_DATE3, ControlKind::Spin, {34, 20, 80, 14}, HOU(dictionary::HOU_DATE3), "d02b")
            .justify(platform::Justify::Right));
  d.add(control(BUTTON3, ControlKind::Button, {118, 18, 20, 18}).icon("calendar.ico"));
  d.add(prompt({8, 42, 200, 10}, "Brief Description of Services:"));
  d.add(bound(HOU_BRIEFDESCRIPTIONSERVICES3, ControlKind::Text, {8, 52, Width - 16, 48},
              HOU(dictionary::HOU_BRIEFDESCRIPTIONSERVICES3))
            .boxed()
            .vscroll()
            .required());

  d.add(prompt({8, 110, 58, 10}, "Mileage Rate:"));
  d.add(entry(HOU_MILAGERATE, {68, 108, 60, 12}, HOU(dictionary::HOU_MILAGERATE), "n-10.3B")
            .justify(platform::Justify::Right));
  d.add(prompt({8, 126, 58, 10}, "Mileage:"));
  d.add(entry(HOU_MILEAGE, {68, 124, 60, 12}, HOU(dictionary::HOU_MILEAGE), "N-10.B")
            .justify(platform::Justify::Right));
  money(HOU_PARKING, dictionary::HOU_PARKING, "Parking:", 8, 146, 60);
  money(HOU_MEALS, dictionary::HOU_MEALS, "Meals:", 8, 162, 60);
  money(HOU_LODGING, dictionary::HOU_LODGING, "Lodging:", 8, 178, 60);
  // The other expenses in two columns, the left one first.
  money(HOU_COPYING, dictionary::HOU_COPYING, "Copying:", 216, 110);
  money(HOU_POSTAGE, dictionary::HOU_POSTAGE, "Postage:", 216, 126);
  money(HOU_OTHER, dictionary::HOU_OTHER, "Other:", 216, 142);
  money(HOU_TOLLCALLS, dictionary::HOU_TOLLCALLS, "Toll Calls:", 326, 110);
  money(HOU_TELEGRAMS, dictionary::HOU_TELEGRAMS, "Telegrams:", 326, 126);
  d.add(button(OK, {316, 232, 56, 16}, "&OK", "Accept data and close the window").isDefault());
  d.add(button(CANCEL, {380, 232, 56, 16}, "&Cancel", "Cancel operation"));

  // The mileage amount beside the rate and the miles; a zero amount shows.
  d.add(prompt({136, 110, 70, 10}, "Total Mileage:"));
  d.add(bound(HOU_TOTALMILAGE, ControlKind::String, {136, 122, 70, 14}, HOU(dictionary::HOU_TOTALMILAGE), "n-10.2")
            .bold());
  d.add(box({4, 194, 206, 30}, LightBand));
  d.add(prompt({8, 197, 120, 10}, "Total Section Travel:").transparent());
  d.add(bound(HOU_TOTALSECTIONTRAVEL, ControlKind::String, {8, 208, 198, 14},
              HOU(dictionary::HOU_TOTALSECTIONTRAVEL), "N$-17.2B")
            .bold()
            .transparent());
  d.add(box({216, 158, 220, 30}, LightBand));
  d.add(prompt({220, 161, 120, 10}, "Total Section Other:").transparent());
  d.add(bound(HOU_TOTALSECTIONOTHER, ControlKind::String, {220, 172, 212, 14}, HOU(dictionary::HOU_TOTALSECTIONOTHER),
              "N$-17.2B")
            .bold()
            .transparent());
  d.add(box({216, 194, 220, 30}, DarkBand));
  d.add(prompt({220, 197, 120, 10}, "Total Amount Billed:").transparent());
  d.add(bound(HOU_TOTALSECTION, ControlKind::String, {220, 208, 212, 14}, HOU(dictionary::HOU_TOTALSECTION),
              "N$-17.2B")
            .bold()
            .transparent());

  d.add(box({0, 0, Width, 14}, Black));
  const Font band{"Arial", 9, true};
  d.add(prompt({4, 3, 56, 10}, "&Case Number:").font(band).colour(White).transparent());
  d.add(display(HOU_CASENUMBER, {62, 3, Width - 66, 10}, HOU(dictionary::HOU_CASENUMBER), "s100")
            .font(band)
            .colour(White));
  d.add(prompt({296, 20, 52, 12}, "Hourly Rate:"));
  d.add(bound(CCS_HOURLYRATE, ControlKind::String, {350, 18, 86, 16}, hourlyRate, "N$-10.2B")
            .font({"Arial", 14, true}));
}

class ExpenseForm final : public EntryForm {
 public:
  using EntryForm::EntryForm;

  // The picker of the rate lookup.
  int CallProcedure(int, std::uint8_t request) override {
    return CallUpdateForm(REQUEST, SelectRateMilage, request);
  }

  int OnAccepted() override {
    if (int level = EntryForm::OnAccepted(); level != platform::LevelContinue) return level;
    if (event().control == HOU_MILAGERATE) return RateLookup();
    return platform::LevelContinue;
  }

 protected:
  void CalendarDone() override {
    app::G_CASENUMBER().setText(dictionary::CCS(dictionary::CCS_CASENUMBER).text());
  }

 private:
  int RateLookup() {
    platform::FieldRef rate = HOU(dictionary::HOU_MILAGERATE);
    if (!rate.decimal().isZero()) {
      platform::FileManager& rates = dictionary::Access_RateMilage();
      dictionary::RTM(dictionary::RTM_MILAGERATE).setDecimal(rate.decimal());
      const int found = rates.TryFetch(dictionary::RTM_KeyMilageRate);
      if (found == platform::LevelNotify) {
        if (CallProcedure(1, app::RequestSelect) != app::ResponseCompleted) return backToTheRate();
        rate.setDecimal(dictionary::RTM(dictionary::RTM_MILAGERATE).decimal());
      } else if (found != platform::LevelBenign) {
        rates.raise(platform::Msg::RetrievalError, rates.lastError());
        return backToTheRate();
      }
    }
    window().display();
    return platform::LevelContinue;
  }

  int backToTheRate() {
    SelectControl(HOU_MILAGERATE);
    return platform::LevelSkip;
  }
};

}  // namespace

void UpdateOTHER() {
  platform::WindowSpec spec = childWindow("OTHER EXPENSES", {0, 0, Width, 256});
  spec.icon = "docs black.ico";
  platform::Window window(spec);

  platform::WindowFitter resizer;
  ExpenseForm thisWindow(window, section());
  describe(window, thisWindow.hourlyRate());
  thisWindow.SetButtons(OK, CANCEL);
  for (const Shown& s : ShownFields) thisWindow.AddHistory(s.control, s.field);
  thisWindow.SetViewLock(ViewReadOnly, {BUTTON3});
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace cases
