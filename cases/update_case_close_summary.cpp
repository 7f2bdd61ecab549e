#include "cases/update_case_close_summary.h"

#include <string>
#include <utility>
#include <vector>

#include "app/frame/thread_state.h"
#include "cases/form_manager.h"
#include "cases/options.h"
#include "cases/select_date.h"
#include "dictionary/dictionary.h"
#include "platform/lib/window_fitter.h"
#include "platform/types/daynum.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace case_form;
using dictionary::CaseCloseSummaryField;
using platform::Color;
using platform::ControlKind;
using platform::ControlSpec;
using platform::Font;
using platform::Rect;

constexpr Color Black = 0;
constexpr Color White = platform::rgb(0xFF, 0xFF, 0xFF);
constexpr Color Grey = platform::rgb(0xC0, 0xC0, 0xC0);

const Font Large{"Arial", 16, false, false, 0};

// Every data control with the record field it shows, in Tab order, and the
// display string of the case number: the history entries of the form.
struct Shown {
  int control;
  CaseCloseSummaryField field;
};
constexpr Shown ShownFields[] = {
    {CCS_DATE, dictionary::CCS_DATE},
    {CCS_CASENUMBER, dictionary::CCS_CASENUMBER},
    {CCS_CASENAME, dictionary::CCS_CASENAME},
    {CCS_HOURLYRATE, dictionary::CCS_HOURLYRATE},
    {CCS_CASENUMBER_2, dictionary::CCS_CASENUMBER},
    {CCS_ATTORNEY, dictionary::CCS_ATTORNEY},
    {CCS_DEFENDANT, dictionary::CCS_DEFENDANT},
    {CCS_JUDGE, dictionary::CCS_JUDGE},
    {CCS_AUSA, dictionary::CCS_AUSA},
    {CCS_USPO, dictionary::CCS_USPO},
    {CCS_CHARGES, dictionary::CCS_CHARGES},
    {CCS_NUMBER, dictionary::CCS_NUMBER},
    {CCS_CODEFNUM, dictionary::CCS_CODEFNUM},
    {CCS_DISPOSITION, dictionary::CCS_DISPOSITION},
    {CCS_NOTDETAINED, dictionary::CCS_NOTDETAINED},
    {CCS_DETAINED, dictionary::CCS_DETAINED},
    {CCS_CONTESTEDDETENTIONHEARING, dictionary::CCS_CONTESTEDDETENTIONHEARING},
    {CCS_DETENTIONAPPEAL, dictionary::CCS_DETENTIONAPPEAL},
    {CCS_DISCOVERY, dictionary::CCS_DISCOVERY},
    {CCS_TAPERECORDINGNUMBER, dictionary::CCS_TAPERECORDINGNUMBER},
    {CCS_INVESTIGATOREMPLOYED, dictionary::CCS_INVESTIGATOREMPLOYED},
    {CCS_INVESTIGATIVEHOURS, dictionary::CCS_INVESTIGATIVEHOURS},
    {CCS_PARALEGALEMPLOYED, dictionary::CCS_PARALEGALEMPLOYED},
    {CCS_PARALEGALHOURS, dictionary::CCS_PARALEGALHOURS},
    {CCS_WITENESSESINTERVIEWED, dictionary::CCS_WITENESSESINTERVIEWED},
    {CCS_DISCOVERYMOTION, dictionary::CCS_DISCOVERYMOTION},
    {CCS_MOTIONTODISMISS, dictionary::CCS_MOTIONTODISMISS},
    {CCS_OTHERPRETRIALMOTION, dictionary::CCS_OTHERPRETRIALMOTION},
    {CCS_EVIDENTIARYHEARING, dictionary::CCS_EVIDENTIARYHEARING},
    {CCS_OTHERNONDM, dictionary::CCS_OTHERNONDM},
    {CCS_MOTIONSUPPRESS, dictionary::CCS_MOTIONSUPPRESS},
    {CCS_MOTIONLIMINE, dictionary::CCS_MOTIONLIMINE},
    {CCS_NUMBERTESTIFYINGWITNESSES, dictionary::CCS_NUMBERTESTIFYINGWITNESSES},
    {CCS_TRIAL, dictionary::CCS_TRIAL},
    {CCS_LENGTH, dictionary::CCS_LENGTH},
    {CCS_INFORMALOBJECTIONSFILED, dictionary::CCS_INFORMALOBJECTIONSFILED},
    {CCS_SENTENCINGMEMORANDUMFILED, dictionary::CCS_SENTENCINGMEMORANDUMFILED},
    {CCS_FORMALOBJECTIONSFILED, dictionary::CCS_FORMALOBJECTIONSFILED},
    {CCS_CONTESTEDSENTENCINGHEARING, dictionary::CCS_CONTESTEDSENTENCINGHEARING},
    {CCS_APPEALWAIVED, dictionary::CCS_APPEALWAIVED},
    {CCS_HABEASWAIVED, dictionary::CCS_HABEASWAIVED},
    {CCS_NOTICEOFAPPEALFILED, dictionary::CCS_NOTICEOFAPPEALFILED},
    {CCS_COMMENTS, dictionary::CCS_COMMENTS},
    {CCS_CERTIFICATIONFROM, dictionary::CCS_CERTIFICATIONFROM},
    {CCS_CERTIFICATIONTO, dictionary::CCS_CERTIFICATIONTO},
    {CCS_APPOINTMENTDATE2, dictionary::CCS_APPOINTMENTDATE2},
    {CCS_CASEDISPOSITION, dictionary::CCS_CASEDISPOSITION},
    {CCS_CLAIMSTATUS, dictionary::CCS_CLAIMSTATUS},
    {CCS_PAYMENTNUMBER_2, dictionary::CCS_PAYMENTNUMBER},
    {CCS_APPLY, dictionary::CCS_APPLY},
    {CCS_PAID, dictionary::CCS_PAID},
    {CCS_CONNECTION, dictionary::CCS_CONNECTION},
    {CCS_DATESIGNTAURE, dictionary::CCS_DATESIGNTAURE},
};
static_assert(std::size(ShownFields) == 53);

