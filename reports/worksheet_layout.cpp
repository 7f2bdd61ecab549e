#include "reports/worksheet_layout.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/fields.h"

namespace reports::worksheet {

namespace {

using namespace dictionary;
using namespace platform::report;
using platform::Rect;

// --- the sheet -------------------------------------------------------------
// Thousandths of an inch. Bands of the header, footer and form stand on the
// sheet; the table runs across the printable width.
constexpr int SheetLeft = Margin;
constexpr int SheetTop = Margin;
constexpr int TableWidth = LetterLong - 2 * Margin;  // 10500
constexpr int FooterTop = 8000;
constexpr int FooterHeight = 250;
constexpr int BodyBottom = FooterTop - 50;

// Within the header band.
constexpr int TitleTop = 580;
constexpr int HeadingsTop = 1100;
constexpr int HeadingsHeight = 450;
constexpr int HeaderHeight = HeadingsTop + HeadingsHeight;

// Within a detail line.
constexpr int LineHeight = 240;
constexpr int TextTop = 20;
constexpr int TextHeight = 200;
constexpr int Inset = 40;  // between a column's edge and its text

// Within the sums of the group footer.
constexpr int BarHeight = 60;
constexpr int SumsTop = BarHeight + 50;
constexpr int SumsHeight = 220;
constexpr int SumsBottom = SumsTop + SumsHeight + 60;

// The totals block under the sums: labels right-aligned up to LabelRight,
// values right-aligned up to the table's edge.
constexpr int LabelLeft = 4600;
constexpr int LabelRight = 8000;
constexpr int ValueLeft = 8100;

const ReportFont BodyFont{"Arial", 8, false};
const ReportFont CaseFont{"Arial", 10, false};
const ReportFont TitleFont{"Arial", 18, true};
const ReportFont HeadingFont{"Arial", 8, true};
const ReportFont BlockFont{"Arial", 9, false};
const ReportFont BigFont{"Arial", 12, true};
const ReportFont NoteFont{"Arial", 7, false, true};

// A column of the table: its headings (one or two lines), what its line
// prints and what its sum is called.
struct Column {
  int x = 0, width = 0;
  std::string line1, line2;
  int field = 0;  // 0: a column of its own (date, description)
  std::string picture;
  std::string lineName, sumName;  // no sumName: no sum
};

// --- the header --------------------------------------------------------------

void addHeadings(Band& header, const std::vector<Column>& columns) {
  header.Add(Box("?HEADINGBAND", {0, HeadingsTop, TableWidth, HeadingsHeight}).Fill(Black));
  int n = 0;
  for (const Column& c : columns) {
    const Rect box{c.x + Inset / 2, 0, c.width - Inset, TextHeight};
    const std::string name = "?HEADING" + std::to_string(++n);
    if (c.line2.empty()) {
      header.Add(Text(name, {box.x, HeadingsTop + (HeadingsHeight - TextHeight) / 2, box.width, TextHeight}, c.line1)
                     .Font(HeadingFont)
                     .Colour(White)
                     .Center());
      continue;
    }
    header.Add(
        Text(name, {box.x, HeadingsTop + 25, box.width, TextHeight}, c.line1).Font(HeadingFont).Colour(White).Center());
    header.Add(Text(name + "B", {box.x, HeadingsTop + 25 + TextHeight, box.width, TextHeight}, c.line2)
                   .Font(HeadingFont)
                   .Colour(White)
                   .Center());
  }
}

// The case, the title, the enclosure's page number and the headings.
Band caseHeader(RunRecord& entry, RunRecord& kase, const char* title, const char* numberPicture,
                const std::vector<Column>& columns, int height = HeaderHeight) {
  Band header{"?HEADER", {SheetLeft, SheetTop, TableWidth, height}, {}};
  header.Add(Text("?CASENAMEPROMPT", {0, 0, 1150, 220}, "CASE NAME:").Font(CaseFont).Bold());
  header.Add(Field("?CCS:CASENAME", {1200, 0, 7000, 220}, kase[CCS_CASENAME], "s100").Font(CaseFont).Underline());
  header.Add(Text("?CASENUMBERPROMPT", {0, 280, 1150, 220}, "CASE NUMBER:").Font(CaseFont).Bold());
  header.Add(Field("?HOU:CASENUMBER", {1200, 280, 3500, 220}, entry[HOU_CASENUMBER], numberPicture)
                 .Font(CaseFont)
                 .Underline());
  header.Add(Text("?ENCLOSURE", {8300, 0, 1250, 220}, "ENCLOSURE:").Font(CaseFont).Bold().Right());
  header.Add(PageNumber("?PAGECOUNT", {9600, 0, 900, 220}, "pPAGE <<#p").Font(CaseFont).Bold());
  header.Add(Text("?REPORTTITLE", {0, TitleTop, TableWidth, 420}, title).Font(TitleFont).Center());
  addHeadings(header, columns);
  return header;
}

Band pageFooter() {
  Band footer{"?FOOTER", {SheetLeft, FooterTop, TableWidth, FooterHeight}, {}};
  footer.Add(Text("?REPORTDATEPROMPT", {0, 20, 450, 200}, "Date:"));
  footer.Add(Text("?REPORTDATESTAMP", {500, 20, 1600, 200}, "<-- Date Stamp -->"));
  footer.Add(Text("?REPORTTIMEPROMPT", {2200, 20, 450, 200}, "Time:"));
  footer.Add(Text("?REPORTTIMESTAMP", {2700, 20, 1600, 200}, "<-- Time Stamp -->"));
  return footer;
}

// Behind every page: an image control that names no picture.
Band pageForm() {
  Band form{"?FORM", {SheetLeft, SheetTop, TableWidth, FooterTop + FooterHeight - SheetTop}, {}};
  form.Add(Image("?FORMIMAGE", {0, 0, TableWidth, FooterTop + FooterHeight - SheetTop}));
  return form;
}

ReportSpec sheet(Band header) {
  ReportSpec s;
  s.orientation = Orientation::Landscape;
  s.font = BodyFont;
  const int bodyTop = SheetTop + header.rect.height + 50;
  s.body = {SheetLeft, bodyTop, TableWidth, BodyBottom - bodyTop};
  s.header = std::move(header);
  s.footer = pageFooter();
  s.form = pageForm();
  return s;
}

// --- the body ----------------------------------------------------------------

// A line of the table: the date, the description that wraps and grows the
// line, the numbers of the columns, and the rule that closes the line.
Band detailLine(RunRecord& entry, const Column& date, const Column& description, const std::vector<Column>& numbers) {
  Band detail = BodyBand("?DETAIL", LineHeight);
  detail.Add(Field(date.lineName, {date.x + Inset, TextTop, date.width - 2 * Inset, TextHeight}, entry[date.field],
                   date.picture));
  detail.Add(Field(description.lineName, {description.x + Inset, TextTop, description.width - 2 * Inset, TextHeight},
                   entry[description.field])
                 .Grows());
  for (const Column& c : numbers)
    detail.Add(
        Field(c.lineName, {c.x + Inset, TextTop, c.width - 2 * Inset, TextHeight}, entry[c.field], c.picture).Right());
  detail.Add(Line("?DETAILENDLINE", {0, LineHeight, TableWidth, 0}).Anchored(Anchor::Bottom));
  return detail;
}

// The top of the group footer: the black bar, "PAGE TOTAL:" at the right
// end of the description column, the sums under their columns between
// rules, and the rule under them.
void addSums(Band& footer, RunRecord& entry, const Column& description, const std::vector<Column>& numbers) {
  footer.Add(Box("?FOOTERBAR", {0, 0, TableWidth, BarHeight}).Fill(Black));
  const int right = description.x + description.width;
  footer.Add(Text("?PAGETOTAL", {right - 2200, SumsTop, 2200 - Inset, SumsHeight}, "PAGE TOTAL:").Bold().Right());
  int n = 0;
  footer.Add(Line("?SUMRULE" + std::to_string(++n), {right, BarHeight, 0, SumsBottom - BarHeight}));
  for (const Column& c : numbers) {
    if (!c.sumName.empty())
      footer.Add(Total(c.sumName, {c.x + Inset, SumsTop, c.width - 2 * Inset, SumsHeight}, entry[c.field], c.picture)
                     .Bold()
                     .Right());
    footer.Add(Line("?SUMRULE" + std::to_string(++n), {c.x + c.width, BarHeight, 0, SumsBottom - BarHeight}));
  }
  footer.Add(Line("?SUMSLINE", {0, SumsBottom, TableWidth, 0}));
}

// A row of the totals block: its label, a note under it, and its value.
struct BlockRow {
  std::string labelName, label;
  std::string noteName, note;
  std::optional<Element> value;
  bool big = false;
};

// Lays the rows out from `y` down; answers the bottom.
int addBlock(Band& band, int y, std::vector<BlockRow> rows) {
  for (BlockRow& r : rows) {
    const int height = r.big ? 330 : 230;
    const ReportFont& font = r.big ? BigFont : BlockFont;
    band.Add(Text(r.labelName, {LabelLeft, y, LabelRight - LabelLeft, height}, r.label).Font(font).Right());
    if (r.value) {
      r.value->rect = {ValueLeft, y, TableWidth - Inset - ValueLeft, height};
      band.Add(std::move(*r.value).Font(font).Right());
    }
    y += height;
    if (!r.note.empty()) {
      band.Add(Text(r.noteName, {LabelLeft, y, LabelRight - LabelLeft, 190}, r.note).Font(NoteFont).Right());
      y += 190;
    }
    y += 60;
  }
  return y;
}

std::vector<BlockRow> expenseBlock(std::optional<Element> travel, std::optional<Element> other,
                                   std::optional<Element> billed) {
  return {
      {"?TRAVELPROMPT", "Travel Expenses: ", "?TRAVELNOTE", "(lodging, parking, meals, mileage, etc.)",
       std::move(travel)},
      {"?OTHERPROMPT", "Other Expenses:", "?OTHERNOTE", "(other than expert, transcripts, etc.)", std::move(other)},
      {"?AMOUNTBILLEDPROMPT", "Amount Billed:", {}, {}, std::move(billed), true},
  };
}

// --- the hours worksheets ---------------------------------------------------

struct HoursSheet {
  const char* title;
  const char* numberPicture;
  const char* descriptionHeading;
  int descriptionRight;  // where the hour columns start
  std::vector<Column> hours;
  int hoursField, amountField;
};

ReportSpec hoursSheet(RunRecord& entry, RunRecord& kase, HoursSheet h) {
  const Column date{0, 900, "Date", "", HOU_DATE, "D02B", "?HOU:DATE", ""};
  const Column description{900,
                           h.descriptionRight - 900,
                           h.descriptionHeading,
                           "",
                           HOU_BRIEFDESCRIPTIONSERVICES,
                           "",
                           "?HOU:BRIEFDESCRIPTIONSERVICES",
                           ""};
  const int width = (TableWidth - h.descriptionRight) / static_cast<int>(h.hours.size());
  for (std::size_t i = 0; i < h.hours.size(); ++i) {
    Column& c = h.hours[i];
    c.x = h.descriptionRight + static_cast<int>(i) * width;
    c.width = i + 1 == h.hours.size() ? TableWidth - c.x : width;
  }
  std::vector<Column> headings{date, description};
  headings.insert(headings.end(), h.hours.begin(), h.hours.end());

  ReportSpec s = sheet(caseHeader(entry, kase, h.title, h.numberPicture, headings));
  s.details.push_back(detailLine(entry, date, description, h.hours));
  Band sums = BodyBand("?GROUPFOOTER", 0);
  addSums(sums, entry, description, h.hours);
  const std::string hoursName = "?" + std::string(entry.layout().field(h.hoursField).name);
  const std::string amountName = "?" + std::string(entry.layout().field(h.amountField).name);
  sums.rect.height = addBlock(
      sums, SumsBottom + 80,
      {{"?HOURLYRATEPROMPT", "Hourly Rate:", {}, {}, Field("?CCS:HOURLYRATE", {}, kase[CCS_HOURLYRATE], "N$-10.2B")},
       {"?HOURSPROMPT", "Amount of Hours Worked:", {}, {}, Total(hoursName, {}, entry[h.hoursField], "N-7.1B")},
       {"?AMOUNTBILLEDPROMPT",
        "Amount Billed:",
        {},
        {},
        Total(amountName, {}, entry[h.amountField], "N$-17.2B"),
        true}});
  s.groups.push_back(Group{"?BREAK1", entry[HOU_CASENUMBER], std::move(sums)});
  return s;
}

Column hourColumn(const RunRecord& entry, int field, const char* line1, const char* line2, const char* picture) {
  const std::string name = "?" + std::string(entry.layout().field(field).name);
  return Column{0, 0, line1, line2, field, picture, name, name + ":2"};
}

// --- the other-expense worksheets ---------------------------------------------

constexpr int OtherDescriptionLeft = 850;
constexpr int RateLeft = 3250;
constexpr int MoneyLeft = 3975;
constexpr int MoneyWidth = (TableWidth - MoneyLeft) / 9;

Column otherDate() { return {0, OtherDescriptionLeft, "Date", "", HOU_DATE3, "d02b", "?HOU:DATE3", ""}; }

// The mileage amount, then the eight expense fields.
std::vector<Column> moneyColumns(const RunRecord& entry) {
  std::vector<Column> columns{
      {0, 0, "Mileage", "", HOU_TOTALMILAGE, "n-10.2", "?HOU:TOTALMILAGE:2", "?HOU:TOTALMILAGE"}};
  const std::pair<int, const char*> fields[] = {
      {HOU_PARKING, "Parking"}, {HOU_MEALS, "Meals"},          {HOU_LODGING, "Lodging"},     {HOU_COPYING, "Copying"},
      {HOU_POSTAGE, "Postage"}, {HOU_TOLLCALLS, "Toll Calls"}, {HOU_TELEGRAMS, "Telegrams"}, {HOU_OTHER, "Other"}};
  for (const auto& [field, heading] : fields) {
    const std::string name = "?" + std::string(entry.layout().field(field).name);
    columns.push_back({0, 0, heading, "", field, "N$-10.2B", name, name + ":2"});
  }
  for (std::size_t i = 0; i < columns.size(); ++i) {
    columns[i].x = MoneyLeft + static_cast<int>(i) * MoneyWidth;
    columns[i].width = i + 1 == columns.size() ? TableWidth - columns[i].x : MoneyWidth;
  }
  return columns;
}

}  // namespace

ReportSpec InCourtSpec(RunRecord& entry, RunRecord& kase) {
  return hoursSheet(entry, kase,
                    {"IN-COURT WORKSHEET",
                     "s20",
                     "Description",
                     4100,
                     {hourColumn(entry, HOU_ARRAIGNMENTPLEA, "Arraignment", "and/or Plea", "N-7.1B"),
                      hourColumn(entry, HOU_BAILHEARINGS, "Bail and Det.", "Hearings", "N-7.1B"),
                      hourColumn(entry, HOU_MOTIONSREQUESTS, "Motion", "Hearings", "N-7.1B"),
                      hourColumn(entry, HOU_TRIAL, "Trial", "", "N-7.1B"),
                      hourColumn(entry, HOU_SENTENCEHEARINGS, "Sentencing", "Hearings", "N-7.1B"),
                      hourColumn(entry, HOU_REVOCATIONHEARINGS, "Revocation", "Hearings", "N-7.1B"),
                      hourColumn(entry, HOU_APPEALSCOURT, "Appeals Court", "", "N-7.1B"),
                      hourColumn(entry, HOU_OTHERIN, "Other", "", "N-7.1B")},
                     HOU_IN_TOTALHOURS,
                     HOU_TOTALSECTION_INCOURT});
}

ReportSpec OutCourtSpec(RunRecord& entry, RunRecord& kase) {
  return hoursSheet(entry, kase,
                    {"OUT-OF-COURT HOURLY WORKSHEET",
                     "s100",
                     "Brief Description Services",
                     4500,
                     {hourColumn(entry, HOU_INTERVIEWSCONFERENCES, "Interviews and", "Conferences", "n-10.1B"),
                      hourColumn(entry, HOU_REVIEWRECORDS, "Obtain and", "Review Records", "n-10.1B"),
                      hourColumn(entry, HOU_LEGALRESEARCH, "Legal Research", "& Brief Writing", "n-10.1B"),
                      hourColumn(entry, HOU_TRAVELTIME, "Travel Time", "", "n-10.1B"),
                      hourColumn(entry, HOU_INVESTIGATION, "Investigation", "& Other Work", "n-10.1B")},
                     HOU_OUT_TOTALHOURS,
                     HOU_TOTALSECTION_OUTCOURT});
}

ReportSpec OtherSpec(RunRecord& entry, RunRecord& kase) {
  const Column date = otherDate();
  const Column description{OtherDescriptionLeft,
                           RateLeft - OtherDescriptionLeft,
                           "Brief Description of Services",
                           "",
                           HOU_BRIEFDESCRIPTIONSERVICES3,
                           "",
                           "?HOU:BRIEFDESCRIPTIONSERVICES3",
                           ""};
  const Column rate{RateLeft, MoneyLeft - RateLeft, "Mileage rate", "", HOU_MILAGERATE, "n-7.3", "?HOU:MILAGERATE", ""};
  std::vector<Column> numbers{rate};
  for (Column& c : moneyColumns(entry)) numbers.push_back(std::move(c));
  std::vector<Column> headings{date, description};
  headings.insert(headings.end(), numbers.begin(), numbers.end());

  ReportSpec s = sheet(caseHeader(entry, kase, "OTHER EXPENSE WORKSHEET", "s100", headings));
  s.details.push_back(detailLine(entry, date, description, numbers));
  Band sums = BodyBand("?GROUPFOOTER", 0);
  addSums(sums, entry, description, numbers);
  sums.rect.height =
      addBlock(sums, SumsBottom + 80,
               expenseBlock(Total("?HOU:TOTALSECTIONTRAVEL", {}, entry[HOU_TOTALSECTIONTRAVEL], "N$-17.2B"),
                            Total("?HOU:TOTALSECTIONOTHER", {}, entry[HOU_TOTALSECTIONOTHER], "N$-17.2B"),
                            Total("?HOU:TOTALSECTION", {}, entry[HOU_TOTALSECTION], "N$-17.2B")));
  s.groups.push_back(Group{"?BREAK1", entry[HOU_CASENUMBER], std::move(sums)});
  return s;
}

ReportSpec OtherNoneSpec(RunRecord& entry, RunRecord& kase) {
  const Column date = otherDate();
  // Without the mileage rate, the description reaches the money columns.
  const Column description{
      OtherDescriptionLeft, MoneyLeft - OtherDescriptionLeft, "Brief Description of Services", "", 0, "", "", ""};
  std::vector<Column> headings{date, description};
  for (Column& c : moneyColumns(entry)) headings.push_back(std::move(c));

  // Under the headings, all of it text of the header: "NONE", the rule,
  // and the totals block with "0.".
  const int noneTop = HeaderHeight + 60;
  const int ruleY = noneTop + LineHeight;
  // The block is laid out first: where it ends, the header ends.
  Band block{"?TOTALSBLOCK", {}, {}};
  const int bottom =
      addBlock(block, ruleY + 80, expenseBlock(std::nullopt, std::nullopt, Text("?AMOUNTBILLED", {}, "0.")));
  Band header = caseHeader(entry, kase, "OTHER EXPENSE WORKSHEET", "s100", headings, bottom);
  header.Add(
      Text("?NONE", {description.x + Inset, noneTop + TextTop, description.width - 2 * Inset, TextHeight}, "NONE")
          .Font(BodyFont));
  header.Add(Line("?NONELINE", {0, ruleY, TableWidth, 0}));
  for (Element& e : block.elements) header.Add(std::move(e));

  ReportSpec s = sheet(std::move(header));
  s.details.push_back(BodyBand("?DETAIL", 0));
  Band bar = BodyBand("?GROUPFOOTER", 30);
  bar.Add(Box("?FOOTERBAR", {0, 0, TableWidth, 30}).Fill(Black));
  s.groups.push_back(Group{"?BREAK1", entry[HOU_CASENUMBER], std::move(bar)});
  return s;
}

}  // namespace reports::worksheet
