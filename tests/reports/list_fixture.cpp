#include "tests/reports/list_fixture.h"

#include "platform/fiber/thread.h"

namespace reporttest {

using namespace dictionary;

// --- records ------------------------------------------------------------------------

struct Records::Impl {
  platform::DbContext context;
  platform::DbFile files[FileCount] = {
      {context, CaseCloseSummaryDefinition()},
      {context, HOURLYDefinition()},
      {context, RateMilageDefinition()},
      {context, TOTALSDefinition()},
  };
};

Records::Records() : impl_(std::make_unique<Impl>()) {
  for (platform::DbFile& f : impl_->files) {
    platform::DbStatus s = f.open();
    if (s == platform::DbStatus::FileNotFound && f.create() == platform::DbStatus::Ok) s = f.open();
    EXPECT_EQ(s, platform::DbStatus::Ok) << f.error().text;
  }
}

Records::~Records() = default;

void Records::add(FileIndex file, const std::function<void(const Fields&)>& set) {
  addAll(file, 1, [&set](const Fields& f, int) { set(f); });
}

void Records::addAll(FileIndex file, int count, const std::function<void(const Fields&, int)>& set) {
  platform::DbFile& f = impl_->files[file];
  platform::DbTransaction t(impl_->context);
  ASSERT_EQ(t.begin({&f}), platform::DbStatus::Ok);
  const Fields field = [&f](int n) { return FieldRef::of(f.layout().field(n), f.record()); };
  for (int i = 0; i < count; ++i) {
    platform::clearRecord(f.layout(), f.record());
    set(field, i);
    ASSERT_EQ(f.add(), platform::DbStatus::Ok) << f.error().text;
  }
  ASSERT_EQ(t.commit(), platform::DbStatus::Ok);
}

std::vector<std::vector<std::uint8_t>> Records::all(FileIndex file, int key) {
  std::vector<platform::DbRow> rows;
  impl_->files[file].readPage(key, platform::Direction::Forward, std::nullopt, 1000000, std::nullopt, rows);
  std::vector<std::vector<std::uint8_t>> images;
  for (auto& r : rows) images.push_back(r.image);
  return images;
}

// --- the preview ----------------------------------------------------------------------

void PreviewWatch::previewOpened(pr::PreviewSession& s) {
  ++opened;
  zoom = s.zoom();
  pages.clear();
  for (int p = 1; p <= s.pageCount(); ++p) pages.push_back(s.pages().read(p));
}

// --- the launcher -----------------------------------------------------------------------

namespace {

constexpr int LaunchButton = 1;
std::function<void()> toLaunch;
ListTest* current = nullptr;

class LauncherWindow final : public app::ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;
  int OnAccepted() override {
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (event().control == LaunchButton)
      app::StartThread(
          [report = toLaunch] {
            report();
            if (current) {
              current->stack = platform::threadStackSize(platform::currentThread());
              current->response = app::ThreadResponse();
            }
          },
          50000);
    return platform::LevelContinue;
  }
};

void Launcher() {
  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Own;
  spec.caption = "LAUNCHER";
  spec.rect = {10, 10, 200, 80};
  Window w(spec);
  platform::ControlSpec button;
  button.number = LaunchButton;
  button.kind = platform::ControlKind::Button;
  button.rect = {5, 5, 60, 14};
  button.text = "Start";
  w.add(button);
  LauncherWindow window(w, "Launcher");
  app::RunProcedureWindow(window);
}

}  // namespace

void ListTest::SetUp() {
  ReportTest::SetUp();
  records.emplace();
  current = this;
}

void ListTest::TearDown() {
  current = nullptr;
  toLaunch = {};
  records.reset();
  ReportTest::TearDown();
}

void ListTest::launch() {
  firstThread = app::StartProgram(Launcher);
  ASSERT_NE(firstThread, 0);
  drv->settle();
  started = true;
}

platform::Window* ListTest::progressWindow() {
  for (const char* caption : {"Report CaseCloseSummary", "Report HOURLY", "Report RateMilage", "Report TOTALS"})
    if (platform::Window* w = drv->findWindow(caption)) return w;
  return nullptr;
}

void ListTest::begin(std::function<void()> report) {
  if (!started) launch();
  stack = 0;
  response = -1;
  toLaunch = std::move(report);
  drv->click(drv->window("LAUNCHER"), LaunchButton);
}

void ListTest::run(std::function<void()> report) {
  begin(std::move(report));
  for (int i = 0; i < 100000 && progressWindow(); ++i) drv->advance(pr::ProgressTimer);
}

void ListTest::closePreview() {
  if (Window* w = preview()) drv->close(*w);
}

// --- control characters ----------------------------------------------------------------

std::vector<std::string> controlCharacters(const std::vector<pr::Page>& pages) {
  std::vector<std::string> found;
  for (const pr::Page& p : pages)
    for (const pr::PageItem& item : p.items) {
      const std::string& t = item.text;
      for (std::size_t i = 0; i < t.size(); ++i) {
        const auto c = static_cast<unsigned char>(t[i]);
        const bool c0 = (c < 0x20 && c != '\n') || c == 0x7F;
        // U+0080..U+009F in UTF-8.
        const bool c1 = c == 0xC2 && i + 1 < t.size() && static_cast<unsigned char>(t[i + 1]) <= 0x9F;
        if (c0 || c1) {
          found.push_back(item.name + " on page " + std::to_string(p.number));
          break;
        }
      }
    }
  return found;
}

}  // namespace reporttest
