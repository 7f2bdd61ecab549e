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
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace case_form;
using dictionary::CaseCloseSummaryField;
using namespace platform::describe;
using platform::ControlKind;
using platform::Font;
using platform::Rect;

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

// The record field a data control shows.
platform::FieldRef field(int control) {
  for (const Shown& s : ShownFields)
    if (s.control == control) return dictionary::CCS(s.field);
  return dictionary::CCS(dictionary::CCS_CASEDATA);
}

// An option group bound to its field, its radios under one another in a
// box, or side by side without one.
void radios(Description& d, int group, Rect r, const std::vector<std::string>& captions, bool across = false) {
  ControlDescription g = bound(group, ControlKind::Option, r, field(group));
  if (!across) g.boxed();
  d.add(std::move(g));
  const int n = static_cast<int>(captions.size());
  for (int i = 0; i < n; ++i) {
    Rect place = across ? Rect{r.x + i * (r.width / n), r.y, r.width / n, r.height}
                        : Rect{r.x + 6, r.y + 6 + i * 10, r.width - 12, 10};
    d.add(control(group + 1 + i, ControlKind::Radio, place, captions[static_cast<std::size_t>(i)], group));
  }
}

void caseInformation(Description& d) {
  d.within(TAB_1);
  d.add(control(BUTTON4, ControlKind::Button, {30, 44, 22, 20}).icon("calendar.ico").skip());
  d.add(prompt({56, 49, 30, 10}, "Date:"));
  d.add(bound(CCS_DATE, ControlKind::Spin, {90, 44, 120, 20}, field(CCS_DATE), "D17B").font(Large).skip());

  d.add(prompt({30, 77, 86, 10}, "&Case Number"));
  d.add(entry(CCS_CASENUMBER, {120, 72, 160, 20}, field(CCS_CASENUMBER), "s20").font(Large).required());
  d.add(prompt({284, 77, 60, 10}, " * Required"));

  d.add(prompt({30, 101, 86, 10}, "Case Name:"));
  d.add(entry(CCS_CASENAME, {120, 96, 310, 20}, field(CCS_CASENAME), "s100").font(Large));

  d.add(prompt({30, 125, 86, 10}, "Hourly Rate*:"));
  d.add(entry(CCS_HOURLYRATE, {120, 120, 120, 20}, field(CCS_HOURLYRATE), "N$-10.2B")
            .font(Font{"Arial", 16, true, false, 0})
            .justify(platform::Justify::Right)
            .required());
  d.add(prompt({244, 125, 60, 10}, " * Required"));

  d.add(prompt({30, 150, 100, 10}, "CASE FILE -"));
  d.add(image(IMAGE1, {30, 162, 400, 100}, "logoBack.jpg").tiled());
}