// View mode: entries that take no typing, and the buttons and drop lists.
const std::vector<int> ViewReadOnly = {
    CCS_CASENUMBER, CCS_CASENAME,          CCS_HOURLYRATE,     CCS_ATTORNEY,
    CCS_DEFENDANT,  CCS_JUDGE,             CCS_AUSA,           CCS_USPO,
    CCS_NUMBER,     CCS_CODEFNUM,          CCS_TAPERECORDINGNUMBER, CCS_INVESTIGATIVEHOURS,
    CCS_PARALEGALHOURS, CCS_WITENESSESINTERVIEWED, CCS_NUMBERTESTIFYINGWITNESSES, CCS_LENGTH,
    CCS_PAYMENTNUMBER_2,
};
const std::vector<int> ViewDisabled = {BUTTON4, CCS_DISCOVERY, CCS_CASEDISPOSITION, BUTTON3};

// Builds the window's controls in Tab order; labels, headings and boxes
// get numbers of their own from 100 on.
class Builder {
 public:
  explicit Builder(platform::Window& w) : w_(w) {}

  void text(int parent, Rect r, std::string caption, Font font = {}, Color colour = platform::NoColor) {
    ControlSpec s = spec(nextLabel_++, ControlKind::Prompt, parent, r);
    s.text = std::move(caption);
    s.font = std::move(font);
    s.fontColor = colour;
    w_.add(std::move(s));
  }
  void box(int parent, Rect r, Color fill) {
    ControlSpec s = spec(nextLabel_++, ControlKind::Box, parent, r);
    s.fill = fill;
    w_.add(std::move(s));
  }
  ControlSpec control(int number, ControlKind kind, int parent, Rect r, std::string caption = {}) {
    ControlSpec s = spec(number, kind, parent, r);
    s.text = std::move(caption);
    return s;
  }
  // A control bound to its record field.
  ControlSpec bound(int number, ControlKind kind, int parent, Rect r, std::string picture = {}) {
    ControlSpec s = spec(number, kind, parent, r);
    s.var = dictionary::CCS(fieldOf(number));
    s.picture = std::move(picture);
    return s;
  }
  void add(ControlSpec s) { w_.add(std::move(s)); }
  void entry(int number, int parent, Rect r, std::string picture) {
    add(bound(number, ControlKind::Entry, parent, r, std::move(picture)));
  }
  void check(int number, int parent, Rect r, std::string caption) {
    ControlSpec s = bound(number, ControlKind::Check, parent, r);
    s.text = std::move(caption);
    add(std::move(s));
  }
  void radios(int group, int parent, Rect r, const std::vector<std::string>& captions, bool across = false) {
    ControlSpec g = bound(group, ControlKind::Option, parent, r);
    g.boxed = !across;
    add(std::move(g));
    const int n = static_cast<int>(captions.size());
    for (int i = 0; i < n; ++i) {
      Rect place = across ? Rect{r.x + i * (r.width / n), r.y, r.width / n, r.height}
                          : Rect{r.x + 6, r.y + 6 + i * 10, r.width - 12, 10};
      add(control(group + 1 + i, ControlKind::Radio, group, place, captions[static_cast<std::size_t>(i)]));
    }
  }

