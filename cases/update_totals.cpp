#include <vector>

#include "app/frame/procedure_window.h"
#include "cases/form_manager.h"
#include "cases/totals_windows.h"
#include "dictionary/dictionary.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace totals_form;
using namespace platform::describe;
using dictionary::TOTALSField;
using platform::ControlKind;
using platform::Rect;

// A field's control: an entry the user types into, or a display.
struct Shown {
  int control;
  TOTALSField field;
  const char* prompt;
  bool typed;
  const char* tip = "";
};

struct Tab {
  int tab;
  const char* caption;
  std::vector<Shown> fields;
};

const std::vector<Tab>& tabs() {
  constexpr const char* OtherTip = "Total Amount for other expenses";
  static const std::vector<Tab> t = {
      {TAB_1,
       "&1) General",
       {
           {TOT_CASENUMBER, dictionary::TOT_CASENUMBER, "&Case Number", true},
           {TOT_A, dictionary::TOT_A, "Arraignment and/or Plea", false},
           {TOT_B, dictionary::TOT_B, "Bail and Detention Hearings", false},
           {TOT_C, dictionary::TOT_C, "Motion Hearings", false},
           {TOT_D, dictionary::TOT_D, "Trial", false},
           {TOT_E, dictionary::TOT_E, "Sentencing Hearings", false},
           {TOT_F, dictionary::TOT_F, "Revocation Hearings", false},
           {TOT_G, dictionary::TOT_G, "Appeals Court", false},
           {TOT_H, dictionary::TOT_H, "Other", false},
           {TOT_TOTAL_IN, dictionary::TOT_TOTAL_IN, "Total Hours Worked In Court", false},
       }},
      {TAB_2,
       "&2) General (cont.)",
       {
           {TOT_TOTAL_IN_AMOUNT, dictionary::TOT_TOTAL_IN_AMOUNT, "Total Hours Worked In Court", false},
           {TOT_I, dictionary::TOT_I, "Interviews and Conferences", false},
           {TOT_J, dictionary::TOT_J, "Obtaining and reviewing records", false},
           {TOT_K, dictionary::TOT_K, "Legal Research", false},
           {TOT_L, dictionary::TOT_L, "Travel Time", false},
           {TOT_M, dictionary::TOT_M, "Investigative and Other Work", false},
           {TOT_TOTAL_OUT, dictionary::TOT_TOTAL_OUT, "Total hours worked Out of Court", false},
           {TOT_TOTAL_OUT_AMOUNT, dictionary::TOT_TOTAL_OUT_AMOUNT, "Total hours worked Out of Court", false},
           {TOT_N, dictionary::TOT_N, "Milage", true},
           {TOT_O, dictionary::TOT_O, "Parking", true},
       }},
      {TAB_3,
       "&3) General (cont. 2)",
       {
           {TOT_P1, dictionary::TOT_P1, "Meals", true},
           {TOT_P, dictionary::TOT_P, "Lodging", true},
           {TOT_Q, dictionary::TOT_Q, "Copying", true},
           {TOT_R, dictionary::TOT_R, "Postage", true},
           {TOT_S, dictionary::TOT_S, "TollCals", true},
           {TOT_T, dictionary::TOT_T, "Telegrams", true},
           {TOT_U, dictionary::TOT_U, "Other", true},
           {TOT_TOTAL_OTHER_TRAVEL, dictionary::TOT_TOTAL_OTHER_TRAVEL, "Other", true, OtherTip},
           {TOT_TOTAL_OTHER_OTHER, dictionary::TOT_TOTAL_OTHER_OTHER, "Other", true, OtherTip},
           {TOT_TOTAL_OTHER, dictionary::TOT_TOTAL_OTHER, "Other", true, OtherTip},
       }},
  };
  return t;
}

constexpr Rect Sheet{4, 4, 292, 190};

// The window in Tab order: the sheet, each tab with its prompts and fields,
// then the buttons.
void describe(platform::Window& w) {
  Description d(w, 100);
  d.add(control(CURRENTTAB, ControlKind::Sheet, Sheet));
  for (const Tab& t : tabs()) {
    d.add(control(t.tab, ControlKind::Tab, Sheet, t.caption, CURRENTTAB));
    d.within(t.tab);
    int y = 24;
    for (const Shown& s : t.fields) {
      d.add(prompt({12, y + 2, 132, 10}, s.prompt));
      const Rect place{150, y, 80, 12};
      if (s.field == dictionary::TOT_CASENUMBER) {
        d.add(entry(s.control, {150, y, 100, 12}, dictionary::TOT(s.field), "s20").required());
      } else if (s.typed) {
        ControlDescription e = entry(s.control, place, dictionary::TOT(s.field), "N$-10.2B");
        if (*s.tip) e.tip(s.tip);
        d.add(std::move(e));
      } else {
        d.add(bound(s.control, ControlKind::String, place, dictionary::TOT(s.field), "N-7.1B")
                  .justify(platform::Justify::Left));
      }
      y += 16;
    }
  }
  d.within(0);
  d.add(button(OK, {128, 200, 52, 16}, "&OK", "Accept data and close the window").isDefault());
  d.add(button(CANCEL, {186, 200, 52, 16}, "&Cancel", "Cancel operation"));
  d.add(button(HELP, {244, 200, 52, 16}, "&Help"));
}

}  // namespace

void UpdateTOTALS() {
  platform::WindowSpec spec = childWindow("Form TOTALS", {0, 0, 300, 222});
  spec.resizable = true;
  platform::Window window(spec);
  describe(window);

  platform::WindowFitter resizer;
  FormWindow thisWindow(window, "UpdateTOTALS", dictionary::Access_TOTALS(), dictionary::Relate_TOTALS(),
                        TOT_CASENUMBER);
  thisWindow.SetButtons(OK, CANCEL);
  // Every field control keeps its history; view mode locks the entries.
  std::vector<int> typed;
  for (const Tab& t : tabs())
    for (const Shown& s : t.fields) {
      thisWindow.AddHistory(s.control, s.field);
      if (s.typed) typed.push_back(s.control);
    }
  thisWindow.SetViewLock(typed, {});
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace cases