void summaryOne(Description& d) {
  d.within(TAB_2);
  d.add(prompt({30, 36, 110, 10}, "Case Closing Summary"));
  d.add(prompt({140, 36, 150, 10}, "(Confidential - Internal use only)"));
  d.add(prompt({300, 36, 50, 10}, "Case Number:"));
  d.add(bound(CCS_CASENUMBER_2, ControlKind::String, {352, 36, 90, 10}, field(CCS_CASENUMBER_2), "s20"));

  const std::pair<int, const char*> people[] = {{CCS_ATTORNEY, "&Attorney:"}, {CCS_DEFENDANT, "Defendant:"},
                                                {CCS_JUDGE, "&Judge:"},      {CCS_AUSA, "AUSA:"},
                                                {CCS_USPO, "USPO:"}};
  int y = 50;
  for (const auto& [control, caption] : people) {
    d.add(prompt({30, y + 2, 56, 10}, caption));
    d.add(entry(control, {90, y, 150, 12}, field(control), "s100"));
    y += 14;
  }

  d.add(prompt({250, 50, 80, 10}, "CHARGES:"));
  d.add(bound(CCS_CHARGES, ControlKind::Text, {250, 60, 190, 58}, field(CCS_CHARGES)).boxed().vscroll());

  d.add(prompt({30, 124, 66, 10}, "CO-DEFENDANTS:"));
  d.add(prompt({98, 124, 30, 10}, "Number:"));
  d.add(entry(CCS_NUMBER, {130, 122, 60, 12}, field(CCS_NUMBER), "s20"));
  d.add(check(CCS_CODEFNUM, {200, 122, 100, 12}, "No co-defendants", field(CCS_CODEFNUM)));

  d.add(prompt({30, 140, 410, 10}, "DISPOSITION (Including resolution of formal charges and any uncharged conduct)"));
  d.add(bound(CCS_DISPOSITION, ControlKind::Text, {30, 150, 410, 60}, field(CCS_DISPOSITION))
            .vscroll()
            .status("(including charges and any uncharged conduct)"));

  d.add(prompt({30, 216, 76, 10}, "DETENTION STATUS:"));
  d.add(check(CCS_NOTDETAINED, {110, 214, 80, 12}, " Not Detained", field(CCS_NOTDETAINED)));
  d.add(check(CCS_DETAINED, {200, 214, 80, 12}, " Detained", field(CCS_DETAINED)));
  d.add(check(CCS_CONTESTEDDETENTIONHEARING, {110, 228, 140, 12}, "Contested Detention Hearing",
              field(CCS_CONTESTEDDETENTIONHEARING)));
  d.add(check(CCS_DETENTIONAPPEAL, {260, 228, 100, 12}, "Detention Appeal", field(CCS_DETENTIONAPPEAL)));
}

void summaryTwo(Description& d) {
  d.within(TAB_3);
  d.add(prompt({30, 40, 56, 10}, "Discovery:"));
  d.add(bound(CCS_DISCOVERY, ControlKind::DropList, {90, 38, 120, 12}, field(CCS_DISCOVERY))
            .choices({DiscoveryChoices.begin(), DiscoveryChoices.end()}, 8));
  d.add(prompt({220, 40, 96, 10}, "if tape records - Number:"));
  d.add(entry(CCS_TAPERECORDINGNUMBER, {320, 38, 80, 12}, field(CCS_TAPERECORDINGNUMBER), "s20"));

  d.add(prompt({30, 56, 100, 10}, "INVESTIGATION:"));
  d.add(check(CCS_INVESTIGATOREMPLOYED, {30, 68, 100, 12}, "Investigator Employed", field(CCS_INVESTIGATOREMPLOYED)));
  d.add(prompt({140, 70, 76, 10}, "Investigative Hours:"));
  d.add(entry(CCS_INVESTIGATIVEHOURS, {220, 68, 40, 12}, field(CCS_INVESTIGATIVEHOURS), "s7"));
  d.add(check(CCS_PARALEGALEMPLOYED, {30, 82, 100, 12}, "Paralegal Employed", field(CCS_PARALEGALEMPLOYED)));
  d.add(prompt({140, 84, 76, 10}, "Paralegal Hours:"));
  d.add(entry(CCS_PARALEGALHOURS, {220, 82, 40, 12}, field(CCS_PARALEGALHOURS), "s7"));
  d.add(prompt({280, 70, 86, 10}, "Witnesses Interviewed:"));
  d.add(entry(CCS_WITENESSESINTERVIEWED, {370, 68, 30, 12}, field(CCS_WITENESSESINTERVIEWED), "s5"));

  d.add(prompt({30, 100, 200, 10}, "PRETRIAL MOTIONS (check if filled)"));
  const std::pair<int, const char*> motions[] = {
      {CCS_DISCOVERYMOTION, "Discovery Motion"},     {CCS_MOTIONTODISMISS, "Motion to Dismiss"},
      {CCS_OTHERPRETRIALMOTION, "Other Pre-Trial Motion"}, {CCS_EVIDENTIARYHEARING, "Evidentiary Hearing"},
      {CCS_OTHERNONDM, "Other Non-Dispositive Motion"},     {CCS_MOTIONSUPPRESS, "Motion to Suppress"},
      {CCS_MOTIONLIMINE, "Motion in Limine"}};
  int i = 0;
  for (const auto& [control, caption] : motions) {
    d.add(check(control, {30 + (i % 3) * 130, 112 + (i / 3) * 14, 126, 12}, caption, field(control)));
    ++i;
  }

  d.add(prompt({30, 158, 100, 10}, "TRIAL"));
  d.add(prompt({30, 172, 116, 10}, "Number of Testifying Witnesses:"));
  d.add(entry(CCS_NUMBERTESTIFYINGWITNESSES, {150, 170, 60, 12}, field(CCS_NUMBERTESTIFYINGWITNESSES), "s20"));
  radios(d, CCS_TRIAL, {220, 156, 140, 42}, {"No Trial", "Jury Trial", "Court Trial"});
  d.add(prompt({370, 160, 60, 10}, "Length (days):"));
  d.add(entry(CCS_LENGTH, {370, 170, 50, 12}, field(CCS_LENGTH), "s10"));

  d.add(prompt({30, 204, 100, 10}, "SENTENCING"));
  d.add(check(CCS_INFORMALOBJECTIONSFILED, {30, 216, 130, 12}, "Informal Objections Filed",
              field(CCS_INFORMALOBJECTIONSFILED)));
  d.add(check(CCS_SENTENCINGMEMORANDUMFILED, {170, 216, 130, 12}, "Sentencing Memorandum Filed",
              field(CCS_SENTENCINGMEMORANDUMFILED)));
  d.add(check(CCS_FORMALOBJECTIONSFILED, {30, 230, 130, 12}, "Formal Objections Filed",
              field(CCS_FORMALOBJECTIONSFILED)));
  d.add(check(CCS_CONTESTEDSENTENCINGHEARING, {170, 230, 130, 12}, "Contested Sentencing Hearing",
              field(CCS_CONTESTEDSENTENCINGHEARING)));
}

