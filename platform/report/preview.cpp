#include "platform/report/preview.h"

#include <algorithm>
#include <utility>

#include "platform/lib/window_controller.h"
#include "platform/ui/message_port.h"

namespace platform::report {

namespace {

// --- zoom ------------------------------------------------------------------

constexpr int Percents[] = {0, 0, 50, 75, 100, 200, 300};

// --- the sink with no printer -------------------------------------------------

class NoPrinter final : public PrintSink {
 public:
  PrintOutcome Print(Window*, const PageStore&, const std::string&) override {
    return {PrintOutcome::Kind::Failed, "the printer", "no printer is set up", 0};
  }
};

NoPrinter noPrinter;
PrintSink* installedSink = nullptr;

std::function<std::unique_ptr<Preview>()>& previewFactory() {
  static std::function<std::unique_ptr<Preview>()> factory;
  return factory;
}

std::vector<PreviewObserver*>& observers() {
  static std::vector<PreviewObserver*> list;
  return list;
}

template <class F>
void notify(F f) {
  std::vector<PreviewObserver*> list = observers();
  for (PreviewObserver* o : list) f(*o);
}

// --- the window ----------------------------------------------------------------

ControlSpec button(int number, std::string text, Rect rect, std::string tip) {
  ControlSpec s;
  s.number = number;
  s.kind = ControlKind::Button;
  s.text = std::move(text);
  s.rect = rect;
  s.tip = std::move(tip);
  return s;
}

void addPreviewControls(Window& w, Zoom zoom, bool userZoom) {
  w.add(button(PreviewFirst, "|<", {4, 3, 18, 14}, "First Page"));
  w.add(button(PreviewPrevious, "<", {24, 3, 18, 14}, "Previous Page"));
  w.add(button(PreviewNext, ">", {44, 3, 18, 14}, "Next Page"));
  w.add(button(PreviewLast, ">|", {64, 3, 18, 14}, "Last Page"));
  ControlSpec page;
  page.number = PreviewPageText;
  page.kind = ControlKind::String;
  page.rect = {88, 6, 80, 10};
  w.add(page);
  ControlSpec list;
  list.number = PreviewZoomList;
  list.kind = ControlKind::DropList;
  list.rect = {172, 4, 70, 12};
  list.choices = ZoomChoices();
  list.text = ZoomChoices()[static_cast<std::size_t>(zoom) - 1];
  list.dropLines = 7;
  list.disabled = !userZoom;
  list.tip = "Zoom";
  w.add(list);
  w.add(button(PreviewPrint, "&Print", {250, 3, 44, 14}, "Print the report"));
  w.add(button(PreviewClose, "&Close", {298, 3, 44, 14}, "Close the preview"));
}

class PreviewController final : public WindowController {
 public:
  PreviewController(Window& w, PreviewSession& session, const PreviewOptions& options, const PageStore& pages)
      : WindowController(w), session_(session), options_(options), pages_(pages) {}

  PreviewResult result() const {
    if (printed_) return PreviewResult::Printed;
    return lastFailed_ ? PreviewResult::PrintFailed : PreviewResult::Left;
  }

  int Setup() override {
    if (int level = WindowController::Setup(); level != LevelContinue) return level;
    AddCloseButton(PreviewClose, 1);
    window().open();
    OPENED = 1;
    if (options_.placement) options_.placement->Restore(window());
    if (options_.maximize && !window().maximized()) window().setMaximized(true);
    session_.goTo(1);
    notify([this](PreviewObserver& o) { o.previewOpened(session_); });
    return LevelContinue;
  }

  int Shutdown() override {
    if (OPENED) {
      notify([this](PreviewObserver& o) { o.previewClosing(session_); });
      if (options_.placement) options_.placement->Save(window());
    }
    return WindowController::Shutdown();
  }

  int OnAccepted() override {
    if (int level = WindowController::OnAccepted(); level != LevelContinue) return level;
    switch (event().control) {
      case PreviewFirst: move(1); break;
      case PreviewPrevious: move(session_.page() - 1); break;
      case PreviewNext: move(session_.page() + 1); break;
      case PreviewLast: move(session_.pageCount()); break;
      case PreviewPrint: print(); break;
      default: break;
    }
    return LevelContinue;
  }

  int OnNewSelection() override {
    if (int level = WindowController::OnNewSelection(); level != LevelContinue) return level;
    if (event().control == PreviewZoomList) {
      const int chosen = window().control(PreviewZoomList).selected();
      if (chosen >= 1 && chosen <= static_cast<int>(ZoomChoices().size()) &&
          static_cast<Zoom>(chosen) != session_.zoom()) {
        session_.setZoom(static_cast<Zoom>(chosen));
        notify([this](PreviewObserver& o) { o.zoomChanged(session_); });
      }
    }
    return LevelContinue;
  }

