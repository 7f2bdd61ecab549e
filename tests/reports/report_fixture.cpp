#include "tests/reports/report_fixture.h"

#include <QApplication>
#include <QStyleFactory>

namespace reporttest {

namespace {

// One application object for the test program: report layout measures text
// through Qt, and the offscreen test shows the real windows.
class Application : public ::testing::Environment {
 public:
  void SetUp() override {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "test_reports";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
      // The offscreen platform says so for every raise and keyboard grab.
      if (text.startsWith(QLatin1String("This plugin does not support"))) return;
      fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    });
    app_ = new QApplication(argc, argv);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    QGuiApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};

const auto* const application = ::testing::AddGlobalTestEnvironment(new Application);

using namespace dictionary;
using namespace platform::report;
using platform::Rect;

reports::ReportSettings settingsFor(const std::string& caseNumber) {
  reports::ReportSettings s;
  s.procedure = knobs().procedure;
  s.caption = "Report HOURLY";
  s.title = "EntryTest Report";
  s.file = HOURLYFile;
  s.key = HOU_KeyCaseNumber;
  if (!knobs().whole) s.range = caseNumber;
  s.stopWhenBlank = knobs().stopWhenBlank;
  s.zoom = Zoom::PageWidth;
  return s;
}

}  // namespace

Knobs& knobs() {
  static Knobs k;
  return k;
}

EntryReport*& running() {
  static EntryReport* r = nullptr;
  return r;
}

CostClock*& costClock() {
  static CostClock* c = nullptr;
  return c;
}

std::string callerCase;
CallerState stateBefore, stateAfter;
int lastResponse = -1;
std::optional<bool> othersClosed;

CallerState callerStateNow() {
  CallerState s;
  s.entry.assign(HOURLY().image().begin(), HOURLY().image().end());
  s.kase.assign(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
  s.entryPosition = HOURLY().position();
  s.casePosition = CaseCloseSummary().position();
  s.uses = Access_HOURLY().useCount();
  s.quickScan = Relate_HOURLY().quickScan() || HOURLY().walk() || CaseCloseSummary().walk();
  s.procedures = app::ThreadErrors().procedures();
  return s;
}

EntryReport::EntryReport(std::string caseNumber)
    : ReportProcedure(settingsFor(caseNumber)),
      caseNumber_(std::move(caseNumber)),
      caseNumberBytes_(caseNumber_.begin(), caseNumber_.end()) {
  running() = this;
}

EntryReport::~EntryReport() { running() = nullptr; }

int EntryReport::SetupReportMembers() {
  FieldRef number(platform::FieldType::String, caseNumberBytes_.data(),
                  static_cast<std::uint32_t>(caseNumberBytes_.size()));
  if (caseNumberBytes_.empty()) return platform::LevelContinue;
  return case_.Fetch(Access_CaseCloseSummary(), CCS_KeyCaseNumber, number) == RunRecord::Fetched::Failed
             ? platform::LevelNotify
             : platform::LevelContinue;
}

ReportSpec EntryReport::Describe() {
  ReportSpec s;
  s.orientation = Orientation::Landscape;
  Band header{"?HEADER", {250, 250, 10500, 1000}, {}};
  header.Add(Text("?STRING1", {0, 0, 1200, 200}, "CASE NAME:"));
  header.Add(Field("?CCS:CASENAME", {1250, 0, 5000, 200}, case_[CCS_CASENAME], "s100").Underline());
  header.Add(Text("?STRING2", {0, 250, 1200, 200}, "CASE NUMBER:"));
  header.Add(Field("?HOU:CASENUMBER", {1250, 250, 3000, 200}, View(HOU_CASENUMBER), "s20").Underline());
  header.Add(Text("?REPORTTITLE", {3000, 0, 4500, 400}, "ENTRY TEST REPORT").Font({"Arial", 14, true}).Center());
  header.Add(Text("?ENCLOSURE", {8500, 0, 1100, 200}, "ENCLOSURE:"));
  header.Add(PageNumber("?PAGECOUNT", {9650, 0, 800, 200}, "pPAGE <<#p"));
  header.Add(Text("?HEADINGS", {0, 700, 10500, 250}, "  Date         Description").Fill(Black).Colour(White).Bold());
  s.header = header;
  s.body = {250, 1300, 10500, knobs().pageHeight > 0 ? knobs().pageHeight : 10000};

  Band detail = BodyBand("?DETAIL", 250);
  detail.Add(Field("?HOU:DATE", {50, 0, 1000, 200}, View(HOU_DATE), "D02B"));
  detail.Add(Field("?HOU:BRIEFDESCRIPTIONSERVICES", {1100, 0, 4000, 250}, View(HOU_BRIEFDESCRIPTIONSERVICES)).Grows());
  detail.Add(Field("?HOU:TRIAL", {5200, 0, 900, 200}, View(HOU_TRIAL), "N-7.1B").Right());
  detail.Add(Field("?HOU:TOTALSECTION_INCOURT", {6200, 0, 1800, 200}, View(HOU_TOTALSECTION_INCOURT), "N$-17.2B")
                 .Right());
  detail.Add(Line("?DETAILENDLINE", {0, 250, 10500, 0}).Anchored(Anchor::Bottom));
  s.details.push_back(detail);

  Band sums = BodyBand("?GROUPFOOTER", 300);
  sums.Add(Text("?PAGETOTAL", {3800, 50, 1300, 200}, "PAGE TOTAL:").Right());
  sums.Add(Total("?HOU:TRIAL:2", {5200, 50, 900, 200}, View(HOU_TRIAL), "N-7.1B").Right());
  sums.Add(Total("?HOU:TOTALSECTION_INCOURT:2", {6200, 50, 1800, 200}, View(HOU_TOTALSECTION_INCOURT), "N$-17.2B")
               .Right());
  s.groups.push_back(Group{"?BREAK1", View(HOU_CASENUMBER), sums});

  Band footer{"?FOOTER", {250, 8000, 10500, 250}, {}};
  footer.Add(Text("?REPORTDATEPROMPT", {0, 0, 500, 200}, "Date:"));
  footer.Add(Text("?REPORTDATESTAMP", {550, 0, 1500, 200}, "<-- Date Stamp -->"));
  footer.Add(Text("?REPORTTIMEPROMPT", {2200, 0, 500, 200}, "Time:"));
  footer.Add(Text("?REPORTTIMESTAMP", {2750, 0, 1500, 200}, "<-- Time Stamp -->"));
  s.footer = footer;
  Band form{"?FORM", {250, 250, 10500, 8000}, {}};
  form.Add(Image("?FORMIMAGE", {0, 0, 10500, 8000}));
  s.form = form;
  return s;
}

int EntryReport::OnRecord() {
  if (costClock() && knobs().recordCost) costClock()->spend(knobs().recordCost);
  // Quick-scan on, and the files read as a walk, without their memory map.
  knobs().quickScanSeen = Relate_HOURLY().quickScan() && HOURLY().walk();
  knobs().relatedQuickScanSeen = Relate_CaseCloseSummary().quickScan() && CaseCloseSummary().walk();
  if (View(HOU_TOTALSECTION_INCOURT).decimal().isZero()) return platform::LevelContinue;
  return PrintDetail();
}

void EntryTestReport(const std::string& caseNumber) { EntryReport(caseNumber).Run(); }

// --- the caller --------------------------------------------------------------

namespace {

class CallerWindow final : public app::ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;

  int OnAccepted() override {
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    const std::string number = callerCase;
    if (event().control == PrintButton) {
      // The caller has an entry of its own in the buffer, as a worksheet
      // has its selected line.
      HOU(HOU_CASENUMBER).setText(number);
      Access_HOURLY().UseFile();
      Access_HOURLY().TryFetch(HOU_KeyCaseNumber);
      CCS(CCS_CASENAME).setText("the caller's own case");
      stateBefore = callerStateNow();
      (knobs().report ? knobs().report : EntryTestReport)(number);
      stateAfter = callerStateNow();
      lastResponse = app::ThreadResponse();
    }
    if (event().control == StartButton) app::StartThread([number, report = knobs().report ? knobs().report : EntryTestReport] { report(number); },
                       50000);
    if (event().control == reporttest::CloseButton) othersClosed = app::CloseOtherThreads();
    return platform::LevelContinue;
  }

 protected:
  int SetupMembers() override {
    static class Files final : public platform::RelatedFiles {
     public:
      int Open() override { return Relate_HOURLY().Open(); }
      int Close() override { return Relate_HOURLY().Close(); }
    } files;
    return OpenFiles(files);
  }
};

}  // namespace

