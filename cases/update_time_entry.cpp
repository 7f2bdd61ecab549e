#include "cases/update_time_entry.h"

#include <vector>

#include "app/frame/procedure_window.h"
#include "cases/entry_form.h"
#include "dictionary/dictionary.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace platform::describe;
using dictionary::HOU;
using dictionary::HOURLYField;
using platform::ControlKind;
using platform::Font;
using platform::Rect;

constexpr platform::Color LightBand = platform::rgb(0xE3, 0xE3, 0xE3);
constexpr platform::Color DarkBand = platform::rgb(0xD0, 0xD0, 0xD0);

// A control of the form with the record field it shows.
struct Shown {
  int control;
  HOURLYField field;
  const char* prompt;
};

// What tells the two forms apart.
struct TimeSection {
  EntrySection entry;
  std::vector<Shown> hours;  // the categories, in Tab order
  Shown total, amount;
  int date, calendar, description, ok, cancel, caseNumber, hourlyRate;
  bool calendarLast;  // in Tab order
  int height;         // of the window
};

const TimeSection& inCourt() {
  using namespace in_court;
  static const TimeSection s{
      {"UpdateiNCOURT",
       InCourtRules,
       dictionary::HOU_DATE,
       BUTTON3,
       {{AmountRule::InCourtHours, HOU_IN_TOTALHOURS, "Total Hours:"},
        {AmountRule::InCourtAmount, HOU_TOTALSECTION_INCOURT, "Total Amount Billed:"}}},
      {{HOU_ARRAIGNMENTPLEA, dictionary::HOU_ARRAIGNMENTPLEA, "Arraignment and/or Plea"},
       {HOU_MOTIONSREQUESTS, dictionary::HOU_MOTIONSREQUESTS, "Motions and Requests"},
       {HOU_BAILHEARINGS, dictionary::HOU_BAILHEARINGS, "Bail Hearings"},
       {HOU_SENTENCEHEARINGS, dictionary::HOU_SENTENCEHEARINGS, "Sentence Hearings"},
       {HOU_TRIAL, dictionary::HOU_TRIAL, "Trial"},
       {HOU_REVOCATIONHEARINGS, dictionary::HOU_REVOCATIONHEARINGS, "Revocation Hearings"},
       {HOU_APPEALSCOURT, dictionary::HOU_APPEALSCOURT, "Appeals Court"},
       {HOU_OTHERIN, dictionary::HOU_OTHERIN, "Other"}},
      {HOU_IN_TOTALHOURS, dictionary::HOU_IN_TOTALHOURS, "Total Hours:"},
      {HOU_TOTALSECTION_INCOURT, dictionary::HOU_TOTALSECTION_INCOURT, "Total Amount Billed:"},
      HOU_DATE,
      BUTTON3,
      HOU_BRIEFDESCRIPTIONSERVICES,
      OK,
      CANCEL,
      HOU_CASENUMBER,
      CCS_HOURLYRATE,
      false,
      268,
  };
  return s;
}

const TimeSection& outOfCourt() {
  using namespace out_of_court;
  static const TimeSection s{
      {"UpdateOUTofCOURT",
       OutCourtRules,
       dictionary::HOU_DATE,
       BUTTON3,
       {{AmountRule::OutCourtHours, HOU_OUT_TOTALHOURS, "Out-of-Court Total Hours"},
        {AmountRule::OutCourtAmount, HOU_TOTALSECTION_OUTCOURT, "Total Section Out Court:"}}},
      {{HOU_INTERVIEWSCONFERENCES, dictionary::HOU_INTERVIEWSCONFERENCES, "Interviews Conferences:"},
       {HOU_REVIEWRECORDS, dictionary::HOU_REVIEWRECORDS, "Review Records:"},
       {HOU_LEGALRESEARCH, dictionary::HOU_LEGALRESEARCH, "Legal Research:"},
       {HOU_TRAVELTIME, dictionary::HOU_TRAVELTIME, "Travel Time:"},
       {HOU_INVESTIGATION, dictionary::HOU_INVESTIGATION, "Investigation/Other Work:"}},
      {HOU_OUT_TOTALHOURS, dictionary::HOU_OUT_TOTALHOURS, "Out-of-Court Total Hours"},
      {HOU_TOTALSECTION_OUTCOURT, dictionary::HOU_TOTALSECTION_OUTCOURT, "Total Section Out Court:"},
      HOU_DATE,
      BUTTON3,
      HOU_BRIEFDESCRIPTIONSERVICES,
      OK,
      CANCEL,
      HOU_CASENUMBER,
      CCS_HOURLYRATE,
      true,
      220,
  };
  return s;
}