void summaryThree(Description& d) {
  d.within(TAB_4);
  d.add(prompt({30, 40, 60, 10}, "APPEAL:"));
  d.add(check(CCS_APPEALWAIVED, {30, 52, 100, 12}, "Appeal Waived", field(CCS_APPEALWAIVED)));
  d.add(check(CCS_HABEASWAIVED, {140, 52, 100, 12}, "Habeas Waived", field(CCS_HABEASWAIVED)));
  d.add(check(CCS_NOTICEOFAPPEALFILED, {250, 52, 120, 12}, "Notice of Appeal Filed", field(CCS_NOTICEOFAPPEALFILED)));
  d.add(prompt({30, 72, 60, 10}, "Comments:"));
  d.add(bound(CCS_COMMENTS, ControlKind::Text, {30, 84, 410, 120}, field(CCS_COMMENTS)).vscroll());
}

void claimForm(Description& d) {
  d.within(TAB5);
  d.add(prompt({30, 36, 470, 10}, "CJA 20 APPOINTMENT OF AND AUTHORITY TO PAY COURT APPOINTED COUNSEL."));
  d.add(box({30, 48, 470, 14}, Black));
  d.add(prompt({34, 50, 460, 10}, "The totals of the claims for services and expenses will print here.").colour(White));

  d.add(prompt({30, 68, 300, 10}, "19. CERTIFICATION  OF ATTORNEY /PAYEE FOR THE PERIOD OF SERVICE"));
  d.add(prompt({30, 84, 28, 10}, "FROM:"));
  d.add(bound(CCS_CERTIFICATIONFROM, ControlKind::Spin, {60, 82, 80, 12}, field(CCS_CERTIFICATIONFROM), "D2B"));
  d.add(prompt({150, 84, 18, 10}, "TO:"));
  d.add(bound(CCS_CERTIFICATIONTO, ControlKind::Spin, {170, 82, 80, 12}, field(CCS_CERTIFICATIONTO), "D2B"));
  d.add(prompt({340, 68, 160, 10}, "20. APPOINTMENT TERMINATION DATE "));
  d.add(prompt({340, 78, 160, 10}, "IF OTHER THAN CASE COMPLETION"));
  d.add(bound(CCS_APPOINTMENTDATE2, ControlKind::Spin, {340, 90, 80, 12}, field(CCS_APPOINTMENTDATE2), "D2B"));

  d.add(prompt({30, 104, 100, 10}, "21.CASE DISPOSITION"));
  d.add(bound(CCS_CASEDISPOSITION, ControlKind::DropList, {30, 114, 60, 12}, field(CCS_CASEDISPOSITION))
            .choices({DispositionCodes.begin(), DispositionCodes.end()}, 25));
  d.add(control(BUTTON3, ControlKind::Button, {100, 114, 130, 12}, "Click here to see your options"));

  d.add(prompt({340, 104, 100, 10}, "22.CLAIM STATUS"));
  radios(d, CCS_CLAIMSTATUS, {340, 114, 118, 42}, {"Final Payment", "Interim Payment Number", "Supplemental Payment"});
  d.add(entry(CCS_PAYMENTNUMBER_2, {462, 127, 40, 12}, field(CCS_PAYMENTNUMBER_2), "s10"));

  d.add(prompt({30, 164, 385, 10},
               "Have you previously applied to the court for compensation and/or reimbursement for this case?"));
  radios(d, CCS_APPLY, {420, 162, 80, 12}, {"YES", "NO"}, true);
  d.add(prompt({30, 178, 385, 10}, "If yes, were you paid?"));
  radios(d, CCS_PAID, {420, 176, 80, 12}, {"YES", "NO"}, true);
  d.add(prompt({30, 192, 385, 10},
               "Other than from the court, have you, or to your knowledge has anyone else, received payment (compensation"));
  d.add(prompt({30, 202, 385, 10},
               " or anything of value) from any other source in connection with this representation?"));
  radios(d, CCS_CONNECTION, {420, 196, 80, 12}, {"YES", "NO"}, true);
  d.add(prompt({30, 212, 385, 10}, "if yes, give details on additional sheets."));

  d.add(prompt({30, 234, 300, 10}, "I swear or affirm the truth or correctness of the above statements"));
  d.add(prompt({350, 234, 24, 10}, "Date"));
  d.add(bound(CCS_DATESIGNTAURE, ControlKind::Spin, {380, 228, 100, 18}, field(CCS_DATESIGNTAURE), "D02B")
            .font(Font{"", 16, true, false, 0}));
}