 private:
  static CaseCloseSummaryField fieldOf(int control) {
    for (const Shown& s : ShownFields)
      if (s.control == control) return s.field;
    return dictionary::CCS_CASEDATA;
  }
  static ControlSpec spec(int number, ControlKind kind, int parent, Rect r) {
    ControlSpec s;
    s.number = number;
    s.kind = kind;
    s.parent = parent;
    s.rect = r;
    return s;
  }

  platform::Window& w_;
  int nextLabel_ = 100;
};

void caseInformation(Builder& b) {
  ControlSpec calendar = b.control(BUTTON4, ControlKind::Button, TAB_1, {30, 44, 22, 20});
  calendar.icon = "calendar.ico";
  calendar.skip = true;
  b.add(std::move(calendar));
  b.text(TAB_1, {56, 49, 30, 10}, "Date:");
  ControlSpec date = b.bound(CCS_DATE, ControlKind::Spin, TAB_1, {90, 44, 120, 20}, "D17B");
  date.font = Large;
  date.skip = true;
  b.add(std::move(date));

  b.text(TAB_1, {30, 77, 86, 10}, "&Case Number");
  ControlSpec number = b.bound(CCS_CASENUMBER, ControlKind::Entry, TAB_1, {120, 72, 160, 20}, "s20");
  number.font = Large;
  number.required = true;
  b.add(std::move(number));
  b.text(TAB_1, {284, 77, 60, 10}, " * Required");

  b.text(TAB_1, {30, 101, 86, 10}, "Case Name:");
  ControlSpec name = b.bound(CCS_CASENAME, ControlKind::Entry, TAB_1, {120, 96, 310, 20}, "s100");
  name.font = Large;
  b.add(std::move(name));

  b.text(TAB_1, {30, 125, 86, 10}, "Hourly Rate*:");
  ControlSpec rate = b.bound(CCS_HOURLYRATE, ControlKind::Entry, TAB_1, {120, 120, 120, 20}, "N$-10.2B");
  rate.font = Font{"Arial", 16, true, false, 0};
  rate.justify = platform::Justify::Right;
  rate.required = true;
  b.add(std::move(rate));
  b.text(TAB_1, {244, 125, 60, 10}, " * Required");

  b.text(TAB_1, {30, 150, 100, 10}, "CASE FILE -");
  ControlSpec logo = b.control(IMAGE1, ControlKind::Image, TAB_1, {30, 162, 400, 100}, "logoBack.jpg");
  logo.tiled = true;
  b.add(std::move(logo));
}

