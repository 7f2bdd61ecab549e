#include "reports/list_reports.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/dictionary.h"
#include "platform/lib/step_managers.h"
#include "reports/report_shape.h"

namespace reports {

namespace {

using namespace dictionary;
namespace pr = platform::report;

// --- the four layouts ---------------------------------------------------------

// How a column shows its field.
enum class Show : std::uint8_t {
  Left,     // one line from the left
  Right,    // one line to the right rule
  Decimal,  // one line, on the decimal point
  Lines,    // a multi-line text without picture, cut at the line
  Nothing,  // a heading without a field: empty on every line
};

struct Column {
  const char* heading;
  int field;  // 0: none
  const char* picture;
  Show show = Show::Left;
};

// clang-format off
const std::vector<Column> CaseColumns = {
    {"Date", CCS_DATE, "D17B"},
    {"Case Number", CCS_CASENUMBER, "s20"},
    {"Case Name", CCS_CASENAME, "s100"},
    {"Hourly Rate", CCS_HOURLYRATE, "N$-10.2B", Show::Right},
    {"Attorney", CCS_ATTORNEY, "s100"},
    {"Judge", CCS_JUDGE, "s100"},
    {"AUSA", CCS_AUSA, "s100"},
    {"Defendant", CCS_DEFENDANT, "s100"},
    {"USPO", CCS_USPO, "s100"},
    {"Charges", CCS_CHARGES, "", Show::Lines},
    {"Co-Defendants", 0, "", Show::Nothing},
    {"Disposition", CCS_DISPOSITION, "", Show::Lines},
    {"Detention Status", CCS_DETENTIONSTATUS, "n3"},
    {"Discovery", CCS_DISCOVERY, "n10"},
    {"Number", CCS_TAPERECORDINGNUMBER, "s20"},
    {"Investigation", CCS_INVESTIGATION, "n3"},
    {"Pretrail Motions", CCS_PRETRIALMOTIONS, "s20"},
    {"Number", CCS_WITENESSESINTERVIEWED, "s5"},
    {"SENTENCING", CCS_SENTENCING, "n3"},
    {"TRIAL", CCS_TRIAL, "n3"},
    {"days", CCS_DAYS, "N-7.B", Show::Decimal},
    {"APPEAL", CCS_APPEAL, "n3"},
    {"Comments", CCS_COMMENTS, "", Show::Lines},
    {"Certification From", CCS_CERTIFICATIONFROM, "D2B"},
    {"Certification To", CCS_CERTIFICATIONTO, "D2B"},
    {"Appointment Date", CCS_APPOINTMENTDATE2, "D2B"},
    {"Case Disposition", CCS_CASEDISPOSITION, "s4"},
    {"Claim Status", CCS_CLAIMSTATUS, "s20"},
    {"Payment Number", CCS_PAYMENTNUMBER, "s10"},
    {"apply", CCS_APPLY, "s3"},
    {"If yes, were you paid?", CCS_PAID, "s3"},
    {"connection", CCS_CONNECTION, "s3"},
    {"Date", CCS_DATESIGNTAURE, "D02B"},
};

const std::vector<Column> EntryColumns = {
    {"Case Number", HOU_CASENUMBER, "s100"},
    {"Date", HOU_DATE, "d06b", Show::Right},
    {"Brief Description Services", HOU_BRIEFDESCRIPTIONSERVICES, "s50"},
    {"Arraignment and/or Plea:", HOU_ARRAIGNMENTPLEA, "N-7.1B"},
    {"Motions and Requests:", HOU_MOTIONSREQUESTS, "N-7.1B"},
    {"Bail Hearings", HOU_BAILHEARINGS, "N-7.1B"},
    {"Sentence Hearings", HOU_SENTENCEHEARINGS, "N-7.1B"},
    {"Trial", HOU_TRIAL, "N-7.1B"},
    {"Revocation Hearings", HOU_REVOCATIONHEARINGS, "N-7.1B"},
    {"Appeals Court", HOU_APPEALSCOURT, "N-7.1B"},
    {"Other", HOU_OTHERIN, "N-7.1B"},
    {"In_TotalHours", HOU_IN_TOTALHOURS, "N-7.1B"},
    {"Total Section In Court", HOU_TOTALSECTION_INCOURT, "N$-17.2B"},
    {"Interviews Conferences", HOU_INTERVIEWSCONFERENCES, "N-7.1B"},
    {"Review Records", HOU_REVIEWRECORDS, "N-7.1B"},
    {"Legal Research", HOU_LEGALRESEARCH, "N-7.1B"},
    {"Travel Time", HOU_TRAVELTIME, "N-7.1B"},
    {"Investigation & Other Work", HOU_INVESTIGATION, "N-7.1B"},
    {"Out-of-Court Total Hours", HOU_OUT_TOTALHOURS, "N-7.1B"},
    {"Total Section Out Court", HOU_TOTALSECTION_OUTCOURT, "N$-17.2B"},
    {"Milage Rate", HOU_MILAGERATE, "n-10.3"},
    {"Mileage", HOU_MILEAGE, "N-10.B"},
    {"Total Milage", HOU_TOTALMILAGE, "n-10.2"},
    {"Parking", HOU_PARKING, "N$-10.2B"},
    {"Meals", HOU_MEALS, "N$-10.2B"},
    {"Lodging", HOU_LODGING, "N$-10.2B"},
    {"Copying", HOU_COPYING, "N$-10.2B"},
    {"Postage", HOU_POSTAGE, "N$-10.2B"},
    {"Toll Calls", HOU_TOLLCALLS, "N$-10.2B"},
    {"Telegrams", HOU_TELEGRAMS, "N$-10.2B"},
    {"Other", HOU_OTHER, "N$-10.2B"},
    {"Total Section Travel", HOU_TOTALSECTIONTRAVEL, "N$-17.2B"},
    {"Total Section Other", HOU_TOTALSECTIONOTHER, "N$-17.2B"},
    {"Total Section", HOU_TOTALSECTION, "N$-17.2B"},
};

const std::vector<Column> RateColumns = {
    {"Date Milage Rate", RTM_DATEMILAGERATE, "D17B", Show::Right},
    {"Milage Rate", RTM_MILAGERATE, "n6.3", Show::Decimal},
};

const std::vector<Column> TotalsColumns = {
    {"Case Number", TOT_CASENUMBER, "s20"},
    {"Arraignment and/or Plea", TOT_A, "N-7.1B"},
    {"Bail and Detention Hearings", TOT_B, "N-7.1B"},
    {"Motion Hearings", TOT_C, "N-7.1B"},
    {"Trial", TOT_D, "N-7.1B"},
    {"Sentencing Hearings", TOT_E, "N-7.1B"},
    {"Revocation Hearings", TOT_F, "N-7.1B"},
    {"Appeals Court", TOT_G, "N-7.1B"},
    {"Other", TOT_H, "N-7.1B"},
    {"Total Hours Worked In Court", TOT_TOTAL_IN, "N-7.1B"},
    {"Total Hours Worked In Court", TOT_TOTAL_IN_AMOUNT, "N-7.1B"},
    {"Interviews and Conferences", TOT_I, "N-7.1B"},
    {"Obtaining and reviewing records", TOT_J, "N-7.1B"},
    {"Legal Research", TOT_K, "N-7.1B"},
    {"Travel Time", TOT_L, "N-7.1B"},
    {"Investigative and Other Work", TOT_M, "N-7.1B"},
    {"Total hours worked Out of Court", TOT_TOTAL_OUT, "N-7.1B"},
    {"Total hours worked Out of Court", TOT_TOTAL_OUT_AMOUNT, "N-7.1B"},
    {"Milage", TOT_N, "N$-10.2B"},
    {"Parking", TOT_O, "N$-10.2B"},
    {"Meals", TOT_P1, "N$-10.2B"},
    {"Lodging", TOT_P, "N$-10.2B"},
    {"Copying", TOT_Q, "N$-10.2B"},
    {"Postage", TOT_R, "N$-10.2B"},
    {"TollCals", TOT_S, "N$-10.2B"},
    {"Telegrams", TOT_T, "N$-10.2B"},
    {"Other", TOT_U, "N$-10.2B"},
    {"Other", TOT_TOTAL_OTHER_TRAVEL, "N$-10.2B"},
    {"Other", TOT_TOTAL_OTHER_OTHER, "N$-10.2B"},
    {"Other", TOT_TOTAL_OTHER, "N$-10.2B"},
};
// clang-format on

// --- the page -------------------------------------------------------------------

constexpr int Left = 250, Top = 250;
constexpr int Width = 8000;        // the header, the lines and the footer
constexpr int HeaderHeight = 600;  // title and page number, then the heading row
constexpr int HeadingTop = 350;    // the heading row within the header
constexpr int LineHeight = 250;    // the heading row and every line
constexpr int BodyTop = 850;
constexpr int BodyHeight = 9650;
constexpr int FooterTop = 10500;  // stands on the bottom margin: 8000 on the landscape sheet
constexpr int Indent = 50;        // from a column's left rule to its text

// The k-th of n column rules from the left.
int ruleAt(int k, int n) { return Width * k / n; }

// What one list report is.
struct ListReport {
  const char* procedure;  // its name
  FileIndex file;
  int key;
  bool numberKey;         // a number or date key: its progress by value
  const char* caption;    // the progress window's title
  const char* heading;    // ?REPORTTITLE
  const char* title;      // the report's title, the print job's name
  const std::vector<Column>* columns;
};

class ListProcedure final : public ReportProcedure {
 public:
  explicit ListProcedure(const ListReport& list) : ReportProcedure(settingsOf(list)), list_(list) {}

