#include "reports/claim_form.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "dictionary/fields.h"

namespace reports::claim_form {

namespace {

using namespace platform::report;
using namespace dictionary;
using platform::FieldRef;
using platform::Rect;

constexpr platform::Color Grey = platform::rgb(0xC0, 0xC0, 0xC0);

const ReportFont Courier10{"Courier", 10};
const ReportFont Courier12{"Courier", 12};
const ReportFont CourierRule{"Courier", RulePoints};
const ReportFont Courier6{"Courier", 6};
const ReportFont Small{"Arial", 7};
const ReportFont Bold{"Arial", 8, true};

// The block's columns, from the left edge of the printable area.
constexpr int NumberX = 0;      // "15."
constexpr int VerticalX = 300;  // the vertical label of items 15 and 16
constexpr int CategoryX = 600;
constexpr int HoursX = 4600;      // HOURS CLAIMED
constexpr int AmountX = 5700;     // TOTAL AMOUNT CLAIMED
constexpr int AdjHoursX = 7300;   // MATH/TECH ADJUSTED HOURS
constexpr int AdjAmountX = 8300;  // MATH/TECH ADJUSTED AMOUNT
constexpr int ReviewX = 9400;     // ADDITIONAL REVIEW
constexpr int Width = 10500;

// Row heights.
constexpr int BarHeight = 200;
constexpr int HeadingsHeight = 380;
constexpr int CategoryHeight = 150;
constexpr int TotalsHeight = 190;
constexpr int LineHeight = 130;  // of a text of one line in Arial 8
constexpr int Inset = 60;        // of a value within its cell

// Lays the claim block out into its band, keeping the names of its labels,
// boxes and rules apart.
class Block {
 public:
  Block(Band& band, RunRecord& kase, RunRecord& entry) : band_(band), kase_(kase), entry_(entry) {}

  // A label.
  void label(Rect r, std::string text, const ReportFont* font = nullptr, bool bold = false) {
    Element e = Text(next("?STRING"), r, std::move(text));
    if (font) e.Font(*font);
    if (bold) e.Bold();
    band_.Add(std::move(e));
  }
  void centred(Rect r, std::string text, const ReportFont* font = nullptr) {
    Element e = Text(next("?STRING"), r, std::move(text)).Center();
    if (font) e.Font(*font);
    band_.Add(std::move(e));
  }
  // An outlined cell, grey when the block leaves it empty.
  void cell(Rect r, bool grey = false) {
    Element e = Box(next("?BOX"), r);
    if (grey) e.Fill(Grey);
    band_.Add(std::move(e));
  }
  // A black bar with its heading in white bold letters.
  void bar(Rect r, const char* name, std::string text, bool centre = false) {
    band_.Add(Box(next("?BOX"), r).Fill(Black));
    Element e = Text(name, {r.x + Inset, r.y + (r.height - LineHeight) / 2, r.width - 2 * Inset, LineHeight}, std::move(text))
                    .Colour(White)
                    .Bold();
    if (centre) e.Center();
    band_.Add(std::move(e));
  }
  void rule(Rect r) { band_.Add(Line(next("?LINE"), r)); }

  // A total of an entry field, named after the field.
  Element total(int field, Rect r, const char* picture, Reset reset = Reset::Never) {
    return Total("?" + entry_.layout().field(field).name, r, entry_[field], picture, reset);
  }
  FieldRef kase(int field) { return kase_[field]; }
  Band& band() { return band_; }

  // The cells of the three adjusted columns: the court's, left white.
  void adjusted(int y, int h) {
    cell({AdjHoursX, y, AdjAmountX - AdjHoursX, h});
    cell({AdjAmountX, y, ReviewX - AdjAmountX, h});
    cell({ReviewX, y, Width - ReviewX, h});
  }
  // A value's place inside a cell.
  static Rect in(int x0, int x1, int y, int h) { return {x0 + Inset, y + (h - LineHeight) / 2, x1 - x0 - 2 * Inset, LineHeight}; }