constexpr int Width = 340;

// The window "HOURLY Worksheet" in Tab order; the prompts and bands are
// numbered from 100 on.
void describe(platform::Window& w, const TimeSection& s, platform::FieldRef hourlyRate) {
  Description d(w, 100);
  auto calendar = [&] {
    d.add(control(s.calendar, ControlKind::Button, {118, 18, 20, 18}).icon("calendar.ico"));
  };

  d.add(prompt({8, 22, 24, 10}, "&Date:"));
  d.add(bound(s.date, ControlKind::Spin, {34, 20, 80, 14}, HOU(dictionary::HOU_DATE), "D02B")
            .justify(platform::Justify::Right));
  if (!s.calendarLast) calendar();
  d.add(prompt({8, 42, 200, 10}, "Brief Description of Services:"));
  d.add(bound(s.description, ControlKind::Text, {8, 52, 324, 48}, HOU(dictionary::HOU_BRIEFDESCRIPTIONSERVICES))
            .boxed()
            .vscroll()
            .required());

  int y = 108;
  for (const Shown& h : s.hours) {
    d.add(prompt({8, y + 2, 110, 10}, h.prompt));
    d.add(entry(h.control, {120, y, 50, 12}, HOU(h.field), "N-7.1B").justify(platform::Justify::Right));
    y += 16;
  }
  const int buttons = y + 8;
  d.add(button(s.ok, {216, buttons, 56, 16}, "&OK", "Accept data and close the window").isDefault());
  d.add(button(s.cancel, {280, buttons, 56, 16}, "&Cancel", "Cancel operation"));
  if (s.calendarLast) calendar();

  d.add(box({196, 108, 140, 34}, LightBand));
  d.add(prompt({200, 111, 132, 10}, s.total.prompt).transparent());
  d.add(bound(s.total.control, ControlKind::String, {200, 124, 132, 14}, HOU(s.total.field), "N-7.1B")
            .bold()
            .transparent());
  d.add(box({196, 148, 140, 34}, DarkBand));
  d.add(prompt({200, 151, 132, 10}, s.amount.prompt).transparent());
  d.add(bound(s.amount.control, ControlKind::String, {200, 164, 132, 14}, HOU(s.amount.field), "N$-17.2B")
            .bold()
            .transparent());

  d.add(box({0, 0, Width, 14}, Black));
  const Font band{"Arial", 9, true};
  d.add(prompt({4, 3, 56, 10}, "&Case Number:").font(band).colour(White).transparent());
  d.add(display(s.caseNumber, {62, 3, Width - 66, 10}, HOU(dictionary::HOU_CASENUMBER), "s100")
            .font(band)
            .colour(White));
  d.add(prompt({196, 20, 52, 12}, "Hourly Rate:"));
  d.add(bound(s.hourlyRate, ControlKind::String, {250, 18, 86, 16}, hourlyRate, "N$-10.2B")
            .font({"Arial", 14, true}));
}

void run(const TimeSection& s) {
  platform::WindowSpec spec = childWindow("HOURLY Worksheet", {0, 0, Width, s.height});
  spec.icon = "docs black.ico";
  platform::Window window(spec);

  platform::WindowFitter resizer;
  EntryForm thisWindow(window, s.entry);
  describe(window, s, thisWindow.hourlyRate());
  thisWindow.SetButtons(s.ok, s.cancel);
  // History: the date, the description, every hour, both totals and the
  // case number.
  thisWindow.AddHistory(s.date, dictionary::HOU_DATE);
  thisWindow.AddHistory(s.description, dictionary::HOU_BRIEFDESCRIPTIONSERVICES);
  std::vector<int> readOnly = {s.description};
  for (const Shown& h : s.hours) {
    thisWindow.AddHistory(h.control, h.field);
    readOnly.push_back(h.control);
  }
  thisWindow.AddHistory(s.total.control, s.total.field);
  thisWindow.AddHistory(s.amount.control, s.amount.field);
  thisWindow.AddHistory(s.caseNumber, dictionary::HOU_CASENUMBER);
  thisWindow.SetViewLock(readOnly, {s.calendar});
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace

void UpdateiNCOURT() { run(inCourt()); }

void UpdateOUTofCOURT() { run(outOfCourt()); }

}  // namespace cases
