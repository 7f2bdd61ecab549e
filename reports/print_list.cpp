#include "reports/print_list.h"

#include <array>
#include <cstdint>

#include "app/frame/procedure_window.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "platform/types/latin1.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"
#include "reports/case_close_summary_report.h"
#include "reports/print_cja.h"
#include "reports/worksheet_reports.h"

namespace reports {

namespace {

using namespace print_list;
using namespace platform::describe;
using platform::ControlSpec;
using platform::Rect;

constexpr std::size_t SummaryStack = 25000;

PrintListCall calls[] = {
    {BUTTON4, "PRINT_CJA", PRINT_CJA, 0},
    {BUTTON4_2, "PRT_InCOURT", PRT_InCOURT, 0},
    {BUTTON4_4, "PRT_OutCOURT", PRT_OutCOURT, 0},
    {BUTTON4_5, "PRT_OTHER", PRT_OTHER, 0},
    {BUTTON4_3, "ReportCaseCloseSummaryByCCS:KeyCaseNumber", ReportCaseCloseSummaryByCCS_KeyCaseNumber, SummaryStack},
};

const PrintListCall* callOf(int control) {
  for (const PrintListCall& c : calls)
    if (c.control == control) return &c;
  return nullptr;
}

constexpr platform::Color Silver = platform::rgb(0xC0, 0xC0, 0xC0);
constexpr const char* PrinterIcon = "printer.ico";
constexpr const char* FolderIcon = "folder.ico";

// The print buttons' rows, top to bottom, in dialog units.
constexpr int ButtonX = 48, ButtonWidth = 180, ButtonHeight = 20;
constexpr int rowY(int row) { return 52 + 28 * row; }

void describe(platform::Window& w, platform::FieldRef caseNumber) {
  const platform::Font buttonFont{"Arial", 7};
  auto printButton = [&](int number, int row, const char* caption) {
    ControlSpec b = button(number, {ButtonX, rowY(row), ButtonWidth, ButtonHeight}, caption).font(buttonFont);
    b.flat = true;
    w.add(b);
  };
  auto icon = [&](int number, int x, int row, const char* file) {
    w.add(image(number, {x, rowY(row) + 2, 16, 16}, file));
  };
  w.add(box(BOX1, {0, 0, 276, 40}, Black));
  w.add(image(IMAGE2, {250, 10, 20, 20}, FolderIcon));
  w.add(prompt(STRING1, {34, 14, 60, 12}, "Case Number:").colour(White).bold().transparent());
  w.add(image(IMAGE1, {8, 10, 20, 20}, PrinterIcon));
  w.add(display(G_CASENUMBER, {96, 10, 150, 20}, caseNumber, "s20").font({"Arial", 15, true}).colour(Silver));
  printButton(BUTTON4, 0, "PRINT CJA 20 WITH TOTALS");
  // A printer beside each button, a folder beside each worksheet.
  icon(IMAGE1_2, 26, 0, PrinterIcon);
  icon(IMAGE1_3, 26, 1, PrinterIcon);
  icon(IMAGE8, 234, 1, FolderIcon);
  icon(IMAGE8_2, 234, 2, FolderIcon);
  icon(IMAGE1_4, 26, 2, PrinterIcon);
  icon(IMAGE8_3, 234, 3, FolderIcon);
  icon(IMAGE1_6, 26, 3, PrinterIcon);
  icon(IMAGE1_5, 26, 4, PrinterIcon);
  printButton(BUTTON4_2, 1, "PRINT IN COURT WORKSHEET");
  printButton(BUTTON4_4, 2, "PRINT OUT OF COURT WORKSHEET");
  printButton(BUTTON4_5, 3, "PRINT OTHER EXPENSES");
  printButton(BUTTON4_3, 4, "PRINT CASE CLOSING SUMMARY");
  w.add(button(OK, {150, 196, 56, 16}, "&OK").hidden());
  w.add(button(CANCEL, {212, 196, 56, 16}, "&Cancel", "Cancel Operation"));
}

class PrintListWindow final : public app::ProcedureWindow {
 public:
  PrintListWindow(platform::Window& w, std::string caseNumber)
      : ProcedureWindow(w, "PRINT_LIST"), caseNumber_(std::move(caseNumber)) {}

  int OnAccepted() override {
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (const PrintListCall* own = callOf(event().control)) {
      LoadSelection();
      if (own->call) {
        if (own->stack == 0)
          own->call(caseNumber_);
        else
          app::StartThread([call = own->call, number = caseNumber_] { call(number); }, own->stack);
      }
      Refresh();
    }
    return platform::LevelContinue;
  }

 protected:
  int SetupMembers() override {
    AddCloseButton(OK, app::ResponseCancelled);
    AddCloseButton(CANCEL, app::ResponseCancelled);
    return platform::LevelContinue;
  }

 private:
  const std::string caseNumber_;
};

}  // namespace

std::span<PrintListCall> PrintListCalls() { return calls; }

void PRINT_LIST(const std::string& caseNumber) {
  // The window's own copy of the case number, which it shows.
  std::array<std::uint8_t, 20> shown;
  shown.fill(' ');
  for (std::size_t i = 0; i < caseNumber.size() && i < shown.size(); ++i)
    shown[i] = static_cast<std::uint8_t>(caseNumber[i]);

  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Own;
  spec.caption = "PRINTING FILES";
  spec.rect = {0, 0, 276, 220};
  spec.centred = true;
  spec.systemMenu = true;
  spec.font = {"Arial", 8};
  platform::Window window(spec);
  describe(window, platform::FieldRef(platform::FieldType::String, shown.data(), shown.size()));

  PrintListWindow thisWindow(window, caseNumber);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace reports