void summaryOne(Builder& b) {
  b.text(TAB_2, {30, 36, 110, 10}, "Case Closing Summary");
  b.text(TAB_2, {140, 36, 150, 10}, "(Confidential - Internal use only)");
  b.text(TAB_2, {300, 36, 50, 10}, "Case Number:");
  b.add(b.bound(CCS_CASENUMBER_2, ControlKind::String, TAB_2, {352, 36, 90, 10}, "s20"));

  const std::pair<int, const char*> people[] = {{CCS_ATTORNEY, "&Attorney:"}, {CCS_DEFENDANT, "Defendant:"},
                                                {CCS_JUDGE, "&Judge:"},      {CCS_AUSA, "AUSA:"},
                                                {CCS_USPO, "USPO:"}};
  int y = 50;
  for (const auto& [control, caption] : people) {
    b.text(TAB_2, {30, y + 2, 56, 10}, caption);
    b.entry(control, TAB_2, {90, y, 150, 12}, "s100");
    y += 14;
  }

  b.text(TAB_2, {250, 50, 80, 10}, "CHARGES:");
  ControlSpec charges = b.bound(CCS_CHARGES, ControlKind::Text, TAB_2, {250, 60, 190, 58});
  charges.boxed = true;
  charges.vscroll = true;
  b.add(std::move(charges));

  b.text(TAB_2, {30, 124, 66, 10}, "CO-DEFENDANTS:");
  b.text(TAB_2, {98, 124, 30, 10}, "Number:");
  b.entry(CCS_NUMBER, TAB_2, {130, 122, 60, 12}, "s20");
  b.check(CCS_CODEFNUM, TAB_2, {200, 122, 100, 12}, "No co-defendants");

  b.text(TAB_2, {30, 140, 410, 10}, "DISPOSITION (Including resolution of formal charges and any uncharged conduct)");
  ControlSpec disposition = b.bound(CCS_DISPOSITION, ControlKind::Text, TAB_2, {30, 150, 410, 60});
  disposition.vscroll = true;
  disposition.statusText = "(including charges and any uncharged conduct)";
  b.add(std::move(disposition));

  b.text(TAB_2, {30, 216, 76, 10}, "DETENTION STATUS:");
  b.check(CCS_NOTDETAINED, TAB_2, {110, 214, 80, 12}, " Not Detained");
  b.check(CCS_DETAINED, TAB_2, {200, 214, 80, 12}, " Detained");
  b.check(CCS_CONTESTEDDETENTIONHEARING, TAB_2, {110, 228, 140, 12}, "Contested Detention Hearing");
  b.check(CCS_DETENTIONAPPEAL, TAB_2, {260, 228, 100, 12}, "Detention Appeal");
}

void summaryTwo(Builder& b) {
  b.text(TAB_3, {30, 40, 56, 10}, "Discovery:");
  ControlSpec discovery = b.bound(CCS_DISCOVERY, ControlKind::DropList, TAB_3, {90, 38, 120, 12});
  discovery.choices.assign(DiscoveryChoices.begin(), DiscoveryChoices.end());
  discovery.dropLines = 8;
  b.add(std::move(discovery));
  b.text(TAB_3, {220, 40, 96, 10}, "if tape records - Number:");
  b.entry(CCS_TAPERECORDINGNUMBER, TAB_3, {320, 38, 80, 12}, "s20");

  b.text(TAB_3, {30, 56, 100, 10}, "INVESTIGATION:");
  b.check(CCS_INVESTIGATOREMPLOYED, TAB_3, {30, 68, 100, 12}, "Investigator Employed");
  b.text(TAB_3, {140, 70, 76, 10}, "Investigative Hours:");
  b.entry(CCS_INVESTIGATIVEHOURS, TAB_3, {220, 68, 40, 12}, "s7");
  b.check(CCS_PARALEGALEMPLOYED, TAB_3, {30, 82, 100, 12}, "Paralegal Employed");
  b.text(TAB_3, {140, 84, 76, 10}, "Paralegal Hours:");
  b.entry(CCS_PARALEGALHOURS, TAB_3, {220, 82, 40, 12}, "s7");
  b.text(TAB_3, {280, 70, 86, 10}, "Witnesses Interviewed:");
  b.entry(CCS_WITENESSESINTERVIEWED, TAB_3, {370, 68, 30, 12}, "s5");

  b.text(TAB_3, {30, 100, 200, 10}, "PRETRIAL MOTIONS (check if filled)");
  const std::pair<int, const char*> motions[] = {
      {CCS_DISCOVERYMOTION, "Discovery Motion"},     {CCS_MOTIONTODISMISS, "Motion to Dismiss"},
      {CCS_OTHERPRETRIALMOTION, "Other Pre-Trial Motion"}, {CCS_EVIDENTIARYHEARING, "Evidentiary Hearing"},
      {CCS_OTHERNONDM, "Other Non-Dispositive Motion"},     {CCS_MOTIONSUPPRESS, "Motion to Suppress"},
      {CCS_MOTIONLIMINE, "Motion in Limine"}};
  int i = 0;
  for (const auto& [control, caption] : motions) {
    b.check(control, TAB_3, {30 + (i % 3) * 130, 112 + (i / 3) * 14, 126, 12}, caption);
    ++i;
  }

  b.text(TAB_3, {30, 158, 100, 10}, "TRIAL");
  b.text(TAB_3, {30, 172, 116, 10}, "Number of Testifying Witnesses:");
  b.entry(CCS_NUMBERTESTIFYINGWITNESSES, TAB_3, {150, 170, 60, 12}, "s20");
  b.radios(CCS_TRIAL, TAB_3, {220, 156, 140, 42}, {"No Trial", "Jury Trial", "Court Trial"});
  b.text(TAB_3, {370, 160, 60, 10}, "Length (days):");
  b.entry(CCS_LENGTH, TAB_3, {370, 170, 50, 12}, "s10");

  b.text(TAB_3, {30, 204, 100, 10}, "SENTENCING");
  b.check(CCS_INFORMALOBJECTIONSFILED, TAB_3, {30, 216, 130, 12}, "Informal Objections Filed");
  b.check(CCS_SENTENCINGMEMORANDUMFILED, TAB_3, {170, 216, 130, 12}, "Sentencing Memorandum Filed");
  b.check(CCS_FORMALOBJECTIONSFILED, TAB_3, {30, 230, 130, 12}, "Formal Objections Filed");
  b.check(CCS_CONTESTEDSENTENCINGHEARING, TAB_3, {170, 230, 130, 12}, "Contested Sentencing Hearing");
}

