#include "reports/case_close_summary_report.h"

#include <string>
#include <utility>
#include <vector>

#include "dictionary/dictionary.h"
#include "platform/report/text_metrics.h"
#include "reports/report_shape.h"

namespace reports {

namespace {

using namespace dictionary;
namespace pr = platform::report;
using platform::Rect;

// The portrait page, thousandths of an inch.
constexpr int Left = 250, Top = 250;
constexpr int Width = 8000;
constexpr int HeaderHeight = 500;
constexpr int BodyTop = Top + HeaderHeight;
constexpr int FooterTop = 10500;  // its bottom on the bottom margin
constexpr int FooterHeight = 250;

// Rows of the detail band.
constexpr int Pitch = 240;       // a row of values
constexpr int CheckPitch = 200;  // a row of check boxes
constexpr int LabelHeight = 200;
constexpr int Gap = 40;  // between two groups of rows

// The long texts: lines their boxes hold. A line holds some 70 of the
// widest characters, so each box holds its field whole, with room for the
// breaks between words.
constexpr int ChargesLines = 5;      // 250 characters
constexpr int DispositionLines = 9;  // 500
constexpr int CommentsLines = 5;     // 255
constexpr int TextLine = 130;        // one line of the body face

constexpr platform::Color BoxBorder = platform::rgb(0x80, 0x80, 0x80);
constexpr platform::Color BoxFill = platform::rgb(0xE8, 0xE8, 0xE8);

// The detail band, laid out row by row from the top.
class Form {
 public:
  explicit Form(pr::Band& band) : band_(band) {}

  // A label in capitals: bold.
  void label(int x, int y, int width, std::string text) {
    band_.Add(pr::Text("?STRING" + std::to_string(++labels_), {x, y, width, LabelHeight}, std::move(text)).Bold());
  }
  void text(int x, int y, int width, std::string text) {
    band_.Add(pr::Text("?STRING" + std::to_string(++labels_), {x, y, width, LabelHeight}, std::move(text)));
  }
  // A single-line value on its small rounded grey box.
  void value(int x, int y, int width, const platform::FieldRef& field, const std::string& name,
             const std::string& picture) {
    band_.Add(pr::Box("?BOX:" + name, {x, y - 20, width, 230}).Rounded().Fill(BoxFill).Colour(BoxBorder));
    band_.Add(pr::Field("?" + name, {x + 40, y + 15, width - 80, 180}, field, picture));
  }
  void check(int x, int y, int width, const platform::FieldRef& field, const std::string& name, std::string text) {
    band_.Add(pr::CheckBox("?" + name, {x, y, width, 180}, std::move(text), field));
  }
  // The frame of an option group across the page, its caption in bold
  // capitals on its top edge (the radios in the plain face).
  void frame(int y, int height, std::string caption) {
    const pr::ReportFont bold{"Arial", 8, true};
    const int width = static_cast<int>(pr::TextMetrics::shared().width(bold, caption)) + 80;
    band_.Add(pr::Box("?GROUPBOX:" + caption, {0, y + 70, Width, height - 70}));
    band_.Add(pr::Text("?GROUPCAPTION:" + caption, {60, y, width, LabelHeight}, caption)
                  .Font(bold)
                  .Fill(pr::White));
  }
  // A long text in a box across the page that holds `lines` lines.
  int longText(int y, const platform::FieldRef& field, const std::string& name, int lines) {
    const int height = lines * TextLine + 60;
    band_.Add(pr::Box("?BOX:" + name, {0, y, Width, height}).Rounded().Fill(BoxFill).Colour(BoxBorder));
    band_.Add(pr::Field("?" + name, {50, y + 30, Width - 100, height - 60}, field).MultiLine());
    return y + height;
  }

 private:
  pr::Band& band_;
  int labels_ = 0;
};

class Summary final : public ReportProcedure {
 public:
  explicit Summary(const std::string& caseNumber)
      : ReportProcedure({.procedure = "ReportCaseCloseSummaryByCCS:KeyCaseNumber",
                         .caption = "Report CaseCloseSummary",
                         .title = "CaseCloseSummary Report",
                         .file = CaseCloseSummaryFile,
                         .key = CCS_KeyCaseNumber,
                         .range = caseNumber,
                         .stopWhenBlank = true,
                         .zoom = pr::Zoom::PageWidth,
                         .steps = {}}) {}

 protected:
  ReportSpec Describe() override;

