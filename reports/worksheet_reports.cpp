#include "reports/worksheet_reports.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "cases/amount_rules.h"
#include "dictionary/dictionary.h"
#include "platform/types/latin1.h"
#include "reports/report_shape.h"
#include "reports/worksheet_layout.h"

namespace reports {

namespace {

using namespace dictionary;
namespace pr = platform::report;
using platform::FieldRef;

enum class Sheet { InCourt, OutCourt, Other, OtherNone };

ReportSettings settingsOf(Sheet sheet, const std::string& caseNumber) {
  ReportSettings s;
  switch (sheet) {
    case Sheet::InCourt:
      s.procedure = "PRT_InCOURT";
      s.title = "InCourtSheet Report";
      break;
    case Sheet::OutCourt:
      s.procedure = "PRT_OutCOURT";
      s.title = "OutCourtSheet Report";
      break;
    case Sheet::Other:
      s.procedure = "PRT_OTHER";
      s.title = "OtherExpenses Report";
      break;
    case Sheet::OtherNone:
      s.procedure = "PRT_OTHER_NON";
      s.title = "OtherExpenses Report";
      break;
  }
  s.caption = "Report HOURLY";
  s.file = HOURLYFile;
  s.key = HOU_KeyCaseNumber;
  s.range = caseNumber;
  s.stopWhenBlank = true;
  s.zoom = Zoom::PageWidth;
  return s;
}

// A worksheet of one case: the entries of the case in key order, and the
// case's own record, read when the files are open.
class Worksheet final : public ReportProcedure {
 public:
  Worksheet(Sheet sheet, const std::string& caseNumber)
      : ReportProcedure(settingsOf(sheet, caseNumber)), sheet_(sheet), number_(caseNumber.begin(), caseNumber.end()) {}

 protected:
  ReportSpec Describe() override {
    switch (sheet_) {
      case Sheet::InCourt:
        return worksheet::InCourtSpec(ViewRecord(), case_);
      case Sheet::OutCourt:
        return worksheet::OutCourtSpec(ViewRecord(), case_);
      case Sheet::Other:
        return worksheet::OtherSpec(ViewRecord(), case_);
      case Sheet::OtherNone:
        break;
    }
    return worksheet::OtherNoneSpec(ViewRecord(), case_);
  }

  int SetupReportMembers() override {
    const FieldRef number(platform::FieldType::String, number_.data(), static_cast<std::uint32_t>(number_.size()));
    switch (case_.Fetch(Access_CaseCloseSummary(), CCS_KeyCaseNumber, number)) {
      case pr::RunRecord::Fetched::Found:
        caseFound_ = true;
        break;
      case pr::RunRecord::Fetched::None:
        break;
      case pr::RunRecord::Fetched::Failed:
        return platform::LevelNotify;  // its message was shown
    }
    return platform::LevelContinue;
  }

  int OnRecord() override {
    switch (sheet_) {
      case Sheet::InCourt:
        if (View(HOU_TOTALSECTION_INCOURT).decimal().isZero()) return platform::LevelContinue;
        break;
      case Sheet::OutCourt:
        if (View(HOU_TOTALSECTION_OUTCOURT).decimal().isZero()) return platform::LevelContinue;
        break;
      case Sheet::Other:
        if (!Recompute()) return platform::LevelContinue;
        break;
      case Sheet::OtherNone:
        break;
    }
    return PrintDetail();
  }

  // The page of a case that has no entry at all: the view gives one empty
  // entry of the case, so the page prints with the case's own number.
  pr::Process::Read FirstRecord() override {
    const pr::Process::Read read = ReportProcedure::FirstRecord();
    if (sheet_ != Sheet::OtherNone || read != pr::Process::Read::End || !caseFound_) return read;
    ViewRecord().clear();
    View(HOU_CASENUMBER).setText(case_[CCS_CASENUMBER].text());
    standIn_ = true;
    return pr::Process::Read::Record;
  }
  pr::Process::Read NextRecord() override {
    if (standIn_) return pr::Process::Read::End;
    return ReportProcedure::NextRecord();
  }

 private:
  // The expense rules on the run's copy of the entry. Answers whether the
  // entry belongs on the worksheet: its recomputed expense total is not 0,
  // or does not fit (then it and what it was made from print as '#').
  bool Recompute() {
    std::uint8_t* entry = ViewRecord().data();
    const cases::AmountResult result = cases::ApplyAmountRules(cases::EntryOperands(platform::Decimal(), entry),
                                                               cases::EntryTargets(entry), cases::ExpenseRules);
    const std::pair<cases::AmountRule, int> targets[] = {{cases::AmountRule::MileageAmount, HOU_TOTALMILAGE},
                                                         {cases::AmountRule::Travel, HOU_TOTALSECTIONTRAVEL},
                                                         {cases::AmountRule::Other, HOU_TOTALSECTIONOTHER},
                                                         {cases::AmountRule::ExpenseTotal, HOU_TOTALSECTION}};
    for (const auto& [rule, field] : targets) report().SetUnknown(View(field), result.overflow(rule));
    return result.overflow(cases::AmountRule::ExpenseTotal) || !View(HOU_TOTALSECTION).decimal().isZero();
  }

  Sheet sheet_;
  std::vector<std::uint8_t> number_;
  pr::RunRecord case_{CaseCloseSummaryLayout()};
  bool caseFound_ = false;
  bool standIn_ = false;
};

}  // namespace

void PRT_InCOURT(const std::string& caseNumber) { Worksheet(Sheet::InCourt, caseNumber).Run(); }
void PRT_OutCOURT(const std::string& caseNumber) { Worksheet(Sheet::OutCourt, caseNumber).Run(); }
void PRT_OTHER(const std::string& caseNumber) { Worksheet(Sheet::Other, caseNumber).Run(); }
void PRT_OTHER_NON(const std::string& caseNumber) { Worksheet(Sheet::OtherNone, caseNumber).Run(); }

}  // namespace reports