// The window's controls in Tab order; labels, headings and boxes get
// numbers of their own from 100 on.
void buildWindow(platform::Window& w) {
  Description d(w, 100);
  d.add(box({0, 0, 520, 14}, Black));
  d.add(prompt({20, 2, 300, 10}, "Select these TABS to fill out the Case Closing Summary").colour(White));
  d.add(prompt({2, 30, 12, 200}, "CASE FILE").font(Font{"", 0, true, false, 900}));

  constexpr Rect Sheet{18, 18, 498, 258};
  d.add(control(CURRENTTAB, ControlKind::Sheet, Sheet));
  d.add(control(TAB_1, ControlKind::Tab, Sheet, "Case Information", CURRENTTAB));
  caseInformation(d);
  d.add(control(TAB_2, ControlKind::Tab, Sheet, "Case Closing Summary     (1)", CURRENTTAB));
  summaryOne(d);
  d.add(control(TAB_3, ControlKind::Tab, Sheet, "Case Closing Summary   (2)", CURRENTTAB));
  summaryTwo(d);
  d.add(control(TAB_4, ControlKind::Tab, Sheet, "Case Closing Summary   (3)", CURRENTTAB));
  summaryThree(d);
  d.add(control(TAB5, ControlKind::Tab, Sheet, "CJA 20", CURRENTTAB));
  claimForm(d);

  d.within(0);
  d.add(button(OK, {390, 284, 56, 18}, "&OK", "Accept data and close the window").isDefault());
  d.add(button(CANCEL, {452, 284, 56, 18}, "&Cancel", "Cancel operation"));
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
  platform::WindowSpec spec = childWindow("ADD/UPDATE CASE", {0, 0, 520, 308});
  spec.doubleBorder = true;
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