 private:
  platform::FieldRef v(CaseCloseSummaryField f) { return View(f); }
  static std::string nameOf(CaseCloseSummaryField f) { return CaseCloseSummaryLayout().field(f).name; }
};

ReportSpec Summary::Describe() {
  using namespace pr;
  ReportSpec s;
  s.orientation = Orientation::Portrait;
  s.font = {"Arial", 8};

  Band header{"?HEADER", {Left, Top, Width, HeaderHeight}, {}};
  header.Add(Text("?REPORTTITLE", {0, 0, Width, 300}, "CASE CLOSING SUMMARY").Font({"Arial", 14, true}).Center());
  header.Add(Text("?REPORTTITLE:2", {0, 300, Width, 200}, "(Confidential - Internal Use Only)")
                 .Font({"Arial", 9})
                 .Center());
  s.header = header;
  s.body = {Left, BodyTop, Width, FooterTop - BodyTop};

  Band detail = BodyBand("?DETAIL", FooterTop - BodyTop);
  Form f(detail);
  auto value = [&](int x, int y, int width, CaseCloseSummaryField field, const char* picture) {
    f.value(x, y, width, v(field), nameOf(field), picture);
  };
  auto check = [&](int x, int y, int width, CaseCloseSummaryField field, const char* text) {
    f.check(x, y, width, v(field), nameOf(field), text);
  };
  // Two columns of labelled values.
  constexpr int LabelL = 0, ValueL = 1100, WidthL = 2850, LabelR = 4150, ValueR = 4950, WidthR = Width - ValueR;
  int y = 20;
  f.label(LabelL, y, 1050, "ATTORNEY:");
  value(ValueL, y, WidthL, CCS_ATTORNEY, "s100");
  f.label(LabelR, y, 750, "JUDGE:");
  value(ValueR, y, WidthR, CCS_JUDGE, "s100");
  y += Pitch;
  f.label(LabelL, y, 1050, "CASE NO:");
  value(ValueL, y, WidthL, CCS_CASENUMBER, "s20");
  f.label(LabelR, y, 750, "AUSA:");
  value(ValueR, y, WidthR, CCS_AUSA, "s100");
  y += Pitch;
  f.label(LabelL, y, 1050, "DEFENDANT:");
  value(ValueL, y, WidthL, CCS_DEFENDANT, "s100");
  f.label(LabelR, y, 750, "USPO:");
  value(ValueR, y, WidthR, CCS_USPO, "s100");
  y += Pitch + Gap;

  f.label(0, y, 2000, "CHARGES:");
  y = f.longText(y + LabelHeight, v(CCS_CHARGES), nameOf(CCS_CHARGES), ChargesLines) + Gap + 20;

  f.label(0, y, 1500, "CO-DEFENDANT:");
  f.text(1550, y, 650, "Number");
  value(2250, y, 1700, CCS_NUMBER, "s20");
  check(4150, y, 2500, CCS_CODEFNUM, "No co-defendants");
  y += Pitch + Gap;

  f.label(0, y, Width, "DISPOSITION: (Including resolution of formal charges and any uncharged conduct)");
  y = f.longText(y + LabelHeight, v(CCS_DISPOSITION), nameOf(CCS_DISPOSITION), DispositionLines) + Gap;

  f.label(0, y, 2500, "DETENTION STATUS:");
  y += LabelHeight;
  check(200, y, 1700, CCS_NOTDETAINED, "Not Detained");
  check(2000, y, 1700, CCS_DETAINED, "Detained");
  check(3800, y, 2400, CCS_CONTESTEDDETENTIONHEARING, "Contested Detention Hearing");
  check(6300, y, 1700, CCS_DETENTIONAPPEAL, "Detention   Appeal");
  y += CheckPitch + Gap;

  // DISCOVERY: three columns of radios, the hidden one last, and the
  // number of tape recordings under them.
  {
    const int top = y, columns[] = {200, 2800, 5400};
    auto at = [&](int row, int column) { return Rect{columns[column], top + 230 + row * CheckPitch, 2500, 180}; };
    const std::string name = nameOf(CCS_DISCOVERY);
    std::vector<Radio> radios = {
        {"?" + name + ":RADIO1", at(0, 0), "Under 100 Pages", {}, false},
        {"?" + name + ":RADIO2", at(0, 1), "100-300 Pages", {}, false},
        {"?" + name + ":RADIO3", at(0, 2), "300-500 Pages", {}, false},
        {"?" + name + ":RADIO4", at(1, 0), "500-1000 Pages", {}, false},
        {"?" + name + ":RADIO5", at(1, 1), "1.000-5.000 Pages", {}, false},
        {"?" + name + ":RADIO6", at(1, 2), "5.000-10.000 Pages", {}, false},
        {"?" + name + ":RADIO7", at(2, 0), "Over 10.000 Pages", {}, false},
        {"?" + name + ":RADIO8", at(2, 1), "Tape Recordings", {}, true},
    };
    const int tapes = top + 230 + 3 * CheckPitch + 20;
    const int height = tapes + Pitch - top;
    f.frame(top, height, "DISCOVERY");
    detail.Add(Option("?" + name, {0, top, Width, height}, "DISCOVERY", v(CCS_DISCOVERY), std::move(radios)).Unboxed());
    f.text(columns[0], tapes, 2000, "Tape recordings (number)");
    value(2250, tapes, 1700, CCS_TAPERECORDINGNUMBER, "s20");
    y = top + height + Gap;
  }

  f.label(0, y, 2500, "INVESTIGATION:");
  y += LabelHeight + 20;
  check(200, y, 2300, CCS_INVESTIGATOREMPLOYED, "Investigator Employed");
  f.text(2600, y, 1600, "Investigative Hours:");
  value(4250, y, 1200, CCS_INVESTIGATIVEHOURS, "s7");
  y += Pitch;
  check(200, y, 2300, CCS_PARALEGALEMPLOYED, "Paralegal Employed");
  f.text(2600, y, 1600, "Paralegal Hours:");
  value(4250, y, 1200, CCS_PARALEGALHOURS, "s7");
  y += Pitch;
  f.text(200, y, 2000, "Witnesses Interviewed:");
  value(2250, y, 1000, CCS_WITENESSESINTERVIEWED, "s5");
  y += Pitch + Gap - 20;

  // TRIAL: the radios by value, and the length in the same box.
  {
    const int top = y, row = top + 230;
    const std::string name = nameOf(CCS_TRIAL);
    std::vector<Radio> radios = {
        {"?" + name + ":RADIO1", {200, row, 1500, 180}, "No Trial", 1, false},
        {"?" + name + ":RADIO2", {1800, row, 1500, 180}, "Jury Trial", 2, false},
        {"?" + name + ":RADIO3", {3400, row, 1500, 180}, "Court Trial", 3, false},
    };
    const int height = row + Pitch - top;
    f.frame(top, height, "TRIAL");
    detail.Add(Option("?" + name, {0, top, Width, height}, "TRIAL", v(CCS_TRIAL), std::move(radios)).Unboxed());
    f.text(5000, row, 1100, "Length (days):");
    value(6150, row, 1500, CCS_LENGTH, "s10");
    y = top + height + Gap;
  }

  f.label(0, y, 2500, "PRETRIAL MOTIONS:");
  y += LabelHeight + 10;
  check(200, y, 3800, CCS_DISCOVERYMOTION, "Discovery Motion");
  check(4150, y, 3800, CCS_OTHERNONDM, "Other Non-Dispositive Motion");
  y += CheckPitch;
  check(200, y, 3800, CCS_MOTIONTODISMISS, "Motion to Dismiss");
  check(4150, y, 3800, CCS_MOTIONSUPPRESS, "Motion to Suppress");
  y += CheckPitch;
  check(200, y, 3800, CCS_OTHERPRETRIALMOTION, "Other Pre-Trial Motion");
  check(4150, y, 3800, CCS_MOTIONLIMINE, "Motion in Limine");
  y += CheckPitch + 20;
  check(200, y, 3800, CCS_EVIDENTIARYHEARING, "Evidentiary Hearing");
  f.text(4150, y, 2400, "Number of Testifying Witnesses:");
  value(6550, y, 1450, CCS_NUMBERTESTIFYINGWITNESSES, "s20");
  y += Pitch + Gap - 20;

  f.label(0, y, 2500, "SENTENCING:");
  y += LabelHeight + 10;
  check(200, y, 3800, CCS_INFORMALOBJECTIONSFILED, "Informal Objections Filed");
  check(4150, y, 3800, CCS_SENTENCINGMEMORANDUMFILED, "Sentencing Memorandum Filed");
  y += CheckPitch;
  check(200, y, 3800, CCS_FORMALOBJECTIONSFILED, "Formal Objections Filed");
  check(4150, y, 3800, CCS_CONTESTEDSENTENCINGHEARING, "Contested Sentencing Hearing");
  y += CheckPitch + Gap;

  f.label(0, y, 2500, "APPEALS:");
  y += LabelHeight + 10;
  check(200, y, 2500, CCS_APPEALWAIVED, "Appeal Waived");
  check(2800, y, 2500, CCS_HABEASWAIVED, "Habeas Waived");
  check(5400, y, 2500, CCS_NOTICEOFAPPEALFILED, "Notice of Appeal Filed");
  y += CheckPitch + Gap;

  f.label(0, y, 2500, "COMMENTS:");
  f.longText(y + LabelHeight, v(CCS_COMMENTS), nameOf(CCS_COMMENTS), CommentsLines);
  s.details.push_back(detail);

  Band footer{"?FOOTER", {Left, FooterTop, Width, FooterHeight}, {}};
  footer.Add(Text("?REPORTDATEPROMPT", {0, 25, 500, 200}, "Date:"));
  footer.Add(Text("?REPORTDATESTAMP", {550, 25, 1500, 200}, "<-- Date Stamp -->"));
  footer.Add(Text("?REPORTTIMEPROMPT", {2200, 25, 500, 200}, "Time:"));
  footer.Add(Text("?REPORTTIMESTAMP", {2750, 25, 1500, 200}, "<-- Time Stamp -->"));
  footer.Add(PageNumber("?PAGECOUNT", {Width - 1000, 25, 1000, 200}, "pPage <<#p").Right());
  s.footer = footer;

  Band form{"?FORM", {Margin, Margin, LetterShort - 2 * Margin, LetterLong - 2 * Margin}, {}};
  form.Add(Image("?FORMIMAGE", {0, 0, LetterShort - 2 * Margin, LetterLong - 2 * Margin}));
  s.form = form;
  return s;
}

}  // namespace

void ReportCaseCloseSummaryByCCS_KeyCaseNumber(const std::string& caseNumber) { Summary(caseNumber).Run(); }

}  // namespace reports