void summaryThree(Builder& b) {
  b.text(TAB_4, {30, 40, 60, 10}, "APPEAL:");
  b.check(CCS_APPEALWAIVED, TAB_4, {30, 52, 100, 12}, "Appeal Waived");
  b.check(CCS_HABEASWAIVED, TAB_4, {140, 52, 100, 12}, "Habeas Waived");
  b.check(CCS_NOTICEOFAPPEALFILED, TAB_4, {250, 52, 120, 12}, "Notice of Appeal Filed");
  b.text(TAB_4, {30, 72, 60, 10}, "Comments:");
  ControlSpec comments = b.bound(CCS_COMMENTS, ControlKind::Text, TAB_4, {30, 84, 410, 120});
  comments.vscroll = true;
  b.add(std::move(comments));
}

void claimForm(Builder& b) {
  b.text(TAB5, {30, 36, 470, 10}, "CJA 20 APPOINTMENT OF AND AUTHORITY TO PAY COURT APPOINTED COUNSEL.");
  b.box(TAB5, {30, 48, 470, 14}, Black);
  b.text(TAB5, {34, 50, 460, 10}, "The totals of the claims for services and expenses will print here.", {}, White);

  b.text(TAB5, {30, 68, 300, 10}, "19. CERTIFICATION  OF ATTORNEY /PAYEE FOR THE PERIOD OF SERVICE");
  b.text(TAB5, {30, 84, 28, 10}, "FROM:");
  b.add(b.bound(CCS_CERTIFICATIONFROM, ControlKind::Spin, TAB5, {60, 82, 80, 12}, "D2B"));
  b.text(TAB5, {150, 84, 18, 10}, "TO:");
  b.add(b.bound(CCS_CERTIFICATIONTO, ControlKind::Spin, TAB5, {170, 82, 80, 12}, "D2B"));
  b.text(TAB5, {340, 68, 160, 10}, "20. APPOINTMENT TERMINATION DATE ");
  b.text(TAB5, {340, 78, 160, 10}, "IF OTHER THAN CASE COMPLETION");
  b.add(b.bound(CCS_APPOINTMENTDATE2, ControlKind::Spin, TAB5, {340, 90, 80, 12}, "D2B"));

  b.text(TAB5, {30, 104, 100, 10}, "21.CASE DISPOSITION");
  ControlSpec codes = b.bound(CCS_CASEDISPOSITION, ControlKind::DropList, TAB5, {30, 114, 60, 12});
  codes.choices.assign(DispositionCodes.begin(), DispositionCodes.end());
  codes.dropLines = 25;
  b.add(std::move(codes));
  b.add(b.control(BUTTON3, ControlKind::Button, TAB5, {100, 114, 130, 12}, "Click here to see your options"));

  b.text(TAB5, {340, 104, 100, 10}, "22.CLAIM STATUS");
  b.radios(CCS_CLAIMSTATUS, TAB5, {340, 114, 118, 42}, {"Final Payment", "Interim Payment Number", "Supplemental Payment"});
  b.entry(CCS_PAYMENTNUMBER_2, TAB5, {462, 127, 40, 12}, "s10");

  b.text(TAB5, {30, 164, 385, 10},
         "Have you previously applied to the court for compensation and/or reimbursement for this case?");
  b.radios(CCS_APPLY, TAB5, {420, 162, 80, 12}, {"YES", "NO"}, true);
  b.text(TAB5, {30, 178, 385, 10}, "If yes, were you paid?");
  b.radios(CCS_PAID, TAB5, {420, 176, 80, 12}, {"YES", "NO"}, true);
  b.text(TAB5, {30, 192, 385, 10},
         "Other than from the court, have you, or to your knowledge has anyone else, received payment (compensation");
  b.text(TAB5, {30, 202, 385, 10},
         " or anything of value) from any other source in connection with this representation?");
  b.radios(CCS_CONNECTION, TAB5, {420, 196, 80, 12}, {"YES", "NO"}, true);
  b.text(TAB5, {30, 212, 385, 10}, "if yes, give details on additional sheets.");

  b.text(TAB5, {30, 234, 300, 10}, "I swear or affirm the truth or correctness of the above statements");
  b.text(TAB5, {350, 234, 24, 10}, "Date");
  ControlSpec signature = b.bound(CCS_DATESIGNTAURE, ControlKind::Spin, TAB5, {380, 228, 100, 18}, "D02B");
  signature.font = Font{"", 16, true, false, 0};
  b.add(std::move(signature));
}