 private:
  void move(int page) {
    const int before = session_.page();
    session_.goTo(page);
    if (session_.page() != before) notify([this](PreviewObserver& o) { o.pageChanged(session_); });
  }

  void print() {
    const PrintOutcome outcome = printSink().Print(&window(), pages_, options_.title);
    switch (outcome.kind) {
      case PrintOutcome::Kind::Printed:
        printed_ = true;
        lastFailed_ = false;
        RESPONSE = 1;
        window().post(EventKind::CloseRequest);
        break;
      case PrintOutcome::Kind::Cancelled: break;
      case PrintOutcome::Kind::Failed:
        lastFailed_ = true;
        message("Printing to " + outcome.target + " failed: " + outcome.reason + ".", "Report Preview",
                MsgIcon::Exclamation);
        break;
    }
  }

  PreviewSession& session_;
  const PreviewOptions& options_;
  const PageStore& pages_;
  bool printed_ = false;
  bool lastFailed_ = false;
};

}  // namespace

const std::vector<std::string>& ZoomChoices() {
  static const std::vector<std::string> choices = {"Tile pages", "Page Width", "50% Zoom", "75% Zoom",
                                                   "100% Zoom",  "200% Zoom",  "300% Zoom"};
  return choices;
}

int zoomPercent(Zoom zoom) {
  const int i = static_cast<int>(zoom) - 1;
  return i >= 0 && i < 7 ? Percents[i] : 0;
}

PrintSink& printSink() { return installedSink ? *installedSink : noPrinter; }

void setPrintSink(PrintSink* sink) { installedSink = sink; }

PrintOutcome RecordingPrintSink::Print(Window*, const PageStore& pages, const std::string& title) {
  ++calls;
  if (answer) return *answer;
  const int last = to > 0 ? std::min(to, pages.count()) : pages.count();
  int n = 0;
  for (int p = std::max(from, 1); p <= last; ++p, ++n) printed.push_back(pages.read(p));
  titles.push_back(title);
  return {PrintOutcome::Kind::Printed, "the recording printer", {}, n};
}

PreviewResult WindowPreview::Display(const PageStore& pages) {
  WindowSpec spec;
  spec.kind = WindowKind::Own;
  spec.caption = "Report Preview";
  spec.rect = {0, 0, 400, 280};
  spec.resizable = true;
  spec.maximizeBox = true;
  spec.maximize = options.maximize;
  Window w(spec);
  addPreviewControls(w, options.zoom, options.userZoom);
  PreviewSession session(w, pages, options.zoom);
  PreviewController controller(w, session, options, pages);
  controller.Execute();
  return controller.result();
}

PreviewResult RecordingPreview::Display(const PageStore& store) {
  ++shown;
  pages = store.count();
  if (keep && pages > 0) {
    first = store.read(1);
    last = store.read(pages);
  }
  if (!print) return PreviewResult::Left;
  const PrintOutcome outcome = printSink().Print(nullptr, store, options.title);
  switch (outcome.kind) {
    case PrintOutcome::Kind::Printed: return PreviewResult::Printed;
    case PrintOutcome::Kind::Failed: return PreviewResult::PrintFailed;
    case PrintOutcome::Kind::Cancelled: break;
  }
  return PreviewResult::Left;
}

std::unique_ptr<Preview> makePreview() {
  if (previewFactory()) return previewFactory()();
  return std::make_unique<WindowPreview>();
}

void setPreviewFactory(std::function<std::unique_ptr<Preview>()> factory) { previewFactory() = std::move(factory); }

// --- the session -----------------------------------------------------------------

PreviewSession::PreviewSession(Window& window, const PageStore& pages, Zoom zoom)
    : window_(&window), pages_(&pages), zoom_(zoom) {
  if (pages.count() > 0) {
    const Page first = pages.read(1);
    sheetWidth_ = first.width;
    sheetHeight_ = first.height;
  }
}

void PreviewSession::goTo(int page) {
  page_ = std::clamp(page, 1, std::max(pageCount(), 1));
  showPageText();
}

void PreviewSession::showingPage(int page) { goTo(page); }

void PreviewSession::setZoom(Zoom zoom) { zoom_ = zoom; }

void PreviewSession::showPageText() {
  if (Control* c = window_->find(PreviewPageText))
    c->setText("Page " + std::to_string(page_) + " of " + std::to_string(pageCount()));
}

void addPreviewObserver(PreviewObserver* observer) {
  if (std::find(observers().begin(), observers().end(), observer) == observers().end())
    observers().push_back(observer);
}

void removePreviewObserver(PreviewObserver* observer) {
  auto& list = observers();
  list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

}  // namespace platform::report