 private:
  std::string next(const char* prefix) { return prefix + std::to_string(++count_[static_cast<unsigned char>(prefix[1]) & 127]); }
  Band& band_;
  RunRecord& kase_;
  RunRecord& entry_;
  int count_[128] = {};
};

struct Category {
  const char* text;
  int field;
};

// Items 15 and 16: the number and the vertical label, the categories with
// their hours and grey amounts, then the rate and the section's totals.
// Answers the y under the totals.
// `suffix` tells the second section's rate and "TOTALS:" from the first's.
int section(Block& b, int y, const char* number, const char* vertical, const char* verticalName,
            const std::vector<Category>& rows, int hours, int amount, Reset hoursReset, const std::string& suffix) {
  const int top = y;
  for (const Category& c : rows) {
    b.cell({CategoryX, y, HoursX - CategoryX, CategoryHeight});
    b.label(Block::in(CategoryX, HoursX, y, CategoryHeight), c.text);
    b.cell({HoursX, y, AmountX - HoursX, CategoryHeight});
    b.band().Add(b.total(c.field, Block::in(HoursX, AmountX, y, CategoryHeight), "N-7.1B").Left());
    b.cell({AmountX, y, AdjHoursX - AmountX, CategoryHeight}, true);
    b.adjusted(y, CategoryHeight);
    y += CategoryHeight;
  }
  b.cell({CategoryX, y, HoursX - CategoryX, TotalsHeight});
  const int textY = y + (TotalsHeight - LineHeight) / 2;
  b.label({CategoryX + Inset, textY, 1100, LineHeight}, "Rate per hour:");
  b.band().Add(Field("?CCS:HOURLYRATE" + suffix,
                     {CategoryX + 1200, textY, 1300, LineHeight}, b.kase(CCS_HOURLYRATE), "N$-10.2B")
                   .Bold());
  b.band().Add(Text("?TOTALS" + suffix,
                    {HoursX - 1200, textY, 1100, LineHeight}, "TOTALS:")
                   .Right()
                   .Bold());
  b.cell({HoursX, y, AmountX - HoursX, TotalsHeight});
  b.band().Add(b.total(hours, Block::in(HoursX, AmountX, y, TotalsHeight), "N-7.1B", hoursReset).Left().Bold());
  b.cell({AmountX, y, AdjHoursX - AmountX, TotalsHeight});
  b.band().Add(b.total(amount, Block::in(AmountX, AdjHoursX, y, TotalsHeight), "N$-17.2B").Right().Bold());
  b.adjusted(y, TotalsHeight);
  y += TotalsHeight;
  // The number and the vertical label stand beside the whole section.
  b.cell({NumberX, top, CategoryX - NumberX, y - top});
  b.label({NumberX + 40, top + 20, 260, LineHeight}, number, &Bold);
  b.band().Add(Text(verticalName, {VerticalX + 20, top + 30, 260, y - top - 60},
                    vertical)
                   .Vertical()
                   .Center()
                   .Bold());
  return y;
}

// Items 17 and 18: an expense row whose hours cell is grey.
int expense(Block& b, int y, const char* number, const char* title, const char* note, int field) {
  b.cell({NumberX, y, HoursX - NumberX, TotalsHeight});
  const int textY = y + (TotalsHeight - LineHeight) / 2;
  b.label({NumberX + 40, textY, 260, LineHeight}, number, &Bold);
  b.label({VerticalX, textY, 1300, LineHeight}, title, &Bold);
  b.label({VerticalX + 1350, textY, HoursX - VerticalX - 1400, LineHeight}, note);
  b.cell({HoursX, y, AmountX - HoursX, TotalsHeight}, true);
  b.cell({AmountX, y, AdjHoursX - AmountX, TotalsHeight});
  b.band().Add(b.total(field, Block::in(AmountX, AdjHoursX, y, TotalsHeight), "N$-17.2B").Right().Bold());
  b.adjusted(y, TotalsHeight);
  return y + TotalsHeight;
}

// A YES/NO radio group on a field, without its frame.
Element yesNo(const std::string& name, int x, int y, FieldRef field) {
  return Option(name, {x, y, 1200, LineHeight}, "", field,
                {Radio{name + ":RADIO1", {x, y, 550, LineHeight}, "YES", std::nullopt, false},
                 Radio{name + ":RADIO2", {x + 600, y, 550, LineHeight}, "NO", std::nullopt, false}})
      .Unboxed();
}

Band claimBlock(RunRecord& kase, RunRecord& entry) {
  Band band = BodyBand("?GROUPFOOTER", BlockHeight);
  Block b(band, kase, entry);
  int y = 0;

  // 1. The first bar.
  b.bar({0, y, AdjHoursX, BarHeight}, "?CLAIMBAR", "CLAIM FOR SERVICES AND EXPENSES");
  b.bar({AdjHoursX, y, Width - AdjHoursX, BarHeight}, "?COURTUSEBAR", "FOR COURT USE ONLY", true);
  y += BarHeight;

  // 2. The column headings.
  const int h = HeadingsHeight;
  const int line = 115;  // a line of Arial 7
  b.cell({0, y, HoursX, h});
  b.centred({0, y + (h - line) / 2, HoursX, line}, "CATEGORIES (Attach itemization of services with dates)", &Small);
  struct Heading {
    int x0, x1;
    std::vector<const char*> lines;
  };
  const Heading headings[] = {
      {HoursX, AmountX, {"HOURS", "CLAIMED"}},
      {AmountX, AdjHoursX, {"TOTAL AMOUNT", "CLAIMED"}},
      {AdjHoursX, AdjAmountX, {"MATH/TECH", "ADJUSTED", "HOURS"}},
      {AdjAmountX, ReviewX, {"MATH/TECH", "ADJUSTED", "AMOUNT"}},
      {ReviewX, Width, {"ADDITIONAL", "REVIEW"}},
  };
  for (const Heading& head : headings) {
    b.cell({head.x0, y, head.x1 - head.x0, h});
    const int n = static_cast<int>(head.lines.size());
    int ly = y + (h - n * line) / 2;
    for (const char* text : head.lines) {
      b.centred({head.x0, ly, head.x1 - head.x0, line}, text, &Small);
      ly += line;
    }
  }
  y += h;

  // 3 to 6. Items 15 and 16.
  y = section(b, y, "15.", "IN-COURT", "?INCOURTLABEL",
              {{"a. Arraignment and/or Plea", HOU_ARRAIGNMENTPLEA},
               {"b. Bail and Detention Hearings", HOU_BAILHEARINGS},
               {"c. Motion Hearings", HOU_MOTIONSREQUESTS},
               {"d. Trial", HOU_TRIAL},
               {"e. Sentencing Hearings", HOU_SENTENCEHEARINGS},
               {"f. Revocation Hearings", HOU_REVOCATIONHEARINGS},
               {"g. Appeals Court", HOU_APPEALSCOURT},
               {"h. Other (Specify on additional sheets)", HOU_OTHERIN}},
              HOU_IN_TOTALHOURS, HOU_TOTALSECTION_INCOURT, Reset::Group, "");
  y = section(b, y, "16.", "OUT-OF-COURT", "?OUTOFCOURTLABEL",
              {{"a. Interviews and Conferences", HOU_INTERVIEWSCONFERENCES},
               {"b. Obtaining and reviewing records", HOU_REVIEWRECORDS},
               {"c. Legal research and brief writing", HOU_LEGALRESEARCH},
               {"d. Travel time", HOU_TRAVELTIME},
               {"e. Investigative and Other work", HOU_INVESTIGATION}},
              HOU_OUT_TOTALHOURS, HOU_TOTALSECTION_OUTCOURT, Reset::Never, ":2");

  // 7, 8. The expenses.
  y = expense(b, y, "17.", "Travel Expenses", "(lodging, parking, meals, mileage, etc.)", HOU_TOTALSECTIONTRAVEL);
  y = expense(b, y, "18.", "Other Expenses", "(other than expert, transcripts, etc.)", HOU_TOTALSECTIONOTHER);

  // 9. The grand total.
  b.bar({0, y, AmountX, BarHeight}, "?GRANDTOTALBAR", "GRAND TOTALS (CLAIMED AND ADJUSTED):");
  b.cell({AmountX, y, AdjHoursX - AmountX, BarHeight});
  b.band().Add(b.total(HOU_GRANDTOTAL, Block::in(AmountX, AdjHoursX, y, BarHeight), "N$-17.2B").Right().Bold());
  b.adjusted(y, BarHeight);
  y += BarHeight;

  // 10. Items 19 to 21.
  {
    const int rowH = 400;
    const int x20 = 5300, x21 = 8300;
    b.cell({0, y, x20, rowH});
    b.label({40, y + 30, 260, LineHeight}, "19.", &Bold);
    b.label({VerticalX, y + 30, x20 - VerticalX - 40, LineHeight}, "CERTIFICATION OF ATTORNEY/PAYEE FOR THE PERIOD OF SERVICE",
            &Small);
    b.label({VerticalX, y + 220, 600, LineHeight}, "FROM:", &Small);
    b.band().Add(Field("?CCS:CERTIFICATIONFROM", {VerticalX + 650, y + 210, 1500, 150}, b.kase(CCS_CERTIFICATIONFROM),
                       "D2B")
                     .Font(Courier10));
    b.label({VerticalX + 2400, y + 220, 400, LineHeight}, "TO:", &Small);
    b.band().Add(Field("?CCS:CERTIFICATIONTO", {VerticalX + 2850, y + 210, 1500, 150}, b.kase(CCS_CERTIFICATIONTO), "D2B")
                     .Font(Courier10));
    b.cell({x20, y, x21 - x20, rowH});
    b.label({x20 + 40, y + 30, 300, LineHeight}, "20.", &Bold);
    b.label({x20 + 350, y + 30, x21 - x20 - 390, 115}, "APPOITMENT TERMINATION DATE IF OTHER ", &Small);
    b.label({x20 + 350, y + 145, x21 - x20 - 390, 115}, "THAN CASE COMPLETION", &Small);
    b.band().Add(Field("?CCS:APPOINTMENTDATE2", {x20 + 350, y + 250, 1500, 150}, b.kase(CCS_APPOINTMENTDATE2), "D2B")
                     .Font(Courier10));
    b.cell({x21, y, Width - x21, rowH});
    b.label({x21 + 40, y + 30, 300, LineHeight}, "21.", &Bold);
    b.label({x21 + 350, y + 30, Width - x21 - 390, 115}, "CASE DISPOSITION", &Small);
    b.band().Add(Field("?CCS:CASEDISPOSITION", {x21 + 350, y + 210, 800, 150}, b.kase(CCS_CASEDISPOSITION), "s4")
                     .Font(Courier10));
    y += rowH;
  }

  // 11. Item 22, the claim status.
  {
    const int rowH = 250;
    const int ty = y + (rowH - LineHeight) / 2;
    b.cell({0, y, Width, rowH});
    b.label({40, ty, 260, LineHeight}, "22.", &Bold);
    b.label({VerticalX, ty, 1200, LineHeight}, "CLAIM STATUS", &Small);
    const FieldRef status = b.kase(CCS_CLAIMSTATUS);
    b.band().Add(Option("?CCS:CLAIMSTATUS", {1600, ty, 6600, LineHeight}, "", status,
                        {Radio{"?CCS:CLAIMSTATUS:RADIO1", {1600, ty, 1500, LineHeight}, "Final Payment", std::nullopt, false},
                         Radio{"?CCS:CLAIMSTATUS:RADIO2", {3300, ty, 1900, LineHeight}, "Interim Payment Number",
                               std::nullopt, false},
                         Radio{"?CCS:CLAIMSTATUS:RADIO3", {6300, ty, 1900, LineHeight}, "Supplemental Payment",
                               std::nullopt, false}})
                     .Unboxed());
    b.band().Add(Field("?CCS:PAYMENTNUMBER", {5250, ty + 10, 900, 110}, b.kase(CCS_PAYMENTNUMBER), "s10").Font(Courier6));
    b.rule({5250, ty + LineHeight, 900, 0});
    y += rowH;
  }

  // 12. The three questions.
  {
    const int rowH = 600;
    const int radios = 8900;
    b.cell({0, y, Width, rowH});
    b.label({VerticalX, y + 30, radios - VerticalX - 100, LineHeight},
            "Have you previously applied to the court for compensation and/or reimbursement for this case?");
    b.band().Add(yesNo("?CCS:APPLY", radios, y + 30, b.kase(CCS_APPLY)));
    b.label({VerticalX, y + 190, 2000, LineHeight}, "If yes, were you paid?");
    b.band().Add(yesNo("?CCS:PAID", VerticalX + 2050, y + 190, b.kase(CCS_PAID)));
    b.band().Add(Text("?QUESTION3", {VerticalX, y + 340, radios - VerticalX - 600, 2 * LineHeight},
                      "Other than from the court, have you, or to your knowledge has anyone else, received payment "
                      "(compensation or anything of value) from any other source in connection with this "
                      "representation?")
                     .MultiLine());
    b.band().Add(yesNo("?CCS:CONNECTION", radios, y + 340, b.kase(CCS_CONNECTION)));
    b.label({radios - 3300, y + 190, 3200, LineHeight}, "If yes, give details on additional sheets.");
    y += rowH;
  }

  // 13. The attorney's statement and signature.
  {
    const int rowH = 300;
    const int ty = y + (rowH - LineHeight) / 2;
    b.cell({0, y, Width, rowH});
    b.label({VerticalX, ty, 4700, LineHeight}, "I swear or affirm the truth or correctness of the above statements");
    b.label({5100, ty, 1400, LineHeight}, "Signature of Attorney:");
    b.rule({6550, ty + LineHeight, 2150, 0});
    b.label({8800, ty, 400, LineHeight}, "Date:");
    b.band().Add(Field("?CCS:DATESIGNTAURE", {9250, ty, 1200, 150}, b.kase(CCS_DATESIGNTAURE), "D02B")
                     .Font(Courier10)
                     .Bold());
    y += rowH;
  }

  // 14. The court's bar.
  b.bar({0, y, Width, BarHeight}, "?APPROVEDBAR", "APPROVED FOR PAYMENT - COURT USE ONLY", true);
  y += BarHeight;

  // 15. The court's cells, labels only.
  const int cellH = 300;
  auto amounts = [&](int first, const std::vector<const char*>& texts) {
    const int w = Width / static_cast<int>(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const int x = static_cast<int>(i) * w;
      const int cw = i + 1 == texts.size() ? Width - x : w;
      b.cell({x, y, cw, cellH});
      b.label({x + 40, y + 25, 330, 115}, std::to_string(first + static_cast<int>(i)) + ".", &Small, true);
      b.label({x + 380, y + 25, cw - 420, 115}, texts[i], &Small);
    }
    y += cellH;
  };
  auto signature = [&](const char* number, std::vector<const char*> lines, const char* code) {
    const int x1 = 6300, x2 = 8400;
    b.cell({0, y, x1, cellH});
    b.label({40, y + 25, 330, 115}, number, &Small, true);
    int ly = y + 25;
    for (const char* text : lines) {
      b.label({380, ly, x1 - 420, 115}, text, &Small);
      ly += 115;
    }
    b.cell({x1, y, x2 - x1, cellH});
    b.label({x1 + 40, y + 25, x2 - x1 - 80, 115}, "DATE", &Small);
    b.cell({x2, y, Width - x2, cellH});
    b.label({x2 + 40, y + 25, 400, 115}, code, &Small, true);
    b.label({x2 + 450, y + 25, Width - x2 - 490, 115}, "JUDGE / MAG. JUDGE CODE", &Small);
    y += cellH;
  };
  amounts(23, {"IN COURT COMP.", "OUT OF COURT COMP.", "TRAVEL EXPENSES", "OTHER EXPENSES", "TOTAL AMT. APPR/CERT"});
  signature("28.", {"SIGNATURE OF THE PRESIDING JUDICIAL OFFICER"}, "28a.");
  amounts(29, {"IN COURT COMP.", "OUT OF COURT COMP.", "TRAVEL EXPENSES", "OTHER EXPENSES", "TOTAL AMT. APPROVED"});
  signature("34.",
            {"SIGNATURE OF CHIEF JUDGE, COURT OF APPEALS (OR DELEGATE) Payment",
             "approved in excess of the statutory threshold amount."},
            "34a.");
  if (y != BlockHeight) throw std::logic_error("the claim block is " + std::to_string(y) + " high");
  return band;
}

}  // namespace

ReportSpec Describe(RunRecord& kase, RunRecord& entry) {
  ReportSpec s;
  s.orientation = Orientation::Landscape;
  s.font = {"Arial", 8};

  Band header{"?HEADER", {Margin, HeaderTop, Width, HeaderHeight}, {}};
  const std::string rule(RuleHyphens, '-');
  header.Add(Text("?TITLE", {0, 0, Width, 200},
                  "THIS IS AN ATTACHMENT TO CJA 20 APPOINTMENT OF AND AUTHORITY TO PAY COURT APPOINTED COUNSEL")
                 .Font(Courier10)
                 .Bold()
                 .Center());
  header.Add(Text("?RULE1", {0, 210, Width, 140}, rule).Font(CourierRule));
  header.Add(Text("?CASEPROMPT", {0, 370, 1800, 190}, "CASE:").Font(Courier10));
  header.Add(Field("?CCS:CASENAME", {1850, 370, Width - 1850, 190}, kase[CCS_CASENAME], "s100").Font(Courier10));
  header.Add(Text("?CASENUMBERPROMPT", {0, 570, 1800, 220}, "CASE NUMBER:").Font(Courier10));
  header.Add(Field("?CCS:CASENUMBER", {1850, 570, 3000, 220}, kase[CCS_CASENUMBER], "s20").Font(Courier12));
  header.Add(Text("?ATTORNEYPROMPT", {0, 800, 1800, 190}, "ATTORNEY:").Font(Courier10));
  header.Add(Field("?CCS:ATTORNEY", {1850, 800, Width - 1850, 190}, kase[CCS_ATTORNEY], "s100").Font(Courier10));
  header.Add(Text("?RULE2", {0, 1000, Width, 140}, rule).Font(CourierRule));
  s.header = header;

  s.body = {Margin, BodyTop, Width, 0};
  s.details.push_back(BodyBand("?DETAIL", 0));
  s.groups.push_back(Group{"?BREAK1", kase[CCS_CASENUMBER], claimBlock(kase, entry)});

  Band footer{"?FOOTER", {Margin, FooterTop, Width, 250}, {}};
  footer.Add(Text("?REPORTDATEPROMPT", {0, 40, 500, 170}, "Date:"));
  footer.Add(Text("?REPORTDATESTAMP", {550, 40, 1500, 170}, "<-- Date Stamp -->"));
  footer.Add(Text("?REPORTTIMEPROMPT", {2200, 40, 500, 170}, "Time:"));
  footer.Add(Text("?REPORTTIMESTAMP", {2750, 40, 1500, 170}, "<-- Time Stamp -->"));
  s.footer = footer;

  Band form{"?FORM", {Margin, Margin, Width, LetterShort - 2 * Margin}, {}};
  form.Add(Image("?FORMIMAGE", {0, 0, Width, LetterShort - 2 * Margin}));
  s.form = form;
  return s;
}

}  // namespace reports::claim_form