void buildWindow(platform::Window& w) {
  Builder b(w);
  b.box(0, {0, 0, 520, 14}, Black);
  b.text(0, {20, 2, 300, 10}, "Select these TABS to fill out the Case Closing Summary", {}, White);
  b.text(0, {2, 30, 12, 200}, "CASE FILE", Font{"", 0, true, false, 900});

  b.add(b.control(CURRENTTAB, ControlKind::Sheet, 0, {18, 18, 498, 258}));
  b.add(b.control(TAB_1, ControlKind::Tab, CURRENTTAB, {18, 18, 498, 258}, "Case Information"));
  caseInformation(b);
  b.add(b.control(TAB_2, ControlKind::Tab, CURRENTTAB, {18, 18, 498, 258}, "Case Closing Summary     (1)"));
  summaryOne(b);
  b.add(b.control(TAB_3, ControlKind::Tab, CURRENTTAB, {18, 18, 498, 258}, "Case Closing Summary   (2)"));
  summaryTwo(b);
  b.add(b.control(TAB_4, ControlKind::Tab, CURRENTTAB, {18, 18, 498, 258}, "Case Closing Summary   (3)"));
  summaryThree(b);
  b.add(b.control(TAB5, ControlKind::Tab, CURRENTTAB, {18, 18, 498, 258}, "CJA 20"));
  claimForm(b);

  ControlSpec ok = b.control(OK, ControlKind::Button, 0, {390, 284, 56, 18}, "&OK");
  ok.defaultButton = true;
  ok.tip = "Accept data and close the window";
  b.add(std::move(ok));
  ControlSpec cancel = b.control(CANCEL, ControlKind::Button, 0, {452, 284, 56, 18}, "&Cancel");
  cancel.tip = "Cancel operation";
  b.add(std::move(cancel));
}

class CaseForm final : public FormWindow {
 public:
  using FormWindow::FormWindow;

  int OnAccepted() override {
    const int control = event().control;
    // The calendar goes before the class library sees the event.
    if (control == BUTTON4) {
      platform::FieldRef date = dictionary::CCS(dictionary::CCS_DATE);
      if (const std::int32_t chosen = SelectDate(date.day()); chosen != platform::NoDate) date.setDay(chosen);
      window().display();
    }
    if (int level = FormWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (control == BUTTON3) {
      app::ThreadRequest() = 0;
      OPTIONS();
      Refresh();
    }
    return platform::LevelContinue;
  }
};

}  // namespace

void UpdateCaseCloseSummary() {
  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Child;
  spec.caption = "ADD/UPDATE CASE";
  spec.rect = {0, 0, 520, 308};
  spec.centred = true;
  spec.systemMenu = true;
  spec.doubleBorder = true;
  spec.background = Grey;
  spec.font = Font{"Arial", 8, false, false, 0};
  platform::Window window(spec);
  buildWindow(window);

  platform::WindowFitter resizer;
  CaseForm thisWindow(window, "UpdateCaseCloseSummary", dictionary::Access_CaseCloseSummary(),
                      dictionary::Relate_CaseCloseSummary());
  thisWindow.SetButtons(OK, CANCEL);
  for (const Shown& s : ShownFields) thisWindow.AddHistory(s.control, s.field);
  thisWindow.SetViewLock(ViewReadOnly, ViewDisabled);
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace cases