 protected:
  ReportSpec Describe() override {
    using namespace pr;
    const std::vector<Column>& columns = *list_.columns;
    const int n = static_cast<int>(columns.size());
    const platform::RecordLayout& layout = ViewRecord().layout();
    ReportSpec s;
    s.orientation = Orientation::Landscape;
    // Columns a quarter inch wide take a small face, so that an hour count,
    // a mileage rate or a small amount fits; the rate lists' two columns
    // the common one.
    s.font = {"Arial", n > 10 ? 5 : 8};

    Band header{"?HEADER", {Left, Top, Width, HeaderHeight}, {}};
    header.Add(Text("?REPORTTITLE", {0, 0, Width, 300}, list_.heading).Font({"Arial", 12, true}).Center());
    header.Add(PageNumber("?PAGECOUNT", {6950, 0, 700, 200}, "pPage <<#p").Font({"Arial", 8}).Right());
    header.Add(Box("?HEADERBOX", {0, HeadingTop, Width, LineHeight}));
    for (int k = 1; k < n; ++k)
      header.Add(Line("?HEADERLINE:" + std::to_string(k), {ruleAt(k, n), HeadingTop, 0, LineHeight}));
    for (int k = 0; k < n; ++k) {
      const int from = ruleAt(k, n) + Indent, to = ruleAt(k + 1, n);
      // A heading wraps within the heading row, cut at its rules.
      header.Add(Text("?HEADERTITLE:" + std::to_string(k + 1), {from, HeadingTop + 10, to - from, LineHeight - 10},
                      columns[static_cast<std::size_t>(k)].heading)
                     .MultiLine());
    }
    s.header = header;
    s.body = {Left, BodyTop, Width, BodyHeight};

    Band detail = BodyBand("?DETAIL", LineHeight);
    for (int k = 0; k <= n; ++k)
      detail.Add(Line("?DETAILLINE:" + std::to_string(k), {ruleAt(k, n), 0, 0, LineHeight}));
    for (int k = 0; k < n; ++k) {
      const Column& c = columns[static_cast<std::size_t>(k)];
      if (c.show == Show::Nothing) continue;
      const int from = ruleAt(k, n) + Indent, to = ruleAt(k + 1, n);
      const std::string name = "?" + layout.field(c.field).name;
      if (c.show == Show::Lines) {
        detail.Add(Field(name, {from, 20, to - from, LineHeight - 20}, View(c.field)).MultiLine());
        continue;
      }
      Element value = Field(name, {from, 50, to - from, 200}, View(c.field), c.picture);
      // In a wide column a value set to the right keeps off the rule as
      // the others keep off the left one.
      if (c.show != Show::Left && n <= 10) value.rect.width -= Indent;
      if (c.show == Show::Right) value.Right();
      if (c.show == Show::Decimal) value.AlignDecimal();
      detail.Add(std::move(value));
    }
    detail.Add(Line("?DETAILENDLINE", {0, LineHeight, Width, 0}));
    s.details.push_back(detail);

    Band footer{"?FOOTER", {Left, FooterTop, Width, LineHeight}, {}};
    const ReportFont stamps{"Arial", 8};
    footer.Add(Text("?REPORTDATEPROMPT", {0, 25, 500, 200}, "Date:").Font(stamps));
    footer.Add(Text("?REPORTDATESTAMP", {550, 25, 1500, 200}, "<-- Date Stamp -->").Font(stamps));
    footer.Add(Text("?REPORTTIMEPROMPT", {2200, 25, 500, 200}, "Time:").Font(stamps));
    footer.Add(Text("?REPORTTIMESTAMP", {2750, 25, 1500, 200}, "<-- Time Stamp -->").Font(stamps));
    s.footer = footer;

    // Behind every page, in the printable area: an image without a picture.
    const int sheetLong = pr::LetterLong, sheetShort = pr::LetterShort;
    const platform::Rect area{pr::Margin, pr::Margin, sheetLong - 2 * pr::Margin, sheetShort - 2 * pr::Margin};
    Band form{"?FORM", area, {}};
    form.Add(Image("?FORMIMAGE", {0, 0, area.width, area.height}));
    s.form = form;
    return s;
  }