void Caller() {
  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Own;
  spec.caption = "CALLER";
  spec.rect = {10, 10, 200, 80};
  Window w(spec);
  platform::ControlSpec entry;
  entry.number = CaseEntry;
  entry.kind = platform::ControlKind::Entry;
  entry.rect = {5, 5, 100, 12};
  w.add(entry);
  for (int b : {PrintButton, StartButton, CloseButton}) {
    platform::ControlSpec button;
    button.number = b;
    button.kind = platform::ControlKind::Button;
    button.rect = {5, 10 + 15 * b, 60, 14};
    button.text = b == PrintButton ? "Print" : b == StartButton ? "Start" : "Close others";
    w.add(button);
  }
  CallerWindow window(w, "Caller");
  app::RunProcedureWindow(window);
}

// --- the fixture -------------------------------------------------------------

void ReportTest::SetUp() {
  ScratchDirTest::SetUp();
  knobs() = Knobs{};
  callerCase.clear();
  stateBefore = stateAfter = CallerState{};
  lastResponse = -1;
  othersClosed.reset();
  app::SetThreadDataLayer(&layer);
  writer.emplace();
  drv.emplace();
  clock.emplace(*drv);
  costClock() = &*clock;
  platform::scheduler().setTimeSource([this] { return (*clock)(); });
  pr::setPrintSink(&sink);
}

void ReportTest::TearDown() {
  EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
  pr::setPrintSink(nullptr);
  costClock() = nullptr;
  drv.reset();
  clock.reset();
  writer.reset();
  app::SetThreadDataLayer(nullptr);
  ScratchDirTest::TearDown();
}

void ReportTest::start() {
  firstThread = app::StartProgram(Caller);
  ASSERT_NE(firstThread, 0);
  drv->settle();
}

void ReportTest::print(const std::string& caseNumber) {
  callerCase = caseNumber;
  drv->click(caller(), PrintButton);
}

void ReportTest::readToTheEnd() {
  for (int i = 0; i < 100000 && progress(); ++i) drv->advance(pr::ProgressTimer);
}

}  // namespace reporttest
