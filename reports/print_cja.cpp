#include "reports/print_cja.h"

#include <array>

#include "cases/amount_rules.h"
#include "dictionary/dictionary.h"
#include "reports/claim_form.h"
#include "reports/report_shape.h"

namespace reports {

namespace {

using namespace dictionary;
namespace pr = platform::report;

ReportSettings settingsFor(const std::string& caseNumber) {
  ReportSettings s;
  s.procedure = "PRINT_CJA";
  s.caption = "Report CaseCloseSummary";
  s.title = "CaseCloseSummary Report";
  s.file = CaseCloseSummaryFile;
  s.key = CCS_KeyCaseNumber;
  s.range = caseNumber;
  s.stopWhenBlank = false;  // a blank number finds no case: "No Records"
  s.zoom = Zoom::TilePages;
  return s;
}

// The field each rule stores its result in, in the rules' order.
constexpr std::array<int, cases::AmountRuleCount> RuleTargets = {
    HOU_IN_TOTALHOURS,      HOU_TOTALSECTION_INCOURT, HOU_OUT_TOTALHOURS,
    HOU_TOTALSECTION_OUTCOURT, HOU_TOTALMILAGE,       HOU_TOTALSECTIONTRAVEL,
    HOU_TOTALSECTIONOTHER,  HOU_TOTALSECTION,         HOU_GRANDTOTAL,
};

class ClaimForm final : public ReportProcedure {
 public:
  explicit ClaimForm(const std::string& caseNumber)
      : ReportProcedure(settingsFor(caseNumber)), entries_(threadData().access(HOURLYFile)) {
    JoinView({HOURLYFile, HOU_KeyCaseNumber, CCS_CASENUMBER});
  }

  // The progress window's refresh and load-selection fetch the case's first
  // entry into a record of their own, which nothing prints: the view's row
  // and its position stay where the record loop has them.
  void Refresh(bool force) override {
    ReportProcedure::Refresh(force);
    RelatedEntry();
  }
  void LoadSelection() override {
    ReportProcedure::LoadSelection();
    RelatedEntry();
  }

 protected:
  ReportSpec Describe() override { return claim_form::Describe(ViewRecord(), JoinedRecord()); }

  // The nine rules on the row's entry at the case's rate, then the detail
  // band, which adds the row to the totals.
  int OnRecord() override {
    pr::RunRecord& entry = JoinedRecord();
    const cases::AmountResult result =
        cases::ApplyAmountRules(cases::EntryOperands(View(CCS_HOURLYRATE).decimal(), entry.data()),
                                cases::EntryTargets(entry.data()), cases::AllAmountRules);
    for (int r = 0; r < cases::AmountRuleCount; ++r)
      report().SetUnknown(entry[RuleTargets[static_cast<std::size_t>(r)]],
                          result.overflow(static_cast<cases::AmountRule>(r)));
    return PrintDetail();
  }

 private:
  void RelatedEntry() {
    // Only while the run has its files open.
    if (!FILESOPENED || entries_.useCount() == 0) return;
    related_[HOU_CASENUMBER].setText(View(CCS_CASENUMBER).text());
    related_.Fetch(entries_, HOU_KeyCaseNumber, related_[HOU_CASENUMBER]);
  }

  platform::FileManager& entries_;  // the entry file's access object of the run's thread
  pr::RunRecord related_{HOURLYLayout()};
};

}  // namespace

void PRINT_CJA(const std::string& caseNumber) { ClaimForm(caseNumber).Run(); }

}  // namespace reports