 private:
  static ReportSettings settingsOf(const ListReport& list) {
    ReportSettings s;
    s.procedure = list.procedure;
    s.caption = list.caption;
    s.title = list.title;
    s.file = list.file;
    s.key = list.key;
    s.zoom = pr::Zoom::TilePages;
    if (list.numberKey) s.steps = [] { return std::make_unique<platform::NumberStepMgr>(); };
    return s;
  }

  const ListReport& list_;
};

// clang-format off
const ListReport CasesByName{"ReportCaseCloseSummaryByCCS:KeyCaseName", CaseCloseSummaryFile, CCS_KeyCaseName, false,
                             "Report CaseCloseSummary", "Report CaseCloseSummary file", "CaseCloseSummary Report",
                             &CaseColumns};
const ListReport EntriesByCaseName{"ReportHOURLYByHOU:KeyCaseName", HOURLYFile, HOU_KeyCaseName, false,
                                   "Report HOURLY", "Report HOURLY file", "HOURLY Report", &EntryColumns};
const ListReport EntriesByDate{"ReportHOURLYByHOU:KeyDate", HOURLYFile, HOU_KeyDate, true,
                               "Report HOURLY", "Report HOURLY file", "HOURLY Report", &EntryColumns};
const ListReport EntriesByRate{"ReportHOURLYByHOU:KeyMilageRate", HOURLYFile, HOU_KeyMilageRate, true,
                               "Report HOURLY", "Report HOURLY file", "HOURLY Report", &EntryColumns};
const ListReport RatesByRate{"ReportRateMilageByRTM:KeyMilageRate", RateMilageFile, RTM_KeyMilageRate, true,
                             "Report RateMilage", "Report RateMilage file", "RateMilage Report", &RateColumns};
const ListReport RatesByDate{"ReportRateMilageByRTM:KeyDate", RateMilageFile, RTM_KeyDate, true,
                             "Report RateMilage", "Report RateMilage file", "RateMilage Report", &RateColumns};
const ListReport TotalsByCase{"ReportTOTALSByTOT:KeyCaseNumber", TOTALSFile, TOT_KeyCaseNumber, false,
                              "Report TOTALS", "Report TOTALS file", "TOTALS Report", &TotalsColumns};
// clang-format on

void run(const ListReport& list) { ListProcedure(list).Run(); }

}  // namespace

void ReportCaseCloseSummaryByCCS_KeyCaseName() { run(CasesByName); }
void ReportHOURLYByHOU_KeyCaseName() { run(EntriesByCaseName); }
void ReportHOURLYByHOU_KeyDate() { run(EntriesByDate); }
void ReportHOURLYByHOU_KeyMilageRate() { run(EntriesByRate); }
void ReportRateMilageByRTM_KeyMilageRate() { run(RatesByRate); }
void ReportRateMilageByRTM_KeyDate() { run(RatesByDate); }
void ReportTOTALSByTOT_KeyCaseNumber() { run(TotalsByCase); }

}  // namespace reports
